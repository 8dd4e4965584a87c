#include <png.h>

#include <cstring>

#include "ui/png_decoder.h"
#include "ui/png_file.h"

namespace q8 {
namespace {

// Owns the state of libpng's simplified reading interface.
class PngImage {
 public:
  PngImage() {
    std::memset(&image_, 0, sizeof image_);
    image_.version = PNG_IMAGE_VERSION;
  }
  ~PngImage() { png_image_free(&image_); }
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;

  png_image* get() { return &image_; }

 private:
  png_image image_;
};

}  // namespace

PngDecoder::PngDecoder() = default;
PngDecoder::~PngDecoder() = default;

std::optional<DecodedImage> PngDecoder::Decode(const std::filesystem::path& path) {
  const auto file = ReadImageFile(path);
  if (!file) {
    return std::nullopt;
  }
  const auto facts = InspectPng(*file);
  if (!facts) {
    return std::nullopt;
  }
  PngImage image;
  if (!png_image_begin_read_from_memory(image.get(), file->data(), file->size())) {
    return std::nullopt;
  }
  // 16-bit samples are taken as they are written, like 8-bit ones, and scaled to 8 bits. Without
  // this flag, libpng takes those of a file without gamma information as linear light and turns
  // them into sRGB (grey 0x8080 would become 186), which GDI+ does not: one skin must look the
  // same on every system. (Set after the header is read, which clears the flags.)
  image.get()->flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
  // libpng read the same header; anything else would mean the check above was fooled.
  if (image.get()->width != static_cast<png_uint_32>(facts->width) ||
      image.get()->height != static_cast<png_uint_32>(facts->height)) {
    return std::nullopt;
  }
  // Straight 8-bit BGRA: the byte order of a 32-bit device-independent bitmap. An image without
  // alpha comes out with alpha 255.
  image.get()->format = PNG_FORMAT_BGRA;
  std::vector<Pixel> pixels(static_cast<std::size_t>(facts->width) *
                            static_cast<std::size_t>(facts->height));
  if (!png_image_finish_read(image.get(), nullptr, pixels.data(), 0, nullptr)) {
    return std::nullopt;
  }
  return DecodedImage{Canvas(facts->width, facts->height, std::move(pixels)), facts->hasAlpha};
}

}  // namespace q8
