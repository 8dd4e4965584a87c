// Every text the main window and the dialogs draw on their faces, in each language, drawn again
// by the Linux text painter in the fonts the window asked for: its ink must stay inside the
// rectangle it was given. A face that stands in with other metrics (DejaVu Sans for Arial, say)
// cuts captions on both sides.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "app/main_page_attachment.h"
#include "device/simulated_hid_bus.h"
#include "device/simulated_mouse.h"
#include "dialogs/fire_key_dialog.h"
#include "dialogs/hot_key_dialog.h"
#include "dialogs/media_dialogs.h"
#include "dialogs/single_dialog.h"
#include "dialogs/skins_dialog.h"
#include "linux/gui/qt_text_painter.h"
#include "support/fake_window_host.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/png_decoder.h"

namespace q8::linux_shell {
namespace {

namespace fs = std::filesystem;

struct Caption {
  std::string window;
  test::DrawnText drawn;
  FontRequest font;
  Rect client;  // the window's: a text is cut at its edge too
};

// The main window of one language over a fake host, started on the delivered files and skins
// with the simulated mouse, then each dialog over it: every text they drew, with its font.
std::vector<Caption> CaptionsOf(const std::string& language) {
  test::TempDir dir;
  fs::copy_file(fs::path(Q8_DATA_DIR) / "config.bin", dir / "config.bin");
  std::ifstream delivered(fs::path(Q8_DATA_DIR) / "str.ini", std::ios::binary);
  std::stringstream ini;
  ini << delivered.rdbuf();
  std::string text = ini.str();
  const auto lan = text.find("Lan=");
  text.replace(lan, text.find('\r', lan) - lan, "Lan=" + language);
  std::ofstream(dir / "str.ini", std::ios::binary) << text;
  fs::copy(Q8_SKINS_DIR, dir / "Skins", fs::copy_options::recursive);

  SimulatedMouse mouse;
  SimulatedHidBus bus{mouse};
  test::NoSleeper sleeper;
  MouseConnection connection;
  connection.UseBus(bus, sleeper);
  AppState state;
  state.executable = dir / "tarnix-q8";
  test::FakeMainWindowHost host;
  PngDecoder decoder;
  CancelledKeyFunctionDialogs keyDialogs;
  CKeldraDlg window{state, host, connection, decoder};
  const auto page = AttachMainPage(window, keyDialogs);
  EXPECT_TRUE(window.OnInitDialog());
  EXPECT_TRUE(host.fonts.has_value());
  std::vector<Caption> captions;
  for (const test::DrawnText& drawn : static_cast<test::FakeTextPainter&>(host.Text()).texts) {
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
    test::FakeDialogHost dialogHost;
    dialogHost.Attach(*dialog);
    dialog->OnInitDialog(dialogHost);
    dialog->OnEraseBackground();
    EXPECT_TRUE(dialogHost.font.has_value()) << name;
    for (const test::DrawnText& drawn : dialogHost.text.texts) {
      captions.push_back(
          {name, drawn, dialogHost.font.value_or(FontRequest{}), dialogHost.ClientRect()});
    }
  }
  return captions;
}

// The ink of `caption` drawn by the real painter with room to spare around its rectangle (in the
// direction its alignment lets it grow), as a rectangle in the same coordinates.
std::optional<Rect> InkOf(const Caption& caption) {
  constexpr int kMargin = 400;
  const Rect r = caption.drawn.rect;
  Rect roomy{r.left, r.top - 40, r.right, r.bottom + 40};
  if (caption.drawn.align != TextAlign::kLeft)
    roomy.left -= kMargin;
  if (caption.drawn.align != TextAlign::kRight)
    roomy.right += kMargin;
  // The canvas holds the roomy rectangle with its origin moved to (0, 0).
  Canvas canvas(roomy.Width(), roomy.Height());
  QtTextPainter painter;
  const QFont font = QFontOf(caption.font);
  painter.SetFonts(font, font);
  const Rect inCanvas{r.left - roomy.left, r.top - roomy.top, r.right - roomy.left,
                      r.bottom - roomy.top};
  // The roomy rectangle grew evenly on both sides of a centred text, away from the aligned
  // side of another: the text starts where it started in its own rectangle.
  const Rect drawRect{0, inCanvas.top, canvas.Width(), inCanvas.bottom};
  painter.DrawText(canvas, caption.drawn.text, drawRect, FontRole::kNormal, Rgb{255, 255, 255},
                   caption.drawn.align);
  std::optional<Rect> ink;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.Pixels()[static_cast<std::size_t>(y * canvas.Width() + x)].alpha == 0)
        continue;
      const int cx = x + roomy.left;
      const int cy = y + roomy.top;
      if (!ink) {
        ink = Rect{cx, cy, cx + 1, cy + 1};
      } else {
        ink = Rect{std::min(ink->left, cx), std::min(ink->top, cy), std::max(ink->right, cx + 1),
                   std::max(ink->bottom, cy + 1)};
      }
    }
  }
  return ink;
}

TEST(CaptionFitTest, EveryCaptionFitsItsRectangleInEveryLanguage) {
  // Texts whose rectangles are too small for them in any font: they stay as they are, cut at
  // their rectangles as on Windows.
  // The skin chooser's English prompt needs about 183 pixels in Arial's metrics and has 169; the
  // fire-key dialog's note on the count runs past the dialog's right edge.
  const std::set<std::pair<std::string, std::string>> tooWideAnywhere = {
      {"skins", "Please click to set the UI text color"},
      {"fire key", "Times (value range 0-127,0 indicates fire key to end when the key released)"}};
  // A slightly smoothed edge pixel outside is no cut.
  constexpr int kTolerance = 1;
  std::set<std::pair<std::string, std::string>> cut;
  int measured = 0;
  for (const char* language : {"EN", "CHS", "CHT"}) {
    for (const Caption& caption : CaptionsOf(language)) {
      if (caption.drawn.text.empty())
        continue;
      const std::optional<Rect> ink = InkOf(caption);
      ASSERT_TRUE(ink) << language << " " << caption.window << ": \"" << caption.drawn.text
                       << "\" left no ink";
      ++measured;
      // What shows of the rectangle: the part inside the window.
      const Rect given = caption.drawn.rect;
      const Rect r{std::max(given.left, caption.client.left),
                   std::max(given.top, caption.client.top),
                   std::min(given.right, caption.client.right),
                   std::min(given.bottom, caption.client.bottom)};
      if (ink->left < r.left - kTolerance || ink->right > r.right + kTolerance ||
          ink->top < r.top - kTolerance || ink->bottom > r.bottom + kTolerance) {
        cut.insert({caption.window, caption.drawn.text});
        if (!tooWideAnywhere.contains({caption.window, caption.drawn.text})) {
          ADD_FAILURE() << language << " " << caption.window << ": \"" << caption.drawn.text
                        << "\" in " << caption.font.face << " " << caption.font.height << " needs "
                        << ink->left << ".." << ink->right << " x " << ink->top << ".."
                        << ink->bottom << ", has " << r.left << ".." << r.right << " x " << r.top
                        << ".." << r.bottom;
        }
      }
    }
  }
  EXPECT_GT(measured, 60);
  // Every exception is still needed: a text that fits now leaves the list.
  for (const auto& exception : tooWideAnywhere) {
    EXPECT_TRUE(cut.contains(exception)) << exception.first << ": \"" << exception.second << "\"";
  }
}

}  // namespace
}  // namespace q8::linux_shell
