#include "cli/command_table.h"

namespace q8 {
namespace {

// Where an option's description starts in the usage.
constexpr std::size_t kDescriptionColumn = 27;

}  // namespace

std::string OptionSpelling(const OptionHelp& option) {
  std::string text(option.name);
  if (!option.argument.empty()) {
    text += option.argumentOptional ? "[=" + std::string(option.argument) + "]"
                                    : "=" + std::string(option.argument);
  }
  return text;
}

std::string OptionsHelp(std::span<const OptionHelp> options) {
  std::string text = "options:\n";
  for (const OptionHelp& option : options) {
    std::string line = "  " + OptionSpelling(option);
    line.resize(std::max(line.size() + 2, kDescriptionColumn), ' ');
    for (const char c : option.description) {
      line += c;
      if (c == '\n') {
        line += std::string(kDescriptionColumn, ' ');
      }
    }
    text += line + "\n";
  }
  return text;
}

std::string TrayProgramUsage() {
  return "usage: tarnix-q8 [--simulate[=STATE_FILE]] [--trace=FILE] [--at-log-in]\n\n"
         "The tray program of the Tarnix Q8 gaming mouse: its icon in the desktop's notification\n"
         "area opens the settings window; profiles follow the program in front.\n\n" +
         OptionsHelp(kTrayProgramOptions);
}

}  // namespace q8
