#include "ui/device_scale.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/draw_png.h"
#include "ui/png_file.h"

namespace q8 {
namespace {

// The source pixels one target pixel mixes, and how much of each.
struct Taps {
  int first = 0;
  std::vector<float> weights;
};

// One axis of a resize from `from` to `to` pixels: a tent centred on each target pixel's centre,
// as wide as one target pixel when reducing and one source pixel when enlarging; beyond the edges
// the edge pixel repeats.
std::vector<Taps> TapsFor(int from, int to) {
  const double step = static_cast<double>(from) / to;
  const double radius = std::max(1.0, step);
  std::vector<Taps> taps(static_cast<std::size_t>(to));
  for (int i = 0; i < to; ++i) {
    const double centre = (i + 0.5) * step - 0.5;
    const int first = static_cast<int>(std::ceil(centre - radius));
    const int last = static_cast<int>(std::floor(centre + radius));
    Taps& t = taps[static_cast<std::size_t>(i)];
    t.first = first;
    double total = 0;
    for (int j = first; j <= last; ++j) {
      const double w = std::max(0.0, 1.0 - std::abs(j - centre) / radius);
      t.weights.push_back(static_cast<float>(w));
      total += w;
    }
    for (float& w : t.weights) {
      w = static_cast<float>(w / total);
    }
  }
  return taps;
}

std::uint8_t ToByte(float value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

int ToDevice(int skinPixels, double scale) {
  return static_cast<int>(std::lround(skinPixels * scale));
}

Rect DeviceRect(Rect area, double scale) {
  return {static_cast<int>(std::floor(area.left * scale)),
          static_cast<int>(std::floor(area.top * scale)),
          static_cast<int>(std::ceil(area.right * scale)),
          static_cast<int>(std::ceil(area.bottom * scale))};
}

Rect ScaledRect(Rect area, double scale) {
  return {ToDevice(area.left, scale), ToDevice(area.top, scale), ToDevice(area.right, scale),
          ToDevice(area.bottom, scale)};
}

Point ToSkin(Point device, double scale) {
  return {static_cast<int>(std::floor(device.x / scale)),
          static_cast<int>(std::floor(device.y / scale))};
}

Rect ToSkin(Rect device, double scale) {
  const auto skin = [scale](int v) { return static_cast<int>(std::lround(v / scale)); };
  return {skin(device.left), skin(device.top), skin(device.right), skin(device.bottom)};
}

FontRequest ScaledFont(FontRequest font, double scale) {
  font.height = ToDevice(font.height, scale);
  return font;
}

std::filesystem::path DoubleSizePath(const std::filesystem::path& image) {
  std::filesystem::path twice = image;
  twice.replace_filename(image.stem().string() + "@2x" + image.extension().string());
  return twice;
}

Canvas ResampleSmooth(const Canvas& image, int width, int height) {
  if (image.Width() == 0 || image.Height() == 0 || width <= 0 || height <= 0) {
    return Canvas(width, height);
  }
  const auto across = TapsFor(image.Width(), width);
  const auto down = TapsFor(image.Height(), height);
  // First across every source row, into four channels of floats per pixel, then down.
  const auto wide = static_cast<std::size_t>(width);
  std::vector<float> rows(wide * static_cast<std::size_t>(image.Height()) * 4);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < width; ++x) {
      const Taps& t = across[static_cast<std::size_t>(x)];
      float sum[4] = {0, 0, 0, 0};
      for (std::size_t k = 0; k < t.weights.size(); ++k) {
        const int sx = std::clamp(t.first + static_cast<int>(k), 0, image.Width() - 1);
        const Pixel& p = image.At(sx, y);
        sum[0] += t.weights[k] * p.blue;
        sum[1] += t.weights[k] * p.green;
        sum[2] += t.weights[k] * p.red;
        sum[3] += t.weights[k] * p.alpha;
      }
      std::copy(sum, sum + 4,
                &rows[(static_cast<std::size_t>(y) * wide + static_cast<std::size_t>(x)) * 4]);
    }
  }
  Canvas result(width, height);
  for (int y = 0; y < height; ++y) {
    const Taps& t = down[static_cast<std::size_t>(y)];
    for (int x = 0; x < width; ++x) {
      float sum[4] = {0, 0, 0, 0};
      for (std::size_t k = 0; k < t.weights.size(); ++k) {
        const int sy = std::clamp(t.first + static_cast<int>(k), 0, image.Height() - 1);
        const float* p =
            &rows[(static_cast<std::size_t>(sy) * wide + static_cast<std::size_t>(x)) * 4];
        for (int c = 0; c < 4; ++c) {
          sum[c] += t.weights[k] * p[c];
        }
      }
      result.At(x, y) = Pixel{ToByte(sum[0]), ToByte(sum[1]), ToByte(sum[2]), ToByte(sum[3])};
    }
  }
  return result;
}

bool FitsAtScale(int width, int height, double scale) {
  // In floating point, so that no product of a side and a scale can overflow before the check.
  constexpr double kMaxPixels = static_cast<double>(kMaxImageSide) * kMaxImageSide;
  return scale > 0 && std::round(width * scale) * std::round(height * scale) <= kMaxPixels;
}

std::optional<DecodedImage> AtScale(ImageDecoder& decoder, const std::filesystem::path& image,
                                    DecodedImage original, double scale, bool premultiply) {
  const int width = original.pixels.Width();
  const int height = original.pixels.Height();
  if (!FitsAtScale(width, height, scale)) {
    return std::nullopt;
  }
  if (scale != kUnscaled) {
    // A double-size image of another size would not line up with the skin's rectangles.
    if (auto twice = decoder.Decode(DoubleSizePath(image));
        twice && twice->pixels.Width() == 2 * width && twice->pixels.Height() == 2 * height) {
      original = std::move(*twice);
    }
  }
  if (premultiply && original.hasAlpha) {
    Premultiply(original.pixels);
  }
  const int deviceWidth = ToDevice(width, scale);
  const int deviceHeight = ToDevice(height, scale);
  if (original.pixels.Width() != deviceWidth || original.pixels.Height() != deviceHeight) {
    original.pixels = ResampleSmooth(original.pixels, deviceWidth, deviceHeight);
  }
  original.pixels.SetScale(scale);
  return original;
}

std::optional<DecodedImage> DecodeAtScale(ImageDecoder& decoder, const std::filesystem::path& image,
                                          double scale, bool premultiply) {
  auto original = decoder.Decode(image);
  if (!original) {
    return std::nullopt;
  }
  return AtScale(decoder, image, std::move(*original), scale, premultiply);
}

}  // namespace q8
