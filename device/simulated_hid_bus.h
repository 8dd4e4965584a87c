#pragma once

#include <array>
#include <string>

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

// A HID bus with the simulated mouse as its only device, so that the tool finds the simulator
// through the same search as the real mouse. The mouse can be unplugged and plugged back in.
class SimulatedHidBus final : public HidBus {
 public:
  explicit SimulatedHidBus(SimulatedMouse& mouse) : mouse_(mouse) {}

  void SetPlugged(bool plugged) { plugged_ = plugged; }
  bool Plugged() const { return plugged_; }

  std::unique_ptr<HidInterfaceList> ListInterfaces() override;
  std::unique_ptr<HidProbe> OpenProbe(const std::string& path) override;
  HidChannelOpening OpenChannel(const std::string& path, ChannelKind kind) override;

 private:
  const SimulatedInterface* Find(const std::string& path) const;

  SimulatedMouse& mouse_;
  bool plugged_ = true;
};

}  // namespace q8
