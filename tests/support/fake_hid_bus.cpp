#include "support/fake_hid_bus.h"

namespace q8::test {
namespace {

// Counts itself in the bus's open handles and logs its closing.
class Handle {
 public:
  Handle(FakeHidBus& bus, std::string name) : bus_(bus), name_(std::move(name)) {
    ++bus_.openHandles;
  }
  ~Handle() {
    --bus_.openHandles;
    bus_.log.push_back("close " + name_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

 protected:
  FakeHidBus& bus_;
  std::string name_;
};

class FakeList final : public HidInterfaceList, Handle {
 public:
  explicit FakeList(FakeHidBus& bus) : Handle(bus, "list") {}
  HidEnumStatus Enumerate(unsigned index) override {
    bus_.log.push_back("enumerate " + std::to_string(index));
    current_ = index;
    if (bus_.enumerationFailsAt == index) {
      return HidEnumStatus::kFailed;
    }
    return index < bus_.interfaces.size() ? HidEnumStatus::kItem : HidEnumStatus::kNoMoreItems;
  }
  std::optional<std::string> DevicePath() override {
    if (current_ >= bus_.interfaces.size()) {
      return std::nullopt;
    }
    return bus_.interfaces[current_].path;
  }

 private:
  unsigned current_ = 0;
};

class FakeProbe final : public HidProbe, Handle {
 public:
  FakeProbe(FakeHidBus& bus, const FakeInterface& interface)
      : Handle(bus, "probe " + interface.path), interface_(interface) {}
  std::optional<HidAttributes> Attributes() override { return interface_.attributes; }
  std::optional<HidCapabilities> Capabilities() override { return interface_.caps; }

 private:
  FakeInterface interface_;
};

class FakeChannel final : public FeatureChannel, Handle {
 public:
  FakeChannel(FakeHidBus& bus, std::string name) : Handle(bus, std::move(name)) {}
  bool SendFeature(std::span<const std::uint8_t>) override { return true; }
  bool GetFeature(std::span<std::uint8_t>) override { return true; }
};

}  // namespace

const FakeInterface* FakeHidBus::Find(const std::string& path) const {
  for (const FakeInterface& interface : interfaces) {
    if (interface.path == path) {
      return &interface;
    }
  }
  return nullptr;
}

std::unique_ptr<HidInterfaceList> FakeHidBus::ListInterfaces() {
  log.push_back("list");
  if (listFails) {
    return nullptr;
  }
  return std::make_unique<FakeList>(*this);
}

std::unique_ptr<HidProbe> FakeHidBus::OpenProbe(const std::string& path) {
  log.push_back("probe " + path);
  const FakeInterface* interface = Find(path);
  if (!interface || !interface->probeOpens) {
    return nullptr;
  }
  return std::make_unique<FakeProbe>(*this, *interface);
}

HidChannelOpening FakeHidBus::OpenChannel(const std::string& path, ChannelKind kind) {
  const std::string name = (kind == ChannelKind::kShort ? "short " : "page ") + path;
  log.push_back("open " + name);
  const FakeInterface* interface = Find(path);
  if (!interface || !interface->channelOpens) {
    return {nullptr, interface ? interface->channelError : 2};
  }
  return {std::make_unique<FakeChannel>(*this, name), 0};
}

}  // namespace q8::test
