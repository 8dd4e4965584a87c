#include "model/key_names.h"

#include <gtest/gtest.h>

namespace q8 {
namespace {

TEST(KeyNamesTest, NamesGiveTheirKeyCode) {
  EXPECT_EQ(KeyNameToUsage("A"), 0x04);
  EXPECT_EQ(KeyNameToUsage("Z"), 0x1D);
  EXPECT_EQ(KeyNameToUsage("1"), 0x1E);
  EXPECT_EQ(KeyNameToUsage("0"), 0x27);
  EXPECT_EQ(KeyNameToUsage("\\"), 0x31);
  EXPECT_EQ(KeyNameToUsage("Eurpo(Note 2)"), 0x32);
  EXPECT_EQ(KeyNameToUsage("`"), 0x35);
  EXPECT_EQ(KeyNameToUsage("F12"), 0x45);
  EXPECT_EQ(KeyNameToUsage("Num 5"), 0x5D);
  EXPECT_EQ(KeyNameToUsage("Num Del"), 0x63);
  EXPECT_EQ(KeyNameToUsage("Delete"), 0x4C);
  EXPECT_EQ(KeyNameToUsage("Ctrl"), 0xE0);
  EXPECT_EQ(KeyNameToUsage("Right Windows"), 0xE7);
  EXPECT_EQ(KeyNameToUsage("M-Button"), 0xF2);
}

TEST(KeyNamesTest, OnlyTheWholeExactNameMatches) {
  // The last text is "A" followed by a NUL, as a fixed-size name buffer could deliver it.
  const std::string_view names[] = {
      "a",    "ENTER", "enter",  "Space ",  " Space",    "Num",   "Num 5 ",
      "F1 2", "",      "L-CTRL", "R-SHIFT", "B4-Button", "Eurpo", std::string_view("A\0", 2)};
  for (const std::string_view name : names) {
    EXPECT_EQ(KeyNameToUsage(name), 0) << '"' << name << '"';
  }
}

}  // namespace
}  // namespace q8
