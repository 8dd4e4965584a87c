#include <objidl.h>
#include <shlwapi.h>
#include <windows.h>
// GDI+ refers to min and max, which the build keeps out of the Windows headers.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "ui/png_decoder.h"
#include "ui/png_file.h"

namespace q8 {
namespace {

using namespace Gdiplus::DllExports;

// Owns a COM stream over the file's bytes.
class MemoryStream {
 public:
  explicit MemoryStream(const std::vector<std::uint8_t>& bytes)
      : stream_(::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()))) {}
  ~MemoryStream() {
    if (stream_ != nullptr) {
      stream_->Release();
    }
  }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  IStream* get() const { return stream_; }

 private:
  IStream* stream_;
};

// Owns a GDI+ bitmap.
class GdiplusBitmap {
 public:
  GdiplusBitmap() = default;
  ~GdiplusBitmap() {
    if (bitmap_ != nullptr) {
      GdipDisposeImage(bitmap_);
    }
  }
  GdiplusBitmap(const GdiplusBitmap&) = delete;
  GdiplusBitmap& operator=(const GdiplusBitmap&) = delete;

  Gdiplus::GpBitmap** out() { return &bitmap_; }
  Gdiplus::GpBitmap* get() const { return bitmap_; }

 private:
  Gdiplus::GpBitmap* bitmap_ = nullptr;
};

// Copies the bitmap's pixels as straight 32-bit ARGB, which in memory is the BGRA of a Pixel.
bool CopyPixels(Gdiplus::GpBitmap* bitmap, int width, int height, std::vector<Pixel>& pixels) {
  Gdiplus::GpRect area(0, 0, width, height);
  Gdiplus::BitmapData data{};
  data.Width = static_cast<UINT>(width);
  data.Height = static_cast<UINT>(height);
  data.Stride = width * 4;
  data.PixelFormat = PixelFormat32bppARGB;
  data.Scan0 = pixels.data();
  // ImageLockModeUserInputBuf: GDI+ writes straight into our buffer, with our stride.
  const UINT mode = Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf;
  if (GdipBitmapLockBits(bitmap, &area, mode, PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
    return false;
  }
  return GdipBitmapUnlockBits(bitmap, &data) == Gdiplus::Ok;
}

}  // namespace

PngDecoder::PngDecoder() {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
    session_ = token;
  }
}

PngDecoder::~PngDecoder() {
  if (session_ != 0) {
    Gdiplus::GdiplusShutdown(session_);
  }
}

std::optional<DecodedImage> PngDecoder::Decode(const std::filesystem::path& path) {
  if (session_ == 0) {
    return std::nullopt;
  }
  const auto file = ReadImageFile(path);
  if (!file) {
    return std::nullopt;
  }
  const auto facts = InspectPng(*file);
  if (!facts) {
    return std::nullopt;
  }
  MemoryStream stream(*file);
  GdiplusBitmap bitmap;
  if (stream.get() == nullptr ||
      GdipCreateBitmapFromStream(stream.get(), bitmap.out()) != Gdiplus::Ok) {
    return std::nullopt;
  }
  UINT width = 0;
  UINT height = 0;
  GdipGetImageWidth(bitmap.get(), &width);
  GdipGetImageHeight(bitmap.get(), &height);
  if (width != static_cast<UINT>(facts->width) || height != static_cast<UINT>(facts->height)) {
    return std::nullopt;
  }
  std::vector<Pixel> pixels(static_cast<std::size_t>(facts->width) *
                            static_cast<std::size_t>(facts->height));
  if (!CopyPixels(bitmap.get(), facts->width, facts->height, pixels)) {
    return std::nullopt;
  }
  return DecodedImage{Canvas(facts->width, facts->height, std::move(pixels)), facts->hasAlpha};
}

}  // namespace q8
