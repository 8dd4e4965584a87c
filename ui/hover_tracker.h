#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "ui/rect.h"

namespace q8 {

// The hover bookkeeping of one skinned window, apart from any drawing: which control a point
// belongs to, which controls are drawn over, and what a move or a hover must redraw.
class HoverTracker {
 public:
  // 0: the control is alone; controls with the same other number form a group.
  using Group = int;
  static constexpr Group kAlone = 0;

  struct Control {
    HotRegion region;
    Group group = kAlone;
    // Reacts only once the window's page has been drawn.
    bool needsPage = false;
  };

  // `controls` in test order (the first that contains a point wins where two share a column);
  // `resetOrder` lists every control index in the order a move outside redraws them normal.
  HoverTracker(std::vector<Control> controls, std::vector<std::size_t> resetOrder);

  void SetPageDrawn(bool drawn) { pageDrawn_ = drawn; }
  bool PageDrawn() const { return pageDrawn_; }

  // The first control, in test order, that reacts at `p`.
  std::optional<std::size_t> ControlAt(Point p) const;

  // A mouse move outside every control: the controls drawn over, in reset order, which the move
  // draws normal; their flags are cleared. Empty when nothing is drawn over.
  std::vector<std::size_t> TakeFlaggedForReset();

  // A hover on `control`: the other members of its group that are drawn over, which the hover
  // draws normal after drawing `control` over; their flags are cleared and `control`'s is set.
  std::vector<std::size_t> HoverOn(std::size_t control);

  bool IsOver(std::size_t control) const { return flags_[control]; }
  std::size_t size() const { return controls_.size(); }

 private:
  std::vector<Control> controls_;
  std::vector<std::size_t> resetOrder_;
  std::vector<bool> flags_;
  bool pageDrawn_ = false;
};

}  // namespace q8
