#include "settings/profile_format1.h"

#include <array>
#include <charconv>
#include <span>

#include "settings/profile_text.h"

namespace q8 {
namespace {

using namespace profile_text;

constexpr std::string_view kSettingsSection = "Settings";
constexpr std::array<std::string_view, 2> kModeSections{"Mode A", "Mode B"};
constexpr std::string_view kRecordSizeKey = "RecordSize";
constexpr std::array<std::string_view, kButtonCount> kCaptionKeys{
    "Caption1", "Caption2", "Caption3", "Caption4", "Caption5", "Caption6", "Caption7", "Caption8"};

// The record's bytes that hold for both key configurations, in record order.
struct Span {
  std::string_view name;
  std::size_t offset;
  std::size_t width;
};
constexpr std::array<Span, 18> kSettingsLines{{
    {"Reserved0", 0, 5},
    {"ReportRateCode", field::ReportRateCode.offset, 1},
    {"Reserved6", 6, 1},
    {"DpiStageLevel", field::DpiStageLevel.offset, kDpiStageCount},
    {"DpiStageEnabled", field::DpiStageEnabled.offset, kDpiStageCount},
    {"DpiStageColor", field::DpiStageColor.offset, 3 * kDpiStageCount},
    {"LightingMode", field::LightingMode.offset, 1},
    {"LightingBrightness", field::LightingBrightness.offset, 1},
    {"LightingSpeed", field::LightingSpeed.offset, 1},
    {"NeonSpeed", field::NeonSpeed.offset, 1},
    {"StandardEffect", field::StandardEffect.offset, 1},
    {"LightingEffect", field::LightingEffect.offset, 1},
    {"NeonEffect", field::NeonEffect.offset, 1},
    {"Reserved54", 54, 1},
    {"ActiveKeyConfig", field::ActiveKeyConfig.offset, 1},
    {"FireMakeTime", field::FireMakeTime.offset, 1},
    {"FireBreakTime", field::FireBreakTime.offset, 1},
    {"SnipeDpiCode", field::SnipeDpiCode.offset, 1},
}};

// The per-button fields; each mode's line holds its eight bytes.
struct ButtonLine {
  std::string_view name;
  ButtonField field;
};
constexpr std::array<ButtonLine, 10> kButtonLines{{
    {"KeyFunction", field::KeyFunction},
    {"MediaKeyIndex", field::MediaKeyIndex},
    {"LaunchKeyIndex", field::LaunchKeyIndex},
    {"HotKeyIndex", field::HotKeyIndex},
    {"SingleKeyUsage", field::SingleKeyUsage},
    {"SnipeDpiIndex", field::SnipeDpiIndex},
    {"FireKeyIndex", field::FireKeyIndex},
    {"FireKeyUsage", field::FireKeyUsage},
    {"FireTimes", field::FireTimes},
    {"DpiSwitchCode", field::DpiSwitchCode},
}};

// Every byte of the record on exactly one line: the lines follow each other without a gap and
// the button fields take the rest.
constexpr bool LinesCoverTheRecord() {
  std::size_t next = 0;
  for (const Span& line : kSettingsLines) {
    if (line.offset != next) {
      return false;
    }
    next += line.width;
  }
  for (const ButtonLine& line : kButtonLines) {
    if (line.field.offset != next) {
      return false;
    }
    next += 2 * kButtonCount;
  }
  return next == DeviceConfig::kSize;
}
static_assert(LinesCoverTheRecord());

std::string Hex(std::span<const std::uint8_t> bytes) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t byte : bytes) {
    if (!text.empty()) {
      text += ' ';
    }
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

// Reads `bytes.size()` bytes of hexadecimal pairs separated by blanks, or says why not.
std::optional<std::string> ReadHex(std::string_view text, std::span<std::uint8_t> bytes) {
  std::size_t count = 0;
  std::size_t pos = 0;
  while (true) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
      ++pos;
    }
    if (pos == text.size()) {
      break;
    }
    std::size_t end = pos;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t') {
      ++end;
    }
    std::uint8_t value = 0;
    const auto parsed = std::from_chars(text.data() + pos, text.data() + end, value, 16);
    if (end - pos != 2 || parsed.ec != std::errc() || parsed.ptr != text.data() + end) {
      return "'" + std::string(text.substr(pos, end - pos)) + "' is not a byte in hexadecimal";
    }
    if (count < bytes.size()) {
      bytes[count] = value;
    }
    ++count;
    pos = end;
  }
  if (count != bytes.size()) {
    return "has " + std::to_string(count) + " bytes, not " + std::to_string(bytes.size());
  }
  return std::nullopt;
}

