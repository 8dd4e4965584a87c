#include "app/apply_settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/find_mouse.h"
#include "device/simulated_hid_bus.h"
#include "device/simulated_mouse.h"
#include "model/key_model.h"
#include "support/fake_channel.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "support/traced_ports.h"

namespace q8 {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// A mouse read as start-up reads it, a config.bin on disk, and a record with hand-picked values.
class ApplySettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device.ResetForDiscovery();
    ReadOperation(Ports(mouse.ShortChannel(), mouse.PageChannel()), device);
    ASSERT_TRUE(messages.messages.empty());
    test::WriteBytes(configBin, std::vector<std::uint8_t>(220, 0));

    DeviceConfig& config = settings.deviceConfig;
    config.Bytes()[0] = 0xA1;           // reserved bytes travel to disk untouched
    config[field::ReportRateCode] = 4;  // 250 Hz
    config[field::LightingMode] = 2;    // Respiration
    config[field::LightingSpeed] = 3;
    config[field::LightingEffect] = 2;  // RGB Flash
    const std::array<std::uint8_t, 8> levels{1, 2, 3, 4, 5, 7, 0, 0};
    const std::array<std::uint8_t, 8> enabled{1, 1, 1, 1, 0, 1, 0, 0};
    for (std::size_t stage = 1; stage <= 8; ++stage) {
      config.Stage(field::DpiStageLevel, stage) = levels[stage - 1];
      config.Stage(field::DpiStageEnabled, stage) = enabled[stage - 1];
      config.StageColor(stage)[0] = static_cast<std::uint8_t>(stage);
    }
    config[field::FireMakeTime] = 30;
    config[field::FireBreakTime] = 40;
    config[field::SnipeDpiCode] = 0x02;
    ApplyDefaultKeyLayout(config);
    // Mode B, button 2: fire key R-CTRL three times.
    config.Button(field::KeyFunction, KeyConfigId::B, 2) = 9;
    config.Button(field::FireKeyUsage, KeyConfigId::B, 2) = 0xE4;
    config.Button(field::FireTimes, KeyConfigId::B, 2) = 3;
  }

  ProtocolPorts Ports(FeatureChannel& shortChannel, FeatureChannel& pageChannel) {
    return {shortChannel, pageChannel, sleeper, messages, "not detected"};
  }

  test::TempDir dir;
  std::filesystem::path configBin = dir / "config.bin";
  SimulatedMouse mouse;
  test::RecordingSleeper sleeper;
  test::RecordingMessageSink messages;
  DeviceState device;
  SettingsRecord settings;
};

TEST_F(ApplySettingsTest, MouseAndDiskReceiveTheSettings) {
  const DeviceImage before = mouse.Memory().image;
  bool captionsSaved = false;
  ApplySettings(Ports(mouse.ShortChannel(), mouse.PageChannel()), device, settings, configBin, [&] {
    // Captions come last, after config.bin is on disk.
    EXPECT_EQ(test::ReadBytes(configBin)[0], 1);
    captionsSaved = true;
  });

  EXPECT_TRUE(messages.messages.empty());
  EXPECT_TRUE(captionsSaved);
  // Status: the report rate of the record, the DPI stage the mouse reported (2).
  EXPECT_EQ(mouse.Memory().status, (DeviceStatus{4, 2}));
  const DeviceImage& image = mouse.Memory().image;
  // Lighting, respiration with RGB Flash: bytes 7..12 of page 4.
  EXPECT_THAT(std::span(image.Page(4)).subspan(7, 6), ElementsAre(2, 0x7D, 3, 2, 3, 3));
  // Stage count, fire times, snipe code and the DPI codes of sensor variant 3: levels 1..5 and 7
  // are 0x02..0x06 and 0x08; stage 5 and stages 7 and 8 are off.
  EXPECT_EQ(image.At(4, 6), 6);
  EXPECT_EQ(image.At(4, 14), 30);
  EXPECT_EQ(image.At(4, 15), 40);
  EXPECT_EQ(image.At(4, 23), 0x02);
  EXPECT_THAT(std::span(image.Page(4)).subspan(24, 8),
              ElementsAre(0x02, 0x03, 0x04, 0x05, 0x86, 0x08, 0x81, 0x81));
  EXPECT_EQ(image.At(5, 24), 1);
  EXPECT_EQ(image.At(5, 45), 8);
  EXPECT_THAT(std::span(image.Page(3)).subspan(0, 16),
              ElementsAre(0xF0, 0, 0xF1, 0, 0xF2, 0, 0xF3, 0, 0xF4, 0, 3, 3, 4, 3, 0, 0));
  EXPECT_THAT(std::span(image.Page(3)).subspan(32, 16),
              ElementsAre(0xF0, 0, 0xE4, 0x83, 0xF2, 0, 0xF4, 0, 0xF3, 0, 3, 3, 4, 3, 0, 0));
  // What the tool does not interpret comes back as it was read.
  EXPECT_EQ(image.Page(1)[17], before.Page(1)[17]);
  EXPECT_THAT(image.Page(2), ElementsAreArray(before.Page(2)));
  EXPECT_EQ(image.At(4, 1), 3);
  EXPECT_THAT(std::span(image.Page(4)).subspan(32), ElementsAreArray(before.Page(4).subspan(32)));

  const auto saved = test::ReadBytes(configBin);
  ASSERT_EQ(saved.size(), 220u);
  EXPECT_EQ(saved[0], 1);
  EXPECT_EQ(saved[1], 0xA1);
  EXPECT_TRUE(std::equal(saved.begin() + 1, saved.end(), settings.deviceConfig.Bytes().begin()));
}

