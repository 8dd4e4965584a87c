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

TEST(DeviceNotificationTest, ReadsARecordOnlyForArrivalAndRemoval) {
  auto mouse = InterfaceRecord(LR"(\\?\HID#VID_04D9&PID_A09E&MI_01#7&2#{4d1e55b2})");
  const auto record = reinterpret_cast<LPARAM>(mouse.data());

  const DeviceChangeNotice removal = ReadDeviceChange(DBT_DEVICEREMOVECOMPLETE, record);
  EXPECT_EQ(removal.event, 0x8004u);
  EXPECT_EQ(removal.recordType, kDeviceInterfaceRecord);
  EXPECT_EQ(removal.interfacePath, R"(\\?\HID#VID_04D9&PID_A09E&MI_01#7&2#{4d1e55b2})");

  // DBT_CONFIGCHANGECANCELED and friends may carry anything in the lParam: an address that cannot
  // be read must not be.
  const DeviceChangeNotice other = ReadDeviceChange(DBT_CONFIGCHANGECANCELED, 1);
  EXPECT_EQ(other.event, static_cast<std::uint32_t>(DBT_CONFIGCHANGECANCELED));
  EXPECT_EQ(other.recordType, 0u);
  EXPECT_EQ(other.interfacePath, "");

  // A record cut short before its path yields an empty path, not what lies beyond it.
  reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(mouse.data())->dbcc_size =
      offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
  EXPECT_EQ(ReadDeviceChange(DBT_DEVICEARRIVAL, record).interfacePath, "");
}

}  // namespace
}  // namespace q8::win32
