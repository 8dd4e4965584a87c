#include "ui/skinned_window.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <type_traits>

#include "skin_fakes.h"
#include "ui/skin_controls.h"
#include "ui/skin_directory.h"
#include "ui/skin_painter.h"
#include "ui/text_port.h"

namespace q8 {
namespace {

using test::DrawLog;

TEST(SkinDirectoryTest, FollowsTheExecutablesFolderAndKeepsItsSeparator) {
  const std::string folder = ExecutableDirectory("C:\\Tools\\Mouse\\TarnixMouseApp.exe");
  EXPECT_EQ(folder, "C:\\Tools\\Mouse\\");
  const std::string skin = SkinDirectory(folder, "Dark Steel");
  EXPECT_EQ(skin, "C:\\Tools\\Mouse\\/Skins/Dark Steel");
  EXPECT_EQ(SkinImagePath(skin, "/main.png").u8string(),
            u8"C:\\Tools\\Mouse\\/Skins/Dark Steel/main.png");
  EXPECT_EQ(SkinDirectory(ExecutableDirectory("/opt/q8/app"), "Default"), "/opt/q8//Skins/Default");
  EXPECT_EQ(SkinImagePath("/s/\xE7\x9A\xAE", "/a.png").u8string(), u8"/s/\u76AE/a.png");
}

TEST(SkinTextColorTest, StartsGreenAndReadsAsAPlatformColour) {
  EXPECT_EQ((Rgb{1, 2, 3}).ColorRef(), 0x030201u);
  EXPECT_EQ(kInitialSkinTextColor, (Rgb{0, 255, 0}));
}

TEST(CMemDCTest, CopiesTheCoveredRectangleOnceWhenItEnds) {
  DrawLog log;
  test::FakeSkinWindowHost host(log);
  {
    CMemDC zero(host, {});
    EXPECT_EQ(zero.Covered(), (Rect{0, 0, 300, 200}));
    EXPECT_TRUE(log.empty());
  }
  {
    CMemDC part(host, {10, 20, 50, 60});
    EXPECT_EQ(part.Surface().Width(), 40);
  }
  Canvas canvas(7, 9);
  {
    CMemDC selected(host, {});
    selected.SelectCanvas(&canvas);
    selected.SelectCanvas(nullptr);
    EXPECT_EQ(&selected.Surface(), &canvas);
  }
  EXPECT_EQ(log, (DrawLog{"copy", "copy", "copy"}));
  EXPECT_EQ(host.copies, (std::vector<Rect>{{0, 0, 300, 200}, {10, 20, 50, 60}, {0, 0, 300, 200}}));
  EXPECT_EQ(host.copiedSizes.back(), (std::pair<int, int>{7, 9}));
}

TEST(SkinnedWindowTest, TheBackgroundBecomesTheCanvasAndSizesTheWindow) {
  DrawLog log;
  test::FakeImageDecoder decoder(log);
  test::FakeSkinWindowHost host(log);
  SkinnedWindow window(host);
  EXPECT_EQ(window.canvas(), nullptr);
  ASSERT_TRUE(window.MakeCanvas(decoder, "skin/main.png"));
  ASSERT_NE(window.canvas(), nullptr);
  // Nothing is premultiplied or blended: the decoded pixel is kept as it came.
  EXPECT_EQ(window.canvas()->At(0, 0), (Pixel{1, 2, 3, 255}));
  EXPECT_EQ(host.resizes, (std::vector<std::pair<int, int>>{{1, 1}}));

  log.clear();
  window.ShowCanvas();
  EXPECT_EQ(log, (DrawLog{"copy"}));
  EXPECT_EQ(host.copiedSizes.back(), (std::pair<int, int>{1, 1}));

  // On a display at 200 % the window keeps the skin's size and its canvas has the device's pixels.
  test::FakeSkinWindowHost scaledHost(log);
  scaledHost.pixelRatio = 2.0;
  SkinnedWindow scaled(scaledHost);
  ASSERT_TRUE(scaled.MakeCanvas(decoder, "skin/main.png"));
  EXPECT_EQ(scaledHost.resizes, (std::vector<std::pair<int, int>>{{1, 1}}));
  ASSERT_EQ(scaled.canvas()->Width(), 2);
  EXPECT_EQ(scaled.canvas()->Scale(), 2.0);
  EXPECT_EQ(scaled.canvas()->At(1, 1), (Pixel{1, 2, 3, 255}));

  // At a scale where it would outgrow the largest skin image, the background is refused.
  test::FakeSkinWindowHost hugeHost(log);
  hugeHost.pixelRatio = 5000.0;
  SkinnedWindow huge(hugeHost);
  EXPECT_FALSE(huge.MakeCanvas(decoder, "skin/main.png"));
  EXPECT_TRUE(hugeHost.resizes.empty());
}

// A hidden window's canvas goes: its host may paint from it no more, and a drawing still runs but
// reaches the window no more (a copy would paint it black). Made again of an image that covers
// the window, the canvas must have the size the background gave the window at the scale of then.
TEST(SkinnedWindowTest, ACanvasLetGoOfIsTakenAgainOnlyAtTheWindowsSize) {
  DrawLog log;
  test::FakeImageDecoder decoder(log);
  test::FakeSkinWindowHost host(log);
  SkinnedWindow window(host);
  EXPECT_FALSE(window.TakeCanvas(Canvas(1, 1)));  // no background taken yet: no size known
  ASSERT_TRUE(window.MakeCanvas(decoder, "skin/main.png"));
  EXPECT_EQ(host.kept, window.canvas());
  window.ReleaseCanvas();
  EXPECT_EQ(host.kept, nullptr);
  log.clear();
  int drawings = 0;
  window.Draw([&](Canvas* target) { drawings += target == nullptr ? 1 : 100; });
  window.ShowCanvas();
  EXPECT_EQ(drawings, 1);
  EXPECT_TRUE(log.empty());

  host.pixelRatio = 2.0;
  host.width = 5;  // the window took another size on a display of another scale
  EXPECT_FALSE(window.TakeCanvas(Canvas(1, 1)));
  ASSERT_TRUE(window.TakeCanvas(Canvas(2, 2)));
  EXPECT_EQ(host.kept, window.canvas());
  EXPECT_EQ(host.resizes.back(), (std::pair<int, int>{1, 1}));
  EXPECT_EQ(window.canvas()->Scale(), 2.0);
}

// Whether a SkinPainter can be made from a skin folder and a caption colour of these kinds.
template <typename Skin, typename Colour>
constexpr bool PainterTakes() {
  return std::is_constructible_v<SkinPainter, Skin, Colour, ImageDecoder&, TextPainter&,
                                 MessageSink*>;
}

// The painter reads the skin folder and the caption colour at every draw, since the skin chooser
// replaces them; a temporary given to it would be gone by the first draw, so none is accepted.
TEST(SkinPainterTest, DrawsWithTheSkinAndColourOfTheMomentAndTakesNoTemporaries) {
  EXPECT_TRUE((PainterTakes<const std::string&, const Rgb&>()));
  EXPECT_FALSE((PainterTakes<std::string, const Rgb&>()));
  EXPECT_FALSE((PainterTakes<const char*, const Rgb&>()));
  EXPECT_FALSE((PainterTakes<const std::string&, Rgb>()));
  EXPECT_FALSE((PainterTakes<std::string, Rgb>()));

  DrawLog log;
  test::FakeImageDecoder decoder(log);
  test::FakeTextPainter text(log);
  std::string skin = "old";
  Rgb colour{1, 2, 3};
  const SkinPainter painter(skin, colour, decoder, text, nullptr);
  skin = "new";
  colour = {4, 5, 6};
  Canvas canvas(1, 1);
  painter.DrawImage(&canvas, "/button-normal.png", {0, 0});
  painter.DrawCaption(&canvas, "OK", {0, 0, 1, 1}, TextAlign::kCentre);
  ASSERT_EQ(decoder.paths.size(), 1u);
  EXPECT_EQ(decoder.paths[0], "new/button-normal.png");
  ASSERT_EQ(text.texts.size(), 1u);
  EXPECT_EQ(text.texts[0].colour, (Rgb{4, 5, 6}));
}

TEST(SkinSliderTest, TheChosenStopIsLightAndAChoiceRedrawsTwoStops) {
  DrawLog log;
  test::FakeImageDecoder decoder(log);
  test::FakeTextPainter text(log);
  const std::string skin = "skin";
  const Rgb colour;
  SkinPainter painter(skin, colour, decoder, text, nullptr);
  constexpr std::array<HotRegion, 3> stops = {
      {{0, 0, 70, 11}, {72, 0, 142, 11}, {144, 0, 214, 11}}};
  Canvas canvas(1, 1);
  SkinSlider slider(stops, 1, {});
  slider.DrawAll(painter, &canvas);
  slider.Select(painter, &canvas, 2);
  slider.Select(painter, &canvas, 2);
  EXPECT_EQ(slider.selected(), 2);
  EXPECT_EQ(log, (DrawLog{"image /slider-RP-dark.png", "image /slider-RP-light.png",
                          "image /slider-RP-dark.png", "image /slider-RP-light.png",
                          "image /slider-RP-dark.png"}));

  // With no stop chosen, a choice draws only the light image.
  log.clear();
  SkinSlider unset(stops, -1, {});
  unset.Select(painter, &canvas, 0);
  EXPECT_EQ(log, (DrawLog{"image /slider-RP-light.png"}));
}

// A stop the row lacks (a stored value no choice has) chooses none: it must never reach past
// the row's stops.
TEST(SkinSliderTest, AStopOutsideTheRowChoosesNone) {
  DrawLog log;
  test::FakeImageDecoder decoder(log);
  test::FakeTextPainter text(log);
  const std::string skin = "skin";
  const Rgb colour;
  SkinPainter painter(skin, colour, decoder, text, nullptr);
  constexpr std::array<HotRegion, 2> stops = {{{0, 0, 70, 11}, {72, 0, 142, 11}}};
  Canvas canvas(1, 1);
  SkinSlider slider(stops, 1, {});
  slider.Select(painter, &canvas, 2);
  EXPECT_EQ(slider.selected(), -1);
  EXPECT_EQ(log, (DrawLog{"image /slider-RP-dark.png"}));
  log.clear();
  slider.Select(painter, &canvas, -1);
  slider.Select(painter, &canvas, 0);
  EXPECT_EQ(slider.selected(), 0);
  EXPECT_EQ(log, (DrawLog{"image /slider-RP-light.png"}));
}

}  // namespace
}  // namespace q8
