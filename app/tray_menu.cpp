#include "app/tray_menu.h"

#include <algorithm>

namespace q8 {

void TrayMenu::Show(MainWindowHost& host, const Texts& texts, std::vector<std::string> profiles,
                    const std::optional<std::string>& active) {
  profiles_ = std::move(profiles);
  if (profiles_.size() > kMaxMenuProfiles) {
    profiles_.resize(kMaxMenuProfiles);
  }
  if (profiles_.empty() && texts.manageProfiles.empty()) {
    host.ShowTrayMenu(texts.exit);
    return;
  }
  ProfileMenu menu{texts.profiles, profiles_, std::nullopt, texts.manageProfiles};
  const auto checked = std::find(profiles_.begin(), profiles_.end(), active);
  if (active && checked != profiles_.end()) {
    menu.active = static_cast<std::size_t>(checked - profiles_.begin());
  }
  host.ShowTrayMenuWithProfiles(texts.exit, menu);
}

std::optional<std::string> TrayMenu::ProfileOfCommand(int command) const {
  if (command < kCommandFirstProfile ||
      static_cast<std::size_t>(command - kCommandFirstProfile) >= profiles_.size()) {
    return std::nullopt;
  }
  return profiles_[static_cast<std::size_t>(command - kCommandFirstProfile)];
}

}  // namespace q8
