#include "linux/gui/qt_main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLocalSocket>
#include <QMessageBox>
#include <QPainter>
#include <QUrl>
#include <QWindow>
#include <cstring>

#include "linux/gui/qt_dialog_window.h"
#include "linux/status_socket.h"
#include "ui/canvas.h"

namespace q8::linux_shell {

QtMainWindow::QtMainWindow(MouseConnection& mouse, const AppState& state, QIcon icon)
    : mouse_(mouse),
      state_(state),
      icon_(std::move(icon)),
      hasTray_(QSystemTrayIcon::isSystemTrayAvailable()) {
  controls_ = std::make_unique<QtControls>(
      *this, QtControls::Callbacks{
                 [this](ControlId id) { return controller_->ControlColor(id); },
                 [this](ControlId id, ListEvent e) { controller_->OnListNotification(id, e); },
                 {}});
  setMouseTracking(true);
  setWindowTitle(QStringLiteral("Tarnix Q8"));
  setWindowIcon(icon_);
  hoverTimer_.setSingleShot(true);
  connect(&hoverTimer_, &QTimer::timeout, this, [this] {
    if (hoverArmed_ && rect().contains(mapFromGlobal(QCursor::pos()))) {
      hoverArmed_ = false;
      controller_->OnMouseHover(CursorInWindow());
    }
  });
  // Every pointer move over the window or one of its lists, before the control handles it.
  qApp->installEventFilter(this);
}

QtMainWindow::~QtMainWindow() {
  qApp->removeEventFilter(this);
}

void QtMainWindow::Bind(CKeldraDlg& controller) {
  controller_ = &controller;
}

Point QtMainWindow::CursorInWindow() const {
  const QPoint p = mapFromGlobal(QCursor::pos());
  return {p.x(), p.y()};
}

// --- Drawing
// ---------------------------------------------------------------------------------------

void QtMainWindow::CopyToWindow(const Canvas& source, Rect area) {
  const QImage canvas(reinterpret_cast<const uchar*>(source.Pixels().data()), source.Width(),
                      source.Height(), source.Width() * 4, QImage::Format_RGB32);
  {
    QPainter painter(&screen_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(area.left, area.top), canvas,
                      QRect(0, 0, area.Width(), area.Height()));
  }
  update(area.left, area.top, area.Width(), area.Height());
}

void QtMainWindow::ResizeClient(int width, int height) {
  setFixedSize(width, height);
  screen_ = QImage(width, height, QImage::Format_RGB32);
  screen_.fill(Qt::black);
}

void QtMainWindow::showEvent(QShowEvent* event) {
  // What Windows does on erasing the background: the canvas, copied whole. Later changes reach
  // the picture through CopyToWindow, so painting only shows it.
  controller_->OnEraseBackground();
  QWidget::showEvent(event);
}

void QtMainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, screen_);
}

// --- Pointer and keys
// ------------------------------------------------------------------------------

void QtMainWindow::TrackMouse(bool alsoLeave, unsigned hoverMs) {
  hoverArmed_ = true;
  leaveArmed_ = leaveArmed_ || alsoLeave;
  hoverTimer_.start(static_cast<int>(hoverMs));
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

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove && controller_ != nullptr) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const auto* move = static_cast<QMouseEvent*>(event);
    // One move is offered to each widget it propagates through; act on it once.
    if (widget != nullptr && (widget == this || isAncestorOf(widget)) &&
        move->timestamp() != lastPointerMove_) {
      lastPointerMove_ = move->timestamp();
      controller_->OnPointerMove(CursorInWindow());
    }
  }
  return QWidget::eventFilter(watched, event);
}

// --- Start-up and the window
// ------------------------------------------------------------------------

bool QtMainWindow::ClaimSingleInstance() {
  const QString path = QString::fromStdString(StatusSocketPath().string());
  QLocalSocket probe;
  probe.connectToServer(path);
  if (probe.waitForConnected(500)) {
    return false;  // a running copy answers
  }
  QLocalServer::removeServer(path);  // left behind by a copy that ended without cleaning up
  statusServer_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!statusServer_.listen(path)) {
    // Without the socket the copy still runs; only notifications and the guard are lost.
    return true;
  }
  connect(&statusServer_, &QLocalServer::newConnection, this, [this] { TakeStatusConnection(); });
  return true;
}

void QtMainWindow::TakeStatusConnection() {
  while (QLocalSocket* client = statusServer_.nextPendingConnection()) {
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    connect(client, &QLocalSocket::readyRead, this, [this, client] {
      while (client->canReadLine()) {
        const QByteArray line = client->readLine().trimmed();
        if (const auto status = ParseStatusLine(std::string_view(line.data(), line.size()))) {
          lastStatus_ = status;
          controller_->OnStatusNotify(status->type, status->value);
        }
      }
    });
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
}

void QtMainWindow::BringToForeground() {
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

// --- Tray icon
// -------------------------------------------------------------------------------------

void QtMainWindow::AddTrayIcon(std::string_view tip) {
  if (!hasTray_) {
    return;
  }
  tray_ = std::make_unique<QSystemTrayIcon>(icon_);
  tray_->setToolTip(QStringOf(tip));
  connect(tray_.get(), &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            switch (reason) {
              case QSystemTrayIcon::Trigger:
                controller_->OnTrayCallback(kTrayLeftButtonUp);
                break;
              case QSystemTrayIcon::DoubleClick:
                controller_->OnTrayCallback(kTrayLeftDoubleClick);
                break;
              case QSystemTrayIcon::Context:
                controller_->OnTrayCallback(kTrayRightButtonUp);
                break;
              default:
                break;
            }
          });
  tray_->show();
}

void QtMainWindow::ShowBalloon(const TrayBalloon& balloon) {
  if (tray_) {
    tray_->showMessage(QStringOf(balloon.title), QStringOf(balloon.text),
                       QSystemTrayIcon::Information, static_cast<int>(balloon.timeoutMs));
  }
}

void QtMainWindow::DeleteTrayIcon() {
  tray_.reset();
}

void QtMainWindow::ShowTrayMenu(std::string_view exitText) {
  trayMenu_.clear();
  connect(trayMenu_.addAction(QStringOf(exitText)), &QAction::triggered, this,
          [this] { controller_->OnCommand(kCommandExit); });
  activateWindow();
  trayMenu_.popup(QCursor::pos());
}

void QtMainWindow::ShowTrayMenuWithProfiles(std::string_view exitText,
                                            const ProfileMenu& profiles) {
  trayMenu_.clear();
  QMenu* submenu = trayMenu_.addMenu(QStringOf(profiles.title));
  for (std::size_t i = 0; i < profiles.names.size(); ++i) {
    QAction* item = submenu->addAction(QStringOf(profiles.names[i]));
    item->setCheckable(true);
    item->setChecked(profiles.active == i);
    const int command = kCommandFirstProfile + static_cast<int>(i);
    connect(item, &QAction::triggered, this, [this, command] { controller_->OnCommand(command); });
  }
  connect(trayMenu_.addAction(QStringOf(exitText)), &QAction::triggered, this,
          [this] { controller_->OnCommand(kCommandExit); });
  activateWindow();
  trayMenu_.popup(QCursor::pos());
}

// --- The system
// ------------------------------------------------------------------------------------

void QtMainWindow::ShowMessage(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::NoIcon, QStringOf(caption), QStringOf(text), QMessageBox::Ok,
                  isVisible() ? this : nullptr);
  box.exec();
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
  statusServer_.close();
  QTimer::singleShot(0, qApp, [exitCode] { QCoreApplication::exit(exitCode); });
}

}  // namespace q8::linux_shell
