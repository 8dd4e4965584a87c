#include "linux/gui/x11_running_programs.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "linux/process_program.h"

namespace q8::linux_shell {
namespace {

// A window may be gone by the time its property is read: the read then fails, nothing more.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};

// The 32-bit items of a window's property; format 32 arrives as longs.
std::vector<unsigned long> CardinalItems(Display* display, Window window, Atom property,
                                         long most) {
  Atom actualType = 0;
  int format = 0;
  unsigned long items = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> values;
  if (XGetWindowProperty(display, window, property, 0, most, False, AnyPropertyType, &actualType,
                         &format, &items, &after, &data) == Success &&
      data != nullptr && format == 32) {
    const auto* longs = reinterpret_cast<const unsigned long*>(data);
    values.assign(longs, longs + items);
  }
  if (data != nullptr) {
    XFree(data);
  }
  return values;
}

}  // namespace

std::vector<std::string> X11RunningPrograms::ProgramsWithWindows() {
  const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
  if (!display) {
    return {};
  }
  XSetErrorHandler(IgnoreXError);
  const Atom clientList = XInternAtom(display.get(), "_NET_CLIENT_LIST", False);
  const Atom pidAtom = XInternAtom(display.get(), "_NET_WM_PID", False);
  std::vector<std::string> programs;
  constexpr long kMostWindows = 4096;
  for (const unsigned long window :
       CardinalItems(display.get(), DefaultRootWindow(display.get()), clientList, kMostWindows)) {
    const auto pid = CardinalItems(display.get(), window, pidAtom, 1);
    if (pid.size() != 1 || static_cast<pid_t>(pid[0]) == getpid()) {
      continue;
    }
    if (auto program = ProgramOfProcess(static_cast<pid_t>(pid[0]))) {
      programs.push_back(std::move(program->name));
    }
  }
  std::sort(programs.begin(), programs.end());
  programs.erase(std::unique(programs.begin(), programs.end()), programs.end());
  return programs;
}

}  // namespace q8::linux_shell
