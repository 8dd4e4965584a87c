#include "linux/uevent.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace q8::linux_shell {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromText(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

// udev's form: "libudev\0", magic (network order), header size, properties offset and length.
Bytes UdevMessage(std::string_view properties) {
  constexpr std::uint32_t kHeaderSize = 40;
  Bytes message(kHeaderSize + properties.size(), 0);
  std::memcpy(message.data(), "libudev", 8);
  const std::uint32_t fields[] = {htonl(0xFEEDCAFE), kHeaderSize, kHeaderSize,
                                  static_cast<std::uint32_t>(properties.size())};
  std::memcpy(message.data() + 8, fields, sizeof(fields));
  std::memcpy(message.data() + kHeaderSize, properties.data(), properties.size());
  return message;
}

using namespace std::string_view_literals;

constexpr std::string_view kKernelAdd =
    "add@/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:04D9:A09E.0007/hidraw/hidraw4\0"
    "ACTION=add\0DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:04D9:A09E.0007/"
    "hidraw/hidraw4\0SUBSYSTEM=hidraw\0MAJOR=243\0MINOR=4\0DEVNAME=hidraw4\0SEQNUM=4711\0"sv;

TEST(UeventTest, ReadsTheKernelsAndUdevsForms) {
  const auto kernel = ParseUevent(FromText(kKernelAdd));
  ASSERT_TRUE(kernel);
  EXPECT_EQ(kernel->action, "add");
  EXPECT_EQ(kernel->subsystem, "hidraw");
  EXPECT_EQ(kernel->devName, "hidraw4");

  const auto udev = ParseUevent(UdevMessage(
      "ACTION=remove\0SUBSYSTEM=hidraw\0DEVNAME=/dev/hidraw4\0TAGS=:uaccess:seat:\0"sv));
  ASSERT_TRUE(udev);
  EXPECT_EQ(udev->action, "remove");
  EXPECT_EQ(udev->subsystem, "hidraw");
  EXPECT_EQ(udev->devName, "hidraw4");
}

TEST(UeventTest, RefusesMessagesInNeitherFormWithoutReadingPastThem) {
  EXPECT_FALSE(ParseUevent(Bytes{}));
  EXPECT_FALSE(ParseUevent(FromText("ACTION=add")));  // no header
  EXPECT_FALSE(ParseUevent(FromText("add@/x\0"sv)));  // no action
  Bytes udev = UdevMessage("ACTION=add\0"sv);
  Bytes badMagic = udev;
  badMagic[8] ^= 0xFF;
  EXPECT_FALSE(ParseUevent(badMagic));
  Bytes pastTheEnd = udev;
  const std::uint32_t length = 1000;
  std::memcpy(pastTheEnd.data() + 20, &length, sizeof(length));
  EXPECT_FALSE(ParseUevent(pastTheEnd));
  EXPECT_FALSE(ParseUevent(Bytes(udev.begin(), udev.begin() + 20)));  // header cut short
  // A last property without its terminating NUL is still read, and only up to the end.
  EXPECT_EQ(ParseUevent(FromText("add@/x\0ACTION=add"sv))->action, "add");
}

}  // namespace
}  // namespace q8::linux_shell
