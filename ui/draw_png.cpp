#include "ui/draw_png.h"

#include <algorithm>

namespace q8 {
namespace {

std::uint8_t Scale(std::uint8_t value, unsigned factor) {
  return static_cast<std::uint8_t>(value * factor / 255u);
}

// Where pixel (x, y) of `canvas` lies in its pixel array.
std::size_t Offset(const Canvas& canvas, int x, int y) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.Width()) +
         static_cast<std::size_t>(x);
}

// Calls draw(targetPixel, imagePixel) for every pixel of `image` placed at (x, y) that lies
// inside `target`.
template <typename Draw>
void ForEachOverlap(Canvas& target, const Canvas& image, int x, int y, Draw draw) {
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const int right = std::min(x + image.Width(), target.Width());
  const int bottom = std::min(y + image.Height(), target.Height());
  if (left >= right) {
    return;
  }
  // Row by row through the pixel arrays: a whole-window image is over half a million pixels.
  const auto width = static_cast<std::size_t>(right - left);
  for (int ty = top; ty < bottom; ++ty) {
    const auto to = target.Pixels().subspan(Offset(target, left, ty), width);
    const auto from = image.Pixels().subspan(Offset(image, left - x, ty - y), width);
    for (std::size_t i = 0; i < width; ++i) {
      draw(to[i], from[i]);
    }
  }
}

bool Draw(Canvas* target, const std::filesystem::path& path, int x, int y, ImageDecoder& decoder,
          MessageSink* failures) {
  if (target == nullptr) {
    return false;
  }
  auto image = decoder.Decode(path);
  if (!image) {
    if (failures != nullptr) {
      failures->ShowMessage(kMsgLoadPngFailed, kApplicationName);
    }
    return false;
  }
  if (image->hasAlpha) {
    Premultiply(image->pixels);
  }
  DrawPrepared(*target, *image, x, y);
  return true;
}

}  // namespace

void Premultiply(Canvas& image) {
  for (Pixel& p : image.Pixels()) {
    p.red = Scale(p.red, p.alpha);
    p.green = Scale(p.green, p.alpha);
    p.blue = Scale(p.blue, p.alpha);
  }
}

void BlendOver(Canvas& target, const Canvas& image, int x, int y) {
  ForEachOverlap(target, image, x, y, [](Pixel& d, const Pixel& s) {
    const unsigned keep = 255u - s.alpha;
    d.red = static_cast<std::uint8_t>(s.red + Scale(d.red, keep));
    d.green = static_cast<std::uint8_t>(s.green + Scale(d.green, keep));
    d.blue = static_cast<std::uint8_t>(s.blue + Scale(d.blue, keep));
    d.alpha = static_cast<std::uint8_t>(s.alpha + Scale(d.alpha, keep));
  });
}

void CopyOver(Canvas& target, const Canvas& image, int x, int y) {
  ForEachOverlap(target, image, x, y, [](Pixel& d, const Pixel& s) {
    d = s;
    d.alpha = 255;
  });
}

void DrawPrepared(Canvas& target, const DecodedImage& image, int x, int y) {
  if (image.hasAlpha) {
    BlendOver(target, image.pixels, x, y);
  } else {
    CopyOver(target, image.pixels, x, y);
  }
}

bool DrawPng(Canvas* target, const std::filesystem::path& path, int x, int y,
             ImageDecoder& decoder) {
  return Draw(target, path, x, y, decoder, nullptr);
}

bool LoadPng(Canvas* target, const std::filesystem::path& path, int x, int y, ImageDecoder& decoder,
             MessageSink& messages) {
  return Draw(target, path, x, y, decoder, &messages);
}

}  // namespace q8
