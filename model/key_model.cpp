#include "model/key_model.h"

#include "model/key_tables.h"

namespace q8 {
namespace {

constexpr bool IsSlotOrder(const std::array<std::uint8_t, kButtonCount>& slots) {
  std::array<bool, kButtonCount> taken{};
  for (const std::uint8_t slot : slots) {
    if (slot >= kButtonCount || taken[slot]) {
      return false;
    }
    taken[slot] = true;
  }
  return true;
}
// Every button gets a slot of its own, so no button overwrites another.
static_assert(IsSlotOrder(KeyConfigASlots));
static_assert(IsSlotOrder(KeyConfigBSlots));

// The media table holds the seven multimedia entries, then the nine launch entries; the shortcut
// presets are numbered after it.
static_assert(kShortcutCodeBase == MediaUsageTable.size());
static_assert(kLaunchCodeBase + 9 == MediaUsageTable.size());

constexpr std::uint8_t Byte(unsigned value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

void ApplyDefaultKeyLayout(DeviceConfig& config) {
  for (const KeyConfigId keyConfig : {KeyConfigId::A, KeyConfigId::B}) {
    for (std::size_t button = 1; button <= kButtonCount; ++button) {
      const DefaultKey& key = DefaultKeyLayout[button - 1];
      config.Button(field::KeyFunction, keyConfig, button) =
          static_cast<std::uint8_t>(key.function);
      if (key.dpiSwitchCode != 0) {
        config.Button(field::DpiSwitchCode, keyConfig, button) = key.dpiSwitchCode;
      }
    }
  }
}

KeySlotCode KeySlotCodeOf(const DeviceConfig& config, KeyConfigId keyConfig, std::size_t button) {
  const auto param = [&](ButtonField f) { return config.Button(f, keyConfig, button); };
  switch (static_cast<KeyFunctionCode>(param(field::KeyFunction))) {
    case KeyFunctionCode::LeftClick:
      return {kMouseLeftUsage, kSlotTypeKey};
    case KeyFunctionCode::RightClick:
      return {kMouseRightUsage, kSlotTypeKey};
    case KeyFunctionCode::MidClick:
      return {kMouseMiddleUsage, kSlotTypeKey};
    case KeyFunctionCode::Forward:
      return {kMouseForwardUsage, kSlotTypeKey};
    case KeyFunctionCode::Backward:
      return {kMouseBackUsage, kSlotTypeKey};
    case KeyFunctionCode::DpiSwitch:
      return {param(field::DpiSwitchCode), kSlotTypeDeviceFunction};
    case KeyFunctionCode::Windows:
      return {Byte(param(field::LaunchKeyIndex) + kLaunchCodeBase), kSlotTypeTableEntry};
    case KeyFunctionCode::Multimedia:
      return {param(field::MediaKeyIndex), kSlotTypeTableEntry};
    case KeyFunctionCode::HotKey:
      return {Byte(param(field::HotKeyIndex) + kShortcutCodeBase), kSlotTypeTableEntry};
    case KeyFunctionCode::FireKey:
      // Counts run 0..127, so the type byte stays in 0x80..0xFF; larger counts wrap.
      return {param(field::FireKeyUsage), Byte(param(field::FireTimes) + kSlotTypeFire)};
    case KeyFunctionCode::SingleKey:
      return {param(field::SingleKeyUsage), kSlotTypeKey};
    case KeyFunctionCode::SnipeKey:
      return {0x0A, kSlotTypeDeviceFunction};
    case KeyFunctionCode::Shift:
      return {0x06, kSlotTypeDeviceFunction};
    case KeyFunctionCode::KeyOff:
      break;
  }
  return {0x00, 0x00};
}

KeyConfigBlock EncodeKeyConfig(const DeviceConfig& config, KeyConfigId keyConfig) {
  const auto& slots = keyConfig == KeyConfigId::A ? KeyConfigASlots : KeyConfigBSlots;
  KeyConfigBlock block{};
  for (std::size_t button = 1; button <= kButtonCount; ++button) {
    const KeySlotCode slotCode = KeySlotCodeOf(config, keyConfig, button);
    const std::size_t slot = slots[button - 1];
    block[2 * slot] = slotCode.code;
    block[2 * slot + 1] = slotCode.type;
  }
  return block;
}

KeyAssignments EncodeKeyAssignments(const DeviceConfig& config) {
  return {
      .keyConfigA = EncodeKeyConfig(config, KeyConfigId::A),
      .keyConfigB = EncodeKeyConfig(config, KeyConfigId::B),
      .mediaUsageTable = MediaUsageTableBytes(),
      .shortcutTable = ShortcutTableBytes(),
  };
}

}  // namespace q8
