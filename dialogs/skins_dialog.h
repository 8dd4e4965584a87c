#pragma once

#include <string>

#include "dialogs/function_dialog_frame.h"

namespace q8 {

// The skin chooser: another skin folder under "Skins" beside the executable, and the caption
// colour to go with it. The list shows the folders as the file system lists them; the swatch
// shows the chosen colour and opens the system's colour chooser. The main window applies the
// result after OK.
class CSkinsDialog final : public FunctionDialogFrame {
 public:
  static constexpr ControlId kColorSwatch = 561;
  static constexpr Rect kColorSwatchRect{42, 94, 151, 110};

  explicit CSkinsDialog(const DialogEnvironment& environment);

  // The folder "Skins" beside the executable, whose folders are the skins.
  const std::string& SkinsRoot() const { return skinsRoot_; }
  // The chosen skin's folder, its name and the chosen caption colour; the current ones until the
  // user chooses others. A name whose folder is gone when it is chosen keeps the previous path.
  const std::string& ChosenSkinPath() const { return chosenSkinPath_; }
  const std::string& ChosenSkinName() const { return SelectedText(); }
  Rgb ChosenTextColor() const { return chosenTextColor_; }

  ControlColors ControlColor(ControlId control) const override;

 private:
  void OnBackgroundLoaded() override;
  void CreateControls() override;
  void DrawFaceTexts(Canvas& canvas) const override;
  std::vector<std::string> ListItems() const override;
  void OnChoiceTaken() override;
  void OnOtherClick(Point point) override;

  std::string skinsRoot_;
  std::string chosenSkinPath_;
  Rgb chosenTextColor_;
};

}  // namespace q8
