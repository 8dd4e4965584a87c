#include "cli/q8ctl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "support/temp_dir.h"

namespace q8 {
namespace {

using ::testing::HasSubstr;

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

ToolRun RunTool(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = RunQ8ctl(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(Q8ctlTest, UsageErrorsExitWithTwoAndShowTheUsage) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"--simulate", "frobnicate"}, {"--bogus", "info"}, {"info", "dump"}}) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_THAT(run.err, HasSubstr("usage: q8ctl"));
    EXPECT_TRUE(run.out.empty());
  }
  const ToolRun help = RunTool({"--help"});
  EXPECT_EQ(help.status, kExitOk);
  EXPECT_THAT(help.out, HasSubstr("usage: q8ctl"));
}

TEST(Q8ctlTest, BadStateFileGetsOneLineAndIsLeftAlone) {
  test::TempDir dir;
  const std::vector<std::uint8_t> content(100, 0x42);
  test::WriteBytes(dir / "mouse.bin", content);
  const ToolRun run = RunTool({"--simulate=" + (dir / "mouse.bin").string(), "info"});
  EXPECT_EQ(run.status, kExitUsage);
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_THAT(run.err, HasSubstr("100 bytes"));
  EXPECT_EQ(test::ReadBytes(dir / "mouse.bin"), content);
}

TEST(Q8ctlTest, InfoAndDumpReadTheSimulatedMouseAndTraceTheWire) {
  test::TempDir dir;
  const std::string state = "--simulate=" + (dir / "mouse.bin").string();
  const ToolRun info = RunTool({state, "info"});
  EXPECT_EQ(info.status, kExitOk) << info.err;
  EXPECT_THAT(info.out, HasSubstr("report rate: 1000 Hz"));
  EXPECT_THAT(info.out, HasSubstr("sensor variant: 3"));
  EXPECT_EQ(test::ReadBytes(dir / "mouse.bin").size(), 322u);

  const ToolRun dump = RunTool({state, "--trace=" + (dir / "wire.trace").string(), "dump"});
  EXPECT_EQ(dump.status, kExitOk) << dump.err;
  EXPECT_THAT(dump.out, HasSubstr("page 4: 00 03 "));
  EXPECT_EQ(std::count(dump.out.begin(), dump.out.end(), '\n'), 5);
  const std::string trace = test::ReadText(dir / "wire.trace");
  EXPECT_TRUE(trace.starts_with("set short 01 78 01 71 68 46 46 e6\n")) << trace;
  EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 22);
}

}  // namespace
}  // namespace q8
