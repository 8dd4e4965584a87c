#include "linux/status_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <thread>

#include "linux/socket_holder.h"

namespace q8::linux_shell {
namespace {

// How long a sender waits for the program's answer: it answers once the notification service
// has taken the notice (or refused it), which the program gives a few seconds.
constexpr int kAnswerTimeoutMs = 10000;
// How long a start waits for the holder of the name to take connections: a copy of this user
// that has bound the name listens moments later, even on a busy machine.
constexpr auto kStartingCopyWait = std::chrono::seconds(2);
constexpr auto kStartingCopyRetry = std::chrono::milliseconds(20);
// What a copy that could not claim the name does, said after what holds it.
constexpr const char* kUnguarded =
    "; tarnix-q8 runs without the single-instance guard and without status notifications (ask "
    "your administrator to end that process)";

template <typename Number>
bool ParseNumber(std::string_view text, Number& number) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, number);
  return result.ec == std::errc() && result.ptr == end && !text.empty();
}

// The abstract address of the status socket: a leading zero byte, then the name (no terminator).
socklen_t AbstractAddress(sockaddr_un& address) {
  const std::string name = StatusSocketName();
  address = {};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

// A connection to the status socket, or none with the system's error in `error`. Made without
// waiting: a holder whose queue of connections is full (one that never takes them, as another
// user's process squatting the name may) would otherwise keep connect() waiting for ever
// (EAGAIN instead). Once connected, the descriptor blocks again.
UniqueFd ConnectToStatusSocket(int& error) {
  sockaddr_un address;
  const socklen_t length = AbstractAddress(address);
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  error = fd.Valid() ? 0 : errno;
  if (fd.Valid() && ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), length) != 0) {
    error = errno;
    fd.Reset();
  }
  if (fd.Valid()) {
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
      error = errno;
      fd.Reset();
    }
  }
  return fd;
}

// One line from the socket, without its line break; nothing when it ends or stays silent first.
std::optional<std::string> ReadLine(int fd, int timeoutMs) {
  std::string line;
  char c = 0;
  for (;;) {
    pollfd ready{fd, POLLIN, 0};
    const int polled = ::poll(&ready, 1, timeoutMs);
    if (polled < 0 && errno == EINTR) {
      continue;
    }
    if (polled <= 0) {
      return std::nullopt;
    }
    const ssize_t got = ::recv(fd, &c, 1, 0);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      return std::nullopt;
    }
    if (c == '\n') {
      return line;
    }
    line += c;
  }
}

}  // namespace

std::string StatusSocketName() {
  return "tarnix-q8-" + std::to_string(::getuid());
}

StatusSocketClaim ClaimStatusSocket() {
  StatusSocketClaim claim;
  sockaddr_un address;
  const socklen_t length = AbstractAddress(address);
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.Valid()) {
    claim.error = std::string("cannot make the status socket: ") + std::strerror(errno);
    return claim;
  }
  const auto deadline = std::chrono::steady_clock::now() + kStartingCopyWait;
  for (;;) {
    // Binding is the claim: of copies started together exactly one gets the name.
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), length) == 0) {
      if (::listen(fd.Get(), 16) != 0) {
        claim.error = std::string("cannot listen on the status socket: ") + std::strerror(errno);
        return claim;
      }
      claim.socket = std::move(fd);
      return claim;
    }
    if (errno != EADDRINUSE) {
      claim.error = std::string("cannot claim the status socket: ") + std::strerror(errno);
      return claim;
    }
    // Held: by this user's running copy, or by a process of another user squatting the name.
    int connectError = 0;
    if (const UniqueFd holder = ConnectToStatusSocket(connectError); holder.Valid()) {
      ucred peer{};
      socklen_t size = sizeof(peer);
      if (::getsockopt(holder.Get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
          peer.uid == ::getuid()) {
        claim.runningCopy = true;
        return claim;
      }
      claim.error = "the status socket @" + StatusSocketName() + " is held by process " +
                    std::to_string(peer.pid) + " of " + DescribeUser(peer.uid) + kUnguarded;
      return claim;
    }
    // Bound and not listening (a copy between its bind and its listen, or a squatter), or
    // listening with its queue full.
    if (std::chrono::steady_clock::now() >= deadline) {
      break;
    }
    std::this_thread::sleep_for(kStartingCopyRetry);
  }
  const std::optional<uid_t> holder = AbstractSocketHolder(StatusSocketName());
  claim.error = "the status socket @" + StatusSocketName() + " is held by a process of " +
                (holder ? DescribeUser(*holder) : std::string("an unknown user")) +
                " that takes no connections" + kUnguarded;
  return claim;
}

bool PeerIsThisUser(int socket) {
  ucred peer{};
  socklen_t size = sizeof(peer);
  return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

std::string StatusLine(StatusNotification notification) {
  return std::to_string(notification.type) + " " + std::to_string(notification.value) + "\n";
}

std::optional<StatusNotification> ParseStatusLine(std::string_view line) {
  const auto blank = line.find(' ');
  if (blank == std::string_view::npos) {
    return std::nullopt;
  }
  StatusNotification notification;
  if (!ParseNumber(line.substr(0, blank), notification.type) ||
      !ParseNumber(line.substr(blank + 1), notification.value)) {
    return std::nullopt;
  }
  return notification;
}

bool SendStatusNotification(StatusNotification notification, std::string& error, bool* listening) {
  int connectError = 0;
  const UniqueFd fd = ConnectToStatusSocket(connectError);
  if (listening != nullptr) {
    *listening = fd.Valid() || connectError == EAGAIN;
  }
  if (!fd.Valid()) {
    error =
        connectError == EAGAIN
            ? "@" + StatusSocketName() + " takes no connections (its queue is full)"
            : "the tray program is not running (nothing listens on @" + StatusSocketName() + ")";
    return false;
  }
  if (!PeerIsThisUser(fd.Get())) {
    if (listening != nullptr) {
      *listening = false;  // no tray program of this user
    }
    error =
        "@" + StatusSocketName() + " is held by a process of another user, not the tray program";
    return false;
  }
  const std::string line = StatusLine(notification);
  if (::send(fd.Get(), line.data(), line.size(), MSG_NOSIGNAL) !=
      static_cast<ssize_t>(line.size())) {
    error = std::string("the notification could not be sent: ") + std::strerror(errno);
    return false;
  }
  const std::optional<std::string> answer = ReadLine(fd.Get(), kAnswerTimeoutMs);
  if (!answer) {
    error = "the tray program did not answer";
    return false;
  }
  if (*answer != "ok") {
    error = answer->starts_with("error ") ? answer->substr(6) : *answer;
    return false;
  }
  return true;
}

}  // namespace q8::linux_shell
