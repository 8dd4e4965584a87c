#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/profile_file.h"

namespace q8 {

// The bytes of a profile file as the tool writes it: the readable layout (profile_format2.h).
std::vector<std::uint8_t> ProfileFileBytes(const Profile& profile);

// The profile a file's bytes hold, in either layout, or the one line that says why they hold none
// (not a profile, a layout this tool does not know, a line missing or damaged, larger than
// kMaxProfileFileBytes). Values out of range are not checked here.
std::variant<Profile, std::string> ParseProfileFile(std::span<const std::uint8_t> bytes);

// A profile file anywhere (an export, an import), with the file's name in every problem; a record
// with a value out of range is refused, in one line naming the field in the file's own layout.
std::variant<Profile, std::string> ReadProfileFile(const std::filesystem::path& path);
std::optional<std::string> WriteProfileFile(const std::filesystem::path& path,
                                            const Profile& profile);

// The profiles of one folder. Every operation checks the name first; every problem is one line.
class ProfileStore {
 public:
  explicit ProfileStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path PathOf(std::string_view name) const;
  std::filesystem::path RulesFile() const { return folder_ / std::string(kRulesFileName); }

  // The names of the profiles in the folder, sorted; none when the folder does not exist.
  std::vector<std::string> List() const;
  // The profile a save under `name` would replace: one of the same name, or (since Windows does
  // not tell letter case apart in file names, and profiles move between systems) one whose name
  // differs only in letter case.
  std::optional<std::string> ProfileNamed(std::string_view name) const;

  std::variant<Profile, std::string> Load(std::string_view name) const;
  // Saves the profile whole and durably, creating the folder when needed. It replaces the profile
  // ProfileNamed finds, under that profile's name: a profile differs from another by more than
  // letter case on every system.
  std::optional<std::string> Save(std::string_view name, const Profile& profile) const;
  std::optional<std::string> Delete(std::string_view name) const;
  // Gives the profile `from` the name `to`, which no other profile may have (one differing only in
  // letter case from `from` is the same profile: that changes its letter case).
  std::optional<std::string> Rename(std::string_view from, std::string_view to) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace q8
