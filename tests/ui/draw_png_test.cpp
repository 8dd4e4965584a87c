#include "ui/draw_png.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>

#include "png_writer.h"
#include "skin_fakes.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/png_decoder.h"
#include "ui/skin_image_cache.h"
#include "ui/skin_painter.h"

namespace q8 {
namespace {

using test::PngContent;

Canvas Filled(int width, int height, Pixel colour) {
  Canvas canvas(width, height);
  for (Pixel& p : canvas.Pixels()) {
    p = colour;
  }
  return canvas;
}

class DrawPngTest : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& name, const PngContent& png) {
    const auto path = dir_ / name;
    test::WritePng(path, png);
    return path;
  }

  test::TempDir dir_;
  PngDecoder decoder_;
};

constexpr Pixel kBlack{0, 0, 0, 255};

// Pixels in file order R, G, B, A. Worked by hand: alpha 0 keeps the destination, alpha 255
// replaces it, 255 at alpha 128 premultiplies to 255 * 128 / 255 = 128 over black, and over 100
// gives 128 + 100 * 127 / 255 = 128 + 49 = 177.
TEST_F(DrawPngTest, PremultipliesAndBlendsSourceOver) {
  const auto path = Write("blend.png", test::RgbaPng(4, 1,
                                                     {200, 100, 50, 0,     // invisible
                                                      10, 20, 30, 255,     // opaque
                                                      255, 255, 255, 128,  // half over black
                                                      255, 64, 0, 128}));  // half over grey
  Canvas canvas = Filled(4, 1, kBlack);
  canvas.At(3, 0) = {100, 100, 100, 255};

  ASSERT_TRUE(DrawPng(&canvas, path, 0, 0, decoder_));

  EXPECT_EQ(canvas.At(0, 0), kBlack);
  EXPECT_EQ(canvas.At(1, 0), (Pixel{30, 20, 10, 255}));
  EXPECT_EQ(canvas.At(2, 0), (Pixel{128, 128, 128, 255}));
  // blue 0 -> 0 + 49, green 64 * 128 / 255 = 32 -> 32 + 49, red 128 + 49; alpha 128 + 127 = 255.
  EXPECT_EQ(canvas.At(3, 0), (Pixel{49, 81, 177, 255}));
}

TEST_F(DrawPngTest, ImageWithoutAlphaIsCopiedOpaquely) {
  const auto path =
      Write("rgb.png", test::RgbPng(2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 250, 251, 252}));
  Canvas canvas = Filled(3, 3, {90, 90, 90, 0});

  ASSERT_TRUE(DrawPng(&canvas, path, 1, 1, decoder_));

  EXPECT_EQ(canvas.At(1, 1), (Pixel{3, 2, 1, 255}));
  EXPECT_EQ(canvas.At(2, 1), (Pixel{6, 5, 4, 255}));
  EXPECT_EQ(canvas.At(1, 2), (Pixel{9, 8, 7, 255}));
  EXPECT_EQ(canvas.At(2, 2), (Pixel{252, 251, 250, 255}));
  EXPECT_EQ(canvas.At(0, 0), (Pixel{90, 90, 90, 0}));
  EXPECT_EQ(canvas.At(2, 0), (Pixel{90, 90, 90, 0}));
}

TEST_F(DrawPngTest, PaletteWithTransparencyBlends) {
  PngContent png = test::RgbPng(2, 1, {0, 1});
  png.colourType = 3;
  png.palette = {255, 0, 0, 0, 0, 255};
  png.transparency = {0, 255};
  const auto path = Write("palette.png", png);
  Canvas canvas = Filled(2, 1, kBlack);
  ASSERT_TRUE(DrawPng(&canvas, path, 0, 0, decoder_));
  EXPECT_EQ(canvas.At(0, 0), kBlack);
  EXPECT_EQ(canvas.At(1, 0), (Pixel{255, 0, 0, 255}));
}

