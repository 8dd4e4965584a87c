// The cost of encoding the settings record into the memory image, both halves, as every apply
// does it.
#include <benchmark/benchmark.h>

#include "device/settings_encoding.h"
#include "device/simulated_mouse.h"
#include "model/key_model.h"

namespace q8 {
namespace {

void BM_EncodeSettings(benchmark::State& state) {
  DeviceConfig config;
  ApplyDefaultKeyLayout(config);
  config[field::LightingMode] = 2;
  config[field::LightingEffect] = 2;
  DeviceImage image = FactoryMouseMemory().image;
  for (auto _ : state) {
    EncodeConstantTables(image);
    EncodeDeviceConfig(config, image);
    benchmark::DoNotOptimize(image);
  }
}
BENCHMARK(BM_EncodeSettings);

}  // namespace
}  // namespace q8
