#include "win32/skinned_dialog_host.h"

#include <string>

#include "ui/device_scale.h"
#include "win32/file_dialog.h"
#include "win32/message_params.h"
#include "win32/wide_text.h"
#include "win32/window_scale.h"
#include "win32/window_surface.h"

namespace q8::win32 {

SkinnedDialogHost::SkinnedDialogHost(HWND window, DialogController& controller)
    : window_(window), controller_(controller) {
  controls_.SetParent(window);
}

// --- Messages
// --------------------------------------------------------------------------------------

std::optional<INT_PTR> SkinnedDialogHost::HandleMessage(UINT message, WPARAM wParam,
                                                        LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      controller_.OnEraseBackground();
      ::SetWindowLongPtrW(window_, DWLP_MSGRESULT, 1);  // erased
      return TRUE;
    case WM_LBUTTONDOWN:
      controller_.OnLButtonDown(SkinPointOf(window_, PointOf(lParam)));
      return std::nullopt;
    case WM_MOUSEMOVE:
      controller_.OnMouseMove(SkinPointOf(window_, PointOf(lParam)));
      return std::nullopt;
    case WM_MOUSEHOVER:
      controller_.OnMouseHover(SkinPointOf(window_, PointOf(lParam)));
      return std::nullopt;
    case WM_MOUSEWHEEL:
      controller_.OnMouseWheel(WheelDelta(wParam));
      return std::nullopt;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT: {
      const auto control = reinterpret_cast<HWND>(lParam);
      const INT_PTR brush =
          controls_.AnswerControlColor(message, reinterpret_cast<HDC>(wParam),
                                       controller_.ControlColor(::GetDlgCtrlID(control)));
      return brush != 0 ? std::optional<INT_PTR>(brush) : std::nullopt;
    }
    case WM_COMMAND:
      return HandleCommand(wParam, lParam);
    case kDpiChangedMessage:
      // Moved to a monitor of another scale, or the scale changed under it: as the main window.
      TakeAnnouncedScale(window_, wParam, lParam, controls_);
      controller_.OnDisplayScaleChanged();
      ::SetWindowLongPtrW(window_, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_HELP:
      return TRUE;  // F1 opens no help: the single-key dialog captures it like any key
    case WM_DESTROY:
      controls_.OnParentDestroyed();
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<INT_PTR> SkinnedDialogHost::HandleCommand(WPARAM wParam, LPARAM lParam) {
  const auto id = static_cast<ControlId>(LowWord(wParam));
  if (lParam == 0) {
    // Enter and Escape, through the platform's dialog keys, and the close command.
    if (id == IDOK || id == IDCANCEL) {
      EndDialog(id == IDOK ? DialogResult::kOk : DialogResult::kCancel);
      return TRUE;
    }
    return std::nullopt;
  }
  switch (HighWord(wParam)) {
    case LBN_SELCHANGE:
      controller_.OnListNotification(id, ListEvent::kSelectionChange);
      return TRUE;
    case LBN_DBLCLK:
      controller_.OnListNotification(id, ListEvent::kDoubleClick);
      return TRUE;
    case EN_CHANGE:
      controller_.OnEditNotification(id, EditEvent::kChange);
      return TRUE;
    case EN_KILLFOCUS:
      controller_.OnEditNotification(id, EditEvent::kKillFocus);
      return TRUE;
    default:
      return std::nullopt;
  }
}

bool SkinnedDialogHost::PreTranslate(const MSG& message) {
  if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) {
    return false;  // a message box or the colour chooser over the dialog
  }
  if (message.message == WM_MOUSEMOVE) {
    controller_.OnPointerMove(CursorInClient(window_));
    return false;
  }
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
    return controller_.OnPreTranslateKey(
        {message.message == WM_KEYDOWN, static_cast<int>(message.wParam)});
  }
  return false;
}

// --- The window
// ------------------------------------------------------------------------------------

Rect SkinnedDialogHost::ClientRect() const {
  return ClientRectOf(window_);
}

void SkinnedDialogHost::CopyToWindow(const Canvas& source, Rect area) {
  CopyCanvasToWindow(window_, source, area);
}

double SkinnedDialogHost::PixelRatio() const {
  return WindowScale(window_);
}

void SkinnedDialogHost::ResizeClient(int width, int height) {
  ResizeWindowClient(window_, width, height);
}

void SkinnedDialogHost::TrackMouse(bool alsoLeave, unsigned hoverMs) {
  TrackWindowMouse(window_, alsoLeave, hoverMs);
}

void SkinnedDialogHost::DestroyControl(ControlId id) {
  if (HWND control = ::GetDlgItem(window_, id)) {
    TakeFocusFrom(control);
  }
  controls_.DestroyControl(id);
}

void SkinnedDialogHost::TakeFocusFrom(HWND control) {
  HWND focus = ::GetFocus();
  if (focus != nullptr && (focus == control || (control == nullptr && ::IsChild(window_, focus)))) {
    ::SetFocus(window_);  // the edit reports EN_KILLFOCUS before this returns
  }
}

// --- Dialog services
// -------------------------------------------------------------------------------

void SkinnedDialogHost::ShowMessage(std::string_view text, std::string_view caption) {
  ::MessageBoxW(window_, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK);
}

bool SkinnedDialogHost::AskYesNo(std::string_view text, std::string_view caption) {
  return ::MessageBoxW(window_, ToWide(text).c_str(), ToWide(caption).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

std::optional<std::filesystem::path> SkinnedDialogHost::ChooseFile(const FileChoice& choice) {
  return RunFileDialog(window_, choice);
}

void SkinnedDialogHost::SetFont(const FontRequest& font) {
  font_ = CreateGdiFont(ScaledFont(font, WindowScale(window_)));
  controls_.SetFont(font_.Get());
  text_ = GdiTextPainter(font_.Get(), font_.Get());
}

void SkinnedDialogHost::EndDialog(DialogResult result) {
  TakeFocusFrom(nullptr);
  ::EndDialog(window_, static_cast<INT_PTR>(result));
}

KeyCaptureStart SkinnedDialogHost::StartKeyCapture() {
  keyCapture_ = std::make_unique<KeyCapture>(
      [this](std::string_view keyName) { controller_.OnKeyCaptured(keyName); });
  if (!keyCapture_->Installed()) {
    const DWORD error = keyCapture_->Error();
    keyCapture_.reset();
    return {false, error};
  }
  return {true, 0};
}

}  // namespace q8::win32
