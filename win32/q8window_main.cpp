// q8window: does to the running tray program's window what a user's clicks would, for scripts and
// demonstrations.
//   q8window wait SECONDS     waits until the window exists and has finished starting
//   q8window show             a left click on the tray icon; prints the window's place and size
//   q8window notify TYPE VALUE  a status notification, as another program would send it
//   q8window press X Y        a left-button press at client point X,Y (a page area, a button)
//   q8window menu             a right click on the tray icon: the menu opens (and waits)
//   q8window profiles         the menu's "Manage profiles…": prints the dialog's place and size
//   q8window exit             the tray menu's Exit

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "win32/main_window.h"
#include "win32/message_params.h"
#include "win32/tray_icon.h"

namespace {

constexpr UINT kAnswerTimeoutMs = 10000;
constexpr WPARAM kLeftButtonUp = 0x202;
constexpr LPARAM kRightButtonUp = 0x205;

HWND FindMainWindow() {
  return ::FindWindowW(q8::win32::kMainWindowClass, nullptr);
}

// Sends `message` and waits for the answer; false when the window does not answer in time.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& answer) {
  return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kAnswerTimeoutMs,
                               &answer) != 0;
}

// Waits until the program's modal loop waits for input: its initialisation has ended. (The window
// exists, and answers sent messages, already while it initialises.)
bool WaitUntilIdle(HWND window, DWORD limitMs) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
  if (process == nullptr) {
    return false;
  }
  const bool idle = ::WaitForInputIdle(process, limitMs) == 0;
  ::CloseHandle(process);
  return idle;
}

// The modal loop is idle once before it shows its dialog a second time, which the window answers
// by hiding itself again: start-up is over when the window's visibility stays as it is over
// several answered messages.
void Settle(HWND window) {
  constexpr int kQuietRounds = 4;
  bool visible = ::IsWindowVisible(window) != FALSE;
  for (int quiet = 0, round = 0; quiet < kQuietRounds && round < 100; ++round) {
    DWORD_PTR answer = 0;
    Send(window, WM_NULL, 0, 0, answer);
    ::Sleep(100);
    const bool now = ::IsWindowVisible(window) != FALSE;
    quiet = now == visible ? quiet + 1 : 0;
    visible = now;
  }
}

int Wait(double seconds) {
  const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  while (::GetTickCount64() < deadline) {
    if (HWND window = FindMainWindow()) {
      DWORD_PTR answer = 0;
      if (WaitUntilIdle(window, static_cast<DWORD>(deadline - ::GetTickCount64())) &&
          Send(window, WM_NULL, 0, 0, answer)) {
        Settle(window);
        return 0;
      }
    }
    ::Sleep(100);
  }
  std::fputs("q8window: no TarnixQ8Class window appeared\n", stderr);
  return 1;
}

int Show(HWND window) {
  DWORD_PTR answer = 0;
  if (!Send(window, q8::win32::kTrayCallbackMessage, 0, kLeftButtonUp, answer)) {
    std::fputs("q8window: the window does not answer\n", stderr);
    return 1;
  }
  RECT place{};
  ::GetWindowRect(window, &place);
  std::printf("window at %ld,%ld, %ldx%ld, %s\n", place.left, place.top, place.right - place.left,
              place.bottom - place.top, ::IsWindowVisible(window) ? "visible" : "hidden");
  return 0;
}

int Notify(HWND window, const wchar_t* type, const wchar_t* value) {
  DWORD_PTR answer = 0;
  if (!Send(window, q8::win32::kStatusNotifyMessage, std::wcstoul(type, nullptr, 10),
            std::wcstol(value, nullptr, 10), answer)) {
    std::fputs("q8window: the window does not answer\n", stderr);
    return 1;
  }
  std::printf("answered %llu\n", static_cast<unsigned long long>(answer));
  return 0;
}

int Press(HWND window, const wchar_t* x, const wchar_t* y) {
  const LPARAM at = q8::win32::PackPoint(static_cast<int>(std::wcstol(x, nullptr, 10)),
                                         static_cast<int>(std::wcstol(y, nullptr, 10)));
  DWORD_PTR answer = 0;
  if (!Send(window, WM_LBUTTONDOWN, MK_LBUTTON, at, answer)) {
    std::fputs("q8window: the window does not answer\n", stderr);
    return 1;
  }
  return 0;
}

// The dialog the menu's "Manage profiles…" opens, once it is shown.
int Profiles(HWND window) {
  ::PostMessageW(window, WM_COMMAND, q8::kCommandManageProfiles, 0);
  for (int tries = 0; tries < 100; ++tries) {
    for (HWND dialog = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); dialog != nullptr;
         dialog = ::FindWindowExW(nullptr, dialog, L"#32770", nullptr)) {
      if (::GetWindow(dialog, GW_OWNER) == window && ::IsWindowVisible(dialog)) {
        RECT place{};
        ::GetWindowRect(dialog, &place);
        std::printf("dialog at %ld,%ld, %ldx%ld\n", place.left, place.top, place.right - place.left,
                    place.bottom - place.top);
        return 0;
      }
    }
    ::Sleep(100);
  }
  std::fputs("q8window: the profiles dialog did not open\n", stderr);
  return 1;
}

int Usage() {
  std::fputs(
      "usage: q8window wait SECONDS | show | notify TYPE VALUE | press X Y | menu | profiles | "
      "exit\n",
      stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    return Usage();
  }
  const std::wstring command = argv[1];
  if (command == L"wait" && argc == 3) {
    return Wait(std::wcstod(argv[2], nullptr));
  }
  HWND window = FindMainWindow();
  if (window == nullptr) {
    std::fputs("q8window: the tray program is not running\n", stderr);
    return 1;
  }
  if (command == L"show" && argc == 2) {
    return Show(window);
  }
  if (command == L"notify" && argc == 4) {
    return Notify(window, argv[2], argv[3]);
  }
  if (command == L"press" && argc == 4) {
    return Press(window, argv[2], argv[3]);
  }
  if (command == L"menu" && argc == 2) {
    // Posted: the program stays in the menu until the menu is closed.
    ::PostMessageW(window, q8::win32::kTrayCallbackMessage, 0, kRightButtonUp);
    return 0;
  }
  if (command == L"profiles" && argc == 2) {
    return Profiles(window);
  }
  if (command == L"exit" && argc == 2) {
    ::PostMessageW(window, WM_COMMAND, q8::kCommandExit, 0);
    return 0;
  }
  return Usage();
}
