#include "pages/main_page.h"

#include "model/button_caption.h"
#include "pages/main_page_layout.h"
#include "pages/page_control_colors.h"
#include "pages/page_frame.h"

namespace q8 {
namespace {

using namespace page_layout;

bool IsPageStage(int stage) {
  return stage >= 1 && stage <= kPageStages;
}

}  // namespace

void MainPage::Build() {
  if (built_) {
    return;
  }
  built_ = true;
  TakeDefaultCaptionsOnFirstRun();
  keys_.ShowActiveCaptions();
  // One drawing: the whole page reaches the window in a single copy, after its value texts exist.
  page_.window.Draw([&](Canvas* target) {
    DrawPage(target);
    rates_.ShowStages(!staticsExist_);
    lighting_.ShowValues(!staticsExist_);
    staticsExist_ = true;
  });
  page_.controls.SetMainPageDrawn();
}

void MainPage::Redraw(bool overArt) {
  if (built_) {
    page_.window.Draw([&](Canvas* target) { DrawPage(target, overArt); });
  }
}

std::optional<Canvas> MainPage::TakeArt() {
  return TakePageArt(page_);
}

void MainPage::DrawPage(Canvas* target, bool overArt) {
  DrawPageFrame(page_, target, overArt);
  keys_.Draw(target);
  rates_.Draw(target);
}

// Until the tool has saved config.bin once, the captions in str.ini may belong to another layout:
// the first page of the run shows the default captions and writes them at once.
void MainPage::TakeDefaultCaptionsOnFirstRun() {
  AppState& state = page_.state;
  if (state.pagesBuiltOnce) {
    return;
  }
  if (state.settings.firstRunFlag == 0) {
    state.captions = DefaultButtonCaptions(state.language);
    // Like every write of str.ini, a failure goes unreported: the page shows the captions anyway
    // and the next OK or Apply writes them again.
    static_cast<void>(WriteButtonCaptions(
        state.files.strIni, page_.texts.Text(UiTextKey::StrIniSection), state.captions));
  }
  state.pagesBuiltOnce = true;
}

void MainPage::TearDown() {
  if (staticsExist_) {
    rates_.DestroyStages();
    lighting_.DestroyValues();
    staticsExist_ = false;
  }
  keys_.CloseLists();
  rates_.CloseLevelList();
  lighting_.CloseLists();
  built_ = false;
}

// The DPI level list is left open: only a value box or a choice closes it.
void MainPage::CloseListsOutside(Point point) {
  keys_.CloseListsOutside(point);
  lighting_.CloseListsOutside(point);
}

void MainPage::ToggleKeyList(int row) {
  if (row >= 1 && row <= kKeyRows) {
    keys_.ToggleKeyList(row);
  }
}

void MainPage::ChooseStageColor(int stage) {
  if (IsPageStage(stage)) {
    rates_.ChooseStageColor(stage);
  }
}

void MainPage::ToggleDpiLevelList(int stage) {
  if (IsPageStage(stage)) {
    rates_.ToggleDpiLevelList(stage);
  }
}

void MainPage::OnPointerMove(Point point) {
  if (built_) {
    keys_.OnPointerMove(point);
  }
}

// A selection change and a double click commit alike.
void MainPage::OnListNotification(ControlId list, ListEvent /*event*/) {
  if (list >= KeyListId(1) && list <= KeyListId(kKeyRows)) {
    keys_.CommitKeyChoice(list - KeyListId(1) + 1);
    return;
  }
  switch (list) {
    case kDpiSubListId:
      return keys_.CommitDpiSwitchChoice();
    case kDpiLevelListId:
      return rates_.CommitDpiLevel();
    case kModeListId:
      return lighting_.CommitMode();
    case kParameterListId:
      return lighting_.CommitParam();
    case kEffectListId:
      return lighting_.CommitEffect();
    default:
      return;
  }
}

std::optional<ControlColors> MainPage::ControlColor(ControlId control) const {
  return PageControlColor(control, page_.state.settings.deviceConfig, page_.state.skinTextColor);
}

}  // namespace q8
