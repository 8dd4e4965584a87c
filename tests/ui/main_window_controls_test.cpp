#include "ui/main_window_controls.h"

#include <gtest/gtest.h>

#include "skin_fakes.h"

namespace q8 {
namespace {

using test::DrawLog;
using C = MainWindowControls;

class MainWindowControlsTest : public ::testing::Test {
 protected:
  MainWindowControlsTest() {
    captions_.ok = "OK";
    captions_.apply = "Apply";
    captions_.cancel = "Cancel";
    captions_.restoreKeys = "Default";
    for (int row = 0; row < 7; ++row) {
      captions_.keyRows[static_cast<std::size_t>(row)] = "Key" + std::to_string(row + 1);
    }
    window_.MakeCanvas(decoder_, "skin/main.png");
    log_.clear();
  }

  // A mouse that comes to rest at p: the move, then the hover notification it asked for.
  void RestAt(Point p) {
    controls_.OnMouseMove(p);
    controls_.OnMouseHover(p);
  }

  DrawLog log_;
  test::FakeImageDecoder decoder_{log_};
  test::FakeTextPainter text_{log_};
  test::FakeSkinWindowHost host_{log_};
  std::string skinDirectory_ = "skin";
  Rgb textColor_ = kInitialSkinTextColor;
  SkinPainter painter_{skinDirectory_, textColor_, decoder_, text_, nullptr};
  SkinnedWindow window_{host_};
  MainWindowCaptions captions_;
  C controls_{window_, painter_, captions_};
};

TEST_F(MainWindowControlsTest, TheSharedColumnBelongsToTheButtonTestedFirst) {
  RestAt({666, 630});
  EXPECT_EQ(log_, (DrawLog{"image /button-over.png", "text OK", "copy"}));
  EXPECT_TRUE(controls_.IsOver(C::kOk));
  EXPECT_FALSE(controls_.IsOver(C::kApply));
  log_.clear();
  RestAt({770, 630});
  EXPECT_TRUE(controls_.IsOver(C::kApply));
  EXPECT_FALSE(controls_.IsOver(C::kCancel));
  ASSERT_FALSE(text_.texts.empty());
  EXPECT_EQ(text_.texts.back().rect, (Rect{562, 623, 667, 644}));
  EXPECT_EQ(text_.texts.back().align, TextAlign::kCentre);
}

TEST_F(MainWindowControlsTest, MovingWithinTheBottomButtonsRedrawsBothInOneCopy) {
  RestAt({600, 630});
  log_.clear();
  controls_.OnMouseMove({700, 630});
  EXPECT_TRUE(log_.empty());  // still inside a control: only tracking is asked for
  controls_.OnMouseHover({700, 630});
  EXPECT_EQ(log_, (DrawLog{"image /button-over.png", "text Apply", "image /button-normal.png",
                           "text OK", "copy"}));
  EXPECT_FALSE(controls_.IsOver(C::kOk));
  EXPECT_TRUE(controls_.IsOver(C::kApply));
  EXPECT_EQ(host_.tracking, (std::vector<test::TrackRequest>(2, {true, 10})));
}

TEST_F(MainWindowControlsTest, AloneControlsKeepOthersOverUntilAMoveOutside) {
  RestAt({600, 630});
  log_.clear();
  controls_.OnMouseHover({710, 10});  // jumped to Skins without a move outside
  EXPECT_EQ(log_, (DrawLog{"image /button-Skins-over.png", "copy"}));
  EXPECT_TRUE(controls_.IsOver(C::kOk));
  EXPECT_TRUE(controls_.IsOver(C::kSkins));

  log_.clear();
  controls_.OnMouseLeave();
  EXPECT_TRUE(log_.empty());
  EXPECT_TRUE(controls_.IsOver(C::kSkins));

  controls_.OnMouseMove({10, 300});
  EXPECT_EQ(log_, (DrawLog{"image /button-Skins-normal.png", "image /button-normal.png", "text OK",
                           "copy"}));
  EXPECT_FALSE(controls_.IsOver(C::kOk));
  EXPECT_FALSE(controls_.IsOver(C::kSkins));
  log_.clear();
  controls_.OnMouseMove({10, 300});
  EXPECT_TRUE(log_.empty());
}

TEST_F(MainWindowControlsTest, AMoveOutsideRedrawsEveryFlaggedControlInItsOrder) {
  controls_.SetMainPageDrawn();
  for (Point p : {Point{855, 10}, Point{700, 630}, Point{310, 560}, Point{300, 225}, Point{830, 10},
                  Point{50, 60}}) {
    controls_.OnMouseHover(p);
  }
  log_.clear();
  controls_.OnMouseMove({5, 600});
  EXPECT_EQ(log_, (DrawLog{"image /button-min-normal.png", "image /button-close-normal.png",
                           "image /button-PrePage-normal.png", "image /button-normal.png",
                           "text Apply", "image /button-normal.png", "text Default",
                           "image /DropdownBox-normal.png", "text 2", "text Key2", "copy"}));
  EXPECT_TRUE(host_.tracking.empty());
}

TEST_F(MainWindowControlsTest, PageControlsReactOnlyOnceTheMainPageIsDrawn) {
  RestAt({300, 200});  // key row 1
  RestAt({310, 560});  // restore keys
  EXPECT_TRUE(log_.empty());
  EXPECT_TRUE(host_.tracking.empty());

  controls_.SetMainPageDrawn();
  RestAt({300, 250});  // row 3 spans 245 to 266
  RestAt({300, 268});  // row 4
  EXPECT_EQ(log_, (DrawLog{"image /DropdownBox-over.png", "text 3", "text Key3", "copy",
                           "image /DropdownBox-over.png", "text 4", "text Key4",
                           "image /DropdownBox-normal.png", "text 3", "text Key3", "copy"}));
  ASSERT_GE(text_.texts.size(), 2u);
  EXPECT_EQ(text_.texts[0].rect, (Rect{252, 245, 272, 266}));
  EXPECT_EQ(text_.texts[1].rect, (Rect{272, 245, 463, 266}));
  EXPECT_EQ(text_.texts[1].align, TextAlign::kLeft);
  // The gap between rows belongs to no row: row 1 ends at 220, row 2 begins at 222.
  log_.clear();
  controls_.OnMouseHover({300, 221});
  EXPECT_TRUE(log_.empty());
}

TEST_F(MainWindowControlsTest, AMissingOverImageKeepsTheCaptionAndSaysNothing) {
  decoder_.missing = {"/button-over.png"};
  RestAt({600, 630});
  EXPECT_EQ(log_, (DrawLog{"image /button-over.png", "text OK", "copy"}));
  EXPECT_TRUE(controls_.IsOver(C::kOk));
}

TEST_F(MainWindowControlsTest, CaptionsFollowTheCurrentColourAndTheImagesTheCurrentSkin) {
  textColor_ = {10, 20, 30};
  skinDirectory_ = "other";
  RestAt({600, 630});
  ASSERT_EQ(text_.texts.size(), 1u);
  EXPECT_EQ(text_.texts[0].colour, (Rgb{10, 20, 30}));
  EXPECT_EQ(text_.texts[0].font, FontRole::kNormal);
  EXPECT_EQ(decoder_.paths.back(), "other/button-over.png");
}

TEST(MainWindowWithoutCanvasTest, HoverCopiesButDrawsNothing) {
  DrawLog log;
  test::FakeImageDecoder decoder(log);
  decoder.missing = {"/main.png"};
  test::FakeTextPainter text(log);
  test::FakeSkinWindowHost host(log);
  const std::string skin = "skin";
  const Rgb colour = kInitialSkinTextColor;
  SkinPainter painter(skin, colour, decoder, text, nullptr);
  SkinnedWindow window(host);
  EXPECT_FALSE(window.MakeCanvas(decoder, "skin/main.png"));
  EXPECT_TRUE(host.resizes.empty());
  log.clear();

  MainWindowCaptions captions;
  C controls(window, painter, captions);
  controls.OnMouseHover({600, 630});
  EXPECT_EQ(log, (DrawLog{"copy"}));
}

}  // namespace
}  // namespace q8
