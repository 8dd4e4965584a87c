#pragma once

#include <QFont>

#include "ui/language_fonts.h"
#include "ui/text_port.h"

namespace q8::linux_shell {

// The Qt font for one of the tool's font requests. The request gives the cell height (ascent and
// descent, as Windows counts it), so the pixel size is chosen to give that height; a face the
// system lacks falls back through fontconfig (to a CJK font for the Chinese faces).
QFont QFontOf(const FontRequest& request);

// Draws captions into a canvas with QPainter, straight into the canvas's pixels.
class QtTextPainter final : public TextPainter {
 public:
  void SetFonts(const QFont& normal, const QFont& title) {
    normal_ = normal;
    title_ = title;
  }

  int TextWidth(std::string_view text, FontRole font, int sizesDown, double scale) override;
  void DrawSized(Canvas& canvas, std::string_view text, Rect rect, FontRole font, int sizesDown,
                 Rgb colour, TextAlign align) override;

 private:
  QFont Sized(FontRole font, int sizesDown) const;

  QFont normal_;
  QFont title_;
};

}  // namespace q8::linux_shell
