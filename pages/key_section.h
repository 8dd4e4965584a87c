#pragma once

#include <optional>
#include <string>

#include "model/key_model.h"
#include "pages/main_page_context.h"

namespace q8 {

// The key section of the settings page: seven key boxes that show what buttons 1..7 do in the
// active key configuration, the list of functions under a box, the DPI switch sub-list beside it,
// the two configuration buttons and the restore button. Choices go straight into DeviceConfig and
// the button captions; nothing reaches the mouse before Apply.
class KeySection {
 public:
  explicit KeySection(MainPageContext& page) : page_(page) {}
  KeySection(const KeySection&) = delete;
  KeySection& operator=(const KeySection&) = delete;

  // The restore button, the seven key boxes and the two configuration buttons.
  void Draw(Canvas* target) const;
  // Gives the key rows the captions of the active configuration.
  void ShowActiveCaptions();

  void ToggleKeyList(int row);
  void CommitKeyChoice(int row);
  void CommitDpiSwitchChoice();
  void SelectKeyConfig(KeyConfigId config);
  void RestoreDefaultKeys();

  // Opens the DPI switch sub-list while the pointer rests on "DPI Switch" of the open key list and
  // closes it when the pointer moves to another entry.
  void OnPointerMove(Point point);
  // A press on the page: the open key list closes, with its sub-list, unless the press is on the
  // list or on its box; a sub-list left without its key list closes unless the press is on it.
  void CloseListsOutside(Point point);
  // Closes every list of the section.
  void CloseLists();

  std::optional<int> OpenRow() const { return openRow_; }
  bool IsDpiSubListOpen() const { return subList_.has_value(); }

 private:
  KeyConfigId ActiveConfig() const;
  std::string& Caption(KeyConfigId config, int button);
  std::uint8_t& Function(KeyConfigId config, int button);

  // Runs the dialog of a function with a parameter; on OK stores the parameter in `config` and
  // returns the caption it gives the button.
  std::optional<std::string> RunParameterDialog(KeyFunctionCode function, KeyConfigId config,
                                                int button);
  std::optional<std::string> RunSnipeDialog(KeyConfigId config, int button);
  std::optional<std::string> RunFireKeyDialog(KeyConfigId config, int button);
  void CommitShift(int row);
  void StoreFunction(KeyConfigId config, int button, KeyFunctionCode function);

  void OpenDpiSubList(int row);
  void CloseKeyList();
  void CloseDpiSubList();
  void RedrawKeyRow(int row);
  void DrawKeyRow(Canvas* target, int row) const;
  void DrawModeButtons(Canvas* target) const;

  MainPageContext& page_;
  std::optional<int> openRow_;
  // Where the DPI switch sub-list is, while it is open.
  std::optional<Rect> subList_;
};

}  // namespace q8
