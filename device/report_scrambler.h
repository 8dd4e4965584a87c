#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace q8 {

// The reversible scrambling of every report body: a 7-byte block is read as one 56-bit number
// (first byte most significant), rotated, XORed with a fixed key and rotated back the other way.
class ReportScrambler {
 public:
  static constexpr std::size_t kBlockSize = 7;
  static constexpr std::array<std::uint8_t, kBlockSize> kKey{'k', '8', '0', '4', '2', '7', '1'};

  using Block = std::span<std::uint8_t, kBlockSize>;

  // Rotate left by 2, XOR with the key, rotate right by 3.
  static void Scramble(Block block);
  // Rotate left by 3, XOR with the key, rotate right by 2: the inverse of Scramble.
  static void Unscramble(Block block);

  // A 64-byte page payload is eight groups of 8 bytes; in each group the first byte travels
  // plain and the other 7 form one block.
  static void ScramblePayload(std::span<std::uint8_t, 64> payload);
  static void UnscramblePayload(std::span<std::uint8_t, 64> payload);
};

}  // namespace q8
