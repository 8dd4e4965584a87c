#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/program_in_front.h"
#include "linux/gui/wayland_foreground.h"
#include "linux/gui/x11_foreground.h"

namespace q8::linux_shell {

// The program in front on a Linux desktop, for the profile rules: the compositor's window list
// (Wayland), the X server's active window (X11, or Xwayland on a Wayland desktop) and the focus of
// this program's own windows, each read once at start-up and then heard from in Qt's event loop,
// made one by the core's ProgramInFrontTracker. Where neither source is there (GNOME's Wayland
// session without X), nothing is ever in front and the profiles change only by hand.
class ForegroundSources final : public QObject,
                                private TimerPort,
                                private ProgramInFrontTracker::Listener {
 public:
  using Handler = std::function<void(const FrontProgram& program)>;
  // `ownAppId`: the app_id of this program's Wayland windows (its desktop file's name).
  ForegroundSources(std::string ownAppId, Handler handler);
  ~ForegroundSources() override;

  // Opens the sources and hands on the program in front now.
  void Listen();

 private:
  // TimerPort
  void Start(unsigned milliseconds) override { timer_.start(static_cast<int>(milliseconds)); }
  void Stop() override { timer_.stop(); }
  // ProgramInFrontTracker::Listener
  void OnProgramInFront(const FrontProgram& program) override { handler_(program); }
  void ReadX11();
  void ReadWayland();

  Handler handler_;
  QTimer timer_;
  ProgramInFrontTracker tracker_;
  std::unique_ptr<X11ForegroundWatcher> x11_;
  std::unique_ptr<QSocketNotifier> x11Events_;
  std::unique_ptr<WaylandForegroundWatcher> wayland_;
  std::unique_ptr<QSocketNotifier> waylandEvents_;
};

}  // namespace q8::linux_shell
