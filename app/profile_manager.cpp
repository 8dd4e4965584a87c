#include "app/profile_manager.h"

#include <algorithm>
#include <utility>

namespace q8 {
namespace {

bool Listed(const ProfileActions& actions, std::string_view name) {
  const auto names = actions.List();
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

ProfileOutcome ProfileManager::SaveCurrentAs(std::string_view name, bool replace) {
  const ProfileActions actions = Actions();
  Profile current = keeper_.AppliedAsProfile();
  if (keeper_.FilesHoldTheCurrentSettings()) {
    // q8ctl loaded or set behind the window's back, or the mouse holds part of this program's last
    // write: config.bin is read as q8ctl's own save reads it (a file that cannot be read, or is no
    // config.bin, saves nothing).
    const auto files = actions.CurrentSettings();
    if (const auto* refused = std::get_if<ProfileOutcome>(&files)) {
      return *refused;
    }
    current.config = std::get<Profile>(files).config;
  }
  ProfileOutcome outcome = actions.SaveAs(name, current, replace);
  if (outcome.Done()) {
    keeper_.SavedAppliedAs(actions.Store().ProfileNamed(name).value_or(std::string(name)));
  }
  return outcome;
}

// The keeper follows what happened to the file, also when the rules could not follow it.
ProfileOutcome ProfileManager::Rename(std::string_view from, std::string_view to) {
  const ProfileActions actions = Actions();
  ProfileOutcome outcome = actions.Rename(from, to);
  if (!Listed(actions, from) && Listed(actions, to)) {
    keeper_.ProfileRenamed(std::string(from), std::string(to));
  }
  return RulesChanged(std::move(outcome));
}

ProfileOutcome ProfileManager::Delete(std::string_view name) {
  const ProfileActions actions = Actions();
  const bool was = Listed(actions, name);
  ProfileOutcome outcome = actions.Delete(name);
  if (was && !Listed(actions, name)) {
    keeper_.ProfileDeleted(std::string(name));
  }
  return RulesChanged(std::move(outcome));
}

}  // namespace q8
