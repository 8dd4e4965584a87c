#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "device/device_change.h"
#include "device/mouse_plug_tracker.h"
#include "linux/unique_fd.h"

namespace q8::linux_shell {

// Watches the kernel's device events and acts once per plug and once per unplug of the mouse.
//
// One plug of the mouse brings a burst of events (the USB device, each interface, each HID
// device, each hidraw node), and which of them come, and how many, depends on the kernel and on
// udev: the Windows rule of acting on every fourth notification cannot be carried over. After
// every event about a hidraw node the monitor looks at the bus instead, and the MousePlugTracker
// reports an arrival once both channel collections are present and a removal once the last of
// the mouse's nodes is gone. The handler then searches and acts on that event at once.
//
// Events come from udev when it runs (after its rules, so the node's access rights are already
// in place), otherwise straight from the kernel.
class HotplugMonitor {
 public:
  HotplugMonitor(HidBus& bus, DeviceChangeHandler& handler, bool mousePresent)
      : bus_(bus), handler_(handler), tracker_(mousePresent) {}

  // Opens the event socket; false with `error` set when the system refuses it.
  bool Open(std::string& error);
  // The socket to wait on for readability, -1 before Open.
  int Fd() const { return socket_.Get(); }
  // Reads and handles every event waiting on the socket without blocking.
  void ReadEvents();

  // Handles one event message as it arrives from the socket.
  void HandleMessage(std::span<const std::uint8_t> message);

 private:
  // Surveys the mouse's interfaces and acts when that completes a plug or an unplug.
  void LookAtTheBus();

  HidBus& bus_;
  DeviceChangeHandler& handler_;
  MousePlugTracker tracker_;
  UniqueFd socket_;
};

}  // namespace q8::linux_shell
