#include "app/profile_switcher.h"

#include <utility>

namespace q8 {

bool IsShellWindowClass(std::string_view windowClass) {
  for (const std::string_view shell :
       {"Shell_TrayWnd", "Shell_SecondaryTrayWnd", "NotifyIconOverflowWindow",
        "TopLevelWindowForOverflowXamlIsland"}) {
    if (windowClass == shell) {
      return true;
    }
  }
  return false;
}

void ProfileSwitcher::OnProgramInFront(std::optional<ProgramInFront> program) {
  if (programInFront_ && *programInFront_ == program) {
    return;
  }
  programInFront_ = std::move(program);
  Decide();
}

void ProfileSwitcher::OnChosenByHand(std::string name) {
  const WriteGate gate = host_.Gate();
  if (gate != WriteGate::kOpen) {
    host_.TellRefused(name, gate);
    return;
  }
  // The user's choice stands: a switch held back for an earlier program would undo it at once.
  heldBack_ = false;
  Load(name, /*byHand=*/true);
}

void ProfileSwitcher::OnHoldMayHaveEnded() {
  if (heldBack_) {
    Decide();
  }
}

void ProfileSwitcher::Decide() {
  heldBack_ = false;
  if (!programInFront_) {
    return;
  }
  const std::optional<std::string> wanted = host_.ProfileForProgram(*programInFront_);
  if (!wanted) {
    return;
  }
  const WriteGate gate = host_.Gate();
  if (gate == WriteGate::kBusy) {
    // Which profile the mouse holds is known only once the running write has ended: a program
    // that came back to the front of the active profile during a box of another profile's load
    // needs its profile again afterwards.
    heldBack_ = true;
    return;
  }
  if (!host_.NeedsLoad(*wanted)) {
    return;
  }
  switch (gate) {
    case WriteGate::kBusy:  // held back above
    case WriteGate::kNoMouse:
    case WriteGate::kUnread:
      return;  // the next whole read of the mouse gives the program then in front its profile
    case WriteGate::kOpen:
      if (host_.UnappliedEditsShown()) {
        heldBack_ = true;
        return;
      }
      Load(*wanted, /*byHand=*/false);
      return;
  }
}

void ProfileSwitcher::Load(const std::string& name, bool byHand) {
  host_.LoadProfile(name, byHand);
  // A program that came to the front while a box of the load was open.
  OnHoldMayHaveEnded();
}

}  // namespace q8
