#include "win32/native_controls.h"

#include <commdlg.h>
// The header's name for ChooseColorW would rename ControlHost::ChooseColor here.
#undef ChooseColor

#include <algorithm>
#include <cstdint>
#include <utility>

#include "ui/device_scale.h"
#include "win32/message_params.h"
#include "win32/wide_text.h"
#include "win32/window_scale.h"
#include "win32/window_surface.h"

namespace q8::win32 {
namespace {

DWORD StaticStyleBits(StaticStyle style) {
  switch (style) {
    case StaticStyle::kLeft:
      return SS_LEFT;
    case StaticStyle::kCentre:
      return SS_CENTER;
    case StaticStyle::kSunkenLeft:
      return SS_LEFT | SS_SUNKEN;
    case StaticStyle::kSunkenCentre:
      return SS_CENTER | SS_SUNKEN;
  }
  return SS_LEFT;
}

// The brush the system paints a control's background with when the window does not choose one.
HBRUSH DefaultBrush(UINT message) {
  return ::GetSysColorBrush(message == WM_CTLCOLORSTATIC ? COLOR_BTNFACE : COLOR_WINDOW);
}

Rgb FromColorRef(COLORREF colour) {
  return {static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>((colour >> 8) & 0xFF),
          static_cast<std::uint8_t>((colour >> 16) & 0xFF)};
}

}  // namespace

NativeControls::~NativeControls() {
  // The child windows end with their parent; only the brush is ours alone.
  ReleaseBrush();
}

HWND NativeControls::Create(ControlId id, const wchar_t* className, DWORD style, DWORD exStyle,
                            Rect rect, std::string_view text) {
  DestroyControl(id);
  const std::wstring wide = ToWide(text);
  const Rect device = ScaledRect(rect, WindowScale(parent_));
  HWND control = ::CreateWindowExW(
      exStyle, className, wide.c_str(), WS_CHILD | WS_VISIBLE | style, device.left, device.top,
      device.Width(), device.Height(), parent_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),  // a child's menu handle is its id
      reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent_, GWLP_HINSTANCE)), nullptr);
  if (control == nullptr) {
    return nullptr;
  }
  KeepSystemControlScalingOut(control);
  if (font_ != nullptr) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  controls_[id] = {control, rect};
  return control;
}

HWND NativeControls::Find(ControlId id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second.window;
}

void NativeControls::SetFont(HFONT font) {
  font_ = font;
  for (const auto& [id, control] : controls_) {
    ::SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  }
}

void NativeControls::PlaceAgain() {
  const double scale = WindowScale(parent_);
  for (const auto& [id, control] : controls_) {
    const Rect device = ScaledRect(control.rect, scale);
    ::SetWindowPos(control.window, nullptr, device.left, device.top, device.Width(),
                   device.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void NativeControls::CreateList(ControlId id, Rect rect, bool verticalScrollBar) {
  Create(id, L"LISTBOX", WS_BORDER | LBS_NOTIFY | (verticalScrollBar ? WS_VSCROLL : 0), 0, rect,
         {});
}

void NativeControls::AddListItem(ControlId id, std::string_view text) {
  if (HWND list = Find(id)) {
    const std::wstring wide = ToWide(text);
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
}

std::optional<int> NativeControls::ListSelection(ControlId id) const {
  HWND list = Find(id);
  if (list == nullptr) {
    return std::nullopt;
  }
  const auto selection = static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0));
  return selection == LB_ERR ? std::nullopt : std::optional<int>(selection);
}

void NativeControls::SetListSelection(ControlId id, int index) {
  if (HWND list = Find(id)) {
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

std::optional<int> NativeControls::ListItemAt(ControlId id, Point point) const {
  HWND list = Find(id);
  if (list == nullptr || ::SendMessageW(list, LB_GETCOUNT, 0, 0) <= 0) {
    return std::nullopt;
  }
  const double scale = WindowScale(parent_);
  POINT onList{ToDevice(point.x, scale), ToDevice(point.y, scale)};
  POINT onScreen = onList;
  ::MapWindowPoints(parent_, list, &onList, 1);
  RECT window{};
  ::GetWindowRect(list, &window);
  ::ClientToScreen(parent_, &onScreen);
  if (!::PtInRect(&window, onScreen)) {
    return std::nullopt;
  }
  // The low word is the nearest item, whether or not the point lies inside it.
  const auto answer = ::SendMessageW(list, LB_ITEMFROMPOINT, 0, PackPoint(onList.x, onList.y));
  return static_cast<int>(LowWord(static_cast<std::uintptr_t>(answer)));
}

Rect NativeControls::ListItemRect(ControlId id, int index) const {
  RECT item{};
  if (HWND list = Find(id)) {
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&item));
  }
  return ToSkin(Rect{item.left, item.top, item.right, item.bottom}, WindowScale(parent_));
}

void NativeControls::ScrollList(ControlId id, int lines) {
  if (HWND list = Find(id)) {
    const auto top = static_cast<int>(::SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, top + lines)), 0);
  }
}

