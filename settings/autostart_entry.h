#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace q8 {

// The entry that starts the tray program at log-in on desktops that follow the XDG autostart rules
// (GNOME, KDE Plasma, Xfce, ... and sway with a session starter): `tarnix-q8.desktop` in the
// autostart folder of the user's configuration folder. The tray menu's "Start at log-in" is checked
// while the entry starts the program, and writes or removes it.
class AutostartEntry {
 public:
  // `file`: where the entry goes; `executable`: the program it starts.
  AutostartEntry(std::filesystem::path file, std::filesystem::path executable)
      : file_(std::move(file)), executable_(std::move(executable)) {}

  // The entry's place: `$XDG_CONFIG_HOME/autostart/tarnix-q8.desktop`, `~/.config/autostart/...`
  // when that is unset or not an absolute path (as the XDG rules say); nothing without either.
  static std::optional<std::filesystem::path> FileFor(const char* xdgConfigHome, const char* home);

  const std::filesystem::path& File() const { return file_; }
  // Whether the desktop starts the program at log-in: the entry is there and not turned off
  // (Hidden=true, or X-GNOME-Autostart-enabled=false, as a desktop's settings may write it).
  bool Enabled() const;
  // Writes the entry whole (making its folder), or removes it; the problem in a sentence when that
  // failed.
  std::optional<std::string> Write() const;
  std::optional<std::string> Remove() const;
  // The entry's text.
  std::string Text() const;

 private:
  std::filesystem::path file_;
  std::filesystem::path executable_;
};

// One argument of a desktop entry's Exec key, quoted and escaped where the desktop entry rules ask.
std::string DesktopExecArgument(std::string_view argument);

}  // namespace q8
