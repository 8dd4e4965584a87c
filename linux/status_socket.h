#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "linux/unique_fd.h"

namespace q8::linux_shell {

// The status interface of the Linux tray program: one local socket per user, through which a
// second start finds the running copy and other programs announce what the mouse switched to,
// as WM_USER+2 does on Windows. A message is one line "TYPE VALUE\n" in decimal; the program
// answers each with one line: "ok", or "error " and why the notice could not be shown.
struct StatusNotification {
  std::uintptr_t type = 0;
  std::intptr_t value = 0;
  friend bool operator==(const StatusNotification&, const StatusNotification&) = default;
};

// The socket's name in Linux's abstract socket namespace, keyed by the user id and nothing
// else: every copy a user starts meets the same name, whatever its environment. The kernel
// gives a name to one socket at a time and takes it back when the process that holds it ends,
// so the name itself is the single-instance guard, with no file to go stale.
std::string StatusSocketName();

// What a start finds when it claims the user's status socket.
struct StatusSocketClaim {
  UniqueFd socket;           // bound and listening: this copy is the one
  bool runningCopy = false;  // another copy of this user holds the name and answers on it
  std::string error;         // neither: why, naming what holds the name
};
// A holder that is bound but not listening yet is given a moment (a copy of this user between
// its bind and its listen); one that still takes no connections then, or that runs as another
// user, does not stop this copy: only a listening copy of this user does.
StatusSocketClaim ClaimStatusSocket();

// Whether the process at the other end of a connected local socket runs as this user.
bool PeerIsThisUser(int socket);

// The longest line a status message can be: the largest type, a blank, the most negative value
// (and a carriage return some senders add). A longer line is no status message.
inline constexpr std::size_t kLongestStatusLine =
    (std::numeric_limits<std::uintptr_t>::digits10 + 1) + 1 +
    (std::numeric_limits<std::intptr_t>::digits10 + 2) + 1;

std::string StatusLine(StatusNotification notification);
// The notification of one line (without its line break); nothing for anything else.
std::optional<StatusNotification> ParseStatusLine(std::string_view line);

// Sends one notification to the running program and waits for its answer; false with `error`
// set when none listens (`listening`, when given, then false) or the notice could not be shown.
bool SendStatusNotification(StatusNotification notification, std::string& error,
                            bool* listening = nullptr);

}  // namespace q8::linux_shell
