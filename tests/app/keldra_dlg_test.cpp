#include "app/keldra_dlg.h"

#include <algorithm>
#include <functional>
#include <map>

#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/profile_actions.h"
#include "app/profile_store.h"
#include "device/simulated_hid_bus.h"
#include "device/simulated_mouse.h"
#include "model/dpi_levels.h"
#include "settings/file_bytes.h"
#include "settings/ini_file.h"
#include "support/fake_window_host.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/png_decoder.h"

namespace q8 {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using Balloon = test::FakeMainWindowHost::Balloon;

// The page as the dispatcher sees it: records every operation it is asked for.
class RecordingPage final : public MainPageOperations {
 public:
  explicit RecordingPage(AppState& state) : state_(state) {}
  bool IsBuilt() const override { return built; }
  void Build() override {
    calls.push_back(built ? "build (built)" : "build");
    built = true;
    state_.pagesBuiltOnce = true;
    captionsAtBuild = state_.captions;
  }
  void TearDown() override {
    calls.push_back("tear down");
    built = false;
  }
  void Redraw(bool overArt) override { redraws.push_back(overArt); }
  std::optional<Canvas> TakeArt() override {
    return hidesBackground ? std::optional<Canvas>(Canvas(876, 648)) : std::nullopt;
  }
  void CloseListsOutside(Point p) override { calls.push_back("close lists " + At(p)); }
  void SelectKeyConfig(KeyConfigId c) override {
    calls.push_back(c == KeyConfigId::A ? "mode A" : "mode B");
  }
  void RestoreDefaultKeys() override { calls.push_back("restore keys"); }
  void ToggleKeyList(int row) override { calls.push_back("key list " + std::to_string(row)); }
  void SelectReportRate(int p) override { calls.push_back("report rate " + std::to_string(p)); }
  void ChooseStageColor(int s) override { calls.push_back("colour " + std::to_string(s)); }
  void ToggleDpiLevelList(int s) override { calls.push_back("dpi list " + std::to_string(s)); }
  void ToggleLightingModeList() override { calls.push_back("lighting mode"); }
  void ToggleLightingParamList() override { calls.push_back("lighting param"); }
  void ToggleLightingEffectList() override { calls.push_back("lighting effect"); }
  void OnPointerMove(Point p) override { calls.push_back("pointer " + At(p)); }
  void OnListNotification(ControlId id, ListEvent) override {
    calls.push_back("list " + std::to_string(id));
  }
  void OnMouseWheel(int delta) override { calls.push_back("wheel " + std::to_string(delta)); }
  std::optional<ControlColors> ControlColor(ControlId id) const override {
    if (id != 80)
      return std::nullopt;
    return ControlColors{Rgb{1, 2, 3}, std::nullopt, Rgb{4, 5, 6}};
  }

  static std::string At(Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

  bool built = false;
  std::vector<std::string> calls;
  // Whether each redraw was over the page art.
  std::vector<bool> redraws;
  // As the delivered skins' page art does, at 100 %.
  bool hidesBackground = true;
  ButtonCaptions captionsAtBuild;

 private:
  AppState& state_;
};

class FakeSkinChooser final : public SkinChooserPort {
 public:
  std::optional<SkinChoice> ChooseSkin() override {
    ++runs;
    return answer;
  }
  std::optional<SkinChoice> answer;
  int runs = 0;
};

// Two profiles from `config`: Racing at 250 Hz and Desktop at 125 Hz.
void SaveRacingAndDesktop(const ProfileStore& store, DeviceConfig config,
                          const ButtonCaptions& captions) {
  config[field::ReportRateCode] = 4;
  EXPECT_EQ(store.Save("Racing", {config, "Setting-EN", captions}), std::nullopt);
  config[field::ReportRateCode] = 8;
  EXPECT_EQ(store.Save("Desktop", {config, "Setting-EN", captions}), std::nullopt);
}

// A folder laid out as the tool is delivered: the executable's place, config.bin, str.ini and
// the skins; a simulated mouse on a simulated bus; and the main window over a fake host.
class KeldraDlgTest : public ::testing::Test {
 protected:
  KeldraDlgTest() {
    std::filesystem::copy_file(std::filesystem::path(Q8_DATA_DIR) / "config.bin",
                               dir / "config.bin");
    std::filesystem::copy_file(std::filesystem::path(Q8_DATA_DIR) / "str.ini", dir / "str.ini");
    std::filesystem::copy(Q8_SKINS_DIR, dir / "Skins", std::filesystem::copy_options::recursive);
    state.executable = dir / "TarnixMouseApp.exe";
  }

  // Start-up as the shell runs it: the initialisation, then the first two non-client paints.
  bool Start(bool withPage = true) {
    if (withPage)
      dialog.SetPage(&page);
    dialog.SetSkinChooser(&chooser);
    const bool initialised = dialog.OnInitDialog();
    dialog.OnNcPaint();
    dialog.OnNcPaint();
    return initialised;
  }

  void Click(int x, int y) { dialog.OnLButtonDown({x, y}); }
  std::vector<std::uint8_t> ConfigBin() { return test::ReadBytes(dir / "config.bin"); }
  std::uint8_t MouseReportRate() const { return mouse.Memory().status.reportRateCode; }
  // What q8ctl's load of a profile does to the files (the mouse aside).
  void WriteFilesAsALoadElsewhere(const DeviceConfig& config, const ButtonCaptions& captions) {
    test::RecordingMessageSink messages;
    ASSERT_TRUE(SaveConfigFile(dir / "config.bin", config, messages));
    ASSERT_FALSE(WriteButtonCaptions(dir / "str.ini", dialog.Texts().Text(UiTextKey::StrIniSection),
                                     captions));
  }

  // The boxes raised by the first of seven switches of the rules made after `cause`, and by all
  // seven (game.exe gets Racing, work.exe Desktop).
  std::pair<std::size_t, std::size_t> BoxesOverAutomaticSwitches(
      const std::function<void()>& cause) {
    EXPECT_TRUE(Start());
    const ProfileStore store(ProfileFolderIn(dir.path()));
    SaveRacingAndDesktop(store, state.settings.deviceConfig, state.captions);
    const std::string rules = "[Rules]\ngame.exe=Racing\nwork.exe=Desktop\n";
    test::WriteBytes(store.Folder() / "rules.ini",
                     std::vector<std::uint8_t>(rules.begin(), rules.end()));
    cause();
    host.messages.clear();
    dialog.OnForegroundProgram("game.exe");
    const std::size_t first = host.messages.size();
    for (int i = 0; i < 3; ++i) {
      dialog.OnForegroundProgram("work.exe");
      dialog.OnForegroundProgram("game.exe");
    }
    return {first, host.messages.size()};
  }

