#include "device/device_operations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/feature_report.h"
#include "device/report_scrambler.h"
#include "support/fake_channel.h"
#include "support/fakes.h"

namespace q8 {
namespace {

using test::ScriptedChannel;
using Bytes = ScriptedChannel::Bytes;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr std::string_view kNotDetected = "The system did not detect the gaming mouse!";

Bytes ShortBytes(std::uint8_t id, std::uint8_t command, std::uint8_t p, std::uint8_t q,
                 bool scramble, std::array<std::uint8_t, 4> signature = kReportSignature) {
  FeatureReport report = MakeShortReport(command, p, q);
  report[0] = id;
  std::copy(signature.begin(), signature.end(), report.begin() + 1);
  if (scramble) {
    ReportScrambler::Scramble(ShortReportBody(report));
  }
  return Bytes(report.begin(), report.begin() + kShortReportLength);
}

Bytes PageBytes(std::uint8_t fill, bool scramble) {
  FeatureReport report{};
  std::fill_n(report.begin() + 1, 64, fill);
  report[1] = static_cast<std::uint8_t>(fill + 1);  // a group's plain first byte differs
  if (scramble) {
    ReportScrambler::ScramblePayload(PageReportPayload(report));
  }
  return Bytes(report.begin(), report.begin() + kPageReportLength);
}

// One sane fixture: a mouse that answers with scrambled, well-formed replies.
class DeviceOperationsTest : public ::testing::Test {
 protected:
  ProtocolPorts Ports() { return {shortChannel, pageChannel, sleeper, messages, kNotDetected}; }

  void QueueStatusReply(std::uint8_t rate, std::uint8_t stage, bool scramble = true) {
    shortChannel.replies.push_back(ShortBytes(1, 0x80, rate, stage, scramble));
  }

  // The acknowledgements of five page announcements.
  void QueueAcks(bool scramble = true) {
    for (int i = 0; i < 5; ++i) {
      shortChannel.replies.push_back(ShortBytes(1, 0, 0, 0, scramble));
    }
  }

