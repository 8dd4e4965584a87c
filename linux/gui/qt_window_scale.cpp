#include "linux/gui/qt_window_scale.h"

#include <QEvent>
#include <QScreen>
#include <QWindow>

namespace q8::linux_shell {

QtWindowScale::QtWindowScale(QWidget& window, std::function<void()> changed)
    : window_(window), changed_(std::move(changed)), drawnAt_(window.devicePixelRatioF()) {
  // The native window, whose screen changes, exists once the window is first shown.
  window_.installEventFilter(this);
}

bool QtWindowScale::eventFilter(QObject* watched, QEvent* event) {
  // A change of the window's flags makes a new native window: each show looks at the one it has.
  if (watched == &window_ && event->type() == QEvent::Show && window_.windowHandle() != native_) {
    disconnect(screenChanged_);
    native_ = window_.windowHandle();
    if (native_ != nullptr) {
      screenChanged_ = connect(native_, &QWindow::screenChanged, this,
                               [this](QScreen* screen) { WatchScreen(screen); });
      WatchScreen(native_->screen());
    }
  }
  return QObject::eventFilter(watched, event);
}

void QtWindowScale::WatchScreen(QScreen* screen) {
  disconnect(logicalDpi_);
  disconnect(physicalDpi_);
  if (screen != nullptr) {
    logicalDpi_ =
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, [this] { CompareRatio(); });
    physicalDpi_ =
        connect(screen, &QScreen::physicalDotsPerInchChanged, this, [this] { CompareRatio(); });
  }
  CompareRatio();
}

void QtWindowScale::CompareRatio() {
  // Qt tells of the new screen before it gives the window its size there: the window is drawn
  // anew once that is done.
  QMetaObject::invokeMethod(
      this, [this] { CompareRatioNow(); }, Qt::QueuedConnection);
}

void QtWindowScale::CompareRatioNow() {
  const double ratio = window_.devicePixelRatioF();
  if (ratio != drawnAt_) {
    drawnAt_ = ratio;
    changed_();
  }
}

}  // namespace q8::linux_shell