  test::TempDir dir;
  SimulatedMouse mouse;
  SimulatedHidBus bus{mouse};
  test::NoSleeper sleeper;
  struct Connected {
    Connected(HidBus& bus, Sleeper& sleeper) { connection.UseBus(bus, sleeper); }
    MouseConnection connection;
  } connected{bus, sleeper};
  MouseConnection& connection = connected.connection;
  AppState state;
  test::FakeMainWindowHost host;
  PngDecoder decoder;
  CKeldraDlg dialog{state, host, connection, decoder};
  RecordingPage page{state};
  FakeSkinChooser chooser;
};

// --- Start-up ------------------------------------------------------------------------------------

TEST_F(KeldraDlgTest, StartsWithTheMouseHiddenInTheTrayWithPageSkinAndFonts) {
  ASSERT_TRUE(Start());

  EXPECT_TRUE(state.devicePresent);
  EXPECT_TRUE(state.device.scrambleEnabled);
  EXPECT_EQ(state.device.image, mouse.Memory().image);
  EXPECT_EQ(state.sensorVariant, SensorVariantOf(mouse.Memory().image));
  EXPECT_EQ(state.settings.deviceConfigBackup, state.settings.deviceConfig);
  EXPECT_EQ(state.settings.firstRunFlag, 0);  // the delivered config.bin

  // Start-up order: guard, style, tray, (search), notifications, then the presentation.
  EXPECT_THAT(
      host.calls,
      ElementsAre("claim instance", "window style", "tray add Tarnix Q8 Gaming Mouse 1.0", "busy",
                  "not busy", "register notifications", "resize 876x648", "fonts", "hide", "hide"));
  EXPECT_THAT(host.balloons, IsEmpty());
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_FALSE(host.visible);
  EXPECT_THAT(page.calls, ElementsAre("build"));

  EXPECT_EQ(state.language, UiLanguage::EN);
  EXPECT_EQ(state.skinName, "Default");
  EXPECT_EQ(state.skinDirectory, (dir.path() / "").string() + "/Skins/Default");
  EXPECT_EQ(state.skinTextColor, (Rgb{255, 255, 255}));
  EXPECT_EQ(host.fonts->normal.face, "Arial");

  // Later non-client paints are painted as usual.
  EXPECT_FALSE(dialog.OnNcPaint());
}

// Moved to a display of another scale, the window's fonts, canvas and page are made again: a page
// left as it was would stay drawn at the old scale. Hidden, the window has no canvas to draw on:
// the page made again draws nothing, and the show makes the canvas at the scale of then.
TEST_F(KeldraDlgTest, AnotherDisplayScaleMakesFontsCanvasAndPageAgain) {
  ASSERT_TRUE(Start());
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  host.calls.clear();
  page.calls.clear();
  host.pixelRatio = 2.0;
  dialog.OnDisplayScaleChanged();
  EXPECT_THAT(host.calls, ElementsAre("fonts", "resize 876x648"));
  EXPECT_THAT(page.calls, ElementsAre("tear down", "build"));
  ASSERT_NE(dialog.Window().canvas(), nullptr);
  EXPECT_EQ(dialog.Window().canvas()->Width(), 2 * 876);

  dialog.OnKeyDown(kKeyEscape);
  host.calls.clear();
  page.calls.clear();
  const int copies = host.copies;
  host.pixelRatio = 1.5;
  dialog.OnDisplayScaleChanged();
  EXPECT_THAT(host.calls, ElementsAre("fonts"));
  EXPECT_THAT(page.calls, ElementsAre("tear down", "build"));
  EXPECT_EQ(dialog.Window().canvas(), nullptr);
  EXPECT_EQ(host.copies, copies);
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  ASSERT_NE(dialog.Window().canvas(), nullptr);
  EXPECT_EQ(dialog.Window().canvas()->Width(), 1314);
}

TEST_F(KeldraDlgTest, StartsWithoutTheMouseAnnouncingItAndNeverShowsTheWindow) {
  bus.SetPlugged(false);
  test::WriteBytes(dir / "str.ini", {});
  ASSERT_FALSE(WriteIniString(dir / "str.ini", "Skins", "Lan", "CHT"));
  ASSERT_FALSE(WriteIniString(dir / "str.ini", "Skins", "Path", "Cobalt"));
  ASSERT_TRUE(Start());

  EXPECT_FALSE(state.devicePresent);
  // The balloon already speaks the language of str.ini.
  EXPECT_THAT(
      host.balloons,
      ElementsAre(Balloon{std::string(TextFor(UiTextKey::MsgMouseNotDetected, UiLanguage::CHT)),
                          "Warning", 100}));
  EXPECT_THAT(page.calls, IsEmpty());
  EXPECT_EQ(state.skinDirectory, (dir.path() / "").string() + "/Skins/Cobalt");
  EXPECT_EQ(host.width, 876);

  // Each left click on the icon tells the user again; the window stays hidden.
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  dialog.OnTrayCallback(kTrayLeftDoubleClick);
  EXPECT_EQ(host.balloons.size(), 3u);
  EXPECT_FALSE(host.visible);
  EXPECT_THAT(host.calls, Not(Contains("show")));
  EXPECT_THAT(page.calls, IsEmpty());
}

TEST_F(KeldraDlgTest, RefusedDeviceNotificationsStopStartUpAfterTheMessage) {
  host.refuseNotifications = true;
  std::filesystem::remove(dir / "config.bin");
  EXPECT_FALSE(Start());

  // The mouse was read, but no settings, texts, skin, fonts or page follow.
  EXPECT_TRUE(state.devicePresent);
  EXPECT_THAT(host.messages,
              ElementsAre(test::Message{"RegisterDeviceNotification failed!!!", "TarnixMouseApp"}));
  EXPECT_FALSE(host.fonts.has_value());
  EXPECT_THAT(host.calls, Not(Contains("resize 876x648")));
  EXPECT_THAT(page.calls, IsEmpty());
}

#ifndef _WIN32
// The trace is the user's record of the wire: one that cannot be written is told, once, not at
// every operation that writes to it.
TEST_F(KeldraDlgTest, ATraceThatCannotBeWrittenIsToldOnce) {
  MouseOptions options;
  options.traceFile = "/dev/full";
  std::string error;
  ASSERT_TRUE(connection.Open(options, bus, error)) << error;
  ASSERT_TRUE(Start());
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  state.settings.deviceConfig[field::ReportRateCode] = 8;
  Click(700, 630);  // Apply
  Click(700, 630);

  EXPECT_THAT(host.messages, ElementsAre(test::Message{"cannot write the trace file /dev/full",
                                                       "TarnixMouseApp"}));
  EXPECT_EQ(MouseReportRate(), 8);  // the mouse is written all the same
}
#endif

TEST_F(KeldraDlgTest, ASecondCopyEndsAtOnceTouchingNothing) {
  host.anotherCopyRuns = true;
  EXPECT_FALSE(dialog.OnInitDialog());
  EXPECT_THAT(host.calls, ElementsAre("claim instance", "end 0"));
  EXPECT_EQ(MouseReportRate(), FactoryMouseMemory().status.reportRateCode);
  EXPECT_FALSE(state.devicePresent);
}

TEST_F(KeldraDlgTest, AMissingConfigFileIsReportedAndStartUpGoesOn) {
  std::filesystem::remove(dir / "config.bin");
  // A click on the tray icon while the box is open would show a window without skin or page.
  host.whileMessageShows = [&] { dialog.OnTrayCallback(kTrayLeftButtonUp); };
  ASSERT_TRUE(Start());
  EXPECT_THAT(host.messages,
              ElementsAre(test::Message{"Config file is not exist.", "TarnixMouseApp"}));
  EXPECT_THAT(page.calls, ElementsAre("build"));
  EXPECT_FALSE(host.visible);
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  EXPECT_TRUE(host.visible);
}

// --- Status notifications and the tray
// -------------------------------------------------------------

TEST_F(KeldraDlgTest, StatusNotificationsShowTheBalloonsOfTheirTable) {
  ASSERT_TRUE(Start());
  DeviceConfig& config = state.settings.deviceConfig;
  config.Stage(field::DpiStageLevel, 2) = 3;
  const std::string stage2Label(DpiLevelLabel(state.sensorVariant, 3));
  ASSERT_FALSE(stage2Label.empty());

  struct Case {
    std::uintptr_t type;
    std::intptr_t value;
    std::optional<Balloon> balloon;
  };
  const Case cases[] = {
      {5, 1, Balloon{"Switch report rate into 1000HZ", "Info", 5000}},
      {5, 8, Balloon{"Switch report rate into 125HZ", "Info", 5000}},
      {5, 3, std::nullopt},
      {7, 2, Balloon{"Switch DPI into the second stage " + stage2Label, "Info", 5000}},
      {7, 0, std::nullopt},
      {7, 9, std::nullopt},
      {8, 2,
       Balloon{std::string(TextFor(UiTextKey::NotifyKeyGroup2, UiLanguage::EN)), "Info", 5000}},
      {8, 3, std::nullopt},
      {8, 4, std::nullopt},
      {9, 12, Balloon{"Switch to macro key12", "Info", 5000}},
      {9, 0, std::nullopt},
      {14, 77, Balloon{"The system detect the gaming mouse.", "Info", 100}},
      {15, 0, Balloon{"The system did not detect the gaming mouse!", "Warning", 100}},
      {6, 1, std::nullopt},
      {0, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    host.balloons.clear();
    dialog.OnStatusNotify(c.type, c.value);
    if (c.balloon) {
      EXPECT_THAT(host.balloons, ElementsAre(*c.balloon)) << c.type << " " << c.value;
    } else {
      EXPECT_THAT(host.balloons, IsEmpty()) << c.type << " " << c.value;
    }
  }
}

// The menu's check mark follows the entry's file, whoever wrote or removed it; choosing the item
// writes a valid entry for this executable or removes it; a folder that cannot be made is told.
TEST_F(KeldraDlgTest, StartAtLogInFollowsTheAutostartEntry) {
  const AutostartEntry entry(dir / "config home/autostart/tarnix-q8.desktop",
                             "/opt/Tarnix Q8/tarnix-q8");
  dialog.SetAutostartEntry(&entry);
  ASSERT_TRUE(Start());
  host.calls.clear();

  dialog.OnTrayCallback(kTrayRightButtonUp);
  dialog.OnCommand(kCommandStartAtLogIn);
  const std::string text = test::ReadText(entry.File());
  EXPECT_THAT(text, ::testing::HasSubstr("\nExec=\"/opt/Tarnix Q8/tarnix-q8\" --at-log-in\n"));
  EXPECT_THAT(text, ::testing::StartsWith("[Desktop Entry]\nType=Application\n"));
  dialog.OnTrayCallback(kTrayRightButtonUp);
  dialog.OnCommand(kCommandStartAtLogIn);
  EXPECT_FALSE(std::filesystem::exists(entry.File()));
  test::WriteBytes(entry.File(), {'x'});  // written by someone else
  dialog.OnTrayCallback(kTrayRightButtonUp);
  EXPECT_THAT(host.calls,
              ElementsAre("log-in [ ] Start at log-in", "menu Exit", "log-in [x] Start at log-in",
                          "menu Exit", "log-in [x] Start at log-in", "menu Exit"));

  test::WriteBytes(dir / "a file", {'x'});
  const AutostartEntry blocked(dir / "a file/autostart/tarnix-q8.desktop", "/usr/bin/tarnix-q8");
  dialog.SetAutostartEntry(&blocked);
  host.messages.clear();
  dialog.OnCommand(kCommandStartAtLogIn);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_THAT(host.messages[0].text, ::testing::StartsWith("Could not write "));
}

TEST_F(KeldraDlgTest, TrayClicksShowTheWindowOpenTheMenuOrNothing) {
  ASSERT_TRUE(Start());
  host.calls.clear();

  dialog.OnTrayCallback(0x200);  // a move over the icon
  dialog.OnTrayCallback(0x201);  // a press
  dialog.OnTrayCallback(0x206);  // a right double click
  EXPECT_THAT(host.calls, IsEmpty());

  dialog.OnTrayCallback(kTrayRightButtonUp);
  EXPECT_THAT(host.calls, ElementsAre("menu Exit"));

  host.calls.clear();
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  EXPECT_THAT(host.calls, ElementsAre("foreground", "show"));
  EXPECT_THAT(page.calls, ElementsAre("build"));  // built at start-up, not again

  dialog.OnCommand(kCommandExit);
  EXPECT_EQ(host.endedWith, 0);
  EXPECT_THAT(host.calls, Contains("tray delete"));
  EXPECT_FALSE(connection.Link().HasChannels());
}

TEST_F(KeldraDlgTest, APageFirstBuiltWhenTheMouseAppearsAfterStartUp) {
  bus.SetPlugged(false);
  ASSERT_TRUE(Start());
  bus.SetPlugged(true);
  for (int i = 0; i < 4; ++i) {
    dialog.OnDeviceChange(0x8000, 5, R"(\\?\HID#VID_04D9&PID_A09E&MI_01#7&1)");
  }
  ASSERT_TRUE(state.devicePresent);
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  EXPECT_THAT(page.calls, ElementsAre("build"));
  EXPECT_TRUE(host.visible);
}

// Without a notification area the window is shown at start-up, with the mouse absent only its
// background. Plugged in, the mouse is read and the page built: no tray click will come for it.
TEST_F(KeldraDlgTest, WithoutATrayAMousePluggedInAfterStartUpGetsItsPage) {
  host.hasTray = false;
  bus.SetPlugged(false);
  ASSERT_TRUE(Start());
  ASSERT_TRUE(host.visible);
  Click(830, 10);  // minimised: restored by the system's hand, which tells the program nothing
  bus.SetPlugged(true);
  for (int i = 0; i < 4; ++i) {
    dialog.OnDeviceChange(0x8000, 5, R"(\\?\HID#VID_04D9&PID_A09E&MI_01#7&1)");
  }
  ASSERT_TRUE(state.devicePresent);
  EXPECT_THAT(page.calls, Contains("build")) << "the shown window never gets its page";
}

TEST_F(KeldraDlgTest, ShowingAfterCancelRebuildsThePageWithTheSavedCaptions) {
  ASSERT_TRUE(Start());
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  Click(700, 630);  // Apply: the captions reach str.ini
  const ButtonCaptions applied = state.captions;
  state.captions[0] = "an unsaved caption";
  Click(800, 630);  // Cancel
  EXPECT_TRUE(state.reloadOnShow);
  EXPECT_FALSE(host.visible);

  // The skin and the caption colour edited in str.ini meanwhile: only the chooser changes them.
  const Rgb activeColor = state.skinTextColor;
  const std::string activeSkin = state.skinDirectory;
  ASSERT_FALSE(WriteSkin(dir / "str.ini", ColorBytes{0, 0, 255}, "Cobalt"));
  ASSERT_NE(activeColor, (Rgb{0, 0, 255}));

  page.calls.clear();
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  EXPECT_THAT(page.calls, ElementsAre("tear down", "build"));
  EXPECT_EQ(page.captionsAtBuild, applied);
  EXPECT_EQ(state.skinTextColor, activeColor);
  EXPECT_EQ(state.skinDirectory, activeSkin);
  EXPECT_FALSE(state.reloadOnShow);
  EXPECT_TRUE(host.visible);
}

// A profile loaded by q8ctl while the tray program runs: the window never shows the settings of
// before, and Cancel returns to the loaded ones, not to what was applied earlier.
TEST_F(KeldraDlgTest, AProfileLoadedElsewhereIsReadAgainAtTheNextShow) {
  ASSERT_TRUE(Start());
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  Click(830, 10);  // minimise, with an edit pending
  state.settings.deviceConfig[field::ReportRateCode] = 8;

  DeviceConfig loaded = state.settings.deviceConfigBackup;
  loaded[field::ReportRateCode] = 4;
  ButtonCaptions captions = state.captions;
  captions[2] = "from the profile";
  WriteFilesAsALoadElsewhere(loaded, captions);
  page.calls.clear();
  dialog.OnStatusNotify(kStatusProfileLoaded, 0);
  EXPECT_THAT(host.balloons, IsEmpty());
  EXPECT_THAT(page.calls, IsEmpty());  // nothing changes until the window is shown

  dialog.OnTrayCallback(kTrayLeftButtonUp);
  EXPECT_THAT(page.calls, ElementsAre("tear down", "build"));
  EXPECT_EQ(page.captionsAtBuild, captions);
  EXPECT_EQ(state.settings.deviceConfig, loaded);
  Click(800, 630);  // Cancel
  EXPECT_EQ(state.settings.deviceConfig, loaded);
}

// The rules switch the mouse as programs come to the front, never over edits the shown window
// holds (the switch waits until it is hidden), and the menu loads a profile by hand.
TEST_F(KeldraDlgTest, ProfilesFollowTheProgramInFrontAndTheMenu) {
  ASSERT_TRUE(Start());
  const ProfileStore store(ProfileFolderIn(dir.path()));
  Profile racing{state.settings.deviceConfig, "Setting-EN", state.captions};
  racing.config[field::ReportRateCode] = 4;
  racing.captions[0] = "Racing caption";
  Profile desktop = racing;
  desktop.config[field::ReportRateCode] = 8;
  ASSERT_EQ(store.Save("Racing", racing), std::nullopt);
  ASSERT_EQ(store.Save("Desktop", desktop), std::nullopt);
  const std::string rules = "[Rules]\ngame.exe = Racing\n[Default]\nProfile=Desktop\n";
  test::WriteBytes(store.Folder() / "rules.ini",
                   std::vector<std::uint8_t>(rules.begin(), rules.end()));

  dialog.OnForegroundProgram("game.exe");
  EXPECT_EQ(MouseReportRate(), 4);
  EXPECT_EQ(ConfigBin()[1 + field::ReportRateCode.offset], 4);
  EXPECT_EQ(state.settings.deviceConfigBackup, racing.config);
  EXPECT_EQ(ReadStrIniSettings(dir / "str.ini", "Setting-EN").captions, racing.captions);
  ASSERT_EQ(host.balloons.size(), 1u);
  EXPECT_EQ(host.balloons[0].text, "Switch to profile Racing");
  dialog.OnForegroundProgram("game.exe");  // active already: nothing written, nothing told
  EXPECT_EQ(host.balloons.size(), 1u);

  dialog.OnTrayCallback(kTrayLeftButtonUp);
  state.settings.deviceConfig[field::ReportRateCode] = 1;  // an edit not applied
  dialog.OnForegroundProgram("editor");
  EXPECT_EQ(MouseReportRate(), 4);
  EXPECT_EQ(host.balloons.size(), 1u);
  Click(800, 630);  // Cancel hides the window: the switch held back is made now
  EXPECT_EQ(MouseReportRate(), 8);
  EXPECT_EQ(host.balloons.back().text, "Switch to profile Desktop");
  EXPECT_EQ(dialog.ActiveProfile(), "Desktop");

  host.calls.clear();
  dialog.OnTrayCallback(kTrayRightButtonUp);
  EXPECT_THAT(host.calls, ElementsAre("menu Profiles: [Desktop], Racing | Exit"));
  dialog.OnCommand(kCommandFirstProfile + 1);
  EXPECT_EQ(MouseReportRate(), 4);
  EXPECT_EQ(dialog.ActiveProfile(), "Racing");

  // Another program comes to the front while a box of a write is open: the switch waits for the
  // write, and is made as soon as it has ended, though the window stays shown.
  int reports = 0;
  bus.FollowPlugState([&] { return reports++ >= 2; });  // GetDPIStage goes unanswered
  host.whileMessageShows = [&] {
    host.whileMessageShows = nullptr;
    dialog.OnForegroundProgram("browser");
    EXPECT_EQ(MouseReportRate(), 4) << "nothing is written in the middle of a write";
  };
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  Click(700, 630);  // Apply
  EXPECT_EQ(MouseReportRate(), 8);
  EXPECT_EQ(dialog.ActiveProfile(), "Desktop");
}

// The profiles dialog as the tray menu opens it: the test plays the user through the port the
// dialog gets.
class FakeProfilesDialog final : public ProfilesDialogPort {
 public:
  void RunProfilesDialog(ProfilesPort& profiles) override {
    if (user) {
      user(profiles);
    }
  }
  std::function<void(ProfilesPort&)> user;
};

// The dialog's actions on the active profile go through its keeper: a rename keeps it active under
// its new name, a delete leaves none active, and a save by the dialog into the page's profile lets
// OK and Apply save into it again. The tip and the menu's check mark name what the keeper says.
// Without the dialog's wiring the keeper would name a profile that is gone, or refuse to save into
// a file this program wrote itself.
TEST_F(KeldraDlgTest, TheProfilesDialogActsThroughTheKeeperThatTheTipAndMenuFollow) {
  FakeProfilesDialog profilesDialog;
  dialog.SetProfilesDialog(&profilesDialog);
  ASSERT_TRUE(Start());
  host.calls.clear();
  dialog.OnTrayCallback(kTrayRightButtonUp);
  EXPECT_THAT(host.calls, ElementsAre("menu Profiles: / Manage profiles… | Exit"));

  const auto inDialog = [&](std::function<void(ProfilesPort&)> user) {
    profilesDialog.user = std::move(user);
    dialog.OnCommand(kCommandManageProfiles);
  };
  int opened = 0;
  inDialog([&](ProfilesPort& p) {
    if (++opened == 1) {
      dialog.OnCommand(kCommandManageProfiles);  // chosen again from the tray menu
      ASSERT_TRUE(p.SaveCurrentAs("Racing", false).Done());
    }
  });
  EXPECT_EQ(opened, 1) << "a second profiles dialog over the first";
  const ProfileStore store(ProfileFolderIn(dir.path()));
  const auto saved = store.Load("Racing");
  ASSERT_TRUE(std::holds_alternative<Profile>(saved));
  EXPECT_EQ(std::get<Profile>(saved).config, state.settings.deviceConfigBackup);
  EXPECT_EQ(std::get<Profile>(saved).sensorVariant, state.sensorVariant);  // named by its DPI
  dialog.OnTrayCallback(kTrayRightButtonUp);
  dialog.OnCommand(kCommandFirstProfile);  // Racing, by hand
  EXPECT_EQ(host.trayTip, "Tarnix Q8 Gaming Mouse 1.0\nProfile: Racing");

  // Replaced elsewhere, then saved over by the dialog: this program's own save, which Apply goes
  // on saving into.
  Profile elsewhere = std::get<Profile>(saved);
  elsewhere.config[field::ReportRateCode] = 2;
  ASSERT_EQ(store.Save("Racing", elsewhere), std::nullopt);
  inDialog([](ProfilesPort& p) {
    EXPECT_EQ(p.SaveCurrentAs("Racing", false).status, ProfileOutcome::Status::kClash);
    EXPECT_TRUE(p.SaveCurrentAs("Racing", true).Done());
  });
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  state.settings.deviceConfig[field::ReportRateCode] = 8;
  Click(700, 630);  // Apply
  EXPECT_EQ(std::get<Profile>(store.Load("Racing")).config[field::ReportRateCode], 8);
  EXPECT_THAT(host.balloons,
              Not(Contains(testing::Field(&Balloon::text,
                                          testing::HasSubstr("not saved into the profile")))));

  inDialog([](ProfilesPort& p) {
    ASSERT_TRUE(p.SetRule("game.exe", "Racing").Done());
    ASSERT_TRUE(p.Rename("Racing", "Fast").Done());
    EXPECT_EQ(p.ActiveProfile(), "Fast");
  });
  EXPECT_EQ(dialog.ActiveProfile(), "Fast");
  EXPECT_EQ(host.trayTip, "Tarnix Q8 Gaming Mouse 1.0\nProfile: Fast");
  host.calls.clear();
  dialog.OnTrayCallback(kTrayRightButtonUp);
  EXPECT_THAT(host.calls, ElementsAre("menu Profiles: [Fast] / Manage profiles… | Exit"));
  const auto balloonsBefore = host.balloons.size();
  dialog.OnForegroundProgram("game.exe");  // its rule followed the rename: Fast, active already
  EXPECT_EQ(host.balloons.size(), balloonsBefore);

  inDialog([](ProfilesPort& p) { ASSERT_TRUE(p.Delete("Fast").Done()); });
  EXPECT_EQ(dialog.ActiveProfile(), std::nullopt);
  EXPECT_EQ(host.trayTip, "Tarnix Q8 Gaming Mouse 1.0");

  // A rule made for the program in front holds at once: the user goes back to that program from
  // the dialog, which is no other program coming to the front.
  dialog.OnForegroundProgram("editor");
  inDialog([](ProfilesPort& p) {
    ASSERT_TRUE(p.SaveCurrentAs("Desktop", false).Done());
    ASSERT_TRUE(p.SetRule("editor", "Desktop").Done());
  });
  EXPECT_EQ(dialog.ActiveProfile(), "Desktop");
  EXPECT_EQ(host.balloons.back().text, "Switch to profile Desktop");
}

// Sequences of events around profile switching, each with the loads expected (the balloons, the
// active profile, the mouse's report rate; 0: as at start). Steps, separated by "; ": "front P"
// (P comes to the front; "front" alone: no program), "wine P" (the Windows program P under Wine),
// "default" (rules.ini names the default profile Desktop), "show", "edit" (a change not applied),
// "apply", "cancel" (hides the window), "choose P" (from the tray menu), "menu" (a right click),
// "save P" (a new profile file), "delete P", "flaky" / "steady" (the mouse refuses every report of
// a device operation, or answers again), "unplug", "plug", "plug half-read" (the read answers its
// status check, then refuses the pages), "box{" ... "}" (the steps between run while the next
// message box is open), "q8ctl ..." (q8ctl's profile rename, delete, rule or save, through the
// actions q8ctl runs, then its notice; save saves what "save" does).
TEST_F(KeldraDlgTest, ProfileSwitchingOverSequencesOfEvents) {
  const struct {
    const char* what;
    std::string steps;
    std::string balloons;
    std::string active;
    int reportRate;
  } rows[] = {
      {"the menu rebuilt during a load by hand",
       "flaky; box{; save A1; save A2; save A3; save A4; menu; }; choose Racing", "-Racing", "", 0},
      {"a held-back switch dropped when the program's profile is active",
       "front work.exe; show; edit; front game.exe; front work.exe; cancel", "Desktop", "Desktop",
       8},
      {"a held-back switch dropped when the program has no rule",
       "show; edit; front game.exe; front editor; cancel", "", "", 0},
      {"a choice by hand drops the held-back switch",
       "show; edit; front game.exe; choose Desktop; cancel", "Desktop", "Desktop", 8},
      {"a failed write leaves no profile active; the next change tries again, and the profile "
       "active before is written again over the part written",
       "front work.exe; flaky; front game.exe; steady; front game.exe; front work.exe; "
       "front game.exe",
       "Desktop -Racing Desktop Racing", "Racing", 4},
      {"a load that neither the mouse nor config.bin took leaves the page as it was",
       "front work.exe; lose config.bin; flaky; front game.exe; steady; show; apply",
       "Desktop -Racing", "", 8},
      {"another program's load told in a load's box came before it: the page stays the "
       "profile's",
       "lose config.bin; box{; notify; restore config.bin; }; front game.exe; show; apply",
       "Racing", "Racing", 4},
      {"no held-back switch after an unplug; the plug applies the rule",
       "show; edit; front game.exe; unplug; plug", "lost found Racing", "Racing", 4},
      {"a choice by hand during a write's box is refused",
       "flaky; box{; choose Desktop; }; front game.exe", "-Desktop -Racing", "", 0},
      {"a choice refused during a write's box keeps the switch that waits",
       "front work.exe; show; flaky; box{; front game.exe; choose Desktop; steady; }; apply",
       "Desktop -Desktop Racing", "Racing", 4},
      {"Apply with a profile active saves into it",
       "front game.exe; show; edit; apply; cancel; front work.exe; front game.exe",
       "Racing Desktop Racing", "Racing", 2},
      {"Apply brings back no profile deleted meanwhile",
       "front game.exe; show; edit; delete Racing; apply; cancel; front work.exe; front game.exe",
       "Racing Desktop -Racing", "Desktop", 8},
      {"no automatic switch after a read with refused reports",
       "unplug; plug half-read; front game.exe; front work.exe; unplug; plug; front game.exe",
       "lost found halted lost found Desktop Racing", "Racing", 4},
      {"a Windows program under Wine meets its rule in any letter case", "wine GAME.EXE", "Racing",
       "Racing", 4},
      {"the bare desktop at start loads the default profile", "default; front", "Desktop",
       "Desktop", 8},
      {"an active profile replaced on disk is loaded anew at its program's next turn",
       "front game.exe; save Racing; front editor; front game.exe", "Racing Racing", "Racing", 8},
      {"Apply over a profile replaced on disk leaves its file, and says so once",
       "front game.exe; show; edit; save Racing; apply; apply; cancel; front work.exe; "
       "front game.exe",
       "Racing !Racing Desktop Racing", "Racing", 8},
      {"q8ctl's rename of the active profile: it stays active, and Apply saves into its file",
       "front game.exe; q8ctl rename Racing Fast; show; edit; apply; cancel; front work.exe; "
       "front game.exe",
       "Racing Desktop Fast", "Fast", 2},
      {"q8ctl's delete of the active profile leaves none active; a copy saved before is not taken "
       "for its new name",
       "front work.exe; q8ctl save Copy; q8ctl delete Desktop", "Desktop", "", 8},
      {"q8ctl's rule for the program in front holds at once; another profile's delete keeps the "
       "active one",
       "front editor; q8ctl rule editor Racing; q8ctl delete Desktop; show; edit; apply", "Racing",
       "Racing", 2},
      {"a profile imported by the dialog is not taken for the new name of the active profile that "
       "q8ctl deletes: Apply leaves its file",
       "front work.exe; dialog import Backup; q8ctl delete Desktop; show; edit; apply; cancel; "
       "choose Backup",
       "Desktop Backup", "Backup", 8},
      {"a profile renamed by the dialog is not taken for the new name of the active profile that "
       "q8ctl deletes: Apply leaves its file",
       "front work.exe; dialog save Snap; dialog rename Snap Kept; q8ctl delete Desktop; show; "
       "edit; apply; cancel; choose Kept",
       "Desktop Kept", "Kept", 8},
      {"a copy made by hand is not taken for the new name of the active profile that q8ctl "
       "deletes: Apply leaves its file",
       "front work.exe; save Copy; q8ctl delete Desktop; show; edit; apply; cancel; choose Copy",
       "Desktop Copy", "Copy", 8},
      {"q8ctl's rename of the profile a load by hand writes, told in the load's box: Apply saves "
       "into its file under the new name",
       "lose config.bin; box{; q8ctl rename Racing Fast; restore config.bin; }; choose Racing; "
       "show; edit; apply; cancel; choose Fast",
       "Racing Fast", "Fast", 2},
      {"another program's load told in a box of Apply after the mouse was let go: the page is read "
       "again from the files at the next show",
       "front game.exe; show; edit; block Racing; box{; restore config.bin; notify; }; apply; "
       "cancel; show; apply",
       "Racing", "", 0},
      {"a rule's load in the box of the show that reads the files again stays the page's profile: "
       "Apply saves into it",
       "front work.exe; notify; lose config.bin; box{; front game.exe; }; show; edit; apply; "
       "cancel; front work.exe; front game.exe",
       "Desktop Racing Desktop Racing", "Racing", 2},
      {"an unplug during the read of a plug-in leaves the mouse absent",
       "unplug; flaky; box{; steady; unplug; }; plug; show", "lost found halted lost lost", "", 0},
      {"a hard link made by hand to the active profile: after q8ctl renames it, the file has two "
       "names and Apply saves into neither",
       "front other.exe; choose Racing; link Backup Racing; q8ctl rename Racing Fast; show; edit; "
       "apply; cancel; choose Backup",
       "Racing Backup", "Backup", 4},
#ifdef _WIN32
      {"a rule naming the profile in other letters: its load is not written again at every return "
       "of its program to the front",
       "rules game.exe=racing; front game.exe; front other.exe; front game.exe", "racing", "racing",
       4},
#endif
  };
  // The balloons by short names: a profile's name (loaded), "-" and the name (not loaded), "!" and
  // the name (applied, but not saved into the profile's file changed on disk).
  const std::string kChangedOnDisk =
      "Applied, but not saved into the profile: its file was changed elsewhere: ";
  const std::map<std::string, std::string> balloonNames{
      {"The system did not detect the gaming mouse!", "lost"},
      {"The system detect the gaming mouse.", "found"},
      {"The mouse was not read whole: profiles switch again after a good read", "halted"}};
  const auto split = [](const std::string& text, const std::string& by) {
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = std::min(text.find(by, at), text.size());
      parts.push_back(text.substr(at, end - at));
      at = end + by.size();
    }
    return parts;
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    test::TempDir folder;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      std::filesystem::copy(entry.path(), folder / entry.path().filename().string(),
                            std::filesystem::copy_options::recursive);
    SimulatedMouse rowMouse;
    SimulatedHidBus rowBus{rowMouse};
    // Refusals happen inside device operations (between the mouse's lock and its release).
    bool cable = true, flaky = false, halfReadNext = false, halfRead = false, inOperation = false;
    int operationReports = 0;
    rowMouse.OnLock(
        [&] {
          inOperation = true;
          operationReports = 0;
          halfRead = std::exchange(halfReadNext, false);
        },
        [&] { inOperation = false; });
    rowBus.FollowPlugState([&] {
      return cable && (!inOperation || (!flaky && !(halfRead && ++operationReports > 2)));
    });
    MouseConnection rowConnection;
    rowConnection.UseBus(rowBus, sleeper);
    AppState rowState;
    rowState.executable = folder.path() / "TarnixMouseApp.exe";
    test::FakeMainWindowHost rowHost;
    CKeldraDlg rowDialog{rowState, rowHost, rowConnection, decoder};
    RecordingPage rowPage{rowState};
    rowDialog.SetPage(&rowPage);
    FakeProfilesDialog rowProfiles;
    rowDialog.SetProfilesDialog(&rowProfiles);
    ASSERT_TRUE(rowDialog.OnInitDialog());
    rowDialog.OnNcPaint();
    rowDialog.OnNcPaint();
    const int rateAtStart = rowMouse.Memory().status.reportRateCode;

    const ProfileStore store(ProfileFolderIn(folder.path()));
    SaveRacingAndDesktop(store, rowState.settings.deviceConfig, rowState.captions);
    const Profile profile = std::get<Profile>(store.Load("Desktop"));  // what a "save" step saves
    const auto writeRules = [&](const std::string& rules) {
      test::WriteBytes(store.Folder() / "rules.ini",
                       std::vector<std::uint8_t>(rules.begin(), rules.end()));
    };
    writeRules("[Rules]\ngame.exe=Racing\nwork.exe=Desktop\n");
    const auto configBin = ReadFileBytes(folder / "config.bin");
    const auto replug = [&](bool in) {
      cable = in;
      for (const std::string_view path : kSimulatedNotificationPaths)
        rowDialog.OnDeviceChange(in ? 0x8000 : 0x8004, 5, std::string(path));
    };
    std::function<void(const std::string&)> run = [&](const std::string& step) {
      const std::size_t blank = step.find(' ');
      const std::string arg = blank == std::string::npos ? "" : step.substr(blank + 1);
      if (step.starts_with("front")) {
        rowDialog.OnForegroundProgram(arg);
      } else if (step.starts_with("wine")) {
        rowDialog.OnForegroundProgram(arg, false, true);
      } else if (step == "default") {
        writeRules("[Rules]\ngame.exe=Racing\n[Default]\nProfile=Desktop\n");
      } else if (step == "show" || step == "menu") {
        rowDialog.OnTrayCallback(step == "show" ? kTrayLeftButtonUp : kTrayRightButtonUp);
      } else if (step == "edit") {
        rowState.settings.deviceConfig[field::ReportRateCode] = 2;
      } else if (step == "apply" || step == "cancel") {
        rowDialog.OnLButtonDown(step == "apply" ? Point{700, 630} : Point{800, 630});
      } else if (step.starts_with("choose")) {
        rowDialog.OnTrayCallback(kTrayRightButtonUp);
        const auto names = store.List();
        const auto at = std::find(names.begin(), names.end(), arg) - names.begin();
        rowDialog.OnCommand(kCommandFirstProfile + static_cast<int>(at));
      } else if (step.starts_with("save")) {
        ASSERT_EQ(store.Save(arg, profile), std::nullopt);
      } else if (step == "lose config.bin") {  // replaced, never made anew: every save fails
        std::filesystem::remove(folder / "config.bin");
      } else if (step == "restore config.bin") {
        test::WriteBytes(folder / "config.bin", configBin.value());
      } else if (step == "notify") {  // q8ctl loaded the files and the mouse
        rowDialog.OnStatusNotify(kStatusProfileLoaded, 0);
      } else if (step.starts_with("q8ctl ")) {
        const std::vector<std::string> w = split(arg, " ");
        const ProfileActions actions(folder / "config.bin");
        const ProfileOutcome outcome = w[0] == "rename"   ? actions.Rename(w[1], w[2])
                                       : w[0] == "delete" ? actions.Delete(w[1])
                                       : w[0] == "rule"   ? actions.SetRule(w[1], w[2])
                                                          : actions.SaveAs(w[1], profile, false);
        ASSERT_TRUE(outcome.Done()) << outcome.message;
        rowDialog.OnStatusNotify(kStatusProfilesEdited,
                                 w[0] == "save" ? kProfileSaved : kProfilesRenamedOrRulesChanged);
      } else if (step.starts_with("delete")) {
        ASSERT_EQ(store.Delete(arg), std::nullopt);
      } else if (step.starts_with("dialog ")) {  // this program's profiles dialog
        const std::vector<std::string> w = split(arg, " ");
        rowProfiles.user = [&](ProfilesPort& p) {
          if (w[0] == "import") {  // a file holding what "save" saves, named as the profile
            const auto file = folder / (w[1] + std::string(kProfileFileExtension));
            test::WriteBytes(file, ProfileFileBytes(profile));
            ASSERT_TRUE(p.Import(file, false).Done());
          } else if (w[0] == "save") {
            ASSERT_TRUE(p.SaveCurrentAs(w[1], false).Done());
          } else {
            ASSERT_TRUE(p.Rename(w[1], w[2]).Done());
          }
        };
        rowDialog.OnCommand(kCommandManageProfiles);
      } else if (step.starts_with("block")) {  // the profile's file takes no save any more
        // Read-only stops Windows' save; a folder where the save puts its temporary file stops
        // the others', also for root.
        std::filesystem::permissions(store.PathOf(arg), std::filesystem::perms::owner_read);
        const auto temp = store.PathOf(arg).string() + ".tmp-" + std::to_string(::getpid());
        std::filesystem::create_directories(std::filesystem::path(temp) / "in the way");
      } else if (step.starts_with("link")) {  // a second name for a profile's file, by hand
        const std::vector<std::string> w = split(arg, " ");
        std::filesystem::create_hard_link(store.PathOf(w[1]), store.PathOf(w[0]));
      } else if (step.starts_with("rules ")) {  // rules.ini written by hand: one rule
        writeRules("[Rules]\n" + arg + "\nwork.exe=Desktop\n");
      } else if (step == "flaky" || step == "steady") {
        flaky = step == "flaky";
      } else if (step == "unplug" || step.starts_with("plug")) {
        halfReadNext = arg == "half-read";
        replug(step != "unplug");
      } else {
        FAIL() << "unknown step " << step;
      }
    };
    const std::vector<std::string> steps = split(row.steps, "; ");
    for (std::size_t i = 0; i < steps.size(); ++i) {
      if (steps[i] != "box{") {
        run(steps[i]);
        continue;
      }
      std::vector<std::string> inBox;
      while (steps[++i] != "}")
        inBox.push_back(steps[i]);
      rowHost.whileMessageShows = [&rowHost, &run, inBox] {
        const std::vector<std::string> boxSteps = inBox;  // the box runs them once
        auto& runStep = run;
        rowHost.whileMessageShows = nullptr;
        for (const std::string& step : boxSteps)
          runStep(step);
      };
    }
    std::string balloons;
    for (const Balloon& balloon : rowHost.balloons) {
      std::string name = balloon.text;
      if (balloonNames.contains(name))
        name = balloonNames.at(name);
      else if (name.starts_with("Switch to profile "))
        name = name.substr(18);
      else if (name.starts_with(kChangedOnDisk))
        name = "!" + name.substr(kChangedOnDisk.size());
      else if (name.starts_with("Profile not loaded: "))
        name = "-" + name.substr(20, name.find('\n') - 20);  // without the file's problem
      balloons += (balloons.empty() ? "" : " ") + name;
    }
    EXPECT_EQ(balloons, row.balloons);
    EXPECT_EQ(rowDialog.ActiveProfile().value_or(""), row.active);
    EXPECT_EQ(rowMouse.Memory().status.reportRateCode,
              row.reportRate ? row.reportRate : rateAtStart);
  }
}

// --- Click dispatch
// --------------------------------------------------------------------------------

TEST_F(KeldraDlgTest, PressesOnThePageForwardInTheirAreasAndElsewhereDrag) {
  ASSERT_TRUE(Start());
  const std::pair<Point, std::string> presses[] = {
      {{253, 518}, "mode A"},         {{358, 538}, "mode B"},
      {{307, 549}, "restore keys"},   {{252, 199}, "key list 1"},
      {{462, 357}, "key list 7"},     {{542, 204}, "report rate 1"},
      {{827, 214}, "report rate 4"},  {{548, 323}, "colour 1"},
      {{563, 488}, "colour 6"},       {{575, 323}, "dpi list 1"},
      {{658, 486}, "dpi list 6"},     {{768, 331}, "lighting mode"},
      {{850, 374}, "lighting param"}, {{800, 400}, "lighting effect"},
  };
  for (const auto& [point, operation] : presses) {
    page.calls.clear();
    host.calls.clear();
    dialog.OnLButtonDown(point);
    EXPECT_THAT(page.calls, ElementsAre("close lists " + RecordingPage::At(point), operation));
    EXPECT_THAT(host.calls, IsEmpty()) << operation;
  }

  // Beside the areas: lists close, then the window moves with the pointer.
  page.calls.clear();
  Click(463, 199);
  Click(200, 300);
  EXPECT_THAT(page.calls, ElementsAre("close lists 463,199", "close lists 200,300"));
  EXPECT_THAT(host.calls, ElementsAre("drag 463,199", "drag 200,300"));

  // Command areas come first and leave the page's lists alone.
  page.calls.clear();
  Click(60, 60);   // previous page: already built
  Click(830, 10);  // minimise
  EXPECT_THAT(page.calls, ElementsAre("build (built)"));
  EXPECT_FALSE(host.visible);

  host.calls.clear();
  Click(300, 630);  // the web link
  EXPECT_THAT(host.calls,
              ElementsAre("open " + std::string(TextFor(UiTextKey::WebLink, UiLanguage::EN))));
}

TEST_F(KeldraDlgTest, WithoutThePageOrTheMouseOnlyTheWindowCommandsAct) {
  bus.SetPlugged(false);
  ASSERT_TRUE(Start());
  host.calls.clear();
  const auto configBefore = ConfigBin();
  Click(600, 630);  // OK without the mouse
  Click(700, 630);  // Apply without the mouse
  Click(252, 199);  // a key box while no page is built
  EXPECT_THAT(host.calls, ElementsAre("drag 600,630", "drag 700,630", "drag 252,199"));
  EXPECT_THAT(page.calls, IsEmpty());
  EXPECT_EQ(ConfigBin(), configBefore);
}

TEST_F(KeldraDlgTest, OkApplyCancelMinimiseAndCloseFollowTheirTable) {
  ASSERT_TRUE(Start());
  DeviceConfig& config = state.settings.deviceConfig;
  const DeviceConfig loaded = config;
  dialog.OnTrayCallback(kTrayLeftButtonUp);

  // An edit, then minimise: the edit stays pending; nothing is written.
  config[field::ReportRateCode] = 8;
  Click(830, 10);
  EXPECT_FALSE(host.visible);
  EXPECT_EQ(config[field::ReportRateCode], 8);
  EXPECT_NE(MouseReportRate(), 8);

  // Apply writes the mouse, config.bin (flag 1) and the captions; the window stays.
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  Click(700, 630);
  EXPECT_TRUE(host.visible);
  EXPECT_EQ(MouseReportRate(), 8);
  EXPECT_EQ(ConfigBin()[0], 1);
  EXPECT_EQ(ConfigBin()[1 + field::ReportRateCode.offset], 8);
  EXPECT_EQ(state.settings.deviceConfigBackup, config);
  EXPECT_EQ(ReadIniString(dir / "str.ini", "Setting-EN", "Item1"), state.captions[0]);
  EXPECT_THAT(host.calls, Contains("busy"));

  // Cancel restores the last applied record, not the one read at start-up.
  config[field::ReportRateCode] = 1;
  Click(800, 630);
  EXPECT_EQ(config[field::ReportRateCode], 8);
  EXPECT_NE(config, loaded);
  EXPECT_FALSE(host.visible);

  // OK writes and hides.
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  config[field::ReportRateCode] = 2;
  Click(600, 630);
  EXPECT_EQ(MouseReportRate(), 2);
  EXPECT_FALSE(host.visible);

  // Close ends the process without saving the pending edit.
  config[field::ReportRateCode] = 4;
  Click(855, 10);
  EXPECT_EQ(host.endedWith, 0);
  EXPECT_EQ(ConfigBin()[1 + field::ReportRateCode.offset], 2);
  EXPECT_EQ(MouseReportRate(), 2);
}

TEST_F(KeldraDlgTest, EnterEscapeAndCloseHideTheWindowOtherKeysPass) {
  ASSERT_TRUE(Start());
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  EXPECT_TRUE(dialog.OnKeyDown(kKeyEnter));
  EXPECT_FALSE(host.visible);
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  EXPECT_TRUE(dialog.OnKeyDown(kKeyEscape));
  EXPECT_FALSE(host.visible);
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  EXPECT_FALSE(dialog.OnKeyDown('A'));
  EXPECT_TRUE(host.visible);
  dialog.OnClose();
  EXPECT_FALSE(host.visible);
  EXPECT_FALSE(host.endedWith.has_value());
}

// Hidden, the window keeps no canvas and no decoded image; shown again, whichever way it was
// hidden, it has a canvas made anew with its page drawn into it. Page art with transparent parts
// needs the window's background under it: then the canvas is decoded from that again.
TEST_F(KeldraDlgTest, AWindowShownAgainHasItsPageDrawnAnew) {
  struct Hiding {
    const char* what;
    std::function<void()> hide;
    bool artHidesBackground = true;
  };
  const Hiding hidings[] = {
      {"Enter", [&] { dialog.OnKeyDown(kKeyEnter); }},
      {"Cancel", [&] { Click(800, 630); }},
      {"closed, art with transparent parts", [&] { dialog.OnClose(); }, false},
  };
  ASSERT_TRUE(Start());
  EXPECT_EQ(dialog.Window().canvas(), nullptr);  // start-up ends hidden: nothing drawn
  for (const Hiding& hiding : hidings) {
    SCOPED_TRACE(hiding.what);
    page.hidesBackground = hiding.artHidesBackground;
    page.redraws.clear();
    host.calls.clear();
    dialog.OnTrayCallback(kTrayLeftButtonUp);
    ASSERT_NE(dialog.Window().canvas(), nullptr);
    EXPECT_THAT(page.redraws, ElementsAre(hiding.artHidesBackground));
    // The background decoded again sizes the window again.
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "resize 876x648"),
              hiding.artHidesBackground ? 0 : 1);
    hiding.hide();
    EXPECT_FALSE(host.visible);
    EXPECT_EQ(dialog.Window().canvas(), nullptr);
    EXPECT_EQ(dialog.Painter().KeptImages(), 0u);
  }
}

