#pragma once

#include <sys/types.h>
#include <optional>
#include <string>

#include "settings/profile_rules.h"

namespace q8::linux_shell {

// The file name of the executable a process runs ("supertuxkart"), as the profile rules name
// programs: the target of /proc/PID/exe, or, where that may not be read (another user's process),
// the process's own name from /proc/PID/comm; for Wine's loader, the Windows program its command
// line names ("game.exe"). Nothing when the process is gone.
std::optional<ProcessProgram> ProgramOfProcess(pid_t pid);

}  // namespace q8::linux_shell
