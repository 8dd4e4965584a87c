#include "linux/tool_home.h"

#include <cstdlib>
#include <system_error>

#include "settings/config_file.h"

namespace q8::linux_shell {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFolderName = "tarnix-q8";

// An XDG base folder: the variable when it holds an absolute path, else the fallback under home.
fs::path BaseFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') {
    return value;
  }
  const char* home = std::getenv("HOME");
  return fs::path(home != nullptr ? home : "/") / fallback;
}

// Copies a delivered file into the tool's folder unless the user has one already.
bool CopyDefault(const fs::path& from, const fs::path& to, std::string& error) {
  std::error_code ec;
  if (fs::exists(to, ec)) {
    return true;
  }
  if (!fs::copy_file(from, to, ec)) {
    error = "cannot create " + to.string() + " from " + from.string() + ": " + ec.message();
    return false;
  }
  return true;
}

}  // namespace

std::optional<fs::path> ToolHome(const fs::path& executable, std::string& error) {
  std::error_code ec;
  const fs::path beside = executable.parent_path();
  if (fs::exists(beside / kConfigFileName, ec)) {
    return executable;
  }
  const fs::path installed = beside.parent_path() / "share" / kFolderName;
  const fs::path home = BaseFolder("XDG_CONFIG_HOME", ".config") / kFolderName;
  const fs::path skins = BaseFolder("XDG_DATA_HOME", ".local/share") / kFolderName / "Skins";
  fs::create_directories(home, ec);
  if (!ec)
    fs::create_directories(skins, ec);
  if (ec) {
    error = "cannot create the folders " + home.string() + " and " + skins.string() + ": " +
            ec.message();
    return std::nullopt;
  }
  if (!CopyDefault(installed / kConfigFileName, home / kConfigFileName, error) ||
      !CopyDefault(installed / kIniFileName, home / kIniFileName, error)) {
    return std::nullopt;
  }
  // Installed skins appear among the user's own; a skin the user made of the same name wins.
  for (const fs::directory_entry& skin : fs::directory_iterator(installed / "Skins", ec)) {
    const fs::path link = skins / skin.path().filename();
    std::error_code linkError;
    if (skin.is_directory(linkError) && !fs::exists(fs::symlink_status(link, linkError))) {
      fs::create_directory_symlink(skin.path(), link, linkError);
    }
  }
  const fs::path skinsLink = home / "Skins";
  if (!fs::exists(fs::symlink_status(skinsLink, ec))) {
    fs::create_directory_symlink(skins, skinsLink, ec);
    if (ec) {
      error = "cannot link " + skinsLink.string() + " to " + skins.string() + ": " + ec.message();
      return std::nullopt;
    }
  }
  return home / kFolderName;
}

}  // namespace q8::linux_shell
