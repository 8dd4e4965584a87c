#include "win32/child_controls.h"

#include <cstdlib>

#include "win32/wide_text.h"

namespace q8::win32 {
namespace {

DWORD StaticStyleBits(StaticStyle style) {
  switch (style) {
    case StaticStyle::kCentre:
      return SS_CENTER;
    case StaticStyle::kSunkenLeft:
      return SS_LEFT | SS_SUNKEN;
    case StaticStyle::kSunkenCentre:
      return SS_CENTER | SS_SUNKEN;
    default:
      return SS_LEFT;
  }
}

}  // namespace

void ChildControls::Create(ControlId id, const wchar_t* windowClass, DWORD style, Rect rect,
                           std::string_view text) {
  DestroyControl(id);
  const std::wstring wide = ToWide(text);
  HWND control = ::CreateWindowExW(0, windowClass, wide.c_str(), WS_CHILD | WS_VISIBLE | style,
                                   rect.left, rect.top, rect.Width(), rect.Height(), parent_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleW(nullptr), nullptr);
  if (control == nullptr) {
    return;
  }
  if (font_ != nullptr) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  controls_[id] = control;
}

// --- Lists
// -----------------------------------------------------------------------------------------

void ChildControls::CreateList(ControlId id, Rect rect, bool verticalScrollBar) {
  // Unsorted: the items keep the order they are added in.
  Create(id, L"LISTBOX", WS_BORDER | LBS_NOTIFY | (verticalScrollBar ? WS_VSCROLL : 0), rect, "");
}

void ChildControls::AddListItem(ControlId id, std::string_view text) {
  if (HWND list = Find(id)) {
    const std::wstring wide = ToWide(text);
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
}

std::optional<int> ChildControls::ListSelection(ControlId id) const {
  HWND list = Find(id);
  if (list == nullptr) {
    return std::nullopt;
  }
  const LRESULT selection = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (selection == LB_ERR) {
    return std::nullopt;
  }
  return static_cast<int>(selection);
}

void ChildControls::SetListSelection(ControlId id, int index) {
  if (HWND list = Find(id)) {
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

// The item nearest to the point, when the window under the point is the list itself.
std::optional<int> ChildControls::ListItemAt(ControlId id, Point point) const {
  HWND list = Find(id);
  if (list == nullptr) {
    return std::nullopt;
  }
  POINT p{point.x, point.y};
  ::ClientToScreen(parent_, &p);
  if (::WindowFromPoint(p) != list || ::SendMessageW(list, LB_GETCOUNT, 0, 0) <= 0) {
    return std::nullopt;
  }
  ::ScreenToClient(list, &p);
  const LRESULT hit = ::SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
  return static_cast<int>(LOWORD(hit));  // the high word only tells that the point is outside
}

Rect ChildControls::ListItemRect(ControlId id, int index) const {
  RECT r{};
  if (HWND list = Find(id)) {
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  }
  return {r.left, r.top, r.right, r.bottom};
}

void ChildControls::ScrollList(ControlId id, int lines) {
  HWND list = Find(id);
  if (list == nullptr) {
    return;
  }
  const WPARAM request = lines < 0 ? SB_LINEUP : SB_LINEDOWN;
  for (int i = 0; i < std::abs(lines); ++i) {
    ::SendMessageW(list, WM_VSCROLL, request, 0);
  }
}

// --- Statics and edits -------------------------------------------------------------------------

void ChildControls::CreateStatic(ControlId id, Rect rect, std::string_view text,
                                 StaticStyle style) {
  Create(id, L"STATIC", StaticStyleBits(style), rect, text);
}

void ChildControls::CreateEdit(ControlId id, Rect rect, std::string_view text) {
  Create(id, L"EDIT", ES_NUMBER | ES_CENTER | ES_AUTOHSCROLL, rect, text);
}

void ChildControls::SetControlText(ControlId id, std::string_view text) {
  if (HWND control = Find(id)) {
    ::SetWindowTextW(control, ToWide(text).c_str());
  }
}

std::string ChildControls::ControlText(ControlId id) const {
  HWND control = Find(id);
  if (control == nullptr) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  const int length = ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return ToUtf8(text);
}

void ChildControls::ShowControl(ControlId id, bool visible) {
  if (HWND control = Find(id)) {
    ::ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
  }
}

void ChildControls::RedrawControl(ControlId id) {
  if (HWND control = Find(id)) {
    ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

void ChildControls::DestroyControl(ControlId id) {
  HWND control = Find(id);
  if (control == nullptr) {
    return;
  }
  if (::GetFocus() == control) {
    ::SetFocus(parent_);  // while the id still names it, so its notification finds it
  }
  controls_.erase(id);
  ::ShowWindow(control, SW_HIDE);
  ::PostMessageW(parent_, kDestroyLater, reinterpret_cast<WPARAM>(control), 0);
}

void ChildControls::DestroyTakenAway(HWND control) {
  if (::IsWindow(control) && ::GetParent(control) == parent_ && !IdOf(control)) {
    ::DestroyWindow(control);
  }
}

HWND ChildControls::Find(ControlId id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

std::optional<ControlId> ChildControls::IdOf(HWND control) const {
  for (const auto& [id, handle] : controls_) {
    if (handle == control) {
      return id;
    }
  }
  return std::nullopt;
}

}  // namespace q8::win32
