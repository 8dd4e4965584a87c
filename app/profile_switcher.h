#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace q8 {

// Whether a write of the mouse may start now.
enum class WriteGate {
  kOpen,     // the mouse is there, read whole, and nothing reads or writes it
  kBusy,     // a read or write runs (a box it raised may be open): later
  kNoMouse,  // the mouse is gone: not until it is found again
  kUnread,   // the mouse's memory was not read whole: a write would send back bytes never read
};

// A program in front: its executable's file name, and whether it is a Windows program run by Wine
// (whose name, as on Windows, matches regardless of letter case).
struct ProgramInFront {
  std::string name;
  bool windowsProgram = false;
  friend bool operator==(const ProgramInFront&, const ProgramInFront&) = default;
};

// What the switcher asks of the program it serves. Which profile is active, and whether the mouse
// holds it as its file now reads, the switcher does not keep: it asks.
class ProfileSwitchHost {
 public:
  virtual ~ProfileSwitchHost() = default;
  virtual WriteGate Gate() = 0;
  // The settings window is shown holding changes the user has not applied.
  virtual bool UnappliedEditsShown() = 0;
  // The profile the rules give `program` (nothing: no program in front, the default profile).
  virtual std::optional<std::string> ProfileForProgram(
      const std::optional<ProgramInFront>& program) = 0;
  // Whether the profile must be loaded for the mouse to hold it: it is not the active one, or its
  // file changed since it was loaded or saved.
  virtual bool NeedsLoad(const std::string& name) = 0;
  // Loads the profile into the mouse, the files and the page, and tells the user whether the
  // mouse took it whole. `byHand`: chosen by the user.
  virtual void LoadProfile(const std::string& name, bool byHand) = 0;
  // Tells the user of a profile chosen by hand that the gate refused.
  virtual void TellRefused(const std::string& name, WriteGate gate) = 0;
};

// Decides which profile the mouse gets and when: by the rules as programs come to the front, and
// by hand from the tray menu. It keeps the program in front and whether that program's switch
// waits; everything else it asks its host.
//
// A profile active already is loaded again when its file changed since. A switch by the rules waits
// while the settings window is shown with unapplied changes or a read or write runs; only the
// program in front can be waiting, and it stops waiting when the program in front needs no load any
// more. The rule tries again when the program in front changes. While the mouse's memory is not
// read whole, or the mouse is gone, rules switch nothing: the next whole read lets the program then
// in front have its profile. A choice by hand the gate refuses changes nothing: what waited still
// waits.
class ProfileSwitcher {
 public:
  explicit ProfileSwitcher(ProfileSwitchHost& host) : host_(host) {}
  ProfileSwitcher(const ProfileSwitcher&) = delete;
  ProfileSwitcher& operator=(const ProfileSwitcher&) = delete;

  // A program came to the front: its executable's name, or nothing when no program is (the bare
  // desktop). A program told again (its focus moved) changes nothing.
  void OnProgramInFront(std::optional<ProgramInFront> program);
  // Chosen from the tray menu: loaded at once, even over unapplied changes, when the gate is open.
  // The name is a copy: the menu's list may be made anew while a box of the load is open.
  void OnChosenByHand(std::string name);
  // What held a switch back may have ended: the window was hidden, the changes applied, a write
  // ended.
  void OnHoldMayHaveEnded();
  // The mouse was read (whole or not: the gate tells): a mouse read whole gets the profile of the
  // program in front.
  void OnMouseRead() { Decide(); }
  // The rules or the profiles they name changed (the profiles dialog): the program in front gets
  // what they give it now, without having to come to the front again.
  void OnRulesChanged() { Decide(); }

 private:
  void Decide();
  void Load(const std::string& name, bool byHand);

  ProfileSwitchHost& host_;
  // The program in front; the outer nothing: not told yet.
  std::optional<std::optional<ProgramInFront>> programInFront_;
  bool heldBack_ = false;
};

// Whether a top-level window of this class is one of the Windows shell's own: the taskbar (on each
// monitor), the notification area's overflow (as Windows 10 and 11 draw it). A click on them is on
// the way to the tray icon, not a change of the program in front.
bool IsShellWindowClass(std::string_view windowClass);

}  // namespace q8
