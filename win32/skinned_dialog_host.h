#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "ui/dialog_host.h"
#include "win32/gdi_font.h"
#include "win32/gdi_text_painter.h"
#include "win32/key_capture.h"
#include "win32/native_controls.h"

namespace q8::win32 {

// The Windows side of one run of a skinned dialog: its window's services as the controller asks
// for them (native child controls, message boxes and the colour chooser owned by the dialog, its
// GDI font, drawing the canvas to the screen, hover tracking, key capture, the end of the run),
// and the translation of the window's messages into the controller's events. Everything it makes
// (font, brush, key hook) is released when the run ends.
class SkinnedDialogHost final : public NativeControlsOf<DialogHost> {
 public:
  SkinnedDialogHost(HWND window, DialogController& controller);
  SkinnedDialogHost(const SkinnedDialogHost&) = delete;
  SkinnedDialogHost& operator=(const SkinnedDialogHost&) = delete;

  // The dialog procedure's work for one message; nothing when the message is left to the
  // platform's dialog handling.
  std::optional<INT_PTR> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // A message of the dialog's loop before the platform's dialog handling: true consumes it.
  bool PreTranslate(const MSG& message);

  // SkinWindowHost
  Rect ClientRect() const override;
  void CopyToWindow(const Canvas& source, Rect area) override;
  double PixelRatio() const override;
  void ResizeClient(int width, int height) override;
  void TrackMouse(bool alsoLeave, unsigned hoverMs) override;

  // ControlHost: a control with the keyboard focus gives it up before it goes, so an edit
  // settles its value first.
  void DestroyControl(ControlId id) override;

  // MessageSink
  void ShowMessage(std::string_view text, std::string_view caption) override;

  // DialogHost
  void SetFont(const FontRequest& font) override;
  TextPainter& Text() override { return text_; }
  void EndDialog(DialogResult result) override;
  KeyCaptureStart StartKeyCapture() override;
  bool AskYesNo(std::string_view text, std::string_view caption) override;
  std::optional<std::filesystem::path> ChooseFile(const FileChoice& choice) override;

 private:
  std::optional<INT_PTR> HandleCommand(WPARAM wParam, LPARAM lParam);
  // Moves the keyboard focus to the dialog itself when `control` (or, for null, any child) has it.
  void TakeFocusFrom(HWND control);

  HWND window_;
  DialogController& controller_;
  UniqueFont font_;
  // Draws with the dialog's font once it is made; the controller keeps a reference from the start.
  GdiTextPainter text_{nullptr, nullptr};
  std::unique_ptr<KeyCapture> keyCapture_;
};

}  // namespace q8::win32
