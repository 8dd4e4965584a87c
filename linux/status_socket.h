#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace q8::linux_shell {

// The status interface of the Linux tray program: one local socket per user, through which a
// second start finds the running copy and other programs announce what the mouse switched to,
// as WM_USER+2 does on Windows. A message is one line "TYPE VALUE\n" in decimal.
struct StatusNotification {
  std::uintptr_t type = 0;
  std::intptr_t value = 0;
  friend bool operator==(const StatusNotification&, const StatusNotification&) = default;
};

// $XDG_RUNTIME_DIR/tarnix-q8.socket, or a per-user name in the temporary folder without one.
std::filesystem::path StatusSocketPath();

std::string StatusLine(StatusNotification notification);
// The notification of one line (without its line break); nothing for anything else.
std::optional<StatusNotification> ParseStatusLine(std::string_view line);

// Sends one notification to the running program; false with `error` set when none listens.
bool SendStatusNotification(const std::filesystem::path& socket, StatusNotification notification,
                            std::string& error);

}  // namespace q8::linux_shell
