#include "settings/text_encoding.h"

#include <algorithm>
#include <optional>

#include "settings/ansi_code_page.h"

namespace q8 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> mark) {
  return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

// Decodes one well-formed UTF-8 sequence at `pos` and moves past it; on anything else (overlong
// forms, surrogates, values past U+10FFFF, truncated sequences) leaves `pos` where it was.
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<std::uint8_t>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() - pos < length) {
    return std::nullopt;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<std::uint8_t>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      return std::nullopt;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return std::nullopt;
  }
  pos += length;
  return value;
}

// Decodes a surrogate code point in the three-byte form UTF-8 would give it (ED A0..BF 80..BF),
// the form in which editable text keeps what is no text, and moves past it.
std::optional<char32_t> NextKeptSurrogate(std::string_view text, std::size_t& pos) {
  if (text.size() - pos < 3) {
    return std::nullopt;
  }
  const auto lead = static_cast<std::uint8_t>(text[pos]);
  const auto second = static_cast<std::uint8_t>(text[pos + 1]);
  const auto third = static_cast<std::uint8_t>(text[pos + 2]);
  if (lead != 0xED || (second & 0xE0) != 0xA0 || (third & 0xC0) != 0x80) {
    return std::nullopt;
  }
  pos += 3;
  return 0xD000 | static_cast<char32_t>((second & 0x3F) << 6) | (third & 0x3F);
}

// Where editable text keeps a byte that is no UTF-8.
constexpr char32_t kKeptByteBase = 0xDC00;

bool IsKeptByte(char32_t c) {
  return c >= kKeptByteBase + 0x80 && c <= kKeptByteBase + 0xFF;
}

// The next character of editable text: a code point, a kept surrogate, or U+FFFD for a byte that
// is neither (one byte is passed over).
char32_t NextEditable(std::string_view text, std::size_t& pos) {
  if (auto decoded = NextUtf8(text, pos)) {
    return *decoded;
  }
  if (auto kept = NextKeptSurrogate(text, pos)) {
    return *kept;
  }
  ++pos;
  return kReplacement;
}

void AppendUtf8(std::string& out, char32_t c) {
  auto put = [&out](unsigned value) { out.push_back(static_cast<char>(value)); };
  if (c < 0x80) {
    put(c);
  } else if (c < 0x800) {
    put(0xC0 | (c >> 6));
    put(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    put(0xE0 | (c >> 12));
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  } else {
    put(0xF0 | (c >> 18));
    put(0x80 | ((c >> 12) & 0x3F));
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  }
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    if (!NextUtf8(text, pos)) {
      return false;
    }
  }
  return true;
}

std::string Latin1ToUtf8(std::span<const std::uint8_t> bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const std::uint8_t byte : bytes) {
    AppendUtf8(out, byte);
  }
  return out;
}

// UTF-16 units as UTF-8; an unpaired surrogate stays itself in its three-byte form.
std::string KeepUtf16(std::span<const std::uint8_t> bytes, bool bigEndian) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    const unsigned first = bytes[2 * i];
    const unsigned second = bytes[2 * i + 1];
    units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  std::string out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(out, c);
  }
  return out;
}

// UTF-8 as it stands; a byte outside any UTF-8 sequence is kept as U+DC00 + byte.
std::string KeepUtf8(std::span<const std::uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    if (NextUtf8(text, pos)) {
      out.append(text.substr(start, pos - start));
    } else {
      AppendUtf8(out, kKeptByteBase + static_cast<std::uint8_t>(text[pos]));
      ++pos;
    }
  }
  return out;
}

