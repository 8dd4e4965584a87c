#include "win32/main_window.h"

#include <shellapi.h>

#include "app/keldra_dlg.h"
#include "ui/device_scale.h"
#include "win32/dialog_template.h"
#include "win32/dialog_window.h"
#include "win32/message_params.h"
#include "win32/wide_text.h"
#include "win32/window_scale.h"
#include "win32/window_surface.h"

namespace q8::win32 {
namespace {

constexpr wchar_t kInstanceMutexName[] = L"Tarnix Q8-617Mutex";

// The main window's template: a visible pop-up without caption or border, centred, of the class
// "TarnixQ8Class", named after the program, in "宋体" 12 points. Its size is replaced by the skin's
// at initialisation; in that font (8 x 16 pixel base units at 96 DPI) it already matches the
// delivered skins, so the window the skin resizes stays centred. The canvas is copied to the
// window's own pixels only, so the settings page's lists and value texts stay on top of it.
DialogTemplateLayout MainWindowTemplate() {
  DialogTemplateLayout layout;
  layout.style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | DS_CENTER | DS_SETFONT;
  layout.width = 438;
  layout.height = 324;
  layout.windowClass = kMainWindowClass;
  layout.title = ToWide(kMainWindowTitle);
  layout.pointSize = 12;
  layout.face = L"\u5B8B\u4F53";  // 宋体
  return layout;
}

// Removes a hook when the modal run it serves ends.
class HookGuard {
 public:
  explicit HookGuard(HHOOK hook) : hook_(hook) {}
  ~HookGuard() {
    if (hook_ != nullptr) {
      ::UnhookWindowsHookEx(hook_);
    }
  }
  HookGuard(const HookGuard&) = delete;
  HookGuard& operator=(const HookGuard&) = delete;

 private:
  HHOOK hook_;
};

// Messages whose dialog-procedure answer is the result itself rather than DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_QUERYDRAGICON:
      return true;
    default:
      return false;
  }
}

// The window whose modal loop the message filter serves. A hook procedure gets no context of its
// own, and there is one main window per process.
MainWindow* loopWindow = nullptr;

}  // namespace

// The tray takes a small icon: loaded at the size the system asks for at its scale, rather than
// the large one shrunk.
MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance),
      icon_(::LoadIconW(instance, ResourceId(kApplicationIconId))),
      smallIcon_(static_cast<HICON>(::LoadImageW(instance, ResourceId(kApplicationIconId),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0))) {}

MainWindow::~MainWindow() {
  if (smallIcon_ != nullptr) {
    ::DestroyIcon(smallIcon_);
  }
}

int MainWindow::Run(CKeldraDlg& controller) {
  controller_ = &controller;
  const std::vector<WORD> dialogTemplate = BuildDialogTemplate(MainWindowTemplate());
  // The modal loop hands every message to this filter before it dispatches it (and before the
  // dialog's own keyboard handling, which would take Enter for the default button).
  const HookGuard hook(
      ::SetWindowsHookExW(WH_MSGFILTER, MessageFilter, nullptr, ::GetCurrentThreadId()));
  loopWindow = this;
  const INT_PTR result = ::DialogBoxIndirectParamW(instance_, AsTemplate(dialogTemplate), nullptr,
                                                   DialogProc, reinterpret_cast<LPARAM>(this));
  loopWindow = nullptr;
  controller_ = nullptr;
  return result == -1 ? -1 : exitCode_;
}

INT_PTR CALLBACK MainWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<MainWindow*>(lParam)->OnInitDialog(window);
    return TRUE;
  }
  auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr || self->controller_ == nullptr) {
    return FALSE;  // before WM_INITDIALOG
  }
  const std::optional<LRESULT> result = self->Handle(message, wParam, lParam);
  if (!result) {
    return FALSE;
  }
  if (AnswersDirectly(message)) {
    return static_cast<INT_PTR>(*result);
  }
  ::SetWindowLongPtrW(window, DWLP_MSGRESULT, *result);
  return TRUE;
}

