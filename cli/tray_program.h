#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace q8 {

enum class TrayNotice { kTold, kNotRunning, kNotTold };
// Hands the running tray program a status notification (type, value), as other programs do:
// WM_USER+2 to the window of class "TarnixQ8Class" on Windows, a line on the program's socket on
// Linux. `error` says why when it was not told.
TrayNotice NotifyTrayProgram(std::uintptr_t type, std::intptr_t value, std::string& error);

// Tells a running tray program of what this command changed; one that runs but was not told (it did
// not answer, or refused) is said on `err` as a warning, since it goes on believing the old state.
void TellTrayProgram(std::uintptr_t type, std::intptr_t value, std::ostream& err);

// The executable path whose folder holds config.bin, str.ini and Skins/ for this user: the
// executable's own on Windows; on Linux the same folder the tray program uses (the build tree's,
// or the user's XDG folder of an installed tool). Nothing, with `error`, when none can be had.
std::optional<std::filesystem::path> ToolExecutable(std::string& error);

}  // namespace q8
