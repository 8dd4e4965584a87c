#include "model/profile_value_names.h"

#include <charconv>

#include "model/button_caption.h"
#include "model/choice_lists.h"
#include "model/dpi_levels.h"
#include "model/key_model.h"
#include "model/key_names.h"
#include "model/key_tables.h"
#include "model/lighting_settings.h"
#include "settings/profile_file.h"
#include "settings/text_encoding.h"

namespace q8::profile_values {
namespace {

template <typename List, typename NameOf>
void AddAll(ValueNames& out, const List& list, NameOf nameOf) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    out.names.emplace_back(static_cast<std::uint8_t>(i), std::string(nameOf(list[i])));
  }
}

}  // namespace

ValueNames NamesOf(Names kind, std::optional<std::uint8_t> sensor) {
  ValueNames out;
  const auto english = [](UiTextKey key) { return TextFor(key, UiLanguage::EN); };
  const std::span<const DpiLevel> levels =
      sensor ? DpiLevelTable(*sensor) : std::span<const DpiLevel>();
  switch (kind) {
    case Names::kNumber:
      out.raw = Raw::kNumber;
      break;
    case Names::kReportRate:
      for (const ReportRateChoice& choice : ReportRateChoices) {
        out.names.emplace_back(choice.code, std::string(choice.label) + " Hz");
      }
      break;
    case Names::kLevel:
      out.raw = Raw::kLevel;
      AddAll(out, levels, [](const DpiLevel& level) { return std::string(level.label) + " DPI"; });
      break;
    case Names::kOnOff:
      out.names = {{0, "off"}, {1, "on"}};
      break;
    case Names::kLightingMode:
      AddAll(out,
             std::array{UiTextKey::DpiEffectOff, UiTextKey::DpiEffectStandard,
                        UiTextKey::DpiEffectRespiration, UiTextKey::DpiEffectNeon},
             english);
      break;
    case Names::kBrightness:
      AddAll(out, BrightnessNames, [](std::string_view name) { return name; });
      break;
    case Names::kRespirationSpeed:
      AddAll(out, RespirationSpeedNames, [](std::string_view name) { return name; });
      break;
    case Names::kNeonSpeed:
      for (std::size_t i = 0; i < kNeonSpeedCount; ++i) {
        out.names.emplace_back(static_cast<std::uint8_t>(i), NeonSpeedName(i));
      }
      break;
    case Names::kEffect:
      AddAll(out,
             std::array{UiTextKey::RgbNonDisplay, UiTextKey::RgbEffect, UiTextKey::RgbFlash,
                        UiTextKey::RgbFixedOn},
             english);
      break;
    case Names::kKeyConfig:
      AddAll(out, kModeNames, [](std::string_view name) { return name; });
      break;
    case Names::kSnipeCode:
      for (const DpiLevel& level : levels) {
        out.names.emplace_back(level.code, std::string(level.label) + " DPI");
      }
      break;
    case Names::kFunction:
      AddAll(out, kKeyFunctionNames, english);
      break;
    case Names::kMultimedia:
      AddAll(out, MediaFunctionList, [](const LocalizedName& name) { return name.en; });
      break;
    case Names::kLaunch:
      AddAll(out, LaunchFunctionList, [](const LocalizedName& name) { return name.en; });
      break;
    case Names::kHotKey:
      AddAll(out, ShortcutPresetList, [](const LocalizedName& name) { return name.en; });
      break;
    case Names::kKey:
      out.names.emplace_back(0, "none");
      for (const KeyName& key : KeyNameTable) {
        out.names.emplace_back(key.usage, std::string(key.name));
      }
      break;
    case Names::kFireKey:
      AddAll(out, FireKeyList, [](const FireKey& key) { return key.name; });
      break;
    case Names::kDpiSwitch:
      out.names = {{0, "none"}};
      for (const std::uint8_t code : {kDpiPlus, kDpiMinus, kDpiLoop}) {
        out.names.emplace_back(code, std::string(DpiSwitchName(code)));
      }
      break;
  }
  return out;
}

std::string Written(std::uint8_t value, const ValueNames& names) {
  for (const auto& [named, name] : names.names) {
    if (named == value) {
      return name;
    }
  }
  switch (names.raw) {
    case Raw::kLevel:
      return "level " + std::to_string(value + 1);
    case Raw::kNumber:
      return std::to_string(value);
    case Raw::kCode:
      break;
  }
  return "code " + std::to_string(value);
}

std::optional<unsigned> Decimal(std::string_view text) {
  unsigned value = 0;
  const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || text.size() > 3 || parsed.ec != std::errc() ||
      parsed.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

// The value `text` names: one of the names, or the raw form.
std::optional<std::uint8_t> Parsed(std::string_view text, const ValueNames& names) {
  text = TrimmedBlanks(text);
  for (const auto& [value, name] : names.names) {
    if (SameNameIgnoringCase(text, name)) {
      return value;
    }
  }
  std::string_view prefix = names.raw == Raw::kLevel ? "level " : "code ";
  unsigned first = names.raw == Raw::kLevel ? 1 : 0;
  if (names.raw == Raw::kNumber) {
    prefix = {};
  }
  if (text.size() < prefix.size() || !SameNameIgnoringCase(text.substr(0, prefix.size()), prefix)) {
    return std::nullopt;
  }
  const auto number = Decimal(TrimmedBlanks(text.substr(prefix.size())));
  if (!number || *number < first || *number > 255 + first) {
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(*number - first);
}

std::string Colour(std::span<const std::uint8_t, 3> rgb) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string text = "#";
  for (const std::uint8_t byte : rgb) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

std::optional<std::array<std::uint8_t, 3>> ParsedColour(std::string_view text) {
  text = TrimmedBlanks(text);
  if (text.size() != 7 || text.front() != '#') {
    return std::nullopt;
  }
  std::array<std::uint8_t, 3> rgb{};
  for (std::size_t i = 0; i < 3; ++i) {
    const char* begin = text.data() + 1 + 2 * i;
    const auto parsed = std::from_chars(begin, begin + 2, rgb[i], 16);
    if (parsed.ec != std::errc() || parsed.ptr != begin + 2) {
      return std::nullopt;
    }
  }
  return rgb;
}

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (const std::uint8_t byte : bytes) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    text += text.empty() ? "" : " ";
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

std::optional<std::vector<std::uint8_t>> ParsedHex(std::string_view text) {
  std::vector<std::uint8_t> bytes;
  text = TrimmedBlanks(text);
  while (!text.empty()) {
    const std::size_t end = std::min(text.find(' '), text.size());
    std::uint8_t byte = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + end, byte, 16);
    if (end != 2 || parsed.ec != std::errc() || parsed.ptr != text.data() + end) {
      return std::nullopt;
    }
    bytes.push_back(byte);
    text = TrimmedBlanks(text.substr(end));
  }
  return bytes;
}

}  // namespace q8::profile_values
