#include "app/tray_menu.h"

#include <algorithm>

namespace q8 {

void TrayMenuOffer::Show(MainWindowHost& host, const Texts& texts,
                         std::vector<std::string> profiles,
                         const std::optional<std::string>& active) {
  profiles_ = std::move(profiles);
  if (profiles_.size() > kMaxMenuProfiles) {
    profiles_.resize(kMaxMenuProfiles);
  }
  TrayMenu menu{texts.exit, std::nullopt, std::nullopt};
  if (autostart_ != nullptr) {
    menu.startAtLogIn = MenuCheckItem{texts.startAtLogIn, autostart_->Enabled()};
  }
  if (!profiles_.empty() || !texts.manageProfiles.empty()) {
    menu.profiles = ProfileMenu{texts.profiles, profiles_, std::nullopt, texts.manageProfiles};
    const auto checked = std::find(profiles_.begin(), profiles_.end(), active);
    if (active && checked != profiles_.end()) {
      menu.profiles->active = static_cast<std::size_t>(checked - profiles_.begin());
    }
  }
  host.OpenTrayMenu(menu);
}

bool TrayMenuOffer::TakeCheckCommand(int command, MessageSink& messages) {
  if (command != kCommandStartAtLogIn || autostart_ == nullptr) {
    return false;
  }
  // An entry turned off by the desktop is written anew, turned on.
  if (const auto problem = autostart_->Enabled() ? autostart_->Remove() : autostart_->Write()) {
    messages.ShowMessage(*problem, kApplicationName);
  }
  return true;
}

std::optional<std::string> TrayMenuOffer::ProfileOfCommand(int command) const {
  if (command < kCommandFirstProfile ||
      static_cast<std::size_t>(command - kCommandFirstProfile) >= profiles_.size()) {
    return std::nullopt;
  }
  return profiles_[static_cast<std::size_t>(command - kCommandFirstProfile)];
}

std::string TrayTipFor(std::string_view toolTip, std::string_view profileLabel,
                       const std::optional<std::string>& active) {
  std::string tip(toolTip);
  if (active) {
    tip.append("\n").append(profileLabel).append(*active);
  }
  return tip;
}

}  // namespace q8
