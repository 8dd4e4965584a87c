#pragma once

#include <optional>

#include "device/device_change.h"
#include "device/hid_bus.h"

namespace q8 {

// How much of the mouse the bus shows right now.
enum class MousePresence {
  kGone,      // no interface of the mouse
  kPartial,   // some of its interfaces, not yet (or no longer) both channel collections
  kComplete,  // both channel collections
};

// Looks at every interface of the bus without opening a channel. Interfaces that cannot be
// probed are passed over: a device in the middle of arriving or leaving is normal here.
MousePresence SurveyMouse(HidBus& bus);

// Turns the presence of the mouse, looked at after each device event of a system that tells
// every node of the mouse separately (Linux), into one arrival per plug and one removal per
// unplug: the arrival when the last channel collection appears, the removal when the last of
// the mouse's interfaces is gone. The interfaces coming and going in between change nothing.
class MousePlugTracker {
 public:
  // `present`: whether the mouse was found at start-up.
  explicit MousePlugTracker(bool present) : plugged_(present) {}

  std::optional<DeviceChangeEvent> Update(MousePresence presence);

 private:
  bool plugged_;
};

}  // namespace q8
