#pragma once

#include <memory>
#include <optional>
#include <string>

struct _XDisplay;

namespace q8::linux_shell {

// The program that came to the front (an empty name: none), and whether it is this very process.
struct ForegroundProgram {
  std::string name;
  bool thisProcess = false;
  bool windowsProgram = false;  // run by Wine: named regardless of letter case
};

// Tells which program has the foreground on an X11 desktop: the window manager names the active
// window in the root window's _NET_ACTIVE_WINDOW property, and the window names its process in
// _NET_WM_PID. The watcher has a connection of its own to the display and hears of each change of
// the property as an event on that connection's socket, so it costs nothing while nothing changes.
// A Wayland session without X tells no program of another's windows: there is no watcher.
class X11ForegroundWatcher {
 public:
  // Nothing when no X display can be opened.
  static std::unique_ptr<X11ForegroundWatcher> Open();
  ~X11ForegroundWatcher();
  X11ForegroundWatcher(const X11ForegroundWatcher&) = delete;
  X11ForegroundWatcher& operator=(const X11ForegroundWatcher&) = delete;

  // The socket to watch for reading.
  int Socket() const;
  // Reads every event that arrived. The program now in front when the active window changed;
  // nothing otherwise.
  std::optional<ForegroundProgram> TakeChange();

 private:
  explicit X11ForegroundWatcher(_XDisplay* display);
  std::optional<ForegroundProgram> ProgramInFront();

  _XDisplay* display_;
  unsigned long activeWindowAtom_ = 0;
  unsigned long pidAtom_ = 0;
};

}  // namespace q8::linux_shell
