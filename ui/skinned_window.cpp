#include "ui/skinned_window.h"

#include "ui/device_scale.h"

namespace q8 {

bool SkinnedWindow::MakeCanvas(ImageDecoder& decoder, const std::filesystem::path& background) {
  auto image = decoder.Decode(background);
  if (!image) {
    canvas_.reset();
    return false;
  }
  // The window has the image's own size; its canvas holds the device's pixels of it.
  host_.ResizeClient(image->pixels.Width(), image->pixels.Height());
  const double scale = host_.PixelRatio();
  canvas_ = scale == kUnscaled
                ? std::move(image->pixels)
                : AtScale(decoder, background, std::move(*image), scale, false).pixels;
  return true;
}

}  // namespace q8
