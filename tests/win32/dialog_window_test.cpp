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
using test::KeyName;
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

    ClickAt(window, {200, 260});  // OK
  });
  EXPECT_EQ(result, DialogResult::kOk);
  EXPECT_EQ(dialog.SelectedText(), "Next");
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

// The key sequence itself is checked in the running program; here, that the capture ends with a
// run that ends through the close button.
TEST_F(DialogWindowTest, TheSingleKeyDialogsCaptureEndsWithTheRun) {
  CSingleDialog dialog(environment);
  const DialogResult result = Run(dialog, [&](HWND window) {
    Press('A');
    Press(VK_RETURN);
    EXPECT_TRUE(
        Eventually([&] { return TextOf(::GetDlgItem(window, 502)) == KeyName(VK_RETURN); }));
    ClickAt(window, {360, 10});
  });
  EXPECT_EQ(result, DialogResult::kCancel);
  EXPECT_EQ(dialog.CapturedKeyName(), KeyName(VK_RETURN));
  win32::KeyCapture next([](std::string_view) {});
  EXPECT_TRUE(next.Installed());
}

}  // namespace
}  // namespace q8
