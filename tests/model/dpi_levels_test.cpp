#include "model/dpi_levels.h"

#include <gtest/gtest.h>

namespace q8 {
namespace {

TEST(DpiLevelsTest, EachKnownSensorHasItsLevelsAndOthersNone) {
  EXPECT_EQ(DpiLevelTable(0).size(), 12u);
  for (const std::uint8_t variant : {1, 2, 3}) {
    EXPECT_EQ(DpiLevelTable(variant).size(), 8u) << "variant " << unsigned{variant};
  }
  for (const std::uint8_t variant : {4, 5, 0x80, 0xFF}) {
    EXPECT_TRUE(DpiLevelTable(variant).empty()) << "variant " << unsigned{variant};
    EXPECT_EQ(DpiLevelLabel(variant, 0), "");
    EXPECT_EQ(DpiLevelCode(variant, 0), 0);
  }
}

TEST(DpiLevelsTest, LevelsShowTheirValueAndSendTheSensorsCode) {
  EXPECT_EQ(DpiLevelLabel(0, 0), "250");
  EXPECT_EQ(DpiLevelCode(0, 0), 0x01);
  EXPECT_EQ(DpiLevelLabel(0, 8), "2500");
  EXPECT_EQ(DpiLevelCode(0, 8), 0x25);
  EXPECT_EQ(DpiLevelLabel(0, 11), "4000");
  EXPECT_EQ(DpiLevelCode(0, 11), 0x28);
  EXPECT_EQ(DpiLevelLabel(1, 7), "3200");
  EXPECT_EQ(DpiLevelCode(1, 7), 0x25);
  EXPECT_EQ(DpiLevelLabel(2, 4), "1250");
  EXPECT_EQ(DpiLevelCode(2, 4), 0x0A);
  EXPECT_EQ(DpiLevelLabel(3, 0), "400");
  EXPECT_EQ(DpiLevelCode(3, 7), 0x08);
}

// A level past the end of the sensor's table (a record written for another sensor) shows nothing
// and sends 0, like an unknown sensor, instead of reading past the table.
TEST(DpiLevelsTest, LevelsPastTheTableAreNoLevel) {
  for (const auto& [variant, count] : {std::pair{0, 12}, {1, 8}, {2, 8}, {3, 8}}) {
    const auto v = static_cast<std::uint8_t>(variant);
    for (const std::size_t level : {std::size_t(count), std::size_t(count) + 1, std::size_t{255}}) {
      EXPECT_EQ(DpiLevelLabel(v, level), "") << "variant " << variant << " level " << level;
      EXPECT_EQ(DpiLevelCode(v, level), 0) << "variant " << variant << " level " << level;
    }
  }
}

TEST(ReportRateTest, StoredCodesShowTheirRateAndAnythingElseShows1000) {
  EXPECT_EQ(ReportRateLabel(8), "125");
  EXPECT_EQ(ReportRateLabel(4), "250");
  EXPECT_EQ(ReportRateLabel(2), "500");
  EXPECT_EQ(ReportRateLabel(1), "1000");
  for (const std::uint8_t code : {0, 3, 5, 16, 0xFF}) {
    EXPECT_EQ(ReportRateLabel(code), "1000") << "code " << unsigned{code};
    EXPECT_EQ(ReportRateChoiceIndex(code), 3u);
  }
  EXPECT_EQ(ReportRateChoiceIndex(8), 0u);
  EXPECT_EQ(ReportRateChoiceIndex(2), 2u);
}

}  // namespace
}  // namespace q8
