#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "settings/ini_file.h"
#include "settings/profile_file.h"

namespace q8 {

// The first layout of a profile file, the record's bytes in hexadecimal under the names of its
// fields. Files of this layout load and import as they always did; the tool writes the readable
// layout now (profile_format2.h).
//
//   [Profile]        Format=1, RecordSize=219, Captions=SECTION
//   [Settings]       the fields of the record that hold for both key configurations, one line
//                    each, named as the record names them, in hexadecimal bytes ("0a 1f"); the
//                    reserved bytes as Reserved0, Reserved6 and Reserved54
//   [Mode A]         the eight bytes of each per-button field of the first key configuration,
//                    then Caption1 to Caption8
//   [Mode B]         the same for the second key configuration
//
// Every byte of the record is on exactly one line, so a file that reads holds the whole record.

// The bytes of a profile file of this layout.
std::vector<std::uint8_t> HexProfileBytes(const Profile& profile);

// The profile of a document whose [Profile] Format is 1, or the one line that says why it holds
// none (a record of another size, a line missing or damaged).
std::variant<Profile, std::string> ParseHexProfile(const IniDocument& document);

// The line of this layout that holds the record's byte at `offset` ("[Mode B] KeyFunction").
std::string HexProfileFieldName(std::size_t offset);

// The first field of the record holding a value out of its range, as one line naming the field
// in this layout's words ("[Mode A] KeyFunction holds 14, which is out of its range"), or nothing.
std::optional<std::string> ProfileRangeProblem(const DeviceConfig& config);

}  // namespace q8
