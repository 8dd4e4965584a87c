#include "win32/dialog_window.h"

#include <optional>
#include <vector>

#include "win32/dialog_template.h"
#include "win32/gdi_text_painter.h"
#include "win32/message_params.h"
#include "win32/native_controls.h"
#include "win32/wide_text.h"
#include "win32/window_surface.h"

namespace q8::win32 {
namespace {

// A key-function dialog's window: a bordered pop-up without caption, centred over its owner.
DialogTemplateSpec SkinnedDialogTemplate() {
  DialogTemplateSpec spec;
  spec.style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN | WS_VISIBLE | DS_SETFOREGROUND | DS_CENTER;
  spec.width = 200;
  spec.height = 150;
  return spec;
}

// The services of one running dialog window.
class SkinnedDialogWindow final : public NativeControlsOf<DialogHost> {
 public:
  explicit SkinnedDialogWindow(DialogController& dialog) : dialog_(dialog) {}
  ~SkinnedDialogWindow() override {
    if (font_ != nullptr) {
      ::DeleteObject(font_);
    }
  }
  SkinnedDialogWindow(const SkinnedDialogWindow&) = delete;
  SkinnedDialogWindow& operator=(const SkinnedDialogWindow&) = delete;

  DialogResult Run(HWND owner) {
    const std::vector<WORD> words = BuildDialogTemplate(SkinnedDialogTemplate());
    const INT_PTR result = ::DialogBoxIndirectParamW(
        reinterpret_cast<HINSTANCE>(::GetModuleHandleW(nullptr)), AsTemplate(words), owner,
        DialogProc, reinterpret_cast<LPARAM>(this));
    return result == static_cast<INT_PTR>(DialogResult::kOk) ? DialogResult::kOk
                                                             : DialogResult::kCancel;
  }

  Rect ClientRect() const override { return ClientRectOf(window_); }
  void CopyToWindow(const Canvas& source, Rect area) override {
    CopyCanvasToWindow(window_, source, area);
  }
  void ResizeClient(int width, int height) override { ResizeWindowClient(window_, width, height); }
  void TrackMouse(bool alsoLeave, unsigned hoverMs) override {
    TrackWindowMouse(window_, alsoLeave, hoverMs);
  }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    ::MessageBoxW(window_, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK);
  }
  void SetFont(const FontRequest& font) override {
    if (font_ != nullptr) {
      ::DeleteObject(font_);
    }
    font_ = ::CreateFontW(font.height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          font.pitchAndFamily, ToWide(font.face).c_str());
    painter_ = GdiTextPainter(font_, font_);
    controls_.SetFont(font_);
  }
  TextPainter& Text() override { return painter_; }
  void EndDialog(DialogResult result) override {
    ::EndDialog(window_, static_cast<INT_PTR>(result));
  }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      ::SetWindowLongPtrW(window, DWLP_USER, lParam);
      auto* self = reinterpret_cast<SkinnedDialogWindow*>(lParam);
      self->window_ = window;
      self->controls_.SetParent(window);
      self->dialog_.OnInitDialog(*self);
      return TRUE;
    }
    auto* self = reinterpret_cast<SkinnedDialogWindow*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) {
      return FALSE;
    }
    return self->Handle(message, wParam, lParam);
  }

  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_ERASEBKGND:
        dialog_.OnEraseBackground();
        return Answer(TRUE);
      case WM_LBUTTONDOWN:
        dialog_.OnLButtonDown(PointOf(lParam));
        return FALSE;
      case WM_MOUSEMOVE:
        dialog_.OnPointerMove(PointOf(lParam));
        dialog_.OnMouseMove(PointOf(lParam));
        return Answer(0);
      case WM_MOUSEHOVER:
        dialog_.OnMouseHover(PointOf(lParam));
        return Answer(0);
      case WM_MOUSEWHEEL:
        dialog_.OnMouseWheel(WheelDelta(wParam));
        return Answer(0);
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLOREDIT:
        return controls_.AnswerControlColor(
            message, reinterpret_cast<HDC>(wParam),
            dialog_.ControlColor(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam))));
      case WM_COMMAND:
        return HandleCommand(wParam, lParam);
      case WM_DESTROY:
        controls_.OnParentDestroyed();
        return FALSE;
      default:
        return FALSE;
    }
  }

  INT_PTR HandleCommand(WPARAM wParam, LPARAM lParam) {
    const auto id = static_cast<ControlId>(LowWord(wParam));
    const unsigned code = HighWord(wParam);
    if (lParam == 0 || id == IDOK || id == IDCANCEL) {
      if ((id == IDOK || id == IDCANCEL) && dialog_.UsesDialogKeys()) {
        EndDialog(id == IDOK ? DialogResult::kOk : DialogResult::kCancel);
      }
      return Answer(0);
    }
    if (code == LBN_SELCHANGE || code == LBN_DBLCLK) {
      dialog_.OnListNotification(
          id, code == LBN_SELCHANGE ? ListEvent::kSelectionChange : ListEvent::kDoubleClick);
    } else if (code == EN_CHANGE || code == EN_KILLFOCUS) {
      dialog_.OnEditNotification(id,
                                 code == EN_CHANGE ? EditEvent::kChange : EditEvent::kKillFocus);
    }
    return Answer(0);
  }

  INT_PTR Answer(LRESULT result) {
    ::SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
    return TRUE;
  }

  DialogController& dialog_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  GdiTextPainter painter_{nullptr, nullptr};
};

}  // namespace

// A plain host for the key-function dialogs and the skin chooser: the dialogs' own window code
// replaces it.
DialogResult RunSkinnedDialog(HWND owner, DialogController& dialog) {
  SkinnedDialogWindow window(dialog);
  return window.Run(owner);
}

}  // namespace q8::win32
