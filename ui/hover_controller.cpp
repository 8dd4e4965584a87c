#include "ui/hover_controller.h"

namespace q8 {

void HoverController::OnMouseMove(Point p) {
  if (tracker_.ControlAt(p)) {
    window_.host().TrackMouse(trackLeave_, kHoverTimeMs);
    return;
  }
  const auto reset = tracker_.TakeFlaggedForReset();
  if (reset.empty()) {
    return;
  }
  window_.Draw([&](Canvas* target) {
    for (std::size_t control : reset) {
      DrawControl(target, control, Look::kNormal);
    }
  });
}

void HoverController::OnMouseHover(Point p) {
  const auto control = tracker_.ControlAt(p);
  if (!control) {
    return;
  }
  const auto reset = tracker_.HoverOn(*control);
  window_.Draw([&](Canvas* target) {
    DrawControl(target, *control, Look::kOver);
    for (std::size_t other : reset) {
      DrawControl(target, other, Look::kNormal);
    }
  });
}

}  // namespace q8
