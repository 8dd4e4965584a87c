#pragma once

#include <windows.h>

#include "ui/canvas.h"
#include "ui/rect.h"

namespace q8::win32 {

// What every skinned window of the tool does with its native window: report its client area,
// show canvas pixels, take the size of its skin and ask for hover and leave notifications. The
// main window and the dialogs share these.

// A skinned window is drawn at its monitor's scale (dots per inch over 96): its canvas, native
// controls and fonts are that many times the skin's pixels, while everything the controllers see
// (the client area, pointer positions, control rectangles) stays in the skin's pixels. The scale
// announced by the system's last change of scale for the window (window_scale.h) comes first.
double WindowScale(HWND window);

// The client area in the skin's pixels.
Rect ClientRectOf(HWND window);
// A point of the client area (from a mouse message) in the skin's pixels.
Point SkinPointOf(HWND window, Point client);

// Copies the canvas to `area` (skin pixels) of the window's client area: the canvas's top-left
// pixel lands on the area's top-left corner, at the canvas's scale, and no more than both hold is
// copied.
void CopyCanvasToWindow(HWND window, const Canvas& source, Rect area);

// Gives the client area `width` x `height` skin pixels at the window's scale, keeping the window's
// position and z-order.
void ResizeWindowClient(HWND window, int width, int height);

// One WM_MOUSEHOVER once the pointer rests `hoverMs` inside the window; WM_MOUSELEAVE too when
// `alsoLeave`.
void TrackWindowMouse(HWND window, bool alsoLeave, unsigned hoverMs);

// The position of the cursor in the window's client area, in the skin's pixels.
Point CursorInClient(HWND window);

}  // namespace q8::win32
