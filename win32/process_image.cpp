#include "win32/process_image.h"

#include "win32/unique_handle.h"
#include "win32/wide_text.h"

namespace q8::win32 {

std::optional<std::string> ImageFileName(DWORD processId) {
  UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process.Valid()) {
    return std::nullopt;
  }
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = static_cast<DWORD>(path.size());
    if (::QueryFullProcessImageNameW(process.Get(), 0, path.data(), &length)) {
      path.resize(length);
      break;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= 32768) {
      return std::nullopt;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  return ToUtf8(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

}  // namespace q8::win32
