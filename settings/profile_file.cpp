#include "settings/profile_file.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "settings/durable_file.h"
#include "settings/file_bytes.h"
#include "settings/ini_file.h"
#include "settings/utf8_path.h"

namespace q8 {
namespace {

constexpr std::string_view kProfileSection = "Profile";
constexpr std::string_view kSettingsSection = "Settings";
constexpr std::array<std::string_view, 2> kModeSections{"Mode A", "Mode B"};
constexpr std::string_view kFormatKey = "Format";
constexpr std::string_view kRecordSizeKey = "RecordSize";
constexpr std::string_view kCaptionsKey = "Captions";
constexpr std::array<std::string_view, kButtonCount> kCaptionKeys{
    "Caption1", "Caption2", "Caption3", "Caption4", "Caption5", "Caption6", "Caption7", "Caption8"};

// A value no line can hold (a value is one line): the mark of a missing key.
constexpr std::string_view kMissing = "\n";

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

// The values a field may hold in a profile: what the tool's pages and dialogs can set, and 0 where
// a field the user never set holds it (a record of before any edit). Profiles are meant to be
// shared, and a value out of these would reach the mouse unchecked. Fields of any byte value
// (colours, HID usages, the reserved bytes) and the display-only effects are not listed.
struct FieldRange {
  std::string_view name;
  std::size_t offset;
  std::size_t width;  // bytes per key configuration for a button field
  bool perButton;
  std::uint8_t low;
  std::uint8_t high;
  bool zeroAllowed;
};
constexpr std::array<FieldRange, 17> kFieldRanges{{
    {"DpiStageLevel", field::DpiStageLevel.offset, kDpiStageCount, false, 0, 11, false},
    {"DpiStageEnabled", field::DpiStageEnabled.offset, kDpiStageCount, false, 0, 1, false},
    {"LightingMode", field::LightingMode.offset, 1, false, 0, 3, false},
    {"LightingBrightness", field::LightingBrightness.offset, 1, false, 0, 9, false},
    {"LightingSpeed", field::LightingSpeed.offset, 1, false, 0, 4, false},
    {"NeonSpeed", field::NeonSpeed.offset, 1, false, 0, 29, false},
    {"LightingEffect", field::LightingEffect.offset, 1, false, 1, 2, true},
    {"ActiveKeyConfig", field::ActiveKeyConfig.offset, 1, false, 0, 1, false},
    {"FireMakeTime", field::FireMakeTime.offset, 1, false, 5, 255, true},
    {"FireBreakTime", field::FireBreakTime.offset, 1, false, 5, 255, true},
    {"SnipeDpiCode", field::SnipeDpiCode.offset, 1, false, 0, 0x7F, false},
    {"KeyFunction", field::KeyFunction.offset, kButtonCount, true, 0, 13, false},
    {"MediaKeyIndex", field::MediaKeyIndex.offset, kButtonCount, true, 0, 6, false},
    {"LaunchKeyIndex", field::LaunchKeyIndex.offset, kButtonCount, true, 0, 8, false},
    {"HotKeyIndex", field::HotKeyIndex.offset, kButtonCount, true, 0, 7, false},
    {"FireKeyIndex", field::FireKeyIndex.offset, kButtonCount, true, 0, 58, false},
    {"FireTimes", field::FireTimes.offset, kButtonCount, true, 0, 127, false},
}};

bool InRange(const FieldRange& range, std::uint8_t value) {
  return (value == 0 && range.zeroAllowed) || (value >= range.low && value <= range.high);
}

std::string OutOfRange(std::string_view section, std::string_view name, std::uint8_t value) {
  return "[" + std::string(section) + "] " + std::string(name) + " holds " + std::to_string(value) +
         ", which is out of its range";
}

}  // namespace

std::optional<std::string> ProfileRangeProblem(const DeviceConfig& config) {
  const auto record = config.Bytes();
  for (const FieldRange& range : kFieldRanges) {
    const std::size_t configurations = range.perButton ? 2 : 1;
    for (std::size_t mode = 0; mode < configurations; ++mode) {
      for (std::size_t i = 0; i < range.width; ++i) {
        const std::uint8_t value = record[range.offset + mode * range.width + i];
        if (!InRange(range, value)) {
          return OutOfRange(range.perButton ? kModeSections[mode] : kSettingsSection, range.name,
                            value);
        }
      }
    }
  }
  // An interval in milliseconds; 0 and 3 are shown as 1000 Hz.
  const std::uint8_t rate = record[field::ReportRateCode.offset];
  if (rate > 4 && rate != 8) {
    return OutOfRange(kSettingsSection, "ReportRateCode", rate);
  }
  // 3 DPI +, 4 DPI -, 5 DPI Loop; 0 where no button was ever made a DPI switch.
  for (std::size_t i = 0; i < 2 * kButtonCount; ++i) {
    const std::uint8_t value = record[field::DpiSwitchCode.offset + i];
    if (value != 0 && (value < 3 || value > 5)) {
      return OutOfRange(kModeSections[i / kButtonCount], "DpiSwitchCode", value);
    }
  }
  return std::nullopt;
}

namespace {

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
  const std::string text = document.Get(section, key, kMissing);
  const auto where = [&] { return "[" + std::string(section) + "] " + std::string(key); };
  if (text == kMissing) {
    return "it is damaged: " + where() + " is missing";
  }
  if (auto problem = ReadHex(text, bytes)) {
    return "it is damaged: " + where() + " " + *problem;
  }
  return std::nullopt;
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

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiUpper(x) == AsciiUpper(y);
         });
}

}  // namespace

