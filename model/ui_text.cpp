#include "model/ui_text.h"

#include "model/ui_text_table.h"

namespace q8 {

UiLanguage SelectLanguage(std::string_view languageCode) {
  if (languageCode == "CHS") {
    return UiLanguage::CHS;
  }
  if (languageCode == "CHT") {
    return UiLanguage::CHT;
  }
  return UiLanguage::EN;
}

std::string_view TextFor(UiTextKey key, UiLanguage language) {
  return TextIn(kUiTextEntries[static_cast<std::size_t>(key)], language);
}

void UiTextTable::FillTextTable(UiLanguage language) {
  for (const UiTextEntry& entry : kUiTextEntries) {
    texts_[static_cast<std::size_t>(entry.key)] = TextIn(entry, language);
  }
}

}  // namespace q8
