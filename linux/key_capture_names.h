#pragma once

#include <cstdint>
#include <string_view>

namespace q8::linux_shell {

// The English name Windows gives a key, for a key event on Linux: `keysym` is the X key symbol
// the event carries and `evdevCode` the kernel's code of the physical key (the X key code less
// 8). Letters follow the keyboard layout, as on Windows; every other key is named by its place
// on the keyboard, whatever Shift or Num Lock make of it, so that Shift+1 is still "1" and the
// keypad's 5 is "Num 5". Every key of the key-name table has its name here; any other key gives
// the empty name, and the caller shows the platform's own name for it (which then sends nothing).
std::string_view WindowsKeyName(std::uint32_t keysym, std::uint32_t evdevCode);

// X key codes are the kernel's codes plus 8.
inline constexpr std::uint32_t kXKeyCodeOffset = 8;

// The Windows virtual-key code of a key event's X key symbol, for the rules that name keys by it
// (Enter 0x0D, Escape 0x1B, the Windows keys 0x5B and 0x5C, letters, digits, F1 to F12); 0 for
// any other key.
int WindowsVirtualKey(std::uint32_t keysym);

}  // namespace q8::linux_shell