// A 30 x 20 image drawn at a control's corner covers all of its 30 x 20 pixels, whatever the
// control's size; what falls beyond the canvas is clipped, on every side.
TEST_F(DrawPngTest, DrawsTheWholeImageUnscaledAndClipsAtTheCanvasEdge) {
  const PngContent png = test::RgbPng(30, 20, std::vector<std::uint8_t>(30 * 20 * 3, 0xFF));
  const auto path = Write("white.png", png);
  Canvas canvas = Filled(40, 40, kBlack);

  ASSERT_TRUE(DrawPng(&canvas, path, 5, 5, decoder_));
  int white = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 5 && x < 35 && y >= 5 && y < 25;
      EXPECT_EQ(canvas.At(x, y).red, inside ? 255 : 0) << x << "," << y;
      white += canvas.At(x, y).red == 255;
    }
  }
  EXPECT_EQ(white, 600);

  EXPECT_TRUE(DrawPng(&canvas, path, 25, 30, decoder_));
  EXPECT_EQ(canvas.At(39, 39).red, 255);
  EXPECT_TRUE(DrawPng(&canvas, path, -29, -19, decoder_));
  EXPECT_EQ(canvas.At(0, 0).red, 255);
  EXPECT_TRUE(DrawPng(&canvas, path, 100, 100, decoder_));
}

// A window takes over the decoded image's canvas; what stays behind must not claim the pixels it
// gave away, or drawing into it would write past them.
TEST(CanvasTest, ACanvasMovedFromIsEmpty) {
  Canvas decoded = Filled(4, 3, kBlack);
  const Canvas taken = std::move(decoded);
  EXPECT_EQ(taken.Width(), 4);
  EXPECT_EQ(taken.Pixels().size(), 12u);
  EXPECT_EQ(decoded.Width(), 0);
  EXPECT_EQ(decoded.Height(), 0);
  BlendOver(decoded, taken, 0, 0);
  CopyOver(decoded, taken, 0, 0);
  EXPECT_TRUE(decoded.Pixels().empty());

  Canvas assigned(1, 1);
  assigned = std::move(decoded);
  EXPECT_EQ(assigned.Width(), 0);
  EXPECT_TRUE(assigned.Pixels().empty());
}

TEST_F(DrawPngTest, EveryDrawReadsTheFileAgain) {
  PngContent png = test::RgbPng(1, 1, {10, 10, 10});
  const auto path = Write("changing.png", png);
  Canvas canvas(1, 1);
  ASSERT_TRUE(DrawPng(&canvas, path, 0, 0, decoder_));
  EXPECT_EQ(canvas.At(0, 0).red, 10);
  png.data = {20, 20, 20};
  Write("changing.png", png);
  ASSERT_TRUE(DrawPng(&canvas, path, 0, 0, decoder_));
  EXPECT_EQ(canvas.At(0, 0).red, 20);
}

// Missing, damaged and oversized images draw nothing: the main window's variant says nothing, the
// dialogs' variant reports every failure, and neither reports a missing target.
TEST_F(DrawPngTest, RefusedImagesDrawNothing) {
  const auto missing = dir_ / "missing.png";
  const auto damaged = dir_ / "damaged.png";
  test::WriteBytes(damaged, {0x89, 'P', 'N', 'G', 1, 2, 3});
  const auto huge = dir_ / "huge.png";
  test::WriteBytes(huge, test::PngClaimingSize(100000, 100000));

  test::RecordingMessageSink messages;
  for (const auto& path : {missing, damaged, huge}) {
    Canvas canvas = Filled(2, 2, kBlack);
    EXPECT_FALSE(DrawPng(&canvas, path, 0, 0, decoder_)) << path;
    EXPECT_FALSE(LoadPng(&canvas, path, 0, 0, decoder_, messages)) << path;
    EXPECT_EQ(canvas.At(0, 0), kBlack);
  }
  const test::Message failed{"LoadPng---Load image failed.", "TarnixMouseApp"};
  EXPECT_EQ(messages.messages, (std::vector<test::Message>(3, failed)));

  const auto good = Write("good.png", test::RgbPng(1, 1, {1, 1, 1}));
  EXPECT_FALSE(DrawPng(nullptr, good, 0, 0, decoder_));
  EXPECT_FALSE(LoadPng(nullptr, good, 0, 0, decoder_, messages));
  EXPECT_EQ(messages.messages.size(), 3u);
}

