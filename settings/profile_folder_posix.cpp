#include "settings/profile_file.h"
#include "settings/profile_rules.h"

namespace q8 {

// Lower case, as the folders of a Linux user's configuration are named.
std::filesystem::path ProfileFolderIn(const std::filesystem::path& dataFolder) {
  return dataFolder / "profiles";
}

// Linux file names differ by letter case, and so do its programs.
bool ProgramNamesIgnoreCase() {
  return false;
}

}  // namespace q8
