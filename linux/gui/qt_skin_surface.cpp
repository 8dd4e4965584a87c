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
  // Paint covers every pixel: Qt need not fill the window with its background colour first, over
  // a megabyte and more at every paint of the whole window.
  window_.setAttribute(Qt::WA_OpaquePaintEvent);
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

namespace {

// The canvas's pixels as Qt sees them, without a copy.
QImage ImageOf(const Canvas& canvas) {
  QImage image(reinterpret_cast<const uchar*>(canvas.Pixels().data()), canvas.Width(),
               canvas.Height(), canvas.Width() * 4, QImage::Format_RGB32);
  image.setDevicePixelRatio(canvas.Scale());
  return image;
}

}  // namespace

void QtSkinSurface::KeepCanvas(const Canvas* canvas) {
  kept_ = canvas;
  screen_ = QImage();
  window_.update();
}

void QtSkinSurface::CopyToWindow(const Canvas& source, Rect area) {
  // The kept canvas is the window's picture from its origin: a copy of it elsewhere is no part
  // of that picture.
  if (&source != kept_ || area.left != 0 || area.top != 0) {
    if (kept_ != nullptr) {
      // Something else reached the window: from now on its picture is a copy.
      CopyIntoScreen(*kept_, {0, 0, window_.width(), window_.height()});
      kept_ = nullptr;
    }
    CopyIntoScreen(source, area);
  }
  window_.update(area.left, area.top, area.Width(), area.Height());
}

void QtSkinSurface::CopyIntoScreen(const Canvas& source, Rect area) {
  if (screen_.size() != window_.size() * source.Scale() ||
      screen_.devicePixelRatio() != source.Scale()) {
    screen_ = QImage(window_.size() * source.Scale(), QImage::Format_RGB32);
    screen_.setDevicePixelRatio(source.Scale());
    screen_.fill(Qt::black);
  }
  // Device pixels onto device pixels: both images seen without their scale, so that nothing is
  // resampled.
  QImage pixels(screen_.bits(), screen_.width(), screen_.height(), screen_.bytesPerLine(),
                screen_.format());
  QImage canvas = ImageOf(source);
  canvas.setDevicePixelRatio(1.0);
  const Rect device = DeviceRect(area, source.Scale());
  QPainter painter(&pixels);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPoint(device.left, device.top), canvas,
                    QRect(0, 0, device.Width(), device.Height()));
}

void QtSkinSurface::ResizeClient(int width, int height) {
  window_.setFixedSize(width, height);
  // Moved to a screen of another scale, the window keeps its size in the screen's pixels (X11),
  // which is another size in the window's: a fixed size that did not change resizes nothing.
  window_.resize(width, height);
  screen_ = QImage();
}

void QtSkinSurface::ArmHover(unsigned hoverMs) {
  hoverArmed_ = true;
  hoverTimer_.start(static_cast<int>(hoverMs));
}

void QtSkinSurface::Paint() {
  QPainter painter(&window_);
  if (kept_ != nullptr) {
    painter.drawImage(0, 0, ImageOf(*kept_));
  } else if (!screen_.isNull()) {
    painter.drawImage(0, 0, screen_);
  } else {
    painter.fillRect(window_.rect(), Qt::black);
  }
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
