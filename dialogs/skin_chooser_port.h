#pragma once

#include <optional>
#include <string>

#include "ui/text_port.h"

namespace q8 {

// What the skin chooser returns when it ends with OK: the skin's folder (no trailing separator),
// its name and the caption colour chosen with it.
struct SkinChoice {
  std::string directory;
  std::string name;
  Rgb textColor;
};

// Runs the skin chooser modally over the main window; nothing when it ends otherwise than by OK.
class SkinChooserPort {
 public:
  virtual ~SkinChooserPort() = default;
  virtual std::optional<SkinChoice> ChooseSkin() = 0;
};

}  // namespace q8
