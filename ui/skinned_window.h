#pragma once

#include <optional>
#include <string_view>

#include "ui/canvas.h"
#include "ui/image_decoder.h"
#include "ui/mem_dc.h"
#include "ui/skin_window_host.h"

namespace q8 {

// A skinned window's picture: the canvas made from its background image, and the one way to change
// what the window shows. A hidden window may let go of its canvas (ReleaseCanvas): until the next
// MakeCanvas nothing is drawn or shown, and whoever shows the window again draws it anew.
class SkinnedWindow {
 public:
  explicit SkinnedWindow(SkinWindowHost& host) : host_(host) {}
  SkinnedWindow(const SkinnedWindow&) = delete;
  SkinnedWindow& operator=(const SkinnedWindow&) = delete;

  // Decodes the background image (nothing premultiplied, nothing drawn), gives the window the
  // image's size and takes the pixels as the canvas; where the host's pixel ratio is not 1, the
  // canvas is the image at that scale (AtScale). Returns false, leaving the window without a
  // canvas and its size as it was, when the image cannot be decoded or is too large at that scale.
  bool MakeCanvas(ImageDecoder& decoder, const std::filesystem::path& background);
  // Makes `pixels` the canvas again after ReleaseCanvas, without decoding the background: an
  // opaque image that covers the window, which is all that would show of the background. False,
  // taking nothing, unless they have the size the background gave the window at the host's pixel
  // ratio of now.
  bool TakeCanvas(Canvas&& pixels);
  // The client area the background gave the window (skin pixels); empty before one was taken.
  Rect Area() const { return {0, 0, width_, height_}; }
  // Lets go of the canvas of a window nobody sees.
  void ReleaseCanvas() {
    canvas_.reset();
    released_ = true;
    host_.KeepCanvas(nullptr);
  }
  // The canvas was let go of and not made again since.
  bool CanvasReleased() const { return released_; }

  // The canvas, or null when the background failed to load; drawing then draws nothing.
  Canvas* canvas() { return canvas_ ? &*canvas_ : nullptr; }
  SkinWindowHost& host() { return host_; }

  // One canvas drawing: `draw` receives the canvas (or null) and everything it draws reaches the
  // window in a single copy of the client area afterwards. Without a canvas because it was let go
  // of, `draw` still runs (what it does besides drawing counts) but nothing reaches the window:
  // a copy would only paint it black.
  template <typename Drawing>
  void Draw(Drawing&& draw) {
    if (released_) {
      draw(static_cast<Canvas*>(nullptr));
      return;
    }
    CMemDC memory(host_, host_.ClientRect());
    memory.SelectCanvas(canvas());
    draw(canvas());
  }

  // Erase-background handling: shows the canvas as it is, in one copy.
  void ShowCanvas() {
    Draw([](Canvas*) {});
  }

 private:
  SkinWindowHost& host_;
  std::optional<Canvas> canvas_;
  bool released_ = false;
  // The size of the background last taken.
  int width_ = 0;
  int height_ = 0;
};

}  // namespace q8
