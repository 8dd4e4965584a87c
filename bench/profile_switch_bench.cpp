// A profile switch: from the moment the program in front changes to the mouse written, with the
// files saved and the shown page rebuilt, through the controller with the simulated mouse and the
// protocol's real delays. The floor is one apply (status set, five pages: 520 ms); the goal leaves
// 50 ms for reading rules.ini and the profile, the files and the page.
#include <benchmark/benchmark.h>

#include "app/keldra_dlg.h"
#include "app/main_page_attachment.h"
#include "app/profile_store.h"
#include "bench/delivered_files.h"
#include "device/simulated_hid_bus.h"
#include "device/simulated_mouse.h"
#include "device/thread_sleeper.h"
#include "support/fake_window_host.h"
#include "support/temp_dir.h"
#include "ui/png_decoder.h"

namespace q8 {
namespace {

constexpr double kWriteFloorMs = 20 + 5 * 100;

void BM_ProfileSwitchRealDelays(benchmark::State& state) {
  test::TempDir dir;
  bench::CopyDeliveredFiles(dir);
  SimulatedMouse mouse;
  SimulatedHidBus bus(mouse);
  ThreadSleeper sleeper;
  PngDecoder decoder;
  MouseConnection connection;
  connection.UseBus(bus, sleeper);
  AppState app;
  app.executable = dir / "TarnixMouseApp.exe";
  test::FakeMainWindowHost host;
  CKeldraDlg dialog(app, host, connection, decoder);
  CancelledKeyFunctionDialogs keyDialogs;
  const auto page = AttachMainPage(dialog, keyDialogs);
  dialog.OnInitDialog();
  dialog.OnNcPaint();
  dialog.OnNcPaint();
  dialog.OnTrayCallback(kTrayLeftButtonUp);  // the page built and shown

  const ProfileStore store(ProfileFolderIn(dir.path()));
  Profile profile{app.settings.deviceConfig, "Setting-EN", app.captions};
  profile.config[field::ReportRateCode] = 4;
  (void)store.Save("Game", profile);
  profile.config[field::ReportRateCode] = 8;
  (void)store.Save("Desktop", profile);
  const std::string rules = "[Rules]\ngame.exe=Game\n[Default]\nProfile=Desktop\n";
  test::WriteBytes(store.Folder() / "rules.ini",
                   std::vector<std::uint8_t>(rules.begin(), rules.end()));

  bool game = false;
  for (auto _ : state) {
    game = !game;
    dialog.OnForegroundProgram(game ? "game.exe" : "editor");
  }
  if (dialog.ActiveProfile() != (game ? "Game" : "Desktop")) {
    state.SkipWithError("the profile did not switch");
  }
  state.counters["protocol_floor_ms"] = kWriteFloorMs;
}
BENCHMARK(BM_ProfileSwitchRealDelays)->Unit(benchmark::kMillisecond)->Iterations(4)->UseRealTime();

}  // namespace
}  // namespace q8
