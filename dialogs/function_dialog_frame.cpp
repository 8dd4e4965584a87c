#include "dialogs/function_dialog_frame.h"

#include <utility>

#include "ui/skin_images.h"

namespace q8 {
namespace {

using Buttons = DialogControls;

// Three line scrolls per wheel message: up for a positive delta, down otherwise.
constexpr int kWheelLines = 3;

Point TopLeft(const Rect& r) {
  return {r.left, r.top};
}

}  // namespace

// What the frame holds while its window exists: the window's picture, what draws into it, and
// the hover handling of the three buttons.
struct FunctionDialogFrame::Session {
  Session(DialogHost& host, const std::string& skinFolder, const Rgb& textColor,
          ImageDecoder& decoder, const DialogCaptions& captions)
      : window(host),
        painter(skinFolder, textColor, decoder, host.Text(), &host),
        buttons(window, painter, captions) {}

  SkinnedWindow window;
  SkinPainter painter;
  DialogControls buttons;
};

DialogCaptions DialogCaptionsFor(UiLanguage language) {
  switch (language) {
    case UiLanguage::CHS:
      return {"确定", "取消"};
    case UiLanguage::CHT:
      return {"確定", "取消"};
    default:
      return {"OK", "Cancel"};
  }
}

FunctionDialogFrame::FunctionDialogFrame(const DialogEnvironment& environment,
                                         const FrameLayout& layout, std::string initialText)
    : environment_(environment),
      layout_(layout),
      captions_(DialogCaptionsFor(environment.state.language)),
      selectedText_(std::move(initialText)) {}

FunctionDialogFrame::~FunctionDialogFrame() = default;

void FunctionDialogFrame::OnInitDialog(DialogHost& host) {
  host_ = &host;
  skinFolder_ = environment_.state.skinDirectory;
  session_ = std::make_unique<Session>(host, skinFolder_, environment_.state.skinTextColor,
                                       environment_.decoder, captions_);
  if (!MakeDialogCanvas(session_->window, environment_.decoder, skinFolder_, layout_.background,
                        host)) {
    host.EndDialog(DialogResult::kCancel);
    return;
  }
  loaded_ = true;
  host.SetFont(DialogFont(Language(), environment_.osVersion));
  OnBackgroundLoaded();
  CreateControls();
}

// The same face at the new scale: the background decoded again for it, the font made again, then
// everything drawn. The controls, the open list and every choice stay as they are. A background
// that can no longer be read ends the run as it would at the opening.
void FunctionDialogFrame::OnDisplayScaleChanged() {
  loaded_ = loaded_ && MakeDialogFaceAgain(session_->window, environment_.decoder, skinFolder_,
                                           layout_.background, *host_,
                                           DialogFont(Language(), environment_.osVersion));
  OnEraseBackground();
}

void FunctionDialogFrame::CreateControls() {
  host_->CreateStatic(layout_.valueBox, layout_.valueBoxRect, selectedText_, layout_.valueBoxStyle);
}

// --- Painting
// --------------------------------------------------------------------------------------

void FunctionDialogFrame::OnEraseBackground() {
  if (!loaded_) {
    return;
  }
  session_->window.Draw([&](Canvas* canvas) {
    if (canvas != nullptr) {
      PaintFace(*canvas);
    }
  });
}

// The buttons in their normal look and every text, over whatever the canvas shows.
void FunctionDialogFrame::PaintFace(Canvas& canvas) const {
  const SkinPainter& painter = session_->painter;
  painter.DrawImage(&canvas, skin_image::kButtonNormal, TopLeft(Buttons::kOkButton.region));
  painter.DrawImage(&canvas, skin_image::kButtonNormal, TopLeft(Buttons::kCancelButton.region));
  painter.DrawCaption(&canvas, captions_.ok, Buttons::kOkButton.region, TextAlign::kCentre);
  painter.DrawCaption(&canvas, captions_.cancel, Buttons::kCancelButton.region, TextAlign::kCentre);
  DrawFaceTexts(canvas);
  painter.DrawImage(&canvas, skin_image::kCloseNormal, TopLeft(Buttons::kCloseButton.region));
}

void FunctionDialogFrame::DrawFaceText(Canvas& canvas, std::string_view text, Rect rect, Rgb colour,
                                       TextAlign align) const {
  host_->Text().PaintText(canvas, text, rect, FontRole::kNormal, colour, align);
}

// --- Mouse
// -----------------------------------------------------------------------------------------

void FunctionDialogFrame::OnLButtonDown(Point point) {
  if (!loaded_) {
    return;
  }
  const std::optional<ChoiceListLayout>& list = layout_.list;
  if (listExists_ && !list->rect.Contains(point) && !list->dropRegion.Contains(point)) {
    CloseList();
  }
  // OK and Cancel share one column; OK, tested first, wins there, as it does for hover.
  if (Buttons::kOkButton.region.Contains(point)) {
    host_->EndDialog(DialogResult::kOk);
  } else if (Buttons::kCancelButton.region.Contains(point) ||
             Buttons::kCloseButton.region.Contains(point)) {
    host_->EndDialog(DialogResult::kCancel);
  } else if (list && list->dropRegion.Contains(point)) {
    ToggleList();
  } else {
    OnOtherClick(point);
  }
}

void FunctionDialogFrame::OnMouseMove(Point point) {
  if (loaded_) {
    session_->buttons.OnMouseMove(point);
  }
}

void FunctionDialogFrame::OnMouseHover(Point point) {
  if (loaded_) {
    session_->buttons.OnMouseHover(point);
  }
}

// The highlighted item follows the pointer over the open list, so a click takes what it shows.
void FunctionDialogFrame::OnPointerMove(Point point) {
  if (!listExists_) {
    return;
  }
  const ControlId id = layout_.list->id;
  if (const auto item = host_->ListItemAt(id, point)) {
    host_->SetListSelection(id, *item);
  }
}

void FunctionDialogFrame::OnMouseWheel(int delta) {
  if (!listExists_ || !layout_.list->wheelScrolls) {
    return;
  }
  for (int i = 0; i < kWheelLines; ++i) {
    host_->ScrollList(layout_.list->id, delta > 0 ? -1 : 1);
  }
}

// --- The choice list
// -------------------------------------------------------------------------------

void FunctionDialogFrame::ToggleList() {
  if (listOpen_) {
    CloseList();
    return;
  }
  // A list left open by a notification without a selection is shown again as it is.
  if (!listExists_) {
    BeforeListOpens();
    const ChoiceListLayout& list = *layout_.list;
    host_->CreateList(list.id, list.rect, list.verticalScrollBar);
    items_ = ListItems();
    for (const std::string& item : items_) {
      host_->AddListItem(list.id, item);
    }
    listExists_ = true;
  }
  listOpen_ = true;
}

void FunctionDialogFrame::CloseList() {
  if (listExists_) {
    host_->DestroyControl(layout_.list->id);
    listExists_ = false;
  }
  listOpen_ = false;
  AfterListCloses();
}

void FunctionDialogFrame::OnListNotification(ControlId list, ListEvent /*event*/) {
  if (layout_.list && list == layout_.list->id) {
    TakeChoice();
  }
}

void FunctionDialogFrame::TakeChoice() {
  listOpen_ = false;
  if (!listExists_) {
    return;
  }
  const auto selection = host_->ListSelection(layout_.list->id);
  if (!selection || *selection < 0 || *selection >= static_cast<int>(items_.size())) {
    return;  // nothing highlighted: the list stays as it is
  }
  selectedIndex_ = *selection;
  selectedText_ = items_[static_cast<std::size_t>(*selection)];
  host_->SetControlText(layout_.valueBox, selectedText_);
  host_->RedrawControl(layout_.valueBox);
  CloseList();
  OnChoiceTaken();
}

// --- Colours
// ---------------------------------------------------------------------------------------

ControlColors FunctionDialogFrame::ControlColor(ControlId control) const {
  if (control == layout_.valueBox || (layout_.list && control == layout_.list->id)) {
    return {kDialogControlText, std::nullopt, kDialogControlBackground};
  }
  return {};
}

}  // namespace q8
