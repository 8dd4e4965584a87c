#include "device/mouse_plug_tracker.h"

#include <memory>

#include "device/find_mouse.h"

namespace q8 {
MousePresence SurveyMouse(HidBus& bus) {
  std::unique_ptr<HidInterfaceList> list = bus.ListInterfaces();
  if (!list) {
    return MousePresence::kGone;
  }
  bool anyInterface = false;
  bool shortCollection = false;
  bool pageCollection = false;
  for (unsigned index = 0; list->Enumerate(index) == HidEnumStatus::kItem; ++index) {
    const std::optional<std::string> path = list->DevicePath();
    std::unique_ptr<HidProbe> probe = path ? bus.OpenProbe(*path) : nullptr;
    const std::optional<HidAttributes> attributes = probe ? probe->Attributes() : std::nullopt;
    if (!attributes || !IsMouse(*attributes)) {
      continue;
    }
    anyInterface = true;
    if (const std::optional<HidCapabilities> caps = probe->Capabilities()) {
      shortCollection = shortCollection || IsChannelCollection(*caps, kShortChannelCollection);
      pageCollection = pageCollection || IsChannelCollection(*caps, kPageChannelCollection);
    }
  }
  if (shortCollection && pageCollection) {
    return MousePresence::kComplete;
  }
  return anyInterface ? MousePresence::kPartial : MousePresence::kGone;
}

std::optional<DeviceChangeEvent> MousePlugTracker::Update(MousePresence presence) {
  if (!plugged_ && presence == MousePresence::kComplete) {
    plugged_ = true;
    return DeviceChangeEvent::kArrival;
  }
  if (plugged_ && presence == MousePresence::kGone) {
    plugged_ = false;
    return DeviceChangeEvent::kRemovalComplete;
  }
  return std::nullopt;
}

}  // namespace q8
