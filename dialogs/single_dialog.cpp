#include "dialogs/single_dialog.h"

#include <string>

#include "settings/message_sink.h"

namespace q8 {
namespace {

constexpr FrameLayout kSingleLayout{
    .templateId = 701,
    .background = dialog_background::kSingleKey,
    .valueBox = CSingleDialog::kValueBox,
    .valueBoxRect = {73, 128, 151, 144},
    .valueBoxStyle = StaticStyle::kSunkenCentre,
    .list = std::nullopt,
};

// Virtual-key codes of the keys the dialog keeps to itself.
constexpr int kKeyEnter = 0x0D;
constexpr int kKeyEscape = 0x1B;
constexpr int kKeyLeftWindows = 0x5B;
constexpr int kKeyRightWindows = 0x5C;

// The prompt is white on every skin.
constexpr Rgb kPromptColour{255, 255, 255};
constexpr Rect kPromptRect{43, 108, 181, 124};

std::string_view PromptFor(UiLanguage language) {
  switch (language) {
    case UiLanguage::CHS:
      return "请输入一个按键";
    case UiLanguage::CHT:
      return "請輸入一個按鍵";
    default:
      return "Please enter a key";
  }
}

// At most `count` characters of UTF-8 text, never cutting one in half.
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t characters = 0; end < text.size() && characters < count; ++characters) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
      ++end;
    }
  }
  return text.substr(0, end);
}

}  // namespace

CSingleDialog::CSingleDialog(const DialogEnvironment& environment)
    : FunctionDialogFrame(environment, kSingleLayout, std::string()) {}

void CSingleDialog::CreateControls() {
  FunctionDialogFrame::CreateControls();
  const KeyCaptureStart capture = Host().StartKeyCapture();
  if (!capture.started) {
    const std::string text =
        "KeyboardHook_SingleDlgKey Install error code :" + std::to_string(capture.errorCode) + "\n";
    Host().ShowMessage(text, kApplicationName);
  }
}

void CSingleDialog::DrawFaceTexts(Canvas& canvas) const {
  DrawFaceText(canvas, PromptFor(Language()), kPromptRect, kPromptColour, TextAlign::kCentre);
}

// The capture has seen every key already; what is kept back here is what would otherwise end
// the dialog (Enter, Escape) or leave it (the Windows keys), whatever message carries them.
bool CSingleDialog::OnPreTranslateKey(KeyMessage message) {
  if (message.code == kKeyLeftWindows || message.code == kKeyRightWindows) {
    return true;
  }
  return message.isKeyDown && (message.code == kKeyEnter || message.code == kKeyEscape);
}

void CSingleDialog::OnKeyCaptured(std::string_view keyName) {
  capturedKeyName_ = FirstCharacters(keyName, kMaxKeyNameLength);
  Host().SetControlText(kValueBox, capturedKeyName_);
  Host().RedrawControl(kValueBox);
}

}  // namespace q8
