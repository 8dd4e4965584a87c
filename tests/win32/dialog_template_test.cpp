#include "win32/dialog_template.h"

#include <gtest/gtest.h>

#include <string>

#include "win32/message_params.h"

namespace q8::win32 {
namespace {

// The text of `words` from `index` up to its terminator; `index` moves past the terminator.
std::wstring TextAt(const std::vector<WORD>& words, std::size_t& index) {
  std::wstring text;
  while (index < words.size() && words[index] != 0) {
    text.push_back(static_cast<wchar_t>(words[index++]));
  }
  ++index;
  return text;
}

TEST(DialogTemplateTest, LaysOutClassTitleAndFontAfterTheHeader) {
  DialogTemplateLayout layout;
  layout.style = WS_POPUP | DS_SETFONT | DS_CENTER;
  layout.width = 438;
  layout.height = 324;
  layout.windowClass = L"TarnixQ8Class";
  layout.pointSize = 12;
  layout.face = L"\u5B8B\u4F53";
  const std::vector<WORD> words = BuildDialogTemplate(layout);

  const DLGTEMPLATE* header = AsTemplate(words);
  EXPECT_EQ(header->style, layout.style);
  EXPECT_EQ(header->cdit, 0);
  EXPECT_EQ(header->cx, 438);
  EXPECT_EQ(header->cy, 324);
  std::size_t index = sizeof(DLGTEMPLATE) / sizeof(WORD);
  EXPECT_EQ(words[index++], 0) << "no menu";
  EXPECT_EQ(TextAt(words, index), L"TarnixQ8Class");
  EXPECT_EQ(TextAt(words, index), L"");
  EXPECT_EQ(words[index++], 12);
  EXPECT_EQ(TextAt(words, index), L"\u5B8B\u4F53");
  EXPECT_EQ(index, words.size());

  DialogTemplateLayout plain;
  plain.style = WS_POPUP;
  const std::vector<WORD> system = BuildDialogTemplate(plain);
  EXPECT_EQ(system.size(), sizeof(DLGTEMPLATE) / sizeof(WORD) + 3)
      << "menu, class and title are one zero word each; no font without DS_SETFONT";
}

// A dialog of a registered class made from the template: the class and the window's size follow
// the template.
TEST(DialogTemplateTest, CreatesAWindowOfTheNamedClass) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  ASSERT_TRUE(::GetClassInfoExW(nullptr, ResourceId(0x8002), &windowClass));
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"Q8TemplateTestClass";
  ASSERT_NE(::RegisterClassExW(&windowClass), 0);

  DialogTemplateLayout layout;
  layout.style = WS_POPUP;
  layout.width = 100;
  layout.height = 50;
  layout.windowClass = L"Q8TemplateTestClass";
  const std::vector<WORD> words = BuildDialogTemplate(layout);
  HWND dialog = ::CreateDialogIndirectParamW(
      windowClass.hInstance, AsTemplate(words), nullptr,
      [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_NE(dialog, nullptr);
  wchar_t name[64] = {};
  ::GetClassNameW(dialog, name, 64);
  EXPECT_EQ(std::wstring(name), L"Q8TemplateTestClass");
  EXPECT_EQ(::FindWindowW(L"Q8TemplateTestClass", nullptr), dialog);
  ::DestroyWindow(dialog);
  ::UnregisterClassW(L"Q8TemplateTestClass", windowClass.hInstance);
}

}  // namespace
}  // namespace q8::win32