std::vector<std::uint8_t> ProfileFileBytes(const Profile& profile) {
  // A UTF-8 file with its byte-order mark, which the INI reader keeps as UTF-8 on every system.
  constexpr std::string_view kHead =
      "\xEF\xBB\xBF"
      "; Tarnix Q8 profile: the settings the mouse is given and the captions of its buttons.\n"
      "; The bytes of the settings record in hexadecimal, under the names of its fields; every\n"
      "; line of [Settings], [Mode A] and [Mode B] is needed.\n";
  IniDocument document = IniDocument::Parse(
      std::span(reinterpret_cast<const std::uint8_t*>(kHead.data()), kHead.size()));
  const auto bytes = profile.config.Bytes();
  document.Set(kProfileSection, kFormatKey, std::to_string(kProfileFormatVersion));
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

std::variant<Profile, std::string> ParseProfileFile(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > kMaxProfileFileBytes) {
    return std::string("it is not a Tarnix Q8 profile: it is larger than ") +
           std::to_string(kMaxProfileFileBytes / 1024) + " KiB";
  }
  const IniDocument document = IniDocument::Parse(bytes);
  const std::string format = document.Get(kProfileSection, kFormatKey, kMissing);
  if (format == kMissing) {
    return std::string("it is not a Tarnix Q8 profile: it has no [Profile] Format line");
  }
  if (format != std::to_string(kProfileFormatVersion)) {
    return "it is a profile of format '" + format + "'; this tool reads format " +
           std::to_string(kProfileFormatVersion);
  }
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
  if (EqualsIgnoringCase(name, "rules")) {
    return std::string("the profile name 'rules' is kept for the switching rules");
  }
  return std::nullopt;
}

std::filesystem::path ProfileStore::PathOf(std::string_view name) const {
  return folder_ / PathFromUtf8(std::string(name) + std::string(kProfileFileExtension));
}

std::vector<std::string> ProfileStore::List() const {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder_, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::filesystem::path& path = entry->path();
    if (!EqualsIgnoringCase(Utf8Of(path.extension()), kProfileFileExtension)) {
      continue;
    }
    // Exactly what Load finds under the name: on a system whose file names keep their letter
    // case, "X.INI" is not the profile "X"; a link that leads nowhere is no profile.
    std::string name = Utf8Of(path.stem());
    std::error_code ignored;
    if (!ProfileNameProblem(name) && std::filesystem::is_regular_file(PathOf(name), ignored)) {
      names.push_back(std::move(name));
    }
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::optional<std::string> ProfileStore::ProfileNamed(std::string_view name) const {
  std::vector<std::string> names = List();
  if (std::find(names.begin(), names.end(), name) != names.end()) {
    return std::string(name);
  }
  for (std::string& listed : names) {
    if (EqualsIgnoringCase(listed, name)) {
      return std::move(listed);
    }
  }
  return std::nullopt;
}

std::variant<Profile, std::string> ProfileStore::Load(std::string_view name) const {
  if (auto problem = ProfileNameProblem(name)) {
    return *problem;
  }
  const std::filesystem::path path = PathOf(name);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    return "there is no profile named '" + std::string(name) + "' in " + Utf8Of(folder_);
  }
  return ReadProfileFile(path);
}

std::optional<std::string> ProfileStore::Save(std::string_view name, const Profile& profile) const {
  if (auto problem = ProfileNameProblem(name)) {
    return problem;
  }
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (error) {
    return "cannot make the profile folder " + Utf8Of(folder_) + ": " + error.message();
  }
  return WriteProfileFile(PathOf(name), profile);
}

std::optional<std::string> ProfileStore::Delete(std::string_view name) const {
  if (auto problem = ProfileNameProblem(name)) {
    return problem;
  }
  std::error_code error;
  if (!std::filesystem::remove(PathOf(name), error)) {
    if (error) {
      return "cannot delete " + Utf8Of(PathOf(name)) + ": " + error.message();
    }
    return "there is no profile named '" + std::string(name) + "' in " + Utf8Of(folder_);
  }
  return std::nullopt;
}

std::variant<Profile, std::string> ReadProfileFile(const std::filesystem::path& path) {
  // One byte more than a profile may hold, so that a larger file is told as such.
  const auto bytes = ReadFileBytes(path, kMaxProfileFileBytes + 1);
  if (!bytes) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxProfileFileBytes) {
      return Utf8Of(path) + ": it is not a Tarnix Q8 profile: it is larger than " +
             std::to_string(kMaxProfileFileBytes / 1024) + " KiB";
    }
    return "cannot read " + Utf8Of(path);
  }
  auto parsed = ParseProfileFile(*bytes);
  if (auto* problem = std::get_if<std::string>(&parsed)) {
    return Utf8Of(path) + ": " + *problem;
  }
  if (auto problem = ProfileRangeProblem(std::get<Profile>(parsed).config)) {
    return Utf8Of(path) + ": " + *problem;
  }
  return parsed;
}

std::optional<std::string> WriteProfileFile(const std::filesystem::path& path,
                                            const Profile& profile) {
  if (auto error = ReplaceFileContents(path, ProfileFileBytes(profile))) {
    return "cannot write " + Utf8Of(path) + ": " + error.message();
  }
  return std::nullopt;
}

}  // namespace q8
