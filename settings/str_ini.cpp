#include "settings/str_ini.h"

#include "settings/ini_file.h"

namespace q8 {
namespace {

constexpr std::string_view kLanguageKey = "Lan";
constexpr std::string_view kSkinPathKey = "Path";
constexpr std::string_view kRedKey = "RColor";
constexpr std::string_view kGreenKey = "GColor";
constexpr std::string_view kBlueKey = "BColor";

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::uint8_t ColorByte(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsCSpace(text[pos])) {
    ++pos;
  }
  const bool negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    ++pos;
  }
  unsigned remainder = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    remainder = (remainder * 10 + static_cast<unsigned>(text[pos] - '0')) % 256;
  }
  return static_cast<std::uint8_t>(negative ? (256 - remainder) % 256 : remainder);
}

ColorBytes SkinColorBytes(const StrIniSettings& settings) {
  return {ColorByte(settings.redText), ColorByte(settings.greenText), ColorByte(settings.blueText)};
}

std::string ReadLanguageCode(const std::filesystem::path& strIni) {
  return ReadIniString(strIni, kSkinsSection, kLanguageKey);
}

StrIniSettings ReadStrIniSettings(const std::filesystem::path& strIni,
                                  std::string_view captionSection) {
  IniDocument document;
  (void)LoadIniFile(strIni, document);  // a missing or unreadable file reads as empty texts
  StrIniSettings settings;
  for (std::size_t i = 0; i < kButtonCaptionCount; ++i) {
    settings.captions[i] = document.Get(captionSection, kButtonCaptionKeys[i]);
  }
  settings.redText = document.Get(kSkinsSection, kRedKey);
  settings.greenText = document.Get(kSkinsSection, kGreenKey);
  settings.blueText = document.Get(kSkinsSection, kBlueKey);
  settings.skinName = document.Get(kSkinsSection, kSkinPathKey);
  return settings;
}

std::error_code WriteButtonCaptions(const std::filesystem::path& strIni,
                                    std::string_view captionSection,
                                    const ButtonCaptions& captions) {
  IniDocument document;
  if (auto error = LoadIniFile(strIni, document)) {
    return error;
  }
  for (std::size_t i = 0; i < kButtonCaptionCount; ++i) {
    document.Set(captionSection, kButtonCaptionKeys[i], captions[i]);
  }
  return SaveIniFile(strIni, document);
}

std::error_code WriteSkin(const std::filesystem::path& strIni, ColorBytes color,
                          std::string_view skinName) {
  IniDocument document;
  if (auto error = LoadIniFile(strIni, document)) {
    return error;
  }
  document.Set(kSkinsSection, kRedKey, std::to_string(color.red));
  document.Set(kSkinsSection, kGreenKey, std::to_string(color.green));
  document.Set(kSkinsSection, kBlueKey, std::to_string(color.blue));
  document.Set(kSkinsSection, kSkinPathKey, skinName);
  return SaveIniFile(strIni, document);
}

}  // namespace q8
