#pragma once

#include <array>
#include <string>
#include <string_view>

#include "settings/message_sink.h"
#include "ui/dialog_host.h"
#include "ui/image_decoder.h"
#include "ui/skin_images.h"
#include "ui/skinned_window.h"

namespace q8 {

// The background of each skinned dialog and the caption of the message that reports it missing.
struct DialogBackground {
  std::string_view image;
  std::string_view failureCaption;
};

namespace dialog_background {
inline constexpr DialogBackground kFireKey{skin_image::kFireKey,
                                           "FireKey Dialog Load background image failed!!!"};
inline constexpr DialogBackground kHotKey{skin_image::kHotKey,
                                          "HotKey Dialog Load background image failed!!!"};
inline constexpr DialogBackground kSingleKey{skin_image::kSingleKey,
                                             "Single Key Dialog Load background image failed!!!"};
inline constexpr DialogBackground kMedia{skin_image::kMediaKey,
                                         "Media Dialog Load background image failed!!!"};
inline constexpr DialogBackground kWindows{skin_image::kWindowsKey,
                                           "Windows Dialog Load background image failed!!!"};
inline constexpr DialogBackground kSnipe{skin_image::kSnipeKey,
                                         "Snipe Dialog Load background image failed!!!"};
inline constexpr DialogBackground kSkins{skin_image::kSkins,
                                         "Skins Dialog Load background image failed!!!"};
inline constexpr DialogBackground kProfiles{skin_image::kProfiles,
                                            "Profiles Dialog Load background image failed!!!"};
}  // namespace dialog_background

inline constexpr std::string_view kMsgDialogBackgroundFailed = "error";

// Makes a dialog's canvas from its background in the skin folder. When the image cannot be
// decoded the user is told ("error", with the dialog's caption) and the dialog stays without a
// canvas, drawing nothing of its skin. Returns whether the canvas was made.
bool MakeDialogCanvas(SkinnedWindow& window, ImageDecoder& decoder, std::string_view skinDirectory,
                      const DialogBackground& background, MessageSink& messages);

// A dialog moved to a display of another scale: the shell has put its controls at their new places
// and maps clicks at the new scale, so its canvas and font are made again to match. A background
// that no longer decodes ends the dialog with Cancel. Returns whether the dialog's face is whole.
bool MakeDialogFaceAgain(SkinnedWindow& window, ImageDecoder& decoder,
                         std::string_view skinDirectory, const DialogBackground& background,
                         DialogHost& host, const FontRequest& font);

}  // namespace q8
