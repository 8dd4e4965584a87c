#include "linux/gui/qt_main_window.h"

#include <malloc.h>
#include <unistd.h>
#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <utility>

#include "linux/gui/qt_dialog_window.h"
#include "linux/status_socket.h"
#include "ui/canvas.h"

namespace q8::linux_shell {
QtMainWindow::QtMainWindow(MouseConnection& mouse, const AppState& state, QIcon icon)
    : mouse_(mouse),
      state_(state),
      icon_(std::move(icon)),
      hasTray_(QSystemTrayIcon::isSystemTrayAvailable()),
      surface_(*this, {[this](Point p) { controller_->OnMouseHover(p); },
                       [this](Point p) {
                         if (controller_ != nullptr) {
                           controller_->OnPointerMove(p);
                         }
                       }}),
      scale_(*this, [this] {
        if (controller_ != nullptr) {
          controller_->OnDisplayScaleChanged();
        }
      }) {
  controls_ = std::make_unique<QtControls>(
      *this, QtControls::Callbacks{
                 [this](ControlId id) { return controller_->ControlColor(id); },
                 [this](ControlId id, ListEvent e) { controller_->OnListNotification(id, e); },
                 {}});
  setWindowTitle(QStringOf(kMainWindowTitle));
  setWindowIcon(icon_);
  SetUpTrayMenu();
}

QtMainWindow::~QtMainWindow() = default;

void QtMainWindow::Bind(CKeldraDlg& controller) {
  controller_ = &controller;
}

// --- Drawing
// ---------------------------------------------------------------------------------------

void QtMainWindow::CopyToWindow(const Canvas& source, Rect area) {
  surface_.CopyToWindow(source, area);
}

void QtMainWindow::ResizeClient(int width, int height) {
  surface_.ResizeClient(width, height);
}

void QtMainWindow::showEvent(QShowEvent* event) {
  // What Windows does on erasing the background: the canvas, copied whole. Later changes reach
  // the picture through CopyToWindow, so painting only shows it.
  controller_->OnEraseBackground();
  QWidget::showEvent(event);
}

void QtMainWindow::paintEvent(QPaintEvent*) {
  surface_.Paint();
}

// --- Pointer and keys
// ------------------------------------------------------------------------------

void QtMainWindow::TrackMouse(bool alsoLeave, unsigned hoverMs) {
  leaveArmed_ = leaveArmed_ || alsoLeave;
  surface_.ArmHover(hoverMs);
}

void QtMainWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const QPoint p = event->position().toPoint();
    controller_->OnLButtonDown({p.x(), p.y()});
  }
}

void QtMainWindow::StartDrag(Point point) {
  if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
    return;
  }
  dragOffset_ = QPoint(point.x, point.y);  // no window manager to ask: follow the pointer here
}

void QtMainWindow::mouseMoveEvent(QMouseEvent* event) {
  if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
    move(event->globalPosition().toPoint() - *dragOffset_);
    return;
  }
  const QPoint p = event->position().toPoint();
  controller_->OnMouseMove({p.x(), p.y()});
}

void QtMainWindow::mouseReleaseEvent(QMouseEvent*) {
  dragOffset_.reset();
}

void QtMainWindow::leaveEvent(QEvent*) {
  if (leaveArmed_) {
    leaveArmed_ = false;
    controller_->OnMouseLeave();
  }
}

void QtMainWindow::wheelEvent(QWheelEvent* event) {
  controller_->OnMouseWheel(event->angleDelta().y());
}

void QtMainWindow::keyPressEvent(QKeyEvent* event) {
  int key = 0;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
    key = kKeyEnter;
  if (event->key() == Qt::Key_Escape)
    key = kKeyEscape;
  if (key == 0 || !controller_->OnKeyDown(key)) {
    QWidget::keyPressEvent(event);
  }
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  event->ignore();  // the controller decides: hide, or end without a tray
  controller_->OnClose();
}

// --- Start-up and the window
// ------------------------------------------------------------------------

bool QtMainWindow::ClaimSingleInstance() {
  StatusSocketClaim claim = heldClaim_ ? std::move(*heldClaim_) : ClaimStatusSocket();
  heldClaim_.reset();
  if (claim.runningCopy) {
    return false;  // a running copy holds the name
  }
  if (!claim.socket.Valid()) {
    // Without the socket the copy still runs; only notifications and the guard are lost.
    WarnUnguarded(claim.error);
    return true;
  }
  // The server owns the socket from here and closes it when the program ends.
  statusServer_.Listen(std::move(claim.socket));
  return true;
}

void QtMainWindow::TakeStatusLine(const QByteArray& line, const NoticeAnswer& answer) {
  const QByteArray text = line.trimmed();
  const auto status = ParseStatusLine(std::string_view(text.data(), text.size()));
  if (!status) {
    answer(QStringLiteral("not a notification: ") + QString::fromUtf8(text));
    return;
  }
  lastStatus_ = status;
  noticeAnswer_ = answer;
  controller_->OnStatusNotify(status->type, status->value);
  // Still here: the notification shows nothing (a type or value the table leaves out).
  if (const NoticeAnswer unanswered = std::exchange(noticeAnswer_, {})) {
    unanswered({});
  }
}

