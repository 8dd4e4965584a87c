#include "ui/png_file.h"

#include "settings/file_bytes.h"

#include <array>
#include <fstream>
#include <string_view>

namespace q8 {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kChunkOverhead = 12;  // length, type and CRC
constexpr std::size_t kHeaderLength = 13;

std::uint32_t ReadBigEndian(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
         static_cast<std::uint32_t>(bytes[2]) << 8 | static_cast<std::uint32_t>(bytes[3]);
}

bool IsType(std::span<const std::uint8_t> chunk, std::string_view type) {
  return std::equal(type.begin(), type.end(), chunk.begin() + 4);
}

bool BitDepthFits(std::uint8_t colourType, std::uint8_t depth) {
  switch (colourType) {
    case 0:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6:
      return depth == 8 || depth == 16;
    default:
      return false;
  }
}

bool SideFits(std::uint32_t side) {
  return side >= 1 && side <= static_cast<std::uint32_t>(kMaxImageSide);
}

}  // namespace

std::optional<PngFacts> InspectPng(std::span<const std::uint8_t> file) {
  if (file.size() < kSignature.size() + kChunkOverhead + kHeaderLength ||
      !std::equal(kSignature.begin(), kSignature.end(), file.begin())) {
    return std::nullopt;
  }
  auto header = file.subspan(kSignature.size());
  if (ReadBigEndian(header) != kHeaderLength || !IsType(header, "IHDR")) {
    return std::nullopt;
  }
  const auto fields = header.subspan(8, kHeaderLength);
  const std::uint32_t width = ReadBigEndian(fields);
  const std::uint32_t height = ReadBigEndian(fields.subspan(4));
  const std::uint8_t depth = fields[8];
  const std::uint8_t colourType = fields[9];
  if (!SideFits(width) || !SideFits(height) || !BitDepthFits(colourType, depth) ||
      fields[10] != 0 || fields[11] != 0 || fields[12] > 1) {
    return std::nullopt;
  }
  PngFacts facts{static_cast<int>(width), static_cast<int>(height),
                 colourType == 4 || colourType == 6};
  // Walk the chunks before the image data: a tRNS chunk gives the image an alpha channel.
  auto rest = header.subspan(kChunkOverhead + kHeaderLength);
  while (true) {
    if (rest.size() < kChunkOverhead) {
      return std::nullopt;
    }
    const std::uint32_t length = ReadBigEndian(rest);
    if (length > rest.size() - kChunkOverhead) {
      return std::nullopt;
    }
    if (IsType(rest, "IDAT")) {
      return facts;
    }
    if (IsType(rest, "IEND")) {
      return std::nullopt;  // an image without data
    }
    if (IsType(rest, "tRNS")) {
      facts.hasAlpha = true;
    }
    rest = rest.subspan(kChunkOverhead + length);
  }
}

std::optional<std::vector<std::uint8_t>> ReadImageFile(const std::filesystem::path& path) {
  return ReadFileBytes(path, kMaxPngFileBytes);
}

}  // namespace q8
