#pragma once

#include <windows.h>

#include <utility>

#include "ui/language_fonts.h"

namespace q8::win32 {

// Owns a GDI font; deletes it once.
class UniqueFont {
 public:
  UniqueFont() = default;
  explicit UniqueFont(HFONT font) : font_(font) {}
  ~UniqueFont() { Reset(); }
  UniqueFont(UniqueFont&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
  UniqueFont& operator=(UniqueFont&& other) noexcept {
    if (this != &other) {
      Reset(std::exchange(other.font_, nullptr));
    }
    return *this;
  }
  UniqueFont(const UniqueFont&) = delete;
  UniqueFont& operator=(const UniqueFont&) = delete;

  HFONT Get() const { return font_; }
  void Reset(HFONT font = nullptr) {
    if (font_ != nullptr) {
      ::DeleteObject(font_);
    }
    font_ = font;
  }

 private:
  HFONT font_ = nullptr;
};

// The GDI font the tool asks for: the request's face, cell height, weight and family, everything
// else as every font of the tool has it (no italic, underline or strike-out, ANSI character set,
// default precisions and quality).
UniqueFont CreateGdiFont(const FontRequest& request);

}  // namespace q8::win32
