#include "ui/skinned_window.h"

namespace q8 {

bool SkinnedWindow::MakeCanvas(ImageDecoder& decoder, const std::filesystem::path& background) {
  auto image = decoder.Decode(background);
  if (!image) {
    canvas_.reset();
    return false;
  }
  host_.ResizeClient(image->pixels.Width(), image->pixels.Height());
  canvas_ = std::move(image->pixels);
  return true;
}

}  // namespace q8
