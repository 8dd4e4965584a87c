#include "app/program_in_front.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace q8 {
namespace {

// Records what is handed on (the name, "this" for this program, "-" for no program) and runs the
// timer when a step says the time passed.
class Recorder final : public ProgramInFrontTracker::Listener, public TimerPort {
 public:
  void OnProgramInFront(const FrontProgram& program) override {
    handed.push_back(program.thisProgram    ? "this"
                     : program.name.empty() ? "-"
                                            : program.name + (program.windowsProgram ? "*" : ""));
  }
  void Start(unsigned milliseconds) override { running = milliseconds; }
  void Stop() override { running = 0; }
  std::vector<std::string> handed;
  unsigned running = 0;
};

using Step = std::function<void(ProgramInFrontTracker&, Recorder&)>;

Step X(std::string program, std::string windowClass = {}, bool windowsProgram = false) {
  return [=](ProgramInFrontTracker& t, Recorder&) {
    t.OnSystemWindow(SystemWindow{program, windowsProgram, false, windowClass, {}});
  };
}
Step XOwn() {
  return [](ProgramInFrontTracker& t, Recorder&) {
    t.OnSystemWindow(SystemWindow{"tarnix-q8", false, true, {}, {}});
  };
}
Step XNone() {
  return [](ProgramInFrontTracker& t, Recorder&) { t.OnSystemWindow(std::nullopt); };
}
Step Wl(std::string appId, std::string program = {}, bool ownProcess = false) {
  return [=](ProgramInFrontTracker& t, Recorder&) {
    t.OnCompositorWindow(CompositorWindow{appId, program, false, ownProcess});
  };
}
Step WlNone() {
  return [](ProgramInFrontTracker& t, Recorder&) { t.OnCompositorWindow(std::nullopt); };
}
Step WlGone() {
  return [](ProgramInFrontTracker& t, Recorder&) { t.OnCompositorGone(); };
}
Step Focus(bool focused) {
  return [=](ProgramInFrontTracker& t, Recorder&) { t.OnOwnFocus(focused); };
}
// The settling time passes: a running timer runs out.
Step Later() {
  return [](ProgramInFrontTracker& t, Recorder& r) {
    if (r.running >= ProgramInFrontTracker::kSettleMilliseconds) {
      r.running = 0;
      t.OnTimer();
    }
  };
}

struct Row {
  const char* what;
  bool compositor;  // the compositor publishes its windows
  bool xServer;     // an X server (Xwayland) is there
  std::vector<Step> steps;
  std::vector<std::string> handed;
};

TEST(ProgramInFrontTrackerTest, MakesOneProgramInFrontOfTheDesktopsSources) {
  const std::vector<Row> rows = {
      {"X11: the active window at start-up is handed on at once",
       false,
       true,
       {X("game")},
       {"game"}},
      {"X11: a moment with no active window loads nothing",
       false,
       true,
       {X("game"), XNone(), X("game"), Later()},
       {"game"}},
      {"X11: no active window that lasts is the bare desktop",
       false,
       true,
       {X("game"), XNone(), Later()},
       {"game", "-"}},
      {"X11: a brief nothing, then another program: that program, once",
       false,
       true,
       {X("game"), XNone(), X("editor"), Later()},
       {"game", "editor"}},
      {"X11: this program's own window changes nothing, and ends a nothing that waited",
       false,
       true,
       {X("game"), XNone(), XOwn(), Later()},
       {"game"}},
      {"Wayland without a window list: this program's focus makes Xwayland's nothing its own",
       false,
       true,
       {X("game.exe", "game.exe", true), XNone(), Focus(true), Later()},
       {"game.exe*"}},
      {"... and the focus gone with nothing in front: the bare desktop after the wait",
       false,
       true,
       {X("game"), Focus(true), XNone(), Focus(false), Later()},
       {"game", "-"}},
      {"wlroots: an Xwayland window is named by the X window's process",
       true,
       true,
       {X("notepad.exe", "notepad.exe", true), Wl("notepad.exe"), Later()},
       {"notepad.exe*"}},
      {"wlroots: the compositor first, the X server's word after: the .exe, never the app_id",
       true,
       true,
       {XNone(), Wl("notepad.exe"), X("notepad.exe", "notepad.exe", true), Later()},
       {"notepad.exe*"}},
      {"the compositor gone: the X server's word leads again, not the compositor's last",
       true,
       true,
       {X("notepad.exe", "notepad.exe", true), Wl("notepad.exe"), WlGone(), X("editor"), Later()},
       {"notepad.exe*", "editor"}},
      {"wlroots: a native window is named by its app_id once the X server stayed silent",
       true,
       true,
       {XNone(), Wl("foot"), Later()},
       {"foot"}},
      {"wlroots: an X window left active by the X server is not taken for a native one",
       true,
       true,
       {X("game", "game"), Wl("org.gnome.Nautilus"), Later()},
       {"game", "org.gnome.Nautilus"}},
      {"wlroots without Xwayland: a native window at once", true, false, {Wl("foot")}, {"foot"}},
      {"wlroots: this program's own app_id changes nothing",
       true,
       true,
       {XNone(), Wl("foot"), Later(), Wl("tarnix-q8"), Later()},
       {"foot"}},
      {"wlroots: a moment with no activated window loads nothing",
       true,
       false,
       {Wl("foot"), WlNone(), Wl("foot"), Later()},
       {"foot"}},
      {"wlroots: no activated window that lasts is the bare desktop",
       true,
       false,
       {Wl("foot"), WlNone(), Later()},
       {"foot", "-"}},
      {"KDE: the window's process names it at once, Xwayland's or not",
       true,
       true,
       {Wl("org.kde.dolphin", "dolphin"), Wl("steam_app_1", "game.exe")},
       {"dolphin", "game.exe"}},
      {"KDE: this program's process changes nothing",
       true,
       true,
       {Wl("org.kde.dolphin", "dolphin"), Wl("whatever", "tarnix-q8", true), Later()},
       {"dolphin"}},
  };
  for (const Row& row : rows) {
    Recorder recorder;
    ProgramInFrontTracker tracker(recorder, recorder, "tarnix-q8");
    if (row.compositor) {
      tracker.UseCompositor();
    }
    if (row.xServer) {
      tracker.UseWindowSystem();
    }
    for (const Step& step : row.steps) {
      step(tracker, recorder);
    }
    EXPECT_EQ(recorder.handed, row.handed) << row.what;
  }
}

}  // namespace
}  // namespace q8
