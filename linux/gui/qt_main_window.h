#pragma once

#include <QMenu>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "app/keldra_dlg.h"
#include "app/main_window_host.h"
#include "linux/gui/qt_controls.h"
#include "linux/gui/qt_skin_surface.h"
#include "linux/gui/qt_status_server.h"
#include "linux/gui/qt_text_painter.h"
#include "linux/gui/qt_window_scale.h"
#include "linux/hotplug_monitor.h"
#include "linux/simulated_plug_monitor.h"
#include "linux/status_socket.h"

namespace q8::linux_shell {

// The main window of tarnix-q8: a frameless window showing the controller's canvas, its native
// controls, the tray icon, the single-instance socket that also takes status notifications, and
// the kernel's device events. Every decision is the controller's; this class only translates.
class QtMainWindow final : public QWidget, public QtControlHostOf<MainWindowHost> {
 public:
  QtMainWindow(MouseConnection& mouse, const AppState& state, QIcon icon);
  ~QtMainWindow() override;

  // The controller the window's events go to; set once, before the initialisation.
  void Bind(CKeldraDlg& controller);
  // The claim of the user's status socket, made before anything else ran; ClaimSingleInstance
  // claims it itself when none was handed over.
  void HoldStatusSocket(StatusSocketClaim claim) { heldClaim_ = std::move(claim); }
  // The image file a desktop notification shows as the program's icon.
  void SetNoticeIcon(QString path) { noticeIcon_ = std::move(path); }
  // The last status notification that came through the socket.
  std::optional<StatusNotification> LastStatus() const { return lastStatus_; }

  // SkinWindowHost
  Rect ClientRect() const override { return {0, 0, width(), height()}; }
  void CopyToWindow(const Canvas& source, Rect area) override;
  void KeepCanvas(const Canvas* canvas) override { surface_.KeepCanvas(canvas); }
  double PixelRatio() const override { return surface_.PixelRatio(); }
  void ResizeClient(int width, int height) override;
  void TrackMouse(bool alsoLeave, unsigned hoverMs) override;
  // MessageSink
  void ShowMessage(std::string_view text, std::string_view caption) override;
  // DialogRunner
  DialogResult RunDialog(DialogController& dialog) override;
  // MainWindowHost
  bool ClaimSingleInstance() override;
  void SetUpWindowStyle() override;
  bool RegisterDeviceNotifications() override;
  void SetFonts(const LanguageFonts& fonts) override;
  OsVersion PlatformVersion() const override { return {}; }
  TextPainter& Text() override { return text_; }
  void ShowWindow() override;
  void HideWindow() override;
  void BringToForeground() override;
  void StartDrag(Point point) override;
  void SetBusy(bool busy) override;
  bool HasNotificationArea() const override { return hasTray_; }
  void MinimiseWindow() override { showMinimized(); }
  void AddTrayIcon(std::string_view tip) override;
  void SetTrayTip(std::string_view tip) override;
  void ShowBalloon(const TrayBalloon& balloon) override;
  void DeleteTrayIcon() override;
  void ShowTrayMenu(std::string_view exitText) override;
  void ShowTrayMenuWithProfiles(std::string_view exitText, const ProfileMenu& profiles) override;
  void OpenTrayMenu(const TrayMenu& menu) override;
  void OpenAddress(std::string_view address) override;
  void EndProcess(int exitCode) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Why this copy runs without its status socket: on standard error now, as a notice once the
  // start-up has made the tray icon.
  void WarnUnguarded(const std::string& why);
  // The tray menu's lasting entries (qt_tray_menu.cpp).
  void SetUpTrayMenu();
  // Fills the tray menu with what the controller offers now.
  void FillTrayMenu(const TrayMenu& menu);
  // Opens the tray menu at the cursor, unless the desktop's notification area draws it itself
  // and only asked for its entries.
  void PopUpTrayMenu();
  // Asks the controller for the menu's entries, without opening it.
  void RefreshExportedTrayMenu();
  using NoticeAnswer = QtStatusServer::Answer;
  // A line a status sender sent: the notification shown, and its sender answered.
  void TakeStatusLine(const QByteArray& line, const NoticeAnswer& answer);
  // The notice where no notification area is: through the desktop's notification service.
  void ShowDesktopNotice(const TrayBalloon& balloon, NoticeAnswer answer);

  MouseConnection& mouse_;
  const AppState& state_;
  CKeldraDlg* controller_ = nullptr;
  QtTextPainter text_;
  QIcon icon_;
  bool hasTray_;
  // The tray menu lives as long as the window and is refilled, never rebuilt: where a notification
  // area draws it (a StatusNotifierItem host, through com.canonical.dbusmenu), Qt makes the
  // exported copy of each submenu when the menu is handed to the icon. Declared before the icon,
  // which refers to it.
  QMenu trayMenu_;
  QMenu profilesMenu_;
  QAction* startAtLogInAction_ = nullptr;
  QAction* exitAction_ = nullptr;
  // The notification area draws the menu from its entries (trayMenu_ is the icon's context menu).
  bool hostDrawsTrayMenu_ = false;
  // The tray icon is a StatusNotifierItem (the notification area keeps it on the session bus).
  bool statusNotifierTray_ = false;
  // The controller is asked for the entries only: the host opens the menu, not this program.
  bool fillingTrayMenuOnly_ = false;
  // An activation the window could not take while it was hidden, made once it is shown.
  bool activateWhenShown_ = false;
  std::unique_ptr<QSystemTrayIcon> tray_;
  std::optional<StatusSocketClaim> heldClaim_;
  QtStatusServer statusServer_{
      [this](const QByteArray& line, const NoticeAnswer& answer) { TakeStatusLine(line, answer); }};
  // While a status line is handled: how to tell its sender whether the notice was shown.
  NoticeAnswer noticeAnswer_;
  QString noticeIcon_;
  // The desktop notification shown last, which the next one replaces (as a new balloon does).
  uint noticeId_ = 0;
  std::unique_ptr<HotplugMonitor> hotplug_;
  std::unique_ptr<QSocketNotifier> hotplugNotifier_;
  std::unique_ptr<SimulatedPlugMonitor> simulatedPlug_;
  std::unique_ptr<QSocketNotifier> simulatedPlugNotifier_;
  bool leaveArmed_ = false;
  // A drag the window manager could not take over: the pointer's offset in the window.
  std::optional<QPoint> dragOffset_;
  std::optional<StatusNotification> lastStatus_;
  QtSkinSurface surface_;
  // A move to a screen of another scale draws the window anew.
  QtWindowScale scale_;
};

}  // namespace q8::linux_shell