  ScriptedChannel shortChannel;
  ScriptedChannel pageChannel;
  test::RecordingSleeper sleeper;
  test::RecordingMessageSink messages;
  DeviceState state{.scrambleEnabled = true, .status = {}, .image = {}};
};

TEST_F(DeviceOperationsTest, ReadOperationQueriesThenReadsPagesOneToFive) {
  QueueStatusReply(2, 3);
  QueueAcks();
  for (std::uint8_t page = 1; page <= 5; ++page) {
    pageChannel.replies.push_back(PageBytes(static_cast<std::uint8_t>(page * 0x10), true));
  }

  ReadOperation(Ports(), state);

  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(state.status, (DeviceStatus{2, 3}));
  // Requests: the status query, then the read announcements 0x81..0x85, all scrambled.
  ASSERT_EQ(shortChannel.sent.size(), 6u);
  EXPECT_EQ(shortChannel.sent[0], ShortBytes(1, 0x80, 0, 0, true));
  for (std::uint8_t page = 1; page <= 5; ++page) {
    EXPECT_EQ(shortChannel.sent[page], ShortBytes(1, 0x80 + page, 0, 0, true)) << int{page};
  }
  EXPECT_THAT(shortChannel.events, ElementsAre("set", "get", "set", "get", "set", "get", "set",
                                               "get", "set", "get", "set", "get"));
  EXPECT_THAT(shortChannel.requestedLengths, ::testing::Each(kShortReportLength));
  EXPECT_THAT(shortChannel.requestedIds, ::testing::Each(1));
  EXPECT_THAT(pageChannel.requestedLengths, ::testing::Each(kPageReportLength));
  EXPECT_THAT(pageChannel.requestedIds, ::testing::Each(0));
  EXPECT_TRUE(pageChannel.sent.empty());
  EXPECT_THAT(sleeper.delays, ElementsAre(100, 100, 100, 100, 100));
  for (std::size_t page = 1; page <= 5; ++page) {
    const auto fill = static_cast<std::uint8_t>(page * 0x10);
    EXPECT_EQ(state.image.At(page, 0), fill + 1);
    EXPECT_EQ(state.image.At(page, 1), fill);
    EXPECT_EQ(state.image.At(page, 63), fill);
  }
}

TEST_F(DeviceOperationsTest, WriteOperationSetsStatusThenWritesPagesFiveToOne) {
  state.status = {8, 4};
  for (std::size_t page = 1; page <= 5; ++page) {
    std::fill(state.image.Page(page).begin(), state.image.Page(page).end(),
              static_cast<std::uint8_t>(page));
  }
  // The check reads the signature only: a reply with another report id still passes.
  shortChannel.replies.push_back(ShortBytes(7, 0x80, 1, 1, true));
  QueueAcks();

  WriteOperation(Ports(), state);

  EXPECT_TRUE(messages.messages.empty());
  ASSERT_EQ(shortChannel.sent.size(), 7u);
  EXPECT_EQ(shortChannel.sent[0], ShortBytes(1, 0x80, 0, 0, true));
  // The status set carries the status last read from the mouse, not the reply just received.
  EXPECT_EQ(shortChannel.sent[1], ShortBytes(1, 0x00, 8, 4, true));
  for (std::uint8_t i = 0; i < 5; ++i) {
    EXPECT_EQ(shortChannel.sent[2 + i],
              ShortBytes(1, static_cast<std::uint8_t>(5 - i), 0, 0, true));
  }
  EXPECT_THAT(shortChannel.events, ElementsAre("set", "get", "set", "set", "get", "set", "get",
                                               "set", "get", "set", "get", "set", "get"));
  ASSERT_EQ(pageChannel.sent.size(), 5u);
  for (std::uint8_t i = 0; i < 5; ++i) {
    const auto page = static_cast<std::uint8_t>(5 - i);
    Bytes expected(kPageReportLength, page);
    expected[0] = 0;
    FeatureReport scrambled{};
    std::copy(expected.begin(), expected.end(), scrambled.begin());
    ReportScrambler::ScramblePayload(PageReportPayload(scrambled));
    EXPECT_THAT(pageChannel.sent[i], ElementsAreArray(scrambled.data(), kPageReportLength));
  }
  EXPECT_THAT(sleeper.delays, ElementsAre(20, 100, 100, 100, 100, 100));
}

// Writes one log of both channels' reports and of the locking of each.
class LoggedChannel final : public FeatureChannel {
 public:
  LoggedChannel(FeatureChannel& inner, std::string name, std::vector<std::string>& log)
      : inner_(inner), name_(std::move(name)), log_(log) {}
  bool SendFeature(std::span<const std::uint8_t> report) override {
    log_.push_back(name_ + " report");
    return inner_.SendFeature(report);
  }
  bool GetFeature(std::span<std::uint8_t> report) override {
    log_.push_back(name_ + " report");
    return inner_.GetFeature(report);
  }
  void Lock() override { log_.push_back(name_ + " lock"); }
  void Unlock() override { log_.push_back(name_ + " unlock"); }

