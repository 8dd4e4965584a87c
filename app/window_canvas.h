#pragma once

#include <filesystem>

#include "pages/main_page_operations.h"
#include "ui/image_decoder.h"
#include "ui/skin_painter.h"
#include "ui/skinned_window.h"

namespace q8 {

// The main window's picture over the program's life: made from the skin's background, let go of
// while the window waits hidden in the tray (with every decoded image), and made again at the next
// show, over the page art where that art hides the whole background.
class WindowCanvas {
 public:
  WindowCanvas(SkinnedWindow& window, SkinPainter& painter, ImageDecoder& decoder)
      : window_(window), painter_(painter), decoder_(decoder) {}

  // A skin without its background leaves the window without a canvas; nothing is said.
  void MakeFrom(std::filesystem::path background);
  void MakeAgain() { window_.MakeCanvas(decoder_, background_); }
  bool Released() const { return window_.CanvasReleased(); }
  void Release() {
    window_.ReleaseCanvas();
    painter_.ReleaseImages();
  }
  // Makes the canvas a released window shows, and draws `builtPage` (if any) on it.
  void Restore(MainPageOperations* builtPage);

 private:
  SkinnedWindow& window_;
  SkinPainter& painter_;
  ImageDecoder& decoder_;
  std::filesystem::path background_;  // what the canvas was made from
};

}  // namespace q8
