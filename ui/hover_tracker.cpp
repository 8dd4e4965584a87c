#include "ui/hover_tracker.h"

#include <cassert>
#include <utility>

namespace q8 {

HoverTracker::HoverTracker(std::vector<Control> controls, std::vector<std::size_t> resetOrder)
    : controls_(std::move(controls)),
      resetOrder_(std::move(resetOrder)),
      flags_(controls_.size(), false) {
  assert(resetOrder_.size() == controls_.size());
}

std::optional<std::size_t> HoverTracker::ControlAt(Point p) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const Control& c = controls_[i];
    if ((pageDrawn_ || !c.needsPage) && c.region.Contains(p)) {
      return i;
    }
  }
  return std::nullopt;
}

std::vector<std::size_t> HoverTracker::TakeFlaggedForReset() {
  std::vector<std::size_t> reset;
  for (std::size_t i : resetOrder_) {
    if (flags_[i]) {
      flags_[i] = false;
      reset.push_back(i);
    }
  }
  return reset;
}

std::vector<std::size_t> HoverTracker::HoverOn(std::size_t control) {
  std::vector<std::size_t> reset;
  const Group group = controls_[control].group;
  if (group != kAlone) {
    for (std::size_t i : resetOrder_) {
      if (i != control && controls_[i].group == group && flags_[i]) {
        flags_[i] = false;
        reset.push_back(i);
      }
    }
  }
  flags_[control] = true;
  return reset;
}

}  // namespace q8
