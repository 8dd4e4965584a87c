// TarnixMouseApp.exe: the tray program.
//   TarnixMouseApp.exe [--simulate[=STATE_FILE]] [--trace=FILE]

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/mouse_connection.h"
#include "device/system_hid_bus.h"
#include "settings/executable_path.h"
#include "settings/message_sink.h"
#include "win32/keldra_app.h"
#include "win32/wide_text.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kMouseOptionsFailed = 1;
constexpr char kUsage[] = "Usage: TarnixMouseApp.exe [--simulate[=STATE_FILE]] [--trace=FILE]";

// The arguments after the program's name, as UTF-8.
std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 1; arguments != nullptr && i < count; ++i) {
    result.push_back(q8::win32::ToUtf8(arguments[i]));
  }
  ::LocalFree(arguments);
  return result;
}

void Complain(const std::string& text) {
  ::MessageBoxW(nullptr, q8::win32::ToWide(text).c_str(),
                q8::win32::ToWide(q8::kApplicationName).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const std::vector<std::string> arguments = Arguments();
  std::string error;
  std::optional<q8::MouseOptions> options = q8::ParseMouseOptions(arguments, error);
  if (!options) {
    Complain(error + "\n\n" + kUsage);
    return kUsageError;
  }
  // The settings and a bare --simulate's mouse live beside the executable.
  if (const auto executable = q8::ExecutablePath()) {
    q8::UseDefaultSimulatedMouse(*options, executable->parent_path());
  }
  q8::MouseConnection mouse;
  if (!mouse.Open(*options, q8::OpenSystemHidBus, error)) {
    Complain(error);
    return kMouseOptionsFailed;
  }
  q8::CKeldraApp app(instance, mouse);
  return app.Run();
}
