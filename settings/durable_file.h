#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

namespace q8 {

// Replaces the whole content of `path` with `bytes` so that the file holds either its old or its
// new content at every moment, whatever fails in between: the bytes go to a temporary file in the
// same folder, are flushed to the disk, and the temporary file then takes the place of `path`.
// The temporary file is removed again when any step fails. Returns the system's error code of the
// step that failed (GetLastError on Windows, errno elsewhere), or no error.
//
// Implemented once per operating system (durable_file_win.cpp, durable_file_posix.cpp).
[[nodiscard]] std::error_code ReplaceFileContents(const std::filesystem::path& path,
                                                  std::span<const std::uint8_t> bytes);

}  // namespace q8
