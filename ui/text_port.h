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
//
// A text never loses a character to its rectangle: one wider than the rectangle (the part of it
// on the canvas) at the canvas's scale is drawn a size smaller, one pixel of the font's height at
// a time, until it fits, at most kMostSizesDown sizes down. Fonts measure differently at each
// scale and on each system, so the fit is found where the text is drawn.
class TextPainter {
 public:
  static constexpr int kMostSizesDown = 4;

  virtual ~TextPainter() = default;
  void PaintText(Canvas& canvas, std::string_view text, Rect rect, FontRole font, Rgb colour,
                 TextAlign align);
  // How many sizes down PaintText draws `text` in `rect` on a canvas `canvasWidth` device pixels
  // wide at `scale`.
  int SizesDownToFit(std::string_view text, Rect rect, FontRole font, double scale,
                     int canvasWidth);

  // --- What each system's painter does -----------------------------------------------------------
  // The width `text` takes, ink included, in device pixels on a canvas of `scale`, in `font` made
  // `sizesDown` pixels less high.
  virtual int TextWidth(std::string_view text, FontRole font, int sizesDown, double scale) = 0;
  // Draws as PaintText says, in `font` made `sizesDown` pixels less high.
  virtual void DrawSized(Canvas& canvas, std::string_view text, Rect rect, FontRole font,
                         int sizesDown, Rgb colour, TextAlign align) = 0;
};

}  // namespace q8
