#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ui/rect.h"

namespace q8 {

// One pixel of a canvas, in the byte order of a 32-bit device-independent bitmap.
struct Pixel {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
  std::uint8_t alpha = 0;
  friend constexpr bool operator==(const Pixel&, const Pixel&) = default;
};
static_assert(sizeof(Pixel) == 4);

// A window's picture: 32 bits per pixel, rows top-down, no padding. The core blends skin images
// into it; the host draws text into it and copies it to the screen. A canvas owns its pixels and
// is moved, never copied, so that a window keeps exactly one. Its scale says how many of its pixels
// make one pixel of the skin (1 unless the display is scaled): what is drawn at a skin position
// lands at that position times the scale, and texts are drawn at the scaled size.
class Canvas {
 public:
  Canvas() = default;
  // A canvas of the given size, every pixel zero (black, transparent). Sizes below 0 count as 0.
  Canvas(int width, int height);
  // Takes over decoded pixels; `pixels` holds width x height entries.
  Canvas(int width, int height, std::vector<Pixel> pixels);
  // A canvas moved from is empty (0 x 0), so its size never promises pixels it gave away.
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&& other) noexcept;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rect Bounds() const { return {0, 0, width_, height_}; }
  double Scale() const { return scale_; }
  void SetScale(double scale) { scale_ = scale; }

  // The pixel at (x, y), which must lie inside the canvas.
  Pixel& At(int x, int y) { return pixels_[Index(x, y)]; }
  const Pixel& At(int x, int y) const { return pixels_[Index(x, y)]; }

  std::span<Pixel> Pixels() { return pixels_; }
  std::span<const Pixel> Pixels() const { return pixels_; }

 private:
  std::size_t Index(int x, int y) const;

  int width_ = 0;
  int height_ = 0;
  double scale_ = 1.0;
  std::vector<Pixel> pixels_;
};

}  // namespace q8
