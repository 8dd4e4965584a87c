#include "linux/simulated_plug_monitor.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "device/mouse_state_file.h"

namespace q8::linux_shell {
namespace {

// The simulated mouse's nodes as the kernel names them in its events, one per collection.
constexpr std::array<std::string_view, 3> kHidrawNodes = {"hidraw90", "hidraw91", "hidraw92"};

// One kernel event ("ACTION@DEVPATH" then KEY=VALUE fields, each ended by a zero byte).
std::string KernelEvent(std::string_view action, std::string_view node) {
  const std::string devpath =
      "/devices/virtual/simulated/0003:04D9:A09E.0090/hidraw/" + std::string(node);
  std::string message = std::string(action) + "@" + devpath;
  message += '\0';
  for (const std::string& field :
       {"ACTION=" + std::string(action), "DEVPATH=" + devpath, std::string("SUBSYSTEM=hidraw"),
        "DEVNAME=" + std::string(node)}) {
    message += field;
    message += '\0';
  }
  return message;
}

}  // namespace

SimulatedPlugMonitor::SimulatedPlugMonitor(std::filesystem::path stateFile, HotplugMonitor& hotplug)
    : stateFile_(std::move(stateFile)),
      hotplug_(hotplug),
      plugged_(SimulatedMousePlugged(stateFile_)) {}

bool SimulatedPlugMonitor::Open(std::string& error) {
  UniqueFd fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
  if (!fd.Valid()) {
    error = std::string("cannot watch the simulated mouse's cable: ") + std::strerror(errno);
    return false;
  }
  std::filesystem::path folder = stateFile_.parent_path();
  if (folder.empty()) {
    folder = ".";
  }
  // The marker is made by a rename (a durable write) and removed by unlink.
  if (::inotify_add_watch(fd.Get(), folder.c_str(), IN_CREATE | IN_MOVED_TO | IN_DELETE) < 0) {
    error = "cannot watch " + folder.string() + ": " + std::strerror(errno);
    return false;
  }
  watch_ = std::move(fd);
  return true;
}

void SimulatedPlugMonitor::ReadEvents() {
  // What the events name does not matter: the marker itself is looked at once they are read.
  alignas(inotify_event) std::array<char, 4096> buffer;
  for (;;) {
    const ssize_t received = ::read(watch_.Get(), buffer.data(), buffer.size());
    if (received <= 0 && !(received < 0 && errno == EINTR)) {
      break;  // EAGAIN: nothing more waiting
    }
  }
  const bool plugged = SimulatedMousePlugged(stateFile_);
  if (plugged == plugged_) {
    return;
  }
  plugged_ = plugged;
  for (const std::string_view node : kHidrawNodes) {
    const std::string event = KernelEvent(plugged ? "add" : "remove", node);
    hotplug_.HandleMessage(
        std::span(reinterpret_cast<const std::uint8_t*>(event.data()), event.size()));
  }
}

}  // namespace q8::linux_shell
