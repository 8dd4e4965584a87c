#pragma once

#include <string>
#include <vector>

#include "dialogs/profiles_port.h"

namespace q8::linux_shell {

// The programs with a window on an X11 desktop: the window manager lists the windows it manages
// in the root window's _NET_CLIENT_LIST, and each window names its process in _NET_WM_PID; a Wine
// program is named by its .exe. Only X11 windows are seen (under Wayland, those of Xwayland): a
// Wayland compositor's list is another source (MergedRunningPrograms). This program is left out.
class X11RunningPrograms final : public RunningProgramsPort {
 public:
  std::vector<std::string> ProgramsWithWindows() override;
};

}  // namespace q8::linux_shell
