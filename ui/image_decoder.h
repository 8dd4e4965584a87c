#pragma once

#include <filesystem>
#include <optional>

#include "ui/canvas.h"

namespace q8 {

// A decoded image: its pixels as straight (not premultiplied) colour, and whether the file had
// an alpha channel. An image without one has alpha 255 in every pixel and is copied, not blended.
struct DecodedImage {
  Canvas pixels;
  bool hasAlpha = false;
};

// Decodes one image file. Returns nothing when the file is missing, damaged, or too large (see
// InspectPng); it never throws for a bad file. Windows decodes with GDI+, Linux with libpng;
// tests may use either, or a fake.
class ImageDecoder {
 public:
  virtual ~ImageDecoder() = default;
  virtual std::optional<DecodedImage> Decode(const std::filesystem::path& path) = 0;
};

}  // namespace q8
