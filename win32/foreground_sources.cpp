#include "win32/foreground_sources.h"

namespace q8::win32 {

// Windows programs have no app_id: the tracker is given none.
ForegroundSources::ForegroundSources(HWND window, Handler handler)
    : window_(window),
      handler_(std::move(handler)),
      tracker_(*this, *this, {}),
      hook_([this](const std::string& program, bool thisProcess) {
        tracker_.OnSystemWindow(SystemWindow{program, false, thisProcess, {}, {}});
      }) {
  tracker_.UseWindowSystem();
  if (auto front = ForegroundHook::WindowInFront()) {
    tracker_.OnSystemWindow(std::move(front));
  }
}

ForegroundSources::~ForegroundSources() {
  Stop();
}

void ForegroundSources::OnTimer() {
  Stop();
  tracker_.OnTimer();
}

void ForegroundSources::Start(unsigned milliseconds) {
  ::SetTimer(window_, kTimerId, milliseconds, nullptr);
}

void ForegroundSources::Stop() {
  ::KillTimer(window_, kTimerId);
}

}  // namespace q8::win32
