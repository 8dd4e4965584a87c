#pragma once

#include <cstdint>
#include <string_view>

#include "model/rgb.h"
#include "ui/canvas.h"
#include "ui/rect.h"

namespace q8 {

// Which of the window's fonts a text asks for: the normal font of every caption, or the title font
// of the page title. The window made both from its language at initialisation.
enum class FontRole { kNormal, kTitle };

enum class TextAlign { kLeft, kCentre, kRight };

// Draws text into a canvas. Every call carries everything it needs: the text (UTF-8), its
// rectangle, font, colour and alignment. Text is one line, vertically centred in the rectangle,
// on a transparent background, clipped to the canvas. The rectangle and the fonts are in the
// skin's pixels; a canvas of another scale (Canvas::Scale) gets both at that scale, the glyphs
// drawn at the scaled size.
class TextPainter {
 public:
  virtual ~TextPainter() = default;
  virtual void DrawText(Canvas& canvas, std::string_view text, Rect rect, FontRole font, Rgb colour,
                        TextAlign align) = 0;
};

}  // namespace q8
