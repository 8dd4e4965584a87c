#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "device/feature_channel.h"
#include "device/hid_bus.h"
#include "settings/message_sink.h"

namespace q8 {

// The mouse on the HID bus.
inline constexpr std::uint16_t kMouseVendorId = 0x04D9;
inline constexpr std::uint16_t kMouseProductId = 0xA09E;

// The two collections the tool talks to.
struct ChannelCollection {
  std::uint16_t usagePage;
  std::uint16_t usage;
  std::uint16_t featureReportByteLength;
};
inline constexpr ChannelCollection kShortChannelCollection{1, 6, 8};  // generic desktop keyboard
inline constexpr ChannelCollection kPageChannelCollection{1, 2, 65};  // generic desktop mouse

inline bool IsMouse(const HidAttributes& attributes) {
  return attributes.vendorId == kMouseVendorId && attributes.productId == kMouseProductId;
}

inline bool IsChannelCollection(const HidCapabilities& caps, const ChannelCollection& collection) {
  return caps.usagePage == collection.usagePage && caps.usage == collection.usage &&
         caps.featureReportByteLength == collection.featureReportByteLength;
}

// The channels of the mouse found last. A new successful search replaces (and so closes) the
// channels of the one before; a failed search leaves them as they were.
class MouseLink {
 public:
  bool HasChannels() const { return shortChannel_ && pageChannel_; }
  // Only while HasChannels().
  FeatureChannel& ShortChannel() { return *shortChannel_; }
  FeatureChannel& PageChannel() { return *pageChannel_; }

  std::uint16_t ShortReportLength() const { return shortReportLength_; }
  std::uint16_t PageReportLength() const { return pageReportLength_; }
  // The path of the interface examined last by any search, successful or not.
  const std::string& LastDevicePath() const { return lastDevicePath_; }

  // Closes both channels (the exit path).
  void Close() {
    shortChannel_.reset();
    pageChannel_.reset();
  }

 private:
  friend bool FindMouse(HidBus& bus, MessageSink& messages, MouseLink& link);

  std::unique_ptr<FeatureChannel> shortChannel_;
  std::unique_ptr<FeatureChannel> pageChannel_;
  std::uint16_t shortReportLength_ = 0;
  std::uint16_t pageReportLength_ = 0;
  std::string lastDevicePath_;
};

// Walks the bus's interfaces in order and opens the mouse's short and page channels, stopping at
// the second channel opened. True when both are open. Any interface that cannot be probed ends
// the search, even when the mouse comes later; a channel that cannot be opened is reported with
// the system's error code. Everything the search opens and does not keep is closed again.
bool FindMouse(HidBus& bus, MessageSink& messages, MouseLink& link);

}  // namespace q8
