#pragma once

#include <cstdint>
#include <string>

#include "model/ui_text.h"
#include "settings/device_config.h"
#include "settings/str_ini.h"

namespace q8 {

// The text a key box shows for a button's function, built from the record the way the key page
// names a choice: the function's name, or for functions with a parameter the parameter's name
// ("DPI +", "Calculator", "Copy") or the function and the parameter joined by "-"
// ("Multimedia-Mute", "Fire Key-R-CTRL", "Single Key-Num 5", "Snipe Key-800"). A parameter outside
// its list names nothing, so the caption then ends at the "-" (or is empty).
std::string ButtonCaptionFor(const DeviceConfig& config, KeyConfigId keyConfig, std::size_t button,
                             std::uint8_t sensorVariant, UiLanguage language);

// The captions of the default key layout in `language`, the same for both configurations: what
// the first build of the key page writes into str.ini.
ButtonCaptions DefaultButtonCaptions(UiLanguage language);

// The three entries of the DPI switch list, the same in every language.
std::string_view DpiSwitchName(std::uint8_t dpiSwitchCode);

// The key name of a keyboard usage, or the empty text when no key of the table has it.
std::string_view KeyNameOfUsage(std::uint8_t usage);

}  // namespace q8
