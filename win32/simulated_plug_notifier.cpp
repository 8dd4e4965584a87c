#include "win32/simulated_plug_notifier.h"

#include <dbt.h>

#include <cstddef>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "device/mouse_state_file.h"
#include "device/simulated_hid_bus.h"
#include "win32/hid_api.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

namespace q8::win32 {

// What the thread needs, kept alive by the thread as long as it runs.
struct SimulatedPlugNotifier::Watch {
  ~Watch() {
    if (change != INVALID_HANDLE_VALUE) {
      ::FindCloseChangeNotification(change);
    }
  }
  HWND window = nullptr;
  std::filesystem::path stateFile;
  bool plugged = true;
  HANDLE change = INVALID_HANDLE_VALUE;
  UniqueHandle stop;
};

namespace {

// A device-interface record naming `path`, laid out as the system lays it out.
std::vector<std::byte> InterfaceRecord(std::string_view path) {
  const std::wstring name = ToWide(path);
  const std::size_t size =
      offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (name.size() + 1) * sizeof(wchar_t);
  std::vector<std::byte> bytes(size);
  auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
  record->dbcc_size = static_cast<DWORD>(size);
  record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  record->dbcc_classguid = kHidInterfaceClass;
  name.copy(record->dbcc_name, name.size());
  return bytes;
}

void WatchFolder(const std::shared_ptr<SimulatedPlugNotifier::Watch>& watch) {
  const HANDLE handles[] = {watch->change, watch->stop.Get()};
  for (;;) {
    if (::WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) {
      return;  // stopped, or the wait failed
    }
    ::FindNextChangeNotification(watch->change);
    const bool plugged = SimulatedMousePlugged(watch->stateFile);
    if (plugged == watch->plugged) {
      continue;  // another file of the folder changed, such as the state file itself
    }
    watch->plugged = plugged;
    const WPARAM event = plugged ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    for (const std::string_view path : kSimulatedNotificationPaths) {
      std::vector<std::byte> record = InterfaceRecord(path);
      // Sent, as the system sends it: the record lives until the window has handled it. A window
      // already gone answers at once.
      ::SendMessageW(watch->window, WM_DEVICECHANGE, event,
                     reinterpret_cast<LPARAM>(record.data()));
    }
  }
}

}  // namespace

SimulatedPlugNotifier::~SimulatedPlugNotifier() {
  if (watch_) {
    ::SetEvent(watch_->stop.Get());
  }
}

bool SimulatedPlugNotifier::Start(HWND window, const std::filesystem::path& stateFile) {
  auto watch = std::make_shared<Watch>();
  watch->window = window;
  watch->stateFile = stateFile;
  watch->plugged = SimulatedMousePlugged(stateFile);
  std::filesystem::path folder = std::filesystem::absolute(stateFile).parent_path();
  // The marker is made by a rename (a durable write) and removed by a delete: both change a name.
  watch->change =
      ::FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  watch->stop.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (watch->change == INVALID_HANDLE_VALUE || !watch->stop.Valid()) {
    return false;
  }
  try {
    std::thread(WatchFolder, watch).detach();
  } catch (const std::system_error&) {
    return false;
  }
  watch_ = std::move(watch);
  return true;
}

}  // namespace q8::win32
