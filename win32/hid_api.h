#pragma once

// SetupAPI and the HID class driver as MinGW-w64 declares them, with its gaps filled here and
// nowhere else.

#include <windows.h>

#include <setupapi.h>

// MinGW's hidsdi.h (and the hidpi.h it includes) declare C functions without C++ linkage guards.
extern "C" {
#include <hidsdi.h>
}

namespace q8::win32 {

// The HID device-interface class. MinGW declares GUID_DEVINTERFACE_HID only as an external symbol
// that no import library defines.
inline constexpr GUID kHidInterfaceClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

// HidP_GetCaps's answers. MinGW's HIDP_STATUS_* macros expand to C-style casts, which our
// warning set refuses.
inline constexpr NTSTATUS kHidpStatusSuccess = 0x00110000;
inline constexpr NTSTATUS kHidpStatusInvalidPreparsedData = static_cast<NTSTATUS>(0xC0110001);

}  // namespace q8::win32
