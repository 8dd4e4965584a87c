#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ui/image_decoder.h"
#include "ui/skin_window_host.h"
#include "ui/text_port.h"

namespace q8::test {

// One log for everything a drawing does, so tests can check the order of images, texts and
// copies across the fakes below.
using DrawLog = std::vector<std::string>;

// Decodes every image to a 1 x 1 opaque pixel, except the names listed as missing; logs each
// request as "image <name>" with the skin folder left out.
class FakeImageDecoder final : public ImageDecoder {
 public:
  explicit FakeImageDecoder(DrawLog& log) : log_(log) {}
  std::optional<DecodedImage> Decode(const std::filesystem::path& path) override {
    std::string name("/");
    name += path.filename().string();
    std::string entry("image ");
    entry += name;
    log_.push_back(entry);
    paths.push_back(path.generic_string());
    if (missing.count(name) != 0) {
      return std::nullopt;
    }
    Canvas pixel(1, 1);
    pixel.At(0, 0) = {1, 2, 3, 255};
    return DecodedImage{std::move(pixel), false};
  }
  std::set<std::string> missing;
  std::vector<std::string> paths;

 private:
  DrawLog& log_;
};

struct DrawnText {
  std::string text;
  Rect rect;
  FontRole font;
  Rgb colour;
  TextAlign align;
  int sizesDown = 0;
};

// Records every text drawn. A text is as wide as `widths` says for its size (the first entry at
// its font's own size, then one size down each), 0 when the list has no entry for it.
class FakeTextPainter final : public TextPainter {
 public:
  explicit FakeTextPainter(DrawLog& log) : log_(log) {}
  std::vector<DrawnText> texts;
  std::vector<int> widths;
  // The scales the widths were asked for.
  std::vector<double> measuredAt;

  int TextWidth(std::string_view, FontRole, int sizesDown, double scale) override {
    measuredAt.push_back(scale);
    const auto size = static_cast<std::size_t>(sizesDown);
    return size < widths.size() ? widths[size] : 0;
  }
  void DrawSized(Canvas&, std::string_view text, Rect rect, FontRole font, int sizesDown,
                 Rgb colour, TextAlign align) override {
    log_.push_back("text " + std::string(text));
    texts.push_back({std::string(text), rect, font, colour, align, sizesDown});
  }

 private:
  DrawLog& log_;
};

struct TrackRequest {
  bool alsoLeave;
  unsigned hoverMs;
  friend bool operator==(const TrackRequest&, const TrackRequest&) = default;
};

class FakeSkinWindowHost final : public SkinWindowHost {
 public:
  explicit FakeSkinWindowHost(DrawLog& log) : log_(log) {}
  Rect ClientRect() const override { return {0, 0, width, height}; }
  void CopyToWindow(const Canvas& source, Rect area) override {
    log_.push_back("copy");
    copies.push_back(area);
    copiedSizes.emplace_back(source.Width(), source.Height());
  }
  void KeepCanvas(const Canvas* canvas) override { kept = canvas; }
  double PixelRatio() const override { return pixelRatio; }
  void ResizeClient(int w, int h) override {
    width = w;
    height = h;
    resizes.emplace_back(w, h);
  }
  void TrackMouse(bool alsoLeave, unsigned hoverMs) override {
    tracking.push_back({alsoLeave, hoverMs});
  }

  const Canvas* kept = nullptr;
  int width = 300;
  int height = 200;
  double pixelRatio = 1.0;
  std::vector<Rect> copies;
  std::vector<std::pair<int, int>> copiedSizes;
  std::vector<std::pair<int, int>> resizes;
  std::vector<TrackRequest> tracking;

 private:
  DrawLog& log_;
};

}  // namespace q8::test
