#pragma once

#include <cstdint>
#include <string_view>

#include "model/ui_text.h"

namespace q8 {

// A font as the tool asks the platform for it. Everything not named here is fixed for every
// font of the tool: width 0, escapement and orientation 0, no italic, underline or strike-out,
// character set 0 (ANSI), default output and clip precision, default quality.
struct FontRequest {
  static constexpr std::uint8_t kSwissFamily = 0x20;  // Swiss family, default pitch

  std::string_view face;  // UTF-8
  int height = 0;         // logical units, cell height
  int weight = 400;
  std::uint8_t pitchAndFamily = kSwissFamily;

  friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

// The main window's fonts: the normal font draws every caption, the title font only the page
// title. A key-function dialog draws with the normal font alone.
struct LanguageFonts {
  FontRequest normal;
  FontRequest title;
};

// The operating system's version as its version query reports it.
struct OsVersion {
  unsigned major = 0;
  unsigned minor = 0;
};

// The fonts of `language`. Simplified Chinese uses a different face on version 6.2 exactly.
LanguageFonts CreateLanguageFonts(UiLanguage language, OsVersion version);

// The one font of a key-function dialog: the main window's normal font.
inline FontRequest DialogFont(UiLanguage language, OsVersion version) {
  return CreateLanguageFonts(language, version).normal;
}

}  // namespace q8
