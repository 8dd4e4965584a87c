#include "dialogs/fire_key_dialog.h"

#include <cctype>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/key_tables.h"

namespace q8 {
namespace {

constexpr FrameLayout kFireKeyLayout{
    .templateId = 704,
    .background = dialog_background::kFireKey,
    .valueBox = 572,
    .valueBoxRect = {82, 69, 150, 85},
    .valueBoxStyle = StaticStyle::kSunkenCentre,
    .list = ChoiceListLayout{.id = 573,
                             .dropRegion = {82, 69, 165, 85},
                             .rect = {82, 87, 165, 257},
                             .verticalScrollBar = true,
                             .wheelScrolls = true},
};

constexpr std::array<ControlId, 3> kEdits{CFireKeyDialog::kTimesEdit, CFireKeyDialog::kMakeTimeEdit,
                                          CFireKeyDialog::kBreakTimeEdit};
constexpr std::array<Rect, 3> kEditRects{{
    {83, 104, 164, 118},
    {83, 138, 164, 152},
    {83, 172, 164, 186},
}};

// The repeat count's range and what replaces a count outside it.
constexpr int kMaxTimes = 127;
constexpr std::string_view kTimesReplacement = "1";
// The times' range and what replaces a time outside it.
constexpr int kMinTime = 5;
constexpr int kMaxTime = 255;
constexpr std::string_view kTimeReplacement = "5";

struct FireKeyTexts {
  std::string_view times;
  std::string_view makeTime;
  std::string_view breakTime;
  std::string_view timeRange;
  std::string_view timesRange;
};

constexpr FireKeyTexts kEnglish{
    "Times", "Make Time", "Break Time", "Time (value range 5-255)",
    "Times (value range 0-127,0 indicates fire key to end when the key released)"};
constexpr FireKeyTexts kSimplified{"次数", "按下时间", "弹起时间", "时间(数值范围5-255)",
                                   "次数(数值范围0-127，0表示按键放开火力键结束)"};
constexpr FireKeyTexts kTraditional{"次數", "按下時間", "彈起時間", "時間(數值範圍5-255)",
                                    "次數(數值範圍0-127，0表示按鍵放開火力鍵結束)"};

const FireKeyTexts& TextsFor(UiLanguage language) {
  switch (language) {
    case UiLanguage::CHS:
      return kSimplified;
    case UiLanguage::CHT:
      return kTraditional;
    default:
      return kEnglish;
  }
}

// Each label is right-aligned from 90 to 5 pixels left of its edit, on the edit's rows; the notes
// start 60 pixels left of the release-time edit and run past the window's edge, where they clip.
constexpr std::array<Rect, 3> kLabelRects{{
    {-7, 104, 78, 118},
    {-7, 138, 78, 152},
    {-7, 172, 78, 186},
}};
constexpr Rect kTimeRangeRect{23, 198, 433, 224};
constexpr Rect kTimesRangeRect{23, 214, 433, 240};

// The number an edit's text starts with, read the way a C conversion reads it: leading blanks,
// an optional sign, then the digits up to the first other character; no digits read as 0.
// Nothing when the number does not fit in 32 bits, which every range check refuses.
std::optional<std::int32_t> ReadLeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) {
      return std::nullopt;
    }
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

bool InRange(std::optional<std::int32_t> value, int low, int high) {
  return value && *value >= low && *value <= high;
}

}  // namespace

CFireKeyDialog::CFireKeyDialog(const DialogEnvironment& environment)
    : FunctionDialogFrame(environment, kFireKeyLayout, std::string(FireKeyList[0].name)) {}

void CFireKeyDialog::CreateControls() {
  FunctionDialogFrame::CreateControls();
  CreateEdits();
}

void CFireKeyDialog::CreateEdits() {
  for (std::size_t i = 0; i < kEdits.size(); ++i) {
    Host().CreateEdit(kEdits[i], kEditRects[i], keptTexts_[i]);
  }
  editsExist_ = true;
}

