#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/key_tables.h"

namespace q8 {

// A keyboard key as the platform names it in English, and the code the mouse sends for it: the
// key's keyboard-page usage, or the mouse's own code for a mouse button.
struct KeyName {
  std::string_view name;
  std::uint8_t usage;
};

// Every key a single-key assignment can send. Letters are upper case only, digits are the main
// row, "Ctrl", "Shift" and "Alt" are the left-hand keys, and "Eurpo(Note 2)" is the key beside
// Enter on non-US keyboards (Non-US # and ~). The table runs in code order.
inline constexpr std::array<KeyName, 107> KeyNameTable{{
    {"A", 0x04},
    {"B", 0x05},
    {"C", 0x06},
    {"D", 0x07},
    {"E", 0x08},
    {"F", 0x09},
    {"G", 0x0A},
    {"H", 0x0B},
    {"I", 0x0C},
    {"J", 0x0D},
    {"K", 0x0E},
    {"L", 0x0F},
    {"M", 0x10},
    {"N", 0x11},
    {"O", 0x12},
    {"P", 0x13},
    {"Q", 0x14},
    {"R", 0x15},
    {"S", 0x16},
    {"T", 0x17},
    {"U", 0x18},
    {"V", 0x19},
    {"W", 0x1A},
    {"X", 0x1B},
    {"Y", 0x1C},
    {"Z", 0x1D},
    {"1", 0x1E},
    {"2", 0x1F},
    {"3", 0x20},
    {"4", 0x21},
    {"5", 0x22},
    {"6", 0x23},
    {"7", 0x24},
    {"8", 0x25},
    {"9", 0x26},
    {"0", 0x27},
    {"Enter", 0x28},
    {"Esc", 0x29},
    {"Backspace", 0x2A},
    {"Tab", 0x2B},
    {"Space", 0x2C},
    {"-", 0x2D},
    {"=", 0x2E},
    {"[", 0x2F},
    {"]", 0x30},
    {"\\", 0x31},
    {"Eurpo(Note 2)", 0x32},
    {";", 0x33},
    {"'", 0x34},
    {"`", 0x35},
    {",", 0x36},
    {".", 0x37},
    {"/", 0x38},
    {"Caps Lock", 0x39},
    {"F1", 0x3A},
    {"F2", 0x3B},
    {"F3", 0x3C},
    {"F4", 0x3D},
    {"F5", 0x3E},
    {"F6", 0x3F},
    {"F7", 0x40},
    {"F8", 0x41},
    {"F9", 0x42},
    {"F10", 0x43},
    {"F11", 0x44},
    {"F12", 0x45},
    {"Prnt Scrn", 0x46},
    {"Scroll Lock", 0x47},
    {"Pause", 0x48},
    {"Insert", 0x49},
    {"Home", 0x4A},
    {"Page Up", 0x4B},
    {"Delete", 0x4C},
    {"End", 0x4D},
    {"Page Down", 0x4E},
    {"Right", 0x4F},
    {"Left", 0x50},
    {"Down", 0x51},
    {"Up", 0x52},
    {"Num Lock", 0x53},
    {"Num /", 0x54},
    {"Num *", 0x55},
    {"Num -", 0x56},
    {"Num +", 0x57},
    {"Num Enter", 0x58},
    {"Num 1", 0x59},
    {"Num 2", 0x5A},
    {"Num 3", 0x5B},
    {"Num 4", 0x5C},
    {"Num 5", 0x5D},
    {"Num 6", 0x5E},
    {"Num 7", 0x5F},
    {"Num 8", 0x60},
    {"Num 9", 0x61},
    {"Num 0", 0x62},
    {"Num Del", 0x63},
    {"Ctrl", 0xE0},
    {"Shift", 0xE1},
    {"Alt", 0xE2},
    {"Left Windows", 0xE3},
    {"Right Ctrl", 0xE4},
    {"Right Shift", 0xE5},
    {"Right Alt", 0xE6},
    {"Right Windows", 0xE7},
    {"L-Button", kMouseLeftUsage},
    {"R-Button", kMouseRightUsage},
    {"M-Button", kMouseMiddleUsage},
}};

namespace detail {
// Codes rise strictly through the table, so no key is listed twice or out of place, and no two
// entries share a name, so the lookup has one answer.
constexpr bool IsKeyNameTable() {
  for (std::size_t i = 0; i < KeyNameTable.size(); ++i) {
    if (i > 0 && KeyNameTable[i].usage <= KeyNameTable[i - 1].usage) {
      return false;
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (KeyNameTable[j].name == KeyNameTable[i].name) {
        return false;
      }
    }
  }
  return true;
}
}  // namespace detail
static_assert(detail::IsKeyNameTable());

// The code of the key whose name is exactly `name` (whole text, case-sensitive), or 0, which the
// mouse treats as no key.
std::uint8_t KeyNameToUsage(std::string_view name);

}  // namespace q8
