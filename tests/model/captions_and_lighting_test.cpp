#include <gtest/gtest.h>

#include "model/button_caption.h"
#include "model/key_model.h"
#include "model/lighting_settings.h"

namespace q8 {
namespace {

std::string CaptionOf(std::uint8_t function, ButtonField parameter, std::uint8_t value,
                      UiLanguage language = UiLanguage::EN) {
  DeviceConfig config;
  config.Button(field::KeyFunction, KeyConfigId::B, 6) = function;
  config.Button(parameter, KeyConfigId::B, 6) = value;
  return ButtonCaptionFor(config, KeyConfigId::B, 6, /*sensorVariant=*/3, language);
}

TEST(ButtonCaptionTest, DefaultLayoutShowsTheDefaultCaptions) {
  DeviceConfig config;
  ApplyDefaultKeyLayout(config);
  const std::array<std::string, 8> expected{"Left Click", "Right Click", "Mid Click", "DPI +",
                                            "DPI -",      "Forward",     "Backward",  "Key Off"};
  for (std::size_t button = 1; button <= 8; ++button) {
    EXPECT_EQ(ButtonCaptionFor(config, KeyConfigId::A, button, 3, UiLanguage::EN),
              expected[button - 1]);
  }
}

// The captions str.ini gets on the first build of the key page, in the key page's language.
TEST(ButtonCaptionTest, DefaultCaptionsFollowTheDefaultKeyLayout) {
  const ButtonCaptions english = DefaultButtonCaptions(UiLanguage::EN);
  const std::array<std::string, 8> layout{"Left Click", "Right Click", "Mid Click", "DPI +",
                                          "DPI -",      "Forward",     "Backward",  "Key Off"};
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(english[i], layout[i]);
    EXPECT_EQ(english[i + 8], layout[i]);
  }
  const ButtonCaptions traditional = DefaultButtonCaptions(UiLanguage::CHT);
  EXPECT_EQ(traditional[0], "左鍵");
  EXPECT_EQ(traditional[3], "DPI +");
  EXPECT_EQ(traditional[15], "按鍵關閉");
}

TEST(ButtonCaptionTest, FunctionsWithAParameterNameIt) {
  EXPECT_EQ(CaptionOf(5, field::DpiSwitchCode, 5), "DPI Loop");
  EXPECT_EQ(CaptionOf(6, field::LaunchKeyIndex, 2), "Calculator");
  EXPECT_EQ(CaptionOf(6, field::LaunchKeyIndex, 2, UiLanguage::CHT), "計算器");
  EXPECT_EQ(CaptionOf(7, field::MediaKeyIndex, 4), "Multimedia-Mute");
  EXPECT_EQ(CaptionOf(8, field::HotKeyIndex, 7), "Undo");
  EXPECT_EQ(CaptionOf(9, field::FireKeyIndex, 44), "Fire Key-R-CTRL");
  EXPECT_EQ(CaptionOf(10, field::SingleKeyUsage, 0x04), "Single Key-A");
  EXPECT_EQ(CaptionOf(11, field::SnipeDpiIndex, 1), "Snipe Key-800");
  EXPECT_EQ(CaptionOf(13, field::KeyFunction, 13, UiLanguage::EN), "Shift");
}

TEST(ButtonCaptionTest, ParametersOutsideTheirListsNameNothing) {
  EXPECT_EQ(CaptionOf(5, field::DpiSwitchCode, 6), "");
  EXPECT_EQ(CaptionOf(6, field::LaunchKeyIndex, 9), "");
  EXPECT_EQ(CaptionOf(7, field::MediaKeyIndex, 7), "Multimedia-");
  EXPECT_EQ(CaptionOf(9, field::FireKeyIndex, 59), "Fire Key-");
  EXPECT_EQ(CaptionOf(11, field::SnipeDpiIndex, 8), "Snipe Key-");  // variant 3 has 8 levels
  EXPECT_EQ(CaptionOf(14, field::KeyFunction, 14), "");
  EXPECT_EQ(CaptionOf(255, field::KeyFunction, 255), "");
}

TEST(LightingSettingsTest, NeonSpeedNamesCountHalfSeconds) {
  EXPECT_EQ(NeonSpeedName(0), "0.5S");
  EXPECT_EQ(NeonSpeedName(1), "1S");
  EXPECT_EQ(NeonSpeedName(2), "1.5S");
  EXPECT_EQ(NeonSpeedName(28), "14.5S");
  EXPECT_EQ(NeonSpeedName(29), "15S");
  EXPECT_EQ(NeonSpeedName(30), "");
}

TEST(LightingSettingsTest, PageTextsFollowTheStoredMode) {
  DeviceConfig config;
  config[field::LightingBrightness] = 9;
  config[field::LightingSpeed] = 4;
  config[field::LightingEffect] = 2;
  config[field::StandardEffect] = 1;
  config[field::NeonSpeed] = 2;
  config[field::NeonEffect] = 3;
  const auto texts = [&](std::uint8_t mode) {
    config[field::LightingMode] = mode;
    const LightingTexts t = LightingPageTexts(config, UiLanguage::EN);
    return std::array<std::string, 3>{t.mode, t.parameter, t.effect};
  };
  EXPECT_EQ(texts(0), (std::array<std::string, 3>{"Off", "", ""}));
  EXPECT_EQ(texts(1), (std::array<std::string, 3>{"Standard", "100%", "RGB Effect"}));
  EXPECT_EQ(texts(2), (std::array<std::string, 3>{"Respiration", "4S", "RGB Flash"}));
  EXPECT_EQ(texts(3), (std::array<std::string, 3>{"Neon", "1.5S", "RGB Fixed On"}));
  EXPECT_EQ(texts(4), (std::array<std::string, 3>{"", "", ""}));
  config[field::LightingBrightness] = 12;
  EXPECT_EQ(texts(1)[1], "");
}

TEST(LightingSettingsTest, CommitsStoreOnlyWhatTheModeUses) {
  DeviceConfig config;
  CommitLightingParam(config, 5);  // Off: the list offers nothing to store
  CommitLightingEffect(config, 1);
  EXPECT_EQ(config, DeviceConfig{});

  CommitLightingMode(config, LightingModeCode::Standard);
  CommitLightingParam(config, 5);
  CommitLightingEffect(config, 1);  // Standard has no effect list
  EXPECT_EQ(config[field::LightingBrightness], 5);
  EXPECT_EQ(config[field::LightingEffect], 0);

  CommitLightingMode(config, LightingModeCode::Respiration);
  CommitLightingParam(config, 3);
  CommitLightingEffect(config, 1);
  EXPECT_EQ(config[field::LightingMode], 2);
  EXPECT_EQ(config[field::LightingSpeed], 3);
  EXPECT_EQ(config[field::LightingBrightness], 5);
  EXPECT_EQ(config[field::LightingEffect], 2);  // RGB Flash
}

}  // namespace
}  // namespace q8
