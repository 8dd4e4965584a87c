#include "model/profile_format2.h"

#include <array>
#include <charconv>
#include <span>
#include <utility>

#include "model/profile_value_names.h"
#include "settings/profile_text.h"
#include "settings/text_encoding.h"

namespace q8 {
namespace {

using namespace profile_text;
using namespace profile_values;

constexpr std::string_view kSettings = "Settings";
constexpr std::string_view kUninterpreted = "Uninterpreted";
constexpr std::string_view kSensorKey = "Sensor";
constexpr std::string_view kCaptionKey = "Caption";

// --- The lines of the layout ---------------------------------------------------------------------

struct SettingsLine {
  std::string_view key;
  std::size_t offset;
  Names names;
};
constexpr std::array<SettingsLine, 12> kSettingsLines{{
    {"ReportRate", field::ReportRateCode.offset, Names::kReportRate},
    {"LightingMode", field::LightingMode.offset, Names::kLightingMode},
    {"Brightness", field::LightingBrightness.offset, Names::kBrightness},
    {"RespirationSpeed", field::LightingSpeed.offset, Names::kRespirationSpeed},
    {"NeonSpeed", field::NeonSpeed.offset, Names::kNeonSpeed},
    {"StandardEffect", field::StandardEffect.offset, Names::kEffect},
    {"RespirationEffect", field::LightingEffect.offset, Names::kEffect},
    {"NeonEffect", field::NeonEffect.offset, Names::kEffect},
    {"ActiveKeys", field::ActiveKeyConfig.offset, Names::kKeyConfig},
    {"FireMakeTime", field::FireMakeTime.offset, Names::kNumber},
    {"FireBreakTime", field::FireBreakTime.offset, Names::kNumber},
    {"SnipeDpi", field::SnipeDpiCode.offset, Names::kSnipeCode},
}};

// The bytes no field names.
struct HexLine {
  std::string_view key;
  std::size_t offset;
  std::size_t width;
};
constexpr std::array<HexLine, 3> kHexLines{
    {{"Bytes0to4", 0, 5}, {"Byte6", 6, 1}, {"Byte54", 54, 1}}};

struct ButtonLine {
  std::string_view key;
  ButtonField field;
  Names names;
};
constexpr std::array<ButtonLine, 10> kButtonLines{{
    {"Function", field::KeyFunction, Names::kFunction},
    {"DpiSwitch", field::DpiSwitchCode, Names::kDpiSwitch},
    {"Multimedia", field::MediaKeyIndex, Names::kMultimedia},
    {"Launch", field::LaunchKeyIndex, Names::kLaunch},
    {"HotKey", field::HotKeyIndex, Names::kHotKey},
    {"SingleKey", field::SingleKeyUsage, Names::kKey},
    {"SnipeDpi", field::SnipeDpiIndex, Names::kLevel},
    {"FireKey", field::FireKeyIndex, Names::kFireKey},
    {"FireKeySends", field::FireKeyUsage, Names::kKey},
    {"FireTimes", field::FireTimes, Names::kNumber},
}};

// Every byte of the record on exactly one line.
constexpr bool LinesCoverTheRecord() {
  std::array<int, DeviceConfig::kSize> uses{};
  for (const SettingsLine& line : kSettingsLines) {
    ++uses[line.offset];
  }
  for (const HexLine& line : kHexLines) {
    for (std::size_t i = 0; i < line.width; ++i) {
      ++uses[line.offset + i];
    }
  }
  for (std::size_t stage = 0; stage < kDpiStageCount; ++stage) {
    ++uses[field::DpiStageLevel.offset + stage];
    ++uses[field::DpiStageEnabled.offset + stage];
    for (std::size_t i = 0; i < 3; ++i) {
      ++uses[field::DpiStageColor.offset + 3 * stage + i];
    }
  }
  for (const ButtonLine& line : kButtonLines) {
    for (std::size_t i = 0; i < 2 * kButtonCount; ++i) {
      ++uses[line.field.offset + i];
    }
  }
  for (const int count : uses) {
    if (count != 1) {
      return false;
    }
  }
  return true;
}
static_assert(LinesCoverTheRecord());

std::string ButtonSection(std::size_t mode, std::size_t button) {
  return std::string(kModeNames[mode]) + " Button " + std::to_string(button + 1);
}

std::string StageKey(std::size_t stage) {
  return "DpiStage" + std::to_string(stage + 1);
}

std::size_t ButtonOffset(const ButtonLine& line, std::size_t mode, std::size_t button) {
  return line.field.offset + kButtonCount * mode + button;
}

class Reader {
 public:
  Reader(const IniDocument& document, Profile& profile)
      : document_(document), profile_(profile), record_(profile.config.Bytes()) {}

