#include "win32/device_notification.h"

#include <dbt.h>

#include <cstddef>
#include <cwchar>
#include <string>
#include <utility>

#include "win32/hid_api.h"
#include "win32/wide_text.h"

namespace q8::win32 {

DeviceChangeNotice ReadDeviceChange(WPARAM event, LPARAM record) {
  DeviceChangeNotice notice;
  notice.event = static_cast<std::uint32_t>(event);
  // Other events (DBT_DEVNODES_CHANGED, DBT_CONFIGCHANGED ...) carry no record, or one of another
  // shape, in the lParam.
  const bool carriesRecord = event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE;
  if (!carriesRecord || record == 0) {
    return notice;
  }
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(record);
  notice.recordType = header->dbch_devicetype;
  if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
    const auto* deviceInterface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(record);
    // The name fills the record to its end; a record cut short still yields no more than it holds.
    const std::size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    const std::size_t capacity =
        header->dbch_size > nameOffset ? (header->dbch_size - nameOffset) / sizeof(wchar_t) : 0;
    notice.interfacePath = ToUtf8(std::wstring_view(
        deviceInterface->dbcc_name, ::wcsnlen(deviceInterface->dbcc_name, capacity)));
  }
  return notice;
}

DeviceNotificationRegistration::~DeviceNotificationRegistration() {
  if (notification_) {
    ::UnregisterDeviceNotification(notification_);
  }
}

bool DeviceNotificationRegistration::Register(HWND window) {
  if (notification_) {
    ::UnregisterDeviceNotification(std::exchange(notification_, nullptr));
  }
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof(filter);
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = kHidInterfaceClass;
  notification_ = ::RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  return notification_ != nullptr;
}

}  // namespace q8::win32
