#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace q8 {

// How a text file is stored. Files without a byte-order mark are read as UTF-8; where they are
// not valid UTF-8 (an ANSI file from another program) they are read in the system's ANSI code
// page as the Windows functions read them, or byte by byte as Latin-1 where there is none.
enum class TextEncoding {
  Plain,       // no byte-order mark: UTF-8 or ASCII
  Utf8Bom,     // EF BB BF
  Utf16LeBom,  // FF FE
  Utf16BeBom,  // FE FF
};

struct DecodedText {
  std::string utf8;
  TextEncoding encoding = TextEncoding::Plain;
};

// Decodes a whole file by its byte-order mark. Broken sequences never fail the read: an unpaired
// surrogate becomes U+FFFD and an odd last byte of a UTF-16 file is dropped.
DecodedText DecodeText(std::span<const std::uint8_t> bytes);

// Encodes UTF-8 text with the byte-order mark of `encoding`.
std::vector<std::uint8_t> EncodeText(std::string_view utf8, TextEncoding encoding);

// Conversions between the core's UTF-8 and the UTF-16 of the Windows API. Invalid UTF-8 bytes
// become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// The number of UTF-16 code units `utf8` takes: the length Windows counts.
std::size_t Utf16Length(std::string_view utf8);

// The longest prefix of `utf8` that takes at most `maxUnits` UTF-16 code units, never splitting
// a character.
std::string_view TruncateToUtf16Units(std::string_view utf8, std::size_t maxUnits);

}  // namespace q8
