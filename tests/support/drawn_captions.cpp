#include "support/drawn_captions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>

#include "app/keldra_dlg.h"
#include "app/main_page_attachment.h"
#include "device/simulated_hid_bus.h"
#include "device/simulated_mouse.h"
#include "dialogs/fire_key_dialog.h"
#include "dialogs/hot_key_dialog.h"
#include "dialogs/media_dialogs.h"
#include "dialogs/single_dialog.h"
#include "dialogs/skins_dialog.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/device_scale.h"
#include "ui/png_decoder.h"

namespace q8::test {
namespace {

namespace fs = std::filesystem;

Rect Intersection(Rect a, Rect b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

// The device pixels `caption` inks, drawn by `painter` at `scale` as the window draws it: in
// the size that fits the part of its rectangle inside the window, on a canvas with room around
// the rectangle (in the direction its alignment lets it grow), so that nothing it draws is cut.
std::optional<Rect> InkOf(const DrawnCaption& caption, TextPainter& painter, double scale) {
  constexpr int kMargin = 400;
  const Rect r = Intersection(caption.drawn.rect, caption.client);
  const int sizesDown = painter.SizesDownToFit(caption.drawn.text, r, FontRole::kNormal, scale,
                                               ToDevice(caption.client.right, scale));
  Rect roomy{r.left, r.top - 40, r.right, r.bottom + 40};
  if (caption.drawn.align != TextAlign::kLeft)
    roomy.left -= kMargin;
  if (caption.drawn.align != TextAlign::kRight)
    roomy.right += kMargin;
  Canvas canvas(ToDevice(roomy.Width(), scale), ToDevice(roomy.Height(), scale));
  canvas.SetScale(scale);
  // The roomy rectangle grew evenly on both sides of a centred text, away from the aligned side of
  // another: the text starts where it starts in its own rectangle.
  const Rect drawRect{0, r.top - roomy.top, roomy.Width(), r.bottom - roomy.top};
  painter.DrawSized(canvas, caption.drawn.text, drawRect, FontRole::kNormal, sizesDown,
                    Rgb{255, 255, 255}, caption.drawn.align);
  const Rect origin = ScaledRect(roomy, scale);
  std::optional<Rect> ink;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.At(x, y).alpha == 0 && canvas.At(x, y).red == 0)
        continue;
      const int cx = x + origin.left;
      const int cy = y + origin.top;
      ink = ink ? Rect{std::min(ink->left, cx), std::min(ink->top, cy),
                       std::max(ink->right, cx + 1), std::max(ink->bottom, cy + 1)}
                : Rect{cx, cy, cx + 1, cy + 1};
    }
  }
  return ink;
}

}  // namespace

std::vector<DrawnCaption> CaptionsOf(const std::string& language, const fs::path& dataDir,
                                     const fs::path& skinsDir) {
  TempDir dir;
  fs::copy_file(dataDir / "config.bin", dir / "config.bin");
  std::ifstream delivered(dataDir / "str.ini", std::ios::binary);
  std::stringstream ini;
  ini << delivered.rdbuf();
  std::string text = ini.str();
  const auto lan = text.find("Lan=");
  text.replace(lan, text.find('\r', lan) - lan, "Lan=" + language);
  std::ofstream(dir / "str.ini", std::ios::binary) << text;
  fs::copy(skinsDir, dir / "Skins", fs::copy_options::recursive);

  SimulatedMouse mouse;
  SimulatedHidBus bus{mouse};
  NoSleeper sleeper;
  MouseConnection connection;
  connection.UseBus(bus, sleeper);
  AppState state;
  state.executable = dir / "TarnixMouseApp.exe";
  FakeMainWindowHost host;
  PngDecoder decoder;
  CancelledKeyFunctionDialogs keyDialogs;
  CKeldraDlg window{state, host, connection, decoder};
  const auto page = AttachMainPage(window, keyDialogs);
  EXPECT_TRUE(window.OnInitDialog());
  EXPECT_TRUE(host.fonts.has_value());
  std::vector<DrawnCaption> captions;
  for (const DrawnText& drawn : static_cast<FakeTextPainter&>(host.Text()).texts) {
    captions.push_back({"main window", drawn,
                        drawn.font == FontRole::kTitle ? host.fonts->title : host.fonts->normal,
                        host.ClientRect()});
  }

  const DialogEnvironment environment{state, decoder, host.PlatformVersion()};
  CFireKeyDialog fireKey{environment};
  CHotKeyDialog hotKey{environment};
  CSingleDialog single{environment};
  CMediaDialog media{environment};
  CWindowsDialog launch{environment};
  CSnipeDialog snipe{environment};
  CSkinsDialog skins{environment};
  const std::pair<const char*, DialogController*> dialogs[] = {
      {"fire key", &fireKey}, {"hot key", &hotKey}, {"single key", &single}, {"media", &media},
      {"launch", &launch},    {"snipe", &snipe},    {"skins", &skins}};
  for (const auto& [name, dialog] : dialogs) {
    FakeDialogHost dialogHost;
    dialogHost.Attach(*dialog);
    dialog->OnInitDialog(dialogHost);
    dialog->OnEraseBackground();
    EXPECT_TRUE(dialogHost.font.has_value()) << name;
    for (const DrawnText& drawn : dialogHost.text.texts) {
      captions.push_back(
          {name, drawn, dialogHost.font.value_or(FontRequest{}), dialogHost.ClientRect()});
    }
  }
  return captions;
}

std::vector<std::string> CaptionsThatDoNotFit(const fs::path& dataDir, const fs::path& skinsDir,
                                              const PainterFor& painterFor, int& measured) {
  // A slightly smoothed edge pixel outside is no cut.
  constexpr int kTolerance = 1;
  std::vector<std::string> problems;
  measured = 0;
  for (const char* language : {"EN", "CHS", "CHT"}) {
    for (const DrawnCaption& caption : CaptionsOf(language, dataDir, skinsDir)) {
      if (caption.drawn.text.empty())
        continue;
      for (const double scale : kDisplayScales) {
        TextPainter& painter = painterFor(caption.font, scale);
        const std::optional<Rect> ink = InkOf(caption, painter, scale);
        const std::string what = std::string(language) + " at " +
                                 std::to_string(static_cast<int>(scale * 100)) + " %, " +
                                 caption.window + ": \"" + caption.drawn.text + "\"";
        ++measured;
        const Rect r = ScaledRect(Intersection(caption.drawn.rect, caption.client), scale);
        if (!ink) {
          problems.push_back(what + " left no ink");
        } else if (ink->left < r.left - kTolerance || ink->right > r.right + kTolerance ||
                   ink->top < r.top - kTolerance || ink->bottom > r.bottom + kTolerance) {
          problems.push_back(what + " in " + std::string(caption.font.face) + " " +
                             std::to_string(caption.font.height) + " needs " +
                             std::to_string(ink->left) + ".." + std::to_string(ink->right) + " x " +
                             std::to_string(ink->top) + ".." + std::to_string(ink->bottom) +
                             ", has " + std::to_string(r.left) + ".." + std::to_string(r.right) +
                             " x " + std::to_string(r.top) + ".." + std::to_string(r.bottom));
        }
      }
    }
  }
  return problems;
}

}  // namespace q8::test
