#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace q8 {

// --- Report rate ---------------------------------------------------------------------------

// One report-rate choice: the rate shown in Hz and `ReportRateCode`, the polling interval in ms.
struct ReportRateChoice {
  std::string_view label;
  std::uint8_t code;
};

// The choices in the order the page shows them, slowest first.
inline constexpr std::array<ReportRateChoice, 4> ReportRateChoices{{
    {"125", 8},
    {"250", 4},
    {"500", 2},
    {"1000", 1},
}};

// The position (0..3) of a stored code among the choices. A code that is none of the slower rates
// counts as 1000 Hz, so every stored value shows as one of the four.
std::size_t ReportRateChoiceIndex(std::uint8_t code);
std::string_view ReportRateLabel(std::uint8_t code);

// --- DPI levels ----------------------------------------------------------------------------

// One DPI level of a sensor: the value shown (decimal, no unit) and the mouse's code for it.
struct DpiLevel {
  std::string_view label;
  std::uint8_t code;
};

inline constexpr std::array<DpiLevel, 12> kSensor0DpiLevels{{
    {"250", 0x01},
    {"500", 0x02},
    {"750", 0x03},
    {"1000", 0x04},
    {"1250", 0x05},
    {"1500", 0x06},
    {"1750", 0x07},
    {"2000", 0x08},
    {"2500", 0x25},
    {"3000", 0x26},
    {"3500", 0x27},
    {"4000", 0x28},
}};
inline constexpr std::array<DpiLevel, 8> kSensor1DpiLevels{{
    {"600", 0x01},
    {"800", 0x02},
    {"1000", 0x03},
    {"1200", 0x04},
    {"1600", 0x05},
    {"2000", 0x23},
    {"2400", 0x24},
    {"3200", 0x25},
}};
inline constexpr std::array<DpiLevel, 8> kSensor2DpiLevels{{
    {"250", 0x02},
    {"500", 0x04},
    {"750", 0x06},
    {"1000", 0x08},
    {"1250", 0x0A},
    {"1500", 0x26},
    {"2000", 0x28},
    {"2500", 0x2A},
}};
inline constexpr std::array<DpiLevel, 8> kSensor3DpiLevels{{
    {"400", 0x01},
    {"800", 0x02},
    {"1200", 0x03},
    {"1600", 0x04},
    {"2000", 0x05},
    {"2400", 0x06},
    {"2800", 0x07},
    {"3200", 0x08},
}};

// The levels of a `SensorVariant`, lowest first; a sensor the tool does not know (4 and above)
// has none.
constexpr std::span<const DpiLevel> DpiLevelTable(std::uint8_t sensorVariant) {
  switch (sensorVariant) {
    case 0:
      return kSensor0DpiLevels;
    case 1:
      return kSensor1DpiLevels;
    case 2:
      return kSensor2DpiLevels;
    case 3:
      return kSensor3DpiLevels;
    default:
      return {};
  }
}

// A level index with no entry in the variant's table (a `DpiStageLevel` at or above the level
// count, from a config.bin written for another sensor, or any level of an unknown sensor) is "no
// level": it shows the empty label and sends code 0, exactly what an unknown sensor gets. The
// user sees an empty box instead of a value the record does not hold, and picking a level
// repairs the stage. Clamping to the top level was rejected: it would show and send a DPI nobody
// chose.
std::string_view DpiLevelLabel(std::uint8_t sensorVariant, std::size_t level);
std::uint8_t DpiLevelCode(std::uint8_t sensorVariant, std::size_t level);

// The top bit of a stage's code in the mouse's memory marks the stage as switched off.
inline constexpr std::uint8_t kDpiStageOffBit = 0x80;

namespace detail {
constexpr unsigned LabelValue(std::string_view label) {
  unsigned value = 0;
  for (const char c : label) {
    if (c < '0' || c > '9') {
      return 0;
    }
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value;
}
// Labels are decimal numbers rising from level to level, and every code is nonzero (0 means no
// level) with the stage-off bit clear.
constexpr bool IsLevelTable(std::span<const DpiLevel> levels) {
  unsigned previous = 0;
  for (const DpiLevel& level : levels) {
    const unsigned value = LabelValue(level.label);
    if (value <= previous || level.code == 0 || (level.code & kDpiStageOffBit) != 0) {
      return false;
    }
    previous = value;
  }
  return true;
}
}  // namespace detail
static_assert(detail::IsLevelTable(kSensor0DpiLevels));
static_assert(detail::IsLevelTable(kSensor1DpiLevels));
static_assert(detail::IsLevelTable(kSensor2DpiLevels));
static_assert(detail::IsLevelTable(kSensor3DpiLevels));

}  // namespace q8
