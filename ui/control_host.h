#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui/rect.h"
#include "ui/text_port.h"

namespace q8 {

// The id a window gives one of its native child controls (the key lists 41..48, a dialog's
// choice list 573 ...). Ids are unique within one window.
using ControlId = int;

// How a native static control shows its text.
enum class StaticStyle {
  kLeft,          // left-aligned text, no edge
  kCentre,        // centred text, no edge
  kSunkenLeft,    // a dialog's value box: sunken edge, left-aligned
  kSunkenCentre,  // sunken edge, centred
};

// What the platform reports from a list box.
enum class ListEvent { kSelectionChange, kDoubleClick };

// What the platform reports from an edit box.
enum class EditEvent { kChange, kKillFocus };

// The colours a window answers when the platform asks how to paint one of its child controls.
// Anything left empty keeps the platform's default.
struct ControlColors {
  std::optional<Rgb> text;
  // Text drawn on this colour, or on a transparent background when empty.
  std::optional<Rgb> textBackground;
  // The brush that paints the control's background; the platform's default when empty.
  std::optional<Rgb> brush;
  friend bool operator==(const ControlColors&, const ControlColors&) = default;
};

// The native child controls of one window: pop-up lists, static texts and edits, created at run
// time at a rectangle in the window's client pixels, each under its id. A list box has a border,
// reports selection changes and double clicks, and keeps its items in the order they were added.
// Creating an id that exists replaces that control. Every call on an id that does not exist does
// nothing (or answers nothing). The Windows shell makes real child windows; tests record calls.
class ControlHost {
 public:
  virtual ~ControlHost() = default;

  virtual void CreateList(ControlId id, Rect rect, bool verticalScrollBar) = 0;
  virtual void AddListItem(ControlId id, std::string_view text) = 0;
  // The selected item, if any.
  virtual std::optional<int> ListSelection(ControlId id) const = 0;
  virtual void SetListSelection(ControlId id, int index) = 0;
  // The item nearest to `point` (window client pixels) when the point lies on the list's window,
  // nothing otherwise.
  virtual std::optional<int> ListItemAt(ControlId id, Point point) const = 0;
  // Item `index`'s rectangle in the list's own client pixels.
  virtual Rect ListItemRect(ControlId id, int index) const = 0;
  // Scrolls by whole lines: negative up, positive down.
  virtual void ScrollList(ControlId id, int lines) = 0;

  virtual void CreateStatic(ControlId id, Rect rect, std::string_view text, StaticStyle style) = 0;
  // A single-line edit box for a number: digits only, text centred, no border.
  virtual void CreateEdit(ControlId id, Rect rect, std::string_view text) = 0;
  // A single-line edit box for any text (a name), left-aligned, with a border.
  virtual void CreateTextEdit(ControlId id, Rect rect, std::string_view text) = 0;
  virtual void SetControlText(ControlId id, std::string_view text) = 0;
  virtual std::string ControlText(ControlId id) const = 0;
  virtual void ShowControl(ControlId id, bool visible) = 0;
  // Repaints the control, erasing its background first (a static after its colour changed).
  virtual void RedrawControl(ControlId id) = 0;
  virtual void DestroyControl(ControlId id) = 0;

  // The system's colour chooser, opened on `initial`; the chosen colour, or nothing on Cancel.
  virtual std::optional<Rgb> ChooseColor(Rgb initial) = 0;
};

}  // namespace q8
