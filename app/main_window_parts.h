#pragma once

#include <memory>

#include "app/keldra_dlg.h"
#include "pages/key_function_dialogs.h"
#include "pages/main_page.h"

namespace q8 {

// Makes the settings page of `window` from what the window owns, plugs it in and hands it to the
// caller, who keeps it as long as the window. Every shell calls this before the window's
// initialisation; `dialogs` runs the key-function dialogs over the window.
std::unique_ptr<MainPage> AttachMainPage(CKeldraDlg& window, KeyFunctionDialogs& dialogs);

}  // namespace q8
