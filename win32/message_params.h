#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/rect.h"

// The parts of window-message parameters, as functions: the system headers' macros (LOWORD,
// GET_X_LPARAM, MAKELPARAM, MAKEINTRESOURCE ...) expand to C-style casts, which our warning set
// refuses.

namespace q8::win32 {

constexpr unsigned LowWord(std::uintptr_t value) {
  return static_cast<unsigned>(value & 0xFFFF);
}
constexpr unsigned HighWord(std::uintptr_t value) {
  return static_cast<unsigned>((value >> 16) & 0xFFFF);
}

// A point packed into an lParam (client or screen coordinates, each a signed 16-bit value).
inline Point PointOf(LPARAM lParam) {
  const auto bits = static_cast<std::uintptr_t>(lParam);
  return {static_cast<std::int16_t>(LowWord(bits)), static_cast<std::int16_t>(HighWord(bits))};
}

inline LPARAM PackPoint(int x, int y) {
  const auto low = static_cast<std::uint16_t>(x);
  const auto high = static_cast<std::uint16_t>(y);
  return static_cast<LPARAM>(static_cast<std::uint32_t>(low) | static_cast<std::uint32_t>(high)
                                                                   << 16);
}

// The wheel's rotation in WM_MOUSEWHEEL's wParam, in multiples of WHEEL_DELTA.
inline int WheelDelta(WPARAM wParam) {
  return static_cast<std::int16_t>(HighWord(wParam));
}

// An integer resource or atom where a name is expected.
inline const wchar_t* ResourceId(std::uintptr_t id) {
  return reinterpret_cast<const wchar_t*>(id);
}

}  // namespace q8::win32