TEST_F(KeldraDlgTest, WithoutANotificationAreaTheWindowStaysReachable) {
  host.hasTray = false;
  ASSERT_TRUE(Start());
  EXPECT_TRUE(host.visible);  // shown at start-up, not hidden by the first paints
  Click(830, 10);             // minimise
  EXPECT_THAT(host.calls, Contains("minimise"));
  // The system brings a minimised window back with the picture it had.
  EXPECT_NE(dialog.Window().canvas(), nullptr);
  EXPECT_THAT(host.calls, Not(Contains("hide")));
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  EXPECT_TRUE(dialog.OnKeyDown(kKeyEscape));
  EXPECT_FALSE(host.endedWith.has_value());
  dialog.OnClose();  // closing ends the program
  EXPECT_EQ(host.endedWith, 0);
}

TEST_F(KeldraDlgTest, AChosenSkinIsPublishedSavedAndShownAtOnce) {
  ASSERT_TRUE(Start());
  Click(705, 10);  // the skin chooser, cancelled
  EXPECT_EQ(chooser.runs, 1);
  EXPECT_EQ(state.skinName, "Default");
  EXPECT_FALSE(host.visible);

  const std::string cobalt = (dir.path() / "").string() + "/Skins/Cobalt";
  chooser.answer = SkinChoice{cobalt, "Cobalt", Rgb{10, 20, 300 - 256}};
  page.calls.clear();
  Click(705, 10);
  EXPECT_EQ(state.skinDirectory, cobalt);
  EXPECT_EQ(state.skinName, "Cobalt");
  EXPECT_EQ(state.skinTextColor, (Rgb{10, 20, 44}));
  EXPECT_EQ(ReadIniString(dir / "str.ini", "Skins", "Path"), "Cobalt");
  EXPECT_EQ(ReadIniString(dir / "str.ini", "Skins", "BColor"), "44");
  EXPECT_THAT(page.calls, ElementsAre("tear down", "build"));
  EXPECT_TRUE(host.visible);
}

