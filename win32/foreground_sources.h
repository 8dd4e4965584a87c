#pragma once

#include <windows.h>

#include <functional>

#include "app/program_in_front.h"
#include "win32/foreground_hook.h"

namespace q8::win32 {

// The program in front for the profile rules: the foreground hook's word, and the window in front
// at start-up, made one by the core's ProgramInFrontTracker, whose timer is a window timer of the
// main window (WM_TIMER with kTimerId).
class ForegroundSources final : private TimerPort, private ProgramInFrontTracker::Listener {
 public:
  static constexpr UINT_PTR kTimerId = 0x5133;
  using Handler = std::function<void(const FrontProgram& program)>;

  // Hooks the foreground events and hands on the program in front now.
  ForegroundSources(HWND window, Handler handler);
  ~ForegroundSources() override;
  ForegroundSources(const ForegroundSources&) = delete;
  ForegroundSources& operator=(const ForegroundSources&) = delete;

  // The window's timer kTimerId ran out.
  void OnTimer();

 private:
  void Start(unsigned milliseconds) override;
  void Stop() override;
  void OnProgramInFront(const FrontProgram& program) override { handler_(program); }

  HWND window_;
  Handler handler_;
  ProgramInFrontTracker tracker_;
  ForegroundHook hook_;
};

}  // namespace q8::win32
