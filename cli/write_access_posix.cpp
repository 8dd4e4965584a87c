#include "cli/write_access.h"
#include "settings/utf8_path.h"

namespace q8 {

std::string WriteRightsHint(const std::filesystem::path& folder) {
  return "run q8ctl as a user with write rights to " + Utf8Of(folder);
}

}  // namespace q8
