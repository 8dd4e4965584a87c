// str.ini as a user may leave it: any bytes, in any of the encodings. Parses the document, reads
// and edits it in memory the way the private-profile functions do, and goes through the file
// functions the main window uses.
#include <algorithm>
#include <array>
#include <string>

#include "fuzz/fuzz_support.h"
#include "model/button_caption.h"
#include "model/ui_text.h"
#include "settings/ini_file.h"
#include "settings/str_ini.h"
#include "settings/text_encoding.h"

namespace q8 {
namespace {

const fuzz::ScratchFolder scratch;

struct IniKey {
  std::string_view section;
  std::string_view key;
};
constexpr std::array<IniKey, 5> kKeys{{{"Skins", "Lan"},
                                       {"Skins", "Path"},
                                       {"Skins", "RColor"},
                                       {"Setting-EN", "Item1"},
                                       {"Setting-CHS", "Item83"}}};

// What a read gives back after `value` was set: one line, at most kMaxIniValueLength characters.
std::string ExpectedReadBack(std::string value) {
  std::replace(value.begin(), value.end(), '\r', ' ');
  std::replace(value.begin(), value.end(), '\n', ' ');
  return std::string(TruncateToUtf16Units(value, kMaxIniValueLength));
}

// An edit reads back exactly, and the saved form of a document reads as the same document.
void EditInMemory(std::span<const std::uint8_t> input) {
  IniDocument document = IniDocument::Parse(input);
  for (const IniKey& key : kKeys) {
    (void)document.Get(key.section, key.key, "default");
  }
  // The value comes from the input's end, made valid UTF-8 as every text the tool writes is.
  const std::size_t tail = std::min<std::size_t>(input.size(), 40);
  const std::string raw(input.end() - static_cast<std::ptrdiff_t>(tail), input.end());
  const std::string value = Utf16ToUtf8(Utf8ToUtf16(raw));
  const IniKey& key = kKeys[input.size() % kKeys.size()];
  document.Set(key.section, key.key, value);

  const std::vector<std::uint8_t> saved = document.Serialize();
  const IniDocument reread = IniDocument::Parse(saved);
  fuzz::Require(reread.Get(key.section, key.key) == ExpectedReadBack(value),
                "a value set reads back");
  fuzz::Require(reread.Serialize() == saved, "a saved document saves again unchanged");
}

// The reads and writes of the main window and the skin chooser on the file itself.
void EditOnDisk(std::span<const std::uint8_t> input) {
  const auto strIni = scratch / "str.ini";
  fuzz::WriteInput(strIni, input);
  (void)ReadLanguageCode(strIni);
  (void)ReadStrIniSettings(strIni, "Setting-EN");
  const ButtonCaptions captions = DefaultButtonCaptions(UiLanguage::EN);
  fuzz::Require(!WriteButtonCaptions(strIni, "Setting-EN", captions), "captions are saved");
  fuzz::Require(!WriteSkin(strIni, {12, 34, 56}, "Cobalt"), "the skin is saved");
  const StrIniSettings settings = ReadStrIniSettings(strIni, "Setting-EN");
  fuzz::Require(settings.captions == captions, "saved captions read back");
  fuzz::Require(settings.skinName == "Cobalt" && settings.redText == "12", "the skin reads back");
}

}  // namespace
}  // namespace q8

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = q8::fuzz::Bytes(data, size);
  q8::EditInMemory(input);
  q8::EditOnDisk(input);
  return 0;
}
