#include "device/mouse_plug_tracker.h"

#include <gtest/gtest.h>

#include "support/fake_hid_bus.h"

namespace q8 {
namespace {

using test::MouseKeyboardCollection;
using test::MouseMouseCollection;
using test::OtherDevice;

TEST(SurveyMouseTest, CompleteOnlyWithBothChannelCollections) {
  test::FakeHidBus bus;
  bus.interfaces = {OtherDevice("a")};
  EXPECT_EQ(SurveyMouse(bus), MousePresence::kGone);
  bus.interfaces.push_back(test::MouseInterface("c", {0x0C, 1, 3, 0, 0}));
  EXPECT_EQ(SurveyMouse(bus), MousePresence::kPartial);
  bus.interfaces.push_back(MouseMouseCollection("m"));
  EXPECT_EQ(SurveyMouse(bus), MousePresence::kPartial);
  auto locked = OtherDevice("locked");
  locked.probeOpens = false;
  bus.interfaces.insert(bus.interfaces.begin(), locked);
  bus.interfaces.push_back(MouseKeyboardCollection("k"));
  EXPECT_EQ(SurveyMouse(bus), MousePresence::kComplete) << "an unopenable device does not hide it";
  EXPECT_EQ(bus.openHandles, 0);
  bus.listFails = true;
  EXPECT_EQ(SurveyMouse(bus), MousePresence::kGone);
}

TEST(MousePlugTrackerTest, OneArrivalPerPlugAndOneRemovalPerUnplug) {
  MousePlugTracker tracker(false);
  // Plugging in: nodes appear one by one.
  EXPECT_EQ(tracker.Update(MousePresence::kPartial), std::nullopt);
  EXPECT_EQ(tracker.Update(MousePresence::kComplete), DeviceChangeEvent::kArrival);
  EXPECT_EQ(tracker.Update(MousePresence::kComplete), std::nullopt) << "a late third node";
  // Unplugging: nodes go one by one.
  EXPECT_EQ(tracker.Update(MousePresence::kPartial), std::nullopt);
  EXPECT_EQ(tracker.Update(MousePresence::kGone), DeviceChangeEvent::kRemovalComplete);
  EXPECT_EQ(tracker.Update(MousePresence::kGone), std::nullopt);
  // A plug that never completes, then goes: nothing at all.
  EXPECT_EQ(tracker.Update(MousePresence::kPartial), std::nullopt);
  EXPECT_EQ(tracker.Update(MousePresence::kGone), std::nullopt);
  // A quick re-plug whose removal was never seen complete still counts as one plug.
  EXPECT_EQ(tracker.Update(MousePresence::kComplete), DeviceChangeEvent::kArrival);
  EXPECT_EQ(tracker.Update(MousePresence::kPartial), std::nullopt);
  EXPECT_EQ(tracker.Update(MousePresence::kComplete), std::nullopt);

  MousePlugTracker presentAtStart(true);
  EXPECT_EQ(presentAtStart.Update(MousePresence::kComplete), std::nullopt);
  EXPECT_EQ(presentAtStart.Update(MousePresence::kGone), DeviceChangeEvent::kRemovalComplete);
}

}  // namespace
}  // namespace q8
