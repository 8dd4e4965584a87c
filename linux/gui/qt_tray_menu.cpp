// The main window's tray icon and its menu.
#include <QDBusConnection>
#include <QDBusInterface>
#include <QGuiApplication>
#include <QTimer>
#include <utility>

#include "linux/gui/qt_main_window.h"

namespace q8::linux_shell {
namespace {

// Whether Qt shows the tray icon as a StatusNotifierItem: a watcher on the session bus with a host
// (a notification area) registered, the test Qt makes itself. Qt then exports the icon's context
// menu over com.canonical.dbusmenu and the host draws it; an XEmbed tray leaves the menu to us.
bool NotificationAreaDrawsMenus() {
  const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
  const QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    return false;
  }
  const QDBusInterface host(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
  return host.isValid() && host.property("IsStatusNotifierHostRegistered").toBool();
}

}  // namespace

void QtMainWindow::SetUpTrayMenu() {
  // The menu's entries: the Profiles submenu, shown while there are profiles, Start at log-in
  // where it is offered, and Exit.
  trayMenu_.addMenu(&profilesMenu_);
  profilesMenu_.menuAction()->setVisible(false);
  // Start at log-in joins the menu only where it is offered.
  startAtLogInAction_ = new QAction(&trayMenu_);
  startAtLogInAction_->setCheckable(true);
  connect(startAtLogInAction_, &QAction::triggered, this,
          [this] { controller_->OnCommand(kCommandStartAtLogIn); });
  exitAction_ = trayMenu_.addAction(QString());
  connect(exitAction_, &QAction::triggered, this, [this] { controller_->OnCommand(kCommandExit); });
  // A host that draws the menu asks for it before it opens it: the entries are made anew then.
  connect(&trayMenu_, &QMenu::aboutToShow, this, [this] {
    if (hostDrawsTrayMenu_) {
      RefreshExportedTrayMenu();
    }
  });
}

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
  if (NotificationAreaDrawsMenus()) {
    // Exported with the icon, so the host draws it at the icon; the first entries once the
    // controller's start-up is over, for a host that does not announce the menu's opening.
    hostDrawsTrayMenu_ = true;
    statusNotifierTray_ = true;
    tray_->setContextMenu(&trayMenu_);
    QTimer::singleShot(0, this, [this] { RefreshExportedTrayMenu(); });
  }
  tray_->show();
}

void QtMainWindow::SetTrayTip(std::string_view tip) {
  if (tray_) {
    tray_->setToolTip(QStringOf(tip));
  }
}

void QtMainWindow::DeleteTrayIcon() {
  tray_.reset();
}

void QtMainWindow::ShowTrayMenu(std::string_view exitText) {
  OpenTrayMenu(TrayMenu{exitText, std::nullopt, std::nullopt});
}

void QtMainWindow::ShowTrayMenuWithProfiles(std::string_view exitText,
                                            const ProfileMenu& profiles) {
  OpenTrayMenu(TrayMenu{exitText, profiles, std::nullopt});
}

void QtMainWindow::OpenTrayMenu(const TrayMenu& menu) {
  FillTrayMenu(menu);
  PopUpTrayMenu();
}

void QtMainWindow::FillTrayMenu(const TrayMenu& menu) {
  // clear() deletes the entries the submenu made: a refill leaves nothing behind.
  profilesMenu_.clear();
  profilesMenu_.menuAction()->setVisible(menu.profiles.has_value());
  if (const auto& profiles = menu.profiles) {
    profilesMenu_.setTitle(QStringOf(profiles->title));
    for (std::size_t i = 0; i < profiles->names.size(); ++i) {
      QAction* item = profilesMenu_.addAction(QStringOf(profiles->names[i]));
      item->setCheckable(true);
      item->setChecked(profiles->active == i);
      const int command = kCommandFirstProfile + static_cast<int>(i);
      connect(item, &QAction::triggered, this,
              [this, command] { controller_->OnCommand(command); });
    }
    if (!profiles->manageText.empty()) {
      if (!profiles->names.empty()) {
        profilesMenu_.addSeparator();
      }
      QAction* manage = profilesMenu_.addAction(QStringOf(profiles->manageText));
      connect(manage, &QAction::triggered, this,
              [this] { controller_->OnCommand(kCommandManageProfiles); });
    }
  }
  const bool offered = trayMenu_.actions().contains(startAtLogInAction_);
  if (menu.startAtLogIn) {
    startAtLogInAction_->setText(QStringOf(menu.startAtLogIn->text));
    startAtLogInAction_->setChecked(menu.startAtLogIn->checked);
    if (!offered) {
      trayMenu_.insertAction(exitAction_, startAtLogInAction_);
    }
  } else if (offered) {
    trayMenu_.removeAction(startAtLogInAction_);
  }
  exitAction_->setText(QStringOf(menu.exitText));
}

void QtMainWindow::PopUpTrayMenu() {
  if (fillingTrayMenuOnly_) {
    return;
  }
  activateWindow();
  // Opening it announces it too (aboutToShow): its entries are fresh already.
  const bool drawnByHost = std::exchange(hostDrawsTrayMenu_, false);
  if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
    // A Wayland program may open a menu only over a window of its own, where that window was
    // clicked; asked by the notification area (swaybar) it has none, and the menu becomes a window
    // of its own, which a tiling compositor would stretch over half the screen. A window of a
    // fixed size floats there instead, where the compositor puts it.
    trayMenu_.ensurePolished();
    trayMenu_.setFixedSize(trayMenu_.sizeHint());
  }
  trayMenu_.popup(QCursor::pos());
  hostDrawsTrayMenu_ = drawnByHost;
}

void QtMainWindow::RefreshExportedTrayMenu() {
  if (controller_ == nullptr) {
    return;
  }
  fillingTrayMenuOnly_ = true;
  controller_->OnTrayCallback(kTrayRightButtonUp);
  fillingTrayMenuOnly_ = false;
}

}  // namespace q8::linux_shell
