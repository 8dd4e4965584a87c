// The key-function dialogs and the skin chooser in the running tray program under Wine: opened
// the way a user opens them, driven with real mouse and keyboard input from this process, and
// checked through the windows, the screen, config.bin, str.ini and the simulated mouse.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

#include "device/mouse_state_file.h"
#include "model/key_model.h"
#include "model/key_names.h"
#include "settings/config_file.h"
#include "settings/ini_file.h"
#include "support/fakes.h"
#include "ui/png_decoder.h"
#include "win32/main_window.h"
#include "win32/message_params.h"
#include "win32/program/program_driver.h"
#include "win32/tray_icon.h"
#include "win32/user_input.h"

namespace q8::test {
namespace {

namespace fs = std::filesystem;

const std::vector<std::wstring> kSimulatedMouse = {L"--simulate=mouse-state.bin",
                                                   L"--trace=wire.trace"};

constexpr Point kOk{200, 260};
constexpr Point kCancel{300, 260};
constexpr Point kClose{360, 10};
constexpr Point kDrop{140, 136};
constexpr Point kSkinsArea{710, 14};
constexpr Point kApplyArea{700, 630};

LPARAM At(Point point) {
  return win32::PackPoint(point.x, point.y);
}

// The page writes the trace has recorded so far.
int PageWrites(const fs::path& trace) {
  std::ifstream file(trace);
  int count = 0;
  for (std::string line; std::getline(file, line);) {
    count += line.rfind("set page", 0) == 0 ? 1 : 0;
  }
  return count;
}

// The tray program started with the simulated mouse and shown from its tray icon.
class DialogsProgramTest : public ::testing::Test {
 protected:
  DialogsProgramTest() : program(folder, kSimulatedMouse) {
    window = program.WaitUntilReady();
    LRESULT answer = -1;
    if (window != nullptr) {
      SendAndWait(window, win32::kTrayCallbackMessage, 0, 0x202, answer);  // left click
    }
  }
  ~DialogsProgramTest() override {
    if (window != nullptr && program.Running()) {
      ::PostMessageW(window, WM_COMMAND, kCommandExit, 0);
      program.WaitForExit(20s);
    }
  }

  // A press on the main window, as the user's click there gives it: the dialog it opens runs in
  // the program while this process goes on.
  void PressOnMainWindow(Point point) {
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(point));
  }

  // In an open dialog: opens its list with a click at `drop` and takes the item `text` with the
  // pointer, checking that the highlight follows it.
  void ChooseItem(HWND dialog, Point drop, int listId, const std::string& text) {
    ClickAt(dialog, drop);
    HWND list = nullptr;
    ASSERT_TRUE(Eventually([&] { return (list = ::GetDlgItem(dialog, listId)) != nullptr; }));
    const auto items = ListItems(list);
    const auto it = std::find(items.begin(), items.end(), text);
    ASSERT_NE(it, items.end()) << text << " is not in list " << listId;
    const int index = static_cast<int>(it - items.begin());
    const Point at = ItemCentre(list, index, dialog);
    MoveTo(dialog, at);
    ASSERT_TRUE(Eventually([&] { return ::SendMessageW(list, LB_GETCURSEL, 0, 0) == index; }))
        << "the highlight does not follow the pointer";
    ClickAt(dialog, at);
    ASSERT_TRUE(Eventually([&] { return !::IsWindow(list); }));
  }

  // Opens the key list of row `row` with a click on its box and clicks on the function named
  // `function`: the function's dialog opens.
  void ChooseFunction(int row, const std::string& function) {
    ClickAt(window, {300, 199 + 23 * (row - 1) + 10});
    HWND list = nullptr;
    ASSERT_TRUE(Eventually([&] { return (list = ::GetDlgItem(window, 40 + row)) != nullptr; }));
    const auto items = ListItems(list);
    const auto it = std::find(items.begin(), items.end(), function);
    ASSERT_NE(it, items.end()) << function << " is not in the key list";
    ClickAt(window, ItemCentre(list, static_cast<int>(it - items.begin()), window));
  }

  // Apply, answered once the mouse is written and the files are saved.
  void Apply() {
    const int before = PageWrites(folder / "wire.trace");
    LRESULT answer = 0;
    ASSERT_TRUE(SendAndWait(window, WM_LBUTTONDOWN, MK_LBUTTON, At(kApplyArea), answer));
    ASSERT_EQ(PageWrites(folder / "wire.trace"), before + 5);
  }

