#pragma once

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/main_window_host.h"

namespace q8::win32 {

// The message the tray icon sends its window for every mouse event over it.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 1;

// The tool's icon in the notification area: one record, one fixed identifier for adding,
// modifying and deleting, balloons shown by modifying it. The notification area's answers are not
// checked: nothing the tool could do about a refusal would help the user.
class TrayIcon {
 public:
  TrayIcon() = default;
  ~TrayIcon() { Delete(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Adds the icon (again, after the shell restarted) with its tip; its mouse events reach `window`
  // as kTrayCallbackMessage.
  void Add(HWND window, HICON icon, std::string_view tip);
  // A balloon with the information icon; it replaces the one shown before.
  void ShowBalloon(std::string_view text, std::string_view title, unsigned timeoutMs);
  void Delete();
  // The one-item pop-up menu at the cursor; choosing the item sends `window` WM_COMMAND `command`.
  static void ShowMenu(HWND window, UINT command, std::string_view text);
  // The same menu with the profiles' submenu above the item: entry i sends kCommandFirstProfile +
  // i, the active one carries a check mark, and the manage entry (if any) follows a separator and
  // sends kCommandManageProfiles.
  static void ShowMenuWithSubmenu(HWND window, UINT command, std::string_view text,
                                  const ProfileMenu& profiles);
  // Another tip (lines separated by "\n").
  void SetTip(std::string_view tip);

 private:
  NOTIFYICONDATAW record_{};
  bool added_ = false;
};

}  // namespace q8::win32
