#include "dialogs/media_dialogs.h"

#include "model/choice_lists.h"
#include "model/dpi_levels.h"

namespace q8 {
namespace {

constexpr Rect kValueBox{42, 128, 136, 144};
constexpr Rect kDropRegion{42, 128, 151, 144};

constexpr FrameLayout kMediaLayout{
    .templateId = 703,
    .background = dialog_background::kMedia,
    .valueBox = 552,
    .valueBoxRect = kValueBox,
    .list = ChoiceListLayout{.id = 553, .dropRegion = kDropRegion, .rect = {42, 146, 151, 266}},
};

// Nine launch items need a longer list.
constexpr FrameLayout kWindowsLayout{
    .templateId = 702,
    .background = dialog_background::kWindows,
    .valueBox = 532,
    .valueBoxRect = kValueBox,
    .list = ChoiceListLayout{.id = 533, .dropRegion = kDropRegion, .rect = {42, 146, 151, 306}},
};

// Twelve DPI levels do not fit: the wheel scrolls them.
constexpr FrameLayout kSnipeLayout{
    .templateId = 711,
    .background = dialog_background::kSnipe,
    .valueBox = 563,
    .valueBoxRect = {42, 105, 136, 121},
    .list = ChoiceListLayout{.id = 564,
                             .dropRegion = {42, 105, 151, 121},
                             .rect = {42, 123, 151, 263},
                             .wheelScrolls = true},
};

std::vector<std::string> DpiLabels(std::uint8_t sensorVariant) {
  std::vector<std::string> labels;
  for (const DpiLevel& level : DpiLevelTable(sensorVariant)) {
    labels.emplace_back(level.label);
  }
  return labels;
}

std::string FirstDpiLabel(std::uint8_t sensorVariant) {
  const auto levels = DpiLevelTable(sensorVariant);
  return levels.empty() ? std::string() : std::string(levels.front().label);
}

}  // namespace

CMediaDialog::CMediaDialog(const DialogEnvironment& environment)
    : FunctionDialogFrame(
          environment, kMediaLayout,
          std::string(InLanguage(MediaFunctionList[0], environment.state.language))) {}

std::vector<std::string> CMediaDialog::ListItems() const {
  return NamesIn(MediaFunctionList, Language());
}

CWindowsDialog::CWindowsDialog(const DialogEnvironment& environment)
    : FunctionDialogFrame(
          environment, kWindowsLayout,
          std::string(InLanguage(LaunchFunctionList[0], environment.state.language))) {}

std::vector<std::string> CWindowsDialog::ListItems() const {
  return NamesIn(LaunchFunctionList, Language());
}

CSnipeDialog::CSnipeDialog(const DialogEnvironment& environment)
    : FunctionDialogFrame(environment, kSnipeLayout,
                          FirstDpiLabel(environment.state.sensorVariant)) {}

std::vector<std::string> CSnipeDialog::ListItems() const {
  return DpiLabels(Environment().state.sensorVariant);
}

}  // namespace q8
