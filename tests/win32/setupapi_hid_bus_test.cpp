#include "win32/setupapi_hid_bus.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include "device/find_mouse.h"
#include "support/fakes.h"

namespace q8::win32 {
namespace {

using ::testing::AnyOf;
using ::testing::IsEmpty;

// Wine has no mouse attached: the real bus walks the system's HID interfaces to their end and
// the search finds nothing, without a message.
TEST(SetupApiHidBusTest, EnumeratesToTheEndAndFindsNoMouse) {
  SetupApiHidBus bus;
  std::unique_ptr<HidInterfaceList> list = bus.ListInterfaces();
  ASSERT_NE(list, nullptr);
  unsigned index = 0;
  HidEnumStatus status = HidEnumStatus::kItem;
  for (; index < 256; ++index) {
    status = list->Enumerate(index);
    if (status != HidEnumStatus::kItem) {
      break;
    }
    EXPECT_TRUE(list->DevicePath().has_value()) << "interface " << index;
  }
  EXPECT_EQ(status, HidEnumStatus::kNoMoreItems) << "after " << index << " interfaces";

  test::RecordingMessageSink messages;
  MouseLink link;
  EXPECT_FALSE(FindMouse(bus, messages, link));
  EXPECT_FALSE(link.HasChannels());
  EXPECT_THAT(messages.messages, IsEmpty());
}

TEST(SetupApiHidBusTest, APathThatLeadsNowhereGivesTheSystemsErrorCode) {
  SetupApiHidBus bus;
  const std::string path = R"(\\?\hid#vid_04d9&pid_a09e#0#{4d1e55b2-f16f-11cf-88cb-001111000030})";
  EXPECT_EQ(bus.OpenProbe(path), nullptr);
  const HidChannelOpening opening = bus.OpenChannel(path, ChannelKind::kPage);
  EXPECT_EQ(opening.channel, nullptr);
  EXPECT_THAT(opening.errorCode, AnyOf(ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND));
}

}  // namespace
}  // namespace q8::win32
