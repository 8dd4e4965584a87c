#include "settings/profile_rules_file.h"

#include <algorithm>

#include "settings/durable_file.h"
#include "settings/file_bytes.h"
#include "settings/profile_file.h"
#include "settings/profile_rules.h"
#include "settings/utf8_path.h"

namespace q8 {
namespace {

// rules.ini holds a line per program; anything this large was not written by hand.
constexpr std::uintmax_t kMaxRulesFileBytes = 1u << 20;

constexpr std::string_view kRulesSection = "Rules";
constexpr std::string_view kDefaultSection = "Default";
constexpr std::string_view kDefaultKey = "Profile";

bool SameName(std::string_view a, std::string_view b, bool ignoreCase) {
  return ignoreCase ? SameNameIgnoringCase(a, b) : a == b;
}

bool IsHeader(std::string_view line) {
  return !line.empty() && line.front() == '[' && line.back() == ']';
}

bool IsComment(std::string_view line) {
  return line.empty() || line.front() == ';' || line.front() == '#';
}

}  // namespace

bool RuleIgnoresCase(std::string_view program) {
  constexpr std::string_view kExe = ".exe";
  return ProgramNamesIgnoreCase() ||
         (program.size() >= kExe.size() &&
          SameNameIgnoringCase(program.substr(program.size() - kExe.size()), kExe));
}

RulesFileEdit::RulesFileEdit() = default;

RulesFileEdit::RulesFileEdit(std::span<const std::uint8_t> bytes) {
  EditableText text = DecodeEditableText(bytes);
  encoding_ = text.encoding;
  oddLastByte_ = text.oddLastByte;
  const std::string& all = text.utf8;
  std::size_t begin = 0;
  while (begin < all.size()) {
    std::size_t end = all.find('\n', begin);
    const bool last = end == std::string::npos;
    end = last ? all.size() : end;
    // A CR before the LF belongs to the break, so edits keep the file's own breaks.
    const std::size_t textEnd = end > begin && all[end - 1] == '\r' ? end - 1 : end;
    lines_.push_back(
        {all.substr(begin, textEnd - begin), last ? "" : all.substr(textEnd, end + 1 - textEnd)});
    begin = end + 1;
  }
  if (!lines_.empty() && !lines_.front().lineBreak.empty()) {
    newLineBreak_ = lines_.front().lineBreak;
  }
}

std::vector<std::uint8_t> RulesFileEdit::Bytes() const {
  std::string all;
  for (const Line& line : lines_) {
    all += line.text + line.lineBreak;
  }
  std::vector<std::uint8_t> bytes = EncodeText(all, encoding_);
  if (oddLastByte_) {
    bytes.push_back(*oddLastByte_);
  }
  return bytes;
}

RulesFileEdit::Section RulesFileEdit::SectionOf(std::size_t line) const {
  for (std::size_t i = line + 1; i-- > 0;) {
    const std::string_view text = TrimmedBlanks(lines_[i].text);
    if (IsHeader(text)) {
      const std::string_view name = TrimmedBlanks(text.substr(1, text.size() - 2));
      if (SameNameIgnoringCase(name, kRulesSection)) {
        return Section::kRules;
      }
      return SameNameIgnoringCase(name, kDefaultSection) ? Section::kDefault : Section::kOther;
    }
  }
  return Section::kOther;
}

std::vector<RulesFileEdit::Entry> RulesFileEdit::Entries(Section section) const {
  std::vector<Entry> entries;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view text = TrimmedBlanks(lines_[i].text);
    const std::size_t equals = text.find('=');
    if (IsComment(text) || IsHeader(text) || equals == std::string_view::npos ||
        SectionOf(i) != section) {
      continue;
    }
    const std::string_view key = TrimmedBlanks(text.substr(0, equals));
    if (!key.empty()) {
      entries.push_back({i, std::string(key), std::string(TrimmedBlanks(text.substr(equals + 1)))});
    }
  }
  return entries;
}

void RulesFileEdit::Insert(std::size_t at, std::string text) {
  // The line before a new last line gets the break it may lack.
  if (at == lines_.size() && !lines_.empty() && lines_.back().lineBreak.empty()) {
    lines_.back().lineBreak = newLineBreak_;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                Line{std::move(text), newLineBreak_});
}

void RulesFileEdit::Replace(const Entry& entry, std::string_view value) {
  std::string& text = lines_[entry.line].text;
  // The key keeps what the user wrote before the "=", blanks included.
  text = text.substr(0, text.find('=') + 1) + std::string(value);
}

