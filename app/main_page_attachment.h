#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/keldra_dlg.h"
#include "pages/key_function_dialogs.h"
#include "pages/main_page.h"

namespace q8 {

// Makes the settings page of `window` from what the window owns, plugs it in and hands it to the
// caller, who keeps it as long as the window. Every shell calls this before the window's
// initialisation; `dialogs` runs the key-function dialogs over the window.
std::unique_ptr<MainPage> AttachMainPage(CKeldraDlg& window, KeyFunctionDialogs& dialogs);

// Key-function dialogs that are all cancelled at once, so a function that needs a parameter is
// chosen without one: for a page measured or tested without dialogs.
class CancelledKeyFunctionDialogs final : public KeyFunctionDialogs {
 public:
  std::optional<ListChoice> RunLaunchDialog() override { return std::nullopt; }
  std::optional<ListChoice> RunMediaDialog() override { return std::nullopt; }
  std::optional<ListChoice> RunHotKeyDialog() override { return std::nullopt; }
  std::optional<FireKeyChoice> RunFireKeyDialog() override { return std::nullopt; }
  std::optional<std::string> RunSingleKeyDialog() override { return std::nullopt; }
  std::optional<ListChoice> RunSnipeDialog() override { return std::nullopt; }
};

}  // namespace q8
