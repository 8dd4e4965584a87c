#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace q8 {

// The names of the folders in `skinsRoot` (UTF-8), in the order the file system lists them.
// Files are left out; nothing else is checked, so a folder without images is a skin too. A root
// that is missing or cannot be read has none.
std::vector<std::string> ListSkinFolders(std::string_view skinsRoot);

// The full path (UTF-8) of the first folder in `skinsRoot`, in the file system's order, whose
// name equals `name` ignoring the case of the letters A to Z; nothing when there is none.
std::optional<std::string> FindSkinFolder(std::string_view skinsRoot, std::string_view name);

}  // namespace q8
