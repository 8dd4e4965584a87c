#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/ui_text.h"
#include "settings/device_config.h"

namespace q8 {

// Values of LightingMode. Neon can be stored (and is shown) but is never chosen by the tool.
enum class LightingModeCode : std::uint8_t { Off = 0, Standard = 1, Respiration = 2, Neon = 3 };

// Values of LightingEffect for Respiration.
inline constexpr std::uint8_t kLightingEffectRgb = 1;
inline constexpr std::uint8_t kLightingEffectRgbFlash = 2;

// Names of the brightness (Standard) and speed (Respiration) indices, the same in every language.
// The mouse receives the index, not the percentage or the seconds.
inline constexpr std::array<std::string_view, 10> BrightnessNames{
    "5%", "15%", "25%", "35%", "45%", "55%", "65%", "75%", "85%", "100%"};
inline constexpr std::array<std::string_view, 5> RespirationSpeedNames{"8S", "7S", "6S", "5S",
                                                                       "4S"};
inline constexpr std::size_t kNeonSpeedCount = 30;

// The name of an index, or the empty text for an index outside the list.
std::string_view BrightnessName(std::size_t index);
std::string_view RespirationSpeedName(std::size_t index);
// "0.5S", "1S", "1.5S" ... "15S": index i names (i + 1) / 2 seconds.
std::string NeonSpeedName(std::size_t index);

// The three value texts of the lighting section as the page shows them for the record: the mode's
// name, the parameter of that mode (brightness, speed, or the Neon speed) and its effect's name.
// Off shows no parameter and no effect; anything unknown shows the empty text.
struct LightingTexts {
  std::string mode;
  std::string parameter;
  std::string effect;
};
LightingTexts LightingPageTexts(const DeviceConfig& config, UiLanguage language);

// What the lighting lists store when the user picks an entry.
// The mode list: LightingMode := mode (the effect keeps its value).
void CommitLightingMode(DeviceConfig& config, LightingModeCode mode);
// The parameter list: the brightness in Standard, the speed in Respiration, nothing otherwise.
void CommitLightingParam(DeviceConfig& config, std::size_t index);
// The effect list (0 RGB Effect, 1 RGB Flash): stored only in Respiration.
void CommitLightingEffect(DeviceConfig& config, std::size_t index);

}  // namespace q8
