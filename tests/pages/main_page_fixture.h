#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "model/app_state.h"
#include "model/button_caption.h"
#include "model/key_model.h"
#include "pages/main_page.h"
#include "support/fake_window_host.h"
#include "support/temp_dir.h"

namespace q8::test {

// Plays the user of the key-function dialogs: each run ends with the answer set for it, or with
// Cancel.
class FakeKeyFunctionDialogs final : public KeyFunctionDialogs {
 public:
  std::optional<ListChoice> RunLaunchDialog() override { return launch; }
  std::optional<ListChoice> RunMediaDialog() override { return media; }
  std::optional<ListChoice> RunHotKeyDialog() override { return hotKey; }
  std::optional<FireKeyChoice> RunFireKeyDialog() override { return fireKey; }
  std::optional<std::string> RunSingleKeyDialog() override { return singleKey; }
  std::optional<ListChoice> RunSnipeDialog() override { return snipe; }

  std::optional<ListChoice> launch;
  std::optional<ListChoice> media;
  std::optional<ListChoice> hotKey;
  std::optional<FireKeyChoice> fireKey;
  std::optional<std::string> singleKey;
  std::optional<ListChoice> snipe;
};

// A settings page over a fake main window: English texts, the default key layout with its
// captions, a record saved before (first-run flag 1), stage 1..8 switched on.
class MainPageTest : public ::testing::Test {
 protected:
  MainPageTest() {
    texts_.FillTextTable(UiLanguage::EN);
    state_.files.strIni = dir_ / "str.ini";
    state_.settings.firstRunFlag = 1;
    state_.skinDirectory = "skin";
    DeviceConfig& config = Config();
    ApplyDefaultKeyLayout(config);
    for (std::size_t stage = 1; stage <= kDpiStageCount; ++stage) {
      config.Stage(field::DpiStageEnabled, stage) = 1;
    }
    config[field::ReportRateCode] = 1;
    state_.captions = DefaultButtonCaptions(UiLanguage::EN);
    captions_.ok = texts_.Text(UiTextKey::Ok);
    captions_.apply = texts_.Text(UiTextKey::Apply);
    captions_.cancel = texts_.Text(UiTextKey::Cancel);
    captions_.restoreKeys = texts_.Text(UiTextKey::RestoreKeys);
    window_.MakeCanvas(decoder_, "skin/main.png");
    Forget();
  }

  DeviceConfig& Config() { return state_.settings.deviceConfig; }
  std::uint8_t Function(KeyConfigId config, std::size_t button) {
    return Config().Button(field::KeyFunction, config, button);
  }
  const std::string& Caption(KeyConfigId config, std::size_t button) {
    return state_.captions[8 * static_cast<std::size_t>(config) + button - 1];
  }

  // Builds the page and forgets what the build did, so a test sees only what follows.
  void BuildAndForget() {
    page_.Build();
    Forget();
  }
  void Forget() {
    host_.calls.clear();
    host_.drawLog.clear();
    host_.copies = 0;
  }
  // The user picks entry `index` of a list.
  void Choose(ControlId list, int index) {
    host_.SetListSelection(list, index);
    page_.OnListNotification(list, ListEvent::kSelectionChange);
  }
  std::vector<std::string> ItemsOf(ControlId id) const {
    const FakeControl* control = host_.Find(id);
    return control ? control->items : std::vector<std::string>{};
  }
  std::string TextOf(ControlId id) const { return host_.ControlText(id); }

  TempDir dir_;
  AppState state_;
  UiTextTable texts_;
  FakeMainWindowHost host_;
  FakeImageDecoder decoder_{host_.drawLog};
  SkinPainter painter_{state_.skinDirectory, state_.skinTextColor, decoder_, host_.Text(), nullptr};
  SkinnedWindow window_{host_};
  MainWindowCaptions captions_;
  MainWindowControls controls_{window_, painter_, captions_};
  FakeKeyFunctionDialogs dialogs_;
  MainPage page_{MainPageContext{state_, texts_, window_, painter_, host_.Text(), controls_,
                                 captions_, host_, host_, dialogs_}};
};

}  // namespace q8::test
