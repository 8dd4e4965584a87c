#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>

namespace q8::win32 {

// Tells the main window when `q8ctl unplug` or `plug` pulls or puts back the simulated mouse's
// cable, with the device-interface notifications the system sends for a real mouse: one
// WM_DEVICECHANGE (arrival or removal complete, a device-interface record) for each interface of
// the mouse, sent to the window as the system sends them. Everything after that is the path a
// real mouse takes. A thread of its own waits on the state file's folder, so an idle program wakes
// for nothing.
class SimulatedPlugNotifier {
 public:
  SimulatedPlugNotifier() = default;
  // Lets the thread go: it ends at its next wake-up, or with the process.
  ~SimulatedPlugNotifier();
  SimulatedPlugNotifier(const SimulatedPlugNotifier&) = delete;
  SimulatedPlugNotifier& operator=(const SimulatedPlugNotifier&) = delete;

  // Starts watching; false when the system refuses to watch the folder or to start the thread.
  bool Start(HWND window, const std::filesystem::path& stateFile);

  // What the watching thread keeps.
  struct Watch;

 private:
  std::shared_ptr<Watch> watch_;
};

}  // namespace q8::win32
