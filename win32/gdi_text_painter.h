#pragma once

#include <windows.h>

#include "ui/text_port.h"

namespace q8 {

// Draws captions into a canvas with GDI: the canvas pixels under the text's rectangle go into a
// 32-bit DIB section, GDI draws the text on them with a transparent background, and the pixels
// come back. The fonts belong to the window that made them from its language; the painter only
// selects them.
class GdiTextPainter final : public TextPainter {
 public:
  GdiTextPainter(HFONT normalFont, HFONT titleFont)
      : normalFont_(normalFont), titleFont_(titleFont) {}

  int TextWidth(std::string_view text, FontRole font, int sizesDown, double scale) override;
  void DrawSized(Canvas& canvas, std::string_view text, Rect rect, FontRole font, int sizesDown,
                 Rgb colour, TextAlign align) override;

 private:
  HFONT normalFont_;
  HFONT titleFont_;
};

}  // namespace q8
