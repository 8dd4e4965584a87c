#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace q8 {

// An item chosen from a dialog's list: its index and its text.
struct ListChoice {
  int index = 0;
  std::string text;
  friend bool operator==(const ListChoice&, const ListChoice&) = default;
};

// What the fire-key dialog returns.
struct FireKeyChoice {
  int keyIndex = 0;  // index in the fire-key list
  std::string keyName;
  std::uint8_t times = 1;  // 0..127; 0: until the button is released
  std::uint8_t makeTime = 32;
  std::uint8_t breakTime = 32;
  friend bool operator==(const FireKeyChoice&, const FireKeyChoice&) = default;
};

// The key-function dialogs as the key page runs them: each opens a new dialog modally over the
// main window and returns its result when it ends with OK, nothing otherwise.
class KeyFunctionDialogs {
 public:
  virtual ~KeyFunctionDialogs() = default;
  virtual std::optional<ListChoice> RunLaunchDialog() = 0;  // CWindowsDialog
  virtual std::optional<ListChoice> RunMediaDialog() = 0;   // CMediaDialog
  virtual std::optional<ListChoice> RunHotKeyDialog() = 0;  // CHotKeyDialog
  virtual std::optional<FireKeyChoice> RunFireKeyDialog() = 0;
  // The captured key's name.
  virtual std::optional<std::string> RunSingleKeyDialog() = 0;
  virtual std::optional<ListChoice> RunSnipeDialog() = 0;
};

}  // namespace q8
