#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/text_encoding.h"

namespace q8 {

// rules.ini as the tool edits it: only the lines an edit concerns change. Comments, blank lines,
// sections and lines the rules do not know, their order, the file's encoding and its line breaks
// stay as the user wrote them. The rules' sections and lines are recognised as ParseProfileRules
// reads them ([Rules] and [Default] in any letter case, blanks around names ignored, ';' and '#'
// starting comments).
class RulesFileEdit {
 public:
  // An empty file: UTF-8 with a byte-order mark, so that any profile name reads back on Windows.
  RulesFileEdit();
  explicit RulesFileEdit(std::span<const std::uint8_t> bytes);

  std::vector<std::uint8_t> Bytes() const;

  // The rule of `program` names `profile`: the program's first rule is changed, or one is added at
  // the end of the first [Rules] section (a section is added when there is none).
  void SetRule(std::string_view program, std::string_view profile, bool ignoreCase);
  // Removes every rule of `program`; false when it had none.
  bool RemoveRule(std::string_view program, bool ignoreCase);
  // The default profile for every other program; empty: none.
  void SetDefault(std::string_view profile);
  // Rules and the default that name the profile `from` name `to`.
  void RenameProfile(std::string_view from, std::string_view to);
  // Removes the rules that name `profile`, and the default when it is that profile; how many rules
  // went.
  int RemoveProfile(std::string_view profile);

 private:
  struct Line {
    std::string text;
    std::string lineBreak;  // empty on the last line of a file without a final break
  };
  // A rule or default line: its key and value as the rules read them.
  struct Entry {
    std::size_t line;
    std::string key;
    std::string value;
  };
  enum class Section { kRules, kDefault, kOther };

  std::vector<Entry> Entries(Section section) const;
  Section SectionOf(std::size_t line) const;
  void Insert(std::size_t at, std::string text);
  void Erase(std::size_t line) { lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line)); }
  void Replace(const Entry& entry, std::string_view value);

  std::vector<Line> lines_;
  TextEncoding encoding_ = TextEncoding::Utf8Bom;
  std::optional<std::uint8_t> oddLastByte_;
  std::string newLineBreak_ = "\n";
};

// Whether the rule of `program` is found regardless of letter case: where the system's file names
// ignore it, and for a Windows program (.exe, run by Wine elsewhere) everywhere, as the switch
// matches it.
bool RuleIgnoresCase(std::string_view program);

// Loads rules.ini (a missing file is empty), lets `edit` change it and saves it whole and durably,
// creating its folder when needed. The one line that says what failed, or nothing.
std::optional<std::string> EditRulesFile(const std::filesystem::path& rulesIni,
                                         const std::function<void(RulesFileEdit&)>& edit);

}  // namespace q8
