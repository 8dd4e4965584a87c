#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace q8 {

// Text in the system's ANSI code page, the encoding in which the Windows private-profile functions
// read a file that has no byte-order mark. Nothing where the system has no such code page (every
// system but Windows) or the text does not convert; the caller then decides how to read it.
//
// Implemented once per operating system (ansi_code_page_win.cpp, ansi_code_page_posix.cpp).
std::optional<std::string> AnsiCodePageToUtf8(std::span<const std::uint8_t> bytes);

}  // namespace q8
