#include "linux/gui/foreground_sources.h"

#include <QGuiApplication>

namespace q8::linux_shell {

ForegroundSources::ForegroundSources(std::string ownAppId, Handler handler)
    : handler_(std::move(handler)), tracker_(*this, *this, std::move(ownAppId)) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { tracker_.OnTimer(); });
}

ForegroundSources::~ForegroundSources() = default;

void ForegroundSources::Listen() {
  // The compositor's list first, so that the X server's window at start-up is read against it.
  wayland_ = WaylandForegroundWatcher::Open();
  if (wayland_) {
    tracker_.UseCompositor();
    tracker_.OnCompositorWindow(wayland_->WindowInFront());
    waylandEvents_ = std::make_unique<QSocketNotifier>(wayland_->Socket(), QSocketNotifier::Read);
    connect(waylandEvents_.get(), &QSocketNotifier::activated, this, [this] { ReadWayland(); });
  }
  x11_ = X11ForegroundWatcher::Open();
  if (x11_) {
    tracker_.UseWindowSystem();
    x11Events_ = std::make_unique<QSocketNotifier>(x11_->Socket(), QSocketNotifier::Read);
    connect(x11Events_.get(), &QSocketNotifier::activated, this, [this] { ReadX11(); });
    tracker_.OnSystemWindow(x11_->WindowInFront());
    ReadX11();  // what reading the window brought into Xlib's queue
  }
  // Drawn on Wayland, this program's windows are no X windows: with one of them in front,
  // Xwayland has no active window, and only Qt knows that the focus is here. Drawn through X, the
  // X server names this program's windows itself.
  if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
              tracker_.OnOwnFocus(state == Qt::ApplicationActive);
            });
  }
}

void ForegroundSources::ReadX11() {
  while (x11_->TakeChange()) {
    tracker_.OnSystemWindow(x11_->WindowInFront());
  }
}

void ForegroundSources::ReadWayland() {
  if (wayland_->TakeChange()) {
    tracker_.OnCompositorWindow(wayland_->WindowInFront());
  }
  if (wayland_->Broken()) {
    // The compositor ended the connection (it is going away): the X server's view is left.
    waylandEvents_.reset();
    tracker_.OnCompositorGone();
  }
}

}  // namespace q8::linux_shell
