#include "win32/file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <string>
#include <vector>

#include "win32/wide_text.h"

namespace q8::win32 {

std::optional<std::filesystem::path> RunFileDialog(HWND owner, const FileChoice& choice) {
  // The filter is pairs of strings, each ended by a null, the list ended by another:
  // "Tarnix Q8 profiles (*.ini)\0*.ini\0\0".
  // Without a pattern: the programs of this system.
  const std::wstring pattern = choice.pattern.empty() ? L"*.exe" : ToWide(choice.pattern);
  std::wstring filter = ToWide(choice.kind) + L" (" + pattern + L")";
  filter.push_back(L'\0');
  filter += pattern;
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  std::vector<wchar_t> file(32768, L'\0');  // the longest path the system takes
  const std::wstring suggested = ToWide(choice.suggestedName);
  suggested.copy(file.data(), std::min(suggested.size(), file.size() - 1));

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  const bool save = choice.purpose == FileChoice::Purpose::kSave;
  // A file saved without an extension gets the pattern's ("*.ini" gives ".ini").
  const std::wstring extension = pattern.size() > 2 ? pattern.substr(2) : std::wstring();
  if (save) {
    dialog.Flags |= OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    dialog.lpstrDefExt = extension.c_str();
  } else {
    dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  }
  const BOOL picked = save ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog);
  if (!picked) {
    return std::nullopt;
  }
  return std::filesystem::path(file.data());
}

}  // namespace q8::win32
