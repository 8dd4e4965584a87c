#include "app/main_page_attachment.h"

#include <gtest/gtest.h>

#include "device/simulated_hid_bus.h"
#include "device/simulated_mouse.h"
#include "model/button_caption.h"
#include "settings/str_ini.h"
#include "support/fake_window_host.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/png_decoder.h"

namespace q8 {
namespace {

// The delivered files, a simulated mouse and the main window with its real page over a fake host.
class MainWindowPartsTest : public ::testing::Test {
 protected:
  MainWindowPartsTest() {
    for (const char* file : {"config.bin", "str.ini"}) {
      std::filesystem::copy_file(std::filesystem::path(Q8_DATA_DIR) / file, dir / file);
    }
    std::filesystem::copy(Q8_SKINS_DIR, dir / "Skins", std::filesystem::copy_options::recursive);
    state.executable = dir / "TarnixMouseApp.exe";
  }

  void Choose(ControlId list, int index) {
    host.SetListSelection(list, index);
    dialog.OnListNotification(list, ListEvent::kSelectionChange);
  }

  test::TempDir dir;
  SimulatedMouse mouse;
  SimulatedHidBus bus{mouse};
  test::NoSleeper sleeper;
  // The main window takes a connection whose bus is open already.
  struct Connected {
    Connected(HidBus& b, Sleeper& s) { connection.UseBus(b, s); }
    MouseConnection connection;
  } connected{bus, sleeper};
  MouseConnection& connection = connected.connection;
  AppState state;
  test::FakeMainWindowHost host;
  PngDecoder decoder;
  CancelledKeyFunctionDialogs dialogs;
  CKeldraDlg dialog{state, host, connection, decoder};
  std::unique_ptr<MainPage> page = AttachMainPage(dialog, dialogs);
};

TEST_F(MainWindowPartsTest, TheAttachedPageIsBuiltAtStartUpAndItsEditsAreApplied) {
  ASSERT_TRUE(dialog.OnInitDialog());
  ASSERT_TRUE(page->IsBuilt());
  // Start-up ends hidden in the tray: the page is built, but nothing is drawn or decoded for it.
  EXPECT_EQ(dialog.Window().canvas(), nullptr);
  EXPECT_EQ(dialog.Painter().KeptImages(), 0u);
  dialog.OnNcPaint();
  EXPECT_EQ(dialog.Painter().KeptImages(), 0u);
  // Nor once a profile chosen from the tray menu has made the hidden page again, which copies
  // nothing to the window.
  const int copies = host.copies;
  ASSERT_EQ(ProfileStore(ProfileFolderIn(dir.path()))
                .Save("Desk", Profile{state.settings.deviceConfig, "Setting-EN", state.captions}),
            std::nullopt);
  dialog.OnTrayCallback(kTrayRightButtonUp);
  dialog.OnCommand(kCommandFirstProfile);
  ASSERT_EQ(dialog.ActiveProfile(), "Desk");
  EXPECT_EQ(dialog.Painter().KeptImages(), 0u);
  // Nor once the display's scale changed while it waits in the tray.
  dialog.OnDisplayScaleChanged();
  EXPECT_EQ(dialog.Painter().KeptImages(), 0u);
  EXPECT_EQ(host.copies, copies);
  // The delivered config.bin was never saved by the tool: the default captions are written.
  EXPECT_EQ(ReadStrIniSettings(dir / "str.ini", "Setting-EN").captions,
            DefaultButtonCaptions(UiLanguage::EN));
  EXPECT_TRUE(host.Has(80));

  dialog.OnLButtonDown({300, 230});  // key box 2
  ASSERT_TRUE(host.Has(42));
  Choose(42, 2);  // Mid Click
  EXPECT_EQ(dialog.Captions().keyRows[1], "Mid Click");
  dialog.OnLButtonDown({620, 210});  // 250 Hz
  dialog.OnLButtonDown({700, 630});  // Apply

  EXPECT_EQ(mouse.Memory().status.reportRateCode, 4);
  EXPECT_EQ(state.settings.deviceConfigBackup.Button(field::KeyFunction, KeyConfigId::A, 2), 2);
  EXPECT_EQ(ReadStrIniSettings(dir / "str.ini", "Setting-EN").captions[1], "Mid Click");
  EXPECT_EQ(dialog.ControlColor(41), (ControlColors{Rgb{255, 255, 255}, {}, Rgb{0, 0, 0}}));
}

// The track's images are partly transparent: a stop drawn over its previous image keeps the
// light knob's ring. Whatever was chosen in between, the track looks as it did.
TEST_F(MainWindowPartsTest, AReportRateStopLooksTheSameWhateverWasChosenBefore) {
  ASSERT_TRUE(dialog.OnInitDialog());
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  constexpr int kStopTop = 204;
  constexpr int kStopBottom = 215;
  const int stopLefts[] = {542, 614, 686, 758};
  const auto track = [&] {
    std::vector<Pixel> pixels;
    const Canvas& canvas = *dialog.Window().canvas();
    for (const int left : stopLefts) {
      for (int y = kStopTop; y < kStopBottom; ++y) {
        for (int x = left; x < left + 70; ++x) {
          pixels.push_back(canvas.At(x, y));
        }
      }
    }
    return pixels;
  };
  const auto press = [&](int stop) { dialog.OnLButtonDown({stopLefts[stop] + 30, 209}); };
  press(3);  // 1000 Hz
  const std::vector<Pixel> at1000 = track();
  const std::vector<int> detours[] = {{0}, {0, 1}, {2, 1, 0}};
  for (const std::vector<int>& detour : detours) {
    for (const int stop : detour) {
      press(stop);
    }
    EXPECT_TRUE(track() != at1000) << "a choice changes the track";
    press(3);
    EXPECT_TRUE(track() == at1000) << "after " << detour.size() << " other choices";
  }
}

// Shown from the tray, the window has its canvas made without the background its page art hides
// and the page drawn into it again: the picture must be the one a canvas decoded from the
// background and a whole page build give, at every scale, also after a hide and a show.
TEST_F(MainWindowPartsTest, TheWindowShownFromTheTrayShowsTheWholePage) {
  ASSERT_TRUE(dialog.OnInitDialog());
  dialog.OnNcPaint();
  dialog.OnNcPaint();
  const auto picture = [&] {
    const Canvas* canvas = dialog.Window().canvas();
    return canvas == nullptr ? std::vector<Pixel>()
                             : std::vector<Pixel>(canvas->Pixels().begin(), canvas->Pixels().end());
  };
  for (const double scale : {1.0, 2.0}) {
    SCOPED_TRACE(scale);
    host.pixelRatio = scale;
    dialog.OnTrayCallback(kTrayLeftButtonUp);
    const std::vector<Pixel> shown = picture();
    dialog.OnDisplayScaleChanged();  // decoded from the background, the page built whole
    const std::vector<Pixel> built = picture();
    ASSERT_EQ(built.size(), static_cast<std::size_t>(876 * 648 * scale * scale));
    EXPECT_TRUE(shown == built);
    dialog.OnKeyDown(kKeyEscape);
    dialog.OnTrayCallback(kTrayLeftButtonUp);
    EXPECT_TRUE(picture() == built);
    dialog.OnKeyDown(kKeyEscape);
  }
}

// The tool's first run (config.bin's flag 0) with the mouse plugged in after start-up: the rule
// loads a profile before the page was ever built, and the first show keeps the profile's captions
// (the first run's default captions would go into str.ini, and OK would save them into the
// profile).
TEST_F(MainWindowPartsTest, TheFirstShowKeepsTheCaptionsOfAProfileLoadedBeforeIt) {
  bool plugged = false;
  bus.FollowPlugState([&] { return plugged; });
  ASSERT_TRUE(dialog.OnInitDialog());
  dialog.OnNcPaint();
  dialog.OnNcPaint();
  ASSERT_FALSE(page->IsBuilt());
  const ProfileStore store(ProfileFolderIn(dir.path()));
  Profile racing{state.settings.deviceConfig, "Setting-EN", DefaultButtonCaptions(UiLanguage::EN)};
  racing.captions[0] = "Brake";
  racing.config[field::ReportRateCode] = 4;
  ASSERT_EQ(store.Save("Racing", racing), std::nullopt);
  const std::string rules = "[Rules]\ngame.exe=Racing\n";
  test::WriteBytes(store.Folder() / "rules.ini",
                   std::vector<std::uint8_t>(rules.begin(), rules.end()));
  dialog.OnForegroundProgram("game.exe");
  plugged = true;
  for (const std::string_view path : kSimulatedNotificationPaths)
    dialog.OnDeviceChange(0x8000, 5, std::string(path));
  ASSERT_EQ(dialog.ActiveProfile(), "Racing");
  ASSERT_EQ(ReadStrIniSettings(dir / "str.ini", "Setting-EN").captions[0], "Brake");

  dialog.OnTrayCallback(kTrayLeftButtonUp);  // the first show builds the page
  EXPECT_EQ(state.captions[0], "Brake");
  EXPECT_EQ(ReadStrIniSettings(dir / "str.ini", "Setting-EN").captions[0], "Brake");
  dialog.OnLButtonDown({700, 630});  // Apply, nothing edited
  const auto saved = store.Load("Racing");
  ASSERT_TRUE(std::holds_alternative<Profile>(saved));
  EXPECT_EQ(std::get<Profile>(saved).captions[0], "Brake") << "the profile lost its captions";
}

}  // namespace
}  // namespace q8
