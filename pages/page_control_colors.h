#pragma once

#include <optional>

#include "settings/device_config.h"
#include "ui/control_host.h"
#include "ui/text_port.h"

namespace q8 {

// How the settings page's native controls are painted: each colour swatch in its stage's colour,
// the value texts in the caption colour on the page's dark blue, the pop-up lists white on black.
// Nothing for an id that is not one of the page's controls (the platform's default then).
std::optional<ControlColors> PageControlColor(ControlId control, const DeviceConfig& config,
                                              Rgb skinTextColor);

}  // namespace q8
