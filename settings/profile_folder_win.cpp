#include "settings/profile_file.h"

namespace q8 {

// Beside config.bin and Skins, named as they are.
std::filesystem::path ProfileFolderIn(const std::filesystem::path& dataFolder) {
  return dataFolder / "Profiles";
}

}  // namespace q8
