#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "device/feature_channel.h"

namespace q8 {

// What the system tells about a HID device interface, as the Windows HID class driver reports it.
struct HidAttributes {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t versionNumber = 0;

  friend bool operator==(const HidAttributes&, const HidAttributes&) = default;
};

// The top-level collection behind an interface. Report lengths count the report-id byte, which is
// 0 for a collection without report ids; a length of 0 means no report of that kind.
struct HidCapabilities {
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  std::uint16_t inputReportByteLength = 0;
  std::uint16_t outputReportByteLength = 0;
  std::uint16_t featureReportByteLength = 0;

  friend bool operator==(const HidCapabilities&, const HidCapabilities&) = default;
};

// How one enumeration step ended.
enum class HidEnumStatus {
  kItem,         // an interface is at this index
  kNoMoreItems,  // the list has ended
  kFailed,       // any other failure of the system's enumeration
};

// The present HID device interfaces, in the system's order. Destroyed when the owner drops it.
class HidInterfaceList {
 public:
  virtual ~HidInterfaceList() = default;
  // Moves to the interface at `index`.
  virtual HidEnumStatus Enumerate(unsigned index) = 0;
  // The device path of the interface last enumerated; nothing when the system cannot tell it.
  virtual std::optional<std::string> DevicePath() = 0;
};

// An interface opened without access rights, shared for reading and writing: enough to ask what
// it is, not to exchange reports. Closed when the owner drops it.
class HidProbe {
 public:
  virtual ~HidProbe() = default;
  // Nothing when the system cannot tell.
  virtual std::optional<HidAttributes> Attributes() = 0;
  // Nothing when the collection's description cannot be obtained or is refused.
  virtual std::optional<HidCapabilities> Capabilities() = 0;
};

// The two ways a channel is opened: the system's file attributes differ, nothing else does.
enum class ChannelKind { kShort, kPage };

// An open channel, or the system's error code when the open failed.
struct HidChannelOpening {
  std::unique_ptr<FeatureChannel> channel;
  std::uint32_t errorCode = 0;
};

// The system's HID bus. Paths are UTF-8 and mean something only to the bus that gave them.
class HidBus {
 public:
  virtual ~HidBus() = default;
  // Nothing when the system cannot list its HID interfaces.
  virtual std::unique_ptr<HidInterfaceList> ListInterfaces() = 0;
  // Nothing when the interface cannot be opened even without access rights.
  virtual std::unique_ptr<HidProbe> OpenProbe(const std::string& path) = 0;
  virtual HidChannelOpening OpenChannel(const std::string& path, ChannelKind kind) = 0;
  // What the user can do about a channel that failed to open with `errorCode`, said after the
  // error code; empty where the code says all there is (as on Windows).
  virtual std::string OpenFailureAdvice(std::uint32_t /*errorCode*/) const { return {}; }
};

}  // namespace q8
