#include "linux/gui/notification_area.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <memory>
#include <string>

// After Qt: Xlib defines names (None, Bool) that Qt's headers use.
#include <X11/Xlib.h>

namespace q8::linux_shell {
namespace {

bool StatusNotifierHostThere() {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
  if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcher)) {
    return false;
  }
  // The watcher runs before the panel that shows the items registers as their host.
  QDBusInterface properties(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
  return properties.property("IsStatusNotifierHostRegistered").toBool();
}

bool XEmbedTrayThere() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) {
    return false;  // Qt's Wayland windows dock only through the bus
  }
  const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
  if (!display) {
    return false;
  }
  const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display.get()));
  const Atom atom = XInternAtom(display.get(), selection.c_str(), False);
  return XGetSelectionOwner(display.get(), atom) != None;
}

}  // namespace

bool NotificationAreaThere() {
  return StatusNotifierHostThere() || XEmbedTrayThere();
}

bool WaitForNotificationArea(std::chrono::milliseconds limit) {
  constexpr std::chrono::milliseconds kCheckEvery{250};
  QEventLoop loop;
  QTimer check;
  bool there = NotificationAreaThere();
  std::chrono::milliseconds waited{0};
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    waited += kCheckEvery;
    there = NotificationAreaThere();
    if (there || waited >= limit) {
      loop.quit();
    }
  });
  if (!there) {
    check.start(kCheckEvery);
    loop.exec();
  }
  return there;
}

}  // namespace q8::linux_shell
