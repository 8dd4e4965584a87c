#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace q8::linux_shell {

// The user whose process holds a name in the abstract socket namespace of this network
// namespace, asked of the kernel's socket diagnostics (which see a socket that is bound but
// takes no connections, where a connect learns nothing); nothing when no socket holds the name
// or the kernel cannot tell.
std::optional<uid_t> AbstractSocketHolder(std::string_view name);

// "uid 1001 (alice)", or "uid 1001" for a user the system cannot name.
std::string DescribeUser(uid_t uid);

}  // namespace q8::linux_shell
