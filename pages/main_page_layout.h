#pragma once

#include <array>
#include <string_view>

#include "ui/control_host.h"
#include "ui/rect.h"
#include "ui/skin_images.h"
#include "ui/text_port.h"

// Where the settings page puts its parts on the main window (client pixels, the same for every
// skin) and the ids of its native controls.
namespace q8::page_layout {

// --- Page frame --------------------------------------------------------------------------------
inline constexpr Rect kTitle{90, 51, 236, 99};
inline constexpr Rgb kTitleColor{0x42, 0x42, 0x42};
inline constexpr Rect kKeySettingLabel{259, 160, 364, 181};
inline constexpr Rect kReportRateLabel{504, 161, 609, 182};
inline constexpr Rect kDpiSettingLabel{504, 275, 609, 296};
inline constexpr Rect kDpiEffectLabel{704, 275, 809, 296};
inline constexpr Rect kWebLink{263, 627, 439, 647};

// --- Key section -------------------------------------------------------------------------------
inline constexpr int kKeyRows = 7;
inline constexpr Rect kModeAButton{253, 518, 358, 539};
inline constexpr Rect kModeBButton{357, 518, 462, 539};

// The list of key row 1..7 opens under its box; list ids 41..48 belong to buttons 1..8.
constexpr Rect KeyListRect(int row) {
  return {252, 221 + 23 * (row - 1), 463, 451 + 23 * (row - 1)};
}
constexpr ControlId KeyListId(int row) {
  return 40 + row;
}
inline constexpr ControlId kFirstKeyListId = 41;
inline constexpr ControlId kLastKeyListId = 48;

// The DPI switch sub-list opens beside the key list's "DPI Switch" entry.
inline constexpr ControlId kDpiSubListId = 40;
inline constexpr int kDpiSubListSize = 60;

// --- Report rate ---------------------------------------------------------------------------------
// Positions of 125, 250, 500 and 1000 Hz; each label sits in the band 10 to 30 pixels below.
inline constexpr std::array<HotRegion, 4> kReportRateStops{{
    {542, 204, 612, 215},
    {614, 204, 684, 215},
    {686, 204, 756, 215},
    {758, 204, 828, 215},
}};
// What lies under the track: the window's background with the page's frame over it.
inline constexpr std::array<std::string_view, 2> kReportRateGround{skin_image::kMain,
                                                                   skin_image::kBasicSet};
constexpr Rect ReportRateLabelRect(const HotRegion& stop) {
  return {stop.left, stop.bottom + 10, stop.right, stop.bottom + 30};
}

// --- DPI stages 1..6 -----------------------------------------------------------------------------
inline constexpr int kPageStages = 6;
constexpr Rect StageNumberRect(int stage) {
  return {506, 323 + 30 * (stage - 1), 516, 339 + 30 * (stage - 1)};
}
constexpr Rect StageSwatchRect(int stage) {
  return {548, 323 + 30 * (stage - 1), 564, 339 + 30 * (stage - 1)};
}
constexpr Rect StageValueRect(int stage) {
  return {575, 323 + 30 * (stage - 1), 644, 337 + 30 * (stage - 1)};
}
constexpr Rect DpiLevelListRect(int stage) {
  return {575, 338 + 30 * (stage - 1), 659, 438 + 30 * (stage - 1)};
}
// Value texts 11..16 and swatches 71..76 of stages 1..6; swatch ids run on to 78 for stage 8.
constexpr ControlId StageValueId(int stage) {
  return 10 + stage;
}
constexpr ControlId StageSwatchId(int stage) {
  return 70 + stage;
}
inline constexpr ControlId kDpiLevelListId = 59;

// --- Lighting ------------------------------------------------------------------------------------
inline constexpr Rect kModeLabel{698, 331, 758, 345};
inline constexpr Rect kParameterLabel{698, 361, 758, 375};
inline constexpr Rect kEffectLabel{698, 391, 758, 405};

inline constexpr Rect kModeValue{768, 331, 836, 345};
inline constexpr Rect kParameterValue{768, 361, 836, 375};
inline constexpr Rect kEffectValue{768, 391, 836, 405};
inline constexpr Rect kModeClickArea{768, 331, 851, 345};
inline constexpr Rect kParameterClickArea{768, 361, 851, 375};
inline constexpr Rect kEffectClickArea{768, 391, 851, 405};

inline constexpr Rect kModeListRect{767, 348, 851, 408};
inline constexpr Rect kBrightnessListRect{768, 378, 851, 548};
inline constexpr Rect kSpeedListRect{768, 378, 851, 468};
// The effect list reaches past the bottom of the window; the window clips it.
inline constexpr Rect kEffectListRect{767, 408, 851, 4097};

inline constexpr ControlId kModeListId = 60;
inline constexpr ControlId kParameterListId = 61;
inline constexpr ControlId kEffectListId = 62;
inline constexpr ControlId kModeValueId = 80;
inline constexpr ControlId kParameterValueId = 81;
inline constexpr ControlId kEffectValueId = 82;

}  // namespace q8::page_layout
