#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "device/hid_bus.h"
#include "device/simulated_mouse.h"

namespace q8 {

// One interface of the simulated mouse as the bus lists it.
struct SimulatedInterface {
  std::string_view path;
  HidCapabilities caps;
};

// The simulated mouse's interfaces in the order the bus lists them: the keyboard collection with
// the 8-byte command reports, a consumer-control collection the search has to pass over, and the
// mouse collection with the 65-byte page reports.
inline constexpr std::array<SimulatedInterface, 3> kSimulatedInterfaces{{
    {"simulated:q8/keyboard", {1, 6, 9, 2, 8}},
    {"simulated:q8/consumer", {0x0C, 1, 3, 0, 0}},
    {"simulated:q8/mouse", {1, 2, 7, 0, 65}},
}};

// The paths of the simulated mouse's interfaces as the system's device-interface notifications
// name them: one plug or unplug of the mouse brings one notification for each.
inline constexpr std::array<std::string_view, 4> kSimulatedNotificationPaths{{
    R"(\\?\HID#VID_04D9&PID_A09E&MI_00#8&2f5a1c&0&0000)",
    R"(\\?\HID#VID_04D9&PID_A09E&MI_01&Col01#8&1e7b3d&0&0000)",
    R"(\\?\HID#VID_04D9&PID_A09E&MI_01&Col02#8&1e7b3d&0&0001)",
    R"(\\?\HID#VID_04D9&PID_A09E&MI_02#8&3c9d0e&0&0000)",
}};

// A HID bus with the simulated mouse as its only device, so that the tool finds the simulator
// through the same search as the real mouse. The mouse can be unplugged and plugged back in:
// unplugged, the bus lists nothing and every report on a channel opened before fails, as the
// system's calls fail once the cable is out.
class SimulatedHidBus final : public HidBus {
 public:
  explicit SimulatedHidBus(SimulatedMouse& mouse) : mouse_(mouse) {}

  void SetPlugged(bool plugged) { plugged_ = plugged; }
  // Takes the plug state from `plugged`, asked at every use of the bus, instead (the state file's
  // plug state, which other programs change).
  void FollowPlugState(std::function<bool()> plugged) { pluggedSource_ = std::move(plugged); }
  bool Plugged() const { return pluggedSource_ ? pluggedSource_() : plugged_; }

  std::unique_ptr<HidInterfaceList> ListInterfaces() override;
  std::unique_ptr<HidProbe> OpenProbe(const std::string& path) override;
  HidChannelOpening OpenChannel(const std::string& path, ChannelKind kind) override;

 private:
  const SimulatedInterface* Find(const std::string& path) const;

  SimulatedMouse& mouse_;
  bool plugged_ = true;
  std::function<bool()> pluggedSource_;
};

}  // namespace q8
