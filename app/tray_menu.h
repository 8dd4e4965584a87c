#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window_host.h"
#include "settings/autostart_entry.h"
#include "settings/message_sink.h"

namespace q8 {

// What the tray menu a right click opens offers: the profiles' submenu (at most kMaxMenuProfiles
// of them, sorted) with the active one checked and, where the program has the profiles dialog,
// "Manage profiles…" at its end (the submenu is then there without profiles too); the entries with
// a check mark; Exit. It keeps the profiles it offered until the next right click, so that a
// command chosen from the menu names what the user saw.
class TrayMenuOffer {
 public:
  struct Texts {
    std::string_view exit;
    std::string_view profiles;
    std::string_view startAtLogIn;
    std::string_view manageProfiles = {};  // empty: no profiles dialog
  };

  // The entry that starts the program at log-in, offered as "Start at log-in"; none: not offered.
  void SetAutostartEntry(const AutostartEntry* entry) { autostart_ = entry; }

  void Show(MainWindowHost& host, const Texts& texts, std::vector<std::string> profiles,
            const std::optional<std::string>& active);
  // Acts on a command of the entries with a check mark: "Start at log-in" writes the entry, or
  // removes it when it is there (a problem told through `messages`). False for any other command.
  bool TakeCheckCommand(int command, MessageSink& messages);
  // The profile a menu command chose, as a copy: a right click while its load's box is open
  // makes the list anew.
  std::optional<std::string> ProfileOfCommand(int command) const;

 private:
  std::vector<std::string> profiles_;
  const AutostartEntry* autostart_ = nullptr;
};

// The tray icon's tip: the tool's own, and on a second line the active profile after its label.
std::string TrayTipFor(std::string_view toolTip, std::string_view profileLabel,
                       const std::optional<std::string>& active);

}  // namespace q8
