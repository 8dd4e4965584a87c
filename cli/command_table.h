#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace q8 {

// The one table of q8ctl's commands and of the options of q8ctl and tarnix-q8: `--help` prints it,
// and the manual pages and the shells' completions are made from it (q8docs), so that none of them
// can tell another story.

struct CommandHelp {
  std::string_view name;
  std::string_view synopsis;     // lines after the first start with six blanks
  std::string_view description;  // likewise
  bool takesConfig;
  // The words a completion offers after the command (its sub-commands), blank-separated.
  std::string_view words = {};
  // Those of them that a profile's name follows.
  std::string_view profileNameAfter = {};
};

inline constexpr std::array<CommandHelp, 9> kCommands{{
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
     true, "report-rate dpi lighting"},
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
     "      A running tray program follows a rename or a delete of its active profile and\n"
     "      gives the program in front what changed rules give it, at once.\n"
     "      A NAME has at most 64 bytes and no character a file name cannot hold.",
     true,
     "list save load show rename delete export import rules rule remove-rule default no-default",
     "load show rename delete export default"},
}};

struct OptionHelp {
  std::string_view name;      // "--trace"
  std::string_view argument;  // "FILE"; empty: none
  bool argumentOptional;      // written "--simulate[=STATE_FILE]"
  std::string_view description;
};

inline constexpr OptionHelp kSimulateOption{
    "--simulate", "STATE_FILE", true,
    "talk to the simulated mouse instead of the HID bus; it keeps its memory in\n"
    "STATE_FILE (322 bytes, created when missing), by default simulated-mouse.bin\n"
    "beside the tool's config.bin, which q8ctl and the tray program share"};
inline constexpr OptionHelp kTraceOption{"--trace", "FILE", false,
                                         "append every feature report and protocol delay to FILE"};

inline constexpr std::array<OptionHelp, 4> kQ8ctlOptions{{
    kSimulateOption,
    kTraceOption,
    {"--help", "", false, "this text; after a command, that command's usage"},
    {"--version", "", false, "the version of the tool"},
}};

inline constexpr std::string_view kAtLogInOption = "--at-log-in";
inline constexpr std::array<OptionHelp, 5> kTrayProgramOptions{{
    kSimulateOption,
    kTraceOption,
    {kAtLogInOption, "", false,
     "started by the desktop at log-in: waits up to a minute for the notification\n"
     "area, whose panel the desktop may start after the program"},
    {"--help", "", false, "this text"},
    {"--version", "", false, "the version of the program"},
}};

// An option as the usage writes it: "--simulate[=STATE_FILE]", "--trace=FILE".
std::string OptionSpelling(const OptionHelp& option);
// The "options:" block of a usage text.
std::string OptionsHelp(std::span<const OptionHelp> options);
// tarnix-q8's usage (--help).
std::string TrayProgramUsage();

}  // namespace q8
