#include "app/main_page_attachment.h"

namespace q8 {

std::unique_ptr<MainPage> AttachMainPage(CKeldraDlg& window, KeyFunctionDialogs& dialogs) {
  MainWindowHost& host = window.Host();
  auto page = std::make_unique<MainPage>(MainPageContext{
      .state = window.State(),
      .texts = window.Texts(),
      .window = window.Window(),
      .painter = window.Painter(),
      .text = host.Text(),
      .controls = window.Controls(),
      .captions = window.Captions(),
      .nativeControls = host,
      .messages = host,
      .dialogs = dialogs,
  });
  window.SetPage(page.get());
  return page;
}

}  // namespace q8
