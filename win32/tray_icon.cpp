#include "win32/tray_icon.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "win32/wide_text.h"

namespace q8::win32 {
namespace {

// The record in its 968-byte form: every field up to the balloon's GUID, without the balloon icon
// handle that later systems added.
constexpr DWORD kRecordSize = offsetof(NOTIFYICONDATAW, hBalloonIcon);
static_assert(sizeof(void*) != 8 || kRecordSize == 968);

constexpr UINT kTrayIconId = 1;
constexpr UINT kAddFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 0x07
constexpr UINT kBalloonFlags = kAddFlags | NIF_INFO;          // 0x17
constexpr DWORD kInformationIcon = NIIF_INFO;                 // 1, for "Info" and "Warning" alike
// Right button selects, menu above the cursor: the notification area sits at the screen's bottom.
constexpr UINT kMenuFlags = TPM_RIGHTBUTTON | TPM_BOTTOMALIGN;  // 0x22

// Copies `text` into a fixed field, cut to what the field holds with its terminator.
template <std::size_t N>
void CopyField(wchar_t (&field)[N], std::string_view text) {
  const std::wstring wide = ToWide(text);
  const std::size_t length = std::min(wide.size(), N - 1);
  std::copy_n(wide.begin(), length, field);
  field[length] = L'\0';
}

}  // namespace

void TrayIcon::Add(HWND window, HICON icon, std::string_view tip) {
  record_ = {};
  record_.cbSize = kRecordSize;
  record_.hWnd = window;
  record_.uID = kTrayIconId;
  record_.uFlags = kAddFlags;
  record_.uCallbackMessage = kTrayCallbackMessage;
  record_.hIcon = icon;
  CopyField(record_.szTip, tip);
  ::Shell_NotifyIconW(NIM_ADD, &record_);
  added_ = true;
}

void TrayIcon::ShowBalloon(std::string_view text, std::string_view title, unsigned timeoutMs) {
  CopyField(record_.szInfo, text);
  CopyField(record_.szInfoTitle, title);
  record_.uFlags = kBalloonFlags;
  record_.dwInfoFlags = kInformationIcon;
  record_.uTimeout = timeoutMs;
  ::Shell_NotifyIconW(NIM_MODIFY, &record_);
}

void TrayIcon::Delete() {
  if (added_) {
    ::Shell_NotifyIconW(NIM_DELETE, &record_);
    added_ = false;
  }
}

void TrayIcon::ShowMenu(HWND window, UINT command, std::string_view text) {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  HMENU menu = ::CreatePopupMenu();
  if (menu == nullptr) {
    return;
  }
  ::AppendMenuW(menu, MF_STRING, command, ToWide(text).c_str());
  // Without the window in front the menu would not close when the user clicks elsewhere.
  ::SetForegroundWindow(window);
  ::TrackPopupMenu(menu, kMenuFlags, cursor.x, cursor.y, 0, window, nullptr);
  ::DestroyMenu(menu);
}

void TrayIcon::ShowMenuWithSubmenu(HWND window, UINT command, std::string_view text,
                                   const ProfileMenu& profiles) {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  HMENU menu = ::CreatePopupMenu();
  HMENU submenu = ::CreatePopupMenu();
  if (menu == nullptr || submenu == nullptr) {
    if (menu != nullptr) {
      ::DestroyMenu(menu);
    }
    if (submenu != nullptr) {
      ::DestroyMenu(submenu);
    }
    return;
  }
  for (std::size_t i = 0; i < profiles.names.size(); ++i) {
    const UINT flags = MF_STRING | (profiles.active == i ? MF_CHECKED : MF_UNCHECKED);
    ::AppendMenuW(submenu, flags, kCommandFirstProfile + static_cast<UINT>(i),
                  ToWide(profiles.names[i]).c_str());
  }
  if (!profiles.manageText.empty()) {
    if (!profiles.names.empty()) {
      ::AppendMenuW(submenu, MF_SEPARATOR, 0, nullptr);
    }
    ::AppendMenuW(submenu, MF_STRING, kCommandManageProfiles, ToWide(profiles.manageText).c_str());
  }
  // From here the menu owns the submenu and destroys it with itself.
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu),
                ToWide(profiles.title).c_str());
  ::AppendMenuW(menu, MF_STRING, command, ToWide(text).c_str());
  ::SetForegroundWindow(window);
  ::TrackPopupMenu(menu, kMenuFlags, cursor.x, cursor.y, 0, window, nullptr);
  ::DestroyMenu(menu);
}

void TrayIcon::SetTip(std::string_view tip) {
  CopyField(record_.szTip, tip);
  if (added_) {
    record_.uFlags = kAddFlags;  // no balloon again
    ::Shell_NotifyIconW(NIM_MODIFY, &record_);
  }
}

}  // namespace q8::win32
