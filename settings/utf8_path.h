#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace q8 {

// Paths as the tool's texts hold them: UTF-8 on every platform (str.ini's skin names, messages,
// q8ctl's arguments), whatever the system's own path encoding.
inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace q8
