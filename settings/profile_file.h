#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

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
  // The mouse's sensor when the profile was saved, whose DPI levels name the stages in the file;
  // nothing when it was not known (the levels are then named by their number).
  std::optional<std::uint8_t> sensorVariant = std::nullopt;

  friend bool operator==(const Profile&, const Profile&) = default;
};

// The layouts of a profile file (see profile_format1.h and profile_format2.h). Files of either
// load; saves and exports write the readable one.
inline constexpr int kHexProfileFormat = 1;
inline constexpr int kReadableProfileFormat = 2;

// Anything larger is not a profile this tool wrote: the captions at their longest take a few
// kilobytes.
inline constexpr std::uintmax_t kMaxProfileFileBytes = 64 * 1024;

// The longest profile name, in bytes of UTF-8.
inline constexpr std::size_t kMaxProfileNameLength = 64;

inline constexpr std::string_view kProfileFileExtension = ".ini";
// The switching rules live in the profile folder too, so "rules" names no profile.
inline constexpr std::string_view kRulesFileName = "rules.ini";

// The first byte of a record holding a value out of its field's range, or nothing. The ranges are
// what the tool's pages and dialogs can set, and 0 where a field never set holds it. Profiles are
// meant to be shared, and a value out of these would reach the mouse unchecked. Each file format
// names the field in its own words.
struct ValueOutOfRange {
  std::size_t offset;  // in the record
  std::uint8_t value;
};
std::optional<ValueOutOfRange> FirstValueOutOfRange(const DeviceConfig& config);

// What is wrong with a profile name, or nothing. The same rules hold on every system, so that a
// profile made on one can be named on the other: not empty, at most kMaxProfileNameLength bytes,
// no path separators or other characters Windows refuses in file names (< > : " / \ | ? * and
// control characters), no blank at either end nor a dot at the end, not "rules", and none of the
// names Windows reserves for devices (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, also
// followed by an extension), whatever their letter case.
std::optional<std::string> ProfileNameProblem(std::string_view name);

// Whether two names are the same regardless of ASCII letter case, as Windows compares file names.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// The profile folder of the tool whose config.bin and str.ini are in `dataFolder`: "Profiles"
// beside them on Windows, "profiles" elsewhere (the user's $XDG_CONFIG_HOME/tarnix-q8/profiles/
// for an installed tool). Implemented once per operating system.
std::filesystem::path ProfileFolderIn(const std::filesystem::path& dataFolder);

}  // namespace q8
