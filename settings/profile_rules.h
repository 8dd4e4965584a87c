#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace q8 {

// rules.ini in the profile folder: which profile to load when a program comes to the front.
//
//   [Rules]
//   game.exe=Racing             the executable's file name = the profile's name
//   org.gnome.Nautilus=Desktop  a Wayland program's app_id, where the compositor tells only that
//   [Default]
//   Profile=Desktop             for every program without a rule (optional)
//
// A program is named by its executable's file name where the desktop tells its process (Windows,
// X11, Xwayland, KDE Plasma), a Windows program run by Wine by its .exe (regardless of letter
// case), and a native Wayland program on wlroots compositors (sway, Hyprland, labwc) by its app_id,
// matched exactly. Blanks around names are ignored; lines starting with ';' or '#' are comments.
// The first rule of a program wins.
struct ProfileRules {
  std::vector<std::pair<std::string, std::string>> rules;  // program, profile
  std::string defaultProfile;                              // empty: none
};

ProfileRules ParseProfileRules(std::span<const std::uint8_t> bytes);
// A missing or unreadable file has no rules.
ProfileRules ReadProfileRules(const std::filesystem::path& rulesIni);

// Whether program names match regardless of letter case: on Windows, where file names do.
// Implemented once per operating system.
bool ProgramNamesIgnoreCase();

// The profile for `program` (an executable's file name): its rule's, or the default one, or
// nothing when neither is given.
std::optional<std::string> ProfileForProgram(const ProfileRules& rules, std::string_view program,
                                             bool ignoreCase);

// The program a process runs, as the rules name it.
struct ProcessProgram {
  std::string name;
  // A Windows program run by Wine: its name matches regardless of letter case, as on Windows.
  bool windowsProgram = false;
};

// The program of a process from its executable's file name and its command line: the executable's
// name, except for Wine's loader (wine, wine64, wine-preloader, wine64-preloader, as Proton runs it
// too), whose process runs a Windows program: that one is named by the first argument that names
// an .exe file, its file name alone ("C:\\Games\\game.exe" gives "game.exe"). Wine's loader
// without such an argument keeps its own name.
ProcessProgram ProgramOfCommandLine(std::string_view executable,
                                    std::span<const std::string> commandLine);

}  // namespace q8
