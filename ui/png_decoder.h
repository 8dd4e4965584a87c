#pragma once

#include <cstdint>

#include "ui/image_decoder.h"

namespace q8 {

// The system's PNG decoder: GDI+ on Windows (png_decoder_win.cpp), libpng elsewhere
// (png_decoder_posix.cpp). Every file is checked by InspectPng before it reaches the library, so
// a damaged or oversized skin image is refused without a large allocation. The decoding library
// stays initialised while the object lives; the main window keeps one for its whole life.
class PngDecoder final : public ImageDecoder {
 public:
  PngDecoder();
  ~PngDecoder() override;
  PngDecoder(const PngDecoder&) = delete;
  PngDecoder& operator=(const PngDecoder&) = delete;

  std::optional<DecodedImage> Decode(const std::filesystem::path& path) override;

 private:
  // The library's start-up token where it needs one (GDI+); 0 when it failed to start. libpng
  // needs none, so the POSIX decoder leaves it unused.
  [[maybe_unused]] std::uintptr_t session_ = 0;
};

}  // namespace q8
