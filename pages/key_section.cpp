#include "pages/key_section.h"

#include <algorithm>
#include <array>

#include "model/button_caption.h"
#include "model/dpi_levels.h"
#include "model/key_names.h"
#include "model/key_tables.h"
#include "pages/main_page_layout.h"

namespace q8 {
namespace {

using namespace page_layout;
using Controls = MainWindowControls;

// The entries of every key list, in function-code order: entry i chooses function i.
constexpr const auto& kKeyListEntries = kKeyFunctionNames;

// The DPI switch sub-list: entry i sets DpiSwitchCode 3 + i.
constexpr std::array<std::uint8_t, 3> kDpiSubListCodes{kDpiPlus, kDpiMinus, kDpiLoop};

constexpr std::string_view kWarningCaption = "Warning";
constexpr std::string_view kModeACaption = "Mode A";
constexpr std::string_view kModeBCaption = "Mode B";

constexpr int kEntryDpiSwitch = static_cast<int>(KeyFunctionCode::DpiSwitch);

KeyConfigId Other(KeyConfigId config) {
  return config == KeyConfigId::A ? KeyConfigId::B : KeyConfigId::A;
}

std::size_t Index(int value) {
  return static_cast<std::size_t>(value);
}

std::size_t KeyRowControl(int row) {
  return Controls::kKeyRow1 + static_cast<std::size_t>(row - 1);
}

bool NeedsDialog(KeyFunctionCode function) {
  return function >= KeyFunctionCode::Windows && function <= KeyFunctionCode::SnipeKey;
}

std::uint8_t Byte(int value) {
  return static_cast<std::uint8_t>(value);
}

}  // namespace

// --- Captions and drawing
// -------------------------------------------------------------------------

KeyConfigId KeySection::ActiveConfig() const {
  return page_.state.settings.deviceConfig[field::ActiveKeyConfig] == 1 ? KeyConfigId::B
                                                                        : KeyConfigId::A;
}

std::string& KeySection::Caption(KeyConfigId config, int button) {
  return page_.state.captions[kButtonCount * static_cast<std::size_t>(config) + Index(button - 1)];
}

std::uint8_t& KeySection::Function(KeyConfigId config, int button) {
  return page_.state.settings.deviceConfig.Button(field::KeyFunction, config, Index(button));
}

void KeySection::ShowActiveCaptions() {
  const KeyConfigId config = ActiveConfig();
  for (int row = 1; row <= kKeyRows; ++row) {
    page_.captions.keyRows[Index(row - 1)] = Caption(config, row);
  }
}

void KeySection::DrawKeyRow(Canvas* target, int row) const {
  const std::size_t control = KeyRowControl(row);
  page_.controls.DrawControl(target, control,
                             page_.controls.IsOver(control) ? Look::kOver : Look::kNormal);
}

void KeySection::DrawModeButtons(Canvas* target) const {
  const bool modeA = ActiveConfig() == KeyConfigId::A;
  SkinButton{kModeAButton}.Draw(page_.painter, target, modeA ? Look::kOver : Look::kNormal,
                                kModeACaption);
  SkinButton{kModeBButton}.Draw(page_.painter, target, modeA ? Look::kNormal : Look::kOver,
                                kModeBCaption);
}

void KeySection::Draw(Canvas* target) const {
  const std::size_t restore = Controls::kRestoreKeys;
  page_.controls.DrawControl(target, restore,
                             page_.controls.IsOver(restore) ? Look::kOver : Look::kNormal);
  for (int row = 1; row <= kKeyRows; ++row) {
    DrawKeyRow(target, row);
  }
  DrawModeButtons(target);
}

void KeySection::RedrawKeyRow(int row) {
  ShowActiveCaptions();
  page_.window.Draw([&](Canvas* target) { DrawKeyRow(target, row); });
}

// --- Opening and closing the lists
// -----------------------------------------------------------------

void KeySection::ToggleKeyList(int row) {
  if (openRow_ == row) {
    CloseKeyList();  // the sub-list stays: its choice then changes nothing
    return;
  }
  if (openRow_) {
    CloseKeyList();
    CloseDpiSubList();
  }

  // A configuration keeps at least one button on Left Click: its last one cannot be reassigned.
  const KeyConfigId config = ActiveConfig();
  const auto leftClick = static_cast<std::uint8_t>(KeyFunctionCode::LeftClick);
  int leftClicks = 0;
  for (int button = 1; button <= static_cast<int>(kButtonCount); ++button) {
    leftClicks += Function(config, button) == leftClick ? 1 : 0;
  }
  if (Function(config, row) == leftClick && leftClicks == 1) {
    page_.messages.ShowMessage(page_.texts.Text(UiTextKey::MsgLeftKeyRequired), kWarningCaption);
    return;
  }

  ControlHost& host = page_.nativeControls;
  const ControlId list = KeyListId(row);
  host.CreateList(list, KeyListRect(row), /*verticalScrollBar=*/false);
  for (const UiTextKey entry : kKeyListEntries) {
    host.AddListItem(list, page_.texts.Text(entry));
  }
  openRow_ = row;
}

void KeySection::OnPointerMove(Point point) {
  if (!openRow_) {
    return;
  }
  const auto entry = page_.nativeControls.ListItemAt(KeyListId(*openRow_), point);
  if (!entry) {
    return;
  }
  if (*entry == kEntryDpiSwitch) {
    if (!subList_) {
      OpenDpiSubList(*openRow_);
    }
  } else if (subList_) {
    CloseDpiSubList();
  }
}

void KeySection::OpenDpiSubList(int row) {
  ControlHost& host = page_.nativeControls;
  const Rect list = KeyListRect(row);
  const Rect entry = host.ListItemRect(KeyListId(row), kEntryDpiSwitch);
  const int left = list.left + entry.right;
  const int top = list.top + entry.top;
  subList_ = Rect{left, top, left + kDpiSubListSize, top + kDpiSubListSize};
  host.CreateList(kDpiSubListId, *subList_, /*verticalScrollBar=*/false);
  for (const std::uint8_t code : kDpiSubListCodes) {
    host.AddListItem(kDpiSubListId, DpiSwitchName(code));
  }
}

void KeySection::CloseListsOutside(Point point) {
  if (openRow_) {
    if (!KeyListRect(*openRow_).Contains(point) &&
        !Controls::KeyRow(*openRow_).region.Contains(point)) {
      CloseKeyList();
      CloseDpiSubList();
    }
  } else if (subList_ && !subList_->Contains(point)) {
    CloseDpiSubList();
  }
}

void KeySection::CloseKeyList() {
  if (openRow_) {
    page_.nativeControls.DestroyControl(KeyListId(*openRow_));
    openRow_.reset();
  }
}

void KeySection::CloseDpiSubList() {
  if (subList_) {
    page_.nativeControls.DestroyControl(kDpiSubListId);
    subList_.reset();
  }
}

void KeySection::CloseLists() {
  CloseKeyList();
  CloseDpiSubList();
}

// --- Choices
// ---------------------------------------------------------------------------------------

void KeySection::CommitKeyChoice(int row) {
  const auto selected = page_.nativeControls.ListSelection(KeyListId(row));
  // "DPI Switch" itself chooses nothing: its sub-list does.
  if (!selected || *selected < 0 || *selected >= static_cast<int>(kKeyFunctionCount) ||
      *selected == kEntryDpiSwitch) {
    return;
  }
  const auto function = static_cast<KeyFunctionCode>(*selected);
  if (function == KeyFunctionCode::Shift) {
    CommitShift(row);
    return;
  }

  const KeyConfigId config = ActiveConfig();
  const std::optional<std::string> caption =
      NeedsDialog(function)
          ? RunParameterDialog(function, config, row)
          : std::string(page_.texts.Text(kKeyListEntries[static_cast<std::size_t>(*selected)]));
  // A cancelled dialog keeps the parameter and the caption, but the function is chosen all the
  // same.
  if (caption) {
    Caption(config, row) = *caption;
  }
  StoreFunction(config, row, function);
  CloseKeyList();
  RedrawKeyRow(row);
}

// Shift lives in both configurations at once, on one button at most.
void KeySection::CommitShift(int row) {
  const KeyConfigId config = ActiveConfig();
  const auto shift = static_cast<std::uint8_t>(KeyFunctionCode::Shift);
  bool taken = false;
  for (int button = 1; button <= static_cast<int>(kButtonCount); ++button) {
    taken = taken || Function(config, button) == shift;
  }
  CloseKeyList();
  if (taken) {
    return;
  }
  for (const KeyConfigId each : {KeyConfigId::A, KeyConfigId::B}) {
    Function(each, row) = shift;
    Caption(each, row) = page_.texts.Text(UiTextKey::FnShift);
  }
  RedrawKeyRow(row);
}

// Leaving Shift frees the button in both configurations: the other one takes the same function and
// caption.
void KeySection::StoreFunction(KeyConfigId config, int button, KeyFunctionCode function) {
  const auto code = static_cast<std::uint8_t>(function);
  if (Function(config, button) == static_cast<std::uint8_t>(KeyFunctionCode::Shift)) {
    Function(Other(config), button) = code;
    Caption(Other(config), button) = Caption(config, button);
  }
  Function(config, button) = code;
}

std::optional<std::string> KeySection::RunParameterDialog(KeyFunctionCode function,
                                                          KeyConfigId config, int button) {
  DeviceConfig& record = page_.state.settings.deviceConfig;
  const std::size_t b = Index(button);
  const auto joined = [&](UiTextKey name, std::string_view parameter) {
    return std::string(page_.texts.Text(name)) + "-" + std::string(parameter);
  };
  switch (function) {
    case KeyFunctionCode::Windows:
      if (auto choice = page_.dialogs.RunLaunchDialog()) {
        record.Button(field::LaunchKeyIndex, config, b) = Byte(choice->index);
        return choice->text;
      }
      return std::nullopt;
    case KeyFunctionCode::Multimedia:
      if (auto choice = page_.dialogs.RunMediaDialog()) {
        record.Button(field::MediaKeyIndex, config, b) = Byte(choice->index);
        return joined(UiTextKey::FnMultimedia, choice->text);
      }
      return std::nullopt;
    case KeyFunctionCode::HotKey:
      if (auto choice = page_.dialogs.RunHotKeyDialog()) {
        record.Button(field::HotKeyIndex, config, b) = Byte(choice->index);
        return choice->text;
      }
      return std::nullopt;
    case KeyFunctionCode::FireKey:
      return RunFireKeyDialog(config, button);
    case KeyFunctionCode::SingleKey:
      if (auto keyName = page_.dialogs.RunSingleKeyDialog()) {
        record.Button(field::SingleKeyUsage, config, b) = KeyNameToUsage(*keyName);
        return joined(UiTextKey::FnSingleKey, *keyName);
      }
      return std::nullopt;
    case KeyFunctionCode::SnipeKey:
      return RunSnipeDialog(config, button);
    default:
      return std::nullopt;
  }
}

std::optional<std::string> KeySection::RunFireKeyDialog(KeyConfigId config, int button) {
  const auto choice = page_.dialogs.RunFireKeyDialog();
  if (!choice) {
    return std::nullopt;
  }
  DeviceConfig& record = page_.state.settings.deviceConfig;
  const std::size_t b = Index(button);
  record.Button(field::FireKeyIndex, config, b) = Byte(choice->keyIndex);
  record.Button(field::FireKeyUsage, config, b) =
      FireKeyIndexToUsage(static_cast<std::size_t>(std::max(choice->keyIndex, 0)));
  record.Button(field::FireTimes, config, b) = choice->times;
  // The press and release times are one pair for every fire key of the mouse.
  record[field::FireMakeTime] = choice->makeTime;
  record[field::FireBreakTime] = choice->breakTime;
  return std::string(page_.texts.Text(UiTextKey::FnFireKey)) + "-" + choice->keyName;
}

std::optional<std::string> KeySection::RunSnipeDialog(KeyConfigId config, int button) {
  const auto choice = page_.dialogs.RunSnipeDialog();
  if (!choice) {
    return std::nullopt;
  }
  DeviceConfig& record = page_.state.settings.deviceConfig;
  record.Button(field::SnipeDpiIndex, config, Index(button)) = Byte(choice->index);
  // One snipe DPI for the whole mouse, as a level code without the stage-off bit; a sensor the
  // tool does not know gives 0.
  const auto level = static_cast<std::size_t>(std::max(choice->index, 0));
  record[field::SnipeDpiCode] =
      DpiLevelCode(page_.state.sensorVariant, level) & static_cast<std::uint8_t>(~kDpiStageOffBit);
  return std::string(page_.texts.Text(UiTextKey::FnSnipeKey)) + "-" + choice->text;
}

void KeySection::CommitDpiSwitchChoice() {
  const auto selected = page_.nativeControls.ListSelection(kDpiSubListId);
  // Without an open key list (its box was clicked again) the choice has no button.
  if (!selected || !openRow_) {
    return;
  }
  const int row = *openRow_;
  const bool known = *selected >= 0 && *selected < static_cast<int>(kDpiSubListCodes.size());
  const std::uint8_t code = known ? kDpiSubListCodes[static_cast<std::size_t>(*selected)] : 0;

  const KeyConfigId config = ActiveConfig();
  Function(config, row) = static_cast<std::uint8_t>(KeyFunctionCode::DpiSwitch);
  page_.state.settings.deviceConfig.Button(field::DpiSwitchCode, config, Index(row)) = code;
  Caption(config, row) = DpiSwitchName(code);
  CloseDpiSubList();
  CloseKeyList();
  RedrawKeyRow(row);
}

void KeySection::SelectKeyConfig(KeyConfigId config) {
  page_.state.settings.deviceConfig[field::ActiveKeyConfig] = static_cast<std::uint8_t>(config);
  ShowActiveCaptions();
  page_.window.Draw([&](Canvas* target) {
    for (int row = 1; row <= kKeyRows; ++row) {
      DrawKeyRow(target, row);
    }
    DrawModeButtons(target);
  });
}

void KeySection::RestoreDefaultKeys() {
  ApplyDefaultKeyLayout(page_.state.settings.deviceConfig);
  page_.state.captions = DefaultButtonCaptions(page_.state.language);
  ShowActiveCaptions();
  page_.window.Draw([&](Canvas* target) {
    for (int row = 1; row <= kKeyRows; ++row) {
      DrawKeyRow(target, row);
    }
  });
}

}  // namespace q8
