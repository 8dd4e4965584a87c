#include "ui/skin_painter.h"

#include "ui/draw_png.h"
#include "ui/skin_directory.h"

namespace q8 {

bool SkinPainter::DrawImage(Canvas* target, std::string_view imageName, Point at) const {
  const auto path = SkinImagePath(skinDirectory_, imageName);
  if (loadFailures_ != nullptr) {
    return LoadPng(target, path, at.x, at.y, decoder_, *loadFailures_);
  }
  return DrawPng(target, path, at.x, at.y, decoder_);
}

void SkinPainter::DrawGround(Canvas* target, std::span<const std::string_view> ground,
                             Rect area) const {
  if (target == nullptr || ground.empty() || area.Width() <= 0 || area.Height() <= 0) {
    return;
  }
  // The images are as large as the window: only the piece under the area is composed, in a
  // canvas of the area's size, and then copied into place.
  Canvas piece(area.Width(), area.Height());
  for (const std::string_view image : ground) {
    DrawPng(&piece, SkinImagePath(skinDirectory_, image), -area.left, -area.top, decoder_);
  }
  CopyOver(*target, piece, area.left, area.top);
}

void SkinPainter::DrawCaption(Canvas* target, std::string_view text, Rect rect,
                              TextAlign align) const {
  if (target != nullptr) {
    text_.DrawText(*target, text, rect, FontRole::kNormal, textColor_, align);
  }
}

}  // namespace q8
