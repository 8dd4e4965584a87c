#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/message_sink.h"
#include "ui/control_host.h"
#include "ui/dialog_host.h"
#include "ui/language_fonts.h"
#include "ui/skin_window_host.h"
#include "ui/text_port.h"

namespace q8 {

// The balloon of a status notification on the tray icon.
struct TrayBalloon {
  std::string_view text;
  std::string_view title;  // "Info" or "Warning"
  unsigned timeoutMs = 0;
};

// The balloons' titles, and how long they show: a change of the mouse's settings or profile, and a
// mouse found or lost.
inline constexpr std::string_view kBalloonTitleInfo = "Info";
inline constexpr std::string_view kBalloonTitleWarning = "Warning";
inline constexpr unsigned kChangeBalloonMs = 5000;
inline constexpr unsigned kDeviceBalloonMs = 100;

// The main window's text: the program's name, which the task bar, the task switcher and the
// desktop's window lists show. The window draws no caption bar of its own.
inline constexpr std::string_view kMainWindowTitle = "Tarnix Q8";

// The tray menu's one command: end the program.
inline constexpr int kCommandExit = 1028;

// The tray menu's profiles, in a submenu above Exit: choosing profile i sends
// kCommandFirstProfile + i. Below them, when the submenu offers it, the entry that opens the
// profiles dialog sends kCommandManageProfiles.
inline constexpr int kCommandFirstProfile = 1100;
inline constexpr int kCommandManageProfiles = 1030;
inline constexpr std::size_t kMaxMenuProfiles = 100;
struct ProfileMenu {
  std::string_view title;  // the submenu's text
  std::span<const std::string> names;
  std::optional<std::size_t> active;  // the one checked
  // The last entry, after a separator ("Manage profiles…"); empty: none.
  std::string_view manageText = {};
};

// The tray menu's "Start at log-in", where the system keeps such an entry per user (Linux):
// checked while the entry is there; choosing it sends kCommandStartAtLogIn.
inline constexpr int kCommandStartAtLogIn = 1029;
struct MenuCheckItem {
  std::string_view text;
  bool checked = false;
};

// The whole tray menu, top to bottom: the profiles' submenu (with at least one profile, or the
// entry that manages them), the entries with a check mark, Exit.
struct TrayMenu {
  std::string_view exitText;
  std::optional<ProfileMenu> profiles;
  std::optional<MenuCheckItem> startAtLogIn;
};

// What the main window's shell does for the controller: the window itself, its tray icon, its
// native child controls, message boxes, the modal dialogs over it and the process's end. The
// Win32 shell implements it with a real window; tests record the calls.
class MainWindowHost : public SkinWindowHost,
                       public ControlHost,
                       public MessageSink,
                       public DialogRunner {
 public:
  // --- Start-up ---------------------------------------------------------------------------------
  // Creates the single-instance guard of the user's session, kept until the process ends. False
  // when another copy of the tool holds it already.
  virtual bool ClaimSingleInstance() = 0;
  // The application icon as the window's icons, and no task-bar button (a tool window).
  virtual void SetUpWindowStyle() = 0;
  // Asks the system for arrival and removal notifications of HID device interfaces. False when
  // the system refuses.
  virtual bool RegisterDeviceNotifications() = 0;
  // Makes the window's normal and title fonts; captions drawn through Text() use them.
  virtual void SetFonts(const LanguageFonts& fonts) = 0;
  // The operating system's version, which chooses the Simplified Chinese font.
  virtual OsVersion PlatformVersion() const = 0;
  virtual TextPainter& Text() = 0;

  // --- The window -------------------------------------------------------------------------------
  virtual void ShowWindow() = 0;
  virtual void HideWindow() = 0;
  virtual void BringToForeground() = 0;
  // Lets the window follow the pointer, as a press on a caption bar would, from `point`.
  virtual void StartDrag(Point point) = 0;
  // The wait cursor while the mouse is read or written.
  virtual void SetBusy(bool busy) = 0;

  // Whether the desktop has a notification area to keep the tray icon. Without one a hidden
  // window could never be reached again.
  virtual bool HasNotificationArea() const { return true; }
  // Minimises the window to the desktop's task list (only used without a notification area).
  virtual void MinimiseWindow() { HideWindow(); }

  // --- Tray icon --------------------------------------------------------------------------------
  // Adds the icon with its tip; the icon's callbacks reach CKeldraDlg::OnTrayCallback.
  virtual void AddTrayIcon(std::string_view tip) = 0;
  // Gives the icon another tip (lines separated by "\n").
  virtual void SetTrayTip(std::string_view tip) = 0;
  virtual void ShowBalloon(const TrayBalloon& balloon) = 0;
  virtual void DeleteTrayIcon() = 0;
  // Opens the tray menu at the cursor with one item, `exitText`; choosing it sends kCommandExit.
  virtual void ShowTrayMenu(std::string_view exitText) = 0;
  // The same menu with the profiles' submenu above Exit. A shell without submenus shows Exit only.
  virtual void ShowTrayMenuWithProfiles(std::string_view exitText, const ProfileMenu& profiles) {
    (void)profiles;
    ShowTrayMenu(exitText);
  }

  // Opens the whole menu. A shell that shows only profiles and Exit leaves the rest out.
  virtual void OpenTrayMenu(const TrayMenu& menu) {
    if (menu.profiles) {
      ShowTrayMenuWithProfiles(menu.exitText, *menu.profiles);
    } else {
      ShowTrayMenu(menu.exitText);
    }
  }

  // --- The system -------------------------------------------------------------------------------
  // Opens a document or web address with the system's "open" action; the result is not checked.
  virtual void OpenAddress(std::string_view address) = 0;
  // Destroys the window and ends the process with `exitCode` after the current message; at once
  // when a message box or a modal dialog runs its own loop over the window, so that nothing
  // waits for that loop to end.
  virtual void EndProcess(int exitCode) = 0;
};

}  // namespace q8
