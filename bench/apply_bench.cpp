// One apply against the simulated mouse with the protocol's real delays, beside the floor the
// protocol itself sets (read 500 ms, write 520 ms): what the tool adds on top is the difference.
#include <benchmark/benchmark.h>

#include "app/apply_settings.h"
#include "device/simulated_mouse.h"
#include "device/thread_sleeper.h"
#include "settings/config_file.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace q8 {
namespace {

constexpr double kReadFloorMs = 5 * 100;
constexpr double kWriteFloorMs = 20 + 5 * 100;

void BM_ReadOperationRealDelays(benchmark::State& state) {
  SimulatedMouse mouse;
  ThreadSleeper sleeper;
  test::SilentMessageSink messages;
  const ProtocolPorts ports{mouse.ShortChannel(), mouse.PageChannel(), sleeper, messages, ""};
  DeviceState device;
  device.ResetForDiscovery();
  for (auto _ : state) {
    ReadOperation(ports, device);
  }
  state.counters["protocol_floor_ms"] = kReadFloorMs;
}
BENCHMARK(BM_ReadOperationRealDelays)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ApplySettingsRealDelays(benchmark::State& state) {
  test::TempDir dir;
  const auto configBin = dir / "config.bin";
  test::WriteBytes(configBin, std::vector<std::uint8_t>(kConfigFileSize, 0));
  SimulatedMouse mouse;
  ThreadSleeper sleeper;
  test::SilentMessageSink messages;
  const ProtocolPorts ports{mouse.ShortChannel(), mouse.PageChannel(), sleeper, messages, ""};
  DeviceState device;
  device.ResetForDiscovery();
  ReadOperation(ports, device);
  SettingsRecord settings;
  for (auto _ : state) {
    ApplySettings(ports, device, settings, configBin);
  }
  state.counters["protocol_floor_ms"] = kWriteFloorMs;
}
BENCHMARK(BM_ApplySettingsRealDelays)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace q8
