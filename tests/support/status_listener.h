#pragma once

#include <poll.h>
#include <sys/socket.h>

#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "linux/status_socket.h"

namespace q8::test {

// Holds the user's status socket as the Linux tray program does and answers "ok" as it does; keeps
// each notification until taken. A sender has been answered, so its notification is kept, when it
// returns. Run where no tray program holds the socket (tests/support/own-network).
class StatusListener {
 public:
  StatusListener() : claim_(linux_shell::ClaimStatusSocket()) {
    if (claim_.socket.Valid())
      thread_ = std::jthread([this](const std::stop_token& stop) { Serve(stop); });
  }
  std::string Problem() const {
    return claim_.socket.Valid() ? "" : claim_.runningCopy ? "a tray program runs" : claim_.error;
  }
  std::vector<linux_shell::StatusNotification> Take() {
    const std::lock_guard lock(mutex_);
    return std::exchange(received_, {});
  }
  // What it answers from now on (a tray program answers "error ..." when it cannot show a notice).
  void Answer(std::string line) {
    const std::lock_guard lock(mutex_);
    answer_ = std::move(line) + "\n";
  }

 private:
  void Serve(const std::stop_token& stop) {
    for (pollfd ready{claim_.socket.Get(), POLLIN, 0}; !stop.stop_requested();) {
      if (::poll(&ready, 1, 20) <= 0)
        continue;
      const linux_shell::UniqueFd client(::accept(claim_.socket.Get(), nullptr, nullptr));
      std::string line;
      for (char c = 0; client.Valid() && ::recv(client.Get(), &c, 1, 0) == 1 && c != '\n';)
        line += c;
      const std::lock_guard lock(mutex_);
      if (const auto notification = linux_shell::ParseStatusLine(line))
        received_.push_back(*notification);
      ::send(client.Get(), answer_.data(), answer_.size(), MSG_NOSIGNAL);
    }
  }

  linux_shell::StatusSocketClaim claim_;
  std::mutex mutex_;
  std::vector<linux_shell::StatusNotification> received_;
  std::string answer_ = "ok\n";
  std::jthread thread_;  // last: it ends before what it uses
};

}  // namespace q8::test
