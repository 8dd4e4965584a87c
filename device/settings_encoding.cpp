#include "device/settings_encoding.h"

#include <algorithm>
#include <span>

#include "model/dpi_levels.h"
#include "model/key_model.h"
#include "model/key_tables.h"
#include "model/lighting_settings.h"

namespace q8 {
namespace {

// Where the encoded settings live: page and first byte.
struct ImagePosition {
  std::size_t page;
  std::size_t byte;
};

constexpr ImagePosition kKeyConfigA{3, 0};
constexpr ImagePosition kKeyConfigB{3, 32};
constexpr ImagePosition kDpiStageCountByte{4, 6};
constexpr ImagePosition kSnipeDpiCodeByte{4, 23};
constexpr ImagePosition kFirstDpiStageCode{4, 24};  // stages 1..8 follow each other
constexpr ImagePosition kFireMakeTimeByte{4, 14};
constexpr ImagePosition kFireBreakTimeByte{4, 15};
constexpr ImagePosition kMediaUsageTable{4, 32};
constexpr ImagePosition kStageColors{5, 24};  // red, green, blue of stages 1..8
constexpr ImagePosition kShortcutTable{5, 48};

// The page offers six DPI stages, whatever the record holds for stages 7 and 8.
constexpr std::uint8_t kStagesOffered = 6;

// Lighting: the mode byte and the details the mouse needs for the standard and respiration
// effects. Off and Neon send the mode byte alone.
constexpr ImagePosition kLightingMode{4, 10};
constexpr std::size_t kLightingPage = 4;
constexpr std::size_t kLightingDetail7 = 7;
constexpr std::size_t kLightingDetail8 = 8;
constexpr std::size_t kLightingDetail9 = 9;
constexpr std::size_t kLightingLevelByte = 11;  // brightness or speed index
constexpr std::size_t kLightingDetail12 = 12;
constexpr auto kLightingStandard = static_cast<std::uint8_t>(LightingModeCode::Standard);
constexpr auto kLightingRespiration = static_cast<std::uint8_t>(LightingModeCode::Respiration);

void Put(DeviceImage& image, ImagePosition at, std::span<const std::uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), image.Page(at.page).subspan(at.byte, bytes.size()).begin());
}

void Put(DeviceImage& image, ImagePosition at, std::uint8_t value) {
  image.At(at.page, at.byte) = value;
}

void EncodeLighting(const DeviceConfig& config, DeviceImage& image) {
  const std::uint8_t mode = config[field::LightingMode];
  Put(image, kLightingMode, mode);
  const auto page = image.Page(kLightingPage);
  // The steady "RGB Effect" setting, shared by standard lighting and respiration effect 1.
  const auto rgbEffect = [&] {
    page[kLightingDetail12] = 2;
    page[kLightingDetail7] = 1;
  };
  if (mode == kLightingStandard) {
    rgbEffect();
    page[kLightingLevelByte] = config[field::LightingBrightness];
  } else if (mode == kLightingRespiration) {
    page[kLightingLevelByte] = config[field::LightingSpeed];
    const std::uint8_t effect = config[field::LightingEffect];
    if (effect == kLightingEffectRgb) {
      rgbEffect();
    } else if (effect == kLightingEffectRgbFlash) {
      page[kLightingDetail12] = 3;
      page[kLightingDetail7] = 2;
      page[kLightingDetail8] = 0x7D;
      page[kLightingDetail9] = 3;
    }
  }
}

void EncodeStageColors(const DeviceConfig& config, DeviceImage& image) {
  for (std::size_t stage = 1; stage <= kDpiStageCount; ++stage) {
    Put(image, {kStageColors.page, kStageColors.byte + 3 * (stage - 1)}, config.StageColor(stage));
  }
}

void EncodeDpiStages(const DeviceConfig& config, DeviceImage& image) {
  const std::uint8_t sensorVariant = SensorVariantOf(image);
  for (std::size_t stage = 1; stage <= kDpiStageCount; ++stage) {
    std::uint8_t code = DpiLevelCode(sensorVariant, config.Stage(field::DpiStageLevel, stage));
    if (config.Stage(field::DpiStageEnabled, stage) == 0) {
      code |= kDpiStageOffBit;
    } else {
      code &= static_cast<std::uint8_t>(~kDpiStageOffBit);
    }
    Put(image, {kFirstDpiStageCode.page, kFirstDpiStageCode.byte + stage - 1}, code);
  }
}

}  // namespace

void EncodeConstantTables(DeviceImage& image) {
  Put(image, kMediaUsageTable, MediaUsageTableBytes());
  Put(image, kShortcutTable, ShortcutTableBytes());
}

void EncodeDeviceConfig(const DeviceConfig& config, DeviceImage& image) {
  EncodeLighting(config, image);
  EncodeStageColors(config, image);
  Put(image, kDpiStageCountByte, kStagesOffered);
  Put(image, kSnipeDpiCodeByte, config[field::SnipeDpiCode]);
  EncodeDpiStages(config, image);
  Put(image, kFireMakeTimeByte, config[field::FireMakeTime]);
  Put(image, kFireBreakTimeByte, config[field::FireBreakTime]);
  const KeyAssignments keys = EncodeKeyAssignments(config);
  Put(image, kKeyConfigA, keys.keyConfigA);
  Put(image, kKeyConfigB, keys.keyConfigB);
}

}  // namespace q8
