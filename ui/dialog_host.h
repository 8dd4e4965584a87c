#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "settings/message_sink.h"
#include "ui/control_host.h"
#include "ui/language_fonts.h"
#include "ui/skin_window_host.h"
#include "ui/text_port.h"

namespace q8 {

// How a modal dialog ended, as the platform's dialog run returns it.
enum class DialogResult { kOk = 1, kCancel = 2 };

// A keyboard message the dialog's loop is about to handle. `code` is what the message carries:
// the virtual-key code of a key-down or key-up, the character of a character message.
struct KeyMessage {
  bool isKeyDown = false;  // a plain key-down (not a system key, not a character)
  int code = 0;
};

// Whether the platform's key capture started, and its error code when it did not.
struct KeyCaptureStart {
  bool started = false;
  unsigned long errorCode = 0;
};

// A file the user picks in the system's file dialog: one to read, or one to write (the system asks
// before it is replaced).
struct FileChoice {
  enum class Purpose { kOpen, kSave } purpose = Purpose::kOpen;
  // The kind of file the dialog offers ("Tarnix Q8 profiles") and its pattern ("*.ini").
  std::string kind;
  std::string pattern;
  // The name a file to write is offered under.
  std::string suggestedName;
};

// What a skinned modal dialog's window does for its controller: the skinned window's services,
// its native child controls, its message boxes (owned by the dialog), its one font and the end of
// the modal run.
class DialogHost : public SkinWindowHost, public ControlHost, public MessageSink {
 public:
  // Makes the dialog's font; every caption and control of the dialog uses it from then on.
  virtual void SetFont(const FontRequest& font) = 0;
  // Draws captions into the canvas with the dialog's font.
  virtual TextPainter& Text() = 0;
  // Ends the modal run with `result` once the current message has been handled. As with every
  // control that is destroyed, a control that has the keyboard focus loses it first (an edit
  // reports EditEvent::kKillFocus), so a pending edit is settled before the caller reads results.
  virtual void EndDialog(DialogResult result) = 0;
  // Passes every keystroke the dialog's thread takes from its queue (key-downs, repeats and
  // key-ups, with Alt too) to the controller's OnKeyCaptured, named by the platform, until the
  // run ends. The keystrokes still go on to normal processing. A window that cannot capture keys
  // keeps this answer: not started (the dialog tells the user so).
  virtual KeyCaptureStart StartKeyCapture() { return {}; }
  // A question with Yes and No, owned by the dialog; true for Yes.
  virtual bool AskYesNo(std::string_view text, std::string_view caption) = 0;
  // The system's dialog to pick a file; nothing when the user cancels it.
  virtual std::optional<std::filesystem::path> ChooseFile(const FileChoice& choice) = 0;
};

// A skinned modal dialog as its window sees it. The host creates the window from the template
// `TemplateId()`, calls OnInitDialog once, then forwards the window's messages until the run ends.
class DialogController {
 public:
  virtual ~DialogController() = default;

  virtual int TemplateId() const = 0;
  // Whether Enter and Escape end the run through the platform's dialog keys (OK and Cancel).
  virtual bool UsesDialogKeys() const { return true; }

  virtual void OnInitDialog(DialogHost& host) = 0;
  virtual void OnEraseBackground() = 0;
  virtual void OnLButtonDown(Point point) = 0;
  virtual void OnMouseMove(Point point) = 0;
  virtual void OnMouseHover(Point point) = 0;
  // Every mouse move the dialog's loop handles, over the dialog or any of its controls, with the
  // cursor position in the dialog's client pixels: before the message is dispatched.
  virtual void OnPointerMove(Point point) = 0;
  virtual void OnListNotification(ControlId list, ListEvent event) = 0;
  virtual void OnEditNotification(ControlId /*edit*/, EditEvent /*event*/) {}
  virtual void OnMouseWheel(int delta) = 0;
  virtual ControlColors ControlColor(ControlId control) const = 0;
  // A keyboard message for the dialog before the platform's dialog keys see it: true consumes
  // it (neither translated nor dispatched).
  virtual bool OnPreTranslateKey(KeyMessage /*message*/) { return false; }
  // The platform's name of a key pressed or released while key capture runs.
  virtual void OnKeyCaptured(std::string_view /*keyName*/) {}
  // The window now shows at another scale (PixelRatio), moved to a display of another scale or the
  // display's scale changed; its native controls are at their rectangles at the new scale already.
  // The dialog makes its font and picture again at that scale, keeping what the user chose.
  virtual void OnDisplayScaleChanged() {}
};

// Runs a skinned dialog modally over the main window, which stays disabled while it runs.
class DialogRunner {
 public:
  virtual ~DialogRunner() = default;
  virtual DialogResult RunDialog(DialogController& dialog) = 0;
};

}  // namespace q8
