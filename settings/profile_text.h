#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/ini_file.h"

namespace q8 {

// What both layouts of a profile file share: the [Profile] section that names the layout and the
// caption section, and the way a line is read and a problem worded.
namespace profile_text {

inline constexpr std::string_view kProfileSection = "Profile";
inline constexpr std::string_view kFormatKey = "Format";
inline constexpr std::string_view kCaptionsKey = "Captions";

// A value no line can hold (a value is one line): the mark of a missing key.
inline constexpr std::string_view kMissing = "\n";

// "[Mode A] KeyFunction"
inline std::string Where(std::string_view section, std::string_view key) {
  return "[" + std::string(section) + "] " + std::string(key);
}

// The value of a line every file of the layout has, or the problem "it is damaged: [S] K is
// missing" in `problem`.
inline std::optional<std::string> RequiredLine(const IniDocument& document,
                                               std::string_view section, std::string_view key,
                                               std::string& problem) {
  std::string value = document.Get(section, key, kMissing);
  if (value == kMissing) {
    problem = "it is damaged: " + Where(section, key) + " is missing";
    return std::nullopt;
  }
  return value;
}

// "[Mode B] KeyFunction holds 14, which is out of its range"
inline std::string OutOfRangeText(std::string_view field, std::string_view value) {
  return std::string(field) + " holds " + std::string(value) + ", which is out of its range";
}

// The head of a file written by the tool: UTF-8 with its byte-order mark, which the INI reader
// keeps as UTF-8 on every system.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace profile_text
}  // namespace q8
