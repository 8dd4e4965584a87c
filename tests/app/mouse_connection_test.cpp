#include "app/mouse_connection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/device_change.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace q8 {
namespace {

using ::testing::HasSubstr;

std::optional<MouseOptions> Parse(std::vector<std::string> args, std::string& error) {
  return ParseMouseOptions(args, error);
}

TEST(MouseOptionsTest, TakesSimulateWithOrWithoutAFileAndATraceNothingElse) {
  std::string error;
  auto plain = Parse({}, error);
  ASSERT_TRUE(plain);
  EXPECT_FALSE(plain->simulate);

  auto full = Parse({"--simulate=state.bin", "--trace=wire.txt"}, error);
  ASSERT_TRUE(full);
  EXPECT_TRUE(full->simulate);
  EXPECT_EQ(full->stateFile, std::filesystem::path("state.bin"));
  EXPECT_EQ(full->traceFile, std::filesystem::path("wire.txt"));
  EXPECT_FALSE(Parse({"--simulate"}, error)->stateFile);

  // A bare --simulate gets the mouse shared with the settings' folder; a named file and the
  // system's bus are left alone.
  const std::filesystem::path folder = "settings";
  for (auto [args, expected] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--simulate"}, "settings/simulated-mouse.bin"},
           {{"--simulate=state.bin"}, "state.bin"},
           {{}, ""}}) {
    auto options = Parse(args, error);
    UseDefaultSimulatedMouse(*options, folder);
    EXPECT_EQ(options->stateFile.value_or(""), std::filesystem::path(expected));
  }

  for (const char* bad : {"--simulate=", "--trace=", "--simulated", "--trace", "apply"}) {
    error.clear();
    EXPECT_FALSE(Parse({bad}, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

TEST(MouseConnectionTest, SimulatedMouseKeepsItsStateFileAndTheTraceFollowsNewChannels) {
  test::TempDir dir;
  std::string error;
  MouseOptions options;
  options.simulate = true;
  options.stateFile = dir / "mouse.bin";
  options.traceFile = dir / "wire.txt";
  MouseConnection connection;
  ASSERT_TRUE(connection.Open(options, nullptr, error)) << error;
  EXPECT_EQ(std::filesystem::file_size(dir / "mouse.bin"), 322u);

  test::RecordingMessageSink messages;
  DeviceState device;
  // Two searches in a row: the trace follows the channels of the second.
  for (int search = 0; search < 2; ++search) {
    ASSERT_TRUE(FindMouse(connection.Bus(), messages, connection.Link()));
    device.ResetForDiscovery();
    device.status.reportRateCode = 4;
    WriteOperation(connection.Ports(messages, "absent"), device);
  }
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_FALSE(connection.StateSaveError());
  EXPECT_EQ(test::ReadBytes(dir / "mouse.bin")[0], 4);
  const std::string trace = test::ReadText(dir / "wire.txt");
  EXPECT_THAT(trace, HasSubstr("set short 01"));
  EXPECT_THAT(trace, HasSubstr("wait 20"));

  options.traceFile = dir / "no such folder" / "wire.txt";
  MouseConnection broken;
  EXPECT_FALSE(broken.Open(options, nullptr, error));
  EXPECT_THAT(error, HasSubstr("trace"));
}

}  // namespace
}  // namespace q8
