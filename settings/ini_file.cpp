#include "settings/ini_file.h"

#include <fstream>
#include <iterator>

#include "settings/durable_file.h"
#include "settings/file_bytes.h"

namespace q8 {
namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool IsBlank(char c) {
  return kBlanks.find(c) != std::string_view::npos;
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

bool EnclosedInQuotes(std::string_view text) {
  return text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front();
}

char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldAscii(x) == FoldAscii(y);
         });
}

// The name of a section header line, or nothing when the line is no header.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') {
    return std::nullopt;
  }
  const auto close = line.rfind(']');
  if (close == std::string_view::npos) {
    return std::nullopt;
  }
  return Trim(line.substr(1, close - 1));
}

// The key of a "key=value" line; the caller has ruled out headers.
std::optional<std::string_view> KeyName(std::string_view line) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) {
    return std::nullopt;
  }
  return Trim(line.substr(0, equals));
}

// The form in which `value` is stored on its line so that a read gives it back unchanged.
std::string StoredValue(std::string_view value) {
  std::string stored(value);
  for (char& c : stored) {
    if (c == '\r' || c == '\n') {
      c = ' ';
    }
  }
  const bool needsQuotes = !stored.empty() && (IsBlank(stored.front()) || IsBlank(stored.back()) ||
                                               EnclosedInQuotes(stored));
  return needsQuotes ? '"' + stored + '"' : stored;
}

}  // namespace

IniDocument IniDocument::Parse(std::span<const std::uint8_t> bytes) {
  DecodedText decoded = DecodeText(bytes);
  IniDocument document;
  document.encoding_ = decoded.encoding;
  const std::string& text = decoded.utf8;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find('\n', start);
    const bool broken = end != std::string::npos;
    Line line{text.substr(start, (broken ? end : text.size()) - start), broken ? "\n" : ""};
    start = broken ? end + 1 : text.size();
    if (broken && !line.text.empty() && line.text.back() == '\r') {
      line.text.pop_back();
      line.lineBreak = "\r\n";
    }
    document.lines_.push_back(std::move(line));
  }
  if (!document.lines_.empty() && !document.lines_.front().lineBreak.empty()) {
    document.newLineBreak_ = document.lines_.front().lineBreak;
  }
  return document;
}

std::vector<std::uint8_t> IniDocument::Serialize() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += line.lineBreak;
  }
  const TextEncoding encoding =
      encoding_ == TextEncoding::Plain ? TextEncoding::Utf16LeBom : encoding_;
  return EncodeText(text, encoding);
}

std::optional<IniDocument::SectionRange> IniDocument::FindSection(std::string_view section) const {
  section = Trim(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i].text);
    if (!name || !SameName(*name, section)) {
      continue;
    }
    std::size_t end = i + 1;
    while (end < lines_.size() && !SectionName(lines_[end].text)) {
      ++end;
    }
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(const SectionRange& range,
                                                std::string_view key) const {
  key = Trim(key);
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const auto name = KeyName(lines_[i].text);
    if (name && SameName(*name, key)) {
      return i;
    }
  }
  return std::nullopt;
}

std::string IniDocument::Get(std::string_view section, std::string_view key,
                             std::string_view defaultValue) const {
  const auto range = FindSection(section);
  const auto index = range ? FindKey(*range, key) : std::nullopt;
  if (!index) {
    return std::string(defaultValue);
  }
  const std::string_view line = lines_[*index].text;
  std::string_view value = Trim(line.substr(line.find('=') + 1));
  if (EnclosedInQuotes(value)) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(TruncateToUtf16Units(value, kMaxIniValueLength));
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string stored = StoredValue(value);
  const auto range = FindSection(section);
  if (!range) {
    InsertLine(lines_.size(), '[' + std::string(Trim(section)) + ']');
    InsertLine(lines_.size(), std::string(Trim(key)) + '=' + stored);
    return;
  }
  if (const auto index = FindKey(*range, key)) {
    std::string& line = lines_[*index].text;
    line.erase(line.find('=') + 1);  // the key keeps its spelling and its blanks
    line += stored;
    return;
  }
  // After the section's last line that is not blank, so blank lines keep separating sections.
  std::size_t last = range->end - 1;
  while (last > range->header && Trim(lines_[last].text).empty()) {
    --last;
  }
  InsertLine(last + 1, std::string(Trim(key)) + '=' + stored);
}

void IniDocument::InsertLine(std::size_t index, std::string text) {
  if (index > 0 && lines_[index - 1].lineBreak.empty()) {
    lines_[index - 1].lineBreak = newLineBreak_;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                Line{std::move(text), newLineBreak_});
}

std::error_code LoadIniFile(const std::filesystem::path& path, IniDocument& document) {
  document = IniDocument();
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) {
    return {};
  }
  if (error) {
    return error;
  }
  if (std::filesystem::is_directory(status)) {
    return std::make_error_code(std::errc::is_a_directory);
  }
  const auto bytes = ReadFileBytes(path);
  if (!bytes) {
    return std::make_error_code(std::errc::io_error);
  }
  document = IniDocument::Parse(*bytes);
  return {};
}

std::error_code SaveIniFile(const std::filesystem::path& path, const IniDocument& document) {
  return ReplaceFileContents(path, document.Serialize());
}

std::string ReadIniString(const std::filesystem::path& path, std::string_view section,
                          std::string_view key, std::string_view defaultValue) {
  IniDocument document;
  (void)LoadIniFile(path, document);  // an unreadable file reads as the defaults
  return document.Get(section, key, defaultValue);
}

std::error_code WriteIniString(const std::filesystem::path& path, std::string_view section,
                               std::string_view key, std::string_view value) {
  IniDocument document;
  if (auto error = LoadIniFile(path, document)) {
    return error;
  }
  document.Set(section, key, value);
  return SaveIniFile(path, document);
}

}  // namespace q8
