#pragma once

#include <windows.h>

#include "win32/unique_handle.h"

namespace q8::win32 {

// The name of the mutex every program of this tool (the tray program, q8ctl) holds for each
// device operation on the mouse.
inline constexpr const wchar_t* kMouseOperationMutexName = L"Tarnix Q8 device operation";

// A named mutex held across processes: Lock waits until no other holder has it. The mutex is
// opened at the first Lock and closed with the object.
class OperationMutex {
 public:
  explicit OperationMutex(const wchar_t* name = kMouseOperationMutexName) : name_(name) {}
  ~OperationMutex() { Unlock(); }
  OperationMutex(const OperationMutex&) = delete;
  OperationMutex& operator=(const OperationMutex&) = delete;

  // Waits for the mutex. A holder that ended without letting go leaves it to the next one; when
  // the mutex cannot be made at all, the caller goes on without it.
  void Lock();
  void Unlock();

 private:
  const wchar_t* name_;
  UniqueHandle mutex_;
  bool held_ = false;
};

}  // namespace q8::win32
