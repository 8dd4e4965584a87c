#include "model/lighting_settings.h"

namespace q8 {
namespace {

template <std::size_t N>
std::string_view NameAt(const std::array<std::string_view, N>& names, std::size_t index) {
  return index < names.size() ? names[index] : std::string_view();
}

constexpr std::array<UiTextKey, 4> kModeNames{UiTextKey::DpiEffectOff, UiTextKey::DpiEffectStandard,
                                              UiTextKey::DpiEffectRespiration,
                                              UiTextKey::DpiEffectNeon};
constexpr std::array<UiTextKey, 4> kEffectNames{UiTextKey::RgbNonDisplay, UiTextKey::RgbEffect,
                                                UiTextKey::RgbFlash, UiTextKey::RgbFixedOn};

std::string TextAt(const std::array<UiTextKey, 4>& keys, std::size_t index, UiLanguage language) {
  return index < keys.size() ? std::string(TextFor(keys[index], language)) : std::string();
}

LightingModeCode ModeOf(const DeviceConfig& config) {
  return static_cast<LightingModeCode>(config[field::LightingMode]);
}

}  // namespace

std::string_view BrightnessName(std::size_t index) {
  return NameAt(BrightnessNames, index);
}

std::string_view RespirationSpeedName(std::size_t index) {
  return NameAt(RespirationSpeedNames, index);
}

std::string NeonSpeedName(std::size_t index) {
  if (index >= kNeonSpeedCount) {
    return {};
  }
  const std::size_t halves = index + 1;
  return std::to_string(halves / 2) + (halves % 2 ? ".5S" : "S");
}

LightingTexts LightingPageTexts(const DeviceConfig& config, UiLanguage language) {
  LightingTexts texts;
  texts.mode = TextAt(kModeNames, config[field::LightingMode], language);
  switch (ModeOf(config)) {
    case LightingModeCode::Standard:
      texts.parameter = BrightnessName(config[field::LightingBrightness]);
      texts.effect = TextAt(kEffectNames, config[field::StandardEffect], language);
      break;
    case LightingModeCode::Respiration:
      texts.parameter = RespirationSpeedName(config[field::LightingSpeed]);
      texts.effect = TextAt(kEffectNames, config[field::LightingEffect], language);
      break;
    case LightingModeCode::Neon:
      texts.parameter = NeonSpeedName(config[field::NeonSpeed]);
      texts.effect = TextAt(kEffectNames, config[field::NeonEffect], language);
      break;
    default:
      break;
  }
  return texts;
}

void CommitLightingMode(DeviceConfig& config, LightingModeCode mode) {
  config[field::LightingMode] = static_cast<std::uint8_t>(mode);
}

void CommitLightingParam(DeviceConfig& config, std::size_t index) {
  const auto value = static_cast<std::uint8_t>(index);
  switch (ModeOf(config)) {
    case LightingModeCode::Standard:
      config[field::LightingBrightness] = value;
      break;
    case LightingModeCode::Respiration:
      config[field::LightingSpeed] = value;
      break;
    default:
      break;
  }
}

void CommitLightingEffect(DeviceConfig& config, std::size_t index) {
  if (ModeOf(config) == LightingModeCode::Respiration) {
    config[field::LightingEffect] = static_cast<std::uint8_t>(index + 1);
  }
}

}  // namespace q8
