#include "win32/dialog_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "dialogs/fire_key_dialog.h"
#include "dialogs/media_dialogs.h"
#include "dialogs/single_dialog.h"
#include "ui/png_decoder.h"
#include "win32/key_capture.h"
#include "win32/user_input.h"

// The real dialogs in real windows, driven as a user would: SendInput from a second thread while
// the test's thread runs the dialog. Needs a display (Xvfb under Wine).
namespace q8 {
namespace {

using test::ClickAt;
using test::Eventually;
using test::Key;
using test::KeyName;
using test::MoveTo;
using test::Press;
using test::TextOf;
using namespace std::chrono_literals;

class DialogWindowTest : public ::testing::Test {
 protected:
  DialogWindowTest() {
    state.skinDirectory = Q8_SKINS_DIR "/Default";
    state.skinName = "Default";
    state.skinTextColor = {255, 255, 255};
    owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 876, 648,
                              nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  }
  ~DialogWindowTest() override { ::DestroyWindow(owner); }

  // Runs `dialog` over the owner while `user` acts on its window from another thread; a dialog
  // the user leaves open is cancelled so the test ends.
  DialogResult Run(DialogController& dialog, const std::function<void(HWND)>& user) {
    std::thread userThread([&] {
      // The first text drawn under Wine may wait for its font cache.
      HWND window = test::WaitForDialog(dialog.TemplateId());
      if (window != nullptr) {
        user(window);
        // Wine may take a second to take a hidden window off an X display without a manager.
        if (!Eventually([&] { return !::IsWindow(window); }, 5s)) {
          ADD_FAILURE() << "the dialog was still open";
          ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        }
      } else {
        ADD_FAILURE() << "no dialog " << dialog.TemplateId();
      }
    });
    const DialogResult result = win32::RunSkinnedDialog(owner, dialog);
    userThread.join();
    return result;
  }

  AppState state;
  PngDecoder decoder;
  DialogEnvironment environment{state, decoder, {10, 0}};
  HWND owner;
};

TEST_F(DialogWindowTest, AListDialogIsACaptionlessPopupOverItsDisabledOwner) {
  CMediaDialog dialog(environment);
  const DialogResult result = Run(dialog, [&](HWND window) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_BORDER | WS_CLIPCHILDREN),
              static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_CLIPCHILDREN));
    EXPECT_EQ(style & (WS_DLGFRAME | WS_SYSMENU), 0u);  // no caption, no system menu
    EXPECT_FALSE(::IsWindowEnabled(owner));
    RECT client{};
    ::GetClientRect(window, &client);
    const auto background = decoder.Decode(Q8_SKINS_DIR "/Default/media-key.png");
    ASSERT_TRUE(background);
    EXPECT_EQ(client.right, background->pixels.Width());
    EXPECT_EQ(client.bottom, background->pixels.Height());

    HWND valueBox = ::GetDlgItem(window, 552);
    ASSERT_NE(valueBox, nullptr);
    EXPECT_EQ(TextOf(valueBox), "Next");
    HDC dc = ::GetDC(valueBox);
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(window, WM_CTLCOLORSTATIC,
                                                               reinterpret_cast<WPARAM>(dc),
                                                               reinterpret_cast<LPARAM>(valueBox)));
    LOGBRUSH colour{};
    ::GetObjectW(brush, sizeof(colour), &colour);
    EXPECT_EQ(colour.lbColor, RGB(40, 40, 40));
    EXPECT_EQ(::GetTextColor(dc), RGB(255, 255, 255));
    ::ReleaseDC(valueBox, dc);

    ClickAt(window, {140, 136});  // the drop region
    HWND list = nullptr;
    ASSERT_TRUE(Eventually([&] { return (list = ::GetDlgItem(window, 553)) != nullptr; }));
    // The highlight follows the pointer; a click takes the highlighted item.
    RECT item{};
    ::SendMessageW(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
    POINT inList{item.left + 10, (item.top + item.bottom) / 2};
    ::MapWindowPoints(list, window, &inList, 1);
    MoveTo(window, {inList.x, inList.y});
    EXPECT_TRUE(Eventually([&] { return ::SendMessageW(list, LB_GETCURSEL, 0, 0) == 3; }));
    ClickAt(window, {inList.x, inList.y});
    EXPECT_TRUE(Eventually([&] { return TextOf(valueBox) == "Play/Pause"; }));
    EXPECT_TRUE(Eventually([&] { return !::IsWindow(list); }));

    ClickAt(window, {200, 260});  // OK
  });
  EXPECT_EQ(result, DialogResult::kOk);
  EXPECT_EQ(dialog.SelectedIndex(), 3);
  EXPECT_EQ(dialog.SelectedText(), "Play/Pause");
  EXPECT_TRUE(::IsWindowEnabled(owner));
}

TEST_F(DialogWindowTest, EscapeCancelsAListDialogAndEnterConfirmsAFireKeyWithItsEditSettled) {
  CMediaDialog media(environment);
  EXPECT_EQ(Run(media, [](HWND) { Press(VK_ESCAPE); }), DialogResult::kCancel);

  CFireKeyDialog fire(environment);
  const DialogResult result = Run(fire, [&](HWND window) {
    ClickAt(window, {120, 179});  // the release time: "32"
    Press(VK_END);
    Press(VK_BACK);
    Press(VK_BACK);
    for (const WORD digit : {'3', '0', '0'}) {
      Press(digit);
    }
    EXPECT_TRUE(Eventually([&] { return TextOf(::GetDlgItem(window, 577)) == "300"; }));
    Press(VK_RETURN);
  });
  EXPECT_EQ(result, DialogResult::kOk);
  EXPECT_EQ(fire.ChosenBreakTime(), 5);
}

TEST_F(DialogWindowTest, TheSingleKeyDialogNamesEveryKeyAndKeepsEnterEscapeAndWindows) {
  CSingleDialog dialog(environment);
  std::string afterShiftA;
  const DialogResult result = Run(dialog, [&](HWND window) {
    HWND valueBox = ::GetDlgItem(window, 502);
    ASSERT_NE(valueBox, nullptr);
    for (const WORD key :
         {WORD{'A'}, WORD{VK_RETURN}, WORD{VK_ESCAPE}, WORD{VK_F1}, WORD{VK_LWIN}}) {
      Press(key);
      EXPECT_TRUE(Eventually([&] { return TextOf(valueBox) == KeyName(key); }))
          << "key " << key << " shows " << TextOf(valueBox) << ", not " << KeyName(key);
      EXPECT_TRUE(::IsWindow(window)) << "key " << key << " ended the dialog";
    }
    Key(VK_SHIFT, false);
    Press('A');
    EXPECT_TRUE(Eventually([&] { return TextOf(valueBox) == KeyName('A'); }));
    afterShiftA = TextOf(valueBox);
    Key(VK_SHIFT, true);  // every key-up names its key too
    EXPECT_TRUE(Eventually([&] { return TextOf(valueBox) == KeyName(VK_SHIFT); }));
    ClickAt(window, {200, 260});
  });
  EXPECT_EQ(result, DialogResult::kOk);
  EXPECT_EQ(afterShiftA, KeyName('A'));
  EXPECT_EQ(dialog.CapturedKeyName(), KeyName(VK_SHIFT));
  // The run took its keyboard hook with it: another capture can start.
  win32::KeyCapture next([](std::string_view) {});
  EXPECT_TRUE(next.Installed());
}

}  // namespace
}  // namespace q8
