#include "app/program_in_front.h"

namespace q8 {
namespace {

// Neither a program nor this one: no window is in front. It may be a passing state.
FrontProgram NoProgram() {
  return {};
}
FrontProgram ThisProgram() {
  return {{}, true, false};
}

}  // namespace

void ProgramInFrontTracker::OnSystemWindow(std::optional<SystemWindow> window) {
  system_ = std::move(window);
  Decide();
}

void ProgramInFrontTracker::OnCompositorWindow(std::optional<CompositorWindow> window) {
  compositor_ = std::move(window);
  Decide();
}

void ProgramInFrontTracker::OnOwnFocus(bool focused) {
  ownFocus_ = focused;
  Decide();
}

void ProgramInFrontTracker::OnTimer() {
  if (!waiting_) {
    return;
  }
  const FrontProgram waited = *std::exchange(waiting_, std::nullopt);
  const std::optional<Candidate> now = Current();
  if (now && now->program == waited) {
    HandOn(waited);
  }
}

ProgramInFrontTracker::Candidate ProgramInFrontTracker::FromSystem(
    const std::optional<SystemWindow>& window) const {
  if (!window || (window->program.empty() && !window->ownProcess)) {
    return {NoProgram(), false};
  }
  if (window->ownProcess) {
    return {ThisProgram()};
  }
  return {{window->program, false, window->windowsProgram}};
}

ProgramInFrontTracker::Candidate ProgramInFrontTracker::FromCompositor(
    const std::optional<CompositorWindow>& window) const {
  if (!window) {
    return {NoProgram(), false};
  }
  if (window->ownProcess || (!ownAppId_.empty() && window->appId == ownAppId_)) {
    return {ThisProgram()};
  }
  if (!window->program.empty()) {
    return {{window->program, false, window->windowsProgram}};
  }
  // An Xwayland window: the X server's active window, whose class the compositor gives as the
  // app_id, names its process (a game under Wine by its .exe).
  if (system_ && *system_ && !window->appId.empty() &&
      (window->appId == (*system_)->windowClass || window->appId == (*system_)->windowInstance)) {
    return FromSystem(*system_);
  }
  if (window->appId.empty()) {
    return {NoProgram(), false};
  }
  // A native Wayland window, unless the X server is about to name it as one of its own.
  return {{window->appId, false, false}, !windowSystemThere_};
}

std::optional<ProgramInFrontTracker::Candidate> ProgramInFrontTracker::Current() const {
  std::optional<Candidate> found;
  if (compositorPublishes_ && compositor_) {
    found = FromCompositor(*compositor_);
  } else if (system_) {
    found = FromSystem(*system_);
  }
  // A Wayland window of this program in front clears Xwayland's active window: with the focus
  // here, "nothing" is this program.
  if (ownFocus_ && (!found || found->program == NoProgram())) {
    return Candidate{ThisProgram()};
  }
  return found;
}

void ProgramInFrontTracker::Decide() {
  const std::optional<Candidate> now = Current();
  if (!now) {
    return;  // no source has spoken yet
  }
  if (now->program.thisProgram || now->program == handedOn_) {
    // The profile of the program before stays; a passing state that waited is over.
    waiting_.reset();
    timer_.Stop();
    return;
  }
  if (now->settled) {
    waiting_.reset();
    timer_.Stop();
    HandOn(now->program);
    return;
  }
  if (waiting_ == now->program) {
    return;  // its time runs already
  }
  waiting_ = now->program;
  timer_.Start(kSettleMilliseconds);
}

void ProgramInFrontTracker::HandOn(const FrontProgram& program) {
  handedOn_ = program;
  listener_.OnProgramInFront(program);
}

}  // namespace q8
