#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

namespace q8 {

// Replaces the whole content of `path` with `bytes` so that the file holds either its old or its
// new content at every moment, whatever fails in between: the bytes go to a temporary file beside
// the file, are flushed to the disk, and the temporary file then takes the file's place, with the
// file's owner, group and permissions. The temporary file is removed again when any step fails.
//
// The file is the one the user means:
// - a symbolic link is followed: the link stays and the file it names gets the new content;
// - a file the user may not write is refused, although its folder would let a new file take its
//   place;
// - where no replacement can be made although the file itself may be written (no new file may be
//   created in its folder, the new file could not keep the owner, or another program holds the
//   file open and refuses the move), the file is written in place instead, as the system's own
//   file functions do it: truncated, written and flushed to the disk.
//
// Returns the system's error code of the step that failed (GetLastError on Windows, errno
// elsewhere), or no error. Implemented once per operating system (durable_file_win.cpp,
// durable_file_posix.cpp).
[[nodiscard]] std::error_code ReplaceFileContents(const std::filesystem::path& path,
                                                  std::span<const std::uint8_t> bytes);

// Whether the user may write `path`, as ReplaceFileContents asks before it changes anything (a
// file that does not exist yet is fine): for work that must not begin unless the file can be
// saved after it. The system's error code of the refusal, or no error.
[[nodiscard]] std::error_code CheckWritable(const std::filesystem::path& path);

}  // namespace q8
