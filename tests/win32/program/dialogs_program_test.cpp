// The key-function dialogs and the skin chooser in the running tray program under Wine: opened
// the way a user opens them, driven with real mouse and keyboard input from this process, and
// checked through the windows, the screen, config.bin, str.ini and the simulated mouse.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "settings/ini_file.h"
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
constexpr Point kSkinsArea{710, 14};

LPARAM At(Point point) {
  return win32::PackPoint(point.x, point.y);
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

  const fs::path strIni = folder / "str.ini";
  EXPECT_EQ(ReadIniString(strIni, "Skins", "Path", ""), "Cobalt");
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

}  // namespace
}  // namespace q8::test
