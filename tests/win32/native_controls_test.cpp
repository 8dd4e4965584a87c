#include "win32/native_controls.h"

#include <gtest/gtest.h>

#include <optional>

namespace q8::win32 {
namespace {

// A plain top-level window to hold the controls, destroyed with the test.
class ParentWindow {
 public:
  ParentWindow()
      : window_(::CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr)) {}
  ~ParentWindow() { ::DestroyWindow(window_); }
  ParentWindow(const ParentWindow&) = delete;
  ParentWindow& operator=(const ParentWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_;
};

HWND Child(HWND parent, int id) {
  return ::GetDlgItem(parent, id);
}

DWORD Style(HWND window) {
  return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
}

TEST(NativeControlsTest, ListsKeepTheirItemsSelectionAndPlace) {
  ParentWindow parent;
  ASSERT_NE(parent.get(), nullptr);
  NativeControls controls;
  controls.SetParent(parent.get());

  controls.CreateList(41, {100, 50, 200, 150}, true);
  HWND list = Child(parent.get(), 41);
  ASSERT_NE(list, nullptr);
  const DWORD style = Style(list);
  EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY),
            static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY));
  EXPECT_EQ(style & LBS_SORT, 0u) << "items stay in the order they were added";

  EXPECT_EQ(controls.ListItemAt(41, {110, 60}), std::nullopt) << "an empty list has no item";
  for (const char* item : {"Left Click", "Right Click", "\xE5\xB7\xA6\xE9\x94\xAE"}) {
    controls.AddListItem(41, item);
  }
  EXPECT_EQ(controls.ListSelection(41), std::nullopt);
  controls.SetListSelection(41, 2);
  EXPECT_EQ(controls.ListSelection(41), 2);

  const Rect second = controls.ListItemRect(41, 1);
  EXPECT_GT(second.top, 0);
  EXPECT_GT(second.Height(), 0);
  // Window client pixels: the list's own rows start at its top-left corner inside the border.
  EXPECT_EQ(controls.ListItemAt(41, {110, 50 + second.top + second.Height() / 2 + 1}), 1);
  EXPECT_EQ(controls.ListItemAt(41, {90, 60}), std::nullopt) << "left of the list";
  EXPECT_EQ(controls.ListItemAt(41, {150, 140}), 2) << "below the last item: the nearest";

  // The scroll bar shows once the items overflow the list, and only in a list that asked for it.
  for (int i = 0; i < 20; ++i) {
    controls.AddListItem(41, "more");
  }
  EXPECT_NE(Style(list) & WS_VSCROLL, 0u);
  controls.CreateList(41, {0, 0, 50, 50}, false);
  EXPECT_FALSE(::IsWindow(list)) << "creating an id again replaces the control";
  for (int i = 0; i < 20; ++i) {
    controls.AddListItem(41, "more");
  }
  EXPECT_EQ(Style(Child(parent.get(), 41)) & WS_VSCROLL, 0u);
  controls.ScrollList(41, 3);
  EXPECT_EQ(::SendMessageW(Child(parent.get(), 41), LB_GETTOPINDEX, 0, 0), 3);
  controls.ScrollList(41, -5);
  EXPECT_EQ(::SendMessageW(Child(parent.get(), 41), LB_GETTOPINDEX, 0, 0), 0);
  controls.DestroyControl(41);
  EXPECT_EQ(Child(parent.get(), 41), nullptr);
  EXPECT_EQ(controls.ListSelection(41), std::nullopt);
}

TEST(NativeControlsTest, StaticsAndEditsCarryUtf8TextAndTheirStyles) {
  ParentWindow parent;
  NativeControls controls;
  controls.SetParent(parent.get());

  controls.CreateStatic(80, {10, 10, 90, 30}, "\xE6\xA0\x87\xE5\x87\x86", StaticStyle::kCentre);
  controls.CreateStatic(81, {10, 40, 90, 60}, "Box", StaticStyle::kSunkenLeft);
  controls.CreateEdit(82, {10, 70, 90, 90}, "500");
  EXPECT_EQ(controls.ControlText(80), "\xE6\xA0\x87\xE5\x87\x86");
  EXPECT_EQ(Style(Child(parent.get(), 80)) & SS_TYPEMASK, static_cast<DWORD>(SS_CENTER));
  EXPECT_NE(Style(Child(parent.get(), 81)) & SS_SUNKEN, 0u);
  EXPECT_EQ(Style(Child(parent.get(), 81)) & SS_TYPEMASK, static_cast<DWORD>(SS_LEFT));
  EXPECT_EQ(Style(Child(parent.get(), 82)) & (ES_NUMBER | ES_CENTER | WS_BORDER),
            static_cast<DWORD>(ES_NUMBER | ES_CENTER));

  ::SetWindowTextW(Child(parent.get(), 82), L"1200");  // what the user types
  EXPECT_EQ(controls.ControlText(82), "1200");
  controls.SetControlText(80, "Neon");
  EXPECT_EQ(controls.ControlText(80), "Neon");

  controls.ShowControl(81, false);
  EXPECT_FALSE(::IsWindowVisible(Child(parent.get(), 81)));
  EXPECT_EQ(controls.ControlText(99), "");
}

TEST(NativeControlsTest, ControlColoursPaintWithTheAskedBrushOrTheDefault) {
  ParentWindow parent;
  NativeControls controls;
  controls.SetParent(parent.get());
  const HDC dc = ::GetDC(parent.get());

  EXPECT_EQ(controls.AnswerControlColor(WM_CTLCOLORSTATIC, dc, {}), 0) << "nothing asked";

  const ControlColors green{Rgb{0, 255, 0}, std::nullopt, Rgb{10, 20, 30}};
  const auto brush =
      reinterpret_cast<HBRUSH>(controls.AnswerControlColor(WM_CTLCOLORLISTBOX, dc, green));
  ASSERT_NE(brush, nullptr);
  LOGBRUSH painted{};
  ASSERT_NE(::GetObjectW(brush, sizeof(painted), &painted), 0);
  EXPECT_EQ(painted.lbColor, (Rgb{10, 20, 30}.ColorRef()));
  EXPECT_EQ(::GetTextColor(dc), (Rgb{0, 255, 0}.ColorRef()));
  EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
  // A list box fills its items with the background colour: that of the brush, not white.
  EXPECT_EQ(::GetBkColor(dc), (Rgb{10, 20, 30}.ColorRef()));

  const ControlColors onWhite{Rgb{0, 0, 0}, Rgb{255, 255, 255}, std::nullopt};
  const auto defaultBrush = controls.AnswerControlColor(WM_CTLCOLORSTATIC, dc, onWhite);
  EXPECT_EQ(defaultBrush, reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE)));
  EXPECT_EQ(::GetBkMode(dc), OPAQUE);
  EXPECT_EQ(::GetBkColor(dc), (Rgb{255, 255, 255}.ColorRef()));

  controls.AnswerControlColor(WM_CTLCOLOREDIT, dc, green);
  EXPECT_EQ(::GetObjectW(brush, sizeof(painted), &painted), 0) << "the earlier brush is freed";
  ::ReleaseDC(parent.get(), dc);
}

}  // namespace
}  // namespace q8::win32
