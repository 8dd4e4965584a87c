#include "ui/skin_painter.h"

#include "ui/device_scale.h"
#include "ui/draw_png.h"
#include "ui/skin_directory.h"

namespace q8 {
namespace {

// Whether `image`, drawn from the window's origin, hides all under it in `device` (the screen's
// pixels): it has no alpha channel and reaches over the whole area.
bool HidesArea(const DecodedImage& image, Rect device) {
  return !image.hasAlpha && device.left >= 0 && device.top >= 0 &&
         image.pixels.Width() >= device.right && image.pixels.Height() >= device.bottom;
}

}  // namespace

bool SkinPainter::DrawImage(Canvas* target, std::string_view imageName, Point at) const {
  if (target == nullptr) {
    return false;
  }
  const double scale = target->Scale();
  const DecodedImage* image = images_.Find(SkinImagePath(skinDirectory_, imageName), scale);
  if (image == nullptr) {
    if (loadFailures_ != nullptr) {
      loadFailures_->ShowMessage(kMsgLoadPngFailed, kApplicationName);
    }
    return false;
  }
  DrawPrepared(*target, *image, ToDevice(at.x, scale), ToDevice(at.y, scale));
  return true;
}

void SkinPainter::DrawGround(Canvas* target, std::span<const std::string_view> ground,
                             Rect area) const {
  if (target == nullptr || ground.empty() || area.Width() <= 0 || area.Height() <= 0) {
    return;
  }
  // The images are as large as the window: only the piece under the area is composed, in a
  // canvas of the area's size, and then copied into place.
  const double scale = target->Scale();
  const Rect device = DeviceRect(area, scale);
  Canvas piece(device.Width(), device.Height());
  for (const std::string_view name : ground) {
    if (const DecodedImage* image = images_.Find(SkinImagePath(skinDirectory_, name), scale)) {
      DrawPrepared(piece, *image, -device.left, -device.top);
    }
  }
  CopyOver(*target, piece, device.left, device.top);
}

std::optional<Canvas> SkinPainter::TakeIfHiding(std::string_view imageName, Rect area,
                                                double scale) const {
  const std::filesystem::path path = SkinImagePath(skinDirectory_, imageName);
  const DecodedImage* image = images_.Find(path, scale);
  if (image == nullptr || !HidesArea(*image, DeviceRect(area, scale))) {
    return std::nullopt;
  }
  return images_.Take(path);
}

void SkinPainter::DrawCaption(Canvas* target, std::string_view text, Rect rect,
                              TextAlign align) const {
  if (target != nullptr) {
    text_.PaintText(*target, text, rect, FontRole::kNormal, textColor_, align);
  }
}

}  // namespace q8
