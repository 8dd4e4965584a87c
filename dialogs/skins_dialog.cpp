#include "dialogs/skins_dialog.h"

#include <filesystem>
#include <optional>
#include <string_view>

#include "dialogs/skin_folders.h"
#include "settings/utf8_path.h"
#include "ui/skin_directory.h"

namespace q8 {
namespace {

constexpr FrameLayout kSkinsLayout{
    .templateId = 710,
    .background = dialog_background::kSkins,
    .valueBox = 560,
    .valueBoxRect = {42, 128, 136, 144},
    .list = ChoiceListLayout{.id = 562,
                             .dropRegion = {42, 128, 151, 144},
                             .rect = {42, 146, 151, 266},
                             .wheelScrolls = true},
};

// The prompt sits over the swatch: from 30 pixels left of it to 30 pixels right of it, in the
// 30 pixels above it.
constexpr Rect kPromptRect{12, 64, 181, 94};

std::string_view PromptFor(UiLanguage language) {
  switch (language) {
    case UiLanguage::CHS:
      return "请点击设置UI文本颜色";
    case UiLanguage::CHT:
      return "請點擊設置UI文本顏色";
    default:
      return "Please click to set the UI text color";
  }
}

}  // namespace

CSkinsDialog::CSkinsDialog(const DialogEnvironment& environment)
    : FunctionDialogFrame(environment, kSkinsLayout, std::string()),
      skinsRoot_(ExecutableDirectory(Utf8Of(environment.state.executable)) + "/Skins"),
      chosenSkinPath_(environment.state.skinDirectory),
      chosenTextColor_(environment.state.skinTextColor) {}

void CSkinsDialog::OnBackgroundLoaded() {
  chosenTextColor_ = Environment().state.skinTextColor;
  SetSelectedText(Environment().state.skinName);
}

void CSkinsDialog::CreateControls() {
  FunctionDialogFrame::CreateControls();
  Host().CreateStatic(kColorSwatch, kColorSwatchRect, "", StaticStyle::kLeft);
}

// In the caption colour in use, not the chosen one: the main window applies that after OK.
void CSkinsDialog::DrawFaceTexts(Canvas& canvas) const {
  DrawFaceText(canvas, PromptFor(Language()), kPromptRect, Environment().state.skinTextColor,
               TextAlign::kCentre);
}

std::vector<std::string> CSkinsDialog::ListItems() const {
  return ListSkinFolders(skinsRoot_);
}

void CSkinsDialog::OnChoiceTaken() {
  if (const auto folder = FindSkinFolder(skinsRoot_, ChosenSkinName())) {
    chosenSkinPath_ = *folder;
  }
}

// The chooser opens on black, not on the current colour.
void CSkinsDialog::OnOtherClick(Point point) {
  if (!kColorSwatchRect.Contains(point)) {
    return;
  }
  if (const auto colour = Host().ChooseColor(Rgb{0, 0, 0})) {
    chosenTextColor_ = *colour;
    Host().RedrawControl(kColorSwatch);
  }
}

ControlColors CSkinsDialog::ControlColor(ControlId control) const {
  if (control == kColorSwatch) {
    return {std::nullopt, std::nullopt, chosenTextColor_};
  }
  return FunctionDialogFrame::ControlColor(control);
}

}  // namespace q8
