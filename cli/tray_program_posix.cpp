#include "cli/tray_program.h"

#include "linux/status_socket.h"
#include "linux/tool_home.h"
#include "settings/executable_path.h"

namespace q8 {

TrayNotice NotifyTrayProgram(std::uintptr_t type, std::intptr_t value, std::string& error) {
  bool listening = true;
  if (linux_shell::SendStatusNotification({type, value}, error, &listening)) {
    return TrayNotice::kTold;
  }
  return listening ? TrayNotice::kNotTold : TrayNotice::kNotRunning;
}

std::optional<std::filesystem::path> ToolExecutable(std::string& error) {
  const auto executable = ExecutablePath();
  if (!executable) {
    error = "cannot tell where q8ctl is";
    return std::nullopt;
  }
  return linux_shell::ToolHome(*executable, error);
}

}  // namespace q8
