#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pages/main_page_context.h"
#include "pages/main_page_layout.h"

namespace q8 {

// The lighting section of the settings page: three value texts (mode, parameter, effect), each
// with a click area that toggles its pop-up list. Choices go straight into DeviceConfig.
class LightingSection {
 public:
  explicit LightingSection(MainPageContext& page) : page_(page) {}
  LightingSection(const LightingSection&) = delete;
  LightingSection& operator=(const LightingSection&) = delete;

  // The three value texts from the record: created when `create`, otherwise updated.
  void ShowValues(bool create);
  void DestroyValues();

  void ToggleModeList();
  void ToggleParamList();
  void ToggleEffectList();
  void CommitMode();
  void CommitParam();
  void CommitEffect();

  // A press on the page closes every open list that lies neither under the press nor under the
  // area that opened it.
  void CloseListsOutside(Point point);
  void CloseLists();

  bool IsModeListOpen() const { return mode_.open; }
  bool IsParamListOpen() const { return param_.open; }
  bool IsEffectListOpen() const { return effect_.open; }

 private:
  // One of the three lists. A toggle sets `open` even when the mode offers no list, so that the
  // next click only clears it; `rect` and `items` describe the list made, if one was.
  struct PopupList {
    PopupList(ControlId listId, Rect area) : id(listId), clickArea(area) {}
    ControlId id;
    Rect clickArea;
    bool open = false;
    std::optional<Rect> rect;
    std::vector<std::string> items;
  };

  DeviceConfig& Config() { return page_.state.settings.deviceConfig; }
  std::string_view Text(UiTextKey key) const { return page_.texts.Text(key); }
  // Toggling an open list closes it; true when the toggle is to open one.
  bool CloseIfOpen(PopupList& list);
  void Open(PopupList& list, Rect rect, std::span<const std::string_view> items);
  // The entry chosen in an open list, or nothing.
  std::optional<std::size_t> Selection(const PopupList& list) const;
  void Close(PopupList& list);
  void SetValue(ControlId id, std::string_view text);

  MainPageContext& page_;
  PopupList mode_{page_layout::kModeListId, page_layout::kModeClickArea};
  PopupList param_{page_layout::kParameterListId, page_layout::kParameterClickArea};
  PopupList effect_{page_layout::kEffectListId, page_layout::kEffectClickArea};
};

}  // namespace q8
