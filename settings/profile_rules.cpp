#include "settings/profile_rules.h"

#include <algorithm>

#include "settings/file_bytes.h"
#include "settings/text_encoding.h"

namespace q8 {
namespace {

// rules.ini holds a line per program; anything this large was not written by hand.
constexpr std::uintmax_t kMaxRulesFileBytes = 1u << 20;

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && blank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b, bool ignoreCase) {
  if (!ignoreCase) {
    return a == b;
  }
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && SameName(text.substr(text.size() - end.size()), end, true);
}

bool IsWindowsProgram(std::string_view name) {
  return EndsWithIgnoringCase(name, ".exe");
}

bool IsWineLoader(std::string_view name) {
  for (const std::string_view loader : {"wine", "wine64", "wine-preloader", "wine64-preloader"}) {
    if (name == loader) {
      return true;
    }
  }
  return false;
}

}  // namespace

ProfileRules ParseProfileRules(std::span<const std::uint8_t> bytes) {
  const std::string text = DecodeText(bytes).utf8;
  ProfileRules rules;
  std::string section;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) {
      end = text.size();
    }
    const std::string_view line = Trimmed(std::string_view(text).substr(begin, end - begin));
    begin = end + 1;
    if (line.empty() || line.front() == ';' || line.front() == '#') {
      continue;
    }
    if (line.front() == '[' && line.back() == ']') {
      section = Trimmed(line.substr(1, line.size() - 2));
      std::transform(section.begin(), section.end(), section.begin(), AsciiLower);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      continue;
    }
    const std::string_view key = Trimmed(line.substr(0, equals));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    if (key.empty() || value.empty()) {
      continue;
    }
    if (section == "rules") {
      rules.rules.emplace_back(key, value);
    } else if (section == "default" && SameName(key, "Profile", true)) {
      rules.defaultProfile = value;
    }
  }
  return rules;
}

ProfileRules ReadProfileRules(const std::filesystem::path& rulesIni) {
  const auto bytes = ReadFileBytes(rulesIni, kMaxRulesFileBytes);
  return bytes ? ParseProfileRules(*bytes) : ProfileRules{};
}

std::optional<std::string> ProfileForProgram(const ProfileRules& rules, std::string_view program,
                                             bool ignoreCase) {
  for (const auto& [name, profile] : rules.rules) {
    if (SameName(name, program, ignoreCase)) {
      return profile;
    }
  }
  if (!rules.defaultProfile.empty()) {
    return rules.defaultProfile;
  }
  return std::nullopt;
}

ProcessProgram ProgramOfCommandLine(std::string_view executable,
                                    std::span<const std::string> commandLine) {
  if (IsWineLoader(executable)) {
    for (const std::string& argument : commandLine) {
      if (IsWindowsProgram(argument)) {
        const std::size_t slash = argument.find_last_of("\\/");
        return {slash == std::string::npos ? argument : argument.substr(slash + 1), true};
      }
    }
  }
  return {std::string(executable), false};
}

}  // namespace q8
