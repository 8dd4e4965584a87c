#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "win32/unique_handle.h"

namespace q8::win32 {

// The running copies of the tray program in every session of the machine, for the setup program
// and the uninstaller, which must end them before they replace or remove its files. A window
// message reaches only the sender's own session; a named event in the machine's global namespace
// reaches every session: each copy listens on one of its own (EndRequestListener), and
// RequestEnd sets it.

// A running process.
struct ProgramCopy {
  DWORD processId = 0;
  DWORD sessionId = 0;
};

// Every process of any session whose executable is `program` (compared as Windows compares
// paths, without regard to letter case). A process this one may not ask for its executable's path
// is not counted.
std::vector<ProgramCopy> FindProgramCopies(const std::filesystem::path& program);

// Asks copy `processId` to end the way the tray menu's Exit ends it: through its end request, or,
// for a copy without one (an earlier version), through its window when it runs in this session.
// False when neither reaches it.
bool RequestEnd(DWORD processId);

// A running copy's end request: the event `Global\Tarnix Q8 end <process id>`, which the system's
// accounts, administrators and the interactive users may set. `onRequest` runs on a thread of the
// system's pool once it is set.
class EndRequestListener {
 public:
  explicit EndRequestListener(std::function<void()> onRequest);
  ~EndRequestListener();
  EndRequestListener(const EndRequestListener&) = delete;
  EndRequestListener& operator=(const EndRequestListener&) = delete;

  // False when the event could not be made; the copy can then be reached only in its session.
  bool Listening() const { return wait_ != nullptr; }

 private:
  static void CALLBACK OnSignal(void* context, BOOLEAN timedOut);

  std::function<void()> onRequest_;
  UniqueHandle event_;
  HANDLE wait_ = nullptr;
};

}  // namespace q8::win32
