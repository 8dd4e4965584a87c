#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace q8 {

// The folder of the executable as the settings files derive it: the executable's full path with
// the file name removed and the trailing separator kept ("C:\Tools\" for "C:\Tools\app.exe").
std::string ExecutableDirectory(std::string_view executablePath);

// The active skin folder: the executable's folder, then "/Skins/", then the skin name, without a
// trailing separator. Both separators are kept as they come, so on Windows the folder reads
// "C:\Tools\/Skins/Dark"; the file system accepts the mixed form.
std::string SkinDirectory(std::string_view executableDirectory, std::string_view skinName);

// The full path of one skin image: the skin folder followed directly by the image name, which
// begins with "/". Both strings are UTF-8.
std::filesystem::path SkinImagePath(std::string_view skinDirectory, std::string_view imageName);

}  // namespace q8
