#include <gtest/gtest.h>

#include "model/ui_text.h"
#include "settings/config_file.h"
#include "settings/str_ini.h"
#include "support/fakes.h"

namespace q8 {
namespace {

// The files that ship beside the executable, read the way the tool reads them.
TEST(DeliveredFilesTest, ConfigBinIsASensibleFactoryRecordNotYetSavedByTheTool) {
  test::RecordingMessageSink messages;
  SettingsRecord settings;
  LoadConfigFile(std::filesystem::path(Q8_DATA_DIR) / "config.bin", settings, messages);
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(settings.firstRunFlag, 0);  // the first page build writes the default captions
  const DeviceConfig& config = settings.deviceConfig;
  EXPECT_EQ(config[field::ReportRateCode], 1);
  for (std::size_t stage = 1; stage <= 6; ++stage) {
    EXPECT_EQ(config.Stage(field::DpiStageEnabled, stage), 1) << stage;
    // Every stage level exists on all sensors with levels (8 or 12 of them).
    EXPECT_LT(config.Stage(field::DpiStageLevel, stage), 8) << stage;
  }
  EXPECT_EQ(config.Button(field::KeyFunction, KeyConfigId::B, 8), 12);  // Key Off
}

TEST(DeliveredFilesTest, StrIniSelectsEnglishTheDefaultSkinAndWhiteCaptions) {
  const auto path = std::filesystem::path(Q8_DATA_DIR) / "str.ini";
  EXPECT_EQ(SelectLanguage(ReadLanguageCode(path)), UiLanguage::EN);
  const StrIniSettings settings = ReadStrIniSettings(path, "Setting-EN");
  EXPECT_EQ(settings.skinName, "Default");
  EXPECT_EQ(SkinColorBytes(settings), (ColorBytes{255, 255, 255}));
}

}  // namespace
}  // namespace q8
