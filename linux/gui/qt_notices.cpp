// The main window's notices: the balloons of the tray, through the desktop's notification service
// where there is one.
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>
#include <algorithm>
#include <iostream>
#include <utility>

#include "linux/gui/qt_main_window.h"

namespace q8::linux_shell {
namespace {

// How long a desktop notice stays at least: the time-out of the other notices (see
// ShowDesktopNotice).
constexpr unsigned kShortestNoticeMs = 5000;
// How long the notification service may take to answer.
constexpr int kNoticeCallTimeoutMs = 5000;
// How long the notice stays that this copy runs without its status socket.
constexpr unsigned kUnguardedNoticeMs = 10000;

}  // namespace

// A StatusNotifierItem's own notices (QSystemTrayIcon::showMessage) turn the icon into the
// notice's generic icon while they show: there the notices go to the notification service, with
// the program's icon, and the tray icon stays as it is.
void QtMainWindow::WarnUnguarded(const std::string& why) {
  std::cerr << "tarnix-q8: " << why << '\n';
  QTimer::singleShot(0, this, [this, why] { ShowBalloon({why, "Warning", kUnguardedNoticeMs}); });
}

void QtMainWindow::ShowBalloon(const TrayBalloon& balloon) {
  NoticeAnswer answer = std::exchange(noticeAnswer_, {});
  if (!answer) {
    // The program's own notices (the mouse found or lost): a failure can only be told here.
    answer = [](const QString& error) {
      if (!error.isEmpty()) {
        std::cerr << "tarnix-q8: " << error.toStdString() << '\n';
      }
    };
  }
  if (tray_ && !statusNotifierTray_) {
    // An XEmbed tray: Qt draws the balloon at the icon.
    tray_->showMessage(QStringOf(balloon.title), QStringOf(balloon.text),
                       QSystemTrayIcon::Information, static_cast<int>(balloon.timeoutMs));
    answer({});
    return;
  }
  ShowDesktopNotice(balloon, std::move(answer));
}

void QtMainWindow::ShowDesktopNotice(const TrayBalloon& balloon, NoticeAnswer answer) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    answer(QStringLiteral("the notice cannot be shown: there is no notification area and no "
                          "session bus (") +
           bus.lastError().message() + QStringLiteral(")"));
    return;
  }
  QDBusMessage notify = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  QVariantMap hints;
  hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("tarnix-q8"));
  // Windows keeps a balloon ten seconds at least, however short the time-out it is given; a
  // notification server honours the time-out, and a notice gone after a tenth of a second would
  // go unread. The short ones ("mouse found", "not found") stay as long as the others.
  const int timeout = static_cast<int>(std::max<unsigned>(balloon.timeoutMs, kShortestNoticeMs));
  notify << QStringLiteral("Tarnix Q8") << noticeId_
         << (noticeIcon_.isEmpty() ? QStringLiteral("input-mouse") : noticeIcon_)
         << QStringOf(balloon.title) << QStringOf(balloon.text) << QStringList() << hints
         << timeout;
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(notify, kNoticeCallTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, watcher, answer = std::move(answer)] {
            const QDBusPendingReply<uint> reply = *watcher;
            watcher->deleteLater();
            if (reply.isError()) {
              answer(QStringLiteral("the notice cannot be shown: there is no notification area, "
                                    "and the desktop's notification service did not take it (") +
                     reply.error().message() + QStringLiteral(")"));
              return;
            }
            noticeId_ = reply.value();
            answer({});
          });
}

}  // namespace q8::linux_shell
