#pragma once

#include <ostream>

#include "cli/invocation.h"
#include "device/hid_bus.h"

namespace q8 {

// q8ctl profile list | save NAME | load NAME | delete NAME | show NAME | export NAME FILE |
// import FILE [NAME]: named copies of the settings and the button captions in the profile folder
// beside config.bin. Returns the exit status.
int RunProfile(const Invocation& invocation, HidBus* systemBus, std::ostream& out,
               std::ostream& err);

}  // namespace q8
