#pragma once

#include "ui/canvas.h"
#include "ui/rect.h"

namespace q8 {

// What a skinned window's host does for the drawing code. The Windows shell copies with BitBlt
// and tracks with TrackMouseEvent; tests record the calls.
class SkinWindowHost {
 public:
  virtual ~SkinWindowHost() = default;
  // The client area, in client pixels (left and top 0): the skin's pixels, whatever the scale.
  virtual Rect ClientRect() const = 0;
  // Copies `area` of the window from `source`, whose top-left pixel lands on the area's top-left
  // corner (a plain source copy, no blending). The source is at its own scale: the area covers
  // DeviceRect(area, source.Scale()) of the screen's pixels.
  virtual void CopyToWindow(const Canvas& source, Rect area) = 0;
  // The canvas that holds the window's picture from now on, or null when it has none. A host may
  // paint the window from it whenever the system asks, instead of keeping a copy: a copy from it
  // then only tells which area changed. It stays valid until the next call or the end of the
  // window's controller, which outlives the window on screen.
  virtual void KeepCanvas(const Canvas* /*canvas*/) {}
  // Device pixels per skin pixel where the window is shown: the scale its canvas is drawn at.
  virtual double PixelRatio() const { return 1.0; }
  // Gives the client area this size (skin pixels), keeping the window's position and z-order.
  virtual void ResizeClient(int width, int height) = 0;
  // Asks for one hover notification once the mouse rests `hoverMs` inside the window, and a leave
  // notification too when `alsoLeave`.
  virtual void TrackMouse(bool alsoLeave, unsigned hoverMs) = 0;
};

}  // namespace q8
