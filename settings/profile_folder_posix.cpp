#include "settings/profile_file.h"

namespace q8 {

// Lower case, as the folders of a Linux user's configuration are named.
std::filesystem::path ProfileFolderIn(const std::filesystem::path& dataFolder) {
  return dataFolder / "profiles";
}

}  // namespace q8
