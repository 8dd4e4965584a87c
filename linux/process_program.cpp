#include "linux/process_program.h"

#include <filesystem>
#include <fstream>

namespace q8::linux_shell {

std::optional<std::string> ProgramOfProcess(pid_t pid) {
  if (pid <= 0) {
    return std::nullopt;
  }
  const std::filesystem::path process = "/proc/" + std::to_string(pid);
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink(process / "exe", error);
  if (!error && !executable.filename().empty()) {
    // A program replaced while it runs reads "name (deleted)"; the rule names the program.
    std::string name = executable.filename().string();
    constexpr std::string_view kDeleted = " (deleted)";
    if (name.ends_with(kDeleted)) {
      name.resize(name.size() - kDeleted.size());
    }
    return name;
  }
  std::ifstream comm(process / "comm");
  std::string name;
  if (comm && std::getline(comm, name) && !name.empty()) {
    return name;
  }
  return std::nullopt;
}

}  // namespace q8::linux_shell
