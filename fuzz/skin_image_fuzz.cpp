// A skin image from a folder anyone can drop in: any bytes under a skin image's name. Decoded by
// the system's PNG decoder behind its size and damage checks and drawn the way the dialogs and
// the main window draw, at the window's edges too, where the drawing is clipped.
#include "fuzz/fuzz_support.h"
#include "ui/draw_png.h"
#include "ui/png_decoder.h"
#include "ui/png_file.h"

namespace q8 {
namespace {

const fuzz::ScratchFolder scratch;

class CountingMessages final : public MessageSink {
 public:
  void ShowMessage(std::string_view, std::string_view) override { ++count; }
  int count = 0;
};

}  // namespace
}  // namespace q8

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q8;
  static PngDecoder decoder;
  const auto image = scratch / "button-over.png";
  fuzz::WriteInput(image, fuzz::Bytes(data, size));

  const auto decoded = decoder.Decode(image);
  if (decoded) {
    const Canvas& pixels = decoded->pixels;
    fuzz::Require(pixels.Width() >= 1 && pixels.Width() <= kMaxImageSide && pixels.Height() >= 1 &&
                      pixels.Height() <= kMaxImageSide,
                  "a decoded image keeps to the size limit");
    fuzz::Require(pixels.Pixels().size() == static_cast<std::size_t>(pixels.Width()) *
                                                static_cast<std::size_t>(pixels.Height()),
                  "a decoded image has a pixel for every place");
  }

  Canvas canvas(48, 32);
  CountingMessages messages;
  const bool drawn = LoadPng(&canvas, image, 0, 0, decoder, messages);
  fuzz::Require(drawn == decoded.has_value(), "the dialogs draw exactly what decodes");
  fuzz::Require(messages.count == (drawn ? 0 : 1), "an image that is not drawn is reported");
  fuzz::Require(DrawPng(&canvas, image, -7, 20, decoder) == drawn,
                "the main window draws exactly what decodes");
  return 0;
}
