#include "win32/main_window.h"

#include "app/keldra_dlg.h"
#include "ui/device_scale.h"
#include "win32/window_scale.h"
#include "win32/window_surface.h"

// The main window's picture at its display's scale: the client area, the canvas copied to the
// screen, the fonts made for the scale, and a change of scale.

namespace q8::win32 {

// --- SkinWindowHost ------------------------------------------------------------------------------

Rect MainWindow::ClientRect() const {
  return ClientRectOf(window_);
}

void MainWindow::CopyToWindow(const Canvas& source, Rect area) {
  CopyCanvasToWindow(window_, source, area);
}

double MainWindow::PixelRatio() const {
  return WindowScale(window_);
}

// Moved to a monitor of another scale, or the scale changed under it: the window takes the scale
// and the place the system gives, as the dialogs do, then the controller makes its fonts, canvas
// and page again.
void MainWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  TakeAnnouncedScale(window_, wParam, lParam, controls_);
  controller_->OnDisplayScaleChanged();
}

void MainWindow::ResizeClient(int width, int height) {
  ResizeWindowClient(window_, width, height);
}

void MainWindow::TrackMouse(bool alsoLeave, unsigned hoverMs) {
  TrackWindowMouse(window_, alsoLeave, hoverMs);
}

void MainWindow::SetFonts(const LanguageFonts& fonts) {
  const double scale = WindowScale(window_);
  normalFont_ = CreateGdiFont(ScaledFont(fonts.normal, scale));
  titleFont_ = CreateGdiFont(ScaledFont(fonts.title, scale));
  textPainter_ = GdiTextPainter(normalFont_.Get(), titleFont_.Get());
  controls_.SetFont(normalFont_.Get());
}

}  // namespace q8::win32
