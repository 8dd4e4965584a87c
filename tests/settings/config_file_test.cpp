#include "settings/config_file.h"

#include <gtest/gtest.h>

#include <numeric>

#include "support/fakes.h"
#include "support/temp_dir.h"

namespace q8 {
namespace {

using test::Message;

std::vector<std::uint8_t> CountingFile(std::size_t size, std::uint8_t flag = 0) {
  std::vector<std::uint8_t> bytes(size);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{7});
  if (!bytes.empty()) {
    bytes[0] = flag;
  }
  return bytes;
}

class ConfigFileTest : public ::testing::Test {
 protected:
  std::filesystem::path Path() const { return dir / "config.bin"; }

  test::TempDir dir;
  test::RecordingMessageSink messages;
  SettingsRecord settings;
};

TEST_F(ConfigFileTest, RecordFieldsSitAtTheirFileOffsets) {
  // File offset = record offset + 1; per-button arrays are Mode A buttons 1..8, then Mode B.
  test::WriteBytes(Path(), CountingFile(220));
  LoadConfigFile(Path(), settings, messages);
  const DeviceConfig& config = settings.deviceConfig;
  const auto fileByte = [](std::size_t offset) { return static_cast<std::uint8_t>(offset + 7); };
  EXPECT_EQ(config[field::ReportRateCode], fileByte(6));
  EXPECT_EQ(config.Stage(field::DpiStageLevel, 1), fileByte(8));
  EXPECT_EQ(config.Stage(field::DpiStageEnabled, 8), fileByte(23));
  EXPECT_EQ(config.StageColor(2)[0], fileByte(27));
  EXPECT_EQ(config.StageColor(8)[2], fileByte(47));
  EXPECT_EQ(config[field::LightingMode], fileByte(48));
  EXPECT_EQ(config[field::NeonEffect], fileByte(54));
  EXPECT_EQ(config[field::ActiveKeyConfig], fileByte(56));
  EXPECT_EQ(config[field::SnipeDpiCode], fileByte(59));
  EXPECT_EQ(config.Button(field::KeyFunction, KeyConfigId::A, 1), fileByte(60));
  EXPECT_EQ(config.Button(field::KeyFunction, KeyConfigId::B, 1), fileByte(68));
  EXPECT_EQ(config.Button(field::HotKeyIndex, KeyConfigId::B, 8), fileByte(123));
  EXPECT_EQ(config.Button(field::FireTimes, KeyConfigId::A, 3), fileByte(190));
  EXPECT_EQ(config.Button(field::DpiSwitchCode, KeyConfigId::B, 8), fileByte(219));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ConfigFileTest, OnlyAFileOfExactly220BytesIsLoadedAndNothingIsSaid) {
  for (std::size_t size : {0, 1, 219, 221, 440}) {
    test::WriteBytes(Path(), CountingFile(size, 1));
    SettingsRecord record;
    LoadConfigFile(Path(), record, messages);
    EXPECT_EQ(record.firstRunFlag, 0) << size;
    EXPECT_EQ(record.deviceConfig, DeviceConfig{}) << size;
  }
  EXPECT_TRUE(messages.messages.empty());

  test::WriteBytes(Path(), CountingFile(220, 1));
  LoadConfigFile(Path(), settings, messages);
  EXPECT_EQ(settings.firstRunFlag, 1);
  EXPECT_EQ(settings.deviceConfig.Bytes()[0], 8);
  EXPECT_EQ(settings.deviceConfig.Bytes()[218], static_cast<std::uint8_t>(219 + 7));
}

TEST_F(ConfigFileTest, MissingFileIsReportedOnLoadAndNeverCreatedOnSave) {
  LoadConfigFile(Path(), settings, messages);
  EXPECT_EQ(settings.firstRunFlag, 0);
  EXPECT_FALSE(SaveConfigFile(Path(), settings.deviceConfig, messages));
  EXPECT_FALSE(std::filesystem::exists(Path()));
  const Message missing{"Config file is not exist.", "TarnixMouseApp"};
  EXPECT_EQ(messages.messages, (std::vector<Message>{missing, missing}));
}

TEST_F(ConfigFileTest, SaveWritesFlagOneAndTheRecordKeepingReservedBytes) {
  test::WriteBytes(Path(), CountingFile(220, 0));
  LoadConfigFile(Path(), settings, messages);
  settings.deviceConfig[field::LightingMode] = 2;

  ASSERT_TRUE(SaveConfigFile(Path(), settings.deviceConfig, messages));

  const auto saved = test::ReadBytes(Path());
  auto expected = CountingFile(220, 1);
  expected[48] = 2;
  EXPECT_EQ(saved, expected);  // reserved bytes 1..5, 7 and 55 among the unchanged ones
  EXPECT_TRUE(messages.messages.empty());
  // Nothing is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(ConfigFileTest, UnwritableFileIsReportedWithTheErrorCodeAndNothingChanges) {
  // A folder named config.bin exists but cannot be replaced by a file.
  std::filesystem::create_directory(Path());
  EXPECT_FALSE(SaveConfigFile(Path(), settings.deviceConfig, messages));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].caption, "NULL ==fp ");
  EXPECT_TRUE(messages.messages[0].text.starts_with("Error Code is: "));
  EXPECT_TRUE(messages.messages[0].text.ends_with(" \n"));
  EXPECT_NE(messages.messages[0].text, "Error Code is: 0 \n");
  EXPECT_TRUE(std::filesystem::is_directory(Path()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(DataFilePathsTest, DataFilesLiveBesideTheExecutable) {
  const auto paths = DataFilePathsFor(std::filesystem::path("/opt/q8") / "TarnixMouseApp.exe");
  EXPECT_EQ(paths.configBin, std::filesystem::path("/opt/q8") / "config.bin");
  EXPECT_EQ(paths.strIni, std::filesystem::path("/opt/q8") / "str.ini");
}

}  // namespace
}  // namespace q8
