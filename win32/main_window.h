#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "app/main_window_host.h"
#include "win32/device_notification.h"
#include "win32/foreground_sources.h"
#include "win32/gdi_font.h"
#include "win32/gdi_text_painter.h"
#include "win32/native_controls.h"
#include "win32/program_copies.h"
#include "win32/simulated_plug_notifier.h"
#include "win32/tray_icon.h"
#include "win32/unique_handle.h"

namespace q8 {
class CKeldraDlg;
}

namespace q8::win32 {

// The status notification other programs send the main window: type in wParam, value in lParam.
inline constexpr UINT kStatusNotifyMessage = WM_USER + 2;
// The main window's class, by which other programs find it.
inline constexpr wchar_t kMainWindowClass[] = L"TarnixQ8Class";
// The application icon in the executable's resources.
inline constexpr WORD kApplicationIconId = 720;

// The main window as a real window: a modal dialog of the class "TarnixQ8Class" over an in-memory
// template, whose messages go to the controller's On... handlers, and the MainWindowHost the
// controller acts through.
class MainWindow final : public NativeControlsOf<MainWindowHost> {
 public:
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Runs the window modally with `controller` handling its messages, until EndProcess. Returns
  // the exit code EndProcess was given (-1 when the dialog could not be created).
  int Run(CKeldraDlg& controller);
  // The state file of the simulated mouse whose cable `q8ctl unplug` and `plug` move: its
  // notifications reach the window with the system's. Set before Run.
  void WatchSimulatedMouse(std::filesystem::path stateFile) {
    simulatedStateFile_ = std::move(stateFile);
  }

  // SkinWindowHost
  Rect ClientRect() const override;
  void CopyToWindow(const Canvas& source, Rect area) override;
  double PixelRatio() const override;
  void ResizeClient(int width, int height) override;
  void TrackMouse(bool alsoLeave, unsigned hoverMs) override;

  // MessageSink
  void ShowMessage(std::string_view text, std::string_view caption) override;

  // DialogRunner
  DialogResult RunDialog(DialogController& dialog) override;

  // MainWindowHost
  bool ClaimSingleInstance() override;
  void SetUpWindowStyle() override;
  bool RegisterDeviceNotifications() override;
  void SetFonts(const LanguageFonts& fonts) override;
  OsVersion PlatformVersion() const override;
  TextPainter& Text() override { return textPainter_; }
  void ShowWindow() override;
  void HideWindow() override;
  void BringToForeground() override;
  void StartDrag(Point point) override;
  void SetBusy(bool busy) override;
  void AddTrayIcon(std::string_view tip) override;
  void ShowBalloon(const TrayBalloon& balloon) override;
  void DeleteTrayIcon() override;
  void ShowTrayMenu(std::string_view exitText) override;
  void ShowTrayMenuWithProfiles(std::string_view exitText, const ProfileMenu& profiles) override;
  void SetTrayTip(std::string_view tip) override;
  void OpenAddress(std::string_view address) override;
  void EndProcess(int exitCode) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam);

  // One message of the window; nothing when the default handling applies.
  std::optional<LRESULT> Handle(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> HandleCommand(WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> HandlePaint();
  void OnInitDialog(HWND window);
  void OnDestroy();
  void OnDpiChanged(WPARAM wParam, LPARAM lParam);
  // A message of the modal loop before it is dispatched; true when it is consumed.
  bool FilterLoopMessage(const MSG& message);
  void LetThroughFromOtherPrograms();

  HINSTANCE instance_;
  HWND window_ = nullptr;
  CKeldraDlg* controller_ = nullptr;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;  // the tray's, ours to destroy
  UINT taskbarCreated_ = 0;
  UniqueHandle instanceMutex_;
  DeviceNotificationRegistration deviceNotifications_;
  std::optional<std::filesystem::path> simulatedStateFile_;
  SimulatedPlugNotifier simulatedPlug_;
  TrayIcon trayIcon_;
  // The program in front, for the profile rules.
  std::optional<ForegroundSources> foreground_;
  // The setup program's request to end, from any session.
  std::optional<EndRequestListener> endRequest_;
  UniqueFont normalFont_;
  UniqueFont titleFont_;
  GdiTextPainter textPainter_{nullptr, nullptr};
  HCURSOR cursorBeforeBusy_ = nullptr;
  int exitCode_ = 0;
};

}  // namespace q8::win32
