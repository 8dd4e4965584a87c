#pragma once

#include <ostream>

#include "cli/invocation.h"
#include "device/hid_bus.h"

namespace q8 {

// q8ctl profile list | save NAME | load NAME | show NAME | rename OLD NEW | delete NAME |
// export NAME FILE | import FILE [NAME] | rules | rule PROGRAM NAME | remove-rule PROGRAM |
// default NAME | no-default: named copies of the settings and the button captions in the profile
// folder beside config.bin, and the rules that switch them. Everything but load and show goes
// through the profile actions the profiles dialog uses too. Returns the exit status.
int RunProfile(const Invocation& invocation, HidBus* systemBus, std::ostream& out,
               std::ostream& err);

}  // namespace q8
