#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace q8::test {

// Writes PNG files for tests without a library: stored (uncompressed) deflate blocks, real CRCs
// and Adler checksums, so that any decoder must accept them.
struct PngContent {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint8_t colourType = 6;  // 2 RGB, 6 RGBA, 3 palette
  std::uint8_t bitDepth = 8;
  // One byte sequence per row, without the filter byte.
  std::vector<std::uint8_t> data;
  std::vector<std::uint8_t> palette;       // PLTE, RGB triples
  std::vector<std::uint8_t> transparency;  // tRNS
};

// Straight RGBA (colour type 6) or RGB (colour type 2) pixels, 8 bits per channel, row after row.
PngContent RgbaPng(std::uint32_t width, std::uint32_t height, std::vector<std::uint8_t> data);
PngContent RgbPng(std::uint32_t width, std::uint32_t height, std::vector<std::uint8_t> data);

std::vector<std::uint8_t> EncodePng(const PngContent& png);
void WritePng(const std::filesystem::path& path, const PngContent& png);

// A PNG whose header claims the given size and whose image data is one tiny stored block.
std::vector<std::uint8_t> PngClaimingSize(std::uint32_t width, std::uint32_t height);

}  // namespace q8::test
