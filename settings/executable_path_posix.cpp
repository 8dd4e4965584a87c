#include "settings/executable_path.h"

namespace q8 {

std::optional<std::filesystem::path> ExecutablePath() {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    return std::nullopt;
  }
  return path;
}

}  // namespace q8
