#pragma once

#include <string>
#include <vector>

#include "device/device_change.h"

namespace q8::test {

// Records what the device-change logic asks of the application, one word per call.
class RecordingHost final : public DeviceChangeHost {
 public:
  void AnnounceStatus(int type) override { calls.push_back("announce " + std::to_string(type)); }
  void HideMainWindow() override { calls.push_back("hide"); }
  void ReadMouse() override { calls.push_back("read"); }
  void SetDevicePresent(bool present) override { calls.push_back(present ? "present" : "absent"); }
  std::vector<std::string> calls;
};

}  // namespace q8::test
