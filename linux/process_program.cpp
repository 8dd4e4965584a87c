#include "linux/process_program.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "settings/profile_rules.h"

namespace q8::linux_shell {
namespace {

// The arguments of a process as /proc/PID/cmdline holds them, each ended by a NUL; none when the
// file cannot be read.
std::vector<std::string> CommandLine(const std::filesystem::path& process) {
  std::ifstream file(process / "cmdline", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::vector<std::string> arguments;
  std::size_t begin = 0;
  while (begin < bytes.size()) {
    std::size_t end = bytes.find('\0', begin);
    if (end == std::string::npos) {
      end = bytes.size();
    }
    arguments.push_back(bytes.substr(begin, end - begin));
    begin = end + 1;
  }
  return arguments;
}

// The file name of the process's executable, or its own name where the executable may not be
// read; nothing when the process is gone.
std::optional<std::string> ExecutableName(const std::filesystem::path& process) {
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

}  // namespace

std::optional<ProcessProgram> ProgramOfProcess(pid_t pid) {
  if (pid <= 0) {
    return std::nullopt;
  }
  const std::filesystem::path process = "/proc/" + std::to_string(pid);
  const auto executable = ExecutableName(process);
  if (!executable) {
    return std::nullopt;
  }
  return ProgramOfCommandLine(*executable, CommandLine(process));
}

}  // namespace q8::linux_shell
