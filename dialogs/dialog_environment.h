#pragma once

#include "model/app_state.h"
#include "ui/image_decoder.h"
#include "ui/language_fonts.h"

namespace q8 {

// What the key-function dialogs and the skin chooser read from outside when they open: the
// process-wide state (active skin folder, name and caption colour, language, sensor variant, the
// executable beside which the skins lie), the image decoder and the platform's version (which
// picks the Simplified Chinese font). The dialogs never write the state: the caller acts on their
// results.
struct DialogEnvironment {
  const AppState& state;
  ImageDecoder& decoder;
  OsVersion osVersion;
};

}  // namespace q8
