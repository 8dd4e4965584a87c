#include "ui/language_fonts.h"

namespace q8 {
namespace {

constexpr std::string_view kHeiTi = "黑体";
constexpr std::string_view kSongTi = "宋体";
constexpr int kNormalWeight = 400;
constexpr int kBoldWeight = 700;

LanguageFonts Fonts(std::string_view normalFace, int normalHeight, std::string_view titleFace) {
  return {{normalFace, normalHeight, kNormalWeight}, {titleFace, 18, kBoldWeight}};
}

}  // namespace

LanguageFonts CreateLanguageFonts(UiLanguage language, OsVersion version) {
  switch (language) {
    case UiLanguage::CHS: {
      const std::string_view face = version.major == 6 && version.minor == 2 ? kHeiTi : kSongTi;
      return Fonts(face, 13, face);
    }
    case UiLanguage::CHT:
      return Fonts(kHeiTi, 14, kHeiTi);
    case UiLanguage::EN:
      break;
  }
  return Fonts("Arial", 14, "Tahoma");
}

}  // namespace q8
