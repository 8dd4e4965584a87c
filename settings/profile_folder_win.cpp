#include "settings/profile_file.h"
#include "settings/profile_rules.h"

namespace q8 {

// Beside config.bin and Skins, named as they are.
std::filesystem::path ProfileFolderIn(const std::filesystem::path& dataFolder) {
  return dataFolder / "Profiles";
}

// Windows file names match regardless of letter case: GAME.EXE is game.exe.
bool ProgramNamesIgnoreCase() {
  return true;
}

}  // namespace q8
