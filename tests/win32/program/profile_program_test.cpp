// The tray program under Wine switching profiles as windows of other programs come to the front:
// Wine's notepad, then its registry editor, each coming to the front, and the simulated mouse
// checked for the profile the rules give that program; then Apply over the active profile, which
// the profile keeps when it comes back; then a default set by q8ctl, which holds at once.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

#include "app/profile_store.h"
#include "settings/config_file.h"
#include "support/fakes.h"
#include "win32/message_params.h"
#include "win32/program/program_driver.h"
#include "win32/tray_icon.h"

namespace q8::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(ProfileProgramTest, TheMouseTakesTheProfileOfTheProgramInFront) {
  ProgramFolder folder;
  SettingsRecord settings;
  RecordingMessageSink messages;
  LoadConfigFile(folder / "config.bin", settings, messages);
  Profile racing{settings.deviceConfig, "Setting-EN", {}};
  racing.config[field::ReportRateCode] = 4;
  Profile desktop = racing;
  desktop.config[field::ReportRateCode] = 8;
  const ProfileStore store(ProfileFolderIn(folder.path()));
  ASSERT_EQ(store.Folder(), folder / "Profiles");
  ASSERT_EQ(store.Save("Racing", racing), std::nullopt);
  ASSERT_EQ(store.Save("Desktop", desktop), std::nullopt);
  // The rule names the program in other letters: Windows matches names regardless of case.
  std::ofstream(store.Folder() / "rules.ini")
      << "[Rules]\r\nNOTEPAD.EXE=Racing\r\n[Default]\r\nProfile=Desktop\r\n";

  RunningProgram program(folder, {L"--simulate=mouse-state.bin"});
  const HWND window = program.WaitUntilReady();
  ASSERT_NE(window, nullptr);
  // No window is in front when the program starts (Wine's desktop has none): read once at
  // start-up, that is the bare desktop, which gets the default profile.
  ASSERT_EQ(MouseRateBecomes(folder / "mouse-state.bin", 8), 8) << "Desktop at start: 125 Hz";

  {
    OtherProgram notepad(L"notepad.exe");
    ASSERT_TRUE(notepad.Started());
    EXPECT_EQ(MouseRateBecomes(folder / "mouse-state.bin", 4), 4) << "Racing: 250 Hz";
  }
  // Another program without a rule comes to the front: the default profile.
  OtherProgram regedit(L"regedit.exe");
  ASSERT_TRUE(regedit.Started());
  EXPECT_EQ(MouseRateBecomes(folder / "mouse-state.bin", 8), 8) << "Desktop: 125 Hz";
  EXPECT_TRUE(program.Running());

  // The window shown from the tray, 500 Hz chosen on the page and applied over Desktop; after
  // Racing, Desktop comes back as applied.
  LRESULT answer = 0;
  ASSERT_TRUE(ShowFromTray(window));
  ASSERT_TRUE(SendAndWait(window, WM_LBUTTONDOWN, MK_LBUTTON, win32::PackPoint(720, 209), answer));
  ASSERT_TRUE(SendAndWait(window, WM_LBUTTONDOWN, MK_LBUTTON, win32::PackPoint(700, 630), answer));
  EXPECT_EQ(MouseRateBecomes(folder / "mouse-state.bin", 2), 2) << "applied: 500 Hz";
  {
    OtherProgram notepad(L"notepad.exe");
    ASSERT_TRUE(notepad.Started());
    EXPECT_EQ(MouseRateBecomes(folder / "mouse-state.bin", 4), 4) << "Racing: 250 Hz";
  }
  OtherProgram again(L"regedit.exe");
  ASSERT_TRUE(again.Started());
  EXPECT_EQ(MouseRateBecomes(folder / "mouse-state.bin", 2), 2) << "Desktop as applied: 500 Hz";

  // q8ctl's new default reaches the running program, whose program in front, without a rule of
  // its own, gets it at once.
  ASSERT_EQ(RunQ8ctl(folder, L"profile --config config.bin default Racing"), 0u);
  EXPECT_EQ(MouseRateBecomes(folder / "mouse-state.bin", 4), 4) << "Racing, the default now";
}

}  // namespace
}  // namespace q8::test
