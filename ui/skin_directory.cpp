#include "ui/skin_directory.h"

namespace q8 {

std::string ExecutableDirectory(std::string_view executablePath) {
  const auto separator = executablePath.find_last_of("\\/");
  if (separator == std::string_view::npos) {
    return {};
  }
  return std::string(executablePath.substr(0, separator + 1));
}

std::string SkinDirectory(std::string_view executableDirectory, std::string_view skinName) {
  std::string folder(executableDirectory);
  folder += "/Skins/";
  folder += skinName;
  return folder;
}

std::filesystem::path SkinImagePath(std::string_view skinDirectory, std::string_view imageName) {
  std::u8string path(skinDirectory.begin(), skinDirectory.end());
  path.append(imageName.begin(), imageName.end());
  return std::filesystem::path(path);
}

}  // namespace q8
