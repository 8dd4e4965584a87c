#pragma once

#include <windows.h>

#include "ui/canvas.h"
#include "ui/rect.h"

namespace q8::win32 {

// What every skinned window of the tool does with its native window: report its client area,
// show canvas pixels, take the size of its skin and ask for hover and leave notifications. The
// main window and the dialogs share these.

Rect ClientRectOf(HWND window);

// Copies the canvas to `area` of the window's client area: the canvas's top-left pixel lands on the
// area's top-left corner, and no more than both hold is copied.
void CopyCanvasToWindow(HWND window, const Canvas& source, Rect area);

// Gives the client area `width` x `height`, keeping the window's position and z-order.
void ResizeWindowClient(HWND window, int width, int height);

// One WM_MOUSEHOVER once the pointer rests `hoverMs` inside the window; WM_MOUSELEAVE too when
// `alsoLeave`.
void TrackWindowMouse(HWND window, bool alsoLeave, unsigned hoverMs);

// The position of the cursor in the window's client pixels.
Point CursorInClient(HWND window);

}  // namespace q8::win32
