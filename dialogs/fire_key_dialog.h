#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dialogs/function_dialog_frame.h"

namespace q8 {

// The fire-key dialog: the mouse button or key a fire key repeats, how often (0: until the
// button is released) and the press and release times of each repetition. The three numbers are
// edits below the value box; the key list, when open, covers them, so they exist only while the
// list is closed and come back with the texts they showed.
class CFireKeyDialog final : public FunctionDialogFrame {
 public:
  static constexpr ControlId kTimesEdit = 575;
  static constexpr ControlId kMakeTimeEdit = 576;
  static constexpr ControlId kBreakTimeEdit = 577;

  explicit CFireKeyDialog(const DialogEnvironment& environment);

  int ChosenKeyIndex() const { return SelectedIndex(); }
  const std::string& ChosenKeyName() const { return SelectedText(); }
  std::uint8_t ChosenTimes() const { return chosenTimes_; }
  std::uint8_t ChosenMakeTime() const { return chosenMakeTime_; }
  std::uint8_t ChosenBreakTime() const { return chosenBreakTime_; }

  void OnEditNotification(ControlId edit, EditEvent event) override;
  ControlColors ControlColor(ControlId control) const override;

 private:
  void CreateControls() override;
  void DrawFaceTexts(Canvas& canvas) const override;
  std::vector<std::string> ListItems() const override;
  void BeforeListOpens() override;
  void AfterListCloses() override;

  void CreateEdits();
  void TimesChanged();
  void TimeLeftEdit(ControlId edit);
  // The edit's slot in the kept texts (0..2).
  static std::size_t EditSlot(ControlId edit);

  std::uint8_t chosenTimes_ = 1;
  std::uint8_t chosenMakeTime_ = 32;
  std::uint8_t chosenBreakTime_ = 32;
  // What each edit shows, kept while the list replaces the edits.
  std::array<std::string, 3> keptTexts_{"1", "32", "32"};
  bool editsExist_ = false;
};

}  // namespace q8
