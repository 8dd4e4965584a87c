#pragma once

#include <filesystem>
#include <string>

#include "linux/hotplug_monitor.h"
#include "linux/unique_fd.h"

namespace q8::linux_shell {

// Tells the hot-plug monitor when `q8ctl unplug` or `plug` pulls or puts back the simulated
// mouse's cable. It watches the state file's folder (inotify, so an idle program wakes for
// nothing) and, when the plug state changes, hands the monitor the kernel events of the mouse's
// hidraw nodes going or coming, as the monitor reads them from its socket: everything after that,
// the look at the bus and the action, is the path a real mouse takes.
class SimulatedPlugMonitor {
 public:
  SimulatedPlugMonitor(std::filesystem::path stateFile, HotplugMonitor& hotplug);

  // Starts watching; false with `error` set when the system refuses.
  bool Open(std::string& error);
  // The descriptor to wait on for readability, -1 before Open.
  int Fd() const { return watch_.Get(); }
  // Reads the folder's events without blocking and reports a changed plug state.
  void ReadEvents();

 private:
  std::filesystem::path stateFile_;
  HotplugMonitor& hotplug_;
  bool plugged_;
  UniqueFd watch_;
};

}  // namespace q8::linux_shell
