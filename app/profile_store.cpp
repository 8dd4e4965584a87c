#include "app/profile_store.h"

#include <algorithm>

#include "model/profile_format2.h"
#include "settings/durable_file.h"
#include "settings/file_bytes.h"
#include "settings/ini_file.h"
#include "settings/profile_format1.h"
#include "settings/profile_text.h"
#include "settings/utf8_path.h"

namespace q8 {
namespace {

std::string NoProfile(std::string_view name, const std::filesystem::path& folder) {
  return "there is no profile named '" + std::string(name) + "' in " + Utf8Of(folder);
}

std::string TooLarge() {
  return "it is not a Tarnix Q8 profile: it is larger than " +
         std::to_string(kMaxProfileFileBytes / 1024) + " KiB";
}

// A file's profile and the layout it was read in.
struct ParsedFile {
  std::variant<Profile, std::string> profile;
  int format = 0;
};

ParsedFile ParseWithLayout(std::span<const std::uint8_t> bytes) {
  using namespace profile_text;
  if (bytes.size() > kMaxProfileFileBytes) {
    return {TooLarge()};
  }
  const IniDocument document = IniDocument::Parse(bytes);
  const std::string format = document.Get(kProfileSection, kFormatKey, kMissing);
  if (format == kMissing) {
    return {std::string("it is not a Tarnix Q8 profile: it has no [Profile] Format line")};
  }
  if (format == std::to_string(kHexProfileFormat)) {
    return {ParseHexProfile(document), kHexProfileFormat};
  }
  if (format == std::to_string(kReadableProfileFormat)) {
    return {ParseReadableProfile(document), kReadableProfileFormat};
  }
  return {"it is a profile of format '" + format + "'; this tool reads formats " +
          std::to_string(kHexProfileFormat) + " and " + std::to_string(kReadableProfileFormat)};
}

}  // namespace

std::vector<std::uint8_t> ProfileFileBytes(const Profile& profile) {
  return ReadableProfileBytes(profile);
}

std::variant<Profile, std::string> ParseProfileFile(std::span<const std::uint8_t> bytes) {
  return ParseWithLayout(bytes).profile;
}

std::variant<Profile, std::string> ReadProfileFile(const std::filesystem::path& path) {
  // One byte more than a profile may hold, so that a larger file is told as such.
  const auto bytes = ReadFileBytes(path, kMaxProfileFileBytes + 1);
  if (!bytes) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxProfileFileBytes) {
      return Utf8Of(path) + ": " + TooLarge();
    }
    return "cannot read " + Utf8Of(path);
  }
  ParsedFile parsed = ParseWithLayout(*bytes);
  if (auto* problem = std::get_if<std::string>(&parsed.profile)) {
    return Utf8Of(path) + ": " + *problem;
  }
  // The field is named in the words of the file's own layout.
  const Profile& profile = std::get<Profile>(parsed.profile);
  const auto rangeProblem = parsed.format == kHexProfileFormat ? ProfileRangeProblem(profile.config)
                                                               : ReadableRangeProblem(profile);
  if (rangeProblem) {
    return Utf8Of(path) + ": " + *rangeProblem;
  }
  return std::move(parsed.profile);
}

std::optional<std::string> WriteProfileFile(const std::filesystem::path& path,
                                            const Profile& profile) {
  if (auto error = ReplaceFileContents(path, ProfileFileBytes(profile))) {
    return "cannot write " + Utf8Of(path) + ": " + error.message();
  }
  return std::nullopt;
}

std::filesystem::path ProfileStore::PathOf(std::string_view name) const {
  return folder_ / PathFromUtf8(std::string(name) + std::string(kProfileFileExtension));
}

std::vector<std::string> ProfileStore::List() const {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder_, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::filesystem::path& path = entry->path();
    if (!SameNameIgnoringCase(Utf8Of(path.extension()), kProfileFileExtension)) {
      continue;
    }
    // Exactly what Load finds under the name: on a system whose file names keep their letter
    // case, "X.INI" is not the profile "X"; a link that leads nowhere is no profile.
    std::string name = Utf8Of(path.stem());
    std::error_code ignored;
    if (!ProfileNameProblem(name) && std::filesystem::is_regular_file(PathOf(name), ignored)) {
      names.push_back(std::move(name));
    }
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::optional<std::string> ProfileStore::ProfileNamed(std::string_view name) const {
  std::vector<std::string> names = List();
  if (std::find(names.begin(), names.end(), name) != names.end()) {
    return std::string(name);
  }
  for (std::string& listed : names) {
    if (SameNameIgnoringCase(listed, name)) {
      return std::move(listed);
    }
  }
  return std::nullopt;
}

std::variant<Profile, std::string> ProfileStore::Load(std::string_view name) const {
  if (auto problem = ProfileNameProblem(name)) {
    return *problem;
  }
  const std::filesystem::path path = PathOf(name);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    return NoProfile(name, folder_);
  }
  return ReadProfileFile(path);
}

std::optional<std::string> ProfileStore::Save(std::string_view name, const Profile& profile) const {
  if (auto problem = ProfileNameProblem(name)) {
    return problem;
  }
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (error) {
    return "cannot make the profile folder " + Utf8Of(folder_) + ": " + error.message();
  }
  return WriteProfileFile(PathOf(ProfileNamed(name).value_or(std::string(name))), profile);
}

std::optional<std::string> ProfileStore::Delete(std::string_view name) const {
  if (auto problem = ProfileNameProblem(name)) {
    return problem;
  }
  std::error_code error;
  if (!std::filesystem::remove(PathOf(name), error)) {
    if (error) {
      return "cannot delete " + Utf8Of(PathOf(name)) + ": " + error.message();
    }
    return NoProfile(name, folder_);
  }
  return std::nullopt;
}

std::optional<std::string> ProfileStore::Rename(std::string_view from, std::string_view to) const {
  for (const std::string_view name : {from, to}) {
    if (auto problem = ProfileNameProblem(name)) {
      return problem;
    }
  }
  const auto names = List();
  if (std::find(names.begin(), names.end(), from) == names.end()) {
    return NoProfile(from, folder_);
  }
  const auto existing = ProfileNamed(to);
  if (existing && !SameNameIgnoringCase(*existing, from)) {
    return "there is a profile named '" + *existing + "' already";
  }
  std::error_code error;
  std::filesystem::rename(PathOf(from), PathOf(to), error);
  if (error) {
    return "cannot rename " + Utf8Of(PathOf(from)) + ": " + error.message();
  }
  return std::nullopt;
}

}  // namespace q8
