#include "device/simulated_mouse.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "device/device_operations.h"
#include "device/mouse_state_file.h"
#include "device/report_scrambler.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "support/traced_ports.h"

namespace q8 {
namespace {

using ::testing::ElementsAre;

// The tool's real operations against the simulated mouse.
class SimulatedMouseTest : public ::testing::Test {
 protected:
  ProtocolPorts Ports(SimulatedMouse& target) {
    return {target.ShortChannel(), target.PageChannel(), sleeper, messages, "not detected"};
  }

  SimulatedMouse mouse;
  test::RecordingSleeper sleeper;
  test::RecordingMessageSink messages;
  DeviceState state;
};

TEST_F(SimulatedMouseTest, ReadOperationReadsTheWholeMemoryAndStatus) {
  state.ResetForDiscovery();
  ReadOperation(Ports(mouse), state);
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(state.status, mouse.Memory().status);
  EXPECT_EQ(state.image, mouse.Memory().image);
  EXPECT_EQ(SensorVariantOf(state.image), 3);
}

TEST_F(SimulatedMouseTest, WriteOperationStoresStatusAndEveryPage) {
  state.ResetForDiscovery();
  ReadOperation(Ports(mouse), state);
  state.status = {8, 5};
  for (std::size_t i = 0; i < DeviceImage::kSize; ++i) {
    state.image.Bytes()[i] = static_cast<std::uint8_t>(255 - i);
  }
  int changes = 0;
  mouse.OnChange([&](const SimulatedMouseMemory&) { ++changes; });

  WriteOperation(Ports(mouse), state);

  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(mouse.Memory().status, (DeviceStatus{8, 5}));
  EXPECT_EQ(mouse.Memory().image, state.image);
  EXPECT_EQ(changes, 6);  // the status set and five pages
}

TEST_F(SimulatedMouseTest, PlainTrafficIsNotUnderstood) {
  state.scrambleEnabled = false;  // the mouse always expects scrambled requests
  ReadOperation(Ports(mouse), state);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].caption, "ReadOperation");
}

// The device side, report by report.
FeatureReport Request(std::uint8_t command, std::uint8_t p = 0, std::uint8_t q = 0) {
  FeatureReport report = MakeShortReport(command, p, q);
  ReportScrambler::Scramble(ShortReportBody(report));
  return report;
}

FeatureReport Reply(SimulatedMouse& mouse) {
  FeatureReport report{};
  report[0] = 1;
  EXPECT_TRUE(mouse.ShortChannel().GetFeature(std::span(report).first(8)));
  ReportScrambler::Unscramble(ShortReportBody(report));
  return report;
}

TEST(SimulatedMouseProtocolTest, AnswersEveryRequestWithItsCommandAndTheStatus) {
  SimulatedMouse mouse;
  FeatureReport before{};
  EXPECT_FALSE(mouse.ShortChannel().GetFeature(std::span(before).first(8)));  // nothing asked

  ASSERT_TRUE(mouse.ShortChannel().SendFeature(ShortReportBytes(Request(0x83))));
  EXPECT_THAT(ShortReportBytes(Reply(mouse)), ElementsAre(1, 0xAA, 0xCC, 0xEE, 0xDD, 0x83, 1, 2));

  ASSERT_TRUE(mouse.ShortChannel().SendFeature(ShortReportBytes(Request(0x00, 4, 7))));
  EXPECT_EQ(mouse.Memory().status, (DeviceStatus{4, 7}));
  EXPECT_THAT(ShortReportBytes(Reply(mouse)), ElementsAre(1, 0xAA, 0xCC, 0xEE, 0xDD, 0x00, 4, 7));
}

TEST(SimulatedMouseProtocolTest, PageChannelMovesOnlyTheAnnouncedPage) {
  SimulatedMouse mouse;
  FeatureReport page{};
  EXPECT_FALSE(mouse.PageChannel().GetFeature(std::span(page).first(65)));  // no announce

  ASSERT_TRUE(mouse.ShortChannel().SendFeature(ShortReportBytes(Request(0x85))));
  ASSERT_TRUE(mouse.PageChannel().GetFeature(std::span(page).first(65)));
  ReportScrambler::UnscramblePayload(PageReportPayload(page));
  EXPECT_TRUE(std::equal(mouse.Memory().image.Page(5).begin(), mouse.Memory().image.Page(5).end(),
                         page.begin() + 1));
  EXPECT_FALSE(mouse.PageChannel().GetFeature(std::span(page).first(65)));  // one transfer only

  // A page sent without an announce of writing is ignored.
  FeatureReport write{};
  std::fill_n(write.begin() + 1, 64, 0x5A);
  ReportScrambler::ScramblePayload(PageReportPayload(write));
  EXPECT_FALSE(mouse.PageChannel().SendFeature(PageReportBytes(write)));
  EXPECT_NE(mouse.Memory().image.At(2, 10), 0x5A);

  ASSERT_TRUE(mouse.ShortChannel().SendFeature(ShortReportBytes(Request(0x02))));
  ASSERT_TRUE(mouse.PageChannel().SendFeature(PageReportBytes(write)));
  EXPECT_EQ(mouse.Memory().image.At(2, 10), 0x5A);
  EXPECT_EQ(mouse.Memory().image.At(1, 10), FactoryMouseMemory().image.At(1, 10));
}

