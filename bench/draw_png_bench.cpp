#include <benchmark/benchmark.h>

#include <filesystem>

#include "ui/draw_png.h"
#include "ui/png_decoder.h"

namespace q8 {
namespace {

// Every hover change decodes its images from disk again; this is the cost of one button face
// and of the main window's page art from the delivered default skin.
const std::filesystem::path kDefaultSkin = std::filesystem::path(Q8_SKINS_DIR) / "Default";

void DrawSkinImage(benchmark::State& state, const char* name) {
  PngDecoder decoder;
  Canvas canvas(876, 648);
  const auto path = kDefaultSkin / name;
  for (auto _ : state) {
    if (!DrawPng(&canvas, path, 0, 0, decoder)) {
      state.SkipWithError("the delivered skin image cannot be decoded");
      break;
    }
    benchmark::DoNotOptimize(canvas.At(0, 0));
  }
}

void BM_DrawButtonFace(benchmark::State& state) {
  DrawSkinImage(state, "button-over.png");
}
BENCHMARK(BM_DrawButtonFace);

void BM_DrawPageArt(benchmark::State& state) {
  DrawSkinImage(state, "BasicSet2.png");
}
BENCHMARK(BM_DrawPageArt);

}  // namespace
}  // namespace q8
