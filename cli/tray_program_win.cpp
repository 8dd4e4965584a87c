#include "cli/tray_program.h"

#include <windows.h>

#include "settings/executable_path.h"

namespace q8 {

TrayNotice NotifyTrayProgram(std::uintptr_t type, std::intptr_t value, std::string& error) {
  const HWND window = ::FindWindowW(L"TarnixQ8Class", nullptr);
  if (window == nullptr) {
    error = "the tray program is not running";
    return TrayNotice::kNotRunning;
  }
  // Sent, not posted: the program has shown the balloon when this returns. A program that does not
  // answer (busy with a box, or hung) does not hold q8ctl for ever.
  DWORD_PTR ignored = 0;
  if (::SendMessageTimeoutW(window, WM_USER + 2, static_cast<WPARAM>(type),
                            static_cast<LPARAM>(value), SMTO_NORMAL | SMTO_ABORTIFHUNG, 10000,
                            &ignored) == 0) {
    error = "the tray program did not answer";
    return TrayNotice::kNotTold;
  }
  return TrayNotice::kTold;
}

std::optional<std::filesystem::path> ToolExecutable(std::string& error) {
  auto executable = ExecutablePath();
  if (!executable) {
    error = "cannot tell where q8ctl is";
  }
  return executable;
}

}  // namespace q8
