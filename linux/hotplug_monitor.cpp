#include "linux/hotplug_monitor.h"

#include <linux/netlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "linux/uevent.h"

namespace q8::linux_shell {
namespace {

// The multicast groups of device events: the kernel's, and udev's re-broadcast after its rules.
constexpr unsigned kKernelGroup = 1;
constexpr unsigned kUdevGroup = 2;

bool UdevRuns() {
  std::error_code error;
  return std::filesystem::exists("/run/udev/control", error);
}

}  // namespace

bool HotplugMonitor::Open(std::string& error) {
  UniqueFd fd(
      ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT));
  if (!fd.Valid()) {
    error = std::string("cannot open the device event socket: ") + std::strerror(errno);
    return false;
  }
  sockaddr_nl address{};
  address.nl_family = AF_NETLINK;
  address.nl_groups = UdevRuns() ? kUdevGroup : kKernelGroup;
  if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    error = std::string("cannot listen to device events: ") + std::strerror(errno);
    return false;
  }
  socket_ = std::move(fd);
  return true;
}

void HotplugMonitor::ReadEvents() {
  std::array<std::uint8_t, 8192> buffer;
  for (;;) {
    const ssize_t received = ::recv(socket_.Get(), buffer.data(), buffer.size(), 0);
    if (received < 0) {
      if (errno == EINTR) {
        continue;
      }
      if (errno == ENOBUFS) {
        // Events did not fit the socket's buffer and are lost, perhaps the mouse's own.
        LookAtTheBus();
        continue;
      }
      return;  // EAGAIN: nothing more waiting (or the socket failed: nothing to read either)
    }
    HandleMessage(std::span(buffer.data(), static_cast<std::size_t>(received)));
  }
}

void HotplugMonitor::HandleMessage(std::span<const std::uint8_t> message) {
  const std::optional<Uevent> event = ParseUevent(message);
  if (!event || event->subsystem != "hidraw" ||
      (event->action != "add" && event->action != "remove")) {
    return;
  }
  LookAtTheBus();
}

void HotplugMonitor::LookAtTheBus() {
  if (const std::optional<DeviceChangeEvent> change = tracker_.Update(SurveyMouse(bus_))) {
    handler_.Act(*change);
  }
}

}  // namespace q8::linux_shell
