#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <functional>

namespace q8::linux_shell {

// Follows the scale of the screen a skinned window shows on: the window moved to a screen of
// another scale factor, or its screen's dots per inch changed (Qt 6.4 has no event for a change of
// a window's device pixel ratio, so both are watched). When the window's ratio is no longer the
// one it was drawn at, `changed` runs: the window's controller makes its canvas, fonts and page
// again at the new scale.
class QtWindowScale final : public QObject {
 public:
  QtWindowScale(QWidget& window, std::function<void()> changed);
  QtWindowScale(const QtWindowScale&) = delete;
  QtWindowScale& operator=(const QtWindowScale&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The window's native window shows on `screen` now.
  void WatchScreen(QScreen* screen);
  void CompareRatio();
  void CompareRatioNow();

  QWidget& window_;
  std::function<void()> changed_;
  // The ratio the window was last drawn at.
  double drawnAt_;
  QPointer<QWindow> native_;
  QMetaObject::Connection screenChanged_;
  QMetaObject::Connection logicalDpi_;
  QMetaObject::Connection physicalDpi_;
};

}  // namespace q8::linux_shell
