// The settings page drawn into the main window's canvas from the delivered default skin, and one
// hover redraw of a key row, at 100 % and at 200 % (four times the pixels, from the skin's
// double-size images): the images come from the real PNG decoder, kept by the painter from one
// round to the next, so these figures are the drawing's share. The program lets go of the images
// once a page drawing is done and decodes them anew for the next (the page art's decoding is
// BM_DrawPageArt). Texts cost nothing here (the platform draws them), so these are the core's
// share.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/main_page_attachment.h"
#include "model/button_caption.h"
#include "support/fake_window_host.h"
#include "ui/png_decoder.h"

namespace q8 {
namespace {

const std::filesystem::path kSkins = std::filesystem::path(Q8_SKINS_DIR);

class NoText final : public TextPainter {
 public:
  int TextWidth(std::string_view, FontRole, int, double) override { return 0; }
  void DrawSized(Canvas&, std::string_view, Rect, FontRole, int, Rgb, TextAlign) override {}
};

// A main window with the delivered skin, its page set up as after start-up with the mouse.
class PageBench {
 public:
  explicit PageBench(const std::string& skin, double scale = 1.0) {
    host.pixelRatio = scale;
    state.skinDirectory = (kSkins / skin).string();
    state.settings.firstRunFlag = 1;
    state.captions = DefaultButtonCaptions(UiLanguage::EN);
    texts.FillTextTable(UiLanguage::EN);
    window.MakeCanvas(decoder, kSkins / skin / "main.png");
  }
  bool HasCanvas() { return window.canvas() != nullptr; }

  AppState state;
  UiTextTable texts;
  test::FakeMainWindowHost host;
  PngDecoder decoder;
  NoText text;
  CancelledKeyFunctionDialogs dialogs;
  SkinPainter painter{state.skinDirectory, state.skinTextColor, decoder, text, nullptr};
  SkinnedWindow window{host};
  MainWindowCaptions captions;
  MainWindowControls controls{window, painter, captions};
  MainPage page{MainPageContext{state, texts, window, painter, text, controls, captions, host, host,
                                dialogs}};
};

void BuildMainPage(benchmark::State& state, double scale) {
  PageBench bench("Default", scale);
  if (!bench.HasCanvas()) {
    state.SkipWithError("the delivered skin cannot be decoded");
    return;
  }
  for (auto _ : state) {
    bench.page.Build();
    bench.page.TearDown();
    // The fake host's call log would otherwise grow with every round.
    state.PauseTiming();
    bench.host.calls.clear();
    state.ResumeTiming();
  }
}

void BM_BuildMainPage(benchmark::State& state) {
  BuildMainPage(state, 1.0);
}
BENCHMARK(BM_BuildMainPage)->Unit(benchmark::kMillisecond);

void BM_BuildMainPageAtScale2(benchmark::State& state) {
  BuildMainPage(state, 2.0);
}
BENCHMARK(BM_BuildMainPageAtScale2)->Unit(benchmark::kMillisecond);

// The pointer moving from one key row to the next: the new row drawn over, the old one normal.
void BM_HoverKeyRow(benchmark::State& state) {
  PageBench bench("Default");
  if (!bench.HasCanvas()) {
    state.SkipWithError("the delivered skin cannot be decoded");
    return;
  }
  bench.page.Build();
  const Point rows[] = {{300, 205}, {300, 228}};
  int next = 0;
  for (auto _ : state) {
    bench.controls.OnMouseHover(rows[next]);
    next ^= 1;
  }
}
BENCHMARK(BM_HoverKeyRow)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace q8
