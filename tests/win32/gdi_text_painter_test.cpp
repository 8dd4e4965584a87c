#include "win32/gdi_text_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace q8 {
namespace {

class Font {
 public:
  explicit Font(int height)
      : font_(::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            FF_SWISS | DEFAULT_PITCH, L"Arial")) {}
  ~Font() { ::DeleteObject(font_); }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  HFONT get() const { return font_; }

 private:
  HFONT font_;
};

constexpr Pixel kBackground{10, 20, 30, 255};

Canvas Background() {
  Canvas canvas(200, 40);
  for (Pixel& p : canvas.Pixels()) {
    p = kBackground;
  }
  return canvas;
}

// The columns that text changed, and whether anything outside `rect` changed.
struct Ink {
  int left = 1 << 30;
  int right = -1;
  bool outside = false;
};

Ink InkOf(const Canvas& canvas, const Rect& rect) {
  Ink ink;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const Pixel& p = canvas.At(x, y);
      if (p.red == kBackground.red && p.green == kBackground.green && p.blue == kBackground.blue) {
        continue;
      }
      if (!rect.Contains({x, y})) {
        ink.outside = true;
      }
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
    }
  }
  return ink;
}

TEST(GdiTextPainterTest, DrawsInsideTheRectangleWithItsAlignment) {
  Font font(14);
  GdiTextPainter painter(font.get(), font.get());
  const Rect rect{20, 5, 180, 35};

  Canvas centred = Background();
  painter.PaintText(centred, "OK", rect, FontRole::kNormal, {255, 255, 255}, TextAlign::kCentre);
  const Ink middle = InkOf(centred, rect);
  ASSERT_GE(middle.right, middle.left) << "no text drawn";
  EXPECT_FALSE(middle.outside);
  EXPECT_LT(std::abs((middle.left + middle.right) / 2 - 100), 6);

  Canvas left = Background();
  painter.PaintText(left, "OK", rect, FontRole::kNormal, {255, 255, 255}, TextAlign::kLeft);
  const Ink start = InkOf(left, rect);
  EXPECT_LT(start.left, 26);
  EXPECT_FALSE(start.outside);
}

TEST(GdiTextPainterTest, TextBeyondTheCanvasIsClipped) {
  Font font(14);
  GdiTextPainter painter(font.get(), font.get());
  Canvas canvas = Background();
  painter.PaintText(canvas, "Beyond the edge", {150, 10, 400, 30}, FontRole::kTitle, {0, 255, 0},
                    TextAlign::kLeft);
  EXPECT_GE(InkOf(canvas, {150, 10, 200, 30}).right, 150);
  painter.PaintText(canvas, "Nowhere", {300, 10, 400, 30}, FontRole::kNormal, {0, 255, 0},
                    TextAlign::kLeft);
  painter.PaintText(canvas, "\xE7\xA1\xAE\xE5\xAE\x9A", {-50, -50, 0, 0}, FontRole::kNormal,
                    {0, 255, 0}, TextAlign::kCentre);
  EXPECT_FALSE(InkOf(canvas, {150, 10, 200, 30}).outside);
}

}  // namespace
}  // namespace q8
