#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace q8 {

// What names one file on its volume: kept when the file is renamed, not by a copy of it or by a
// file that replaces it. The device and inode numbers on POSIX systems, the volume serial number
// and file index on Windows; with the time of the last write, since a number a deleted file freed
// is given to the next new file.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  std::int64_t modified = 0;  // in the system's own units
  bool operator==(const FileIdentity&) const = default;
};

// Nothing when the file cannot be reached. Implemented once per operating system
// (file_identity_posix.cpp, file_identity_win.cpp).
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

}  // namespace q8