  DeviceConfig SavedConfig() const {
    SettingsRecord record;
    RecordingMessageSink messages;
    LoadConfigFile(folder / "config.bin", record, messages);
    return record.deviceConfig;
  }

  // The key configuration `config` as the simulated mouse holds it.
  KeyConfigBlock MouseKeys(KeyConfigId config) const {
    std::string error;
    const auto memory = LoadOrCreateMouseStateFile(folder / "mouse-state.bin", error);
    KeyConfigBlock block{};
    if (memory) {
      const auto keys = memory->image.Page(3).subspan(config == KeyConfigId::A ? 0 : 32, 16);
      std::copy(keys.begin(), keys.end(), block.begin());
    }
    return block;
  }

  void EndWith(HWND dialog, Point button) {
    ClickAt(dialog, button);
    EXPECT_TRUE(Eventually([&] { return !::IsWindow(dialog); }, 5s));
  }

  ProgramFolder folder;
  RunningProgram program;
  HWND window = nullptr;
};

// A point of the skin chooser's face where no control or text is drawn and the two delivered
// skins differ, with its colour in the second skin.
struct TellingPixel {
  Point at;
  COLORREF second;
};
std::optional<TellingPixel> PixelThatTellsSkinsApart(const fs::path& first,
                                                     const fs::path& second) {
  PngDecoder decoder;
  const auto a = decoder.Decode(first);
  const auto b = decoder.Decode(second);
  if (!a || !b) {
    return std::nullopt;
  }
  for (int y = 100; y < 230; ++y) {
    for (int x = 240; x < 340; ++x) {  // right of the list and the swatch, above the buttons
      const Pixel& p = a->pixels.At(x, y);
      const Pixel& q = b->pixels.At(x, y);
      if (std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue) > 90) {
        return TellingPixel{{x, y}, RGB(q.red, q.green, q.blue)};
      }
    }
  }
  return std::nullopt;
}

