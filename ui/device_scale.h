#pragma once

#include <filesystem>
#include <optional>

#include "ui/canvas.h"
#include "ui/image_decoder.h"
#include "ui/language_fonts.h"
#include "ui/rect.h"

namespace q8 {

// A window's drawing scale: device pixels per skin pixel (1 at 100 %, 2 at 200 %). Hit areas,
// positions and window sizes stay in the skin's own pixels; only what lands in the canvas is
// scaled.
inline constexpr double kUnscaled = 1.0;

// A skin coordinate in device pixels, rounded to the nearest.
int ToDevice(int skinPixels, double scale);
// The device pixels that cover `area`: edges rounded outward, so nothing of the area is left out.
Rect DeviceRect(Rect area, double scale);
// A rectangle in device pixels, each edge rounded to the nearest (where a text's box lands).
Rect ScaledRect(Rect area, double scale);
// A device point in skin pixels (rounded down): where the pointer is on the skin.
Point ToSkin(Point device, double scale);
// A device rectangle in skin pixels, each edge rounded to the nearest.
Rect ToSkin(Rect device, double scale);
// A font request for a window drawn at `scale`: its cell height scaled, the rest as it is.
FontRequest ScaledFont(FontRequest font, double scale);

// Where a skin keeps an image at twice the size: "main.png" beside "main@2x.png".
std::filesystem::path DoubleSizePath(const std::filesystem::path& image);

// Resizes an image with a smooth filter (a tent as wide as the larger of one source and one target
// pixel): enlarging interpolates between neighbours, reducing averages every source pixel it
// covers. Premultiplied images stay premultiplied.
Canvas ResampleSmooth(const Canvas& image, int width, int height);

// Whether an image of `width` x `height` skin pixels drawn at `scale` stays within as many pixels
// as the largest image a skin may hold (kMaxImageSide squared). A large image at a large scale
// would otherwise take gigabytes and long seconds to resize; such an image is refused at that
// scale like an oversized file.
bool FitsAtScale(int width, int height, double scale);

// The decoded file `image` (`original`) as a window drawn at `scale` shows it: at scale 1 exactly
// the file; above, ToDevice of its size, from the skin's double-size image where it has one of
// exactly twice the size (taken as it is at scale 2), otherwise from the file itself, resized
// smoothly. With `premultiply`, an image with alpha is premultiplied (Premultiply) before it is
// resized, as drawing wants it; otherwise the pixels stay straight, as the decoder gives them.
// Nothing when the image does not fit at that scale (FitsAtScale).
std::optional<DecodedImage> AtScale(ImageDecoder& decoder, const std::filesystem::path& image,
                                    DecodedImage original, double scale, bool premultiply);

// Decodes `image` and gives it AtScale; nothing when the file itself cannot be decoded or is too
// large at that scale.
std::optional<DecodedImage> DecodeAtScale(ImageDecoder& decoder, const std::filesystem::path& image,
                                          double scale, bool premultiply);

}  // namespace q8
