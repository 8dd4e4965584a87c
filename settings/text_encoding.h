#pragma once

#include <cstdint>
#include <optional>
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

// A file's text as an editor needs it: every byte of the file is kept, so that the parts left
// unchanged encode to the very bytes they came from. `utf8` is UTF-8 except where a file marked as
// Unicode holds what is no text in its encoding (a byte outside UTF-8 sequences, an unpaired
// UTF-16 surrogate): that stays as the three-byte form of a surrogate code point, which valid UTF-8
// never contains (a byte b as U+DC00 + b, a surrogate as itself). ValidUtf8 gives what the user
// sees of it.
struct EditableText {
  std::string utf8;
  TextEncoding encoding = TextEncoding::Plain;
  std::optional<std::uint8_t> oddLastByte;  // after the last whole unit of a UTF-16 file
};
EditableText DecodeEditableText(std::span<const std::uint8_t> bytes);

// Encodes UTF-8 text with the byte-order mark of `encoding`. The kept forms of EditableText turn
// back into the bytes or units they stand for.
std::vector<std::uint8_t> EncodeText(std::string_view utf8, TextEncoding encoding);

// `text` with every kept form and every broken sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

// Conversions between the core's UTF-8 and the UTF-16 of the Windows API. Invalid UTF-8 bytes
// become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// `text` without the blanks, tabs and carriage returns at either end, as a line of a text file is
// read.
std::string_view TrimmedBlanks(std::string_view text);

// The number of UTF-16 code units `utf8` takes: the length Windows counts.
std::size_t Utf16Length(std::string_view utf8);

// The longest prefix of `utf8` that takes at most `maxUnits` UTF-16 code units, never splitting
// a character.
std::string_view TruncateToUtf16Units(std::string_view utf8, std::size_t maxUnits);

}  // namespace q8
