#include "linux/gui/x11_foreground.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include "linux/process_program.h"

namespace q8::linux_shell {
namespace {

// A window may be gone by the time its property is read. Xlib's own handler ends the process on
// such an error; the watcher only needs the failed read, which returns nothing.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

// The first 32-bit item of a window's property, or nothing. The type is not asked for: window
// managers agree on the format, not all on the type.
std::optional<unsigned long> CardinalProperty(Display* display, Window window, Atom property) {
  Atom actualType = 0;
  int format = 0;
  unsigned long items = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, window, property, 0, 1, False, AnyPropertyType,
                                        &actualType, &format, &items, &after, &data);
  std::optional<unsigned long> value;
  if (status == Success && data != nullptr && format == 32 && items == 1) {
    value = *reinterpret_cast<unsigned long*>(data);  // format 32 arrives as longs
  }
  if (data != nullptr) {
    XFree(data);
  }
  return value;
}

}  // namespace

std::unique_ptr<X11ForegroundWatcher> X11ForegroundWatcher::Open() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    return nullptr;
  }
  return std::unique_ptr<X11ForegroundWatcher>(new X11ForegroundWatcher(display));
}

X11ForegroundWatcher::X11ForegroundWatcher(Display* display) : display_(display) {
  XSetErrorHandler(IgnoreXError);
  activeWindowAtom_ = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
  pidAtom_ = XInternAtom(display_, "_NET_WM_PID", False);
  XSelectInput(display_, DefaultRootWindow(display_), PropertyChangeMask);
  XFlush(display_);
}

X11ForegroundWatcher::~X11ForegroundWatcher() {
  XCloseDisplay(display_);
}

int X11ForegroundWatcher::Socket() const {
  return ConnectionNumber(display_);
}

bool X11ForegroundWatcher::TakeChange() {
  bool activeChanged = false;
  // Reading a property may bring further events into Xlib's queue, where the socket no longer
  // shows them: the queue is emptied until it stays empty.
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    activeChanged |= event.type == PropertyNotify && event.xproperty.atom == activeWindowAtom_;
  }
  return activeChanged;
}

std::optional<SystemWindow> X11ForegroundWatcher::WindowInFront() {
  const auto window = CardinalProperty(display_, DefaultRootWindow(display_), activeWindowAtom_);
  if (!window || *window == 0) {
    return std::nullopt;
  }
  SystemWindow front;
  XClassHint hint{};
  if (XGetClassHint(display_, *window, &hint) != 0) {
    front.windowInstance = hint.res_name != nullptr ? hint.res_name : "";
    front.windowClass = hint.res_class != nullptr ? hint.res_class : "";
    XFree(hint.res_name);
    XFree(hint.res_class);
  }
  // A window that names no process, or whose process is gone, names no program.
  if (const auto pid = CardinalProperty(display_, *window, pidAtom_)) {
    const auto process = static_cast<pid_t>(*pid);
    front.ownProcess = process == getpid();
    if (auto program = ProgramOfProcess(process)) {
      front.program = std::move(program->name);
      front.windowsProgram = program->windowsProgram;
    }
  }
  return front;
}

}  // namespace q8::linux_shell
