#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>

namespace q8 {

// The two key configurations the mouse holds, shown as "Mode A" and "Mode B".
enum class KeyConfigId : std::uint8_t { A = 0, B = 1 };

inline constexpr std::size_t kButtonCount = 8;    // buttons 1..8
inline constexpr std::size_t kDpiStageCount = 8;  // stages 1..8 (the page edits 1..6)

// A single byte of the record.
struct ByteField {
  std::size_t offset;
};
// One byte per DPI stage (1..8), `width` bytes each.
struct StageField {
  std::size_t offset;
  std::size_t width;
};
// One byte per key configuration and button: 8 bytes for Mode A, then 8 for Mode B.
struct ButtonField {
  std::size_t offset;
};

// Every field of the settings record at its offset. Offsets not named here are reserved: they
// are never interpreted and are written back as they were loaded.
namespace field {
inline constexpr ByteField ReportRateCode{5};  // polling interval in ms: 1, 2, 4, 8
inline constexpr StageField DpiStageLevel{7, 1};
inline constexpr StageField DpiStageEnabled{15, 1};
inline constexpr StageField DpiStageColor{23, 3};  // red, green, blue
inline constexpr ByteField LightingMode{47};       // 0 Off, 1 Standard, 2 Respiration, 3 Neon
inline constexpr ByteField LightingBrightness{48};
inline constexpr ByteField LightingSpeed{49};
inline constexpr ByteField NeonSpeed{50};       // shown only, not sent
inline constexpr ByteField StandardEffect{51};  // shown only, not sent
inline constexpr ByteField LightingEffect{52};
inline constexpr ByteField NeonEffect{53};       // shown only, not sent
inline constexpr ByteField ActiveKeyConfig{55};  // 0 Mode A, 1 Mode B; not sent
inline constexpr ByteField FireMakeTime{56};
inline constexpr ByteField FireBreakTime{57};
inline constexpr ByteField SnipeDpiCode{58};
inline constexpr ButtonField KeyFunction{59};
inline constexpr ButtonField MediaKeyIndex{75};
inline constexpr ButtonField LaunchKeyIndex{91};
inline constexpr ButtonField HotKeyIndex{107};
inline constexpr ButtonField SingleKeyUsage{123};
inline constexpr ButtonField SnipeDpiIndex{139};  // not sent
inline constexpr ButtonField FireKeyIndex{155};   // not sent
inline constexpr ButtonField FireKeyUsage{171};
inline constexpr ButtonField FireTimes{187};
inline constexpr ButtonField DpiSwitchCode{203};  // 3 DPI +, 4 DPI -, 5 DPI Loop
}  // namespace field

// The 219-byte settings record: the single source of truth that pages and dialogs edit, that is
// encoded into the mouse's memory and stored byte for byte in config.bin.
class DeviceConfig {
 public:
  static constexpr std::size_t kSize = 219;

  std::uint8_t& operator[](ByteField f) { return bytes_[f.offset]; }
  std::uint8_t operator[](ByteField f) const { return bytes_[f.offset]; }

  // Stage 1..8 of a one-byte stage field.
  std::uint8_t& Stage(StageField f, std::size_t stage) { return bytes_[StageOffset(f, stage)]; }
  std::uint8_t Stage(StageField f, std::size_t stage) const {
    return bytes_[StageOffset(f, stage)];
  }

  // Red, green and blue of stage 1..8.
  std::span<std::uint8_t, 3> StageColor(std::size_t stage) {
    return std::span<std::uint8_t, 3>(&bytes_[StageOffset(field::DpiStageColor, stage)], 3);
  }
  std::span<const std::uint8_t, 3> StageColor(std::size_t stage) const {
    return std::span<const std::uint8_t, 3>(&bytes_[StageOffset(field::DpiStageColor, stage)], 3);
  }

  // Button 1..8 of a key configuration.
  std::uint8_t& Button(ButtonField f, KeyConfigId config, std::size_t button) {
    return bytes_[ButtonOffset(f, config, button)];
  }
  std::uint8_t Button(ButtonField f, KeyConfigId config, std::size_t button) const {
    return bytes_[ButtonOffset(f, config, button)];
  }

  std::span<std::uint8_t, kSize> Bytes() { return bytes_; }
  std::span<const std::uint8_t, kSize> Bytes() const { return bytes_; }

  friend bool operator==(const DeviceConfig&, const DeviceConfig&) = default;

 private:
  static constexpr std::size_t StageOffset(StageField f, std::size_t stage) {
    assert(stage >= 1 && stage <= kDpiStageCount);
    return f.offset + (stage - 1) * f.width;
  }
  static constexpr std::size_t ButtonOffset(ButtonField f, KeyConfigId config, std::size_t button) {
    assert(button >= 1 && button <= kButtonCount);
    return f.offset + kButtonCount * static_cast<std::size_t>(config) + (button - 1);
  }

  std::array<std::uint8_t, kSize> bytes_{};
};

// The record's layout: the arrays follow each other without gaps and the last one ends the record.
static_assert(field::DpiStageEnabled.offset == field::DpiStageLevel.offset + kDpiStageCount);
static_assert(field::DpiStageColor.offset == field::DpiStageEnabled.offset + kDpiStageCount);
static_assert(field::LightingMode.offset == field::DpiStageColor.offset + 3 * kDpiStageCount);
static_assert(field::KeyFunction.offset == field::SnipeDpiCode.offset + 1);
static_assert(field::MediaKeyIndex.offset == field::KeyFunction.offset + 2 * kButtonCount);
static_assert(field::LaunchKeyIndex.offset == field::MediaKeyIndex.offset + 2 * kButtonCount);
static_assert(field::HotKeyIndex.offset == field::LaunchKeyIndex.offset + 2 * kButtonCount);
static_assert(field::SingleKeyUsage.offset == field::HotKeyIndex.offset + 2 * kButtonCount);
static_assert(field::SnipeDpiIndex.offset == field::SingleKeyUsage.offset + 2 * kButtonCount);
static_assert(field::FireKeyIndex.offset == field::SnipeDpiIndex.offset + 2 * kButtonCount);
static_assert(field::FireKeyUsage.offset == field::FireKeyIndex.offset + 2 * kButtonCount);
static_assert(field::FireTimes.offset == field::FireKeyUsage.offset + 2 * kButtonCount);
static_assert(field::DpiSwitchCode.offset == field::FireTimes.offset + 2 * kButtonCount);
static_assert(field::DpiSwitchCode.offset + 2 * kButtonCount == DeviceConfig::kSize);

}  // namespace q8
