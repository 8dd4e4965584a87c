// Every text the main window and the dialogs draw on their faces, in each language and at each
// display scale, drawn again by the Linux text painter in the fonts the window asked for and in the
// size it fits: its ink must stay inside the rectangle it was given. A face that stands in with
// other metrics (DejaVu Sans for Arial, say) cuts captions on both sides.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "linux/gui/qt_text_painter.h"
#include "support/drawn_captions.h"

namespace q8::linux_shell {
namespace {

TEST(CaptionFitTest, EveryCaptionFitsItsRectangleInEveryLanguageAtEveryScale) {
  // The windows draw with fonts in the skin's pixels; the painter draws them at the canvas's scale.
  std::map<std::pair<std::string, int>, QtTextPainter> painters;
  const test::PainterFor painterFor = [&](const FontRequest& font, double) -> TextPainter& {
    auto [it, made] = painters.try_emplace({std::string(font.face), font.height});
    if (made) {
      const QFont qfont = QFontOf(font);
      it->second.SetFonts(qfont, qfont);
    }
    return it->second;
  };
  int measured = 0;
  EXPECT_THAT(test::CaptionsThatDoNotFit(Q8_DATA_DIR, Q8_SKINS_DIR, painterFor, measured),
              ::testing::IsEmpty());
  EXPECT_GT(measured, 60 * 5);
}

}  // namespace
}  // namespace q8::linux_shell
