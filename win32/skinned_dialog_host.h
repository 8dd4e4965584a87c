#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "ui/dialog_host.h"
#include "win32/child_controls.h"
#include "win32/gdi_font.h"
#include "win32/gdi_text_painter.h"
#include "win32/key_capture.h"

namespace q8::win32 {

// The Windows side of one run of a skinned dialog: its window's services as the controller asks
// for them (native child controls, message boxes and the colour chooser owned by the dialog, its
// GDI font, drawing the canvas to the screen, hover tracking, key capture, the end of the run),
// and the translation of the window's messages into the controller's events. Everything it makes
// (font, brushes, key hook) is released when the run ends.
class SkinnedDialogHost final : public DialogHost {
 public:
  SkinnedDialogHost(HWND window, DialogController& controller)
      : window_(window), controller_(controller), controls_(window) {}
  SkinnedDialogHost(const SkinnedDialogHost&) = delete;
  SkinnedDialogHost& operator=(const SkinnedDialogHost&) = delete;
  ~SkinnedDialogHost() override;

  // The dialog procedure's work for one message; nothing when the message is left to the
  // platform's dialog handling.
  std::optional<INT_PTR> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // A message of the dialog's loop before the platform's dialog handling: true consumes it.
  bool PreTranslate(const MSG& message);

  // SkinWindowHost
  Rect ClientRect() const override;
  void CopyToWindow(const Canvas& source, Rect area) override;
  void ResizeClient(int width, int height) override;
  void TrackMouse(bool alsoLeave, unsigned hoverMs) override;

  // ControlHost
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
  void SetControlText(ControlId id, std::string_view text) override {
    controls_.SetControlText(id, text);
  }
  std::string ControlText(ControlId id) const override { return controls_.ControlText(id); }
  void ShowControl(ControlId id, bool visible) override { controls_.ShowControl(id, visible); }
  void RedrawControl(ControlId id) override { controls_.RedrawControl(id); }
  void DestroyControl(ControlId id) override { controls_.DestroyControl(id); }
  std::optional<Rgb> ChooseColor(Rgb initial) override;

  // MessageSink
  void ShowMessage(std::string_view text, std::string_view caption) override;

  // DialogHost
  void SetFont(const FontRequest& font) override;
  TextPainter& Text() override { return text_; }
  void EndDialog(DialogResult result) override;
  KeyCaptureStart StartKeyCapture() override;

 private:
  bool IsOwnWindow(HWND window) const;
  std::optional<INT_PTR> HandleCommand(WPARAM wParam, LPARAM lParam);
  INT_PTR HandleControlColor(HDC dc, HWND control);
  HBRUSH Brush(Rgb colour);

  HWND window_;
  DialogController& controller_;
  ChildControls controls_;
  UniqueFont font_;
  // Draws with the dialog's font once it is made; the controller keeps a reference from the start.
  GdiTextPainter text_{nullptr, nullptr};
  std::map<std::uint32_t, HBRUSH> brushes_;
  std::unique_ptr<KeyCapture> keyCapture_;
  // The colour chooser's sixteen custom colours, kept while the dialog runs.
  std::array<COLORREF, 16> customColours_{};
};

}  // namespace q8::win32
