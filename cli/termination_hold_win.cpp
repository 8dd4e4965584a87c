#include <windows.h>

#include <atomic>

#include "cli/termination_hold.h"

namespace q8 {
namespace {

// Set by the console's handler thread, read once the work is done.
std::atomic<bool> terminationRequested{false};

BOOL WINAPI HoldRequest(DWORD) {
  terminationRequested = true;
  return TRUE;  // handled: the process goes on for now
}

// Holds the console's requests while it lives; on the way out hands a request that came meanwhile
// to the system as its own handler would have taken it.
class HeldRequests {
 public:
  HeldRequests() : holding_(Install()) {}
  ~HeldRequests() {
    if (holding_) {
      ::SetConsoleCtrlHandler(HoldRequest, FALSE);
    }
    if (terminationRequested) {
      ::ExitProcess(STATUS_CONTROL_C_EXIT);
    }
  }
  HeldRequests(const HeldRequests&) = delete;
  HeldRequests& operator=(const HeldRequests&) = delete;

 private:
  static bool Install() {
    terminationRequested = false;
    return ::SetConsoleCtrlHandler(HoldRequest, TRUE) != 0;
  }

  bool holding_;
};

}  // namespace

void RunHoldingTermination(const std::function<void()>& work) {
  const HeldRequests held;
  work();
}

}  // namespace q8