LRESULT CALLBACK MainWindow::MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX && loopWindow != nullptr &&
      loopWindow->FilterLoopMessage(*reinterpret_cast<const MSG*>(lParam))) {
    return 1;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool MainWindow::FilterLoopMessage(const MSG& message) {
  if (window_ == nullptr || controller_ == nullptr ||
      (message.hwnd != window_ && !::IsChild(window_, message.hwnd))) {
    return false;  // a message of a dialog or message box run over the main window
  }
  if (message.message == WM_MOUSEMOVE) {
    controller_->OnPointerMove(CursorInClient(window_));
    return false;
  }
  if (message.message == WM_KEYDOWN) {
    return controller_->OnKeyDown(static_cast<int>(message.wParam));
  }
  return false;
}

void MainWindow::OnInitDialog(HWND window) {
  window_ = window;
  KeepSystemDialogScalingOut(window);
  controls_.SetParent(window);
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  LetThroughFromOtherPrograms();
  controller_->OnInitDialog();
  // The program in front now, then at every change.
  foreground_.emplace(window_, [this](const FrontProgram& program) {
    controller_->OnForegroundProgram(program.name, program.thisProgram, program.windowsProgram);
  });
  // Ended as by the tray menu's Exit, on the window's thread.
  endRequest_.emplace([window = window_] {
    ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(kCommandExit), 0);
  });
}

// The tool asks for administrator rights, and the system then drops window messages that programs
// of a lower integrity level send it. Two must come through: the status notification, which any
// program may send, and "TaskbarCreated", which Explorer (never elevated) broadcasts after a
// restart so that the tray icon can come back. ChangeWindowMessageFilterEx lets them through to
// this window alone; the older ChangeWindowMessageFilter would open the whole process.
void MainWindow::LetThroughFromOtherPrograms() {
  ::ChangeWindowMessageFilterEx(window_, kStatusNotifyMessage, MSGFLT_ALLOW, nullptr);
  ::ChangeWindowMessageFilterEx(window_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
}

std::optional<LRESULT> MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  CKeldraDlg& dlg = *controller_;
  switch (message) {
    case WM_NCPAINT:
      return dlg.OnNcPaint() ? std::optional<LRESULT>(0) : std::nullopt;
    case WM_ERASEBKGND:
      dlg.OnEraseBackground();
      return TRUE;
    case WM_PAINT:
      return HandlePaint();
    case WM_QUERYDRAGICON:
      return reinterpret_cast<LRESULT>(icon_);
    case WM_LBUTTONDOWN:
      dlg.OnLButtonDown(SkinPointOf(window_, PointOf(lParam)));
      return std::nullopt;  // the default handling of the press follows
    case WM_MOUSEMOVE:
      dlg.OnMouseMove(SkinPointOf(window_, PointOf(lParam)));
      return 0;
    case WM_MOUSEHOVER:
      dlg.OnMouseHover(SkinPointOf(window_, PointOf(lParam)));
      return 0;
    case WM_MOUSELEAVE:
      dlg.OnMouseLeave();
      return 0;
    case WM_MOUSEWHEEL:
      dlg.OnMouseWheel(WheelDelta(wParam));
      return 0;
    case WM_CLOSE:
      dlg.OnClose();
      return 0;
    case WM_TIMER:
      if (wParam == ForegroundSources::kTimerId && foreground_) {
        foreground_->OnTimer();
        return 0;
      }
      return std::nullopt;
    case kDpiChangedMessage:
      OnDpiChanged(wParam, lParam);
      return 0;
    case WM_COMMAND:
      return HandleCommand(wParam, lParam);
    case WM_DESTROY:
      OnDestroy();
      return std::nullopt;
    case WM_NCDESTROY:
      ForgetAnnouncedScale(window_);
      return std::nullopt;
    case WM_DEVICECHANGE:
      ForwardDeviceChange(dlg, wParam, lParam);
      return TRUE;
    case kTrayCallbackMessage:
      dlg.OnTrayCallback(LowWord(static_cast<std::uintptr_t>(lParam)));
      return 0;
    case kStatusNotifyMessage:
      dlg.OnStatusNotify(static_cast<std::uintptr_t>(wParam), static_cast<std::intptr_t>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT: {
      const ControlId id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      const INT_PTR brush = controls_.AnswerControlColor(message, reinterpret_cast<HDC>(wParam),
                                                         dlg.ControlColor(id));
      return brush != 0 ? std::optional<LRESULT>(brush) : std::nullopt;
    }
    default:
      if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        dlg.OnTaskbarCreated();
        return 0;
      }
      return std::nullopt;
  }
}

std::optional<LRESULT> MainWindow::HandleCommand(WPARAM wParam, LPARAM lParam) {
  const auto id = static_cast<ControlId>(LowWord(wParam));
  if (lParam == 0) {
    controller_->OnCommand(id);  // the tray menu
    return 0;
  }
  switch (HighWord(wParam)) {
    case LBN_SELCHANGE:
      controller_->OnListNotification(id, ListEvent::kSelectionChange);
      return 0;
    case LBN_DBLCLK:
      controller_->OnListNotification(id, ListEvent::kDoubleClick);
      return 0;
    default:
      return std::nullopt;
  }
}