void CFireKeyDialog::DrawFaceTexts(Canvas& canvas) const {
  const FireKeyTexts& texts = TextsFor(Language());
  const Rgb colour = Environment().state.skinTextColor;
  DrawFaceText(canvas, texts.times, kLabelRects[0], colour, TextAlign::kRight);
  DrawFaceText(canvas, texts.makeTime, kLabelRects[1], colour, TextAlign::kRight);
  DrawFaceText(canvas, texts.breakTime, kLabelRects[2], colour, TextAlign::kRight);
  DrawFaceText(canvas, texts.timeRange, kTimeRangeRect, colour, TextAlign::kLeft);
  DrawFaceText(canvas, texts.timesRange, kTimesRangeRect, colour, TextAlign::kLeft);
}

std::vector<std::string> CFireKeyDialog::ListItems() const {
  std::vector<std::string> names;
  for (const FireKey& key : FireKeyList) {
    names.emplace_back(key.name);
  }
  return names;
}

void CFireKeyDialog::BeforeListOpens() {
  // An edit that has the focus settles its value as it goes.
  for (const ControlId edit : kEdits) {
    Host().DestroyControl(edit);
  }
  editsExist_ = false;
}

void CFireKeyDialog::AfterListCloses() {
  if (!editsExist_) {
    CreateEdits();
  }
}

// --- The three numbers ---------------------------------------------------------------------------

void CFireKeyDialog::OnEditNotification(ControlId edit, EditEvent event) {
  if (!editsExist_) {
    return;
  }
  if (edit == kTimesEdit && event == EditEvent::kChange) {
    TimesChanged();
  } else if (edit == kMakeTimeEdit || edit == kBreakTimeEdit) {
    if (event == EditEvent::kChange) {
      Host().RedrawControl(kMakeTimeEdit);
      Host().RedrawControl(kBreakTimeEdit);
    } else {
      TimeLeftEdit(edit);
    }
  }
}

// The count is checked at every keystroke: an out-of-range count becomes 1 at once. An empty
// edit is a count of 0 and stays empty.
void CFireKeyDialog::TimesChanged() {
  const auto value = ReadLeadingNumber(Host().ControlText(kTimesEdit));
  if (InRange(value, 0, kMaxTimes)) {
    chosenTimes_ = static_cast<std::uint8_t>(*value);
  } else {
    Host().SetControlText(kTimesEdit, kTimesReplacement);
    chosenTimes_ = 1;
  }
  keptTexts_[EditSlot(kTimesEdit)] = Host().ControlText(kTimesEdit);
  Host().RedrawControl(kTimesEdit);
}

// A time is checked when its edit loses the focus, so the user can type "1" on the way to "100".
void CFireKeyDialog::TimeLeftEdit(ControlId edit) {
  const auto value = ReadLeadingNumber(Host().ControlText(edit));
  std::uint8_t time = kMinTime;
  if (InRange(value, kMinTime, kMaxTime)) {
    time = static_cast<std::uint8_t>(*value);
  } else {
    Host().SetControlText(edit, kTimeReplacement);
  }
  (edit == kMakeTimeEdit ? chosenMakeTime_ : chosenBreakTime_) = time;
  keptTexts_[EditSlot(edit)] = Host().ControlText(edit);
}

std::size_t CFireKeyDialog::EditSlot(ControlId edit) {
  return static_cast<std::size_t>(edit - kTimesEdit);
}

// The edits and the list are painted on an opaque ground, so that a changed number leaves
// nothing of the old one.
ControlColors CFireKeyDialog::ControlColor(ControlId control) const {
  const bool edit = control >= kTimesEdit && control <= kBreakTimeEdit;
  if (edit || control == Layout().list->id) {
    return {kDialogControlText, kDialogControlBackground, kDialogControlBackground};
  }
  return FunctionDialogFrame::ControlColor(control);
}

}  // namespace q8
