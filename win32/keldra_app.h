#pragma once

#include <windows.h>

#include "app/mouse_connection.h"
#include "model/app_state.h"

namespace q8 {

// The application object: sets up what every window of the process needs, then runs the main
// window modally until the tool ends. It owns the process-wide state the windows share.
class CKeldraApp {
 public:
  CKeldraApp(HINSTANCE instance, MouseConnection& mouse) : instance_(instance), mouse_(mouse) {}
  CKeldraApp(const CKeldraApp&) = delete;
  CKeldraApp& operator=(const CKeldraApp&) = delete;

  // Runs the tool; returns the process's exit code.
  int Run();

 private:
  // The main window's class: the system dialog class under the name "TarnixQ8Class", by which
  // other programs find the window. False when the system refuses it.
  bool RegisterMainWindowClass();

  HINSTANCE instance_;
  MouseConnection& mouse_;
  AppState state_;
};

}  // namespace q8