void NativeControls::CreateStatic(ControlId id, Rect rect, std::string_view text,
                                  StaticStyle style) {
  Create(id, L"STATIC", StaticStyleBits(style), 0, rect, text);
}

void NativeControls::CreateEdit(ControlId id, Rect rect, std::string_view text) {
  // A number, typed in the middle of a borderless box.
  Create(id, L"EDIT", ES_NUMBER | ES_CENTER | ES_AUTOHSCROLL, 0, rect, text);
}

void NativeControls::CreateTextEdit(ControlId id, Rect rect, std::string_view text) {
  Create(id, L"EDIT", WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 0, rect, text);
}

void NativeControls::SetControlText(ControlId id, std::string_view text) {
  if (HWND control = Find(id)) {
    ::SetWindowTextW(control, ToWide(text).c_str());
  }
}

std::string NativeControls::ControlText(ControlId id) const {
  HWND control = Find(id);
  if (control == nullptr) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  const int length = ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(length, 0)));
  return ToUtf8(text);
}

void NativeControls::ShowControl(ControlId id, bool visible) {
  if (HWND control = Find(id)) {
    ::ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
  }
}

void NativeControls::RedrawControl(ControlId id) {
  if (HWND control = Find(id)) {
    ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

void NativeControls::DestroyControl(ControlId id) {
  const auto it = controls_.find(id);
  if (it == controls_.end()) {
    return;
  }
  ::DestroyWindow(it->second.window);
  controls_.erase(it);
}

std::optional<Rgb> NativeControls::ChooseColor(Rgb initial) {
  // The system's chooser as it opens by default, on the given colour.
  CHOOSECOLORW chooser{};
  chooser.lStructSize = sizeof(chooser);
  chooser.hwndOwner = parent_;
  chooser.rgbResult = initial.ColorRef();
  chooser.lpCustColors = customColors_;
  chooser.Flags = CC_RGBINIT;
  if (!::ChooseColorW(&chooser)) {
    return std::nullopt;
  }
  return FromColorRef(chooser.rgbResult);
}

INT_PTR NativeControls::AnswerControlColor(UINT message, HDC dc, const ControlColors& colors) {
  if (!colors.text && !colors.textBackground && !colors.brush) {
    return 0;
  }
  if (colors.text) {
    ::SetTextColor(dc, colors.text->ColorRef());
  }
  if (colors.textBackground) {
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, colors.textBackground->ColorRef());
  } else {
    ::SetBkMode(dc, TRANSPARENT);
    if (message == WM_CTLCOLORLISTBOX && colors.brush) {
      // A list box fills each item with the background colour whatever the mode, so text that is
      // to show its control's background is given the brush's colour.
      ::SetBkColor(dc, colors.brush->ColorRef());
    }
  }
  if (!colors.brush) {
    return reinterpret_cast<INT_PTR>(DefaultBrush(message));
  }
  ReleaseBrush();
  brush_ = ::CreateSolidBrush(colors.brush->ColorRef());
  return reinterpret_cast<INT_PTR>(brush_);
}

void NativeControls::OnParentDestroyed() {
  controls_.clear();
  ReleaseBrush();
}

void NativeControls::ReleaseBrush() {
  if (brush_ != nullptr) {
    ::DeleteObject(std::exchange(brush_, nullptr));
  }
}

}  // namespace q8::win32
