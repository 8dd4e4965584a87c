#pragma once

#include <memory>

#include "device/hid_bus.h"

namespace q8 {

// The HID bus of the system the tool runs on, for q8ctl and the tray programs alike; linux/ and
// win32/ each supply it (hidraw nodes, SetupAPI and the HID class driver).
std::unique_ptr<HidBus> OpenSystemHidBus();

}  // namespace q8
