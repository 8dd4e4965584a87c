#include "device/system_hid_bus.h"
#include "win32/setupapi_hid_bus.h"

namespace q8 {

std::unique_ptr<HidBus> OpenSystemHidBus() {
  return std::make_unique<win32::SetupApiHidBus>();
}

}  // namespace q8
