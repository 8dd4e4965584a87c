#include "win32/main_window.h"

#include "app/keldra_dlg.h"
#include "ui/device_scale.h"
#include "win32/wide_text.h"
#include "win32/window_scale.h"
#include "win32/window_surface.h"

// The main window's picture at its display's scale: the client area, the canvas copied to the
// screen, the fonts made for the scale, and a change of scale.

namespace q8::win32 {
namespace {

HFONT CreateFontFrom(const FontRequest& request) {
  return ::CreateFontW(request.height, 0, 0, 0, request.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       request.pitchAndFamily, ToWide(request.face).c_str());
}

}  // namespace

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
  ReleaseFonts();
  const double scale = WindowScale(window_);
  normalFont_ = CreateFontFrom(ScaledFont(fonts.normal, scale));
  titleFont_ = CreateFontFrom(ScaledFont(fonts.title, scale));
  textPainter_ = GdiTextPainter(normalFont_, titleFont_);
  controls_.SetFont(normalFont_);
}

void MainWindow::ReleaseFonts() {
  for (HFONT* font : {&normalFont_, &titleFont_}) {
    if (*font != nullptr) {
      ::DeleteObject(*font);
      *font = nullptr;
    }
  }
}

}  // namespace q8::win32
