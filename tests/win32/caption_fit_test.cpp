// Every text the main window and the dialogs draw on their faces, in each language and at each
// display scale, drawn again by the GDI text painter in the fonts the windows make at that scale
// and in the size it fits: its ink must stay inside the rectangle it was given. Windows' text
// metrics do not grow in step with the scale (a caption at 200 % may need more than twice its
// width at 100 %).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "support/drawn_captions.h"
#include "ui/device_scale.h"
#include "win32/gdi_font.h"
#include "win32/gdi_text_painter.h"

namespace q8 {
namespace {

TEST(CaptionFitTest, EveryCaptionFitsItsRectangleInEveryLanguageAtEveryScale) {
  struct Made {
    win32::UniqueFont font;
    GdiTextPainter painter{nullptr, nullptr};
  };
  std::map<std::tuple<std::string, int, double>, Made> painters;
  const test::PainterFor painterFor = [&](const FontRequest& font, double scale) -> TextPainter& {
    auto [it, made] = painters.try_emplace({std::string(font.face), font.height, scale});
    if (made) {
      it->second.font = win32::CreateGdiFont(ScaledFont(font, scale));
      it->second.painter = GdiTextPainter(it->second.font.Get(), it->second.font.Get());
    }
    return it->second.painter;
  };
  int measured = 0;
  EXPECT_THAT(test::CaptionsThatDoNotFit(Q8_DATA_DIR, Q8_SKINS_DIR, painterFor, measured),
              ::testing::IsEmpty());
  EXPECT_GT(measured, 60 * 5);
}

}  // namespace
}  // namespace q8
