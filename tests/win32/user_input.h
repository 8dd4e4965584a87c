#pragma once

// Playing the user of a real window under Wine: mouse and keyboard input through SendInput (so
// that hooks, hover tracking and the cursor position see it as they would a user's), and a look
// at what the windows show. Windows may belong to this process or another one.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ui/rect.h"
#include "win32/dialog_window.h"
#include "win32/wide_text.h"

namespace q8::test {

using namespace std::chrono_literals;

// Polls until `condition` holds, for at most `limit`.
inline bool Eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = std::chrono::milliseconds(2000)) {
  for (auto waited = 0ms; waited < limit; waited += 50ms) {
    if (condition()) {
      return true;
    }
    std::this_thread::sleep_for(50ms);
  }
  return condition();
}

inline void SendUserInput(INPUT input) {
  ::SendInput(1, &input, sizeof(input));
  std::this_thread::sleep_for(60ms);
}

inline void MoveTo(HWND window, Point client) {
  POINT p{client.x, client.y};
  ::ClientToScreen(window, &p);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = ::MulDiv(p.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = ::MulDiv(p.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendUserInput(input);
}

inline void ClickAt(HWND window, Point client) {
  MoveTo(window, client);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendUserInput(input);
  input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendUserInput(input);
}

inline bool IsExtendedKey(WORD key) {
  return key == VK_LWIN || key == VK_RWIN;
}

inline void Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(key) ? KEYEVENTF_EXTENDEDKEY : 0);
  SendUserInput(input);
}

inline void Press(WORD key) {
  Key(key, false);
  Key(key, true);
}

// The platform's name of a key, looked up the way the single-key dialog's capture looks it up.
inline std::string KeyName(WORD key) {
  const UINT scan = ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC) & 0xFF;
  const LONG keyData = static_cast<LONG>((scan << 16) | (IsExtendedKey(key) ? 1u << 24 : 0u) | 1u);
  wchar_t name[32] = {};
  const int length = ::GetKeyNameTextW(keyData, name, 32);
  return win32::ToUtf8(std::wstring_view(name, length > 0 ? length : 0));
}

inline std::string TextOf(HWND window) {
  wchar_t text[128] = {};
  ::GetWindowTextW(window, text, 128);
  return win32::ToUtf8(text);
}

inline std::vector<std::string> ListItems(HWND list) {
  std::vector<std::string> items;
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[128] = {};
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.push_back(win32::ToUtf8(text));
  }
  return items;
}

// The middle of item `index` of `list`, in the client pixels of its parent `window`.
inline Point ItemCentre(HWND list, int index, HWND window) {
  RECT item{};
  ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  POINT p{item.left + 10, (item.top + item.bottom) / 2};
  ::MapWindowPoints(list, window, &p, 1);
  return {p.x, p.y};
}

// The shown skinned dialog whose controller has `templateId`, once it appeared within `limit`.
inline HWND WaitForDialog(int templateId, std::chrono::milliseconds limit = 15s) {
  HWND found = nullptr;
  Eventually(
      [&] {
        for (found = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); found != nullptr;
             found = ::FindWindowExW(nullptr, found, L"#32770", nullptr)) {
          if (::GetPropW(found, win32::kDialogTemplateProperty) ==
                  reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(templateId)) &&
              ::IsWindowVisible(found)) {
            return true;
          }
        }
        return false;
      },
      limit);
  if (found != nullptr) {
    std::this_thread::sleep_for(300ms);  // painted
  }
  return found;
}

// What the system tells a window of another process when its scale changes (WM_DPICHANGED): the
// new dots per inch, and a rectangle for it, the window's own scaled from its top-left corner by
// the new scale over `oldDpi`, as Windows suggests one. The rectangle is written into the
// window's process, where the message's pointer leads. False when the message was not answered.
inline bool AnnounceDpi(HWND window, UINT oldDpi, UINT newDpi) {
  RECT now{};
  ::GetWindowRect(window, &now);
  const RECT suggested{
      now.left, now.top,
      now.left + ::MulDiv(now.right - now.left, static_cast<int>(newDpi), static_cast<int>(oldDpi)),
      now.top + ::MulDiv(now.bottom - now.top, static_cast<int>(newDpi), static_cast<int>(oldDpi))};
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) {
    return false;
  }
  void* remote =
      ::VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  bool answered = false;
  if (remote != nullptr &&
      ::WriteProcessMemory(process, remote, &suggested, sizeof(suggested), nullptr)) {
    DWORD_PTR result = 0;
    answered = ::SendMessageTimeoutW(
                   window, 0x02E0 /* WM_DPICHANGED */, static_cast<WPARAM>(newDpi | (newDpi << 16)),
                   reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 20000, &result) != 0;
  }
  if (remote != nullptr) {
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  ::CloseHandle(process);
  return answered;
}

// What the screen shows at a point of a window's client area.
inline COLORREF ScreenPixel(HWND window, Point client) {
  POINT p{client.x, client.y};
  ::ClientToScreen(window, &p);
  HDC screen = ::GetDC(nullptr);
  const COLORREF colour = ::GetPixel(screen, p.x, p.y);
  ::ReleaseDC(nullptr, screen);
  return colour;
}

// Saves what the screen shows of `window` as `name`.bmp in the folder Q8_SCREENSHOTS names;
// nothing when it names none.
inline void Screenshot(HWND window, const std::string& name) {
  const char* folder = std::getenv("Q8_SCREENSHOTS");
  if (folder == nullptr) {
    return;
  }
  RECT r{};
  ::GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as a BMP file keeps its rows
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  ::GdiFlush();
  // The screen leaves the fourth byte of each pixel undefined; a viewer would read it as alpha.
  auto* pixels = static_cast<std::uint8_t*>(bits);
  for (int i = 0; i < width * height; ++i) {
    pixels[4 * i + 3] = 0xFF;
  }
  const auto imageSize = static_cast<DWORD>(width * height * 4);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + imageSize;
  std::ofstream out(std::filesystem::path(folder) / (name + ".bmp"), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  out.write(static_cast<const char*>(bits), imageSize);
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}

}  // namespace q8::test
