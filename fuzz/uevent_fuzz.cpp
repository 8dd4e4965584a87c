// A message on the netlink socket of device events: the kernel's and udev's forms, or anything
// else a process of the machine sends there.
#include "fuzz/fuzz_support.h"
#include "linux/uevent.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q8;
  const auto event = linux_shell::ParseUevent(fuzz::Bytes(data, size));
  if (event) {
    fuzz::Require(!event->action.empty(), "an event has an action");
    fuzz::Require(event->devName.find('/') == std::string::npos,
                  "a device name is a name under /dev, not a path");
  }
  return 0;
}
