#pragma once

#include <QDialog>
#include <optional>

#include "linux/gui/qt_controls.h"
#include "linux/gui/qt_skin_surface.h"
#include "linux/gui/qt_text_painter.h"
#include "linux/gui/qt_window_scale.h"
#include "ui/dialog_host.h"

namespace q8::linux_shell {

// Runs a skinned dialog modally over `owner` and returns how it ended.
DialogResult RunQtDialog(QWidget* owner, DialogController& dialog);

// The window of one skinned dialog run: a frameless Qt dialog showing the controller's canvas,
// with its native controls and its keys, forwarding every event to the controller.
class QtDialogWindow final : public QDialog, public QtControlHostOf<DialogHost> {
 public:
  QtDialogWindow(QWidget* owner, DialogController& dialog);
  ~QtDialogWindow() override;

  // SkinWindowHost
  Rect ClientRect() const override { return {0, 0, width(), height()}; }
  void CopyToWindow(const Canvas& source, Rect area) override;
  void KeepCanvas(const Canvas* canvas) override { surface_.KeepCanvas(canvas); }
  double PixelRatio() const override { return surface_.PixelRatio(); }
  void ResizeClient(int width, int height) override;
  void TrackMouse(bool alsoLeave, unsigned hoverMs) override;
  // MessageSink
  void ShowMessage(std::string_view text, std::string_view caption) override;
  // DialogHost
  void SetFont(const FontRequest& font) override;
  TextPainter& Text() override { return text_; }
  void EndDialog(DialogResult result) override;
  KeyCaptureStart StartKeyCapture() override;
  bool AskYesNo(std::string_view text, std::string_view caption) override;
  std::optional<std::filesystem::path> ChooseFile(const FileChoice& choice) override;
  // Whether the controller ended the run already (during its initialisation, say).
  std::optional<DialogResult> EndedWith() const { return endedWith_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool IsFirstReceiver(const QWidget& widget) const;

  DialogController& dialog_;
  QtTextPainter text_;
  bool capturingKeys_ = false;
  std::optional<DialogResult> endedWith_;
  QtSkinSurface surface_;
  QtWindowScale scale_;
};

}  // namespace q8::linux_shell
