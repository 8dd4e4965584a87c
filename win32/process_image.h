#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace q8::win32 {

// The file name of the process's image ("game.exe"), as the profile rules name programs, or
// nothing when the process may not be asked (a process of another user, or one that has ended).
std::optional<std::string> ImageFileName(DWORD processId);

}  // namespace q8::win32
