#pragma once

#include "app/profile_actions.h"
#include "app/settings_keeper.h"
#include "dialogs/profiles_port.h"
#include "model/app_state.h"

namespace q8 {

// The tray program's side of the profiles dialog: the profile actions q8ctl runs, on the tool's
// files, and what they mean for the active profile, which its keeper decides. "Save current as"
// saves the settings the mouse was last given (as the keeper knows them, with the sensor that
// names their DPI levels); a rename or a delete of the active profile is the keeper's to follow,
// and a rule changed takes effect at once for the program in front. An import over the active
// profile replaces its file as q8ctl's would: OK and Apply leave it, and the rule loads it at its
// program's next turn.
class ProfileManager final : public ProfilesPort {
 public:
  ProfileManager(const AppState& state, SettingsKeeper& keeper) : state_(state), keeper_(keeper) {}

  std::vector<std::string> Profiles() const override { return Actions().List(); }
  ProfileRules Rules() const override { return Actions().Rules(); }
  std::optional<std::string> ActiveProfile() const override { return keeper_.ActiveProfile(); }

  ProfileOutcome SaveCurrentAs(std::string_view name, bool replace) override;
  ProfileOutcome Rename(std::string_view from, std::string_view to) override;
  ProfileOutcome Delete(std::string_view name) override;
  ProfileOutcome Import(const std::filesystem::path& file, bool replace) override {
    ProfileOutcome outcome = Actions().Import(file, std::nullopt, replace);
    keeper_.OnProfilesEdited(false);  // an import over the page's profile is a new file
    return outcome;
  }
  ProfileOutcome Export(std::string_view name, const std::filesystem::path& file) override {
    return Actions().Export(name, file);
  }
  ProfileOutcome SetRule(std::string_view program, std::string_view profile) override {
    return RulesChanged(Actions().SetRule(program, profile));
  }
  ProfileOutcome RemoveRule(std::string_view program) override {
    return RulesChanged(Actions().RemoveRule(program));
  }
  ProfileOutcome SetDefault(std::string_view profile) override {
    return RulesChanged(Actions().SetDefault(profile));
  }

 private:
  // A rule changed takes effect at once: the program in front gets what the rules now give it.
  ProfileOutcome RulesChanged(ProfileOutcome outcome) {
    if (outcome.Done()) {
      keeper_.OnRulesChanged();
    }
    return outcome;
  }
  // Made for every action: the language, and with it the captions' section, is read anew.
  ProfileActions Actions() const { return ProfileActions(state_.files.configBin); }

  const AppState& state_;
  SettingsKeeper& keeper_;
};

}  // namespace q8
