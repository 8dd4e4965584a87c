#pragma once

#include <ostream>
#include <span>
#include <string>

#include "device/hid_bus.h"

namespace q8 {

// Exit statuses of q8ctl.
inline constexpr int kExitOk = 0;
// The mouse not found or not answering, a file kept on the side (the trace, the simulated mouse's
// state) not written, or a file the command must change that q8ctl may not write.
inline constexpr int kExitDeviceFailure = 1;
inline constexpr int kExitUsage = 2;  // bad command line or bad input file

// Runs q8ctl with the arguments after the program name. Output goes to `out`, messages and
// errors to `err`; returns the exit status. Without --simulate the tool talks to `systemBus`, or
// to the system's HID bus when that is null (tests hand in a mouse of their own).
int RunQ8ctl(std::span<const std::string> args, std::ostream& out, std::ostream& err,
             HidBus* systemBus = nullptr);

}  // namespace q8
