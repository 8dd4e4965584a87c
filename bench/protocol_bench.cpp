// The cost of the protocol itself, without its delays: scrambling and a whole read and write of
// the simulated mouse's memory.
#include <benchmark/benchmark.h>

#include "device/device_operations.h"
#include "device/report_scrambler.h"
#include "device/simulated_mouse.h"
#include "support/fakes.h"

namespace q8 {
namespace {

void BM_ScramblePayload(benchmark::State& state) {
  std::array<std::uint8_t, 64> payload{};
  for (auto _ : state) {
    ReportScrambler::ScramblePayload(payload);
    benchmark::DoNotOptimize(payload);
  }
}
BENCHMARK(BM_ScramblePayload);

void BM_ReadAndWriteSimulatedMouse(benchmark::State& state) {
  SimulatedMouse mouse;
  test::NoSleeper sleeper;
  test::SilentMessageSink messages;
  const ProtocolPorts ports{mouse.ShortChannel(), mouse.PageChannel(), sleeper, messages, ""};
  DeviceState device;
  device.ResetForDiscovery();
  for (auto _ : state) {
    ReadOperation(ports, device);
    WriteOperation(ports, device);
    benchmark::DoNotOptimize(device);
  }
}
BENCHMARK(BM_ReadAndWriteSimulatedMouse);

}  // namespace
}  // namespace q8