void AppendUtf16(std::vector<std::uint8_t>& out, std::string_view utf8, bool bigEndian) {
  const auto put = [&out, bigEndian](char32_t unit) {
    const auto high = static_cast<std::uint8_t>(unit >> 8);
    const auto low = static_cast<std::uint8_t>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  };
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t c = NextEditable(utf8, pos);
    if (c >= 0x10000) {
      put(0xD800 | ((c - 0x10000) >> 10));
      put(0xDC00 | ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
}

// UTF-8 with every kept byte written back as itself; a kept surrogate cannot be written in UTF-8.
void AppendUtf8Bytes(std::vector<std::uint8_t>& out, std::string_view utf8) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t start = pos;
    if (NextUtf8(utf8, pos)) {
      out.insert(out.end(), utf8.begin() + static_cast<std::ptrdiff_t>(start),
                 utf8.begin() + static_cast<std::ptrdiff_t>(pos));
    } else if (auto kept = NextKeptSurrogate(utf8, pos)) {
      if (IsKeptByte(*kept)) {
        out.push_back(static_cast<std::uint8_t>(*kept - kKeptByteBase));
      } else {
        std::string replacement;
        AppendUtf8(replacement, kReplacement);
        out.insert(out.end(), replacement.begin(), replacement.end());
      }
    } else {
      out.push_back(static_cast<std::uint8_t>(utf8[pos++]));
    }
  }
}

}  // namespace

EditableText DecodeEditableText(std::span<const std::uint8_t> bytes) {
  const bool littleEndian = StartsWith(bytes, {0xFF, 0xFE});
  if (littleEndian || StartsWith(bytes, {0xFE, 0xFF})) {
    bytes = bytes.subspan(2);
    EditableText text{KeepUtf16(bytes, !littleEndian),
                      littleEndian ? TextEncoding::Utf16LeBom : TextEncoding::Utf16BeBom,
                      std::nullopt};
    if (bytes.size() % 2 != 0) {
      text.oddLastByte = bytes.back();
    }
    return text;
  }
  if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) {
    return {KeepUtf8(bytes.subspan(3)), TextEncoding::Utf8Bom, std::nullopt};
  }
  std::string text(bytes.begin(), bytes.end());
  if (IsValidUtf8(text)) {
    return {std::move(text), TextEncoding::Plain, std::nullopt};
  }
  // Not UTF-8: a file an editor saved in the ANSI code page, read as the Windows functions read it.
  if (auto ansi = AnsiCodePageToUtf8(bytes)) {
    return {std::move(*ansi), TextEncoding::Plain, std::nullopt};
  }
  return {Latin1ToUtf8(bytes), TextEncoding::Plain, std::nullopt};
}

DecodedText DecodeText(std::span<const std::uint8_t> bytes) {
  const EditableText text = DecodeEditableText(bytes);
  return {ValidUtf8(text.utf8), text.encoding};
}

std::vector<std::uint8_t> EncodeText(std::string_view utf8, TextEncoding encoding) {
  std::vector<std::uint8_t> out;
  out.reserve(3 + 2 * utf8.size());
  switch (encoding) {
    case TextEncoding::Plain:
      break;
    case TextEncoding::Utf8Bom:
      out.push_back(0xEF);
      out.push_back(0xBB);
      out.push_back(0xBF);
      break;
    case TextEncoding::Utf16LeBom:
      out.push_back(0xFF);
      out.push_back(0xFE);
      AppendUtf16(out, utf8, false);
      return out;
    case TextEncoding::Utf16BeBom:
      out.push_back(0xFE);
      out.push_back(0xFF);
      AppendUtf16(out, utf8, true);
      return out;
  }
  AppendUtf8Bytes(out, utf8);
  return out;
}

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    if (NextUtf8(text, pos)) {
      out.append(text.substr(start, pos - start));
    } else {
      NextEditable(text, pos);
      AppendUtf8(out, kReplacement);
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t c = kReplacement;
    if (auto decoded = NextUtf8(utf8, pos)) {
      c = *decoded;
    } else {
      ++pos;
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 | (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 | (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::size_t Utf16Length(std::string_view utf8) {
  return Utf8ToUtf16(utf8).size();
}

std::string_view TruncateToUtf16Units(std::string_view utf8, std::size_t maxUnits) {
  std::size_t units = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t next = pos;
    const auto decoded = NextUtf8(utf8, next);
    const std::size_t width = decoded && *decoded >= 0x10000 ? 2 : 1;
    if (units + width > maxUnits) {
      break;
    }
    units += width;
    pos = decoded ? next : pos + 1;
  }
  return utf8.substr(0, pos);
}

std::string_view TrimmedBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && blank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace q8
