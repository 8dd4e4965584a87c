#include "ui/canvas.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace q8 {

Canvas::Canvas(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {}

Canvas::Canvas(int width, int height, std::vector<Pixel> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {
  assert(width >= 0 && height >= 0);
  assert(pixels_.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

Canvas::Canvas(Canvas&& other) noexcept
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      scale_(std::exchange(other.scale_, 1.0)),
      pixels_(std::exchange(other.pixels_, {})) {}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
  width_ = std::exchange(other.width_, 0);
  height_ = std::exchange(other.height_, 0);
  scale_ = std::exchange(other.scale_, 1.0);
  pixels_ = std::exchange(other.pixels_, {});
  return *this;
}

std::size_t Canvas::Index(int x, int y) const {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_);
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
         static_cast<std::size_t>(x);
}

}  // namespace q8
