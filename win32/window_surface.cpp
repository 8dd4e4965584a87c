#include "win32/window_surface.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/device_scale.h"
#include "win32/window_scale.h"

namespace q8::win32 {

double WindowScale(HWND window) {
  if (const UINT announced = window != nullptr ? AnnouncedDpi(window) : 0; announced > 0) {
    return announced / 96.0;
  }
  // GetDpiForWindow exists from Windows 10 (1607) on; before, the system's one scale holds.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  UINT dpi = dpiForWindow != nullptr && window != nullptr ? dpiForWindow(window) : 0;
  if (dpi == 0) {
    const HDC screen = ::GetDC(nullptr);
    dpi = screen != nullptr ? static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSX)) : 0;
    if (screen != nullptr) {
      ::ReleaseDC(nullptr, screen);
    }
  }
  return dpi > 0 ? dpi / 96.0 : kUnscaled;
}

Rect ClientRectOf(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return ToSkin(Rect{client.left, client.top, client.right, client.bottom}, WindowScale(window));
}

Point SkinPointOf(HWND window, Point client) {
  return ToSkin(client, WindowScale(window));
}

void CopyCanvasToWindow(HWND window, const Canvas& source, Rect area) {
  const Rect device = DeviceRect(area, source.Scale());
  const int width = std::min(device.Width(), source.Width());
  const int height = std::min(device.Height(), source.Height());
  if (width <= 0 || height <= 0) {
    return;
  }
  // The DIB describes exactly the rows copied (top-down, the canvas's full row length), so the
  // source rectangle always starts at the DIB's first row and no bottom-up reading can shift it.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = source.Width();
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const HDC dc = ::GetDC(window);
  if (dc == nullptr) {
    return;
  }
  ::StretchDIBits(dc, device.left, device.top, width, height, 0, 0, width, height,
                  source.Pixels().data(), &info, DIB_RGB_COLORS, SRCCOPY);
  ::ReleaseDC(window, dc);
}

void ResizeWindowClient(HWND window, int width, int height) {
  const double scale = WindowScale(window);
  RECT frame{0, 0, ToDevice(width, scale), ToDevice(height, scale)};
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  ::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TrackWindowMouse(HWND window, bool alsoLeave, unsigned hoverMs) {
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_HOVER | (alsoLeave ? TME_LEAVE : 0);
  track.hwndTrack = window;
  track.dwHoverTime = hoverMs;
  ::_TrackMouseEvent(&track);
}

Point CursorInClient(HWND window) {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ::ScreenToClient(window, &cursor);
  return SkinPointOf(window, {cursor.x, cursor.y});
}

}  // namespace q8::win32
