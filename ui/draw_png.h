#pragma once

#include <filesystem>
#include <string_view>

#include "settings/message_sink.h"
#include "ui/canvas.h"
#include "ui/image_decoder.h"

namespace q8 {

inline constexpr std::string_view kMsgLoadPngFailed = "LoadPng---Load image failed.";

// Multiplies every colour channel by its pixel's alpha, c = c * a / 255 with truncating integer
// division; alpha stays as it is.
void Premultiply(Canvas& image);

// Draws a premultiplied image with its top-left corner at (x, y), source over, per pixel:
// d = s + d * (255 - sa) / 255 for every channel, alpha included. Parts outside the target are
// clipped; the image is never scaled.
void BlendOver(Canvas& target, const Canvas& image, int x, int y);

// Copies an image with its top-left corner at (x, y), every pixel opaque; clipped like BlendOver.
void CopyOver(Canvas& target, const Canvas& image, int x, int y);

// Draws an image made ready for drawing (premultiplied when it has alpha) with its top-left corner
// at (x, y): blended when it has alpha, copied otherwise.
void DrawPrepared(Canvas& target, const DecodedImage& image, int x, int y);

// Decodes the image at `path` again (nothing is kept; SkinImageCache keeps images) and draws it
// whole at (x, y) into `target`: premultiplied and blended when the file has an alpha channel,
// copied otherwise. Returns false, drawing nothing, when there is no target or the image cannot be
// decoded. This is the main window's variant: a failure is silent.
bool DrawPng(Canvas* target, const std::filesystem::path& path, int x, int y,
             ImageDecoder& decoder);

// The dialogs' variant: the same drawing, but an image that cannot be decoded is reported with
// kMsgLoadPngFailed under the application's name, at every failed draw.
bool LoadPng(Canvas* target, const std::filesystem::path& path, int x, int y, ImageDecoder& decoder,
             MessageSink& messages);

}  // namespace q8
