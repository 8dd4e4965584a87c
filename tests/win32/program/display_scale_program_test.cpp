// The tray program on displays scaled to 150 % and 200 % (Wine's LogPixels 144 and 192): the
// window is drawn at the display's pixels, a press where Apply now lies writes the mouse, and the
// captions are drawn at the scaled size: their glyphs' edges have far fewer in-between grey levels
// than the same caption at 100 % stretched smoothly, as Windows stretches a program unaware of the
// scale.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "win32/message_params.h"
#include "win32/program/program_driver.h"
#include "win32/tray_icon.h"
#include "win32/user_input.h"

namespace q8::test {
namespace {

// The dots per inch Wine gives every program started from now on; 96 again when it ends.
class DisplayDpi {
 public:
  explicit DisplayDpi(DWORD dpi) { Set(dpi); }
  ~DisplayDpi() { Set(96); }
  DisplayDpi(const DisplayDpi&) = delete;
  DisplayDpi& operator=(const DisplayDpi&) = delete;

 private:
  static void Set(DWORD dpi) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                          KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      ::RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                       sizeof(dpi));
      ::RegCloseKey(key);
    }
  }
};

// A grey picture, row after row.
struct Greys {
  int width = 0;
  int height = 0;
  std::vector<double> levels;
  double At(int x, int y) const {
    return levels[static_cast<std::size_t>(std::clamp(y, 0, height - 1) * width +
                                           std::clamp(x, 0, width - 1))];
  }
};

// What the screen shows of the window's client pixels from `corner`, `width` x `height`.
Greys OnScreen(HWND window, Point corner, int width, int height) {
  Greys greys{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = ScreenPixel(window, {corner.x + x, corner.y + y});
      greys.levels.push_back(0.30 * GetRValue(c) + 0.59 * GetGValue(c) + 0.11 * GetBValue(c));
    }
  }
  return greys;
}

// The picture enlarged `scale` times with bilinear interpolation.
Greys Stretched(const Greys& small, double scale) {
  Greys large{static_cast<int>(small.width * scale), static_cast<int>(small.height * scale), {}};
  for (int y = 0; y < large.height; ++y) {
    for (int x = 0; x < large.width; ++x) {
      const double sx = (x + 0.5) / scale - 0.5;
      const double sy = (y + 0.5) / scale - 0.5;
      const int x0 = static_cast<int>(std::floor(sx));
      const int y0 = static_cast<int>(std::floor(sy));
      const double fx = sx - x0;
      const double fy = sy - y0;
      large.levels.push_back((small.At(x0, y0) * (1 - fx) + small.At(x0 + 1, y0) * fx) * (1 - fy) +
                             (small.At(x0, y0 + 1) * (1 - fx) + small.At(x0 + 1, y0 + 1) * fx) *
                                 fy);
    }
  }
  return large;
}

// Of the pixels lit at all (a quarter of the way from the darkest to the brightest), the share
// that lies between a quarter and three quarters: a glyph's blurred edges.
double BlurredShare(const Greys& greys) {
  const auto [darkest, brightest] = std::minmax_element(greys.levels.begin(), greys.levels.end());
  const double range = std::max(*brightest - *darkest, 1.0);
  int lit = 0;
  int between = 0;
  for (const double level : greys.levels) {
    const double t = (level - *darkest) / range;
    lit += t > 0.25 ? 1 : 0;
    between += t > 0.25 && t < 0.75 ? 1 : 0;
  }
  return lit == 0 ? 1.0 : static_cast<double>(between) / lit;
}

int PageWrites(const std::filesystem::path& trace) {
  std::ifstream file(trace);
  int count = 0;
  for (std::string line; std::getline(file, line);) {
    count += line.starts_with("set page") ? 1 : 0;
  }
  return count;
}

constexpr Point kApply{700, 630};
// The caption "Key Setting" on its panel's header, in the skin's pixels.
constexpr Rect kCaption{272, 160, 352, 182};

TEST(DisplayScaleProgramTest, TheWindowIsDrawnAtTheDisplaysPixelsAndItsClicksLandRight) {
  struct Display {
    DWORD dpi;
    double scale;
  };
  Greys atHundred;
  for (const Display display : {Display{96, 1.0}, Display{144, 1.5}, Display{192, 2.0}}) {
    SCOPED_TRACE(display.dpi);
    const DisplayDpi dpi(display.dpi);
    ProgramFolder folder;
    RunningProgram program(folder, {L"--simulate=mouse-state.bin", L"--trace=wire.trace"});
    HWND window = program.WaitUntilReady();
    ASSERT_NE(window, nullptr);
    LRESULT answer = 0;
    ASSERT_TRUE(SendAndWait(window, win32::kTrayCallbackMessage, 0, WM_LBUTTONUP, answer));

    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, std::lround(876 * display.scale));
    EXPECT_EQ(client.bottom, std::lround(648 * display.scale));

    const auto device = [&](int skin) {
      return static_cast<int>(std::lround(skin * display.scale));
    };
    const Greys caption = OnScreen(window, {device(kCaption.left), device(kCaption.top)},
                                   device(kCaption.Width()), device(kCaption.Height()));
    Screenshot(window, "display-" + std::to_string(display.dpi));
    if (display.dpi == 96) {
      atHundred = caption;
    } else {
      const double sharp = BlurredShare(caption);
      const double stretched = BlurredShare(Stretched(atHundred, display.scale));
      EXPECT_LT(sharp * 3, stretched * 2) << sharp << " drawn, " << stretched << " stretched";
    }

    ASSERT_TRUE(SendAndWait(window, WM_LBUTTONDOWN, MK_LBUTTON,
                            win32::PackPoint(device(kApply.x), device(kApply.y)), answer));
    EXPECT_EQ(PageWrites(folder / "wire.trace"), 5) << "Apply wrote the mouse's five pages";
  }
}

}  // namespace
}  // namespace q8::test