void QtMainWindow::SetUpWindowStyle() {
  // No task-bar entry while a tray icon leads back to the window; a normal window otherwise.
  Qt::WindowFlags flags = Qt::FramelessWindowHint;
  flags |= hasTray_ ? Qt::Tool : Qt::Window;
  setWindowFlags(flags);
}

bool QtMainWindow::RegisterDeviceNotifications() {
  hotplug_ = std::make_unique<HotplugMonitor>(mouse_.Bus(), controller_->DeviceChanges(),
                                              state_.devicePresent);
  std::string error;
  if (!hotplug_->Open(error)) {
    hotplug_.reset();
    return false;
  }
  hotplugNotifier_ = std::make_unique<QSocketNotifier>(hotplug_->Fd(), QSocketNotifier::Read);
  connect(hotplugNotifier_.get(), &QSocketNotifier::activated, this,
          [this] { hotplug_->ReadEvents(); });
  if (const auto stateFile = mouse_.SimulatedStateFile()) {
    // The simulated mouse's cable comes and goes through the same monitor.
    simulatedPlug_ = std::make_unique<SimulatedPlugMonitor>(*stateFile, *hotplug_);
    if (!simulatedPlug_->Open(error)) {
      return false;
    }
    simulatedPlugNotifier_ =
        std::make_unique<QSocketNotifier>(simulatedPlug_->Fd(), QSocketNotifier::Read);
    connect(simulatedPlugNotifier_.get(), &QSocketNotifier::activated, this,
            [this] { simulatedPlug_->ReadEvents(); });
  }
  return true;
}

void QtMainWindow::SetFonts(const LanguageFonts& fonts) {
  const QFont normal = QFontOf(fonts.normal);
  text_.SetFonts(normal, QFontOf(fonts.title));
  controls_->SetFont(normal);
  setFont(normal);
}

void QtMainWindow::ShowWindow() {
  show();
  update();
  if (std::exchange(activateWhenShown_, false)) {
    // Just shown, so already on top as a new window; the focus as far as the system allows.
    raise();
    activateWindow();
  }
}

void QtMainWindow::HideWindow() {
  hide();
  // A program waiting in the tray keeps no picture of its window: the controller lets go of the
  // decoded skin images as it hides the window, and the heap gives back to the system the pages
  // they leave free, once the controller is done.
  surface_.Release();
  // Nor Qt's copy of it, the backing store (2 MB of shared memory with the X server): Qt gives it
  // the window's size again before the first paint of the next show.
  if (QBackingStore* store = backingStore()) {
    store->resize(QSize(1, 1));
  }
  QTimer::singleShot(0, this, [] { malloc_trim(0); });
}

void QtMainWindow::BringToForeground() {
  if (!isVisible()) {
    // A hidden window has no surface on Wayland to raise or activate: that waits for the show.
    activateWhenShown_ = true;
    return;
  }
  if (QGuiApplication::platformName() == QLatin1String("wayland") &&
      QGuiApplication::applicationState() != Qt::ApplicationActive &&
      qEnvironmentVariableIsEmpty("XDG_ACTIVATION_TOKEN")) {
    // The user is in another program. A Wayland compositor hands the focus over only for the
    // token of the user's click, which a notification area may pass on (Qt keeps it in
    // XDG_ACTIVATION_TOKEN and activates with it). Without one the window would stay where it
    // is, perhaps behind others: shown anew, it comes up on top as any new window does.
    hide();
    show();
  }
  raise();
  activateWindow();
}

void QtMainWindow::SetBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

// --- The system
// ------------------------------------------------------------------------------------

void QtMainWindow::ShowMessage(std::string_view text, std::string_view caption) {
  // Owned by the window even while it is hidden, as on Windows: a window shown from the tray
  // meanwhile waits for the box instead of acting in the middle of what raised it.
  QMessageBox box(QMessageBox::NoIcon, QStringOf(caption), QStringOf(text), QMessageBox::Ok, this);
  ExecOverOwner(box);
}

DialogResult QtMainWindow::RunDialog(DialogController& dialog) {
  setEnabled(false);
  const DialogResult result = RunQtDialog(this, dialog);
  setEnabled(true);
  return result;
}

void QtMainWindow::OpenAddress(std::string_view address) {
  QDesktopServices::openUrl(QUrl::fromUserInput(QStringOf(address)));
}

void QtMainWindow::EndProcess(int exitCode) {
  hide();
  tray_.reset();
  statusServer_.Close();  // the single-instance socket goes with it
  if (QApplication::activeModalWidget() != nullptr) {
    // A message box, a dialog or the colour chooser runs its own loop: ending the loops would
    // return into the code that opened it, which would go on with the mouse closed. End here.
    std::fflush(nullptr);
    std::_Exit(exitCode);
  }
  QTimer::singleShot(0, qApp, [exitCode] { QCoreApplication::exit(exitCode); });
}

}  // namespace q8::linux_shell
