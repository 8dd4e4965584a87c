// The simulated mouse's state file as anyone may leave it: any bytes. Loaded as q8ctl --simulate
// loads it; a memory that loads is then read and written through the protocol by the tool's own
// operations, with every change saved back, and must load again as the mouse left it.
#include "device/device_operations.h"
#include "device/mouse_state_file.h"
#include "fuzz/fuzz_support.h"

namespace q8 {
namespace {

const fuzz::ScratchFolder scratch;

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
  const auto stateFile = scratch / "mouse-state.bin";
  fuzz::WriteInput(stateFile, fuzz::Bytes(data, size));
  std::string error;
  const auto memory = LoadOrCreateMouseStateFile(stateFile, error);
  fuzz::Require(memory.has_value() == (size == kMouseStateFileSize),
                "exactly the files of the right size load");
  fuzz::Require(memory.has_value() == error.empty(), "a refused file says why");
  if (!memory) {
    return 0;
  }

  PersistentSimulatedMouse mouse(stateFile, *memory);
  NoSleeper sleeper;
  CountingMessages messages;
  const ProtocolPorts ports{mouse.Mouse().ShortChannel(), mouse.Mouse().PageChannel(), sleeper,
                            messages, "not detected"};
  DeviceState device;
  device.ResetForDiscovery();
  ReadOperation(ports, device);
  fuzz::Require(messages.count == 0, "the simulated mouse answers");
  fuzz::Require(device.image == memory->image && device.status == memory->status,
                "the tool reads what the state file holds");
  device.status.dpiStage = static_cast<std::uint8_t>(device.status.dpiStage + 1);
  device.image.At(2, 5) ^= 0xFF;
  WriteOperation(ports, device);
  fuzz::Require(!mouse.SaveError(), "the state file is saved");

  const auto reloaded = LoadOrCreateMouseStateFile(stateFile, error);
  fuzz::Require(reloaded && reloaded->image == device.image && reloaded->status == device.status,
                "the state file holds what the tool wrote");
  return 0;
}
