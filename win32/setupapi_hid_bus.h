#pragma once

#include "device/hid_bus.h"

namespace q8::win32 {

// The HID bus of Windows: the present interfaces of the HID interface class from SetupAPI, opened
// with CreateFileW and described by the HID class driver.
class SetupApiHidBus final : public HidBus {
 public:
  std::unique_ptr<HidInterfaceList> ListInterfaces() override;
  std::unique_ptr<HidProbe> OpenProbe(const std::string& path) override;
  HidChannelOpening OpenChannel(const std::string& path, ChannelKind kind) override;
};

}  // namespace q8::win32
