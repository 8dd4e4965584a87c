#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/app_state.h"
#include "model/ui_text.h"

namespace q8 {

// The balloon a status notification shows on the tray icon.
struct StatusBalloon {
  std::string text;
  std::string_view title;
  unsigned timeoutMs = 0;
};

// The balloon of status notification `type` with `value`, in the texts `text` gives: a switch of
// the report rate (5: 1, 2, 4, 8), the DPI stage (7: 1 to 8, with the stage's level as the mouse's
// sensor names it), the key configuration (8: 1, 2), the macro (9: not 0), the mouse found (14) or
// lost (15). Nothing for any other type or a value out of its range.
std::optional<StatusBalloon> StatusBalloonFor(
    std::uintptr_t type, std::intptr_t value,
    const std::function<std::string_view(UiTextKey)>& text, const AppState& state);

}  // namespace q8
