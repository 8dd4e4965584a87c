#include "device/report_scrambler.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <random>

namespace q8 {
namespace {

using Block = std::array<std::uint8_t, 7>;

Block Scrambled(Block block) {
  ReportScrambler::Scramble(block);
  return block;
}

Block Unscrambled(Block block) {
  ReportScrambler::Unscramble(block);
  return block;
}

// Worked by hand: rotate left by 2, XOR "k804271", rotate right by 3. The zero block shows the key
// rotated right by 3 (0x6B >> 3 | (0x31 & 7) << 5 = 0x2D, ...).
TEST(ReportScramblerTest, ScramblesBlocksWorkedByHand) {
  EXPECT_EQ(Scrambled({0, 0, 0, 0, 0, 0, 0}), (Block{0x2D, 0x67, 0x06, 0x06, 0x86, 0x46, 0xE6}));
  EXPECT_EQ(Scrambled({0xAA, 0xCC, 0xEE, 0xDD, 0x80, 0, 0}),
            (Block{0x78, 0x01, 0x71, 0x68, 0x46, 0x46, 0xE6}));
  EXPECT_EQ(Scrambled({0xAA, 0xCC, 0xEE, 0xDD, 0x00, 0x01, 0x02}),
            (Block{0x78, 0x01, 0x71, 0x68, 0x06, 0x46, 0x67}));
  EXPECT_EQ(Scrambled({1, 2, 3, 4, 5, 6, 7}), (Block{0xAD, 0xE6, 0x07, 0x84, 0x84, 0xC5, 0xE5}));
  EXPECT_EQ(Scrambled({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
            (Block{0xD2, 0x98, 0xF9, 0xF9, 0x79, 0xB9, 0x19}));
}

TEST(ReportScramblerTest, UnscrambleUndoesScrambleButScramblingTwiceDoesNot) {
  std::mt19937 random(7);
  for (int i = 0; i < 1000; ++i) {
    Block block;
    for (auto& byte : block) {
      byte = static_cast<std::uint8_t>(random());
    }
    ASSERT_EQ(Unscrambled(Scrambled(block)), block);
    ASSERT_EQ(Scrambled(Unscrambled(block)), block);
    ASSERT_NE(Scrambled(Scrambled(block)), block);
  }
  EXPECT_EQ(Unscrambled({0x2D, 0x67, 0x06, 0x06, 0x86, 0x46, 0xE6}), (Block{}));
}

TEST(ReportScramblerTest, PayloadKeepsTheFirstByteOfEveryGroupPlain) {
  std::array<std::uint8_t, 64> payload{};
  std::iota(payload.begin(), payload.end(), std::uint8_t{0});
  const auto original = payload;
  ReportScrambler::ScramblePayload(payload);
  for (std::size_t group = 0; group < 8; ++group) {
    EXPECT_EQ(payload[group * 8], original[group * 8]) << "group " << group;
    Block block, expected;
    std::copy_n(payload.begin() + group * 8 + 1, 7, block.begin());
    std::copy_n(original.begin() + group * 8 + 1, 7, expected.begin());
    EXPECT_EQ(block, Scrambled(expected)) << "group " << group;
  }
  ReportScrambler::UnscramblePayload(payload);
  EXPECT_EQ(payload, original);
}

}  // namespace
}  // namespace q8
