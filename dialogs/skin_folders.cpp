#include "dialogs/skin_folders.h"

#include <filesystem>
#include <system_error>

#include "settings/utf8_path.h"

namespace q8 {
namespace {

namespace fs = std::filesystem;

char FoldAsciiLetter(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiLetter(a[i]) != FoldAsciiLetter(b[i])) {
      return false;
    }
  }
  return true;
}

// Calls `visit` with the path of every folder in `root`, in the file system's order, until it
// returns true.
template <typename Visit>
void ForEachFolder(std::string_view root, Visit&& visit) {
  std::error_code error;
  fs::directory_iterator entries(PathFromUtf8(root), error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    std::error_code typeError;
    if (entries->is_directory(typeError) && visit(entries->path())) {
      return;
    }
  }
}

}  // namespace

std::vector<std::string> ListSkinFolders(std::string_view skinsRoot) {
  std::vector<std::string> names;
  ForEachFolder(skinsRoot, [&](const fs::path& folder) {
    names.push_back(Utf8Of(folder.filename()));
    return false;
  });
  return names;
}

std::optional<std::string> FindSkinFolder(std::string_view skinsRoot, std::string_view name) {
  std::optional<std::string> found;
  ForEachFolder(skinsRoot, [&](const fs::path& folder) {
    if (SameIgnoringAsciiCase(Utf8Of(folder.filename()), name)) {
      found = Utf8Of(folder);
    }
    return found.has_value();
  });
  return found;
}

}  // namespace q8
