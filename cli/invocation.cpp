#include "cli/invocation.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace q8 {
namespace {

struct CommandHelp {
  std::string_view name;
  std::string_view synopsis;
  std::string_view description;
  bool takesConfig;
};

constexpr std::array<CommandHelp, 9> kCommands{{
    {"info", "info",
     "whether the mouse is found, its channels, report rate, DPI stage, sensor "
     "variant and DPI levels",
     false},
    {"dump", "dump", "the mouse's 320-byte memory, one page per line, in hexadecimal", false},
    {"show", "show [--config FILE]",
     "the settings of a config.bin in words (default: the one beside q8ctl)", true},
    {"apply", "apply [--config FILE]",
     "write a config.bin's settings to the mouse, then save the file as written", true},
    {"set",
     "set [--config FILE] report-rate 125|250|500|1000\n"
     "      set [--config FILE] dpi STAGE VALUE\n"
     "      set [--config FILE] lighting off | standard BRIGHTNESS |\n"
     "                                   respiration SPEED [rgb-effect|rgb-flash]",
     "change one setting of a config.bin as the settings page does, then apply it\n"
     "      (STAGE 1 to 6; VALUE a DPI level of the mouse's sensor, as info lists them;\n"
     "      BRIGHTNESS 5% 15% ... 100%; SPEED 8S 7S 6S 5S 4S)",
     true},
    {"notify", "notify TYPE VALUE",
     "tell the running tray program what the mouse switched to; it shows the balloon of\n"
     "      TYPE: 5 report rate (VALUE 1, 2, 4, 8), 7 DPI stage (1 to 8), 8 key configuration\n"
     "      (1, 2), 9 macro number (not 0). The mouse itself is not touched.",
     false},
    {"unplug", "unplug",
     "with --simulate=STATE_FILE: pull the simulated mouse's cable; every program using\n"
     "      STATE_FILE loses the mouse, and a running tray program hears of it as of a real one",
     false},
    {"plug", "plug", "with --simulate=STATE_FILE: plug the simulated mouse back in", false},
    {"profile",
     "profile [--config FILE] list | save [--force] NAME | load NAME | show NAME\n"
     "      profile [--config FILE] rename OLD NEW | delete NAME\n"
     "      profile [--config FILE] export NAME FILE | import [--force] FILE [NAME]\n"
     "      profile [--config FILE] rules | rule PROGRAM NAME | remove-rule PROGRAM\n"
     "      profile [--config FILE] default NAME | no-default",
     "named copies of the settings and the button captions, kept one file each in the\n"
     "      profile folder beside config.bin (Profiles on Windows, profiles on Linux).\n"
     "      save takes config.bin and the captions of str.ini's language; load writes them\n"
     "      back and applies them to the mouse as apply does, and tells a running tray\n"
     "      program; show tells a profile's settings as show does; export writes a copy to\n"
     "      FILE, import makes a profile of one (named after the file unless NAME is given).\n"
     "      save and import replace a profile of that name only with --force. rename and\n"
     "      delete take the profile's rules along. rule gives PROGRAM (an executable's file\n"
     "      name) the profile NAME when it comes to the front; default gives NAME to every\n"
     "      program without a rule; rules lists them, as rules.ini in the folder holds them.\n"
     "      A NAME has at most 64 bytes and no character a file name cannot hold.",
     true},
}};

const CommandHelp* FindCommand(std::string_view name) {
  const auto* found = std::find_if(kCommands.begin(), kCommands.end(),
                                   [name](const CommandHelp& c) { return c.name == name; });
  return found != kCommands.end() ? found : nullptr;
}

constexpr std::string_view kOptionsHelp =
    "options:\n"
    "  --simulate[=STATE_FILE]  talk to the simulated mouse instead of the HID bus; it keeps its\n"
    "                           memory in STATE_FILE (322 bytes, created when missing), by\n"
    "                           default simulated-mouse.bin beside the tool's config.bin,\n"
    "                           which the tray program's --simulate uses too\n"
    "  --trace=FILE             append every feature report and protocol delay to FILE\n"
    "  --help                   this text; after a command, that command's usage\n"
    "  --version                the version of the tool\n";

}  // namespace

std::string UsageText(const std::string& command) {
  if (const CommandHelp* help = FindCommand(command)) {
    return "usage: q8ctl [--simulate[=STATE_FILE]] [--trace=FILE] " + std::string(help->synopsis) +
           "\n\n  " + std::string(help->description) + "\n\n" + std::string(kOptionsHelp);
  }
  std::string text =
      "usage: q8ctl [--simulate[=STATE_FILE]] [--trace=FILE] COMMAND [ARGS]\n\n"
      "Configures the Tarnix Q8 gaming mouse.\n\ncommands:\n";
  for (const CommandHelp& c : kCommands) {
    text += "  " + std::string(c.synopsis) + "\n";
  }
  return text + "\n" + std::string(kOptionsHelp);
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
