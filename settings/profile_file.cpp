#include "settings/profile_file.h"

#include <algorithm>
#include <array>

namespace q8 {
namespace {

// The values a field may hold in a profile: what the tool's pages and dialogs can set, and 0 where
// a field the user never set holds it (a record of before any edit). Fields of any byte value
// (colours, HID usages, the reserved bytes) and the display-only effects are not listed.
struct FieldRange {
  std::size_t offset;
  std::size_t width;  // bytes of the field; both key configurations for a button field
  std::uint8_t low;
  std::uint8_t high;
  bool zeroAllowed;
};
constexpr std::size_t kBothConfigurations = 2 * kButtonCount;
constexpr std::array<FieldRange, 17> kFieldRanges{{
    {field::DpiStageLevel.offset, kDpiStageCount, 0, 11, false},
    {field::DpiStageEnabled.offset, kDpiStageCount, 0, 1, false},
    {field::LightingMode.offset, 1, 0, 3, false},
    {field::LightingBrightness.offset, 1, 0, 9, false},
    {field::LightingSpeed.offset, 1, 0, 4, false},
    {field::NeonSpeed.offset, 1, 0, 29, false},
    {field::LightingEffect.offset, 1, 1, 2, true},
    {field::ActiveKeyConfig.offset, 1, 0, 1, false},
    {field::FireMakeTime.offset, 1, 5, 255, true},
    {field::FireBreakTime.offset, 1, 5, 255, true},
    {field::SnipeDpiCode.offset, 1, 0, 0x7F, false},
    {field::KeyFunction.offset, kBothConfigurations, 0, 13, false},
    {field::MediaKeyIndex.offset, kBothConfigurations, 0, 6, false},
    {field::LaunchKeyIndex.offset, kBothConfigurations, 0, 8, false},
    {field::HotKeyIndex.offset, kBothConfigurations, 0, 7, false},
    {field::FireKeyIndex.offset, kBothConfigurations, 0, 58, false},
    {field::FireTimes.offset, kBothConfigurations, 0, 127, false},
}};

bool InRange(const FieldRange& range, std::uint8_t value) {
  return (value == 0 && range.zeroAllowed) || (value >= range.low && value <= range.high);
}

char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsReservedDeviceName(std::string_view name) {
  // Windows reserves these names with any extension: "nul.txt" is the device too.
  std::string base(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') {
    base.pop_back();
  }
  std::transform(base.begin(), base.end(), base.begin(), AsciiUpper);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") {
    return true;
  }
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

std::optional<ValueOutOfRange> FirstValueOutOfRange(const DeviceConfig& config) {
  const auto record = config.Bytes();
  for (const FieldRange& range : kFieldRanges) {
    for (std::size_t offset = range.offset; offset < range.offset + range.width; ++offset) {
      if (!InRange(range, record[offset])) {
        return ValueOutOfRange{offset, record[offset]};
      }
    }
  }
  // An interval in milliseconds; 0 and 3 are shown as 1000 Hz.
  const std::uint8_t rate = record[field::ReportRateCode.offset];
  if (rate > 4 && rate != 8) {
    return ValueOutOfRange{field::ReportRateCode.offset, rate};
  }
  // 3 DPI +, 4 DPI -, 5 DPI Loop; 0 where no button was ever made a DPI switch.
  for (std::size_t i = 0; i < kBothConfigurations; ++i) {
    const std::uint8_t value = record[field::DpiSwitchCode.offset + i];
    if (value != 0 && (value < 3 || value > 5)) {
      return ValueOutOfRange{field::DpiSwitchCode.offset + i, value};
    }
  }
  return std::nullopt;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiUpper(x) == AsciiUpper(y);
         });
}

std::optional<std::string> ProfileNameProblem(std::string_view name) {
  const auto quoted = "'" + std::string(name) + "'";
  if (name.empty()) {
    return std::string("a profile needs a name");
  }
  if (name.size() > kMaxProfileNameLength) {
    return "the profile name " + quoted + " is longer than " +
           std::to_string(kMaxProfileNameLength) + " bytes";
  }
  constexpr std::string_view kRefused = "<>:\"/\\|?*";
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || kRefused.find(c) != kRefused.npos) {
      return "the profile name " + quoted +
             " holds a character file names cannot hold (< > : \" / \\ | ? * or a control "
             "character)";
    }
  }
  if (name.front() == ' ' || name.back() == ' ' || name.back() == '.') {
    return "the profile name " + quoted + " begins or ends with a blank or ends with a dot";
  }
  if (IsReservedDeviceName(name)) {
    return "the profile name " + quoted + " is a name Windows keeps for a device";
  }
  if (SameNameIgnoringCase(name, "rules")) {
    return std::string("the profile name 'rules' is kept for the switching rules");
  }
  return std::nullopt;
}

}  // namespace q8
