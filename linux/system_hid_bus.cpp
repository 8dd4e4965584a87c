#include "device/system_hid_bus.h"
#include "linux/hidraw_bus.h"

namespace q8 {

std::unique_ptr<HidBus> OpenSystemHidBus() {
  return std::make_unique<linux_shell::HidrawBus>();
}

}  // namespace q8
