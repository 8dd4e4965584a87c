#include "ui/skin_controls.h"

#include <string>

#include "ui/skin_images.h"

namespace q8 {
namespace {

Point TopLeft(const Rect& r) {
  return {r.left, r.top};
}

}  // namespace

void SkinButton::Draw(const SkinPainter& painter, Canvas* target, Look look,
                      std::string_view caption) const {
  painter.DrawImage(target,
                    look == Look::kOver ? skin_image::kButtonOver : skin_image::kButtonNormal,
                    TopLeft(region));
  painter.DrawCaption(target, caption, region, TextAlign::kCentre);
}

void SkinImageButton::Draw(const SkinPainter& painter, Canvas* target, Look look) const {
  painter.DrawImage(target, look == Look::kOver ? overImage : normalImage, TopLeft(region));
}

void SkinDropdown::Draw(const SkinPainter& painter, Canvas* target, Look look, int row,
                        std::string_view caption) const {
  painter.DrawImage(target,
                    look == Look::kOver ? skin_image::kDropdownOver : skin_image::kDropdownNormal,
                    TopLeft(region));
  const std::string number = std::to_string(row);
  painter.DrawCaption(target, number,
                      {region.left, region.top, region.left + kNumberWidth, region.bottom},
                      TextAlign::kLeft);
  painter.DrawCaption(target, caption,
                      {region.left + kNumberWidth, region.top, region.right, region.bottom},
                      TextAlign::kLeft);
}

void SkinSlider::DrawStop(const SkinPainter& painter, Canvas* target, int stop, bool light) const {
  const HotRegion& region = stops_[static_cast<std::size_t>(stop)];
  painter.DrawGround(target, ground_, region);
  painter.DrawImage(target, light ? skin_image::kSliderLight : skin_image::kSliderDark,
                    TopLeft(region));
}

void SkinSlider::DrawAll(const SkinPainter& painter, Canvas* target) const {
  for (int i = 0; i < static_cast<int>(stops_.size()); ++i) {
    const HotRegion& region = stops_[static_cast<std::size_t>(i)];
    painter.DrawImage(target, i == selected_ ? skin_image::kSliderLight : skin_image::kSliderDark,
                      TopLeft(region));
  }
}

bool SkinSlider::IsStop(int stop) const {
  return stop >= 0 && stop < static_cast<int>(stops_.size());
}

void SkinSlider::Select(const SkinPainter& painter, Canvas* target, int stop) {
  if (!IsStop(stop)) {
    stop = -1;
  }
  if (stop == selected_) {
    return;
  }
  const int old = selected_;
  selected_ = stop;
  if (IsStop(stop)) {
    DrawStop(painter, target, stop, true);
  }
  if (IsStop(old)) {
    DrawStop(painter, target, old, false);
  }
}

}  // namespace q8
