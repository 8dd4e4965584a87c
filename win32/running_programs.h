#pragma once

#include <string>
#include <vector>

#include "dialogs/profiles_port.h"

namespace q8::win32 {

// The programs with a window the user can bring to the front: the processes of the visible
// top-level windows that no other window owns, except tool windows, the shell's own (the taskbar,
// the notification area's overflow) and this program. Under Wine these are the Windows programs
// of the Wine session.
class Win32RunningPrograms final : public RunningProgramsPort {
 public:
  std::vector<std::string> ProgramsWithWindows() override;
};

}  // namespace q8::win32
