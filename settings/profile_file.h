#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/device_config.h"
#include "settings/str_ini.h"

namespace q8 {

// A profile: a named copy of what Apply sends and the page shows, the settings record of
// config.bin and the sixteen button captions of str.ini in one language.
struct Profile {
  DeviceConfig config;
  // The str.ini section the captions were taken from ("Setting-EN", ...); for the reader only:
  // a load puts the captions into the section of the language the tool runs in.
  std::string captionSection;
  ButtonCaptions captions;

  friend bool operator==(const Profile&, const Profile&) = default;
};

// A profile file is UTF-8 INI text, one file per profile, named NAME.ini:
//
//   [Profile]        Format=1 (the version of this layout), RecordSize=219, Captions=SECTION
//   [Settings]       the fields of the record that hold for both key configurations, one line
//                    each, named as the record names them, in hexadecimal bytes ("0a 1f"); the
//                    reserved bytes as Reserved0, Reserved6 and Reserved54
//   [Mode A]         the eight bytes of each per-button field of the first key configuration,
//                    then Caption1 to Caption8
//   [Mode B]         the same for the second key configuration
//
// Every byte of the record is on exactly one line, so a file that reads holds the whole record.
inline constexpr int kProfileFormatVersion = 1;

// Anything larger is not a profile this tool wrote: the captions at their longest take a few
// kilobytes.
inline constexpr std::uintmax_t kMaxProfileFileBytes = 64 * 1024;

// The longest profile name, in bytes of UTF-8.
inline constexpr std::size_t kMaxProfileNameLength = 64;

inline constexpr std::string_view kProfileFileExtension = ".ini";
// The switching rules live in the profile folder too, so "rules" names no profile.
inline constexpr std::string_view kRulesFileName = "rules.ini";

// The bytes of a profile file.
std::vector<std::uint8_t> ProfileFileBytes(const Profile& profile);

// The profile a file's bytes hold, or the one line that says why they hold none (not a profile,
// a format this tool does not know, a record of another size, a line missing or damaged).
std::variant<Profile, std::string> ParseProfileFile(std::span<const std::uint8_t> bytes);

// The first field of the record holding a value out of its range, as one line naming the field
// ("[Mode A] KeyFunction holds 14, which is out of its range"), or nothing. The ranges are what the
// tool's pages and dialogs can set, and 0 where a field never set holds it.
std::optional<std::string> ProfileRangeProblem(const DeviceConfig& config);

// What is wrong with a profile name, or nothing. The same rules hold on every system, so that a
// profile made on one can be named on the other: not empty, at most kMaxProfileNameLength bytes,
// no path separators or other characters Windows refuses in file names (< > : " / \ | ? * and
// control characters), no blank at either end nor a dot at the end, not "rules", and none of the
// names Windows reserves for devices (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, also
// followed by an extension), whatever their letter case.
std::optional<std::string> ProfileNameProblem(std::string_view name);

// The profile folder of the tool whose config.bin and str.ini are in `dataFolder`: "Profiles"
// beside them on Windows, "profiles" elsewhere (the user's $XDG_CONFIG_HOME/tarnix-q8/profiles/
// for an installed tool). Implemented once per operating system.
std::filesystem::path ProfileFolderIn(const std::filesystem::path& dataFolder);

// The profiles of one folder. Every operation checks the name first; every problem is one line.
class ProfileStore {
 public:
  explicit ProfileStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path PathOf(std::string_view name) const;

  // The names of the profiles in the folder, sorted; none when the folder does not exist.
  std::vector<std::string> List() const;
  // The profile a save under `name` would replace: one of the same name, or (since Windows does
  // not tell letter case apart in file names, and profiles move between systems) one whose name
  // differs only in letter case.
  std::optional<std::string> ProfileNamed(std::string_view name) const;

  std::variant<Profile, std::string> Load(std::string_view name) const;
  // Saves the profile whole and durably, creating the folder when needed; replaces a profile of
  // the same name.
  std::optional<std::string> Save(std::string_view name, const Profile& profile) const;
  std::optional<std::string> Delete(std::string_view name) const;

 private:
  std::filesystem::path folder_;
};

// A profile file anywhere (an export, an import), with the file's name in every problem; a record
// with a value out of range is refused (ProfileRangeProblem).
std::variant<Profile, std::string> ReadProfileFile(const std::filesystem::path& path);
std::optional<std::string> WriteProfileFile(const std::filesystem::path& path,
                                            const Profile& profile);

}  // namespace q8
