// Replies from whatever device claims the mouse's identifiers: every feature report the tool
// receives during GetDPIStage, ReadOperation and WriteOperation comes from the input, and so does
// whether each transfer succeeds. Then the memory read that way is shown as q8ctl shows it and
// encoded for an apply.
#include <algorithm>
#include <sstream>

#include "cli/settings_report.h"
#include "device/device_operations.h"
#include "device/settings_encoding.h"
#include "fuzz/fuzz_support.h"
#include "settings/device_config.h"

namespace q8 {
namespace {

// The input, taken from the front as the tool asks for it; zeros once it is used up.
class InputStream {
 public:
  explicit InputStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint8_t Take() {
    if (bytes_.empty()) {
      return 0;
    }
    const std::uint8_t byte = bytes_.front();
    bytes_ = bytes_.subspan(1);
    return byte;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// A device that answers every get with the next bytes of the input and fails a transfer when the
// input says so.
class FuzzedChannel final : public FeatureChannel {
 public:
  explicit FuzzedChannel(InputStream& input) : input_(input) {}
  bool SendFeature(std::span<const std::uint8_t> report) override {
    fuzz::Require(!report.empty(), "a report carries at least its id");
    return input_.Take() % 8 != 0;
  }
  bool GetFeature(std::span<std::uint8_t> report) override {
    if (input_.Take() % 8 == 0) {
      return false;
    }
    // A reply shorter than the report leaves the rest of the buffer as it was.
    const std::size_t length = std::min<std::size_t>(input_.Take(), report.size());
    for (std::size_t i = 0; i < length; ++i) {
      report[i] = input_.Take();
    }
    return true;
  }

 private:
  InputStream& input_;
};

class NoSleeper final : public Sleeper {
 public:
  void SleepMs(unsigned) override {}
};

class CountingMessages final : public MessageSink {
 public:
  void ShowMessage(std::string_view, std::string_view) override { ++count; }
  int count = 0;
};

}  // namespace
}  // namespace q8

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q8;
  InputStream input(fuzz::Bytes(data, size));
  FuzzedChannel shortChannel(input);
  FuzzedChannel pageChannel(input);
  NoSleeper sleeper;
  CountingMessages messages;
  const ProtocolPorts ports{shortChannel, pageChannel, sleeper, messages, "not detected"};

  DeviceState device;
  device.ResetForDiscovery();
  device.scrambleEnabled = input.Take() % 2 == 0;

  GetDPIStage(ports, device);
  const DeviceState beforeRead = device;
  const int messagesBeforeRead = messages.count;
  ReadOperation(ports, device);
  if (messages.count != messagesBeforeRead) {
    fuzz::Require(device.status == beforeRead.status && device.image == beforeRead.image,
                  "a read refused at its status check changes nothing");
  }

  std::ostringstream shown;
  PrintMouseInfo(MouseLink{}, device, shown);
  PrintMemoryDump(device.image, shown);
  DeviceConfig config;
  for (std::size_t i = 0; i < DeviceConfig::kSize; ++i) {
    config.Bytes()[i] = input.Take();
  }
  EncodeConstantTables(device.image);
  EncodeDeviceConfig(config, device.image);
  PrintSettings(config, SensorVariantOf(device.image), shown);
  WriteOperation(ports, device);
  return 0;
}
