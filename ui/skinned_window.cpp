#include "ui/skinned_window.h"

#include "ui/device_scale.h"

namespace q8 {

bool SkinnedWindow::MakeCanvas(ImageDecoder& decoder, const std::filesystem::path& background) {
  released_ = false;
  auto image = decoder.Decode(background);
  const int width = image ? image->pixels.Width() : 0;
  const int height = image ? image->pixels.Height() : 0;
  const double scale = host_.PixelRatio();
  if (image && scale != kUnscaled) {
    image = AtScale(decoder, background, std::move(*image), scale, false);
  }
  if (!image) {
    canvas_.reset();
    host_.KeepCanvas(nullptr);
    return false;
  }
  // The window has the image's own size; its canvas holds the device's pixels of it.
  host_.ResizeClient(width, height);
  width_ = width;
  height_ = height;
  canvas_ = std::move(image->pixels);
  host_.KeepCanvas(&*canvas_);
  return true;
}

bool SkinnedWindow::TakeCanvas(Canvas&& pixels) {
  const double scale = host_.PixelRatio();
  if (width_ == 0 || pixels.Width() != ToDevice(width_, scale) ||
      pixels.Height() != ToDevice(height_, scale)) {
    return false;
  }
  released_ = false;
  // A window moved to a display of another scale while hidden may have taken another size there.
  if (host_.ClientRect() != Area()) {
    host_.ResizeClient(width_, height_);
  }
  canvas_ = std::move(pixels);
  canvas_->SetScale(scale);
  host_.KeepCanvas(&*canvas_);
  return true;
}

}  // namespace q8
