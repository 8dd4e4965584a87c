#include "ui/png_decoder.h"

#include <gtest/gtest.h>

#include <random>

#include "png_writer.h"
#include "support/temp_dir.h"
#include "ui/png_file.h"

namespace q8 {
namespace {

test::PngContent Gradient(std::uint32_t width, std::uint32_t height) {
  test::PngContent png = test::RgbaPng(width, height, {});
  for (std::uint32_t i = 0; i < width * height * 4; ++i) {
    png.data.push_back(static_cast<std::uint8_t>(i * 7));
  }
  return png;
}

TEST(InspectPngTest, ReadsTheHeaderAndRefusesWhatNoSkinNeeds) {
  const auto facts = InspectPng(test::EncodePng(Gradient(3, 2)));
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->width, 3);
  EXPECT_EQ(facts->height, 2);
  EXPECT_TRUE(facts->hasAlpha);

  EXPECT_TRUE(InspectPng(test::PngClaimingSize(4096, 4096)));
  EXPECT_TRUE(InspectPng(test::PngClaimingSize(1, 4096)));
  EXPECT_FALSE(InspectPng(test::PngClaimingSize(4097, 1)));
  EXPECT_FALSE(InspectPng(test::PngClaimingSize(1, 4097)));
  EXPECT_FALSE(InspectPng(test::PngClaimingSize(0x7FFFFFFF, 0x7FFFFFFF)));
  EXPECT_FALSE(InspectPng(test::PngClaimingSize(0xFFFFFFFF, 1)));
  EXPECT_FALSE(InspectPng(test::PngClaimingSize(0, 5)));

  auto fourBitRgb = test::RgbPng(1, 1, {0, 0, 0});
  fourBitRgb.bitDepth = 4;
  const auto badDepth = test::EncodePng(fourBitRgb);
  EXPECT_FALSE(InspectPng(badDepth));
  EXPECT_FALSE(InspectPng({}));
}

TEST(InspectPngTest, AChunkRunningPastTheFileIsRefused) {
  auto png = test::EncodePng(Gradient(2, 2));
  // The chunk after IHDR is IDAT at offset 33; claim it is longer than the whole file.
  png[33] = 0x7F;
  EXPECT_FALSE(InspectPng(png));
}

class PngDecoderTest : public ::testing::Test {
 protected:
  std::optional<DecodedImage> Decode(const std::vector<std::uint8_t>& bytes) {
    const auto path = dir_ / "image.png";
    test::WriteBytes(path, bytes);
    return decoder_.Decode(path);
  }

  test::TempDir dir_;
  PngDecoder decoder_;
};

TEST_F(PngDecoderTest, DecodesStraightColourInBitmapByteOrder) {
  const auto image = Decode(test::EncodePng(Gradient(3, 2)));
  ASSERT_TRUE(image);
  EXPECT_TRUE(image->hasAlpha);
  ASSERT_EQ(image->pixels.Width(), 3);
  ASSERT_EQ(image->pixels.Height(), 2);
  // Byte i of the file's pixel data is i * 7; pixel (1, 1) starts at byte 16.
  EXPECT_EQ(image->pixels.At(1, 1),
            (Pixel{static_cast<std::uint8_t>(18 * 7), static_cast<std::uint8_t>(17 * 7),
                   static_cast<std::uint8_t>(16 * 7), static_cast<std::uint8_t>(19 * 7)}));
}

TEST_F(PngDecoderTest, ImagesBeyondTheBoundAreRefusedButTheBoundItselfDecodes) {
  const auto edge = test::RgbPng(4096, 1, std::vector<std::uint8_t>(4096 * 3, 0x40));
  const auto image = Decode(test::EncodePng(edge));
  ASSERT_TRUE(image);
  EXPECT_FALSE(image->hasAlpha);
  EXPECT_EQ(image->pixels.At(4095, 0), (Pixel{0x40, 0x40, 0x40, 255}));

  const auto wide = test::RgbPng(4097, 1, std::vector<std::uint8_t>(4097 * 3, 0x40));
  EXPECT_FALSE(Decode(test::EncodePng(wide)));
  // The header promises far more data than the file holds.
  EXPECT_FALSE(Decode(test::PngClaimingSize(4096, 4096)));
  EXPECT_FALSE(Decode(test::PngClaimingSize(60000, 60000)));
}

// A skin with 16-bit images looks the same on every system: each sample keeps the value it has
// on the 8-bit scale (0x8080 is 128), with no gamma or colour conversion of a decoder's own.
TEST_F(PngDecoderTest, SixteenBitSamplesGiveTheSameEightBitValuesEverywhere) {
  test::PngContent grey;
  grey.width = 3;
  grey.height = 1;
  grey.colourType = 0;
  grey.bitDepth = 16;
  grey.data = {0x80, 0x80, 0x40, 0x40, 0xC0, 0xC0};
  const auto greyImage = Decode(test::EncodePng(grey));
  ASSERT_TRUE(greyImage);
  EXPECT_FALSE(greyImage->hasAlpha);
  EXPECT_EQ(greyImage->pixels.At(0, 0), (Pixel{128, 128, 128, 255}));
  EXPECT_EQ(greyImage->pixels.At(1, 0), (Pixel{64, 64, 64, 255}));
  EXPECT_EQ(greyImage->pixels.At(2, 0), (Pixel{192, 192, 192, 255}));

  // Straight colour with an opaque and a half-transparent pixel.
  auto rgba = test::RgbaPng(2, 1,
                            {0xC0, 0xC0, 0x20, 0x20, 0x80, 0x80, 0xFF, 0xFF,  //
                             0x40, 0x40, 0x80, 0x80, 0xA0, 0xA0, 0x80, 0x80});
  rgba.bitDepth = 16;
  const auto rgbaImage = Decode(test::EncodePng(rgba));
  ASSERT_TRUE(rgbaImage);
  EXPECT_TRUE(rgbaImage->hasAlpha);
  EXPECT_EQ(rgbaImage->pixels.At(0, 0), (Pixel{0x80, 0x20, 0xC0, 0xFF}));
  EXPECT_EQ(rgbaImage->pixels.At(1, 0), (Pixel{0xA0, 0x80, 0x40, 0x80}));
}

// Every truncation and hundreds of corrupted copies of a valid file: the decoder must refuse or
// return an image within the bound, never crash or read out of bounds (the native build runs
// under AddressSanitizer).
TEST_F(PngDecoderTest, SurvivesTruncatedAndCorruptedFiles) {
  const auto valid = test::EncodePng(Gradient(5, 4));
  ASSERT_TRUE(Decode(valid));
  const std::size_t endOfImageData = valid.size() - 12;  // the IEND chunk follows
  for (std::size_t length = 0; length < endOfImageData; ++length) {
    const auto image = Decode({valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length)});
    EXPECT_FALSE(image) << "truncated to " << length;
  }
  std::mt19937 random(42);
  for (int round = 0; round < 300; ++round) {
    auto bytes = valid;
    const int flips = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < flips; ++i) {
      bytes[random() % bytes.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
    }
    if (const auto image = Decode(bytes)) {
      EXPECT_LE(image->pixels.Width(), kMaxImageSide);
      EXPECT_LE(image->pixels.Height(), kMaxImageSide);
    }
  }
}

}  // namespace
}  // namespace q8
