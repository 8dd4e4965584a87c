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
  std::string stored = ValidUtf8(value);
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
  IniDocument document;
  document.text_ = DecodeEditableText(bytes);
  const std::string& text = document.text_.utf8;
  if (const auto firstBreak = text.find('\n'); firstBreak != std::string::npos) {
    document.newLineBreak_ = firstBreak > 0 && text[firstBreak - 1] == '\r' ? "\r\n" : "\n";
  }
  return document;
}

std::vector<std::uint8_t> IniDocument::Serialize() const {
  const TextEncoding encoding =
      text_.encoding == TextEncoding::Plain ? TextEncoding::Utf16LeBom : text_.encoding;
  std::vector<std::uint8_t> bytes = EncodeText(text_.utf8, encoding);
  if (text_.oddLastByte) {
    bytes.push_back(*text_.oddLastByte);
  }
  return bytes;
}

IniDocument::Line IniDocument::LineAt(std::size_t begin) const {
  const std::string& text = text_.utf8;
  const auto lineFeed = text.find('\n', begin);
  if (lineFeed == std::string::npos) {
    return {begin, text.size(), text.size()};
  }
  const bool crlf = lineFeed > begin && text[lineFeed - 1] == '\r';
  return {begin, crlf ? lineFeed - 1 : lineFeed, lineFeed + 1};
}

std::string_view IniDocument::TextOf(const Line& line) const {
  return std::string_view(text_.utf8).substr(line.begin, line.end - line.begin);
}

std::optional<IniDocument::Line> IniDocument::NextHeader(std::size_t from) const {
  const std::string_view text = text_.utf8;
  // Only a line whose first character that is not blank is "[" can be a header: looking for that
  // character alone passes over everything else at once.
  for (std::size_t at = from; at < text.size();) {
    const auto bracket = text.find('[', at);
    if (bracket == std::string_view::npos) {
      break;
    }
    const auto lineFeed = text.substr(at, bracket - at).rfind('\n');
    const Line line = LineAt(lineFeed == std::string_view::npos ? at : at + lineFeed + 1);
    if (Trim(text.substr(line.begin, bracket - line.begin)).empty() && SectionName(TextOf(line))) {
      return line;
    }
    at = line.next;
  }
  return std::nullopt;
}

std::optional<IniDocument::SectionRange> IniDocument::FindSection(std::string_view section) const {
  section = Trim(section);
  for (auto header = NextHeader(0); header; header = NextHeader(header->next)) {
    if (SameName(*SectionName(TextOf(*header)), section)) {
      const auto next = NextHeader(header->next);
      return SectionRange{header->begin, next ? next->begin : text_.utf8.size()};
    }
  }
  return std::nullopt;
}

std::optional<IniDocument::Line> IniDocument::FindKey(const SectionRange& range,
                                                      std::string_view key) const {
  key = Trim(key);
  for (std::size_t at = LineAt(range.header).next; at < range.end;) {
    const Line line = LineAt(at);
    at = line.next;
    const auto name = KeyName(TextOf(line));
    if (name && SameName(*name, key)) {
      return line;
    }
  }
  return std::nullopt;
}

std::string IniDocument::Get(std::string_view section, std::string_view key,
                             std::string_view defaultValue) const {
  const auto range = FindSection(section);
  const auto line = range ? FindKey(*range, key) : std::nullopt;
  if (!line) {
    return std::string(defaultValue);
  }
  const std::string_view text = TextOf(*line);
  std::string_view value = Trim(text.substr(text.find('=') + 1));
  if (EnclosedInQuotes(value)) {
    value = value.substr(1, value.size() - 2);
  }
  const std::string valid = ValidUtf8(value);
  return std::string(TruncateToUtf16Units(valid, kMaxIniValueLength));
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string stored = StoredValue(value);
  const std::string keyName = ValidUtf8(Trim(key));
  const auto range = FindSection(section);
  if (!range) {
    InsertLine(text_.utf8.size(), '[' + ValidUtf8(Trim(section)) + ']');
    InsertLine(text_.utf8.size(), keyName + '=' + stored);
    return;
  }
  if (const auto line = FindKey(*range, key)) {
    // The key keeps its spelling and its blanks.
    const std::size_t valueBegin = line->begin + TextOf(*line).find('=') + 1;
    text_.utf8.replace(valueBegin, line->end - valueBegin, stored);
    return;
  }
  // After the section's last line that is not blank, so blank lines keep separating sections.
  std::size_t insertAt = LineAt(range->header).next;
  for (std::size_t at = insertAt; at < range->end;) {
    const Line line = LineAt(at);
    at = line.next;
    if (!Trim(TextOf(line)).empty()) {
      insertAt = line.next;
    }
  }
  InsertLine(insertAt, keyName + '=' + stored);
}

void IniDocument::InsertLine(std::size_t offset, std::string_view text) {
  std::string& all = text_.utf8;
  std::string line;
  // A last line without a break gets one before anything follows it.
  if (offset == all.size() && !all.empty() && all.back() != '\n') {
    line = newLineBreak_;
  }
  line += text;
  line += newLineBreak_;
  all.insert(offset, line);
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
  const auto bytes = ReadFileBytes(path, kMaxIniFileBytes);
  if (!bytes) {
    std::error_code sizeError;
    const bool tooLarge = std::filesystem::file_size(path, sizeError) > kMaxIniFileBytes;
    return std::make_error_code(tooLarge && !sizeError ? std::errc::file_too_large
                                                       : std::errc::io_error);
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