void RulesFileEdit::SetRule(std::string_view program, std::string_view profile, bool ignoreCase) {
  for (const Entry& entry : Entries(Section::kRules)) {
    if (SameName(entry.key, program, ignoreCase)) {
      Replace(entry, profile);
      return;
    }
  }
  const std::string line = std::string(program) + "=" + std::string(profile);
  // After the last rule of the first [Rules] section, or right below its header.
  const std::vector<Entry> rules = Entries(Section::kRules);
  for (std::size_t header = 0; header < lines_.size(); ++header) {
    if (!IsHeader(TrimmedBlanks(lines_[header].text)) || SectionOf(header) != Section::kRules) {
      continue;
    }
    std::size_t after = header + 1;
    for (std::size_t i = header + 1; i < lines_.size() && !IsHeader(TrimmedBlanks(lines_[i].text));
         ++i) {
      if (std::any_of(rules.begin(), rules.end(), [i](const Entry& e) { return e.line == i; })) {
        after = i + 1;
      }
    }
    Insert(after, line);
    return;
  }
  Insert(lines_.size(), "[" + std::string(kRulesSection) + "]");
  Insert(lines_.size(), line);
}

bool RulesFileEdit::RemoveRule(std::string_view program, bool ignoreCase) {
  const std::vector<Entry> entries = Entries(Section::kRules);
  bool removed = false;
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (SameName(entry->key, program, ignoreCase)) {
      Erase(entry->line);
      removed = true;
    }
  }
  return removed;
}

void RulesFileEdit::SetDefault(std::string_view profile) {
  // Every default line, not the first alone: where a user wrote two, the rules read the last.
  const std::vector<Entry> entries = Entries(Section::kDefault);
  bool named = false;
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (SameNameIgnoringCase(entry->key, kDefaultKey)) {
      named = true;
      profile.empty() ? Erase(entry->line) : Replace(*entry, profile);
    }
  }
  if (named || profile.empty()) {
    return;
  }
  const std::string line = std::string(kDefaultKey) + "=" + std::string(profile);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (SectionOf(i) == Section::kDefault) {
      Insert(i + 1, line);
      return;
    }
  }
  Insert(lines_.size(), "[" + std::string(kDefaultSection) + "]");
  Insert(lines_.size(), line);
}

void RulesFileEdit::RenameProfile(std::string_view from, std::string_view to) {
  for (const Section section : {Section::kRules, Section::kDefault}) {
    for (const Entry& entry : Entries(section)) {
      if (entry.value == from) {
        Replace(entry, to);
      }
    }
  }
}

int RulesFileEdit::RemoveProfile(std::string_view profile) {
  const std::vector<Entry> entries = Entries(Section::kRules);
  int removed = 0;
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (entry->value == profile) {
      Erase(entry->line);
      ++removed;
    }
  }
  // The default the rules read is the last line: where that is the profile, no other line takes
  // its place.
  std::vector<Entry> defaults = Entries(Section::kDefault);
  std::erase_if(defaults, [](const Entry& e) { return !SameNameIgnoringCase(e.key, kDefaultKey); });
  const bool wasDefault = !defaults.empty() && defaults.back().value == profile;
  for (auto entry = defaults.rbegin(); entry != defaults.rend(); ++entry) {
    if (wasDefault || entry->value == profile) {
      Erase(entry->line);
    }
  }
  return removed;
}

std::optional<std::string> EditRulesFile(const std::filesystem::path& rulesIni,
                                         const std::function<void(RulesFileEdit&)>& edit) {
  std::error_code error;
  RulesFileEdit rules;
  if (std::filesystem::exists(rulesIni, error)) {
    const auto bytes = ReadFileBytes(rulesIni, kMaxRulesFileBytes);
    if (!bytes) {
      return "cannot read " + Utf8Of(rulesIni);
    }
    rules = RulesFileEdit(*bytes);
  }
  edit(rules);
  std::filesystem::create_directories(rulesIni.parent_path(), error);
  if (error) {
    return "cannot make the profile folder " + Utf8Of(rulesIni.parent_path()) + ": " +
           error.message();
  }
  if (const auto saveError = ReplaceFileContents(rulesIni, rules.Bytes())) {
    return "cannot write " + Utf8Of(rulesIni) + ": " + saveError.message();
  }
  return std::nullopt;
}

}  // namespace q8
