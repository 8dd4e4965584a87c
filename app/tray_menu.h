#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window_host.h"

namespace q8 {

// What the tray menu a right click opens offers: the profiles' submenu (at most kMaxMenuProfiles
// of them, sorted) with the active one checked, the entries with a check mark, Exit. It keeps the
// profiles it offered until the next right click, so that a command chosen from the menu names
// what the user saw.
class TrayMenuOffer {
 public:
  struct Texts {
    std::string_view exit;
    std::string_view profiles;
  };

  void Show(MainWindowHost& host, const Texts& texts, std::vector<std::string> profiles,
            const std::optional<std::string>& active, std::optional<MenuCheckItem> startAtLogIn);
  // The profile a menu command chose, as a copy: a right click while its load's box is open
  // makes the list anew.
  std::optional<std::string> ProfileOfCommand(int command) const;

 private:
  std::vector<std::string> profiles_;
};

}  // namespace q8