TEST_F(ApplySettingsTest, ReportsAndWaitsGoInProtocolOrder) {
  test::TracedPorts traced(mouse.ShortChannel(), mouse.PageChannel(), sleeper);

  ApplySettings(traced.Ports(messages), device, settings, configBin);

  std::vector<std::string> expected{"set short", "get short",  // GetDPIStage
                                    "set short", "get short",  // WriteOperation's check
                                    "set short", "wait 20"};   // status set
  for (int page = 0; page < 5; ++page) {
    expected.insert(expected.end(), {"set short", "get short", "set page", "wait 100"});
  }
  EXPECT_EQ(traced.Events(), expected);
  // The status set carries 250 Hz (code 4) and the stage read from the mouse (2), scrambled.
  EXPECT_EQ(traced.Lines()[4], "set short 01 78 01 71 68 06 44 e7");
}

TEST_F(ApplySettingsTest, SilentMouseGivesBothMessagesAndTheSettingsAreStillSaved) {
  test::ScriptedChannel deadShort;
  test::ScriptedChannel deadPage;
  bool captionsSaved = false;
  ApplySettings(Ports(deadShort, deadPage), device, settings, configBin,
                [&] { captionsSaved = true; });

  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_EQ(messages.messages[0], (test::Message{"not detected", "GetDPIStage"}));
  EXPECT_EQ(messages.messages[1], (test::Message{"not detected", "WriteOperation"}));
  EXPECT_TRUE(deadPage.sent.empty());
  EXPECT_EQ(test::ReadBytes(configBin)[0], 1);
  EXPECT_TRUE(captionsSaved);
}

TEST_F(ApplySettingsTest, MissingConfigBinIsReportedAfterTheMouseIsWritten) {
  std::filesystem::remove(configBin);
  ApplySettings(Ports(mouse.ShortChannel(), mouse.PageChannel()), device, settings, configBin);
  EXPECT_EQ(mouse.Memory().status.reportRateCode, 4);
  EXPECT_EQ(messages.messages,
            (std::vector<test::Message>{{"Config file is not exist.", "TarnixMouseApp"}}));
  EXPECT_FALSE(std::filesystem::exists(configBin));
}

TEST_F(ApplySettingsTest, ApplyingTwiceWritesTheSameBytes) {
  ApplySettings(Ports(mouse.ShortChannel(), mouse.PageChannel()), device, settings, configBin);
  const SimulatedMouseMemory first = mouse.Memory();
  ApplySettings(Ports(mouse.ShortChannel(), mouse.PageChannel()), device, settings, configBin);
  EXPECT_EQ(mouse.Memory(), first);
}

// Another program's load between this one's write and its saves would leave the mouse holding one
// profile and the files another: the saves are made before the mouse is let go, and it is taken
// once for the whole load. A mouse that went away is no load written whole.
TEST_F(ApplySettingsTest, AProfileLoadSavesItsFilesBeforeTheMouseIsLetGo) {
  SimulatedHidBus bus(mouse);
  MouseConnection connection;
  connection.UseBus(bus, sleeper);
  ASSERT_TRUE(FindMouse(bus, messages, connection.Link()));
  const Profile profile{settings.deviceConfig, "Setting-EN", {"Profile caption"}};
  const ProfileTargetFiles files{configBin, dir / "str.ini", "Setting-EN"};
  int takes = 0;
  std::vector<std::uint8_t> configAtRelease;
  ButtonCaptions captionsAtRelease;
  mouse.OnLock([&] { ++takes; },
               [&] {
                 configAtRelease = test::ReadBytes(configBin);
                 captionsAtRelease = ReadStrIniSettings(files.strIni, "Setting-EN").captions;
               });
  SettingsRecord loaded;
  ButtonCaptions captions;
  EXPECT_TRUE(LoadProfileIntoMouse(connection, messages, messages, "not detected", device, loaded,
                                   captions, profile, files)
                  .mouseWhole);
  EXPECT_EQ(takes, 1);
  ASSERT_EQ(configAtRelease.size(), 220u);
  EXPECT_TRUE(std::equal(configAtRelease.begin() + 1, configAtRelease.end(),
                         profile.config.Bytes().begin()));
  EXPECT_EQ(captionsAtRelease, profile.captions);
  EXPECT_EQ(captions, profile.captions);

  bus.SetPlugged(false);
  EXPECT_FALSE(LoadProfileIntoMouse(connection, messages, messages, "not detected", device, loaded,
                                    captions, profile, files)
                   .mouseWhole);
}

}  // namespace
}  // namespace q8
