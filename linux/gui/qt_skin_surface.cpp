#include "linux/gui/qt_skin_surface.h"

#include "ui/device_scale.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

namespace q8::linux_shell {

QtSkinSurface::QtSkinSurface(QWidget& window, Callbacks callbacks)
    : window_(window), callbacks_(std::move(callbacks)) {
  window_.setMouseTracking(true);
  hoverTimer_.setSingleShot(true);
  connect(&hoverTimer_, &QTimer::timeout, this, [this] {
    if (hoverArmed_ && window_.rect().contains(window_.mapFromGlobal(QCursor::pos()))) {
      hoverArmed_ = false;
      callbacks_.hover(CursorInWindow());
    }
  });
  // Every pointer move over the window or one of its controls, before the control handles it.
  qApp->installEventFilter(this);
}

QtSkinSurface::~QtSkinSurface() {
  qApp->removeEventFilter(this);
}

Point QtSkinSurface::CursorInWindow() const {
  const QPoint p = window_.mapFromGlobal(QCursor::pos());
  return {p.x(), p.y()};
}

void QtSkinSurface::CopyToWindow(const Canvas& source, Rect area) {
  const QImage canvas(reinterpret_cast<const uchar*>(source.Pixels().data()), source.Width(),
                      source.Height(), source.Width() * 4, QImage::Format_RGB32);
  if (screen_.size() != window_.size() * source.Scale() ||
      screen_.devicePixelRatio() != source.Scale()) {
    NewScreen(source.Scale());
  }
  // Device pixels onto device pixels: the picture's pixels seen without its scale, so that
  // nothing is resampled.
  QImage pixels(screen_.bits(), screen_.width(), screen_.height(), screen_.bytesPerLine(),
                screen_.format());
  const Rect device = DeviceRect(area, source.Scale());
  {
    QPainter painter(&pixels);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(device.left, device.top), canvas,
                      QRect(0, 0, device.Width(), device.Height()));
  }
  window_.update(area.left, area.top, area.Width(), area.Height());
}

void QtSkinSurface::ResizeClient(int width, int height) {
  window_.setFixedSize(width, height);
  // Moved to a screen of another scale, the window keeps its size in the screen's pixels (X11),
  // which is another size in the window's: a fixed size that did not change resizes nothing.
  window_.resize(width, height);
  NewScreen(PixelRatio());
}

void QtSkinSurface::NewScreen(double scale) {
  screen_ = QImage(window_.size() * scale, QImage::Format_RGB32);
  screen_.setDevicePixelRatio(scale);
  screen_.fill(Qt::black);
}

void QtSkinSurface::ArmHover(unsigned hoverMs) {
  hoverArmed_ = true;
  hoverTimer_.start(static_cast<int>(hoverMs));
}

void QtSkinSurface::Paint() {
  QPainter painter(&window_);
  painter.drawImage(0, 0, screen_);
}

bool QtSkinSurface::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const auto* move = static_cast<QMouseEvent*>(event);
    // One move is offered to each widget it propagates through; act on it once.
    if (widget != nullptr && (widget == &window_ || window_.isAncestorOf(widget)) &&
        move->timestamp() != lastPointerMove_) {
      lastPointerMove_ = move->timestamp();
      callbacks_.pointerMove(CursorInWindow());
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace q8::linux_shell
