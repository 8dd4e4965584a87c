#include "ui/dialog_canvas.h"

#include "ui/skin_directory.h"

namespace q8 {

bool MakeDialogCanvas(SkinnedWindow& window, ImageDecoder& decoder, std::string_view skinDirectory,
                      const DialogBackground& background, MessageSink& messages) {
  if (window.MakeCanvas(decoder, SkinImagePath(skinDirectory, background.image))) {
    return true;
  }
  messages.ShowMessage(kMsgDialogBackgroundFailed, background.failureCaption);
  return false;
}

bool MakeDialogFaceAgain(SkinnedWindow& window, ImageDecoder& decoder,
                         std::string_view skinDirectory, const DialogBackground& background,
                         DialogHost& host, const FontRequest& font) {
  if (!MakeDialogCanvas(window, decoder, skinDirectory, background, host)) {
    host.EndDialog(DialogResult::kCancel);
    return false;
  }
  host.SetFont(font);
  return true;
}

}  // namespace q8
