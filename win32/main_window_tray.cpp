#include "win32/main_window.h"

// The main window's icon in the notification area: added, its balloons, its menu, removed.

namespace q8::win32 {

// --- Tray icon -----------------------------------------------------------------------------------

void MainWindow::AddTrayIcon(std::string_view tip) {
  trayIcon_.Add(window_, smallIcon_ != nullptr ? smallIcon_ : icon_, tip);
}

void MainWindow::ShowBalloon(const TrayBalloon& balloon) {
  trayIcon_.ShowBalloon(balloon.text, balloon.title, balloon.timeoutMs);
}

void MainWindow::DeleteTrayIcon() {
  trayIcon_.Delete();
}

void MainWindow::ShowTrayMenu(std::string_view exitText) {
  TrayIcon::ShowMenu(window_, kCommandExit, exitText);
}

void MainWindow::ShowTrayMenuWithProfiles(std::string_view exitText, const ProfileMenu& profiles) {
  TrayIcon::ShowMenuWithSubmenu(window_, kCommandExit, exitText, profiles);
}

void MainWindow::SetTrayTip(std::string_view tip) {
  trayIcon_.SetTip(tip);
}

}  // namespace q8::win32
