#include "model/button_caption.h"

#include <algorithm>

#include "model/choice_lists.h"
#include "model/dpi_levels.h"
#include "model/key_model.h"
#include "model/key_names.h"
#include "model/key_tables.h"

namespace q8 {
namespace {

template <std::size_t N>
std::string_view NameIn(const std::array<LocalizedName, N>& list, std::size_t index,
                        UiLanguage language) {
  if (index >= list.size()) {
    return {};
  }
  switch (language) {
    case UiLanguage::CHS:
      return list[index].chs;
    case UiLanguage::CHT:
      return list[index].cht;
    case UiLanguage::EN:
      break;
  }
  return list[index].en;
}

std::string Joined(UiTextKey function, UiLanguage language, std::string_view parameter) {
  return std::string(TextFor(function, language)) + "-" + std::string(parameter);
}

std::string_view FireKeyName(std::size_t index) {
  return index < FireKeyList.size() ? FireKeyList[index].name : std::string_view();
}

}  // namespace

ButtonCaptions DefaultButtonCaptions(UiLanguage language) {
  const std::array<std::string_view, 8> layout{TextFor(UiTextKey::FnLeftClick, language),
                                               TextFor(UiTextKey::FnRightClick, language),
                                               TextFor(UiTextKey::FnMidClick, language),
                                               "DPI +",
                                               "DPI -",
                                               TextFor(UiTextKey::FnForward, language),
                                               TextFor(UiTextKey::FnBackward, language),
                                               TextFor(UiTextKey::FnKeyOff, language)};
  ButtonCaptions captions;
  for (std::size_t i = 0; i < kButtonCaptionCount; ++i) {
    captions[i] = layout[i % layout.size()];
  }
  return captions;
}

std::string_view DpiSwitchName(std::uint8_t dpiSwitchCode) {
  switch (dpiSwitchCode) {
    case kDpiPlus:
      return "DPI +";
    case kDpiMinus:
      return "DPI -";
    case kDpiLoop:
      return "DPI Loop";
    default:
      return {};
  }
}

std::string_view KeyNameOfUsage(std::uint8_t usage) {
  const auto* entry = std::find_if(KeyNameTable.begin(), KeyNameTable.end(),
                                   [usage](const KeyName& key) { return key.usage == usage; });
  return entry != KeyNameTable.end() ? entry->name : std::string_view();
}

std::string ButtonCaptionFor(const DeviceConfig& config, KeyConfigId keyConfig, std::size_t button,
                             std::uint8_t sensorVariant, UiLanguage language) {
  const auto param = [&](ButtonField f) { return config.Button(f, keyConfig, button); };
  switch (static_cast<KeyFunctionCode>(param(field::KeyFunction))) {
    case KeyFunctionCode::LeftClick:
      return std::string(TextFor(UiTextKey::FnLeftClick, language));
    case KeyFunctionCode::RightClick:
      return std::string(TextFor(UiTextKey::FnRightClick, language));
    case KeyFunctionCode::MidClick:
      return std::string(TextFor(UiTextKey::FnMidClick, language));
    case KeyFunctionCode::Forward:
      return std::string(TextFor(UiTextKey::FnForward, language));
    case KeyFunctionCode::Backward:
      return std::string(TextFor(UiTextKey::FnBackward, language));
    case KeyFunctionCode::DpiSwitch:
      return std::string(DpiSwitchName(param(field::DpiSwitchCode)));
    case KeyFunctionCode::Windows:
      return std::string(NameIn(LaunchFunctionList, param(field::LaunchKeyIndex), language));
    case KeyFunctionCode::Multimedia:
      return Joined(UiTextKey::FnMultimedia, language,
                    NameIn(MediaFunctionList, param(field::MediaKeyIndex), language));
    case KeyFunctionCode::HotKey:
      return std::string(NameIn(ShortcutPresetList, param(field::HotKeyIndex), language));
    case KeyFunctionCode::FireKey:
      return Joined(UiTextKey::FnFireKey, language, FireKeyName(param(field::FireKeyIndex)));
    case KeyFunctionCode::SingleKey:
      return Joined(UiTextKey::FnSingleKey, language, KeyNameOfUsage(param(field::SingleKeyUsage)));
    case KeyFunctionCode::SnipeKey:
      return Joined(UiTextKey::FnSnipeKey, language,
                    DpiLevelLabel(sensorVariant, param(field::SnipeDpiIndex)));
    case KeyFunctionCode::KeyOff:
      return std::string(TextFor(UiTextKey::FnKeyOff, language));
    case KeyFunctionCode::Shift:
      return std::string(TextFor(UiTextKey::FnShift, language));
  }
  return {};  // a function code the tool does not know (only from a foreign config.bin)
}

}  // namespace q8
