#include "win32/device_notification.h"

#include <dbt.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/fake_hid_bus.h"
#include "support/fakes.h"

namespace q8::win32 {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RecordingHost final : public DeviceChangeHost {
 public:
  void AnnounceStatus(int type) override { calls.push_back(type); }
  void HideMainWindow() override {}
  void ReadMouse() override {}
  void SetDevicePresent(bool) override {}
  std::vector<int> calls;
};

// A device-interface record as the system lays it out, the path filling it to its end.
std::vector<std::uint64_t> InterfaceRecord(const std::wstring& path) {
  const std::size_t size =
      offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (path.size() + 1) * sizeof(wchar_t);
  std::vector<std::uint64_t> storage((size + 7) / 8);
  auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage.data());
  record->dbcc_size = static_cast<DWORD>(size);
  record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  std::memcpy(record->dbcc_name, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
  return storage;
}

TEST(DeviceNotificationTest, ForwardsInterfacePathsAndIgnoresOtherRecords) {
  test::FakeHidBus bus;
  test::RecordingMessageSink messages;
  MouseLink link;
  RecordingHost host;
  DeviceChangeHandler handler(bus, messages, link, host);

  auto mouse = InterfaceRecord(LR"(\\?\HID#VID_04D9&PID_A09E&MI_00#7&1#{4d1e55b2})");
  auto other = InterfaceRecord(LR"(\\?\HID#VID_046D&PID_C077#7&1#{4d1e55b2})");
  DEV_BROADCAST_HDR volume{sizeof(DEV_BROADCAST_HDR), DBT_DEVTYP_VOLUME, 0};
  const auto lparam = [](const void* record) { return reinterpret_cast<LPARAM>(record); };

  for (int i = 0; i < 3; ++i) {
    ForwardDeviceChange(handler, DBT_DEVICEARRIVAL, lparam(mouse.data()));
    ForwardDeviceChange(handler, DBT_DEVICEARRIVAL, lparam(other.data()));
    ForwardDeviceChange(handler, DBT_DEVICEARRIVAL, lparam(&volume));
    ForwardDeviceChange(handler, DBT_DEVNODES_CHANGED, 0);
  }
  EXPECT_EQ(handler.ArrivalCounter(), 3);
  EXPECT_THAT(host.calls, IsEmpty());
  ForwardDeviceChange(handler, DBT_DEVICEREMOVECOMPLETE, lparam(mouse.data()));
  EXPECT_THAT(host.calls, ElementsAre(kStatusMouseLost));
}

// Only arrivals and completed removals carry a record the handler may read; for every other event
// the second parameter means something else or nothing, and is never looked at.
TEST(DeviceNotificationTest, ReadsARecordOnlyForArrivalsAndRemovals) {
  test::FakeHidBus bus;
  test::RecordingMessageSink messages;
  MouseLink link;
  RecordingHost host;
  DeviceChangeHandler handler(bus, messages, link, host);
  // Memory that cannot be read: touching it would end the test.
  void* unreadable = ::VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
  ASSERT_NE(unreadable, nullptr);
  for (const WPARAM event : {WPARAM{DBT_DEVNODES_CHANGED}, WPARAM{DBT_DEVICEQUERYREMOVE},
                             WPARAM{DBT_DEVICEREMOVEPENDING}, WPARAM{DBT_CUSTOMEVENT},
                             WPARAM{DBT_CONFIGCHANGED}, WPARAM{0x0018}}) {
    ForwardDeviceChange(handler, event, reinterpret_cast<LPARAM>(unreadable));
  }
  ::VirtualFree(unreadable, 0, MEM_RELEASE);
  EXPECT_EQ(handler.ArrivalCounter(), 0);

  auto mouse = InterfaceRecord(LR"(\\?\HID#VID_04D9&PID_A09E&MI_00#7&1#{4d1e55b2})");
  ForwardDeviceChange(handler, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(mouse.data()));
  ForwardDeviceChange(handler, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(mouse.data()));
  EXPECT_EQ(handler.ArrivalCounter(), 2);
}

}  // namespace
}  // namespace q8::win32
