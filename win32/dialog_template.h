#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace q8::win32 {

// A dialog template without controls, as the dialog functions take it from memory.
struct DialogTemplateLayout {
  DWORD style = 0;
  DWORD exStyle = 0;
  // Size in dialog units; the template's position is 0, 0 (DS_CENTER places the window).
  short width = 0;
  short height = 0;
  // Empty: the system dialog class.
  std::wstring windowClass;
  std::wstring title;
  // Used when the style has DS_SETFONT.
  WORD pointSize = 0;
  std::wstring face;
};

// The template's bytes: a DLGTEMPLATE, then the menu (none), class, title and, with DS_SETFONT,
// the point size and face, each in WORDs. The vector's storage keeps the alignment the dialog
// functions need.
std::vector<WORD> BuildDialogTemplate(const DialogTemplateLayout& layout);

inline const DLGTEMPLATE* AsTemplate(const std::vector<WORD>& words) {
  return reinterpret_cast<const DLGTEMPLATE*>(words.data());
}

}  // namespace q8::win32
