#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "device/device_operations.h"
#include "device/find_mouse.h"

namespace q8 {

// The system's device-change events the tool acts on, with their codes.
enum class DeviceChangeEvent : std::uint32_t {
  kArrival = 0x8000,
  kRemovalComplete = 0x8004,
};

// The record type of a device-interface notification; other records carry no interface path.
inline constexpr std::uint32_t kDeviceInterfaceRecord = 5;

// Status notification types announced when the mouse is found or lost.
inline constexpr int kStatusMouseFound = 14;
inline constexpr int kStatusMouseLost = 15;

// The marks of the mouse in an interface path, matched exactly as written.
inline constexpr std::string_view kMousePathMarkers[] = {"Vid_04d9&Pid_a09e", "VID_04D9&PID_A09E"};

// The matching notifications it takes before the tool acts: one plug of the mouse brings several.
inline constexpr std::uint8_t kNotificationsPerAction = 4;

// What the application does with the outcome of a search.
class DeviceChangeHost {
 public:
  virtual ~DeviceChangeHost() = default;
  // Sends the main window a status notification of `type`, synchronously.
  virtual void AnnounceStatus(int type) = 0;
  virtual void HideMainWindow() = 0;
  // Reads the newly found mouse: see ReadFoundMouse.
  virtual void ReadMouse() = 0;
  virtual void SetDevicePresent(bool present) = 0;
};

// What every read of a newly found mouse does: scrambling on, status and image cleared, the
// status and the five pages read. Returns the sensor variant read, for both of its copies.
std::uint8_t ReadFoundMouse(const ProtocolPorts& ports, DeviceState& state);

bool IsMousePath(std::string_view interfacePath);

// The device side of start-up: search, then read the mouse or announce that it is missing.
void DiscoverMouseAtStartup(HidBus& bus, MessageSink& messages, MouseLink& link,
                            DeviceChangeHost& host);

// Turns the system's device-change notifications into searches.
class DeviceChangeHandler {
 public:
  DeviceChangeHandler(HidBus& bus, MessageSink& messages, MouseLink& link, DeviceChangeHost& host)
      : bus_(bus), messages_(messages), link_(link), host_(host) {}

  // One notification as the system delivers it. Only arrivals and completed removals of a
  // device interface whose path marks the mouse count; every fourth of them, of either kind,
  // runs a search and acts on the kind of that fourth one.
  void OnDeviceChange(std::uint32_t eventCode, std::uint32_t recordType,
                      std::string_view interfacePath);

  // Searches and acts at once, for systems that tell one plug or unplug of the mouse as one
  // event rather than a burst of interface notifications.
  void Act(DeviceChangeEvent event);

  std::uint8_t ArrivalCounter() const { return arrivalCounter_; }

  // Marks a device operation (a read or a write of the mouse) for its lifetime. A search would
  // replace or close the channels the operation is using, and a message box of the operation
  // lets notifications in: an action that comes due meanwhile waits until the operation has
  // ended, and then acts on the last event that came due.
  // Whether a read or write of the mouse runs now (a box it raised may be open).
  bool InOperation() const { return operations_ > 0; }

  class OperationScope {
   public:
    explicit OperationScope(DeviceChangeHandler& handler) : handler_(handler) {
      ++handler_.operations_;
    }
    ~OperationScope() { handler_.EndOperation(); }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

   private:
    DeviceChangeHandler& handler_;
  };

 private:
  void EndOperation();

  HidBus& bus_;
  MessageSink& messages_;
  MouseLink& link_;
  DeviceChangeHost& host_;
  std::uint8_t arrivalCounter_ = 0;
  int operations_ = 0;
  std::optional<DeviceChangeEvent> deferred_;
};

}  // namespace q8
