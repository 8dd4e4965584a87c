#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "ui/control_host.h"

namespace q8::win32 {

// The native child controls of one window (LISTBOX, STATIC and EDIT child windows under their
// ids), all in the window's normal font, and the brush last answered to a control-colour request.
// A control is destroyed with its id's replacement, by DestroyControl, or with its parent.
class NativeControls {
 public:
  NativeControls() = default;
  ~NativeControls();
  NativeControls(const NativeControls&) = delete;
  NativeControls& operator=(const NativeControls&) = delete;

  // The window the controls belong to; set once the window exists.
  void SetParent(HWND parent) { parent_ = parent; }
  // The font of every control, those there already and those created from now on (owned by the
  // window).
  void SetFont(HFONT font);
  // Puts every control at its rectangle at the parent's present scale: after a change of scale.
  void PlaceAgain();

  void CreateList(ControlId id, Rect rect, bool verticalScrollBar);
  void AddListItem(ControlId id, std::string_view text);
  std::optional<int> ListSelection(ControlId id) const;
  void SetListSelection(ControlId id, int index);
  std::optional<int> ListItemAt(ControlId id, Point point) const;
  Rect ListItemRect(ControlId id, int index) const;
  void ScrollList(ControlId id, int lines);
  void CreateStatic(ControlId id, Rect rect, std::string_view text, StaticStyle style);
  void CreateEdit(ControlId id, Rect rect, std::string_view text);
  void CreateTextEdit(ControlId id, Rect rect, std::string_view text);
  void SetControlText(ControlId id, std::string_view text);
  std::string ControlText(ControlId id) const;
  void ShowControl(ControlId id, bool visible);
  void RedrawControl(ControlId id);
  void DestroyControl(ControlId id);
  std::optional<Rgb> ChooseColor(Rgb initial);

  // Answers WM_CTLCOLORSTATIC, WM_CTLCOLORLISTBOX or WM_CTLCOLOREDIT (`message`) with `colors`:
  // sets the device context's text colour and background, and returns the brush for the
  // background. Returns 0 (the default painting) when `colors` asks for nothing.
  INT_PTR AnswerControlColor(UINT message, HDC dc, const ControlColors& colors);

  // The parent is being destroyed and its children with it: forgets them and frees the brush.
  void OnParentDestroyed();

 private:
  HWND Create(ControlId id, const wchar_t* className, DWORD style, DWORD exStyle, Rect rect,
              std::string_view text);
  HWND Find(ControlId id) const;
  void ReleaseBrush();

  // A control and its rectangle in the skin's pixels.
  struct Control {
    HWND window;
    Rect rect;
  };

  HWND parent_ = nullptr;
  HFONT font_ = nullptr;
  std::map<ControlId, Control> controls_;
  // The brush of the latest control-colour answer: the control paints with it after the answer,
  // so it lives until the next answer replaces it or the controls end.
  HBRUSH brush_ = nullptr;
  // The colour chooser's sixteen custom colours, kept while the window lives.
  COLORREF customColors_[16] = {};
};

// A host interface (ControlHost, or one that derives from it) whose control part is a window's
// NativeControls.
template <typename Base>
class NativeControlsOf : public Base {
 public:
  void CreateList(ControlId id, Rect rect, bool verticalScrollBar) override {
    controls_.CreateList(id, rect, verticalScrollBar);
  }
  void AddListItem(ControlId id, std::string_view text) override {
    controls_.AddListItem(id, text);
  }
  std::optional<int> ListSelection(ControlId id) const override {
    return controls_.ListSelection(id);
  }
  void SetListSelection(ControlId id, int index) override { controls_.SetListSelection(id, index); }
  std::optional<int> ListItemAt(ControlId id, Point point) const override {
    return controls_.ListItemAt(id, point);
  }
  Rect ListItemRect(ControlId id, int index) const override {
    return controls_.ListItemRect(id, index);
  }
  void ScrollList(ControlId id, int lines) override { controls_.ScrollList(id, lines); }
  void CreateStatic(ControlId id, Rect rect, std::string_view text, StaticStyle style) override {
    controls_.CreateStatic(id, rect, text, style);
  }
  void CreateEdit(ControlId id, Rect rect, std::string_view text) override {
    controls_.CreateEdit(id, rect, text);
  }
  void CreateTextEdit(ControlId id, Rect rect, std::string_view text) override {
    controls_.CreateTextEdit(id, rect, text);
  }
  void SetControlText(ControlId id, std::string_view text) override {
    controls_.SetControlText(id, text);
  }
  std::string ControlText(ControlId id) const override { return controls_.ControlText(id); }
  void ShowControl(ControlId id, bool visible) override { controls_.ShowControl(id, visible); }
  void RedrawControl(ControlId id) override { controls_.RedrawControl(id); }
  void DestroyControl(ControlId id) override { controls_.DestroyControl(id); }
  std::optional<Rgb> ChooseColor(Rgb initial) override { return controls_.ChooseColor(initial); }

 protected:
  NativeControls controls_;
};

}  // namespace q8::win32
