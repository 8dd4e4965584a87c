// Start-up of the main window to the moment it waits in the tray, through the controller with
// the delivered files and skin and the real PNG decoder: without the mouse (goal under 100 ms),
// and with the simulated mouse and the protocol's real delays (goal within 50 ms of the 500 ms
// read floor). The first click on the tray icon after start-up is measured on the Linux program's
// own window (linux_gui/first_tray_click_bench.cpp).
#include <benchmark/benchmark.h>

#include "app/keldra_dlg.h"
#include "bench/delivered_files.h"
#include "device/simulated_hid_bus.h"
#include "device/simulated_mouse.h"
#include "device/thread_sleeper.h"
#include "support/fake_window_host.h"
#include "support/temp_dir.h"
#include "ui/png_decoder.h"

namespace q8 {
namespace {

constexpr double kReadFloorMs = 5 * 100;

void StartUp(benchmark::State& state, bool plugged) {
  test::TempDir dir;
  bench::CopyDeliveredFiles(dir);
  SimulatedMouse mouse;
  SimulatedHidBus bus(mouse);
  bus.SetPlugged(plugged);
  ThreadSleeper sleeper;
  PngDecoder decoder;
  for (auto _ : state) {
    MouseConnection connection;
    connection.UseBus(bus, sleeper);
    AppState app;
    app.executable = dir / "TarnixMouseApp.exe";
    test::FakeMainWindowHost host;
    CKeldraDlg dialog(app, host, connection, decoder);
    dialog.OnInitDialog();
    dialog.OnNcPaint();
    dialog.OnNcPaint();
    benchmark::DoNotOptimize(app.devicePresent);
  }
  if (plugged) {
    state.counters["protocol_floor_ms"] = kReadFloorMs;
  }
}

void BM_StartUpToReadyWithoutMouse(benchmark::State& state) {
  StartUp(state, false);
}
BENCHMARK(BM_StartUpToReadyWithoutMouse)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StartUpToReadyWithSimulatedMouse(benchmark::State& state) {
  StartUp(state, true);
}
BENCHMARK(BM_StartUpToReadyWithSimulatedMouse)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace
}  // namespace q8
