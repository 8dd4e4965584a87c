#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace q8::profile_values {

// The values of the readable profile layout (profile_format2.h): each field's byte by the name the
// tool's window gives it, in English, or in a raw form where it has none.

inline constexpr std::array<std::string_view, 2> kModeNames{"Mode A", "Mode B"};

// The lists a field's values are named from.
enum class Names {
  kNumber,  // none: the value is a number as it stands (a time, a count)
  kReportRate,
  kLevel,  // a DPI level of the sensor
  kOnOff,
  kLightingMode,
  kBrightness,
  kRespirationSpeed,
  kNeonSpeed,
  kEffect,
  kKeyConfig,
  kSnipeCode,  // the code the mouse is sent for a DPI level
  kFunction,
  kMultimedia,
  kLaunch,
  kHotKey,
  kKey,  // a key's usage
  kFireKey,
  kDpiSwitch,
};

// How a value without a name is written: "code N", "level N" (N counted from 1), or "N".
enum class Raw { kCode, kLevel, kNumber };

struct ValueNames {
  std::vector<std::pair<std::uint8_t, std::string>> names;
  Raw raw = Raw::kCode;
};

// The names of a kind of field; the DPI levels are the sensor's (none when it is not known).
ValueNames NamesOf(Names kind, std::optional<std::uint8_t> sensor);
// The value's name, or its raw form.
std::string Written(std::uint8_t value, const ValueNames& names);
// The value `text` names, regardless of letter case and of blanks around it: one of the names, or
// the raw form.
std::optional<std::uint8_t> Parsed(std::string_view text, const ValueNames& names);

// At most three decimal digits and nothing else.
std::optional<unsigned> Decimal(std::string_view text);
// "#RRGGBB"
std::string Colour(std::span<const std::uint8_t, 3> rgb);
std::optional<std::array<std::uint8_t, 3>> ParsedColour(std::string_view text);
// "0a 1f", bytes in hexadecimal separated by blanks.
std::string Hex(std::span<const std::uint8_t> bytes);
std::optional<std::vector<std::uint8_t>> ParsedHex(std::string_view text);

}  // namespace q8::profile_values
