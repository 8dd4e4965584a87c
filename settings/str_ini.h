#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace q8 {

// The section of str.ini that holds the language and the skin.
inline constexpr std::string_view kSkinsSection = "Skins";

// Sixteen button captions: buttons 1 to 8 of the first key configuration, then buttons 1 to 8
// of the second.
inline constexpr std::size_t kButtonCaptionCount = 16;
using ButtonCaptions = std::array<std::string, kButtonCaptionCount>;

// Their keys in the language's section: "Item1".."Item8", then "Item13".."Item83" (the button
// number followed by "3").
inline constexpr std::array<std::string_view, kButtonCaptionCount> kButtonCaptionKeys{
    "Item1",  "Item2",  "Item3",  "Item4",  "Item5",  "Item6",  "Item7",  "Item8",
    "Item13", "Item23", "Item33", "Item43", "Item53", "Item63", "Item73", "Item83"};

// What the main window keeps of str.ini besides the language code.
struct StrIniSettings {
  ButtonCaptions captions;
  // The caption colour as written in the file; ColorByte turns each into a byte.
  std::string redText;
  std::string greenText;
  std::string blueText;
  std::string skinName;  // a folder under "Skins" beside the executable
};

// A colour component from its decimal text, kept modulo 256 ("300" gives 44, "-1" gives 255).
// Like a C number conversion, leading blanks are skipped and reading stops at the first
// character that is not a digit; empty or non-numeric text gives 0. Numbers of any length give
// their true remainder.
std::uint8_t ColorByte(std::string_view text);

struct ColorBytes {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const ColorBytes&, const ColorBytes&) = default;
};
ColorBytes SkinColorBytes(const StrIniSettings& settings);

// The language code (key "Lan" of "Skins"); empty when the file or the key is missing.
std::string ReadLanguageCode(const std::filesystem::path& strIni);

// The captions from `captionSection` (StrIniSection of the current language), then the colour
// texts and the skin name from "Skins". Missing keys and a missing file read as empty texts.
StrIniSettings ReadStrIniSettings(const std::filesystem::path& strIni,
                                  std::string_view captionSection);

// Writes the sixteen captions into `captionSection`, in key order, in one whole-file replace.
[[nodiscard]] std::error_code WriteButtonCaptions(const std::filesystem::path& strIni,
                                                  std::string_view captionSection,
                                                  const ButtonCaptions& captions);

// Writes the chosen skin into "Skins": the colour bytes in decimal, then the skin name.
[[nodiscard]] std::error_code WriteSkin(const std::filesystem::path& strIni, ColorBytes color,
                                        std::string_view skinName);

}  // namespace q8
