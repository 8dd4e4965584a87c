#pragma once

#include <optional>
#include <string_view>

#include "ui/canvas.h"
#include "ui/image_decoder.h"
#include "ui/mem_dc.h"
#include "ui/skin_window_host.h"

namespace q8 {

// A skinned window's picture: the canvas made from its background image, kept for the window's
// whole life, and the one way to change what the window shows.
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

  // The canvas, or null when the background failed to load; drawing then draws nothing.
  Canvas* canvas() { return canvas_ ? &*canvas_ : nullptr; }
  SkinWindowHost& host() { return host_; }

  // One canvas drawing: `draw` receives the canvas (or null) and everything it draws reaches the
  // window in a single copy of the client area afterwards.
  template <typename Drawing>
  void Draw(Drawing&& draw) {
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
};

}  // namespace q8
