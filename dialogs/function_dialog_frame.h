#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog_environment.h"
#include "ui/dialog_canvas.h"
#include "ui/dialog_controls.h"
#include "ui/dialog_host.h"

namespace q8 {

// A dialog's drop-down choice list.
struct ChoiceListLayout {
  ControlId id = 0;
  // The value box and the 15-pixel arrow strip at its right: a click here opens or closes the list.
  Rect dropRegion;
  Rect rect;
  bool verticalScrollBar = false;
  // Whether the mouse wheel scrolls the open list.
  bool wheelScrolls = false;
};

// What sets one dialog's frame apart from the others'.
struct FrameLayout {
  int templateId = 0;
  DialogBackground background;
  ControlId valueBox = 0;
  Rect valueBoxRect;
  StaticStyle valueBoxStyle = StaticStyle::kSunkenLeft;
  // None in the single-key dialog.
  std::optional<ChoiceListLayout> list;
};

// The colours of a dialog's statics and lists: white text on dark grey.
inline constexpr Rgb kDialogControlText{255, 255, 255};
inline constexpr Rgb kDialogControlBackground{40, 40, 40};

// The OK and Cancel captions of the dialogs in `language`.
DialogCaptions DialogCaptionsFor(UiLanguage language);

// The frame every key-function dialog and the skin chooser share: a captionless window whose face
// is a background image of the active skin, with owner-drawn OK, Cancel and close buttons, a value
// box showing the current choice and (in six of them) a choice list that drops down below it.
// Each opening makes a new object, which starts from its dialog's defaults.
//
// A background image that cannot be decoded is reported and ends the run with Cancel at once:
// without it the dialog would show nothing to choose from, and OK would hand the caller defaults
// the user never saw (the skin chooser's would not even be set up).
class FunctionDialogFrame : public DialogController {
 public:
  FunctionDialogFrame(const DialogEnvironment& environment, const FrameLayout& layout,
                      std::string initialText);
  ~FunctionDialogFrame() override;
  FunctionDialogFrame(const FunctionDialogFrame&) = delete;
  FunctionDialogFrame& operator=(const FunctionDialogFrame&) = delete;

  int TemplateId() const final { return layout_.templateId; }
  void OnInitDialog(DialogHost& host) final;
  void OnEraseBackground() final;
  void OnLButtonDown(Point point) final;
  void OnMouseMove(Point point) final;
  void OnMouseHover(Point point) final;
  void OnPointerMove(Point point) final;
  void OnListNotification(ControlId list, ListEvent event) final;
  void OnMouseWheel(int delta) final;
  void OnDisplayScaleChanged() final;
  ControlColors ControlColor(ControlId control) const override;

  // False when the background image failed to load; the run then ended with Cancel.
  bool BackgroundLoaded() const { return loaded_; }
  // Whether the choice list is open (created and not yet closed).
  bool ListOpen() const { return listOpen_; }

 protected:
  const DialogEnvironment& Environment() const { return environment_; }
  UiLanguage Language() const { return environment_.state.language; }
  // The dialog's window; valid from initialisation on.
  DialogHost& Host() { return *host_; }
  const FrameLayout& Layout() const { return layout_; }

  int SelectedIndex() const { return selectedIndex_; }
  const std::string& SelectedText() const { return selectedText_; }
  void SetSelectedText(std::string text) { selectedText_ = std::move(text); }

  // Draws one line of text on the face in the dialog's font, vertically centred in `rect`.
  void DrawFaceText(Canvas& canvas, std::string_view text, Rect rect, Rgb colour,
                    TextAlign align) const;

  // --- What each dialog adds, called by the frame ----------------------------------------------
  // The background loaded; the font is set. Default: nothing.
  virtual void OnBackgroundLoaded() {}
  // Creates the dialog's controls. Default: the value box with the selected text.
  virtual void CreateControls();
  // Draws the dialog's own texts on the face, after the OK and Cancel captions.
  virtual void DrawFaceTexts(Canvas& /*canvas*/) const {}
  // The items of the choice list, in list order, read each time the list opens.
  virtual std::vector<std::string> ListItems() const { return {}; }
  // The list is about to be created.
  virtual void BeforeListOpens() {}
  // The list was closed (by a choice, a second click in the drop region or a click elsewhere).
  virtual void AfterListCloses() {}
  // A choice was taken: SelectedIndex and SelectedText hold it.
  virtual void OnChoiceTaken() {}
  // A left-button press after the frame's own tests.
  virtual void OnOtherClick(Point /*point*/) {}

 private:
  struct Session;

  void PaintFace(Canvas& canvas) const;
  void ToggleList();
  void CloseList();
  void TakeChoice();

  const DialogEnvironment& environment_;
  FrameLayout layout_;
  DialogCaptions captions_;
  // The skin folder, copied when the dialog opens.
  std::string skinFolder_;
  DialogHost* host_ = nullptr;
  std::unique_ptr<Session> session_;
  bool loaded_ = false;

  int selectedIndex_ = 0;
  std::string selectedText_;
  bool listOpen_ = false;
  bool listExists_ = false;
  // The items the open list holds, in list order.
  std::vector<std::string> items_;
};

}  // namespace q8
