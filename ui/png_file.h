#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace q8 {

// A skin is a folder anyone can drop in, so its files are untrusted. No side may exceed this
// bound: a 4096 x 4096 picture already needs 64 MiB as 32-bit pixels, far beyond any window.
inline constexpr int kMaxImageSide = 4096;
// A PNG of the largest allowed picture, stored without any compression, stays below this size.
inline constexpr std::size_t kMaxPngFileBytes = 72u * 1024u * 1024u;

// What the header of a PNG file promises.
struct PngFacts {
  int width = 0;
  int height = 0;
  // The file carries an alpha channel (colour type with alpha, or a tRNS chunk).
  bool hasAlpha = false;
};

// Checks a PNG file's signature and header before anything is decoded: the IHDR chunk comes first
// and is well formed, both sides lie between 1 and kMaxImageSide, the bit depth fits the colour
// type, and the chunks up to the first IDAT stay inside the file. Returns nothing otherwise.
std::optional<PngFacts> InspectPng(std::span<const std::uint8_t> file);

// Reads a whole file of at most kMaxPngFileBytes. Returns nothing when it cannot be read or is
// larger.
std::optional<std::vector<std::uint8_t>> ReadImageFile(const std::filesystem::path& path);

}  // namespace q8
