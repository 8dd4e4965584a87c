#include "device/find_mouse.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/fake_hid_bus.h"
#include "support/fakes.h"

namespace q8 {
namespace {

using test::FakeHidBus;
using test::MouseInterface;
using test::MouseKeyboardCollection;
using test::MouseMouseCollection;
using test::OtherDevice;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FindMouseTest : public ::testing::Test {
 protected:
  bool Find() { return FindMouse(bus_, messages_, link_); }

  FakeHidBus bus_;
  test::RecordingMessageSink messages_;
  MouseLink link_;
};

TEST_F(FindMouseTest, OpensBothChannelsInBusOrderAndClosesEverythingElse) {
  bus_.interfaces = {OtherDevice("kbd"), MouseInterface("mi0-consumer", {0x0C, 1, 3, 0, 0}),
                     MouseKeyboardCollection("mi0-kbd"), MouseMouseCollection("mi1")};
  ASSERT_TRUE(Find());
  EXPECT_THAT(bus_.log, ElementsAre("list", "enumerate 0", "probe kbd", "close probe kbd",
                                    "enumerate 1", "probe mi0-consumer", "close probe mi0-consumer",
                                    "enumerate 2", "probe mi0-kbd", "close probe mi0-kbd",
                                    "open short mi0-kbd", "enumerate 3", "probe mi1",
                                    "close probe mi1", "open page mi1", "close list"));
  EXPECT_EQ(bus_.openHandles, 2);
  EXPECT_TRUE(link_.HasChannels());
  EXPECT_EQ(link_.ShortReportLength(), 8);
  EXPECT_EQ(link_.PageReportLength(), 65);
  EXPECT_EQ(link_.LastDevicePath(), "mi1");
  EXPECT_THAT(messages_.messages, IsEmpty());
}

TEST_F(FindMouseTest, StopsAtTheSecondChannel) {
  bus_.interfaces = {MouseMouseCollection("a"), MouseKeyboardCollection("b"),
                     MouseMouseCollection("second-mouse")};
  ASSERT_TRUE(Find());
  EXPECT_EQ(bus_.log.back(), "close list");
  EXPECT_THAT(bus_.log, ::testing::Not(::testing::Contains("enumerate 2")));
}

TEST_F(FindMouseTest, RefusesCollectionsWithOtherFeatureLengthsOrUsages) {
  const std::vector<HidCapabilities> wrong = {
      {1, 6, 9, 0, 9}, {1, 6, 9, 0, 65}, {1, 2, 8, 0, 64}, {1, 2, 8, 0, 8}, {0xFF00, 2, 0, 0, 65}};
  for (const HidCapabilities& caps : wrong) {
    bus_.interfaces = {MouseInterface("odd", caps), MouseKeyboardCollection("k"),
                       MouseMouseCollection("m")};
    EXPECT_TRUE(Find()) << "the good collections are still found";
    bus_.interfaces = {MouseInterface("odd", caps), MouseMouseCollection("m")};
    EXPECT_FALSE(Find()) << caps.usagePage << "/" << caps.usage << " "
                         << caps.featureReportByteLength;
  }
}

TEST_F(FindMouseTest, OneCollectionAloneOrAnotherVendorIsNotTheMouse) {
  bus_.interfaces = {MouseKeyboardCollection("k")};
  EXPECT_FALSE(Find());
  bus_.interfaces = {MouseMouseCollection("m"), MouseMouseCollection("m2")};
  EXPECT_FALSE(Find()) << "two page channels are not a mouse";
  auto foreignKeyboard = MouseKeyboardCollection("k");
  foreignKeyboard.attributes->vendorId = 0x04DA;
  auto foreignMouse = MouseMouseCollection("m");
  foreignMouse.attributes->productId = 0xA09F;
  bus_.interfaces = {foreignKeyboard, foreignMouse};
  EXPECT_FALSE(Find());
  EXPECT_EQ(bus_.openHandles, 0);
  EXPECT_FALSE(link_.HasChannels());
  EXPECT_THAT(messages_.messages, IsEmpty());
}

TEST_F(FindMouseTest, AnInterfaceThatCannotBeProbedEndsTheSearch) {
  auto locked = OtherDevice("locked");
  locked.probeOpens = false;
  bus_.interfaces = {MouseKeyboardCollection("k"), locked, MouseMouseCollection("m")};
  EXPECT_FALSE(Find());
  EXPECT_THAT(bus_.log, ::testing::Not(::testing::Contains("probe m")));
  EXPECT_EQ(bus_.openHandles, 0) << "the short channel opened before is closed again";
  EXPECT_EQ(link_.LastDevicePath(), "locked");
}

TEST_F(FindMouseTest, MissingCapabilitiesOfTheMouseEndTheSearchButNotThoseOfOthers) {
  auto other = OtherDevice("other");
  other.caps.reset();
  auto broken = MouseKeyboardCollection("k");
  broken.caps.reset();
  bus_.interfaces = {other, broken, MouseMouseCollection("m")};
  EXPECT_FALSE(Find());
  EXPECT_THAT(bus_.log, ::testing::Not(::testing::Contains("probe m")));
  EXPECT_EQ(bus_.openHandles, 0);
}

TEST_F(FindMouseTest, AChannelThatCannotBeOpenedIsReportedWithTheSystemsCode) {
  auto locked = MouseMouseCollection("m");
  locked.channelOpens = false;
  locked.channelError = 32;
  bus_.interfaces = {MouseKeyboardCollection("k"), locked};
  EXPECT_FALSE(Find());
  EXPECT_THAT(messages_.messages,
              ElementsAre(test::Message{"CreateFile Error Code:32", "TarnixMouseApp"}));
  EXPECT_EQ(bus_.openHandles, 0);
  EXPECT_THAT(bus_.log, ::testing::Contains("close short k"));

  // A system that knows what the user can do about it says so after the code.
  messages_.messages.clear();
  bus_.advice = "install the rule";
  EXPECT_FALSE(Find());
  EXPECT_THAT(
      messages_.messages,
      ElementsAre(test::Message{"CreateFile Error Code:32\ninstall the rule", "TarnixMouseApp"}));
}

TEST_F(FindMouseTest, EnumerationFailuresEndTheWalkAfterTheirIndex) {
  bus_.interfaces = {MouseKeyboardCollection("k"), MouseMouseCollection("m"), OtherDevice("x")};
  bus_.enumerationFailsAt = 1;
  EXPECT_TRUE(Find()) << "the failing index is still examined";
  bus_.enumerationFailsAt = 0;
  bus_.log.clear();
  EXPECT_FALSE(Find());
  EXPECT_THAT(bus_.log, ::testing::Not(::testing::Contains("enumerate 1")));
  bus_.listFails = true;
  bus_.log.clear();
  EXPECT_FALSE(Find());
  EXPECT_THAT(bus_.log, ElementsAre("list"));
}

TEST_F(FindMouseTest, ANewSearchReplacesTheChannelsOnlyWhenItSucceeds) {
  bus_.interfaces = {MouseKeyboardCollection("k"), MouseMouseCollection("m")};
  ASSERT_TRUE(Find());
  bus_.log.clear();
  ASSERT_TRUE(Find());
  EXPECT_EQ(bus_.openHandles, 2) << "the first search's channels are closed";
  EXPECT_THAT(bus_.log, ::testing::IsSupersetOf({"close short k", "close page m"}));

  bus_.interfaces = {MouseKeyboardCollection("k")};
  EXPECT_FALSE(Find());
  EXPECT_EQ(bus_.openHandles, 2) << "a failed search keeps the channels it did not replace";
  EXPECT_TRUE(link_.HasChannels());
  link_.Close();
  EXPECT_EQ(bus_.openHandles, 0);
}

}  // namespace
}  // namespace q8
