#pragma once

#include <windows.h>

#include "device/device_change.h"

namespace q8::win32 {

// Hands one WM_DEVICECHANGE (its wParam and lParam) to the core's handler: the event code, the
// record's type and, for a device-interface record, its path. Only an arrival or a completed
// removal is handed on; the record of any other event is never read.
void ForwardDeviceChange(DeviceChangeHandler& handler, WPARAM event, LPARAM record);

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
