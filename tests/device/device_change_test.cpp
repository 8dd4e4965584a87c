#include "device/device_change.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/simulated_hid_bus.h"
#include "support/fake_hid_bus.h"
#include "support/fakes.h"
#include "support/recording_host.h"

namespace q8 {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using test::RecordingHost;

constexpr std::uint32_t kArrival = 0x8000;
constexpr std::uint32_t kRemoval = 0x8004;
constexpr std::string_view kMousePath =
    R"(\\?\HID#VID_04D9&PID_A09E&MI_01#7&2b0a1e3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";

class DeviceChangeTest : public ::testing::Test {
 protected:
  DeviceChangeTest() {
    bus_.interfaces = {test::MouseKeyboardCollection("k"), test::MouseMouseCollection("m")};
  }
  void Notify(std::uint32_t event, std::string_view path = kMousePath) {
    handler_.OnDeviceChange(event, kDeviceInterfaceRecord, path);
  }

  test::FakeHidBus bus_;
  test::RecordingMessageSink messages_;
  MouseLink link_;
  RecordingHost host_;
  DeviceChangeHandler handler_{bus_, messages_, link_, host_};
};

TEST_F(DeviceChangeTest, ActsOnlyOnEveryFourthMatchingNotification) {
  for (int i = 0; i < 3; ++i) {
    Notify(kArrival);
  }
  EXPECT_THAT(host_.calls, IsEmpty());
  EXPECT_THAT(bus_.log, IsEmpty()) << "no search before the fourth";
  EXPECT_EQ(handler_.ArrivalCounter(), 3);
  Notify(kArrival);
  EXPECT_THAT(host_.calls, ElementsAre("announce 14", "present", "read"))
      << "present before the read: an unplug acted on during the read has the last word";
  EXPECT_EQ(handler_.ArrivalCounter(), 0);
  EXPECT_TRUE(link_.HasChannels());

  host_.calls.clear();
  for (int i = 0; i < 7; ++i) {
    Notify(kArrival);
  }
  EXPECT_THAT(host_.calls, ElementsAre("announce 14", "present", "read"));
  EXPECT_EQ(handler_.ArrivalCounter(), 3);
}

TEST_F(DeviceChangeTest, RemovalsAndArrivalsShareTheCounterAndTheFourthDecides) {
  Notify(kRemoval);
  Notify(kRemoval);
  Notify(kArrival);
  EXPECT_THAT(host_.calls, IsEmpty());
  Notify(kArrival);
  EXPECT_THAT(host_.calls, ElementsAre("announce 14", "present", "read"));

  host_.calls.clear();
  Notify(kArrival);
  Notify(kArrival);
  Notify(kArrival);
  Notify(kRemoval);
  EXPECT_THAT(host_.calls, ElementsAre("present")) << "a removal that still finds the mouse";
}

TEST_F(DeviceChangeTest, TheMouseGoneHidesTheWindowWhateverTheEvent) {
  bus_.interfaces.clear();
  for (std::uint32_t event : {kRemoval, kArrival}) {
    host_.calls.clear();
    for (int i = 0; i < 4; ++i) {
      Notify(event);
    }
    EXPECT_THAT(host_.calls, ElementsAre("announce 15", "hide", "absent")) << event;
  }
}

TEST_F(DeviceChangeTest, IgnoresOtherEventsRecordsAndPaths) {
  const std::vector<std::string_view> foreignPaths = {
      R"(\\?\HID#VID_04d9&PID_a09e&MI_01#x)",  // hexadecimal in lower case, names in capitals
      R"(\\?\hid#vid_04d9&pid_a09e&mi_01#x)",  //
      R"(\\?\HID#Vid_04D9&Pid_A09E&MI_01#x)",  //
      R"(\\?\HID#VID_046D&PID_C077#x)",        //
      ""};
  for (std::string_view path : foreignPaths) {
    for (int i = 0; i < 4; ++i) {
      Notify(kArrival, path);
    }
  }
  for (int i = 0; i < 4; ++i) {
    handler_.OnDeviceChange(0x8001, kDeviceInterfaceRecord, kMousePath);  // removal pending
    handler_.OnDeviceChange(0x0007, kDeviceInterfaceRecord, kMousePath);  // nodes changed
    handler_.OnDeviceChange(kArrival, 2, kMousePath);                     // a volume
  }
  EXPECT_EQ(handler_.ArrivalCounter(), 0);
  EXPECT_THAT(host_.calls, IsEmpty());

  for (int i = 0; i < 4; ++i) {
    Notify(kArrival, R"(\\?\hid#Vid_04d9&Pid_a09e&Col01#8&1)");
  }
  EXPECT_THAT(host_.calls, ElementsAre("announce 14", "present", "read"));
}

TEST(DiscoverMouseAtStartupTest, ReadsTheMouseOrAnnouncesItMissing) {
  test::FakeHidBus bus;
  test::RecordingMessageSink messages;
  MouseLink link;
  RecordingHost host;
  DiscoverMouseAtStartup(bus, messages, link, host);
  EXPECT_THAT(host.calls, ElementsAre("announce 15", "absent"));

  host.calls.clear();
  bus.interfaces = {test::MouseKeyboardCollection("k"), test::MouseMouseCollection("m")};
  DiscoverMouseAtStartup(bus, messages, link, host);
  EXPECT_THAT(host.calls, ElementsAre("present", "read"));
}

// The simulator is found through the real search and read through the channels it gave.
TEST(SimulatedHidBusTest, TheSearchFindsAndReadsTheSimulatedMouse) {
  SimulatedMouseMemory memory = FactoryMouseMemory();
  memory.image.At(4, 1) = 2;
  memory.image.At(5, 63) = 0x5A;
  SimulatedMouse mouse(memory);
  SimulatedHidBus bus(mouse);
  test::RecordingMessageSink messages;
  MouseLink link;
  ASSERT_TRUE(FindMouse(bus, messages, link));
  EXPECT_EQ(link.LastDevicePath(), "simulated:q8/mouse");

  test::RecordingSleeper sleeper;
  const ProtocolPorts ports{link.ShortChannel(), link.PageChannel(), sleeper, messages, "absent"};
  DeviceState state;
  state.image.At(1, 0) = 0xEE;
  EXPECT_EQ(ReadFoundMouse(ports, state), 2);
  EXPECT_TRUE(state.scrambleEnabled);
  EXPECT_EQ(state.image, memory.image);
  EXPECT_EQ(state.status, memory.status);
  EXPECT_THAT(messages.messages, IsEmpty());

  bus.SetPlugged(false);
  EXPECT_FALSE(FindMouse(bus, messages, link));
  bus.SetPlugged(true);
  EXPECT_TRUE(FindMouse(bus, messages, link));
}

}  // namespace
}  // namespace q8
