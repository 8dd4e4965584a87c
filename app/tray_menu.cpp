#include "app/tray_menu.h"

#include <algorithm>

namespace q8 {

void TrayMenuOffer::Show(MainWindowHost& host, const Texts& texts,
                         std::vector<std::string> profiles,
                         const std::optional<std::string>& active,
                         std::optional<MenuCheckItem> startAtLogIn) {
  profiles_ = std::move(profiles);
  if (profiles_.size() > kMaxMenuProfiles) {
    profiles_.resize(kMaxMenuProfiles);
  }
  TrayMenu menu{texts.exit, std::nullopt, startAtLogIn};
  if (!profiles_.empty()) {
    menu.profiles = ProfileMenu{texts.profiles, profiles_, std::nullopt};
    const auto checked = std::find(profiles_.begin(), profiles_.end(), active);
    if (active && checked != profiles_.end()) {
      menu.profiles->active = static_cast<std::size_t>(checked - profiles_.begin());
    }
  }
  host.OpenTrayMenu(menu);
}

std::optional<std::string> TrayMenuOffer::ProfileOfCommand(int command) const {
  if (command < kCommandFirstProfile ||
      static_cast<std::size_t>(command - kCommandFirstProfile) >= profiles_.size()) {
    return std::nullopt;
  }
  return profiles_[static_cast<std::size_t>(command - kCommandFirstProfile)];
}

}  // namespace q8
