#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/message_sink.h"
#include "ui/canvas.h"
#include "ui/image_decoder.h"
#include "ui/rect.h"
#include "ui/skin_image_cache.h"
#include "ui/text_port.h"

namespace q8 {

// What the owner-drawn controls of one window draw with: the active skin folder and caption
// colour (both process-wide, read at every draw since the skin chooser replaces them), the image
// decoder and the text painter. The main window fails silently on an image that cannot be
// decoded; a dialog passes its message sink and reports every failure (LoadPng). The painter keeps
// the images it decoded (SkinImageCache) for as long as it lives, and draws at the target canvas's
// scale: images from the skin's double-size files or resized smoothly, texts at the scaled size.
//
// The painter refers to the folder and the colour and must not outlive them; a temporary, which
// would be gone by the first draw, is refused when the code is compiled.
class SkinPainter {
 public:
  SkinPainter(const std::string& skinDirectory, const Rgb& textColor, ImageDecoder& decoder,
              TextPainter& text, MessageSink* loadFailures)
      : skinDirectory_(skinDirectory),
        textColor_(textColor),
        text_(text),
        loadFailures_(loadFailures),
        images_(decoder) {}
  SkinPainter(const std::string&&, const Rgb&, ImageDecoder&, TextPainter&, MessageSink*) = delete;
  SkinPainter(const std::string&, const Rgb&&, ImageDecoder&, TextPainter&, MessageSink*) = delete;
  SkinPainter(const std::string&&, const Rgb&&, ImageDecoder&, TextPainter&, MessageSink*) = delete;

  // Draws the skin image `imageName` ("/...") with its top-left corner at `at` (skin pixels).
  bool DrawImage(Canvas* target, std::string_view imageName, Point at) const;
  // Puts back what the window's ground images, drawn one over the other from their top-left
  // corner at the window's origin, show in `area`: what lies under a control before its image.
  // An image that cannot be decoded adds nothing (the main window's rule: no message); without
  // ground images nothing is drawn.
  void DrawGround(Canvas* target, std::span<const std::string_view> ground, Rect area) const;
  // The skin image `imageName` at `scale`, taken out of the kept images, when drawn from the
  // window's origin it would hide all that lies under it in `area` (skin pixels): it has no alpha
  // channel and reaches over the whole area. Nothing when it would not, or cannot be decoded.
  std::optional<Canvas> TakeIfHiding(std::string_view imageName, Rect area, double scale) const;
  // Lets go of the images kept so far (a hidden window needs none); the next draw decodes anew.
  void ReleaseImages() const { images_.Clear(); }
  std::size_t KeptImages() const { return images_.size(); }
  // Draws a caption in the normal font and the caption colour.
  void DrawCaption(Canvas* target, std::string_view text, Rect rect, TextAlign align) const;

 private:
  const std::string& skinDirectory_;
  const Rgb& textColor_;
  TextPainter& text_;
  MessageSink* loadFailures_;
  // Drawing changes nothing a caller sees, so the painter draws through const references.
  mutable SkinImageCache images_;
};

}  // namespace q8
