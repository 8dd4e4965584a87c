#pragma once

#include <memory>

#include "device/hid_bus.h"

namespace q8 {

// The HID bus of the system q8ctl runs on (system_hid_bus_posix.cpp, system_hid_bus_win.cpp).
std::unique_ptr<HidBus> OpenSystemHidBus();

}  // namespace q8