// The canvas made again after a skin was chosen (a show from the tray over page art that does not
// hide the background, or a change of scale) is the chosen skin's background, not the one of
// start-up.
TEST_F(KeldraDlgTest, TheCanvasMadeAgainAfterASkinChoiceIsOfTheChosenSkin) {
  ASSERT_TRUE(Start());
  const std::string cobalt = (dir.path() / "").string() + "/Skins/Cobalt";
  chooser.answer = SkinChoice{cobalt, "Cobalt", Rgb{10, 20, 44}};
  Click(705, 10);
  ASSERT_EQ(state.skinName, "Cobalt");
  page.hidesBackground = false;  // page art with transparent parts, as a user's skin may have
  dialog.OnKeyDown(kKeyEscape);
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  ASSERT_NE(dialog.Window().canvas(), nullptr);
  const auto cobaltBackground = decoder.Decode(dir / "Skins/Cobalt/main.png");
  const auto defaultBackground = decoder.Decode(dir / "Skins/Default/main.png");
  ASSERT_TRUE(cobaltBackground && defaultBackground);
  ASSERT_FALSE(
      std::ranges::equal(cobaltBackground->pixels.Pixels(), defaultBackground->pixels.Pixels()));
  EXPECT_TRUE(
      std::ranges::equal(dialog.Window().canvas()->Pixels(), cobaltBackground->pixels.Pixels()))
      << "the window's background is not the chosen skin's";
}

