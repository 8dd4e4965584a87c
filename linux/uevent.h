#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace q8::linux_shell {

// The parts of a device event the hot-plug watch needs.
struct Uevent {
  std::string action;     // "add", "remove", "change", "bind" ...
  std::string subsystem;  // "hidraw", "usb", "hid" ...
  std::string devName;    // "hidraw3" (DEVNAME), empty when the event names no device node
};

// Parses one netlink message of device events, in either of the two forms that reach a
// listener: the kernel's ("add@/devices/...\0ACTION=add\0...") and udev's (a binary header
// starting "libudev\0", then the same KEY=VALUE list after the udev rules ran). Nothing for a
// message in neither form or without an action; never reads past the message.
std::optional<Uevent> ParseUevent(std::span<const std::uint8_t> message);

}  // namespace q8::linux_shell
