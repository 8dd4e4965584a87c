#include "settings/ansi_code_page.h"

namespace q8 {

// There is no system code page for old single-byte files here.
std::optional<std::string> AnsiCodePageToUtf8(std::span<const std::uint8_t>) {
  return std::nullopt;
}

}  // namespace q8
