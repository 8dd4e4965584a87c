#include <windows.h>

#include <climits>
#include <string>

#include "settings/ansi_code_page.h"
#include "settings/text_encoding.h"

namespace q8 {

std::optional<std::string> AnsiCodePageToUtf8(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    return std::nullopt;
  }
  const auto* text = reinterpret_cast<const char*>(bytes.data());
  const int size = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0);
  if (length <= 0) {
    return std::nullopt;
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (::MultiByteToWideChar(CP_ACP, 0, text, size, wide.data(), length) != length) {
    return std::nullopt;
  }
  return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

}  // namespace q8
