#include "linux/socket_holder.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sock_diag.h>
#include <linux/unix_diag.h>
#include <pwd.h>
#include <sys/socket.h>

#include <array>
#include <cstring>
#include <vector>

#include "linux/unique_fd.h"

namespace q8::linux_shell {
namespace {

struct DiagRequest {
  nlmsghdr header;
  unix_diag_req request;
};

// Asks for every local socket of the namespace with its name and owner.
bool SendDump(int fd) {
  DiagRequest message{};
  message.header.nlmsg_len = sizeof(message);
  message.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
  message.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  message.request.sdiag_family = AF_UNIX;
  message.request.udiag_states = ~0U;
  message.request.udiag_show = UDIAG_SHOW_NAME | UDIAG_SHOW_UID;
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  return ::sendto(fd, &message, sizeof(message), 0, reinterpret_cast<sockaddr*>(&kernel),
                  sizeof(kernel)) == static_cast<ssize_t>(sizeof(message));
}

// The owner named in one socket's answer when its name is `abstractName` (with its leading
// zero byte).
std::optional<uid_t> OwnerIfNamed(const nlmsghdr* header, std::string_view abstractName) {
  const auto* socket =
      reinterpret_cast<const unix_diag_msg*>(reinterpret_cast<const char*>(header) + NLMSG_HDRLEN);
  int left = static_cast<int>(header->nlmsg_len) - NLMSG_LENGTH(sizeof(*socket));
  bool named = false;
  std::optional<uid_t> owner;
  for (auto* attribute = reinterpret_cast<const rtattr*>(socket + 1);
       left > 0 && RTA_OK(attribute, left); attribute = RTA_NEXT(attribute, left)) {
    const auto* data = static_cast<const char*>(RTA_DATA(attribute));
    const auto size = static_cast<std::size_t>(RTA_PAYLOAD(attribute));
    if (attribute->rta_type == UNIX_DIAG_NAME) {
      named = std::string_view(data, size) == abstractName;
    } else if (attribute->rta_type == UNIX_DIAG_UID && size >= sizeof(uid_t)) {
      uid_t uid = 0;
      std::memcpy(&uid, data, sizeof(uid));
      owner = uid;
    }
  }
  return named ? owner : std::nullopt;
}

}  // namespace

std::optional<uid_t> AbstractSocketHolder(std::string_view name) {
  const UniqueFd fd(::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG));
  if (!fd.Valid() || !SendDump(fd.Get())) {
    return std::nullopt;
  }
  const std::string abstractName = std::string(1, '\0') + std::string(name);
  std::optional<uid_t> holder;
  std::vector<char> buffer(32 * 1024);
  for (;;) {
    const ssize_t got = ::recv(fd.Get(), buffer.data(), buffer.size(), 0);
    if (got <= 0) {
      return holder;
    }
    int left = static_cast<int>(got);
    for (auto* header = reinterpret_cast<const nlmsghdr*>(buffer.data()); NLMSG_OK(header, left);
         header = NLMSG_NEXT(header, left)) {
      if (header->nlmsg_type == NLMSG_DONE || header->nlmsg_type == NLMSG_ERROR) {
        return holder;
      }
      if (const auto owner = OwnerIfNamed(header, abstractName); owner && !holder) {
        holder = owner;
      }
    }
  }
}

std::string DescribeUser(uid_t uid) {
  std::string text = "uid " + std::to_string(uid);
  std::array<char, 4096> strings{};
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(uid, &entry, strings.data(), strings.size(), &found) == 0 && found != nullptr) {
    text += std::string(" (") + found->pw_name + ")";
  }
  return text;
}

}  // namespace q8::linux_shell
