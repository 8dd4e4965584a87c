#pragma once

#include <QLocalServer>
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
#include "linux/gui/qt_text_painter.h"
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
  // The user's status socket, claimed before anything else ran; ClaimSingleInstance claims it
  // itself when none was handed over.
  void HoldStatusSocket(UniqueFd socket) { claimedSocket_ = std::move(socket); }
  // The image file a desktop notification shows as the program's icon.
  void SetNoticeIcon(QString path) { noticeIcon_ = std::move(path); }
  // The last status notification that came through the socket.
  std::optional<StatusNotification> LastStatus() const { return lastStatus_; }

  // SkinWindowHost
  Rect ClientRect() const override { return {0, 0, width(), height()}; }
  void CopyToWindow(const Canvas& source, Rect area) override;
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
  void HideWindow() override { hide(); }
  void BringToForeground() override;
  void StartDrag(Point point) override;
  void SetBusy(bool busy) override;
  bool HasNotificationArea() const override { return hasTray_; }
  void MinimiseWindow() override { showMinimized(); }
  void AddTrayIcon(std::string_view tip) override;
  void ShowBalloon(const TrayBalloon& balloon) override;
  void DeleteTrayIcon() override;
  void ShowTrayMenu(std::string_view exitText) override;
  void ShowTrayMenuWithProfiles(std::string_view exitText, const ProfileMenu& profiles) override;
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
  void TakeStatusConnection();
  using NoticeAnswer = std::function<void(const QString& error)>;
  // The notice where no notification area is: through the desktop's notification service.
  void ShowDesktopNotice(const TrayBalloon& balloon, NoticeAnswer answer);

  MouseConnection& mouse_;
  const AppState& state_;
  CKeldraDlg* controller_ = nullptr;
  QtTextPainter text_;
  QIcon icon_;
  bool hasTray_;
  std::unique_ptr<QSystemTrayIcon> tray_;
  QMenu trayMenu_;
  UniqueFd claimedSocket_;
  QLocalServer statusServer_;
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
};

}  // namespace q8::linux_shell
