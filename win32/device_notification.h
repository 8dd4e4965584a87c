#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "device/device_change.h"

namespace q8::win32 {

// One WM_DEVICECHANGE as the core takes it: the event code, the record's type and, for a
// device-interface record, its path (UTF-8). Type 0 and no path when the event carries no record.
struct DeviceChangeNotice {
  std::uint32_t event = 0;
  std::uint32_t recordType = 0;
  std::string interfacePath;
};

// Reads a WM_DEVICECHANGE's wParam and lParam. Only arrivals and completed removals are known to
// carry a device-broadcast record; for every other event the lParam is not read.
DeviceChangeNotice ReadDeviceChange(WPARAM event, LPARAM record);

// Hands one WM_DEVICECHANGE to whatever takes OnDeviceChange(event, recordType, path): the core's
// DeviceChangeHandler or the main window's controller.
template <typename Receiver>
void ForwardDeviceChange(Receiver& receiver, WPARAM event, LPARAM record) {
  const DeviceChangeNotice notice = ReadDeviceChange(event, record);
  receiver.OnDeviceChange(notice.event, notice.recordType, notice.interfacePath);
}

// The window's registration for arrival and removal notifications of HID device interfaces,
// undone when it ends.
class DeviceNotificationRegistration {
 public:
  DeviceNotificationRegistration() = default;
  ~DeviceNotificationRegistration();
  DeviceNotificationRegistration(const DeviceNotificationRegistration&) = delete;
  DeviceNotificationRegistration& operator=(const DeviceNotificationRegistration&) = delete;

  // False when the system refuses the registration.
  bool Register(HWND window);
  bool Registered() const { return notification_ != nullptr; }

 private:
  HDEVNOTIFY notification_ = nullptr;
};

}  // namespace q8::win32
