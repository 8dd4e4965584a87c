#pragma once

#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace q8 {

// What the command line asks for.
struct Invocation {
  bool simulate = false;
  std::optional<std::string> stateFile;   // --simulate=FILE
  std::optional<std::string> traceFile;   // --trace=FILE
  std::optional<std::string> configFile;  // --config FILE (show, apply, set, profile)
  bool help = false;                      // --help, alone or after a command
  bool version = false;                   // --version
  bool force = false;                     // --force (profile import over an existing name)
  std::string command;                    // empty with --help or --version alone
  std::vector<std::string> args;          // the command's own arguments
};

// The parsed invocation, or the one line that says what is wrong with it.
using ParseResult = std::variant<Invocation, std::string>;
ParseResult ParseInvocation(std::span<const std::string> args);

// The usage of the tool, or of one command when `command` names one.
std::string UsageText(const std::string& command = {});

}  // namespace q8
