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
  // The user's choice stands: a switch held back for an earlier program would undo it at once.
  heldBack_ = false;
  switch (loading_ ? WriteGate::kBusy : host_.Gate()) {
    case WriteGate::kNoMouse:
      host_.TellMouseMissing();
      return;
    case WriteGate::kBusy:
      // Its write would come between the reports of the one running.
      host_.TellNotLoaded(name, {});
      return;
    case WriteGate::kOpen:
      Load(name);
      return;
  }
}

void ProfileSwitcher::OnHoldMayHaveEnded() {
  if (heldBack_) {
    Decide();
  }
}

void ProfileSwitcher::OnMouseRead(bool whole) {
  if (!whole) {
    if (!switchingHalted_) {
      host_.TellSwitchingHalted();
    }
    switchingHalted_ = true;
    heldBack_ = false;
    return;
  }
  switchingHalted_ = false;
  // The program in front may have changed while the mouse was away.
  Decide();
}

void ProfileSwitcher::Decide() {
  heldBack_ = false;
  if (!programInFront_ || switchingHalted_) {
    return;
  }
  const std::optional<std::string> wanted = host_.ProfileForProgram(*programInFront_);
  if (!wanted || (wanted == active_ && !host_.ReplacedOnDisk(*wanted))) {
    return;
  }
  const WriteGate gate = loading_ ? WriteGate::kBusy : host_.Gate();
  if (gate == WriteGate::kNoMouse) {
    return;  // the mouse, once found and read, gets the profile of the program then in front
  }
  if (gate == WriteGate::kBusy || host_.UnappliedEditsShown()) {
    heldBack_ = true;
    return;
  }
  Load(*wanted);
}

void ProfileSwitcher::Load(const std::string& name) {
  loading_ = true;
  std::string problem;
  const bool whole = host_.LoadProfile(name, problem);
  loading_ = false;
  if (whole) {
    active_ = name;
    host_.TellLoaded(name);
  } else {
    host_.TellNotLoaded(name, problem);
  }
  // A program that came to the front while a box of the load was open.
  OnHoldMayHaveEnded();
}

}  // namespace q8
