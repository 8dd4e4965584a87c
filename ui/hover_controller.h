#pragma once

#include <utility>

#include "ui/hover_tracker.h"
#include "ui/skin_controls.h"
#include "ui/skinned_window.h"

namespace q8 {

// The hover handling every skinned window shares. A move inside a control asks the host for one
// hover notification after the mouse has rested 10 ms; the hover draws the control over and its
// group's other members normal; a move outside every control draws every control that is over
// normal again. Each reaction that draws is exactly one canvas drawing, so one copy to the window.
// The flags stay as they are when the mouse leaves the window.
class HoverController {
 public:
  static constexpr unsigned kHoverTimeMs = 10;

  HoverController(SkinnedWindow& window, HoverTracker tracker, bool trackLeave)
      : window_(window), tracker_(std::move(tracker)), trackLeave_(trackLeave) {}
  virtual ~HoverController() = default;
  HoverController(const HoverController&) = delete;
  HoverController& operator=(const HoverController&) = delete;

  void OnMouseMove(Point p);
  void OnMouseHover(Point p);
  // The leave notification changes nothing: a control hovered last stays drawn over.
  void OnMouseLeave() {}

  bool IsOver(std::size_t control) const { return tracker_.IsOver(control); }

 protected:
  // Draws one control with its image for `look` and its text, if it has any.
  virtual void DrawControl(Canvas* target, std::size_t control, Look look) const = 0;
  HoverTracker& tracker() { return tracker_; }

 private:
  SkinnedWindow& window_;
  HoverTracker tracker_;
  bool trackLeave_;
};

}  // namespace q8
