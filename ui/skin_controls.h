#pragma once

#include <span>
#include <string_view>

#include "ui/rect.h"
#include "ui/skin_painter.h"

namespace q8 {

// How an owner-drawn control looks: its normal image, or its over image while the mouse rests on
// it.
enum class Look { kNormal, kOver };

// A caption button: the button face at the rectangle's top-left corner, the caption centred.
struct SkinButton {
  HotRegion region;
  void Draw(const SkinPainter& painter, Canvas* target, Look look, std::string_view caption) const;
};

// A button that is only a picture (close, minimise, skins, previous page).
struct SkinImageButton {
  HotRegion region;
  std::string_view normalImage;
  std::string_view overImage;
  void Draw(const SkinPainter& painter, Canvas* target, Look look) const;
};

// A key row: the dropdown face, the row number left-aligned in the leftmost 20 pixels and the
// row's caption left-aligned in the rest.
struct SkinDropdown {
  static constexpr int kNumberWidth = 20;
  HotRegion region;
  void Draw(const SkinPainter& painter, Canvas* target, Look look, int row,
            std::string_view caption) const;
};

// A row of stop markers: the chosen stop shows the light image, every other stop the dark one.
// The chosen stop may be none of them (-1), as when the device reports a value the row lacks.
// A choice draws each stop on the window's ground (`ground`, see SkinPainter::DrawGround), never
// over the stop's previous image: the images are partly transparent, and the light knob would show
// through the dark one.
class SkinSlider {
 public:
  SkinSlider(std::span<const HotRegion> stops, int selected,
             std::span<const std::string_view> ground)
      : stops_(stops), selected_(selected), ground_(ground) {}

  int selected() const { return selected_; }
  // Draws every stop over the ground as it lies: a page just drawn, where no stop was drawn yet.
  void DrawAll(const SkinPainter& painter, Canvas* target) const;
  // Moves the choice: the light image at the new stop, then the dark one at the old stop;
  // choosing the chosen stop again draws nothing. A stop outside the row chooses none: the old
  // stop turns dark and nothing turns light.
  void Select(const SkinPainter& painter, Canvas* target, int stop);

 private:
  bool IsStop(int stop) const;
  void DrawStop(const SkinPainter& painter, Canvas* target, int stop, bool light) const;

  std::span<const HotRegion> stops_;
  int selected_;
  std::span<const std::string_view> ground_;
};

}  // namespace q8
