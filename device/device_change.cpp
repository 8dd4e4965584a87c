#include "device/device_change.h"

namespace q8 {

std::uint8_t ReadFoundMouse(const ProtocolPorts& ports, DeviceState& state) {
  state.ResetForDiscovery();
  ReadOperation(ports, state);
  return SensorVariantOf(state.image);
}

bool IsMousePath(std::string_view interfacePath) {
  for (std::string_view marker : kMousePathMarkers) {
    if (interfacePath.find(marker) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

void DiscoverMouseAtStartup(HidBus& bus, MessageSink& messages, MouseLink& link,
                            DeviceChangeHost& host) {
  if (FindMouse(bus, messages, link)) {
    host.SetDevicePresent(true);
    host.ReadMouse();
  } else {
    host.AnnounceStatus(kStatusMouseLost);
    host.SetDevicePresent(false);
  }
}

void DeviceChangeHandler::OnDeviceChange(std::uint32_t eventCode, std::uint32_t recordType,
                                         std::string_view interfacePath) {
  const auto arrival = static_cast<std::uint32_t>(DeviceChangeEvent::kArrival);
  const auto removal = static_cast<std::uint32_t>(DeviceChangeEvent::kRemovalComplete);
  if ((eventCode != arrival && eventCode != removal) || recordType != kDeviceInterfaceRecord ||
      !IsMousePath(interfacePath)) {
    return;
  }
  if (++arrivalCounter_ < kNotificationsPerAction) {
    return;
  }
  arrivalCounter_ = 0;
  Act(static_cast<DeviceChangeEvent>(eventCode));
}

void DeviceChangeHandler::Act(DeviceChangeEvent event) {
  if (operations_ > 0) {
    deferred_ = event;
    return;
  }
  const bool found = FindMouse(bus_, messages_, link_);
  if (!found) {
    host_.AnnounceStatus(kStatusMouseLost);
    host_.HideMainWindow();
    host_.SetDevicePresent(false);
  } else if (event == DeviceChangeEvent::kArrival) {
    host_.AnnounceStatus(kStatusMouseFound);
    // Present before the read: an unplug that comes during it (its box lets it in) is acted on
    // inside ReadMouse and must have the last word.
    host_.SetDevicePresent(true);
    host_.ReadMouse();
  } else {
    host_.SetDevicePresent(true);
  }
}

void DeviceChangeHandler::EndOperation() {
  if (--operations_ > 0 || !deferred_) {
    return;
  }
  const DeviceChangeEvent event = *deferred_;
  deferred_.reset();
  Act(event);
}

}  // namespace q8
