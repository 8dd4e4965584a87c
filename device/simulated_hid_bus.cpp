#include "device/simulated_hid_bus.h"

#include "device/find_mouse.h"

namespace q8 {
namespace {

// The system's code for a path that leads nowhere.
constexpr std::uint32_t kFileNotFound = 2;

class SimulatedList final : public HidInterfaceList {
 public:
  explicit SimulatedList(std::size_t count) : count_(count) {}
  HidEnumStatus Enumerate(unsigned index) override {
    current_ = index;
    return index < count_ ? HidEnumStatus::kItem : HidEnumStatus::kNoMoreItems;
  }
  std::optional<std::string> DevicePath() override {
    if (current_ >= count_) {
      return std::nullopt;
    }
    return std::string(kSimulatedInterfaces[current_].path);
  }

 private:
  std::size_t count_;
  std::size_t current_ = 0;
};

class SimulatedProbe final : public HidProbe {
 public:
  explicit SimulatedProbe(const HidCapabilities& caps) : caps_(caps) {}
  std::optional<HidAttributes> Attributes() override {
    return HidAttributes{kMouseVendorId, kMouseProductId, 0x0100};
  }
  std::optional<HidCapabilities> Capabilities() override { return caps_; }

 private:
  HidCapabilities caps_;
};

// A channel the search owns, talking to one endpoint of the mouse the bus lends it while the
// mouse is plugged in.
class SimulatedChannel final : public FeatureChannel {
 public:
  SimulatedChannel(const SimulatedHidBus& bus, FeatureChannel& endpoint)
      : bus_(bus), endpoint_(endpoint) {}
  bool SendFeature(std::span<const std::uint8_t> report) override {
    return bus_.Plugged() && endpoint_.SendFeature(report);
  }
  bool GetFeature(std::span<std::uint8_t> report) override {
    return bus_.Plugged() && endpoint_.GetFeature(report);
  }
  void Lock() override { endpoint_.Lock(); }
  void Unlock() override { endpoint_.Unlock(); }

 private:
  const SimulatedHidBus& bus_;
  FeatureChannel& endpoint_;
};

// The consumer-control collection has no feature reports: every exchange fails.
class NoFeatureChannel final : public FeatureChannel {
 public:
  bool SendFeature(std::span<const std::uint8_t>) override { return false; }
  bool GetFeature(std::span<std::uint8_t>) override { return false; }
};

}  // namespace

const SimulatedInterface* SimulatedHidBus::Find(const std::string& path) const {
  if (!Plugged()) {
    return nullptr;
  }
  for (const SimulatedInterface& interface : kSimulatedInterfaces) {
    if (interface.path == path) {
      return &interface;
    }
  }
  return nullptr;
}

std::unique_ptr<HidInterfaceList> SimulatedHidBus::ListInterfaces() {
  return std::make_unique<SimulatedList>(Plugged() ? kSimulatedInterfaces.size() : 0);
}

std::unique_ptr<HidProbe> SimulatedHidBus::OpenProbe(const std::string& path) {
  const SimulatedInterface* interface = Find(path);
  if (!interface) {
    return nullptr;
  }
  return std::make_unique<SimulatedProbe>(interface->caps);
}

HidChannelOpening SimulatedHidBus::OpenChannel(const std::string& path, ChannelKind kind) {
  const SimulatedInterface* interface = Find(path);
  if (!interface) {
    return {nullptr, kFileNotFound};
  }
  // The collection decides which endpoint answers, as on a real device; the kind only changes
  // how the system opens it.
  static_cast<void>(kind);
  if (interface->caps.usage == kPageChannelCollection.usage) {
    return {std::make_unique<SimulatedChannel>(*this, mouse_.PageChannel()), 0};
  }
  if (interface->caps.usage == kShortChannelCollection.usage) {
    return {std::make_unique<SimulatedChannel>(*this, mouse_.ShortChannel()), 0};
  }
  return {std::make_unique<NoFeatureChannel>(), 0};
}

}  // namespace q8
