#include "linux/key_capture_names.h"

#include <array>
#include <utility>

namespace q8::linux_shell {
namespace {

// Kernel key codes (linux/input-event-codes.h) and the names Windows gives the same keys.
constexpr std::pair<std::uint32_t, std::string_view> kKeysByPlace[] = {
    {1, "Esc"},
    {2, "1"},
    {3, "2"},
    {4, "3"},
    {5, "4"},
    {6, "5"},
    {7, "6"},
    {8, "7"},
    {9, "8"},
    {10, "9"},
    {11, "0"},
    {12, "-"},
    {13, "="},
    {14, "Backspace"},
    {15, "Tab"},
    {16, "Q"},
    {17, "W"},
    {18, "E"},
    {19, "R"},
    {20, "T"},
    {21, "Y"},
    {22, "U"},
    {23, "I"},
    {24, "O"},
    {25, "P"},
    {26, "["},
    {27, "]"},
    {28, "Enter"},
    {29, "Ctrl"},
    {30, "A"},
    {31, "S"},
    {32, "D"},
    {33, "F"},
    {34, "G"},
    {35, "H"},
    {36, "J"},
    {37, "K"},
    {38, "L"},
    {39, ";"},
    {40, "'"},
    {41, "`"},
    {42, "Shift"},
    {43, "\\"},
    {44, "Z"},
    {45, "X"},
    {46, "C"},
    {47, "V"},
    {48, "B"},
    {49, "N"},
    {50, "M"},
    {51, ","},
    {52, "."},
    {53, "/"},
    {54, "Right Shift"},
    {55, "Num *"},
    {56, "Alt"},
    {57, "Space"},
    {58, "Caps Lock"},
    {59, "F1"},
    {60, "F2"},
    {61, "F3"},
    {62, "F4"},
    {63, "F5"},
    {64, "F6"},
    {65, "F7"},
    {66, "F8"},
    {67, "F9"},
    {68, "F10"},
    {69, "Num Lock"},
    {70, "Scroll Lock"},
    {71, "Num 7"},
    {72, "Num 8"},
    {73, "Num 9"},
    {74, "Num -"},
    {75, "Num 4"},
    {76, "Num 5"},
    {77, "Num 6"},
    {78, "Num +"},
    {79, "Num 1"},
    {80, "Num 2"},
    {81, "Num 3"},
    {82, "Num 0"},
    {83, "Num Del"},
    {87, "F11"},
    {88, "F12"},
    {96, "Num Enter"},
    {97, "Right Ctrl"},
    {98, "Num /"},
    {99, "Prnt Scrn"},
    {100, "Right Alt"},
    {102, "Home"},
    {103, "Up"},
    {104, "Page Up"},
    {105, "Left"},
    {106, "Right"},
    {107, "End"},
    {108, "Down"},
    {109, "Page Down"},
    {110, "Insert"},
    {111, "Delete"},
    {119, "Pause"},
    {125, "Left Windows"},
    {126, "Right Windows"},
};

constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

}  // namespace

std::string_view WindowsKeyName(std::uint32_t keysym, std::uint32_t evdevCode) {
  // Latin letters keep the layout's name, upper case (X: 0x41..0x5A and 0x61..0x7A).
  if (keysym >= 'a' && keysym <= 'z') {
    return kLetters.substr(keysym - 'a', 1);
  }
  if (keysym >= 'A' && keysym <= 'Z') {
    return kLetters.substr(keysym - 'A', 1);
  }
  for (const auto& [code, name] : kKeysByPlace) {
    if (code == evdevCode) {
      return name;
    }
  }
  return {};
}

int WindowsVirtualKey(std::uint32_t keysym) {
  if (keysym >= 'a' && keysym <= 'z') {
    return static_cast<int>(keysym - 'a' + 'A');
  }
  if ((keysym >= 'A' && keysym <= 'Z') || (keysym >= '0' && keysym <= '9')) {
    return static_cast<int>(keysym);
  }
  if (keysym >= 0xFFBE && keysym <= 0xFFC9) {  // F1 .. F12
    return static_cast<int>(0x70 + keysym - 0xFFBE);
  }
  switch (keysym) {
    case 0xFF0D:
      return 0x0D;  // Return
    case 0xFF8D:
      return 0x0D;  // the keypad's Enter
    case 0xFF1B:
      return 0x1B;  // Escape
    case 0xFFEB:
      return 0x5B;  // Super_L
    case 0xFFEC:
      return 0x5C;  // Super_R
    default:
      return 0;
  }
}

}  // namespace q8::linux_shell