// --- Device changes and the page's controls
// --------------------------------------------------------

TEST_F(KeldraDlgTest, EveryFourthMatchingNotificationActsOnTheMouse) {
  ASSERT_TRUE(Start());
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  const std::string path = R"(\\?\HID#VID_04D9&PID_A09E&MI_01#7&1)";

  // Unplugged: two removals and two arrivals act once, as an arrival that finds nothing.
  bus.SetPlugged(false);
  dialog.OnDeviceChange(0x8004, 5, path);
  dialog.OnDeviceChange(0x8004, 5, path);
  dialog.OnDeviceChange(0x8000, 5, R"(\\?\HID#vid_04d9&pid_a09e)");  // not the mouse's marks
  dialog.OnDeviceChange(0x8000, 5, path);
  EXPECT_TRUE(state.devicePresent);
  EXPECT_THAT(host.balloons, IsEmpty());
  dialog.OnDeviceChange(0x8000, 5, path);
  EXPECT_FALSE(state.devicePresent);
  EXPECT_FALSE(host.visible);
  EXPECT_THAT(host.balloons,
              ElementsAre(Balloon{"The system did not detect the gaming mouse!", "Warning", 100}));

  // Plugged in again: the fourth arrival reads the mouse and announces it.
  bus.SetPlugged(true);
  state.device.image = {};
  for (int i = 0; i < 4; ++i)
    dialog.OnDeviceChange(0x8000, 5, path);
  EXPECT_TRUE(state.devicePresent);
  EXPECT_EQ(state.device.image, mouse.Memory().image);
  EXPECT_EQ(host.balloons.back(), (Balloon{"The system detect the gaming mouse.", "Info", 100}));
}

