#include "win32/skinned_dialog_host.h"

#include <commdlg.h>
#include <windowsx.h>

// commdlg.h names ChooseColorW ChooseColor, which would rename the host's own operation.
#undef ChooseColor

#include <cstring>
#include <string>

#include "win32/wide_text.h"

namespace q8::win32 {
namespace {

Point PointOf(LPARAM lParam) {
  return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// A memory context with a top-down 32-bit DIB section holding a copy of a canvas.
class CanvasBitmap {
 public:
  explicit CanvasBitmap(const Canvas& canvas) : dc_(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = canvas.Width();
    info.bmiHeader.biHeight = -canvas.Height();  // rows top-down, as the canvas keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    if (dc_ != nullptr) {
      bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    if (bitmap_ != nullptr) {
      std::memcpy(bits, canvas.Pixels().data(), canvas.Pixels().size_bytes());
      previous_ = ::SelectObject(dc_, bitmap_);
    }
  }
  ~CanvasBitmap() {
    if (previous_ != nullptr) {
      ::SelectObject(dc_, previous_);
    }
    if (bitmap_ != nullptr) {
      ::DeleteObject(bitmap_);
    }
    if (dc_ != nullptr) {
      ::DeleteDC(dc_);
    }
  }
  CanvasBitmap(const CanvasBitmap&) = delete;
  CanvasBitmap& operator=(const CanvasBitmap&) = delete;

  bool Valid() const { return previous_ != nullptr; }
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace

SkinnedDialogHost::~SkinnedDialogHost() {
  for (const auto& [colour, brush] : brushes_) {
    ::DeleteObject(brush);
  }
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
      controller_.OnLButtonDown(PointOf(lParam));
      return std::nullopt;
    case WM_MOUSEMOVE:
      controller_.OnMouseMove(PointOf(lParam));
      return std::nullopt;
    case WM_MOUSEHOVER:
      controller_.OnMouseHover(PointOf(lParam));
      return std::nullopt;
    case WM_MOUSEWHEEL:
      controller_.OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return std::nullopt;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT: {
      const INT_PTR brush =
          HandleControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      return brush != 0 ? std::optional<INT_PTR>(brush) : std::nullopt;
    }
    case WM_COMMAND:
      return HandleCommand(wParam, lParam);
    case WM_HELP:
      return TRUE;  // F1 opens no help: the single-key dialog captures it like any key
    case ChildControls::kDestroyLater:
      controls_.DestroyTakenAway(reinterpret_cast<HWND>(wParam));
      return TRUE;
    default:
      return std::nullopt;
  }
}

std::optional<INT_PTR> SkinnedDialogHost::HandleCommand(WPARAM wParam, LPARAM lParam) {
  const auto from = reinterpret_cast<HWND>(lParam);
  if (const auto id = controls_.IdOf(from)) {
    switch (HIWORD(wParam)) {
      case LBN_SELCHANGE:
        controller_.OnListNotification(*id, ListEvent::kSelectionChange);
        return TRUE;
      case LBN_DBLCLK:
        controller_.OnListNotification(*id, ListEvent::kDoubleClick);
        return TRUE;
      case EN_CHANGE:
        controller_.OnEditNotification(*id, EditEvent::kChange);
        return TRUE;
      case EN_KILLFOCUS:
        controller_.OnEditNotification(*id, EditEvent::kKillFocus);
        return TRUE;
      default:
        return std::nullopt;
    }
  }
  // Enter and Escape (through the platform's dialog keys) and the close command.
  switch (LOWORD(wParam)) {
    case IDOK:
      EndDialog(DialogResult::kOk);
      return TRUE;
    case IDCANCEL:
      EndDialog(DialogResult::kCancel);
      return TRUE;
    default:
      return std::nullopt;
  }
}

INT_PTR SkinnedDialogHost::HandleControlColor(HDC dc, HWND control) {
  const auto id = controls_.IdOf(control);
  if (!id) {
    return 0;
  }
  const ControlColors colours = controller_.ControlColor(*id);
  if (!colours.brush) {
    return 0;
  }
  if (colours.text) {
    ::SetTextColor(dc, colours.text->ColorRef());
  }
  if (colours.textBackground) {
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, colours.textBackground->ColorRef());
  } else {
    ::SetBkMode(dc, TRANSPARENT);
  }
  if (font_.Get() != nullptr) {
    ::SelectObject(dc, font_.Get());
  }
  return reinterpret_cast<INT_PTR>(Brush(*colours.brush));
}

HBRUSH SkinnedDialogHost::Brush(Rgb colour) {
  HBRUSH& brush = brushes_[colour.ColorRef()];
  if (brush == nullptr) {
    brush = ::CreateSolidBrush(colour.ColorRef());
  }
  return brush;
}

bool SkinnedDialogHost::IsOwnWindow(HWND window) const {
  return window == window_ || ::IsChild(window_, window);
}

bool SkinnedDialogHost::PreTranslate(const MSG& message) {
  if (!IsOwnWindow(message.hwnd)) {
    return false;  // a message box or the colour chooser over the dialog
  }
  if (message.message == WM_MOUSEMOVE) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(window_, &cursor);
    controller_.OnPointerMove({cursor.x, cursor.y});
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
  RECT r{};
  ::GetClientRect(window_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void SkinnedDialogHost::CopyToWindow(const Canvas& source, Rect area) {
  CanvasBitmap bitmap(source);
  HDC dc = ::GetDC(window_);
  if (bitmap.Valid() && dc != nullptr) {
    ::BitBlt(dc, area.left, area.top, area.Width(), area.Height(), bitmap.Dc(), 0, 0, SRCCOPY);
  }
  if (dc != nullptr) {
    ::ReleaseDC(window_, dc);
  }
}

void SkinnedDialogHost::ResizeClient(int width, int height) {
  RECT r{0, 0, width, height};
  ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE)));
  ::SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SkinnedDialogHost::TrackMouse(bool alsoLeave, unsigned hoverMs) {
  TRACKMOUSEEVENT request{};
  request.cbSize = sizeof(request);
  request.dwFlags = TME_HOVER | (alsoLeave ? TME_LEAVE : 0);
  request.hwndTrack = window_;
  request.dwHoverTime = hoverMs;
  ::TrackMouseEvent(&request);
}

// --- Dialog services
// -------------------------------------------------------------------------------

std::optional<Rgb> SkinnedDialogHost::ChooseColor(Rgb initial) {
  CHOOSECOLORW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = window_;
  request.rgbResult = initial.ColorRef();
  request.lpCustColors = customColours_.data();
  request.Flags = 0;  // without CC_RGBINIT the chooser opens without a colour preselected
  if (!::ChooseColorW(&request)) {
    return std::nullopt;
  }
  return Rgb{GetRValue(request.rgbResult), GetGValue(request.rgbResult),
             GetBValue(request.rgbResult)};
}

void SkinnedDialogHost::ShowMessage(std::string_view text, std::string_view caption) {
  ::MessageBoxW(window_, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK);
}

void SkinnedDialogHost::SetFont(const FontRequest& font) {
  font_ = CreateGdiFont(font);
  controls_.SetFont(font_.Get());
  text_ = GdiTextPainter(font_.Get(), font_.Get());
}

void SkinnedDialogHost::EndDialog(DialogResult result) {
  // The control with the focus gives it up first: an edit settles its value before the caller
  // reads the results.
  HWND focus = ::GetFocus();
  if (focus != nullptr && ::IsChild(window_, focus)) {
    ::SetFocus(window_);
  }
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