// Counts the decodes that reach the real decoder.
class CountingDecoder final : public ImageDecoder {
 public:
  explicit CountingDecoder(ImageDecoder& real) : real_(real) {}
  std::optional<DecodedImage> Decode(const std::filesystem::path& path) override {
    ++decodes;
    return real_.Decode(path);
  }
  int decodes = 0;

 private:
  ImageDecoder& real_;
};

// A skin edited on disk shows at the next draw, even when the new file has the old one's size;
// another skin's image of the same name is never the old one's; a missing file is tried again, a
// damaged one once it changes; another scale lets the old one's images go; an image beyond the
// pixels allowed is not kept.
TEST_F(DrawPngTest, KeptImagesFollowTheirFilesAndOneSkinFolder) {
  CountingDecoder counting(decoder_);
  SkinImageCache images(counting, 4);
  std::filesystem::create_directories(dir_ / "a");
  std::filesystem::create_directories(dir_ / "b");
  const auto a = Write("a/x.png", test::RgbPng(1, 1, {10, 10, 10}));
  const auto b = Write("b/x.png", test::RgbPng(1, 1, {30, 30, 30}));
  const auto y = Write("a/y.png", test::RgbPng(1, 1, {40, 40, 40}));
  const auto damaged = dir_ / "a" / "damaged.png";
  test::WriteBytes(damaged, {0x89, 'P', 'N', 'G', 1, 2, 3});
  const auto redOf = [&](const std::filesystem::path& path, double scale) {
    const DecodedImage* image = images.Find(path, scale);
    return image == nullptr ? -1 : image->pixels.At(0, 0).red;
  };
  const auto edited = std::filesystem::last_write_time(a) + std::chrono::seconds(1);
  struct Step {
    std::filesystem::path path;
    std::optional<std::uint8_t> rewrite;  // its new grey, one second later (x.png keeps its size)
    int red;
    int decodes;
    double scale = 1.0;
  };
  const Step steps[] = {{a, {}, 10, 1},
                        {a, {}, 10, 1},
                        {a, 20, 20, 2},
                        {b, {}, 30, 3},
                        {a, {}, 20, 4},
                        {dir_ / "a" / "missing.png", {}, -1, 5},
                        {dir_ / "a" / "missing.png", {}, -1, 6},
                        {a, {}, 20, 8, 2.0},  // also a try of a/x@2x.png
                        {a, {}, 20, 8, 2.0},
                        {y, {}, 40, 10, 2.0},  // 4 + 4 pixels: beyond what may be kept
                        {y, {}, 40, 12, 2.0},
                        {damaged, {}, -1, 13, 2.0},
                        {damaged, {}, -1, 13, 2.0},  // unchanged: not read again
                        {damaged, 50, 50, 15, 2.0}};
  for (const Step& step : steps) {
    if (step.rewrite) {
      test::WritePng(step.path, test::RgbPng(1, 1, {*step.rewrite, *step.rewrite, *step.rewrite}));
      std::filesystem::last_write_time(step.path, edited);
    }
    EXPECT_EQ(redOf(step.path, step.scale), step.red) << step.path;
    EXPECT_EQ(counting.decodes, step.decodes) << step.path;
  }
  EXPECT_EQ(images.size(), 1u);
}

