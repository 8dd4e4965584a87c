#include "linux/status_socket.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "linux/unique_fd.h"

namespace q8::linux_shell {
namespace {

template <typename Number>
bool ParseNumber(std::string_view text, Number& number) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, number);
  return result.ec == std::errc() && result.ptr == end && !text.empty();
}

}  // namespace

std::filesystem::path StatusSocketPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') {
    return std::filesystem::path(runtime) / "tarnix-q8.socket";
  }
  return std::filesystem::temp_directory_path() /
         ("tarnix-q8-" + std::to_string(::getuid()) + ".socket");
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

bool SendStatusNotification(const std::filesystem::path& socket, StatusNotification notification,
                            std::string& error) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = socket.string();
  if (path.size() >= sizeof(address.sun_path)) {
    error = "the socket path " + path + " is too long";
    return false;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.Valid() ||
      ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    error = "the tray program is not running (" + path + ": " + std::strerror(errno) + ")";
    return false;
  }
  const std::string line = StatusLine(notification);
  if (::send(fd.Get(), line.data(), line.size(), MSG_NOSIGNAL) !=
      static_cast<ssize_t>(line.size())) {
    error = std::string("the notification could not be sent: ") + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace q8::linux_shell
