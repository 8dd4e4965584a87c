#include "ui/skinned_window.h"

#include "ui/device_scale.h"

namespace q8 {

bool SkinnedWindow::MakeCanvas(ImageDecoder& decoder, const std::filesystem::path& background) {
  auto image = decoder.Decode(background);
  const int width = image ? image->pixels.Width() : 0;
  const int height = image ? image->pixels.Height() : 0;
  const double scale = host_.PixelRatio();
  if (image && scale != kUnscaled) {
    image = AtScale(decoder, background, std::move(*image), scale, false);
  }
  if (!image) {
    canvas_.reset();
    return false;
  }
  // The window has the image's own size; its canvas holds the device's pixels of it.
  host_.ResizeClient(width, height);
  canvas_ = std::move(image->pixels);
  return true;
}

}  // namespace q8
