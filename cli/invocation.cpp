#include "cli/invocation.h"

#include "cli/command_table.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace q8 {
namespace {

const CommandHelp* FindCommand(std::string_view name) {
  const auto* found = std::find_if(kCommands.begin(), kCommands.end(),
                                   [name](const CommandHelp& c) { return c.name == name; });
  return found != kCommands.end() ? found : nullptr;
}

}  // namespace

std::string UsageText(const std::string& command) {
  if (const CommandHelp* help = FindCommand(command)) {
    return "usage: q8ctl [--simulate[=STATE_FILE]] [--trace=FILE] " + std::string(help->synopsis) +
           "\n\n  " + std::string(help->description) + "\n\n" + OptionsHelp(kQ8ctlOptions);
  }
  std::string text =
      "usage: q8ctl [--simulate[=STATE_FILE]] [--trace=FILE] COMMAND [ARGS]\n\n"
      "Configures the Tarnix Q8 gaming mouse.\n\ncommands:\n";
  for (const CommandHelp& c : kCommands) {
    text += "  " + std::string(c.synopsis) + "\n";
  }
  return text + "\n" + OptionsHelp(kQ8ctlOptions);
}

ParseResult ParseInvocation(std::span<const std::string> args) {
  Invocation invocation;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      invocation.help = true;
    } else if (arg == "--version") {
      invocation.version = true;
    } else if (arg == "--simulate") {
      invocation.simulate = true;
    } else if (arg.starts_with("--simulate=")) {
      invocation.simulate = true;
      invocation.stateFile = arg.substr(arg.find('=') + 1);
      if (invocation.stateFile->empty()) {
        return "--simulate= needs a file name";
      }
    } else if (arg.starts_with("--trace=")) {
      invocation.traceFile = arg.substr(arg.find('=') + 1);
      if (invocation.traceFile->empty()) {
        return "--trace= needs a file name";
      }
    } else if (arg == "--config" || arg.starts_with("--config=")) {
      if (arg == "--config") {
        if (i + 1 == args.size() || args[i + 1].empty()) {
          return "--config needs a file name";
        }
        invocation.configFile = args[++i];
      } else {
        invocation.configFile = arg.substr(arg.find('=') + 1);
        if (invocation.configFile->empty()) {
          return "--config= needs a file name";
        }
      }
    } else if (arg == "--force") {
      invocation.force = true;
    } else if (arg.starts_with("--")) {
      return "unknown option '" + arg + "'";
    } else if (invocation.command.empty()) {
      invocation.command = arg;
    } else {
      invocation.args.push_back(arg);
    }
  }
  if (invocation.command.empty()) {
    if (invocation.help || invocation.version) {
      return invocation;
    }
    return std::string("no command given");
  }
  const CommandHelp* command = FindCommand(invocation.command);
  if (!command) {
    return "unknown command '" + invocation.command + "'";
  }
  if (invocation.configFile && !command->takesConfig) {
    return "'" + invocation.command + "' takes no --config";
  }
  const bool takesArguments = invocation.command == "set" || invocation.command == "notify" ||
                              invocation.command == "profile";
  if (invocation.force &&
      !(invocation.command == "profile" && !invocation.args.empty() &&
        (invocation.args.front() == "import" || invocation.args.front() == "save"))) {
    return std::string("only 'profile import' and 'profile save' take --force");
  }
  if (!takesArguments && !invocation.args.empty() && !invocation.help) {
    return "'" + invocation.command + "' takes no argument '" + invocation.args.front() + "'";
  }
  return invocation;
}

}  // namespace q8
