#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/find_mouse.h"
#include "device/hid_bus.h"

namespace q8::test {

// One interface of the fake bus; by default it opens and answers everything.
struct FakeInterface {
  std::string path;
  std::optional<HidAttributes> attributes;
  std::optional<HidCapabilities> caps;
  bool probeOpens = true;
  bool channelOpens = true;
  std::uint32_t channelError = 5;  // the system's "access denied"
};

inline FakeInterface MouseInterface(std::string path, HidCapabilities caps) {
  return {std::move(path), HidAttributes{kMouseVendorId, kMouseProductId, 0x0100}, caps};
}
inline FakeInterface MouseKeyboardCollection(std::string path) {
  return MouseInterface(std::move(path), {1, 6, 9, 0, 8});
}
inline FakeInterface MouseMouseCollection(std::string path) {
  return MouseInterface(std::move(path), {1, 2, 8, 0, 65});
}
inline FakeInterface OtherDevice(std::string path, std::uint16_t vendor = 0x046D) {
  return {std::move(path), HidAttributes{vendor, 0xC077, 0x0100}, HidCapabilities{1, 2, 5, 0, 0}};
}

// A HID bus from plain data that logs every call, with a count of what is open at any time.
class FakeHidBus final : public HidBus {
 public:
  std::vector<FakeInterface> interfaces;
  bool listFails = false;
  std::optional<unsigned> enumerationFailsAt;  // the system's enumeration fails at this index
  // What the bus advises for a channel that fails to open (empty: nothing).
  std::string advice;
  std::string OpenFailureAdvice(std::uint32_t) const override { return advice; }
  std::vector<std::string> log;
  int openHandles = 0;  // probes, channels and the list itself

  std::unique_ptr<HidInterfaceList> ListInterfaces() override;
  std::unique_ptr<HidProbe> OpenProbe(const std::string& path) override;
  HidChannelOpening OpenChannel(const std::string& path, ChannelKind kind) override;

  const FakeInterface* Find(const std::string& path) const;
};

}  // namespace q8::test
