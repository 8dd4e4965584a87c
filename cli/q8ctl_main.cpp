#include <iostream>
#include <string>
#include <vector>

#include "cli/q8ctl.h"

#ifdef _WIN32
#include <windows.h>

#include "win32/wide_text.h"

int wmain(int argc, wchar_t** argv) {
  ::SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    args.push_back(q8::win32::ToUtf8(argv[i]));
  }
  return q8::RunQ8ctl(args, std::cout, std::cerr);
}
#else
#include <csignal>

int main(int argc, char** argv) {
  // A reader of the output or the trace that goes away (q8ctl ... | head) makes those writes fail,
  // which the tool reports, instead of ending it in the middle of writing the mouse.
  std::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return q8::RunQ8ctl(args, std::cout, std::cerr);
}
#endif