 private:
  FeatureChannel& inner_;
  std::string name_;
  std::vector<std::string>& log_;
};

// Each operation holds the mouse (its short channel, through which every operation begins) from
// its first report to its last, whether the mouse answers or not, so that another program's
// reports never come in between.
TEST_F(DeviceOperationsTest, EachOperationHoldsTheMouseFromItsFirstReportToItsLast) {
  std::vector<std::string> log;
  LoggedChannel loggedShort(shortChannel, "short", log);
  LoggedChannel loggedPage(pageChannel, "page", log);
  const ProtocolPorts ports{loggedShort, loggedPage, sleeper, messages, kNotDetected};
  const auto heldOnce = [&log](const char* operation) {
    ASSERT_GE(log.size(), 3u) << operation;
    EXPECT_EQ(log.front(), "short lock") << operation;
    EXPECT_EQ(log.back(), "short unlock") << operation;
    EXPECT_EQ(std::count(log.begin(), log.end(), "short lock"), 1) << operation;
    EXPECT_EQ(std::count(log.begin(), log.end(), "short unlock"), 1) << operation;
    EXPECT_EQ(std::count(log.begin(), log.end(), "page lock"), 0) << operation;
    log.clear();
  };
  for (const bool answering : {true, false}) {
    if (answering) {
      QueueStatusReply(2, 3);
    }
    GetDPIStage(ports, state);
    heldOnce("GetDPIStage");
    if (answering) {
      QueueStatusReply(2, 3);
      QueueAcks();
    }
    ReadOperation(ports, state);
    heldOnce("ReadOperation");
    if (answering) {
      QueueStatusReply(2, 3);
      QueueAcks();
    }
    WriteOperation(ports, state);
    heldOnce("WriteOperation");
  }
}

TEST_F(DeviceOperationsTest, GetDPIStageStoresBothStatusBytes) {
  QueueStatusReply(4, 6);
  GetDPIStage(Ports(), state);
  EXPECT_EQ(state.status, (DeviceStatus{4, 6}));
  EXPECT_EQ(shortChannel.sent, std::vector<Bytes>{ShortBytes(1, 0x80, 0, 0, true)});
  EXPECT_TRUE(sleeper.delays.empty());
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(DeviceOperationsTest, PlainTrafficWhenScramblingIsOff) {
  state.scrambleEnabled = false;
  QueueStatusReply(2, 1, /*scramble=*/false);
  QueueAcks(/*scramble=*/false);
  for (int page = 1; page <= 5; ++page) {
    pageChannel.replies.push_back(PageBytes(0x33, false));
  }
  ReadOperation(Ports(), state);
  EXPECT_EQ(shortChannel.sent[0], ShortBytes(1, 0x80, 0, 0, false));
  EXPECT_EQ(state.status, (DeviceStatus{2, 1}));
  EXPECT_EQ(state.image.At(3, 0), 0x34);
  EXPECT_EQ(state.image.At(3, 9), 0x33);
}

// A failed check: exactly one message, captioned with the operation, and nothing read or written.
struct FailureCase {
  const char* name;
  Bytes reply;           // empty: the mouse does not answer at all
  bool failsWriteCheck;  // the write check looks at the signature only
};

class DeviceOperationsFailureTest : public DeviceOperationsTest,
                                    public ::testing::WithParamInterface<FailureCase> {
 protected:
  void SetUp() override {
    if (!GetParam().reply.empty()) {
      shortChannel.replies.push_back(GetParam().reply);
    }
    state.status = {1, 2};
    state.image.At(2, 5) = 0x55;
  }
  void ExpectUntouched(std::string_view caption) {
    EXPECT_EQ(messages.messages,
              (std::vector<test::Message>{{std::string(kNotDetected), std::string(caption)}}));
    EXPECT_EQ(state.status, (DeviceStatus{1, 2}));
    EXPECT_EQ(state.image.At(2, 5), 0x55);
    EXPECT_EQ(shortChannel.sent.size(), 1u);  // the status query only
    EXPECT_TRUE(pageChannel.sent.empty());
    EXPECT_TRUE(pageChannel.events.empty());
    EXPECT_TRUE(sleeper.delays.empty());
  }
};

TEST_P(DeviceOperationsFailureTest, ReadOperation) {
  ReadOperation(Ports(), state);
  ExpectUntouched("ReadOperation");
}

TEST_P(DeviceOperationsFailureTest, GetDPIStage) {
  GetDPIStage(Ports(), state);
  ExpectUntouched("GetDPIStage");
}

TEST_P(DeviceOperationsFailureTest, WriteOperation) {
  if (!GetParam().failsWriteCheck) {
    GTEST_SKIP() << "covered by WriteOperationSetsStatusThenWritesPagesFiveToOne";
  }
  WriteOperation(Ports(), state);
  ExpectUntouched("WriteOperation");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, DeviceOperationsFailureTest,
    ::testing::Values(FailureCase{"NoAnswer", {}, true},
                      FailureCase{"WrongReportId", ShortBytes(2, 0x80, 1, 1, true), false},
                      FailureCase{"WrongSignature",
                                  ShortBytes(1, 0x80, 1, 1, true, {0xAA, 0xCC, 0xEE, 0xDE}), true},
                      FailureCase{"UnscrambledReply", ShortBytes(1, 0x80, 1, 1, false), true}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace q8
