#include "settings/file_bytes.h"

#include <array>
#include <fstream>

namespace q8 {

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::uintmax_t maxBytes) {
  // Only a file that holds its bytes: opening a named pipe would wait for a writer for ever, and a
  // device would be read to the limit. A file that vanishes in between fails to open below.
  std::error_code error;
  if (const auto type = std::filesystem::status(path, error).type();
      type != std::filesystem::file_type::regular &&
      type != std::filesystem::file_type::not_found) {
    return std::nullopt;
  }
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