TEST(SimulatedMouseProtocolTest, FactoryMemoryCarriesSensorAndConstantTables) {
  const DeviceImage& image = FactoryMouseMemory().image;
  EXPECT_EQ(SensorVariantOf(image), 3);
  EXPECT_EQ(image.At(4, 6), 6);
  EXPECT_THAT(std::span(image.Page(4)).subspan(32, 4), ElementsAre(0xB5, 0x00, 0xB6, 0x00));
  EXPECT_THAT(std::span(image.Page(5)).subspan(48, 4), ElementsAre(0xE0, 0x06, 0xE0, 0x1B));
}

// --- The wire trace ---------------------------------------------------------------------------

TEST_F(SimulatedMouseTest, TraceRecordsEveryReportAndDelayInOrder) {
  test::TracedPorts traced(mouse.ShortChannel(), mouse.PageChannel(), sleeper);
  state.ResetForDiscovery();

  ReadOperation(traced.Ports(messages), state);

  const std::vector<std::string> lines = traced.Lines();
  ASSERT_EQ(lines.size(), 2u + 5 * 4);
  // The status query exactly as it left: scrambled bytes 1..7 (worked out by hand).
  EXPECT_EQ(lines[0], "set short 01 78 01 71 68 46 46 e6");
  EXPECT_TRUE(lines[1].starts_with("get short 01 78 01 71 68 "));
  const std::regex shortReport("(set|get) short( [0-9a-f]{2}){8}");
  const std::regex pageReport("get page 00( [0-9a-f]{2}){64}");
  for (std::size_t page = 0; page < 5; ++page) {
    const std::size_t at = 2 + page * 4;
    EXPECT_TRUE(std::regex_match(lines[at], shortReport)) << lines[at];
    EXPECT_TRUE(lines[at].starts_with("set short")) << lines[at];
    EXPECT_TRUE(lines[at + 1].starts_with("get short")) << lines[at + 1];
    EXPECT_TRUE(std::regex_match(lines[at + 2], pageReport)) << lines[at + 2];
    EXPECT_EQ(lines[at + 3], "wait 100");
  }
  EXPECT_THAT(sleeper.delays, ElementsAre(100, 100, 100, 100, 100));  // still really slept
}

// --- The state file ---------------------------------------------------------------------------

TEST(MouseStateFileTest, MissingFileIsCreatedWithTheFactoryMemory) {
  test::TempDir dir;
  std::string error;
  const auto memory = LoadOrCreateMouseStateFile(dir / "mouse.bin", error);
  ASSERT_TRUE(memory) << error;
  EXPECT_EQ(*memory, FactoryMouseMemory());
  const auto bytes = test::ReadBytes(dir / "mouse.bin");
  ASSERT_EQ(bytes.size(), 322u);
  EXPECT_EQ(bytes[0], 1);               // report-rate code
  EXPECT_EQ(bytes[1], 2);               // DPI stage
  EXPECT_EQ(bytes[2 + 3 * 64 + 1], 3);  // page 4 byte 1: the sensor variant
}

TEST(MouseStateFileTest, FileOfAnyOtherSizeIsRefusedAndLeftUntouched) {
  test::TempDir dir;
  for (std::size_t size : {0, 1, 321, 323, 644}) {
    const std::vector<std::uint8_t> content(size, 0x42);
    test::WriteBytes(dir / "mouse.bin", content);
    std::string error;
    EXPECT_FALSE(LoadOrCreateMouseStateFile(dir / "mouse.bin", error)) << size;
    EXPECT_THAT(error, ::testing::HasSubstr(std::to_string(size) + " bytes")) << size;
    EXPECT_EQ(test::ReadBytes(dir / "mouse.bin"), content) << size;
  }
}

TEST(MouseStateFileTest, AStateFileThatCannotBeReadIsRefusedWithoutCreatingOne) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "mouse.bin");
  std::string error;
  EXPECT_FALSE(LoadOrCreateMouseStateFile(dir / "mouse.bin", error));
  EXPECT_THAT(error, ::testing::HasSubstr("cannot read the mouse state file"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "mouse.bin"));
}

TEST(MouseStateFileTest, PersistentMouseRewritesTheFileAfterEveryChange) {
  test::TempDir dir;
  std::string error;
  const auto memory = LoadOrCreateMouseStateFile(dir / "mouse.bin", error);
  ASSERT_TRUE(memory);
  PersistentSimulatedMouse persistent(dir / "mouse.bin", *memory);
  test::RecordingSleeper sleeper;
  test::RecordingMessageSink messages;
  DeviceState state;
  state.ResetForDiscovery();
  const ProtocolPorts ports{persistent.Mouse().ShortChannel(), persistent.Mouse().PageChannel(),
                            sleeper, messages, "x"};
  ReadOperation(ports, state);
  state.status = {4, 1};
  state.image.At(1, 0) = 0xEE;
  state.image.At(5, 63) = 0x77;
  WriteOperation(ports, state);

  EXPECT_FALSE(persistent.SaveError());
  const auto bytes = test::ReadBytes(dir / "mouse.bin");
  ASSERT_EQ(bytes.size(), 322u);
  EXPECT_EQ(bytes[0], 4);
  EXPECT_EQ(bytes[1], 1);
  EXPECT_EQ(bytes[2], 0xEE);
  EXPECT_EQ(bytes[321], 0x77);

  // A second run starts from what the first left.
  const auto reloaded = LoadOrCreateMouseStateFile(dir / "mouse.bin", error);
  ASSERT_TRUE(reloaded);
  EXPECT_EQ(reloaded->image, state.image);
}

}  // namespace
}  // namespace q8
