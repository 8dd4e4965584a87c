#include "device/settings_encoding.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

#include "model/key_model.h"

namespace q8 {
namespace {

using Position = std::pair<std::size_t, std::size_t>;  // page, byte

// Every position the encoding may write, listed from the memory layout rather than from the code.
std::set<Position> EncodedPositions() {
  std::set<Position> positions;
  auto add = [&](std::size_t page, std::size_t first, std::size_t last) {
    for (std::size_t byte = first; byte <= last; ++byte) {
      positions.insert({page, byte});
    }
  };
  add(3, 0, 15);   // Mode A
  add(3, 32, 47);  // Mode B
  add(4, 6, 12);   // stage count; lighting 7..12 (byte 10 the mode)
  add(4, 14, 15);  // fire times
  add(4, 23, 31);  // snipe code, stage codes
  add(4, 32, 63);  // media table
  add(5, 24, 47);  // stage colours
  add(5, 48, 63);  // shortcut table
  positions.erase({4, 13});
  return positions;
}

// An image as if read from a mouse: every byte random, sensor variant chosen.
DeviceImage ReadImage(std::uint8_t sensorVariant, unsigned seed = 5) {
  std::mt19937 random(seed);
  DeviceImage image;
  for (auto& byte : image.Bytes()) {
    byte = static_cast<std::uint8_t>(random());
  }
  image.At(4, 1) = sensorVariant;
  return image;
}

// A record with settings in every encoded field: respiration with RGB flash (the lighting case
// that writes most), stage colours, levels, times, snipe and a mix of key functions.
DeviceConfig EditedConfig() {
  DeviceConfig config;
  ApplyDefaultKeyLayout(config);
  config[field::LightingMode] = 2;
  config[field::LightingEffect] = 2;
  config[field::LightingSpeed] = 9;
  config[field::FireMakeTime] = 33;
  config[field::FireBreakTime] = 44;
  config[field::SnipeDpiCode] = 0x03;
  for (std::size_t stage = 1; stage <= kDpiStageCount; ++stage) {
    config.Stage(field::DpiStageLevel, stage) = static_cast<std::uint8_t>(stage - 1);
    config.Stage(field::DpiStageEnabled, stage) = stage <= 6;
    const auto color = config.StageColor(stage);
    color[0] = static_cast<std::uint8_t>(stage);
    color[1] = static_cast<std::uint8_t>(0x10 + stage);
    color[2] = static_cast<std::uint8_t>(0x20 + stage);
  }
  config.Button(field::KeyFunction, KeyConfigId::A, 3) = 9;  // fire key
  config.Button(field::FireKeyUsage, KeyConfigId::A, 3) = 0xE4;
  config.Button(field::FireTimes, KeyConfigId::A, 3) = 3;
  config.Button(field::KeyFunction, KeyConfigId::B, 6) = 11;  // snipe
  return config;
}

void Encode(const DeviceConfig& config, DeviceImage& image) {
  EncodeConstantTables(image);
  EncodeDeviceConfig(config, image);
}

std::vector<std::uint8_t> Bytes(const DeviceImage& image, std::size_t page, std::size_t first,
                                std::size_t count) {
  const auto bytes = image.Page(page).subspan(first, count);
  return {bytes.begin(), bytes.end()};
}

TEST(SettingsEncodingTest, BytesOutsideTheEncodedPositionsKeepWhatWasRead) {
  const std::set<Position> encoded = EncodedPositions();
  for (const std::uint8_t variant : {0, 3, 7}) {
    const DeviceImage read = ReadImage(variant);
    DeviceImage image = read;
    Encode(EditedConfig(), image);
    for (std::size_t page = 1; page <= DeviceImage::kPageCount; ++page) {
      for (std::size_t byte = 0; byte < DeviceImage::kPageSize; ++byte) {
        if (!encoded.contains({page, byte})) {
          ASSERT_EQ(image.At(page, byte), read.At(page, byte))
              << "variant " << unsigned{variant} << " page " << page << " byte " << byte;
        }
      }
    }
  }
}

TEST(SettingsEncodingTest, TheHalvesWriteOnlyTheirOwnPositions) {
  const DeviceImage read = ReadImage(1);
  DeviceImage tablesOnly = read;
  EncodeConstantTables(tablesOnly);
  DeviceImage rest = read;
  EncodeDeviceConfig(EditedConfig(), rest);
  for (std::size_t page = 4; page <= 5; ++page) {
    const std::size_t first = page == 4 ? 32 : 48;
    for (std::size_t byte = 0; byte < DeviceImage::kPageSize; ++byte) {
      const bool table = byte >= first;
      EXPECT_EQ(rest.At(page, byte) == read.At(page, byte) || !table, true)
          << "the settings half wrote table byte " << byte << " of page " << page;
      EXPECT_EQ(tablesOnly.At(page, byte) == read.At(page, byte) || table, true)
          << "the table half wrote byte " << byte << " of page " << page;
    }
  }
  EXPECT_EQ(Bytes(tablesOnly, 4, 32, 4), (std::vector<std::uint8_t>{0xB5, 0x00, 0xB6, 0x00}));
  EXPECT_EQ(Bytes(tablesOnly, 4, 60, 4), (std::vector<std::uint8_t>{0x25, 0x02, 0x27, 0x02}));
  EXPECT_EQ(Bytes(tablesOnly, 5, 48, 2), (std::vector<std::uint8_t>{0xE0, 0x06}));
  EXPECT_EQ(Bytes(tablesOnly, 5, 62, 2), (std::vector<std::uint8_t>{0xE0, 0x1D}));
}

TEST(SettingsEncodingTest, SettingsLandInTheirPositions) {
  DeviceImage image = ReadImage(1);
  Encode(EditedConfig(), image);
  EXPECT_EQ(Bytes(image, 3, 0, 16),
            (std::vector<std::uint8_t>{0xF0, 0, 0xF1, 0, 0xE4, 0x83, 0xF3, 0, 0xF4, 0, 0x03, 0x03,
                                       0x04, 0x03, 0, 0}));
  EXPECT_EQ(Bytes(image, 3, 32, 16),
            (std::vector<std::uint8_t>{0xF0, 0, 0xF1, 0, 0xF2, 0, 0x0A, 0x03, 0xF3, 0, 0x03, 0x03,
                                       0x04, 0x03, 0, 0}));
  EXPECT_EQ(image.At(4, 6), 6);
  EXPECT_EQ(image.At(4, 14), 33);
  EXPECT_EQ(image.At(4, 15), 44);
  EXPECT_EQ(image.At(4, 23), 0x03);
  // Variant 1 levels 0..7; stages 7 and 8 are off.
  EXPECT_EQ(Bytes(image, 4, 24, 8),
            (std::vector<std::uint8_t>{0x01, 0x02, 0x03, 0x04, 0x05, 0x23, 0xA4, 0xA5}));
  EXPECT_EQ(Bytes(image, 5, 24, 6),
            (std::vector<std::uint8_t>{0x01, 0x11, 0x21, 0x02, 0x12, 0x22}));
  EXPECT_EQ(Bytes(image, 5, 45, 3), (std::vector<std::uint8_t>{0x08, 0x18, 0x28}));
}

TEST(SettingsEncodingTest, EncodingTwiceGivesTheSameImage) {
  DeviceImage image = ReadImage(2);
  Encode(EditedConfig(), image);
  const DeviceImage first = image;
  Encode(EditedConfig(), image);
  EXPECT_EQ(image, first);
}

// Lighting bytes 7, 8, 9, 11 and 12 after encoding a mode and effect over a read image.
struct LightingCase {
  std::uint8_t mode;
  std::uint8_t effect;
  std::array<int, 5> expected;  // bytes 7, 8, 9, 11, 12; -1: as read
};

TEST(SettingsEncodingTest, LightingWritesTheDetailsOfStandardAndRespirationOnly) {
  constexpr int kRead = -1;
  const LightingCase cases[] = {
      {0, 2, {kRead, kRead, kRead, kRead, kRead}},  // off
      {1, 2, {1, kRead, kRead, 4, 2}},              // standard: brightness
      {2, 1, {1, kRead, kRead, 9, 2}},              // respiration, RGB effect: speed
      {2, 2, {2, 0x7D, 3, 9, 3}},                   // respiration, RGB flash
      {2, 0, {kRead, kRead, kRead, 9, kRead}},      // respiration, unknown effects
      {2, 3, {kRead, kRead, kRead, 9, kRead}},
      {3, 2, {kRead, kRead, kRead, kRead, kRead}},  // neon
      {9, 1, {kRead, kRead, kRead, kRead, kRead}},
  };
  constexpr std::array<std::size_t, 5> kBytes{7, 8, 9, 11, 12};
  for (const LightingCase& c : cases) {
    DeviceConfig config = EditedConfig();
    config[field::LightingMode] = c.mode;
    config[field::LightingEffect] = c.effect;
    config[field::LightingBrightness] = 4;
    config[field::LightingSpeed] = 9;
    const DeviceImage read = ReadImage(0, 11);
    DeviceImage image = read;
    Encode(config, image);
    EXPECT_EQ(image.At(4, 10), c.mode);
    for (std::size_t i = 0; i < kBytes.size(); ++i) {
      const int expected = c.expected[i] == kRead ? read.At(4, kBytes[i]) : c.expected[i];
      EXPECT_EQ(image.At(4, kBytes[i]), expected) << "mode " << unsigned{c.mode} << " effect "
                                                  << unsigned{c.effect} << " byte " << kBytes[i];
    }
  }
}

// Stage codes on every sensor: the level's code, with the top bit set exactly when the stage's
// enable byte is 0, whatever the enable byte holds otherwise.
TEST(SettingsEncodingTest, StageCodesCarryTheLevelAndTheOffBit) {
  const std::array<std::uint8_t, 8> enabled{1, 0, 2, 0, 0xFF, 1, 0x80, 0};
  const std::array<std::uint8_t, 8> levels{0, 1, 2, 3, 4, 5, 6, 7};
  const std::array<std::array<std::uint8_t, 8>, 4> codes{{
      {0x01, 0x82, 0x03, 0x84, 0x05, 0x06, 0x07, 0x88},
      {0x01, 0x82, 0x03, 0x84, 0x05, 0x23, 0x24, 0xA5},
      {0x02, 0x84, 0x06, 0x88, 0x0A, 0x26, 0x28, 0xAA},
      {0x01, 0x82, 0x03, 0x84, 0x05, 0x06, 0x07, 0x88},
  }};
  DeviceConfig config = EditedConfig();
  for (std::size_t stage = 1; stage <= kDpiStageCount; ++stage) {
    config.Stage(field::DpiStageLevel, stage) = levels[stage - 1];
    config.Stage(field::DpiStageEnabled, stage) = enabled[stage - 1];
  }
  for (std::uint8_t variant = 0; variant < 4; ++variant) {
    DeviceImage image = ReadImage(variant);
    Encode(config, image);
    const auto expected = codes[variant];
    EXPECT_EQ(Bytes(image, 4, 24, 8), std::vector<std::uint8_t>(expected.begin(), expected.end()))
        << "variant " << unsigned{variant};
  }
  // Unknown sensors and levels past the table send code 0, still marked when off.
  const std::vector<std::uint8_t> none{0x00, 0x80, 0x00, 0x80, 0x00, 0x00, 0x00, 0x80};
  for (const std::uint8_t variant : {4, 5, 0xFF}) {
    DeviceImage image = ReadImage(variant);
    Encode(config, image);
    EXPECT_EQ(Bytes(image, 4, 24, 8), none) << "variant " << unsigned{variant};
  }
  for (std::size_t stage = 1; stage <= kDpiStageCount; ++stage) {
    config.Stage(field::DpiStageLevel, stage) = static_cast<std::uint8_t>(8 + stage);
  }
  DeviceImage image = ReadImage(1);
  Encode(config, image);
  EXPECT_EQ(Bytes(image, 4, 24, 8), none);
}

// Stage 3 at "2500" on the 12-level sensor.
TEST(SettingsEncodingTest, DisabledStageStillSendsItsLevel) {
  DeviceConfig config = EditedConfig();
  config.Stage(field::DpiStageLevel, 3) = 8;
  config.Stage(field::DpiStageEnabled, 3) = 1;
  DeviceImage image = ReadImage(0);
  Encode(config, image);
  EXPECT_EQ(image.At(4, 26), 0x25);
  config.Stage(field::DpiStageEnabled, 3) = 0;
  Encode(config, image);
  EXPECT_EQ(image.At(4, 26), 0xA5);
}

}  // namespace
}  // namespace q8
