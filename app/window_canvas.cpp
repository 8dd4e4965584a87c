#include "app/window_canvas.h"

#include <optional>
#include <utility>

namespace q8 {

void WindowCanvas::MakeFrom(std::filesystem::path background) {
  background_ = std::move(background);
  MakeAgain();
}

void WindowCanvas::Restore(MainPageOperations* builtPage) {
  if (!Released()) {
    return;
  }
  // Page art that hides the whole window leaves nothing of the background to see: it becomes the
  // canvas, and the background is not decoded.
  std::optional<Canvas> art = builtPage != nullptr ? builtPage->TakeArt() : std::nullopt;
  const bool overArt = art && window_.TakeCanvas(std::move(*art));
  if (!overArt) {
    MakeAgain();
  }
  if (builtPage != nullptr) {
    builtPage->Redraw(overArt);
  }
  painter_.ReleaseImages();
}

}  // namespace q8