// The cable comes out while Apply writes the pages, and the system's notifications come in
// through the loop of the message box that follows: a search then would close or replace the
// channels the write still holds.
TEST_F(KeldraDlgTest, AMouseUnpluggedDuringApplyIsToldOnceAndTheNextApplyWritesItWhole) {
  ASSERT_TRUE(Start());
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  // GetDPIStage takes 2 reports, the check before the write 2, the status set 1: the cable goes
  // after the first page of the write.
  int reportsLeft = 2 + 2 + 1 + 3;
  bus.FollowPlugState([&] { return reportsLeft-- > 0; });
  host.whileMessageShows = [&] {
    for (int i = 0; i < 4; ++i)
      dialog.OnDeviceChange(0x8004, 5, std::string(kSimulatedNotificationPaths[i]));
    EXPECT_TRUE(host.visible) << "nothing is searched while the write runs";
  };
  state.settings.deviceConfig[field::ReportRateCode] = 8;
  Click(700, 630);  // Apply
  host.whileMessageShows = nullptr;

  EXPECT_THAT(host.messages, ElementsAre(test::Message{
                                 "The system did not detect the gaming mouse!", "WriteOperation"}));
  EXPECT_EQ(ConfigBin()[1 + field::ReportRateCode.offset], 8) << "config.bin is saved";
  EXPECT_FALSE(state.devicePresent);
  EXPECT_FALSE(host.visible);
  EXPECT_EQ(host.balloons.back(),
            (Balloon{"The system did not detect the gaming mouse!", "Warning", 100}));

  bus.FollowPlugState([] { return true; });
  for (int i = 0; i < 4; ++i)
    dialog.OnDeviceChange(0x8000, 5, std::string(kSimulatedNotificationPaths[i]));
  ASSERT_TRUE(state.devicePresent);
  EXPECT_EQ(host.balloons.back(), (Balloon{"The system detect the gaming mouse.", "Info", 100}));
  dialog.OnTrayCallback(kTrayLeftButtonUp);
  host.messages.clear();
  Click(700, 630);  // Apply
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(mouse.Memory().image, state.device.image);
  EXPECT_EQ(mouse.Memory().status.reportRateCode, 8);
}

