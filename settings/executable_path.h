#pragma once

#include <filesystem>
#include <optional>

namespace q8 {

// The full path of the running executable, whatever its length; nothing when the system cannot
// tell. The data files (config.bin, str.ini) and the skins live beside it.
// Implemented once per operating system (executable_path_win.cpp, executable_path_posix.cpp).
std::optional<std::filesystem::path> ExecutablePath();

}  // namespace q8
