#include "png_writer.h"

#include <algorithm>
#include <array>

#include "support/temp_dir.h"

namespace q8::test {
namespace {

std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes, std::size_t from) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = from; i < bytes.size(); ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
  }
  return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

void PutChunk(std::vector<std::uint8_t>& out, std::string_view type,
              const std::vector<std::uint8_t>& body) {
  PutBigEndian(out, static_cast<std::uint32_t>(body.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), body.begin(), body.end());
  std::vector<std::uint8_t> crcInput(out.begin() + static_cast<std::ptrdiff_t>(start), out.end());
  PutBigEndian(out, Crc32(crcInput, 0));
}

// A zlib stream of stored deflate blocks.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
  std::vector<std::uint8_t> out = {0x78, 0x01};
  std::size_t pos = 0;
  do {
    const std::size_t n = std::min<std::size_t>(raw.size() - pos, 65535);
    const bool last = pos + n == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(n));
    out.push_back(static_cast<std::uint8_t>(n >> 8));
    out.push_back(static_cast<std::uint8_t>(~n));
    out.push_back(static_cast<std::uint8_t>(~n >> 8));
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
               raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
    pos += n;
  } while (pos < raw.size());
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian(out, b << 16 | a);
  return out;
}

std::vector<std::uint8_t> Header(std::uint32_t width, std::uint32_t height, std::uint8_t depth,
                                 std::uint8_t colourType) {
  std::vector<std::uint8_t> ihdr;
  PutBigEndian(ihdr, width);
  PutBigEndian(ihdr, height);
  ihdr.insert(ihdr.end(), {depth, colourType, 0, 0, 0});
  return ihdr;
}

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

}  // namespace

PngContent RgbaPng(std::uint32_t width, std::uint32_t height, std::vector<std::uint8_t> data) {
  PngContent png;
  png.width = width;
  png.height = height;
  png.colourType = 6;
  png.data = std::move(data);
  return png;
}

PngContent RgbPng(std::uint32_t width, std::uint32_t height, std::vector<std::uint8_t> data) {
  PngContent png = RgbaPng(width, height, std::move(data));
  png.colourType = 2;
  return png;
}

std::vector<std::uint8_t> EncodePng(const PngContent& png) {
  std::vector<std::uint8_t> out(kSignature.begin(), kSignature.end());
  PutChunk(out, "IHDR", Header(png.width, png.height, png.bitDepth, png.colourType));
  if (!png.palette.empty()) {
    PutChunk(out, "PLTE", png.palette);
  }
  if (!png.transparency.empty()) {
    PutChunk(out, "tRNS", png.transparency);
  }
  const std::size_t rowBytes = png.height == 0 ? 0 : png.data.size() / png.height;
  std::vector<std::uint8_t> raw;
  for (std::uint32_t row = 0; row < png.height; ++row) {
    raw.push_back(0);  // filter: none
    const auto begin = png.data.begin() + static_cast<std::ptrdiff_t>(row * rowBytes);
    raw.insert(raw.end(), begin, begin + static_cast<std::ptrdiff_t>(rowBytes));
  }
  PutChunk(out, "IDAT", StoredZlib(raw));
  PutChunk(out, "IEND", {});
  return out;
}

void WritePng(const std::filesystem::path& path, const PngContent& png) {
  WriteBytes(path, EncodePng(png));
}

std::vector<std::uint8_t> PngClaimingSize(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> out(kSignature.begin(), kSignature.end());
  PutChunk(out, "IHDR", Header(width, height, 8, 6));
  PutChunk(out, "IDAT", StoredZlib({0, 1, 2, 3, 4}));
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace q8::test
