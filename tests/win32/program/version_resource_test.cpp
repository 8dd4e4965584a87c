// The version resources of the built Windows programs: what Explorer shows in a file's properties
// (product name, file description, version) comes from the project's one version number.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "q8_version.h"
#include "win32/program/program_driver.h"
#include "win32/wide_text.h"

namespace q8::test {
namespace {

namespace fs = std::filesystem;

class VersionResource {
 public:
  explicit VersionResource(const fs::path& file) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
    data_.resize(size);
    if (size == 0 || !::GetFileVersionInfoW(file.c_str(), 0, size, data_.data())) {
      data_.clear();
    }
  }

  bool Found() const { return !data_.empty(); }

  // A string of the English (United States), Unicode block, or nothing.
  std::optional<std::string> String(const std::wstring& name) const {
    const void* value = Query(L"\\StringFileInfo\\040904B0\\" + name);
    if (value == nullptr) {
      return std::nullopt;
    }
    return win32::ToUtf8(static_cast<const wchar_t*>(value));
  }

  // The four numbers of the file version in the fixed part.
  std::optional<std::string> FixedFileVersion() const {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query(L"\\"));
    if (fixed == nullptr) {
      return std::nullopt;
    }
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionLS));
  }

 private:
  const void* Query(const std::wstring& path) const {
    void* value = nullptr;
    UINT length = 0;
    if (!Found() || !::VerQueryValueW(data_.data(), path.c_str(), &value, &length) || length == 0) {
      return nullptr;
    }
    return value;
  }

  std::vector<std::uint8_t> data_;
};

// The project's version in four numbers, as the fixed part of a version resource holds it.
std::string FourNumbers(std::string version) {
  for (auto dots = std::count(version.begin(), version.end(), '.'); dots < 3; ++dots) {
    version += ".0";
  }
  return version;
}

TEST(VersionResourceTest, BothProgramsCarryTheProjectVersion) {
  const struct {
    const char* file;
    const char* description;
  } programs[] = {{"TarnixMouseApp.exe", "Tarnix Q8 configuration tool"},
                  {"q8ctl.exe", "Tarnix Q8 command-line tool"}};
  for (const auto& program : programs) {
    SCOPED_TRACE(program.file);
    const VersionResource resource(BuildTree() / program.file);
    ASSERT_TRUE(resource.Found());
    // The description is each program's own; the versions come from the project's one number.
    EXPECT_EQ(resource.String(L"FileDescription"), program.description);
    EXPECT_EQ(resource.String(L"FileVersion"), std::string(kVersion));
    EXPECT_EQ(resource.String(L"ProductVersion"), std::string(kVersion));
    EXPECT_EQ(resource.FixedFileVersion(), FourNumbers(std::string(kVersion)));
  }
}

}  // namespace
}  // namespace q8::test
