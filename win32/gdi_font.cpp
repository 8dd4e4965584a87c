#include "win32/gdi_font.h"

#include <string>

#include "win32/wide_text.h"

namespace q8::win32 {

UniqueFont CreateGdiFont(const FontRequest& request) {
  const std::wstring face = ToWide(request.face);
  return UniqueFont(::CreateFontW(request.height, 0, 0, 0, request.weight, FALSE, FALSE, FALSE,
                                  ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, request.pitchAndFamily, face.c_str()));
}

}  // namespace q8::win32
