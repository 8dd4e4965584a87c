#include "win32/gdi_text_painter.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "ui/device_scale.h"
#include "win32/gdi_font.h"
#include "win32/wide_text.h"

namespace q8 {
namespace {

// A memory device context with a top-down 32-bit DIB section selected into it.
class DibSurface {
 public:
  DibSurface(int width, int height) : dc_(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows top-down, like a canvas
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (dc_ != nullptr) {
      bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    }
    if (bitmap_ != nullptr) {
      previous_ = ::SelectObject(dc_, bitmap_);
    }
  }
  ~DibSurface() {
    if (previous_ != nullptr) {
      ::SelectObject(dc_, previous_);
    }
    if (bitmap_ != nullptr) {
      ::DeleteObject(bitmap_);
    }
    if (dc_ != nullptr) {
      ::DeleteDC(dc_);
    }
  }
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  bool valid() const { return bits_ != nullptr; }
  HDC dc() const { return dc_; }
  Pixel* pixels() const { return static_cast<Pixel*>(bits_); }

 private:
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
};

UINT AlignFlag(TextAlign align) {
  switch (align) {
    case TextAlign::kLeft:
      return DT_LEFT;
    case TextAlign::kRight:
      return DT_RIGHT;
    default:
      return DT_CENTER;
  }
}

// The window's font `sizesDown` pixels less high at `scale`, made for the one text that needs it
// and deleted after; none (the window's own font) at its own size.
win32::UniqueFont SmallerFont(HFONT font, int sizesDown, double scale) {
  LOGFONTW description{};
  if (sizesDown <= 0 || ::GetObjectW(font, sizeof(description), &description) == 0) {
    return {};
  }
  // A positive height is the cell's, a negative one the characters' alone: both shrink.
  const int less = ToDevice(sizesDown, scale);
  description.lfHeight = description.lfHeight > 0 ? std::max(1L, description.lfHeight - less)
                                                  : std::min(-1L, description.lfHeight + less);
  return win32::UniqueFont(::CreateFontIndirectW(&description));
}

// Selects a font into a device context for as long as it lives.
class SelectedFont {
 public:
  SelectedFont(HDC dc, HFONT font) : dc_(dc), previous_(::SelectObject(dc, font)) {}
  ~SelectedFont() { ::SelectObject(dc_, previous_); }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Copies the rows of `area` between the canvas and a surface of the area's size.
void CopyRows(Canvas& canvas, const Rect& area, Pixel* surface, bool toSurface) {
  const auto rowBytes = static_cast<std::size_t>(area.Width()) * sizeof(Pixel);
  for (int y = area.top; y < area.bottom; ++y) {
    Pixel* row = surface + static_cast<std::size_t>(y - area.top) * area.Width();
    Pixel* canvasRow = &canvas.At(area.left, y);
    std::memcpy(toSurface ? row : canvasRow, toSurface ? canvasRow : row, rowBytes);
  }
}

}  // namespace

int GdiTextPainter::TextWidth(std::string_view text, FontRole font, int sizesDown, double scale) {
  const std::wstring wide = win32::ToWide(text);
  const HDC dc = ::CreateCompatibleDC(nullptr);
  if (dc == nullptr || wide.empty()) {
    if (dc != nullptr) {
      ::DeleteDC(dc);
    }
    return 0;
  }
  const HFONT own = font == FontRole::kTitle ? titleFont_ : normalFont_;
  const win32::UniqueFont smaller = SmallerFont(own, sizesDown, scale);
  int width = 0;
  {
    const SelectedFont selected(dc, smaller.Get() != nullptr ? smaller.Get() : own);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &extent);
    width = extent.cx;
    // The ink of the first and last characters may reach past their advance (TrueType only).
    ABC first{};
    ABC last{};
    if (::GetCharABCWidthsW(dc, wide.front(), wide.front(), &first) &&
        ::GetCharABCWidthsW(dc, wide.back(), wide.back(), &last)) {
      width += std::max(0, -first.abcA) + std::max(0, -last.abcC);
    }
  }
  ::DeleteDC(dc);
  return width;
}

void GdiTextPainter::DrawSized(Canvas& canvas, std::string_view text, Rect skinRect, FontRole font,
                               int sizesDown, Rgb colour, TextAlign align) {
  // The box follows the canvas's scale, like the fonts the window made for its display.
  const Rect rect = ScaledRect(skinRect, canvas.Scale());
  const Rect area{std::max(rect.left, 0), std::max(rect.top, 0),
                  std::min(rect.right, canvas.Width()), std::min(rect.bottom, canvas.Height())};
  std::wstring wide = win32::ToWide(text);
  if (area.Width() <= 0 || area.Height() <= 0 || wide.empty()) {
    return;
  }
  DibSurface surface(area.Width(), area.Height());
  if (!surface.valid()) {
    return;
  }
  CopyRows(canvas, area, surface.pixels(), true);
  const HFONT own = font == FontRole::kTitle ? titleFont_ : normalFont_;
  const win32::UniqueFont smaller = SmallerFont(own, sizesDown, canvas.Scale());
  {
    const SelectedFont selected(surface.dc(), smaller.Get() != nullptr ? smaller.Get() : own);
    ::SetBkMode(surface.dc(), TRANSPARENT);
    ::SetTextColor(surface.dc(), colour.ColorRef());
    // The whole rectangle, in the surface's coordinates, so that centring ignores the clipping.
    RECT box{rect.left - area.left, rect.top - area.top, rect.right - area.left,
             rect.bottom - area.top};
    ::DrawTextW(surface.dc(), wide.data(), static_cast<int>(wide.size()), &box,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | AlignFlag(align));
  }
  ::GdiFlush();
  CopyRows(canvas, area, surface.pixels(), false);
}

}  // namespace q8
