#include "device/find_mouse.h"

#include <string>

namespace q8 {
namespace {

// The channels opened so far by one search; kept only when the search succeeds.
struct Found {
  std::unique_ptr<FeatureChannel> shortChannel;
  std::unique_ptr<FeatureChannel> pageChannel;
  std::uint16_t shortReportLength = 0;
  std::uint16_t pageReportLength = 0;
  int count = 0;
};

enum class Step { kNext, kFailed };

// Opens one channel into `slot`; on failure the user learns the system's error code.
Step OpenInto(HidBus& bus, MessageSink& messages, const std::string& path, ChannelKind kind,
              std::unique_ptr<FeatureChannel>& slot) {
  HidChannelOpening opening = bus.OpenChannel(path, kind);
  if (!opening.channel) {
    std::string text = "CreateFile Error Code:" + std::to_string(opening.errorCode);
    if (const std::string advice = bus.OpenFailureAdvice(opening.errorCode); !advice.empty()) {
      text += "\n" + advice;
    }
    messages.ShowMessage(text, kApplicationName);
    return Step::kFailed;
  }
  slot = std::move(opening.channel);
  return Step::kNext;
}

// Examines the interface at `path`, opening a channel when it is one of the mouse's two.
Step Examine(HidBus& bus, MessageSink& messages, const std::string& path, Found& found) {
  std::unique_ptr<HidProbe> probe = bus.OpenProbe(path);
  if (!probe) {
    return Step::kFailed;
  }
  const std::optional<HidAttributes> attributes = probe->Attributes();
  if (!attributes || !IsMouse(*attributes)) {
    return Step::kNext;
  }
  const std::optional<HidCapabilities> caps = probe->Capabilities();
  probe.reset();  // the channels are separate opens; the probe is not needed any more
  if (!caps) {
    return Step::kFailed;
  }
  if (IsChannelCollection(*caps, kPageChannelCollection)) {
    if (OpenInto(bus, messages, path, ChannelKind::kPage, found.pageChannel) == Step::kFailed) {
      return Step::kFailed;
    }
    found.pageReportLength = caps->featureReportByteLength;
    ++found.count;
  } else if (IsChannelCollection(*caps, kShortChannelCollection)) {
    if (OpenInto(bus, messages, path, ChannelKind::kShort, found.shortChannel) == Step::kFailed) {
      return Step::kFailed;
    }
    found.shortReportLength = caps->featureReportByteLength;
    ++found.count;
  }
  return Step::kNext;
}

}  // namespace

bool FindMouse(HidBus& bus, MessageSink& messages, MouseLink& link) {
  std::unique_ptr<HidInterfaceList> list = bus.ListInterfaces();
  if (!list) {
    return false;
  }
  Found found;
  for (unsigned index = 0;; ++index) {
    const HidEnumStatus status = list->Enumerate(index);
    if (status == HidEnumStatus::kNoMoreItems) {
      return false;
    }
    const std::optional<std::string> path = list->DevicePath();
    if (!path) {
      return false;
    }
    link.lastDevicePath_ = *path;
    if (Examine(bus, messages, *path, found) == Step::kFailed) {
      return false;
    }
    // A failed enumeration still had its index examined above, but ends the walk.
    if (status != HidEnumStatus::kItem || found.count >= 2) {
      break;
    }
  }
  list.reset();
  // A mouse listed twice may give two channels of one kind: then the search has not found both.
  if (!found.shortChannel || !found.pageChannel) {
    return false;
  }
  link.shortChannel_ = std::move(found.shortChannel);
  link.pageChannel_ = std::move(found.pageChannel);
  link.shortReportLength_ = found.shortReportLength;
  link.pageReportLength_ = found.pageReportLength;
  return true;
}

}  // namespace q8
