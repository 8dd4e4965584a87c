#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>

#include "ui/dialog_host.h"

namespace q8::win32 {

// The system's Open or Save As dialog over `owner`, offering files of `choice`'s kind; the file
// picked, or nothing when the user cancels. Save As asks before it replaces a file.
std::optional<std::filesystem::path> RunFileDialog(HWND owner, const FileChoice& choice);

}  // namespace q8::win32
