#pragma once

#include <string>

#include "app/app_state.h"
#include "ui/image_decoder.h"
#include "ui/language_fonts.h"

namespace q8 {

// What the key-function dialogs and the skin chooser read from outside when they open: the
// process-wide state (active skin folder, name and caption colour, language, sensor variant), the
// image decoder, the platform's version (which picks the Simplified Chinese font) and the running
// executable's path (the skins lie beside it). The dialogs never write the state: the caller acts
// on their results.
struct DialogEnvironment {
  const AppState& state;
  ImageDecoder& decoder;
  OsVersion osVersion;
  std::string executablePath;  // UTF-8
};

}  // namespace q8
