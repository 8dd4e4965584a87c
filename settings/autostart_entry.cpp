#include "settings/autostart_entry.h"

#include <cstdint>
#include <span>
#include <sstream>
#include <system_error>

#include "settings/durable_file.h"
#include "settings/file_bytes.h"
#include "settings/utf8_path.h"

namespace q8 {

std::optional<std::filesystem::path> AutostartEntry::FileFor(const char* xdgConfigHome,
                                                             const char* home) {
  std::filesystem::path config;
  if (xdgConfigHome != nullptr && std::filesystem::path(xdgConfigHome).is_absolute()) {
    config = xdgConfigHome;
  } else if (home != nullptr && std::filesystem::path(home).is_absolute()) {
    config = std::filesystem::path(home) / ".config";
  } else {
    return std::nullopt;
  }
  return config / "autostart" / "tarnix-q8.desktop";
}

bool AutostartEntry::Enabled() const {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file_, error)) {
    return false;
  }
  constexpr std::size_t kMaxEntryBytes = 64 * 1024;
  const auto bytes = ReadFileBytes(file_, kMaxEntryBytes);
  if (!bytes) {
    return true;  // there, though unreadable here: the desktop may still start it
  }
  std::istringstream text(std::string(bytes->begin(), bytes->end()));
  bool inEntry = false;
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (line.starts_with('[')) {
      inEntry = line == "[Desktop Entry]";
    } else if (inEntry && (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")) {
      return false;
    }
  }
  return true;
}

std::string DesktopExecArgument(std::string_view argument) {
  // Characters that make an argument need quotes, and those that need a backslash inside them.
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  constexpr std::string_view kEscaped = "\"`$\\";
  std::string quoted;
  for (const char c : argument) {
    if (kEscaped.find(c) != std::string_view::npos) {
      quoted += '\\';
    }
    quoted += c == '%' ? std::string("%%") : std::string(1, c);
  }
  if (argument.find_first_of(kReserved) != std::string_view::npos) {
    quoted = '"' + quoted + '"';
  }
  // The value of a key is itself a string whose backslashes are escaped.
  std::string value;
  for (const char c : quoted) {
    value += c == '\\' ? std::string("\\\\") : std::string(1, c);
  }
  return value;
}

std::string AutostartEntry::Text() const {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Tarnix Q8\n"
         "Comment=Keeps the Tarnix Q8 settings tool in the notification area\n"
         "Exec=" +
         DesktopExecArgument(Utf8Of(executable_)) +
         " --at-log-in\n"
         "Icon=tarnix-q8\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

std::optional<std::string> AutostartEntry::Write() const {
  std::error_code error;
  std::filesystem::create_directories(file_.parent_path(), error);
  if (!error) {
    const std::string text = Text();
    error = ReplaceFileContents(
        file_, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  }
  if (error) {
    return "Could not write " + Utf8Of(file_) + ": " + error.message();
  }
  return std::nullopt;
}

std::optional<std::string> AutostartEntry::Remove() const {
  std::error_code error;
  std::filesystem::remove(file_, error);
  if (error) {
    return "Could not remove " + Utf8Of(file_) + ": " + error.message();
  }
  return std::nullopt;
}

}  // namespace q8