TEST_F(DialogsProgramTest, TheSkinChooserSwitchesTheRunningProgramToTheOtherSkin) {
  ASSERT_NE(window, nullptr);
  const auto telling = PixelThatTellsSkinsApart(folder / "Skins/Default/skins.png",
                                                folder / "Skins/Cobalt/skins.png");
  ASSERT_TRUE(telling);

  PressOnMainWindow(kSkinsArea);
  HWND chooser = WaitForDialog(710);
  ASSERT_NE(chooser, nullptr);
  EXPECT_FALSE(::IsWindowEnabled(window)) << "the main window is disabled under the dialog";
  EXPECT_NE(ScreenPixel(chooser, telling->at), telling->second) << "the Default skin shows";
  EXPECT_EQ(TextOf(::GetDlgItem(chooser, 560)), "Default");
  Screenshot(chooser, "skins");

  ChooseItem(chooser, {140, 136}, 562, "Cobalt");
  EXPECT_EQ(TextOf(::GetDlgItem(chooser, 560)), "Cobalt");

  // The swatch opens the system's colour chooser over the dialog; pure red is typed into it.
  ClickAt(chooser, {100, 100});
  HWND colours = nullptr;
  ASSERT_TRUE(Eventually(
      [&] {
        colours = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr);
        for (; colours != nullptr;
             colours = ::FindWindowExW(nullptr, colours, L"#32770", nullptr)) {
          if (::GetWindow(colours, GW_OWNER) == chooser && ::IsWindowVisible(colours)) {
            return true;
          }
        }
        return false;
      },
      5s));
  constexpr int kRed = 706, kGreen = 707, kBlue = 708;  // the chooser's number boxes
  ::SendMessageW(::GetDlgItem(colours, kRed), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"255"));
  ::SendMessageW(::GetDlgItem(colours, kGreen), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"));
  ::SendMessageW(::GetDlgItem(colours, kBlue), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"));
  ::PostMessageW(colours, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(Eventually([&] { return !::IsWindow(colours); }, 5s));
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(ScreenPixel(chooser, {100, 102}), RGB(255, 0, 0)) << "the swatch shows the colour";
  Screenshot(chooser, "skins-chosen");

  EndWith(chooser, kOk);
  EXPECT_TRUE(::IsWindowEnabled(window));
  EXPECT_TRUE(::IsWindowVisible(window));

  // The program writes str.ini once the dialog has ended, which this test may see first.
  const fs::path strIni = folder / "str.ini";
  EXPECT_TRUE(
      Eventually([&] { return ReadIniString(strIni, "Skins", "Path", "") == "Cobalt"; }, 5s))
      << "str.ini names " << ReadIniString(strIni, "Skins", "Path", "");
  EXPECT_EQ(ReadIniString(strIni, "Skins", "RColor", ""), "255");
  EXPECT_EQ(ReadIniString(strIni, "Skins", "GColor", ""), "0");
  EXPECT_EQ(ReadIniString(strIni, "Skins", "BColor", ""), "0");

  // The running program now draws from the other skin: the next dialog opens on its images.
  PressOnMainWindow(kSkinsArea);
  chooser = WaitForDialog(710);
  ASSERT_NE(chooser, nullptr);
  EXPECT_EQ(ScreenPixel(chooser, telling->at), telling->second) << "the Cobalt skin shows";
  EXPECT_EQ(TextOf(::GetDlgItem(chooser, 560)), "Cobalt");
  Screenshot(chooser, "skins-after");
  EndWith(chooser, kCancel);
}

TEST_F(DialogsProgramTest, AMediaAndALaunchChoiceReachConfigBinAndTheMouseAfterApply) {
  ASSERT_NE(window, nullptr);
  ChooseFunction(3, "Multimedia");
  HWND media = WaitForDialog(703);
  ASSERT_NE(media, nullptr);
  EXPECT_FALSE(::IsWindowEnabled(window)) << "the main window is disabled under the dialog";
  Screenshot(media, "media-key");
  ChooseItem(media, kDrop, 553, "Mute");
  Screenshot(media, "media-key-chosen");
  EndWith(media, kOk);

  ChooseFunction(4, "Windows");
  HWND launch = WaitForDialog(702);
  ASSERT_NE(launch, nullptr);
  ClickAt(launch, kDrop);
  HWND launchList = nullptr;
  ASSERT_TRUE(Eventually([&] { return (launchList = ::GetDlgItem(launch, 533)) != nullptr; }));
  std::this_thread::sleep_for(300ms);  // painted
  // The items are white on the dark grey of the list, not on white: beside the short "Mail".
  const Point besideMail = ItemCentre(launchList, 1, launch);
  EXPECT_EQ(ScreenPixel(launch, {besideMail.x + 70, besideMail.y}), RGB(40, 40, 40));
  Screenshot(launch, "windows-key-list");
  // A second press at once would be a double click, which is no press for the dialog.
  std::this_thread::sleep_for(std::chrono::milliseconds(::GetDoubleClickTime() + 100));
  ClickAt(launch, kDrop);
  ASSERT_TRUE(Eventually([&] { return ::GetDlgItem(launch, 533) == nullptr; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(::GetDoubleClickTime() + 100));
  ChooseItem(launch, kDrop, 533, "Browser-Refresh");
  EndWith(launch, kOk);
  Screenshot(window, "main-window-after-choices");

  Apply();
  const DeviceConfig config = SavedConfig();
  const auto active = static_cast<KeyConfigId>(config[field::ActiveKeyConfig]);
  EXPECT_EQ(config.Button(field::MediaKeyIndex, active, 3), 4);
  EXPECT_EQ(config.Button(field::LaunchKeyIndex, active, 4), 8);
  EXPECT_EQ(KeySlotCodeOf(config, active, 3), (KeySlotCode{4, 2}));   // Mute
  EXPECT_EQ(KeySlotCodeOf(config, active, 4), (KeySlotCode{15, 2}));  // the launch entries follow 7
  EXPECT_EQ(MouseKeys(active), EncodeKeyConfig(config, active));
}

// The system announces another scale to an open dialog, then to the main window, as it does when
// a window moves to a monitor of another scale: each is drawn anew at the new scale, and clicks
// at the new scale's places (the list, OK, Apply) land on what is drawn there.
TEST_F(DialogsProgramTest, ADialogAndTheMainWindowFollowAChangeOfScale) {
  ASSERT_NE(window, nullptr);
  const auto twice = [](Point p) { return Point{2 * p.x, 2 * p.y}; };
  ChooseFunction(3, "Multimedia");
  HWND media = WaitForDialog(703);
  ASSERT_NE(media, nullptr);
  RECT before{};
  ::GetClientRect(media, &before);
  ASSERT_TRUE(AnnounceDpi(media, 96, 192));
  RECT after{};
  ::GetClientRect(media, &after);
  EXPECT_EQ(after.right, 2 * before.right);
  EXPECT_EQ(after.bottom, 2 * before.bottom);
  std::this_thread::sleep_for(300ms);  // painted
  Screenshot(media, "media-key-200");
  ChooseItem(media, twice(kDrop), 553, "Mute");
  EXPECT_EQ(TextOf(::GetDlgItem(media, 552)), "Mute");
  Screenshot(media, "media-key-200-chosen");
  ClickAt(media, twice(kOk));
  ASSERT_TRUE(Eventually([&] { return !::IsWindow(media); }, 5s)) << "OK at 200 % ends it";

  ASSERT_TRUE(AnnounceDpi(window, 96, 192));
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, 2 * 876);
  EXPECT_EQ(client.bottom, 2 * 648);
  const int writes = PageWrites(folder / "wire.trace");
  LRESULT answer = 0;
  ASSERT_TRUE(SendAndWait(window, WM_LBUTTONDOWN, MK_LBUTTON, At(twice(kApplyArea)), answer));
  EXPECT_EQ(PageWrites(folder / "wire.trace"), writes + 5) << "Apply at 200 % writes the mouse";
  const DeviceConfig config = SavedConfig();
  const auto active = static_cast<KeyConfigId>(config[field::ActiveKeyConfig]);
  EXPECT_EQ(KeySlotCodeOf(config, active, 3), (KeySlotCode{4, 2}));  // Mute
}

TEST_F(DialogsProgramTest, TheSingleKeyDialogNamesEveryKeyThroughTheKeyboardHook) {
  ASSERT_NE(window, nullptr);
  ChooseFunction(5, "Single Key");
  HWND single = WaitForDialog(701);
  ASSERT_NE(single, nullptr);
  HWND valueBox = ::GetDlgItem(single, 502);
  ASSERT_NE(valueBox, nullptr);
  EXPECT_EQ(TextOf(valueBox), "");
  for (const WORD key : {WORD{'A'}, WORD{VK_RETURN}, WORD{VK_ESCAPE}, WORD{VK_F1}, WORD{VK_LWIN}}) {
    Press(key);
    EXPECT_TRUE(Eventually([&] { return TextOf(valueBox) == KeyName(key); }))
        << "key " << key << " shows \"" << TextOf(valueBox) << "\", not \"" << KeyName(key) << "\"";
    EXPECT_TRUE(::IsWindowVisible(single)) << "key " << key << " ended the dialog";
  }
  Key(VK_SHIFT, false);
  Press('A');
  EXPECT_TRUE(Eventually([&] { return TextOf(valueBox) == KeyName('A'); })) << "Shift held";
  Screenshot(single, "single-key");
  Key(VK_SHIFT, true);  // its key-up names the Shift key
  EXPECT_TRUE(Eventually([&] { return TextOf(valueBox) == KeyName(VK_SHIFT); }));
  EndWith(single, kOk);

  Apply();
  const DeviceConfig config = SavedConfig();
  const auto active = static_cast<KeyConfigId>(config[field::ActiveKeyConfig]);
  EXPECT_EQ(config.Button(field::KeyFunction, active, 5),
            static_cast<std::uint8_t>(KeyFunctionCode::SingleKey));
  EXPECT_EQ(config.Button(field::SingleKeyUsage, active, 5), KeyNameToUsage(KeyName(VK_SHIFT)));
}

TEST_F(DialogsProgramTest, FireHotKeyAndSnipeOpenOverTheMainWindowAndEndWithoutAChoice) {
  ASSERT_NE(window, nullptr);
  const struct {
    const char* function;
    int templateId;
    const char* screenshot;
  } dialogs[] = {
      {"Fire Key", 704, "fire-key"}, {"HotKey", 712, "hot-key"}, {"Snipe Key", 711, "snipe-key"}};
  for (const auto& d : dialogs) {
    ChooseFunction(6, d.function);
    HWND dialog = WaitForDialog(d.templateId);
    ASSERT_NE(dialog, nullptr) << d.function;
    EXPECT_FALSE(::IsWindowEnabled(window));
    Screenshot(dialog, d.screenshot);
    if (d.templateId == 704) {
      ClickAt(dialog, {160, 75});  // the key list covers the edits
      std::this_thread::sleep_for(300ms);
      Screenshot(dialog, "fire-key-list");
      Press(VK_ESCAPE);
      EXPECT_TRUE(Eventually([&] { return !::IsWindow(dialog); }, 5s)) << "Escape cancels";
    } else {
      EndWith(dialog, d.templateId == 712 ? kCancel : kClose);
    }
    EXPECT_TRUE(Eventually([&] { return ::IsWindowEnabled(window) != FALSE; }));
  }
}

}  // namespace
}  // namespace q8::test