  bool ReadAll() { return ReadSettings() && ReadUninterpreted() && ReadButtons(); }
  const std::string& Problem() const { return problem_; }

 private:
  std::optional<std::string> Line(std::string_view section, std::string_view key) {
    return RequiredLine(document_, section, key, problem_);
  }
  bool Damaged(std::string_view section, std::string_view key, std::string_view value) {
    problem_ = "it is damaged: " + Where(section, key) + " holds '" + std::string(value) +
               "', which names no value of it";
    if (!profile_.sensorVariant && value.find("DPI") != std::string_view::npos) {
      problem_ += " (a DPI value needs the sensor: [Profile] Sensor)";
    }
    return false;
  }
  bool ReadValue(std::string_view section, std::string_view key, Names names, std::size_t offset) {
    const auto text = Line(section, key);
    if (!text) {
      return false;
    }
    const auto value = Parsed(*text, NamesOf(names, profile_.sensorVariant));
    if (!value) {
      return Damaged(section, key, *text);
    }
    record_[offset] = *value;
    return true;
  }

  // In the order of the file: the report rate, the stages, then the rest.
  bool ReadSettings() {
    const auto read = [&](const SettingsLine& line) {
      return ReadValue(kSettings, line.key, line.names, line.offset);
    };
    if (!read(kSettingsLines[0])) {
      return false;
    }
    for (std::size_t stage = 0; stage < kDpiStageCount; ++stage) {
      if (!ReadStage(stage)) {
        return false;
      }
    }
    for (const SettingsLine& line : std::span(kSettingsLines).subspan(1)) {
      if (!read(line)) {
        return false;
      }
    }
    return true;
  }

  // "800 DPI, on, #FF0000"
  bool ReadStage(std::size_t stage) {
    const std::string key = StageKey(stage);
    const auto text = Line(kSettings, key);
    if (!text) {
      return false;
    }
    const std::string_view all = *text;
    const std::size_t first = all.find(',');
    const std::size_t second = first == all.npos ? all.npos : all.find(',', first + 1);
    if (second == all.npos) {
      return Damaged(kSettings, key, all);
    }
    const auto level = Parsed(all.substr(0, first), NamesOf(Names::kLevel, profile_.sensorVariant));
    const auto on = Parsed(all.substr(first + 1, second - first - 1), NamesOf(Names::kOnOff, {}));
    const auto colour = ParsedColour(all.substr(second + 1));
    if (!level || !on || !colour) {
      return Damaged(kSettings, key, all);
    }
    profile_.config.Stage(field::DpiStageLevel, stage + 1) = *level;
    profile_.config.Stage(field::DpiStageEnabled, stage + 1) = *on;
    std::copy(colour->begin(), colour->end(), profile_.config.StageColor(stage + 1).begin());
    return true;
  }

  bool ReadUninterpreted() {
    for (const HexLine& line : kHexLines) {
      const auto text = Line(kUninterpreted, line.key);
      if (!text) {
        return false;
      }
      const auto bytes = ParsedHex(*text);
      if (!bytes || bytes->size() != line.width) {
        problem_ = "it is damaged: " + Where(kUninterpreted, line.key) + " is not " +
                   std::to_string(line.width) + " bytes in hexadecimal";
        return false;
      }
      std::copy(bytes->begin(), bytes->end(), record_.begin() + line.offset);
    }
    return true;
  }

  bool ReadButtons() {
    for (std::size_t mode = 0; mode < kModeNames.size(); ++mode) {
      for (std::size_t button = 0; button < kButtonCount; ++button) {
        const std::string section = ButtonSection(mode, button);
        for (const ButtonLine& line : kButtonLines) {
          if (!ReadValue(section, line.key, line.names, ButtonOffset(line, mode, button))) {
            return false;
          }
        }
        profile_.captions[kButtonCount * mode + button] = document_.Get(section, kCaptionKey);
      }
    }
    return true;
  }

