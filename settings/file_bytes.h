#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <vector>

namespace q8 {

// The whole content of a file, or nothing when it cannot be opened or read (a folder, a named
// pipe or a device, a read error midway, a device file that vanished) or holds more than
// `maxBytes`. It reads until the end rather than trusting the size the system reports, so it also
// reads files whose size is not known in advance (sysfs attributes), and it never throws.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(
    const std::filesystem::path& path,
    std::uintmax_t maxBytes = std::numeric_limits<std::uintmax_t>::max());

}  // namespace q8