std::optional<std::string> ReadLine(const IniDocument& document, std::string_view section,
                                    std::string_view key, std::span<std::uint8_t> bytes) {
  std::string problem;
  const auto text = RequiredLine(document, section, key, problem);
  if (!text) {
    return problem;
  }
  if (auto hexProblem = ReadHex(*text, bytes)) {
    return "it is damaged: " + Where(section, key) + " " + *hexProblem;
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::uint8_t> HexProfileBytes(const Profile& profile) {
  const std::string head =
      std::string(kUtf8Mark) +
      "; Tarnix Q8 profile: the settings the mouse is given and the captions of its buttons.\n"
      "; The bytes of the settings record in hexadecimal, under the names of its fields; every\n"
      "; line of [Settings], [Mode A] and [Mode B] is needed.\n";
  IniDocument document = IniDocument::Parse(
      std::span(reinterpret_cast<const std::uint8_t*>(head.data()), head.size()));
  const auto bytes = profile.config.Bytes();
  document.Set(kProfileSection, kFormatKey, std::to_string(kHexProfileFormat));
  document.Set(kProfileSection, kRecordSizeKey, std::to_string(DeviceConfig::kSize));
  document.Set(kProfileSection, kCaptionsKey, profile.captionSection);
  for (const Span& line : kSettingsLines) {
    document.Set(kSettingsSection, line.name, Hex(bytes.subspan(line.offset, line.width)));
  }
  for (std::size_t mode = 0; mode < kModeSections.size(); ++mode) {
    for (const ButtonLine& line : kButtonLines) {
      document.Set(kModeSections[mode], line.name,
                   Hex(bytes.subspan(line.field.offset + kButtonCount * mode, kButtonCount)));
    }
    for (std::size_t button = 0; button < kButtonCount; ++button) {
      document.Set(kModeSections[mode], kCaptionKeys[button],
                   profile.captions[kButtonCount * mode + button]);
    }
  }
  return document.Serialize();
}

std::variant<Profile, std::string> ParseHexProfile(const IniDocument& document) {
  const std::string size = document.Get(kProfileSection, kRecordSizeKey, kMissing);
  if (size != std::to_string(DeviceConfig::kSize)) {
    return "it holds a settings record of " + (size == kMissing ? "unknown size" : size) +
           " bytes, not " + std::to_string(DeviceConfig::kSize);
  }

  Profile profile;
  profile.captionSection = document.Get(kProfileSection, kCaptionsKey);
  const auto record = profile.config.Bytes();
  for (const Span& line : kSettingsLines) {
    if (auto problem = ReadLine(document, kSettingsSection, line.name,
                                record.subspan(line.offset, line.width))) {
      return *problem;
    }
  }
  for (std::size_t mode = 0; mode < kModeSections.size(); ++mode) {
    for (const ButtonLine& line : kButtonLines) {
      if (auto problem =
              ReadLine(document, kModeSections[mode], line.name,
                       record.subspan(line.field.offset + kButtonCount * mode, kButtonCount))) {
        return *problem;
      }
    }
    for (std::size_t button = 0; button < kButtonCount; ++button) {
      profile.captions[kButtonCount * mode + button] =
          document.Get(kModeSections[mode], kCaptionKeys[button]);
    }
  }
  return profile;
}

std::string HexProfileFieldName(std::size_t offset) {
  for (const Span& line : kSettingsLines) {
    if (offset >= line.offset && offset < line.offset + line.width) {
      return Where(kSettingsSection, line.name);
    }
  }
  for (const ButtonLine& line : kButtonLines) {
    const std::size_t first = line.field.offset;
    if (offset >= first && offset < first + 2 * kButtonCount) {
      return Where(kModeSections[(offset - first) / kButtonCount], line.name);
    }
  }
  return {};
}

std::optional<std::string> ProfileRangeProblem(const DeviceConfig& config) {
  const auto wrong = FirstValueOutOfRange(config);
  if (!wrong) {
    return std::nullopt;
  }
  return OutOfRangeText(HexProfileFieldName(wrong->offset), std::to_string(wrong->value));
}

}  // namespace q8
