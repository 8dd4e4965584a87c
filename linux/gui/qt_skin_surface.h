#pragma once

#include <QImage>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "ui/canvas.h"
#include "ui/rect.h"

namespace q8::linux_shell {

// What a skinned window shows and how it follows the pointer, the same for the main window and the
// dialogs: the picture (the controller's canvas itself, or a copy of what reached the window from
// elsewhere), the hover timer the controller arms, and one look at every pointer move over the
// window or its controls, before the control under the pointer handles it.
class QtSkinSurface final : public QObject {
 public:
  struct Callbacks {
    // The pointer rested over the window for the time the controller asked for.
    std::function<void(Point)> hover;
    // The pointer moved over the window or one of its controls.
    std::function<void(Point)> pointerMove;
  };

  QtSkinSurface(QWidget& window, Callbacks callbacks);
  ~QtSkinSurface() override;
  QtSkinSurface(const QtSkinSurface&) = delete;
  QtSkinSurface& operator=(const QtSkinSurface&) = delete;

  // The controller's canvas, painted from as it stands (null: none). A window as large as the
  // screen's pixels of the main window would otherwise hold its picture twice.
  void KeepCanvas(const Canvas* canvas);
  // Has the window repaint `area` of `source` (whose origin is the area's corner): from the kept
  // canvas as it stands, or from a copy of any other source, kept in the picture. The source is at
  // its own scale; the picture holds the screen's pixels.
  void CopyToWindow(const Canvas& source, Rect area);
  // The screen's pixels per pixel of the window (QT_SCALE_FACTOR, the screen's own scale).
  double PixelRatio() const { return window_.devicePixelRatioF(); }
  // Gives the window a fixed size; a copied picture of another size is dropped.
  void ResizeClient(int width, int height);
  // Lets go of a copied picture while the window is hidden: the show copies the canvas whole
  // before the first paint.
  void Release() { screen_ = QImage(); }
  // Calls `hover` once the pointer has rested over the window for `hoverMs`.
  void ArmHover(unsigned hoverMs);
  // Shows the picture; the window's paint event calls it.
  void Paint();
  Point CursorInWindow() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Copies `area` of `source` into the copied picture, made black at the window's size first when
  // it has another size or scale.
  void CopyIntoScreen(const Canvas& source, Rect area);

  QWidget& window_;
  Callbacks callbacks_;
  const Canvas* kept_ = nullptr;
  // What reached the window from elsewhere than the kept canvas; null while it shows the canvas.
  QImage screen_;
  QTimer hoverTimer_;
  bool hoverArmed_ = false;
  ulong lastPointerMove_ = 0;
};

}  // namespace q8::linux_shell
