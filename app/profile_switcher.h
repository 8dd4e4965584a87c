#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace q8 {

// Whether a write of the mouse may start now.
enum class WriteGate {
  kOpen,     // the mouse is there and nothing reads or writes it
  kBusy,     // a read or write runs (a box it raised may be open): later
  kNoMouse,  // the mouse is gone: not until it is found again
};

// A program in front: its executable's file name, and whether it is a Windows program run by Wine
// (whose name, as on Windows, matches regardless of letter case).
struct ProgramInFront {
  std::string name;
  bool windowsProgram = false;
  friend bool operator==(const ProgramInFront&, const ProgramInFront&) = default;
};

// What the switcher asks of the program it serves.
class ProfileSwitchHost {
 public:
  virtual ~ProfileSwitchHost() = default;
  virtual WriteGate Gate() = 0;
  // The settings window is shown holding changes the user has not applied.
  virtual bool UnappliedEditsShown() = 0;
  // The profile the rules give `program` (nothing: no program in front, the default profile).
  virtual std::optional<std::string> ProfileForProgram(
      const std::optional<ProgramInFront>& program) = 0;
  // The active profile needs writing again: its file was replaced while it was active (q8ctl's
  // import or save, a copy from elsewhere), or a load of another profile failed part-way since.
  virtual bool ReplacedOnDisk(const std::string& name) = 0;
  // Loads the profile into the mouse, the files and the page; true when the mouse was written
  // whole. A problem of the profile's file is told in `problem`.
  virtual bool LoadProfile(const std::string& name, std::string& problem) = 0;

  // What the user is told.
  virtual void TellLoaded(const std::string& name) = 0;
  virtual void TellNotLoaded(const std::string& name, const std::string& problem) = 0;
  // A profile chosen by hand while the mouse is gone.
  virtual void TellMouseMissing() = 0;
  // The mouse was not read whole: no switch by the rules until it is.
  virtual void TellSwitchingHalted() = 0;
};

// Decides which profile the mouse gets and when: by the rules as programs come to the front, and
// by hand from the tray menu. It keeps the program in front, whether that program's switch waits,
// and the active profile; the program it serves tells it of every event and answers its questions
// through the host.
//
// A profile active already is loaded again when its file no longer holds what was applied from it
// (replaced on disk, or another profile's failed load came between). A switch by the rules waits
// while the settings window is shown with unapplied changes or a read or write runs; only the
// program in front can be waiting, and it stops waiting when the program in front needs no load any
// more. A load that fails keeps the active profile; the rule tries again when the program in front
// changes. After a read of the mouse that was not whole, rules switch nothing until a read is whole
// again: their loads would write back bytes never read.
class ProfileSwitcher {
 public:
  explicit ProfileSwitcher(ProfileSwitchHost& host) : host_(host) {}
  ProfileSwitcher(const ProfileSwitcher&) = delete;
  ProfileSwitcher& operator=(const ProfileSwitcher&) = delete;

  // A program came to the front: its executable's name, or nothing when no program is (the bare
  // desktop). A program told again (its focus moved) changes nothing.
  void OnProgramInFront(std::optional<ProgramInFront> program);
  // Chosen from the tray menu: loaded at once, even over unapplied changes, unless a write runs.
  void OnChosenByHand(std::string name);
  // What held a switch back may have ended: the window was hidden, the changes applied, a write
  // ended.
  void OnHoldMayHaveEnded();
  // A mouse found was read: `whole` when every report was answered. A mouse read whole gets the
  // profile of the program in front.
  void OnMouseRead(bool whole);
  // Another program loaded a profile into the mouse: which one the mouse holds is not known.
  void OnLoadedElsewhere() { active_.reset(); }

  const std::optional<std::string>& ActiveProfile() const { return active_; }

 private:
  void Decide();
  void Load(const std::string& name);

  ProfileSwitchHost& host_;
  // The program in front; the outer nothing: not told yet.
  std::optional<std::optional<ProgramInFront>> programInFront_;
  bool heldBack_ = false;
  bool loading_ = false;
  bool switchingHalted_ = false;
  std::optional<std::string> active_;
};

// Whether a top-level window of this class is one of the Windows shell's own: the taskbar (on each
// monitor), the notification area's overflow (as Windows 10 and 11 draw it). A click on them is on
// the way to the tray icon, not a change of the program in front.
bool IsShellWindowClass(std::string_view windowClass);

}  // namespace q8
