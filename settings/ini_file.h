#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "settings/text_encoding.h"

namespace q8 {

// The longest value a read returns, in UTF-16 code units (the characters Windows counts).
inline constexpr std::size_t kMaxIniValueLength = 1024;

// An INI file in memory, read and edited the way the Windows private-profile functions do it, so
// that a file means the same to this tool on every platform and to the Windows functions:
// - a section starts at a line "[name]" (blanks around the line and around the name ignored; the
//   name ends at the last "]"); a key is a line "key=value" in a section (blanks around the key
//   and the value ignored); other lines are kept but never match;
// - names match regardless of ASCII letter case; the first matching section is the only one
//   searched, and in it the first matching key wins;
// - a value enclosed in a pair of equal quotes (" or ') reads without them;
// - an edit touches only the line it concerns; every other byte stays as it was, even bytes that
//   are no text in the file's encoding.
class IniDocument {
 public:
  IniDocument() = default;
  static IniDocument Parse(std::span<const std::uint8_t> bytes);

  // The file's bytes. Files with a Unicode byte-order mark keep their encoding; every other file
  // is written as UTF-16LE with a byte-order mark, the one form in which any text survives both
  // this tool and the Windows functions (which write files without a mark in the ANSI code page).
  std::vector<std::uint8_t> Serialize() const;

  // The value of `key` in `section`, at most kMaxIniValueLength characters long, or
  // `defaultValue` when there is no such key.
  std::string Get(std::string_view section, std::string_view key,
                  std::string_view defaultValue = {}) const;  // UTF-8, what is no text as U+FFFD

  // Replaces the value where the key stands, or adds "key=value" after the last line of the
  // section, or adds the section with the key at the end of the document. The value is stored so
  // that it reads back exactly: line breaks become blanks (a value is one line), and a value with
  // blanks at either end or enclosed in quotes is written in an extra pair of quotes.
  void Set(std::string_view section, std::string_view key, std::string_view value);

 private:
  // The whole text is kept as one string and lines are found in it as they are needed, so that
  // the document takes little more memory than the file, however many lines it has.
  struct Line {
    std::size_t begin;  // offset of the line's first character
    std::size_t end;    // offset of its line break (or the end of the text)
    std::size_t next;   // offset of the next line (past the break)
  };
  struct SectionRange {
    std::size_t header;  // offset of the header line
    std::size_t end;     // offset of the next section's header line, or the end of the text
  };

  Line LineAt(std::size_t begin) const;
  std::string_view TextOf(const Line& line) const;
  // The first section header at or after `from`, the start of a line.
  std::optional<Line> NextHeader(std::size_t from) const;
  std::optional<SectionRange> FindSection(std::string_view section) const;
  std::optional<Line> FindKey(const SectionRange& range, std::string_view key) const;
  // Inserts a line at `offset`, the start of a line or the end of the text.
  void InsertLine(std::size_t offset, std::string_view text);

  EditableText text_;
  std::string newLineBreak_ = "\r\n";  // the break of the file's first line, used for new lines
};

// A str.ini far larger than this is not one the tool wrote: the captions of every language at
// their longest take a few hundred kilobytes.
inline constexpr std::uintmax_t kMaxIniFileBytes = 1u << 20;

// Reads the whole file. A missing file is an empty document; a file that exists but cannot be
// read, or is larger than kMaxIniFileBytes, gives an error (and an empty document), so that a
// write never replaces what it could not read.
[[nodiscard]] std::error_code LoadIniFile(const std::filesystem::path& path, IniDocument& document);

// Replaces the file whole and durably (never half-written); creates it when missing.
[[nodiscard]] std::error_code SaveIniFile(const std::filesystem::path& path,
                                          const IniDocument& document);

// One read or one write, as the private-profile functions do them: a file that is missing or
// unreadable reads as `defaultValue`; a write loads, edits and saves the file.
std::string ReadIniString(const std::filesystem::path& path, std::string_view section,
                          std::string_view key, std::string_view defaultValue = {});
[[nodiscard]] std::error_code WriteIniString(const std::filesystem::path& path,
                                             std::string_view section, std::string_view key,
                                             std::string_view value);

}  // namespace q8
