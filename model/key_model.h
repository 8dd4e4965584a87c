#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "model/ui_text.h"
#include "settings/device_config.h"

namespace q8 {

// What a button does: the value of its `KeyFunction` byte. Each function reads its own parameter
// fields of the record (named beside it); the others are ignored.
enum class KeyFunctionCode : std::uint8_t {
  LeftClick = 0,
  RightClick = 1,
  MidClick = 2,
  Forward = 3,
  Backward = 4,
  DpiSwitch = 5,   // DpiSwitchCode
  Windows = 6,     // LaunchKeyIndex
  Multimedia = 7,  // MediaKeyIndex
  HotKey = 8,      // HotKeyIndex
  FireKey = 9,     // FireKeyUsage, FireTimes and the shared FireMakeTime, FireBreakTime
  SingleKey = 10,  // SingleKeyUsage
  SnipeKey = 11,   // the shared SnipeDpiCode
  KeyOff = 12,
  Shift = 13,  // always set in both configurations at once
};
inline constexpr std::size_t kKeyFunctionCount = 14;

// The name of each function, in function-code order: entry i names function i.
inline constexpr std::array<UiTextKey, kKeyFunctionCount> kKeyFunctionNames{
    UiTextKey::FnLeftClick, UiTextKey::FnRightClick, UiTextKey::FnMidClick,
    UiTextKey::FnForward,   UiTextKey::FnBackward,   UiTextKey::FnDpiSwitch,
    UiTextKey::FnWindows,   UiTextKey::FnMultimedia, UiTextKey::FnHotKey,
    UiTextKey::FnFireKey,   UiTextKey::FnSingleKey,  UiTextKey::FnSnipeKey,
    UiTextKey::FnKeyOff,    UiTextKey::FnShift};

// Values of `DpiSwitchCode`.
inline constexpr std::uint8_t kDpiPlus = 3;
inline constexpr std::uint8_t kDpiMinus = 4;
inline constexpr std::uint8_t kDpiLoop = 5;

// What the factory layout gives a button, the same in both configurations. A DPI switch code of 0
// leaves the button's `DpiSwitchCode` as it is.
struct DefaultKey {
  KeyFunctionCode function;
  std::uint8_t dpiSwitchCode;
};

inline constexpr std::array<DefaultKey, kButtonCount> DefaultKeyLayout{{
    {KeyFunctionCode::LeftClick, 0},
    {KeyFunctionCode::RightClick, 0},
    {KeyFunctionCode::MidClick, 0},
    {KeyFunctionCode::DpiSwitch, kDpiPlus},
    {KeyFunctionCode::DpiSwitch, kDpiMinus},
    {KeyFunctionCode::Forward, 0},
    {KeyFunctionCode::Backward, 0},
    {KeyFunctionCode::KeyOff, 0},
}};

// Puts the `DefaultKeyLayout` into both configurations; every other parameter keeps its value.
void ApplyDefaultKeyLayout(DeviceConfig& config);

// The device form of one button's function: a code byte and a type byte.
struct KeySlotCode {
  std::uint8_t code;
  std::uint8_t type;

  friend bool operator==(const KeySlotCode&, const KeySlotCode&) = default;
};

// Type bytes: a key or mouse button sent as is, an entry of the media or shortcut table, a
// function of the mouse itself (DPI switch, snipe, shift). A fire key's type is 0x80 plus its
// repetition count.
inline constexpr std::uint8_t kSlotTypeKey = 0x00;
inline constexpr std::uint8_t kSlotTypeTableEntry = 0x02;
inline constexpr std::uint8_t kSlotTypeDeviceFunction = 0x03;
inline constexpr std::uint8_t kSlotTypeFire = 0x80;

// Codes of the table-entry slots: launch entries follow the seven multimedia entries in the
// media table, and the shortcut presets follow the media table.
inline constexpr std::uint8_t kLaunchCodeBase = 7;
inline constexpr std::uint8_t kShortcutCodeBase = 16;

// The slot of button b (index b - 1) in each configuration's block. The mouse expects buttons 6
// and 7 in swapped slots in the two configurations.
inline constexpr std::array<std::uint8_t, kButtonCount> KeyConfigASlots{0, 1, 2, 5, 6, 4, 3, 7};
inline constexpr std::array<std::uint8_t, kButtonCount> KeyConfigBSlots{0, 1, 2, 5, 6, 3, 4, 7};

// The slot code of button 1..8 of a configuration. A function code the model does not know
// (only a foreign config.bin holds one) gives the key-off slot 00 00.
KeySlotCode KeySlotCodeOf(const DeviceConfig& config, KeyConfigId keyConfig, std::size_t button);

// One configuration as the mouse stores it: eight slots, slot 0 first, code byte then type byte.
using KeyConfigBlock = std::array<std::uint8_t, 2 * kButtonCount>;

// Everything a key assignment sends: both configurations and the two constant tables the slots
// index.
struct KeyAssignments {
  KeyConfigBlock keyConfigA;
  KeyConfigBlock keyConfigB;
  std::array<std::uint8_t, 32> mediaUsageTable;
  std::array<std::uint8_t, 16> shortcutTable;
};

KeyConfigBlock EncodeKeyConfig(const DeviceConfig& config, KeyConfigId keyConfig);
KeyAssignments EncodeKeyAssignments(const DeviceConfig& config);

}  // namespace q8
