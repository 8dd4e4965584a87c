#pragma once

#include <string>
#include <string_view>

namespace q8::win32 {

// The core speaks UTF-8; Windows speaks UTF-16. Invalid sequences become U+FFFD.
std::string ToUtf8(std::wstring_view text);
std::wstring ToWide(std::string_view text);

}  // namespace q8::win32
