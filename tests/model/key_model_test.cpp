#include "model/key_model.h"

#include <gtest/gtest.h>

#include <numeric>

#include "model/key_tables.h"

namespace q8 {
namespace {

using Block = KeyConfigBlock;

// A record whose every byte differs from its neighbours, so a field read from the wrong place or
// a default that touches too much shows up.
DeviceConfig NoisyConfig() {
  DeviceConfig config;
  std::iota(config.Bytes().begin(), config.Bytes().end(), std::uint8_t{0x21});
  return config;
}

void Assign(DeviceConfig& config, KeyConfigId keyConfig, std::size_t button,
            KeyFunctionCode function) {
  config.Button(field::KeyFunction, keyConfig, button) = static_cast<std::uint8_t>(function);
}

TEST(KeyModelTest, DefaultLayoutEncodesTheFactoryBlocksAndKeepsOtherParameters) {
  DeviceConfig config = NoisyConfig();
  const DeviceConfig before = config;
  ApplyDefaultKeyLayout(config);

  const KeyAssignments keys = EncodeKeyAssignments(config);
  EXPECT_EQ(keys.keyConfigA,
            (Block{0xF0, 0, 0xF1, 0, 0xF2, 0, 0xF3, 0, 0xF4, 0, 0x03, 0x03, 0x04, 0x03, 0, 0}));
  EXPECT_EQ(keys.keyConfigB,
            (Block{0xF0, 0, 0xF1, 0, 0xF2, 0, 0xF4, 0, 0xF3, 0, 0x03, 0x03, 0x04, 0x03, 0, 0}));

  // Only the functions and the DPI switch codes of buttons 4 and 5 change.
  for (const KeyConfigId keyConfig : {KeyConfigId::A, KeyConfigId::B}) {
    for (std::size_t button = 1; button <= kButtonCount; ++button) {
      const bool switches = button == 4 || button == 5;
      EXPECT_EQ(config.Button(field::DpiSwitchCode, keyConfig, button),
                switches ? button - 1 : before.Button(field::DpiSwitchCode, keyConfig, button))
          << "button " << button;
      config.Button(field::KeyFunction, keyConfig, button) =
          before.Button(field::KeyFunction, keyConfig, button);
      config.Button(field::DpiSwitchCode, keyConfig, button) =
          before.Button(field::DpiSwitchCode, keyConfig, button);
    }
  }
  EXPECT_EQ(config, before);
}

// Each button gets its own key, so the block shows which slot each button landed in.
TEST(KeyModelTest, ButtonsSixAndSevenTakeDifferentSlotsInTheTwoConfigurations) {
  DeviceConfig config = NoisyConfig();
  for (const KeyConfigId keyConfig : {KeyConfigId::A, KeyConfigId::B}) {
    for (std::size_t button = 1; button <= kButtonCount; ++button) {
      Assign(config, keyConfig, button, KeyFunctionCode::SingleKey);
      config.Button(field::SingleKeyUsage, keyConfig, button) =
          static_cast<std::uint8_t>(0x10 * static_cast<unsigned>(keyConfig) + button);
    }
  }
  const KeyAssignments keys = EncodeKeyAssignments(config);
  EXPECT_EQ(keys.keyConfigA, (Block{1, 0, 2, 0, 3, 0, 7, 0, 6, 0, 4, 0, 5, 0, 8, 0}));
  EXPECT_EQ(keys.keyConfigB,
            (Block{0x11, 0, 0x12, 0, 0x13, 0, 0x16, 0, 0x17, 0, 0x14, 0, 0x15, 0, 0x18, 0}));
}

KeySlotCode SlotOf(DeviceConfig config, KeyFunctionCode function) {
  Assign(config, KeyConfigId::B, 2, function);
  return KeySlotCodeOf(config, KeyConfigId::B, 2);
}

TEST(KeyModelTest, ParametersReachTheSlotOfTheirFunction) {
  DeviceConfig config = NoisyConfig();
  auto param = [&](ButtonField f) -> std::uint8_t& { return config.Button(f, KeyConfigId::B, 2); };
  param(field::LaunchKeyIndex) = 8;  // the last launch entry
  param(field::MediaKeyIndex) = 6;
  param(field::HotKeyIndex) = 7;  // the last shortcut preset
  param(field::DpiSwitchCode) = kDpiLoop;
  param(field::SingleKeyUsage) = 0x2C;
  param(field::FireKeyUsage) = FireKeyIndexToUsage(44);  // R-CTRL
  param(field::FireTimes) = 3;

  EXPECT_EQ(SlotOf(config, KeyFunctionCode::Windows), (KeySlotCode{15, 2}));
  EXPECT_EQ(SlotOf(config, KeyFunctionCode::Multimedia), (KeySlotCode{6, 2}));
  EXPECT_EQ(SlotOf(config, KeyFunctionCode::HotKey), (KeySlotCode{23, 2}));
  EXPECT_EQ(SlotOf(config, KeyFunctionCode::DpiSwitch), (KeySlotCode{5, 3}));
  EXPECT_EQ(SlotOf(config, KeyFunctionCode::SingleKey), (KeySlotCode{0x2C, 0}));
  EXPECT_EQ(SlotOf(config, KeyFunctionCode::FireKey), (KeySlotCode{0xE4, 0x83}));
  EXPECT_EQ(SlotOf(config, KeyFunctionCode::SnipeKey), (KeySlotCode{0x0A, 3}));
  EXPECT_EQ(SlotOf(config, KeyFunctionCode::Shift), (KeySlotCode{0x06, 3}));
  EXPECT_EQ(SlotOf(config, KeyFunctionCode::KeyOff), (KeySlotCode{0, 0}));
  // The same parameters of the other configuration are not read.
  EXPECT_NE(config.Button(field::LaunchKeyIndex, KeyConfigId::A, 2), 8);

  // Launch and shortcut codes index the tables the mouse holds: the last launch entry is the
  // last media usage, the last preset Ctrl+Z.
  EXPECT_EQ(MediaUsageTable[SlotOf(config, KeyFunctionCode::Windows).code], 0x0227);
  EXPECT_EQ(ShortcutTable[SlotOf(config, KeyFunctionCode::HotKey).code - 16].key, 0x1D);
}

TEST(KeyModelTest, FireCountsSpanTheTypeByteAndUnknownFunctionsSendNothing) {
  DeviceConfig config = NoisyConfig();
  config.Button(field::FireTimes, KeyConfigId::B, 2) = 0;
  EXPECT_EQ(SlotOf(config, KeyFunctionCode::FireKey).type, 0x80);
  config.Button(field::FireTimes, KeyConfigId::B, 2) = 127;
  EXPECT_EQ(SlotOf(config, KeyFunctionCode::FireKey).type, 0xFF);

  for (const std::uint8_t foreign : {14, 0x80, 0xFF}) {
    EXPECT_EQ(SlotOf(config, static_cast<KeyFunctionCode>(foreign)), (KeySlotCode{0, 0}))
        << "function " << unsigned{foreign};
  }
}

TEST(KeyModelTest, FireKeyIndexesGiveTheirKeyAndNothingPastTheList) {
  EXPECT_EQ(FireKeyIndexToUsage(0), 0xF0);
  EXPECT_EQ(FireKeyIndexToUsage(3), 0xF3);  // B4-Button: back
  EXPECT_EQ(FireKeyIndexToUsage(4), 0xF4);  // B5-Button: forward
  EXPECT_EQ(FireKeyIndexToUsage(5), 0x04);
  EXPECT_EQ(FireKeyIndexToUsage(30), 0x1D);
  EXPECT_EQ(FireKeyIndexToUsage(39), 0x26);
  EXPECT_EQ(FireKeyIndexToUsage(40), 0x27);
  EXPECT_EQ(FireKeyIndexToUsage(43), 0xE2);  // L-ALT
  EXPECT_EQ(FireKeyIndexToUsage(44), 0xE4);  // R-CTRL skips the left Windows key
  EXPECT_EQ(FireKeyIndexToUsage(46), 0xE6);
  EXPECT_EQ(FireKeyIndexToUsage(58), 0x45);
  EXPECT_EQ(FireKeyIndexToUsage(59), 0);
  EXPECT_EQ(FireKeyIndexToUsage(255), 0);
  EXPECT_EQ(FireKeyList[44].name, "R-CTRL");
  EXPECT_EQ(FireKeyList[58].name, "F12");
}

TEST(KeyModelTest, ConstantTablesTravelLowByteFirst) {
  const KeyAssignments keys = EncodeKeyAssignments(DeviceConfig{});
  const std::array<std::uint8_t, 32> media{0xB5, 0x00, 0xB6, 0x00, 0xB7, 0x00, 0xCD, 0x00,
                                           0xE2, 0x00, 0xE9, 0x00, 0xEA, 0x00, 0x83, 0x01,
                                           0x8A, 0x01, 0x92, 0x01, 0x94, 0x01, 0x21, 0x02,
                                           0x23, 0x02, 0x24, 0x02, 0x25, 0x02, 0x27, 0x02};
  const std::array<std::uint8_t, 16> shortcuts{0xE0, 0x06, 0xE0, 0x1B, 0xE0, 0x19, 0xE0, 0x04,
                                               0xE0, 0x12, 0xE0, 0x11, 0xE0, 0x16, 0xE0, 0x1D};
  EXPECT_EQ(keys.mediaUsageTable, media);
  EXPECT_EQ(keys.shortcutTable, shortcuts);
}

}  // namespace
}  // namespace q8
