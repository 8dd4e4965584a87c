#include "model/ui_text.h"

#include <gtest/gtest.h>

#include "model/ui_text_table.h"
#include "skin_fakes.h"
#include "ui/language_fonts.h"

namespace q8 {
namespace {

TEST(UiTextTest, OnlyTheExactCodesSelectChinese) {
  EXPECT_EQ(SelectLanguage("CHS"), UiLanguage::CHS);
  EXPECT_EQ(SelectLanguage("CHT"), UiLanguage::CHT);
  for (const std::string_view code : {"", "chs", "Chs", "cht", "CHS ", "CHSX", "CHTW", "EN"}) {
    EXPECT_EQ(SelectLanguage(code), UiLanguage::EN) << '"' << code << '"';
  }
}

TEST(UiTextTest, FillingSetsEveryEntryToTheChosenLanguage) {
  UiTextTable table;
  table.FillTextTable(UiLanguage::CHS);
  EXPECT_EQ(table.Text(UiTextKey::BasicSettings), "基本设置");
  EXPECT_EQ(table.Text(UiTextKey::StrIniSection), "Setting-CHS");
  EXPECT_EQ(table.Text(UiTextKey::WebLink), "");

  // Filled again in another language, no entry keeps its earlier text.
  table.FillTextTable(UiLanguage::CHT);
  for (const UiTextEntry& entry : kUiTextEntries) {
    EXPECT_EQ(table.Text(entry.key), entry.cht) << static_cast<std::size_t>(entry.key);
  }
  EXPECT_EQ(table.Text(UiTextKey::FnHotKey), "快速鍵");
  EXPECT_EQ(table.Text(UiTextKey::StrIniSection), "Setting-CHT");

  table.FillTextTable(UiLanguage::EN);
  EXPECT_EQ(table.Text(UiTextKey::RestoreKeys), "Default");
  EXPECT_EQ(table.Text(UiTextKey::MsgMouseDetected), "The system detect the gaming mouse.");
  EXPECT_EQ(table.Text(UiTextKey::StrIniSection), "Setting-EN");
}

TEST(UiTextTest, TextsKeepTheirExactSpelling) {
  EXPECT_EQ(TextFor(UiTextKey::RgbNonDisplay, UiLanguage::EN), "Non-Disolay");
  EXPECT_EQ(TextFor(UiTextKey::NotifyDpiStage1, UiLanguage::EN),
            "Switch DPI into the first stage ");
  EXPECT_EQ(TextFor(UiTextKey::NotifyDpiStage8, UiLanguage::EN),
            "Switch DPI into the eighth stage ");
  EXPECT_EQ(TextFor(UiTextKey::NotifyDpiStage8, UiLanguage::CHS), "DPI切换到第八段");
  EXPECT_EQ(TextFor(UiTextKey::MsgMouseNotDetected, UiLanguage::EN),
            "The system did not detect the gaming mouse!");
  EXPECT_EQ(TextFor(UiTextKey::MsgMouseNotDetected, UiLanguage::CHT), "系統沒有檢測到遊戲滑鼠！");
  EXPECT_EQ(TextFor(UiTextKey::NotifyMacro, UiLanguage::CHT), "切換到巨集");
}

TEST(UiTextTest, TheWebLinkPointsAtAReservedDomain) {
  for (const auto language : {UiLanguage::EN, UiLanguage::CHT}) {
    const std::string_view link = TextFor(UiTextKey::WebLink, language);
    EXPECT_TRUE(link.starts_with("https://")) << link;
    EXPECT_NE(link.find(".example/"), std::string_view::npos) << link;
  }
  EXPECT_EQ(TextFor(UiTextKey::WebLink, UiLanguage::CHS), "");
}

TEST(LanguageFontsTest, FacesDependOnLanguageAndOnlyChineseSimplifiedOnTheVersion) {
  const FontRequest heiTi13{"黑体", 13, 400};
  const FontRequest songTi13{"宋体", 13, 400};
  const LanguageFonts chsOn62 = CreateLanguageFonts(UiLanguage::CHS, {6, 2});
  EXPECT_EQ(chsOn62.normal, heiTi13);
  EXPECT_EQ(chsOn62.title, (FontRequest{"黑体", 18, 700}));
  for (const OsVersion other :
       {OsVersion{6, 1}, OsVersion{6, 3}, OsVersion{10, 0}, OsVersion{5, 2}}) {
    const LanguageFonts fonts = CreateLanguageFonts(UiLanguage::CHS, other);
    EXPECT_EQ(fonts.normal, songTi13);
    EXPECT_EQ(fonts.title, (FontRequest{"宋体", 18, 700}));
  }
  for (const OsVersion any : {OsVersion{6, 2}, OsVersion{10, 0}}) {
    const LanguageFonts cht = CreateLanguageFonts(UiLanguage::CHT, any);
    EXPECT_EQ(cht.normal, (FontRequest{"黑体", 14, 400}));
    EXPECT_EQ(cht.title, (FontRequest{"黑体", 18, 700}));
    const LanguageFonts en = CreateLanguageFonts(SelectLanguage("chs"), any);
    EXPECT_EQ(en.normal, (FontRequest{"Arial", 14, 400}));
    EXPECT_EQ(en.title, (FontRequest{"Tahoma", 18, 700}));
    EXPECT_EQ(en.title.pitchAndFamily, 0x20);
  }
  EXPECT_EQ(DialogFont(UiLanguage::CHS, {6, 2}), heiTi13);
}

}  // namespace
}  // namespace q8

namespace q8 {
namespace {

// A text too wide for the part of its rectangle on the canvas, at the canvas's scale, is drawn as
// many sizes down as it takes to fit, and no more than the painter allows.
TEST(TextFitTest, ATextTooWideForItsRectangleIsDrawnSizesDownUntilItFits) {
  struct Case {
    const char* what;
    std::vector<int> widths;  // at its own size, then one size down each
    Rect rect;
    int canvasWidth;
    double scale;
    int sizesDown;
  };
  const Case cases[] = {
      {"fits", {100}, {0, 0, 100, 20}, 200, 1.0, 0},
      {"one pixel too wide", {101, 100}, {0, 0, 100, 20}, 200, 1.0, 1},
      {"measured at the canvas's scale", {101, 99}, {10, 0, 60, 20}, 200, 2.0, 1},
      {"fits at 200 %", {100}, {10, 0, 60, 20}, 200, 2.0, 0},
      {"the part on the canvas", {90, 80}, {0, 0, 100, 20}, 80, 1.0, 1},
      {"never fits", {500, 400, 300, 200, 150, 100}, {0, 0, 100, 20}, 200, 1.0, 4},
  };
  for (const Case& c : cases) {
    test::DrawLog log;
    test::FakeTextPainter painter(log);
    painter.widths = c.widths;
    Canvas canvas(c.canvasWidth, 40);
    canvas.SetScale(c.scale);
    painter.PaintText(canvas, "Report Rate Setting", c.rect, FontRole::kTitle, {1, 2, 3},
                      TextAlign::kCentre);
    ASSERT_EQ(painter.texts.size(), 1u) << c.what;
    EXPECT_EQ(painter.texts[0].sizesDown, c.sizesDown) << c.what;
    EXPECT_EQ(painter.texts[0].rect, c.rect) << c.what;
    EXPECT_EQ(painter.measuredAt.front(), c.scale) << c.what;
  }
}

}  // namespace
}  // namespace q8
