// One hover redraw of the main window as the user sees it: the mouse comes to rest on the OK
// button (its over face and caption are drawn) or leaves it (its normal face and caption), each
// through one canvas drawing with its CMemDC, from the delivered Default skin. The copy to the
// screen (BitBlt on Windows) is the system's and is left out; the caption is drawn by a text
// painter that draws nothing, since the system's text drawing is not ours either.
// Goal: under 0.2 ms per redraw.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "ui/main_window_controls.h"
#include "ui/png_decoder.h"
#include "ui/skin_painter.h"

namespace q8 {
namespace {

const std::string kDefaultSkin = (std::filesystem::path(Q8_SKINS_DIR) / "Default").string();

class ScreenlessHost final : public SkinWindowHost {
 public:
  Rect ClientRect() const override { return {0, 0, width_, height_}; }
  void CopyToWindow(const Canvas& source, Rect) override { benchmark::DoNotOptimize(&source); }
  void ResizeClient(int width, int height) override {
    width_ = width;
    height_ = height;
  }
  void TrackMouse(bool, unsigned) override {}

 private:
  int width_ = 0;
  int height_ = 0;
};

class NoTextPainter final : public TextPainter {
 public:
  int TextWidth(std::string_view, FontRole, int, double) override { return 0; }
  void DrawSized(Canvas&, std::string_view, Rect, FontRole, int, Rgb, TextAlign) override {}
};

void BM_HoverRedraw(benchmark::State& state) {
  PngDecoder decoder;
  NoTextPainter text;
  ScreenlessHost host;
  SkinnedWindow window(host);
  if (!window.MakeCanvas(decoder, kDefaultSkin + "/main.png")) {
    state.SkipWithError("the delivered main window image cannot be decoded");
    return;
  }
  const Rgb colour = kInitialSkinTextColor;
  const SkinPainter painter(kDefaultSkin, colour, decoder, text, nullptr);
  const MainWindowCaptions captions{
      .ok = "OK", .apply = {}, .cancel = {}, .restoreKeys = {}, .keyRows = {}};
  MainWindowControls controls(window, painter, captions);
  const Rect ok = MainWindowControls::kOkButton.region;
  const Point onOk{ok.left + 5, ok.top + 5};
  const Point outside{10, 300};
  bool over = false;
  for (auto _ : state) {
    if (over) {
      controls.OnMouseMove(outside);  // draws the normal face again
    } else {
      controls.OnMouseHover(onOk);  // draws the over face
    }
    over = !over;
  }
  benchmark::DoNotOptimize(window.canvas()->At(ok.left, ok.top));
}
BENCHMARK(BM_HoverRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace q8
