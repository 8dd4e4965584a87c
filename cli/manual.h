#pragma once

#include <string>

namespace q8 {

// The documents made from the table --help prints (cli/command_table.h), by q8docs at build time:
// the manual pages q8ctl(1) and tarnix-q8(1) and q8ctl's completions for bash, zsh and fish. The
// completions offer the commands, their sub-commands and options, and after `profile load`,
// `delete`, `show` and `export` the profiles that exist (as `q8ctl profile list` names them).
std::string Q8ctlManPage();
std::string TrayProgramManPage();
std::string BashCompletion();
std::string ZshCompletion();
std::string FishCompletion();

}  // namespace q8
