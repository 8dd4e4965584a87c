#include "ui/text_port.h"

#include <algorithm>

#include "ui/device_scale.h"

namespace q8 {

void TextPainter::PaintText(Canvas& canvas, std::string_view text, Rect rect, FontRole font,
                            Rgb colour, TextAlign align) {
  const int sizesDown = SizesDownToFit(text, rect, font, canvas.Scale(), canvas.Width());
  DrawSized(canvas, text, rect, font, sizesDown, colour, align);
}

int TextPainter::SizesDownToFit(std::string_view text, Rect rect, FontRole font, double scale,
                                int canvasWidth) {
  const Rect device = ScaledRect(rect, scale);
  const int room = std::min(device.right, canvasWidth) - std::max(device.left, 0);
  int sizesDown = 0;
  while (sizesDown < kMostSizesDown && !text.empty() &&
         TextWidth(text, font, sizesDown, scale) > room) {
    ++sizesDown;
  }
  return sizesDown;
}

}  // namespace q8
