#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace q8 {

// Hands the running tray program a status notification (type, value), as other programs do:
// WM_USER+2 to the window of class "TarnixQ8Class" on Windows, a line on the program's socket on
// Linux. False with `error` set when no tray program runs.
bool NotifyTrayProgram(std::uintptr_t type, std::intptr_t value, std::string& error);

// The executable path whose folder holds config.bin, str.ini and Skins/ for this user: the
// executable's own on Windows; on Linux the same folder the tray program uses (the build tree's,
// or the user's XDG folder of an installed tool). Nothing, with `error`, when none can be had.
std::optional<std::filesystem::path> ToolExecutable(std::string& error);

}  // namespace q8