TEST_F(KeldraDlgTest, PointerWheelListsAndColoursReachOnlyABuiltPage) {
  bus.SetPlugged(false);
  ASSERT_TRUE(Start());
  dialog.OnPointerMove({300, 250});
  dialog.OnMouseWheel(120);
  dialog.OnListNotification(41, ListEvent::kSelectionChange);
  EXPECT_THAT(page.calls, IsEmpty());

  page.Build();
  page.calls.clear();
  dialog.OnPointerMove({300, 250});
  dialog.OnMouseWheel(-120);
  dialog.OnListNotification(41, ListEvent::kDoubleClick);
  EXPECT_THAT(page.calls, ElementsAre("pointer 300,250", "wheel -120", "list 41"));
  EXPECT_EQ(dialog.ControlColor(80).brush, (Rgb{4, 5, 6}));
  EXPECT_EQ(dialog.ControlColor(99), ControlColors{});
}

// After q8ctl's load (status 20) the files hold the loaded profile: "Save current as" saves what
// they hold, as `q8ctl profile save` does, not the record the window applied before with the new
// captions (a mix of two profiles).
TEST_F(KeldraDlgTest, SaveCurrentAsAfterALoadElsewhereSavesWhatTheFilesHold) {
  FakeProfilesDialog profilesDialog;
  dialog.SetProfilesDialog(&profilesDialog);
  ASSERT_TRUE(Start());
  DeviceConfig loaded = state.settings.deviceConfigBackup;
  loaded[field::ReportRateCode] = loaded[field::ReportRateCode] == 4 ? 2 : 4;
  ButtonCaptions captions = state.captions;
  captions[2] = "from the profile";
  WriteFilesAsALoadElsewhere(loaded, captions);
  dialog.OnStatusNotify(kStatusProfileLoaded, 0);

  profilesDialog.user = [](ProfilesPort& p) { ASSERT_TRUE(p.SaveCurrentAs("Now", false).Done()); };
  dialog.OnCommand(kCommandManageProfiles);
  const auto saved = ProfileStore(ProfileFolderIn(dir.path())).Load("Now");
  ASSERT_TRUE(std::holds_alternative<Profile>(saved));
  EXPECT_EQ(std::get<Profile>(saved).captions, captions);
  EXPECT_EQ(std::get<Profile>(saved).config, loaded);

  // A rule's load that neither the mouse nor config.bin took leaves them current.
  DeviceConfig racing = loaded;
  racing[field::ReportRateCode] = 8;
  const ProfileStore store(ProfileFolderIn(dir.path()));
  ASSERT_EQ(store.Save("Racing", {racing, "Setting-EN", captions}), std::nullopt);
  const std::string rules = "[Rules]\ngame.exe=Racing\n";
  test::WriteBytes(store.Folder() / "rules.ini", {rules.begin(), rules.end()});
  const auto configBin = ReadFileBytes(dir / "config.bin");
  std::filesystem::remove(dir / "config.bin");  // never made anew: its save fails
  bus.FollowPlugState([] { return false; });
  dialog.OnForegroundProgram("game.exe");
  bus.FollowPlugState([] { return true; });
  test::WriteBytes(dir / "config.bin", configBin.value());
  profilesDialog.user = [](ProfilesPort& p) { ASSERT_TRUE(p.SaveCurrentAs("Now", true).Done()); };
  dialog.OnCommand(kCommandManageProfiles);
  EXPECT_EQ(std::get<Profile>(store.Load("Now")).config, loaded);

  // A config.bin that is no config.bin any more saves nothing, and says why.
  test::WriteBytes(dir / "config.bin", {1, 2, 3});
  profilesDialog.user = [](ProfilesPort& p) {
    const ProfileOutcome outcome = p.SaveCurrentAs("Now", true);
    EXPECT_FALSE(outcome.Done());
    EXPECT_FALSE(outcome.message.empty());
  };
  dialog.OnCommand(kCommandManageProfiles);
  EXPECT_EQ(std::get<Profile>(ProfileStore(ProfileFolderIn(dir.path())).Load("Now")).config,
            loaded);
}

// A persistent problem met by switches of the rules raises its boxes at the first switch only,
// not over every game that comes to the front.
TEST_F(KeldraDlgTest, AMouseThatRefusesEveryReportIsToldAtTheFirstAutomaticSwitchOnly) {
  const auto [first, after] =
      BoxesOverAutomaticSwitches([&] { bus.FollowPlugState([] { return false; }); });
  EXPECT_GT(first, 0u);
  EXPECT_EQ(after, first);
}

TEST_F(KeldraDlgTest, AConfigBinThatCannotBeSavedIsToldAtTheFirstAutomaticSwitchOnly) {
  const auto [first, after] = BoxesOverAutomaticSwitches([&] {
    // Gone: config.bin is replaced, never made anew, so every save fails.
    std::filesystem::remove(dir / "config.bin");
  });
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(after, first);
  EXPECT_EQ(MouseReportRate(), 4);
}

}  // namespace
}  // namespace q8
