#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "settings/ini_file.h"
#include "settings/profile_file.h"

namespace q8 {

// The readable layout of a profile file: every value as a user knows it from the tool's window,
// in English whatever language the tool runs in, so that a file reads the same everywhere.
//
//   [Profile]            Format=2, Captions=SECTION, and Sensor=N when the mouse's sensor was
//                        known (its DPI levels name the stages)
//   [Settings]           ReportRate=1000 Hz; DpiStage1 to DpiStage8 "800 DPI, on, #FF0000"; the
//                        lighting by name (LightingMode=Standard, Brightness=100%, ...);
//                        ActiveKeys=Mode A; the fire keys' FireMakeTime and FireBreakTime;
//                        SnipeDpi
//   [Uninterpreted]      the record's bytes the tool keeps without reading them, in hexadecimal
//   [Mode A Button 1]    Function=Left Click, Caption=..., then what the button keeps for each
//   ...                  function (Multimedia=Mute, SingleKey=Num 5, FireKey=R-CTRL, ...): what
//   [Mode B Button 8]    it sends when given that function again
//
// A value the tool has no name for is written "code N" (a DPI level "level N"), so that every
// record, even one out of range, is written whole and reads back as it was; whether its values
// are in range is checked apart (ReadableRangeProblem). Names are read regardless of letter case.
std::vector<std::uint8_t> ReadableProfileBytes(const Profile& profile);

// The profile of a document whose [Profile] Format is 2, or the one line that says why it holds
// none (a line missing, a value that names nothing).
std::variant<Profile, std::string> ParseReadableProfile(const IniDocument& document);

// The first field of the record holding a value out of its range, as one line naming the field and
// the value in this layout's words ("[Mode B Button 1] Function holds code 14, which is out of its
// range"), or nothing.
std::optional<std::string> ReadableRangeProblem(const Profile& profile);

}  // namespace q8