// Minimised, the window shows the application icon centred in its client area; otherwise the
// skin is drawn on background erasure and the default painting only validates.
std::optional<LRESULT> MainWindow::HandlePaint() {
  if (!::IsIconic(window_)) {
    return std::nullopt;
  }
  PAINTSTRUCT paint{};
  const HDC dc = ::BeginPaint(window_, &paint);
  ::SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  ::GetClientRect(window_, &client);
  const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(dc, x, y, icon_);
  ::EndPaint(window_, &paint);
  return 0;
}

void MainWindow::OnDestroy() {
  foreground_.reset();
  controller_->OnDestroy();
  trayIcon_.Delete();
  controls_.OnParentDestroyed();
}

// --- Messages and dialogs ------------------------------------------------------------------------

void MainWindow::ShowMessage(std::string_view text, std::string_view caption) {
  ::MessageBoxW(window_, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK);
}

DialogResult MainWindow::RunDialog(DialogController& dialog) {
  return RunSkinnedDialog(window_, dialog);
}

// --- Start-up ------------------------------------------------------------------------------------

bool MainWindow::ClaimSingleInstance() {
  instanceMutex_.Reset(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
  const DWORD error = ::GetLastError();
  // Access is denied when the running copy made the mutex in another security context.
  return error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED;
}

void MainWindow::SetUpWindowStyle() {
  ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  // A tool window gets no task-bar button: the tool lives in the notification area.
  const LONG_PTR exStyle = ::GetWindowLongPtrW(window_, GWL_EXSTYLE);
  ::SetWindowLongPtrW(window_, GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
}

bool MainWindow::RegisterDeviceNotifications() {
  if (!deviceNotifications_.Register(window_)) {
    return false;
  }
  return !simulatedStateFile_ || simulatedPlug_.Start(window_, *simulatedStateFile_);
}

OsVersion MainWindow::PlatformVersion() const {
  // GetVersion answers as the manifest lets it: without a compatibility section, 6.2 on every
  // system from Windows 8 on, which is what the choice of the Chinese font expects.
  const DWORD version = ::GetVersion();
  return {LowWord(version) & 0xFF, (LowWord(version) >> 8) & 0xFF};
}

// --- The window ----------------------------------------------------------------------------------

void MainWindow::ShowWindow() {
  ::ShowWindow(window_, SW_SHOW);
}

void MainWindow::HideWindow() {
  ::ShowWindow(window_, SW_HIDE);
}

void MainWindow::BringToForeground() {
  ::SetForegroundWindow(window_);
}

void MainWindow::StartDrag(Point point) {
  // The press of a caption bar, which the window lacks: the system then moves the window with the
  // pointer until the button is released.
  const double scale = WindowScale(window_);
  POINT onScreen{ToDevice(point.x, scale), ToDevice(point.y, scale)};
  ::ClientToScreen(window_, &onScreen);
  ::PostMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, PackPoint(onScreen.x, onScreen.y));
}

void MainWindow::SetBusy(bool busy) {
  if (busy) {
    cursorBeforeBusy_ = ::SetCursor(::LoadCursorW(nullptr, ResourceId(32514)));  // IDC_WAIT
  } else {
    ::SetCursor(cursorBeforeBusy_ != nullptr ? cursorBeforeBusy_
                                             : ::LoadCursorW(nullptr, ResourceId(32512)));  // arrow
    cursorBeforeBusy_ = nullptr;
  }
}

// --- The system ----------------------------------------------------------------------------------

void MainWindow::OpenAddress(std::string_view address) {
  ::ShellExecuteW(window_, L"open", ToWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MainWindow::EndProcess(int exitCode) {
  exitCode_ = exitCode;
  if (::IsWindowEnabled(window_)) {
    // Ends the modal loop once the current message is handled; the window is then destroyed and
    // the application object ends the process with this code.
    ::EndDialog(window_, exitCode);
    return;
  }
  // A message box, a dialog or the colour chooser runs its own loop over the window (each
  // disables its owner while it runs). The main loop would end only when that one ends, and a box
  // opened while a sent message was handled may never end: the process would run on without
  // window or tray icon, holding the single-instance mutex. End it here instead, after the
  // window's destroy handling; the system destroys the windows with the process.
  OnDestroy();
  ::ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace q8::win32
