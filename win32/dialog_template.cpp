#include "win32/dialog_template.h"

#include <cstring>

namespace q8::win32 {
namespace {

void AppendText(std::vector<WORD>& words, const std::wstring& text) {
  for (wchar_t c : text) {
    words.push_back(static_cast<WORD>(c));
  }
  words.push_back(0);
}

}  // namespace

std::vector<WORD> BuildDialogTemplate(const DialogTemplateLayout& layout) {
  DLGTEMPLATE header{};
  header.style = layout.style;
  header.dwExtendedStyle = layout.exStyle;
  header.cdit = 0;
  header.x = 0;
  header.y = 0;
  header.cx = layout.width;
  header.cy = layout.height;
  static_assert(sizeof(DLGTEMPLATE) % sizeof(WORD) == 0);
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD));
  std::memcpy(words.data(), &header, sizeof(header));
  words.push_back(0);  // no menu
  if (layout.windowClass.empty()) {
    words.push_back(0);  // the system dialog class
  } else {
    AppendText(words, layout.windowClass);
  }
  AppendText(words, layout.title);
  if ((layout.style & DS_SETFONT) != 0) {
    words.push_back(layout.pointSize);
    AppendText(words, layout.face);
  }
  return words;
}

}  // namespace q8::win32
