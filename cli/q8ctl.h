#pragma once

#include <ostream>
#include <span>
#include <string>

namespace q8 {

// Exit statuses of q8ctl.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDeviceFailure = 1;  // mouse not found or not answering
inline constexpr int kExitUsage = 2;          // bad command line or bad input file

// Runs q8ctl with the arguments after the program name. Output goes to `out`, messages and
// errors to `err`; returns the exit status.
int RunQ8ctl(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace q8
