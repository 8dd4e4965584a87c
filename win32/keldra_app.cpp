#include "win32/keldra_app.h"

#include <commctrl.h>

#include "app/keldra_dlg.h"
#include "app/main_page_attachment.h"
#include "dialogs/key_function_dialog_runner.h"
#include "dialogs/skins_dialog_chooser.h"
#include "settings/executable_path.h"
#include "ui/png_decoder.h"
#include "win32/main_window.h"
#include "win32/message_params.h"
#include "win32/running_programs.h"

namespace q8 {
namespace {

// The system dialog class's atom.
constexpr std::uintptr_t kSystemDialogClass = 0x8002;

// Every standard control class: lists, statics, edits and whatever a dialog may add.
constexpr DWORD kAllControlClasses = 0xFF;

// Exit code of a start that could not make its window.
constexpr int kStartFailed = 1;

}  // namespace

bool CKeldraApp::RegisterMainWindowClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  if (!::GetClassInfoExW(nullptr, win32::ResourceId(kSystemDialogClass), &windowClass)) {
    return false;
  }
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = win32::kMainWindowClass;
  return ::RegisterClassExW(&windowClass) != 0;
}

int CKeldraApp::Run() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = kAllControlClasses;
  ::InitCommonControlsEx(&controls);

  if (!RegisterMainWindowClass()) {
    return kStartFailed;  // no window, no message
  }
  // The decoder starts GDI+ and keeps its token; GDI+ shuts down when it ends, after the window.
  PngDecoder decoder;
  // The data files and the skins live beside the executable.
  state_.executable = ExecutablePath().value_or(std::filesystem::path());
  win32::MainWindow window(instance_);
  if (const auto stateFile = mouse_.SimulatedStateFile()) {
    window.WatchSimulatedMouse(*stateFile);
  }
  CKeldraDlg dialog(state_, window, mouse_, decoder);
  // The key-function dialogs and the skin chooser open over the main window, reading the same
  // state and decoder.
  const DialogEnvironment dialogs{state_, decoder, window.PlatformVersion()};
  KeyFunctionDialogRunner keyDialogs(window, dialogs);
  SkinsDialogChooser skinChooser(window, dialogs);
  dialog.SetSkinChooser(&skinChooser);
  win32::Win32RunningPrograms programs;
  ProfilesDialogRunner profilesDialog(window, dialogs, programs);
  dialog.SetProfilesDialog(&profilesDialog);
  const auto page = AttachMainPage(dialog, keyDialogs);
  const int exitCode = window.Run(dialog);
  return exitCode < 0 ? kStartFailed : exitCode;
}

}  // namespace q8