// An image that would hide all under it in an area (no alpha channel, reaching over it all) is
// taken out of the kept images, as a window's canvas; any other stays kept, nothing taken.
TEST_F(DrawPngTest, AnImageHidingAnAreaIsTakenOutOfTheKeptImages) {
  struct Take {
    const char* what;
    PngContent image;
    bool taken;
  };
  // Green squares; alpha 0 where they have an alpha channel.
  const auto green = [](std::uint32_t side, bool alpha) {
    const std::size_t channels = alpha ? 4 : 3;
    std::vector<std::uint8_t> data(side * side * channels, 0);
    for (std::size_t i = 1; i < data.size(); i += channels) {
      data[i] = 255;
    }
    return alpha ? test::RgbaPng(side, side, data) : test::RgbPng(side, side, data);
  };
  const Take takes[] = {
      {"opaque over the area", green(4, false), true},
      {"transparent", green(4, true), false},
      {"smaller than the area", green(2, false), false},
  };
  for (const Take& take : takes) {
    SCOPED_TRACE(take.what);
    const auto skin = dir_ / take.what;
    std::filesystem::create_directories(skin);
    test::WritePng(skin / "art.png", take.image);
    CountingDecoder counting(decoder_);
    test::DrawLog log;
    test::FakeTextPainter text(log);
    const std::string folder = skin.string();
    const Rgb colour;
    const SkinPainter painter(folder, colour, counting, text, nullptr);
    const std::optional<Canvas> art = painter.TakeIfHiding("/art.png", {0, 0, 4, 4}, 1.0);
    ASSERT_EQ(art.has_value(), take.taken);
    if (art) {
      EXPECT_EQ(art->At(3, 3), (Pixel{0, 255, 0, 255}));
    }
    EXPECT_EQ(painter.KeptImages(), take.taken ? 0u : 1u);
  }
}

// A 2 x 2 image, left column red and right column blue, drawn at skin position (1, 1) into a
// canvas at `scale`, beside a green double-size image of the given size (none: 0 x 0).
TEST_F(DrawPngTest, AScaledCanvasGetsTheDoubleSizeImageOrTheImageResizedSmoothly) {
  struct ScaledDraw {
    const char* what;
    double scale;
    std::uint32_t twiceWidth, twiceHeight;
    Point device;  // a device pixel of the drawn image: green from the double size, else red
  };
  const ScaledDraw draws[] = {
      {"double size at 200 %", 2.0, 4, 4, {2, 2}},
      {"double size, far corner", 2.0, 4, 4, {5, 5}},
      {"reduced from it at 150 %, to the edge", 1.5, 4, 4, {4, 4}},
      {"none: the edge pixel enlarged", 2.0, 0, 0, {2, 2}},
      {"another size is left aside", 2.0, 4, 3, {2, 2}},
  };
  for (const ScaledDraw& draw : draws) {
    SCOPED_TRACE(draw.what);
    const auto skin = dir_ / draw.what;
    std::filesystem::create_directories(skin);
    test::WritePng(skin / "face.png", test::RgbPng(2, 2,
                                                   {255, 0, 0, 0, 0, 255,  //
                                                    255, 0, 0, 0, 0, 255}));
    if (draw.twiceWidth > 0) {
      std::vector<std::uint8_t> green;
      for (std::uint32_t i = 0; i < draw.twiceWidth * draw.twiceHeight; ++i) {
        green.insert(green.end(), {0, 255, 0});
      }
      test::WritePng(skin / "face@2x.png", test::RgbPng(draw.twiceWidth, draw.twiceHeight, green));
    }
    test::DrawLog log;
    test::FakeTextPainter text(log);
    const std::string folder = skin.string();
    const Rgb colour;
    const SkinPainter painter(folder, colour, decoder_, text, nullptr);
    Canvas canvas = Filled(12, 12, kBlack);
    canvas.SetScale(draw.scale);
    ASSERT_TRUE(painter.DrawImage(&canvas, "/face.png", {1, 1}));
    const bool twice = draw.twiceWidth == 4 && draw.twiceHeight == 4;
    EXPECT_EQ(canvas.At(draw.device.x, draw.device.y),
              twice ? (Pixel{0, 255, 0, 255}) : (Pixel{0, 0, 255, 255}));
    EXPECT_EQ(canvas.At(1, 1), kBlack);
    if (!twice) {
      // Smooth, not repeated pixels: between the columns both colours mix.
      EXPECT_GT(canvas.At(3, 2).red, 0);
      EXPECT_GT(canvas.At(3, 2).blue, 0);
    }
  }
}

}  // namespace
}  // namespace q8
