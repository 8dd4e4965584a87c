#include "settings/file_bytes.h"

#include <array>
#include <fstream>

namespace q8 {

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::uintmax_t maxBytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes;
  std::array<char, 4096> chunk;
  // istream::read turns a failing read of the file into badbit instead of an exception.
  while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
    const auto count = static_cast<std::size_t>(in.gcount());
    if (bytes.size() + count > maxBytes) {
      return std::nullopt;
    }
    bytes.insert(bytes.end(), reinterpret_cast<const std::uint8_t*>(chunk.data()),
                 reinterpret_cast<const std::uint8_t*>(chunk.data()) + count);
  }
  if (in.bad()) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace q8
