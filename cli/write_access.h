#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "cli/invocation.h"

namespace q8 {

// Whether q8ctl may change the files `invocation` would change, asked before the mouse is
// touched, so that the mouse and the files never disagree: apply, set and profile load replace
// config.bin (load also str.ini); profile save, import and delete write the profile folder beside
// it. The one line that says which cannot be written and what to do, or nothing.
std::optional<std::string> WriteAccessProblem(const Invocation& invocation);

// What gives q8ctl the rights to write in `folder` on this system (write_access_posix.cpp,
// write_access_win.cpp).
std::string WriteRightsHint(const std::filesystem::path& folder);

}  // namespace q8
