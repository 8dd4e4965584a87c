#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "ui/control_host.h"

namespace q8::win32 {

// The native child controls of one window, created at run time under their ids: list boxes,
// statics and number edits, all in the window's font. It does for a window's shell what a
// ControlHost promises, and maps the handles back to ids for the notifications and colour
// requests the window receives.
class ChildControls {
 public:
  // The message the parent gets to destroy a control that was taken away (WPARAM: its handle).
  static constexpr UINT kDestroyLater = WM_APP + 0x71;

  explicit ChildControls(HWND parent) : parent_(parent) {}
  ChildControls(const ChildControls&) = delete;
  ChildControls& operator=(const ChildControls&) = delete;

  // The font of every control created from now on.
  void SetFont(HFONT font) { font_ = font; }

  void CreateList(ControlId id, Rect rect, bool verticalScrollBar);
  void AddListItem(ControlId id, std::string_view text);
  std::optional<int> ListSelection(ControlId id) const;
  void SetListSelection(ControlId id, int index);
  std::optional<int> ListItemAt(ControlId id, Point point) const;
  Rect ListItemRect(ControlId id, int index) const;
  void ScrollList(ControlId id, int lines);

  void CreateStatic(ControlId id, Rect rect, std::string_view text, StaticStyle style);
  void CreateEdit(ControlId id, Rect rect, std::string_view text);
  void SetControlText(ControlId id, std::string_view text);
  std::string ControlText(ControlId id) const;
  void ShowControl(ControlId id, bool visible);
  void RedrawControl(ControlId id);
  // The control leaves at once: it is hidden, forgotten and loses the focus (so an edit reports
  // it first), and is destroyed when the parent handles kDestroyLater. A list may be taken away
  // while it reports a selection; destroying it inside its own notification would pull the
  // window out from under the code that sent it.
  void DestroyControl(ControlId id);
  // The parent's handling of kDestroyLater.
  void DestroyTakenAway(HWND control);

  HWND Find(ControlId id) const;
  std::optional<ControlId> IdOf(HWND control) const;

 private:
  void Create(ControlId id, const wchar_t* windowClass, DWORD style, Rect rect,
              std::string_view text);

  HWND parent_;
  HFONT font_ = nullptr;
  std::map<ControlId, HWND> controls_;
};

}  // namespace q8::win32
