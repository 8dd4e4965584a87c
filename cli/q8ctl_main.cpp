#include <iostream>
#include <string>
#include <vector>

#include "cli/q8ctl.h"

#ifdef _WIN32
#include <windows.h>

namespace {
std::string ToUtf8(const wchar_t* text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string result(size > 0 ? static_cast<std::size_t>(size - 1) : 0, '\0');
  if (size > 1) {
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
  }
  return result;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    args.push_back(ToUtf8(argv[i]));
  }
  return q8::RunQ8ctl(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return q8::RunQ8ctl(args, std::cout, std::cerr);
}
#endif
