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

}  // namespace q8
