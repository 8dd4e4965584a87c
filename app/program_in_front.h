#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace q8 {

// A one-shot timer the shell runs in its event loop (a QTimer, SetTimer); when it runs out, the
// shell calls ProgramInFrontTracker::OnTimer.
class TimerPort {
 public:
  virtual ~TimerPort() = default;
  // Starts the timer anew: a timer running already starts over.
  virtual void Start(unsigned milliseconds) = 0;
  virtual void Stop() = 0;
};

// The active window as the window system tells it: X11's _NET_ACTIVE_WINDOW (also Xwayland's) or
// Windows' foreground window.
struct SystemWindow {
  // The executable's file name of the window's process (a Windows program's under Wine); empty
  // when the window names no process or its process is gone.
  std::string program;
  bool windowsProgram = false;
  // The window belongs to this very process.
  bool ownProcess = false;
  // The X window's class (WM_CLASS, either of its two names), which compositors give an Xwayland
  // window as its app_id.
  std::string windowClass;
  std::string windowInstance;
};

// The activated window as a Wayland compositor publishes it (the wlroots or KDE window list).
struct CompositorWindow {
  std::string appId;
  // The program of the window's process where the compositor names the process (KDE Plasma);
  // empty otherwise.
  std::string program;
  bool windowsProgram = false;
  bool ownProcess = false;
};

// What the program in front is taken to be, handed on to the profile switcher.
struct FrontProgram {
  std::string name;  // empty: no program is in front (the bare desktop)
  bool thisProgram = false;
  bool windowsProgram = false;
  friend bool operator==(const FrontProgram&, const FrontProgram&) = default;
};

// Makes one "program in front" of the sources a desktop has: the compositor's window list where it
// publishes one, the X server's active window (on a Wayland desktop, Xwayland's, which knows only
// its own windows) and whether this program's own window has the keyboard focus.
//
// - The compositor's activated window is named by its process where the compositor gives one, by
//   the X window's process when it is an Xwayland window (the X server's active window has the
//   app_id as its class), and by its app_id otherwise.
// - This program's own windows and menus (its process, its app_id, or its focus while the sources
//   say nothing is in front) are never a program in front: the profile of the program before stays.
// - What may be a passing state waits: no window in front (window managers clear the active window
//   for a moment while a window closes or hides), and a window known only by its app_id while the
//   X server may still be about to name it. Either is handed on only when it lasted
//   kSettleMilliseconds; anything else in front meanwhile replaces it.
class ProgramInFrontTracker {
 public:
  static constexpr unsigned kSettleMilliseconds = 500;

  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void OnProgramInFront(const FrontProgram& program) = 0;
  };

  // `ownAppId`: the app_id this program's Wayland windows carry.
  ProgramInFrontTracker(Listener& listener, TimerPort& timer, std::string ownAppId)
      : listener_(listener), timer_(timer), ownAppId_(std::move(ownAppId)) {}
  ProgramInFrontTracker(const ProgramInFrontTracker&) = delete;
  ProgramInFrontTracker& operator=(const ProgramInFrontTracker&) = delete;

  // The desktop's compositor publishes its windows: from now on its view leads.
  void UseCompositor() { compositorPublishes_ = true; }
  // The compositor ended the connection: the X server's view leads again, as without one.
  void OnCompositorGone() {
    compositorPublishes_ = false;
    compositor_.reset();
    Decide();
  }
  // The X server is there too (Xwayland): a window known only by its app_id waits for its word.
  void UseWindowSystem() { windowSystemThere_ = true; }

  // Each source's view, at start-up and at every change; nothing: no window is active.
  void OnSystemWindow(std::optional<SystemWindow> window);
  void OnCompositorWindow(std::optional<CompositorWindow> window);
  // This program's own window took or lost the keyboard focus.
  void OnOwnFocus(bool focused);
  void OnTimer();

 private:
  struct Candidate {
    FrontProgram program;
    bool settled = true;  // false: handed on only when it lasts
  };
  std::optional<Candidate> Current() const;
  Candidate FromSystem(const std::optional<SystemWindow>& window) const;
  Candidate FromCompositor(const std::optional<CompositorWindow>& window) const;
  void Decide();
  void HandOn(const FrontProgram& program);

  Listener& listener_;
  TimerPort& timer_;
  std::string ownAppId_;
  bool compositorPublishes_ = false;
  bool windowSystemThere_ = false;
  // Each source's last word; the outer nothing: not heard yet.
  std::optional<std::optional<SystemWindow>> system_;
  std::optional<std::optional<CompositorWindow>> compositor_;
  bool ownFocus_ = false;
  // What waits for the timer, and what was handed on last.
  std::optional<FrontProgram> waiting_;
  std::optional<FrontProgram> handedOn_;
};

}  // namespace q8
