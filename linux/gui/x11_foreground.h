#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/program_in_front.h"

struct _XDisplay;

namespace q8::linux_shell {

// Tells which program has the foreground on an X11 desktop: the window manager names the active
// window in the root window's _NET_ACTIVE_WINDOW property, and the window names its process in
// _NET_WM_PID (and its class in WM_CLASS, which a Wayland compositor gives an Xwayland window as
// its app_id). The watcher has a connection of its own to the display and hears of each change of
// the property as an event on that connection's socket, so it costs nothing while nothing changes.
// On a Wayland desktop it watches Xwayland, which knows only the windows of X programs.
class X11ForegroundWatcher {
 public:
  // Nothing when no X display can be opened.
  static std::unique_ptr<X11ForegroundWatcher> Open();
  ~X11ForegroundWatcher();
  X11ForegroundWatcher(const X11ForegroundWatcher&) = delete;
  X11ForegroundWatcher& operator=(const X11ForegroundWatcher&) = delete;

  // The socket to watch for reading.
  int Socket() const;
  // Reads every event that arrived. True when the active window changed.
  bool TakeChange();
  // The active window; nothing when none is.
  std::optional<SystemWindow> WindowInFront();

 private:
  explicit X11ForegroundWatcher(_XDisplay* display);

  _XDisplay* display_;
  unsigned long activeWindowAtom_ = 0;
  unsigned long pidAtom_ = 0;
};

}  // namespace q8::linux_shell
