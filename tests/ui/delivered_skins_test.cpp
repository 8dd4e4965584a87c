#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/temp_dir.h"
#include "ui/device_scale.h"
#include "ui/png_decoder.h"
#include "ui/skin_images.h"

namespace q8 {
namespace {

const std::filesystem::path kSkinsFolder = Q8_SKINS_DIR;

std::set<std::string> SkinNames() {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(kSkinsFolder)) {
    if (entry.is_directory()) {
      names.insert(entry.path().filename().string());
    }
  }
  return names;
}

TEST(DeliveredSkinsTest, ThereIsADefaultSkinAndAChoice) {
  const auto names = SkinNames();
  EXPECT_EQ(names.count("Default"), 1u);
  EXPECT_GE(names.size(), 2u);
}

// Every image the windows draw is present in every skin, decodes, and has exactly the size of the
// rectangle that draws it; backgrounds hold every control of their window.
TEST(DeliveredSkinsTest, EveryImageIsPresentAtItsSize) {
  PngDecoder decoder;
  for (const auto& name : SkinNames()) {
    const auto folder = kSkinsFolder / name;
    for (const auto& image : kSkinImageSizes) {
      const auto path = folder / std::string(image.name.substr(1));
      SCOPED_TRACE(path.string());
      const auto decoded = decoder.Decode(path);
      ASSERT_TRUE(decoded);
      if (image.exact) {
        EXPECT_EQ(decoded->pixels.Width(), image.width);
        EXPECT_EQ(decoded->pixels.Height(), image.height);
        EXPECT_TRUE(decoded->hasAlpha);
      } else {
        EXPECT_GE(decoded->pixels.Width(), image.width);
        EXPECT_GE(decoded->pixels.Height(), image.height);
      }
      // A double-size image of any other size would be left aside at 200 % for a blurred one.
      const auto twice = decoder.Decode(DoubleSizePath(path));
      ASSERT_TRUE(twice);
      EXPECT_EQ(twice->pixels.Width(), 2 * decoded->pixels.Width());
      EXPECT_EQ(twice->pixels.Height(), 2 * decoded->pixels.Height());
    }
    // The page art is drawn at (0, 0) over the background and must cover it exactly.
    const auto main = decoder.Decode(folder / "main.png");
    const auto page = decoder.Decode(folder / "BasicSet2.png");
    ASSERT_TRUE(main && page);
    EXPECT_EQ(main->pixels.Width(), page->pixels.Width());
    EXPECT_EQ(main->pixels.Height(), page->pixels.Height());
  }
}

TEST(DeliveredSkinsTest, TheApplicationIconIsAnIconFile) {
  const auto bytes = test::ReadBytes(kSkinsFolder / "TarnixMouseApp.ico");
  ASSERT_GE(bytes.size(), 22u);
  EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4)),
            (std::vector<std::uint8_t>{0, 0, 1, 0}));
  EXPECT_GE(bytes[4], 1);
}

}  // namespace
}  // namespace q8