  const IniDocument& document_;
  Profile& profile_;
  std::span<std::uint8_t, DeviceConfig::kSize> record_;
  std::string problem_;
};

// The line that holds the record's byte at `offset`, and that byte as the line writes it.
std::pair<std::string, std::string> LineOf(const Profile& profile, std::size_t offset) {
  const std::uint8_t value = profile.config.Bytes()[offset];
  const auto written = [&](Names names) {
    return Written(value, NamesOf(names, profile.sensorVariant));
  };
  for (const SettingsLine& line : kSettingsLines) {
    if (line.offset == offset) {
      return {Where(kSettings, line.key), written(line.names)};
    }
  }
  for (const ButtonLine& line : kButtonLines) {
    if (offset >= line.field.offset && offset < line.field.offset + 2 * kButtonCount) {
      const std::size_t index = offset - line.field.offset;
      return {Where(ButtonSection(index / kButtonCount, index % kButtonCount), line.key),
              written(line.names)};
    }
  }
  if (offset >= field::DpiStageLevel.offset && offset < field::DpiStageColor.offset) {
    const bool level = offset < field::DpiStageEnabled.offset;
    const std::size_t stage =
        offset - (level ? field::DpiStageLevel : field::DpiStageEnabled).offset;
    return {Where(kSettings, StageKey(stage)), written(level ? Names::kLevel : Names::kOnOff)};
  }
  return {"byte " + std::to_string(offset), "code " + std::to_string(value)};
}

}  // namespace

std::vector<std::uint8_t> ReadableProfileBytes(const Profile& profile) {
  const std::string head =
      std::string(kUtf8Mark) +
      "; Tarnix Q8 profile: the settings the mouse is given and the captions of its buttons.\n"
      "; Values are named as the tool's window names them; \"code N\" is a value without a name.\n"
      "; Every line but the captions is needed.\n";
  IniDocument document = IniDocument::Parse(
      std::span(reinterpret_cast<const std::uint8_t*>(head.data()), head.size()));
  const auto record = profile.config.Bytes();
  document.Set(kProfileSection, kFormatKey, std::to_string(kReadableProfileFormat));
  document.Set(kProfileSection, kCaptionsKey, profile.captionSection);
  if (profile.sensorVariant) {
    document.Set(kProfileSection, kSensorKey, std::to_string(*profile.sensorVariant));
  }
  const auto setLine = [&](const SettingsLine& line) {
    document.Set(kSettings, line.key,
                 Written(record[line.offset], NamesOf(line.names, profile.sensorVariant)));
  };
  // The report rate and the DPI stages first, as the page shows them.
  setLine(kSettingsLines[0]);
  const ValueNames levels = NamesOf(Names::kLevel, profile.sensorVariant);
  const ValueNames onOff = NamesOf(Names::kOnOff, {});
  for (std::size_t stage = 1; stage <= kDpiStageCount; ++stage) {
    const DeviceConfig& config = profile.config;
    document.Set(kSettings, StageKey(stage - 1),
                 Written(config.Stage(field::DpiStageLevel, stage), levels) + ", " +
                     Written(config.Stage(field::DpiStageEnabled, stage), onOff) + ", " +
                     Colour(config.StageColor(stage)));
  }
  for (const SettingsLine& line : std::span(kSettingsLines).subspan(1)) {
    setLine(line);
  }
  for (const HexLine& line : kHexLines) {
    document.Set(kUninterpreted, line.key, Hex(record.subspan(line.offset, line.width)));
  }
  for (std::size_t mode = 0; mode < kModeNames.size(); ++mode) {
    for (std::size_t button = 0; button < kButtonCount; ++button) {
      const std::string section = ButtonSection(mode, button);
      document.Set(section, kButtonLines[0].key,
                   Written(record[ButtonOffset(kButtonLines[0], mode, button)],
                           NamesOf(kButtonLines[0].names, profile.sensorVariant)));
      document.Set(section, kCaptionKey, profile.captions[kButtonCount * mode + button]);
      for (const ButtonLine& line : std::span(kButtonLines).subspan(1)) {
        document.Set(section, line.key,
                     Written(record[ButtonOffset(line, mode, button)],
                             NamesOf(line.names, profile.sensorVariant)));
      }
    }
  }
  return document.Serialize();
}

std::variant<Profile, std::string> ParseReadableProfile(const IniDocument& document) {
  Profile profile;
  profile.captionSection = document.Get(kProfileSection, kCaptionsKey);
  const std::string sensor = document.Get(kProfileSection, kSensorKey, kMissing);
  if (sensor != kMissing) {
    const auto number = Decimal(TrimmedBlanks(sensor));
    if (!number || *number > 255) {
      return "it is damaged: " + Where(kProfileSection, kSensorKey) + " holds '" + sensor +
             "', which is not a sensor's number";
    }
    profile.sensorVariant = static_cast<std::uint8_t>(*number);
  }
  Reader reader(document, profile);
  if (!reader.ReadAll()) {
    return reader.Problem();
  }
  return profile;
}

std::optional<std::string> ReadableRangeProblem(const Profile& profile) {
  const auto wrong = FirstValueOutOfRange(profile.config);
  if (!wrong) {
    return std::nullopt;
  }
  const auto [line, value] = LineOf(profile, wrong->offset);
  return OutOfRangeText(line, value);
}

}  // namespace q8
