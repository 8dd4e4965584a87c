#include "cli/write_access.h"
#include "settings/utf8_path.h"

namespace q8 {

// The tool's folder lies in Program Files, which only administrators may change.
std::string WriteRightsHint(const std::filesystem::path& folder) {
  return "run q8ctl from an elevated prompt (Run as administrator), or as a user with write "
         "rights to " +
         Utf8Of(folder);
}

}  // namespace q8
