// The INI component against the system's own private-profile functions: the same files must read
// the same through both, whichever side wrote them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/button_caption.h"
#include "model/ui_text.h"
#include "settings/ini_file.h"
#include "settings/str_ini.h"
#include "support/temp_dir.h"

namespace q8 {
namespace {

using test::TempDir;
using test::WriteBytes;

std::wstring Wide(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  return {units.begin(), units.end()};
}

std::string Narrow(std::wstring_view wide) {
  return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

// GetPrivateProfileStringW with room for the longest value our reads return.
std::string WindowsRead(const std::filesystem::path& path, std::string_view section,
                        std::string_view key, std::string_view defaultValue = {}) {
  std::vector<wchar_t> buffer(kMaxIniValueLength + 1);
  const DWORD length = ::GetPrivateProfileStringW(
      Wide(section).c_str(), Wide(key).c_str(), Wide(defaultValue).c_str(), buffer.data(),
      static_cast<DWORD>(buffer.size()), path.wstring().c_str());
  return Narrow({buffer.data(), length});
}

bool WindowsWrite(const std::filesystem::path& path, std::string_view section, std::string_view key,
                  std::string_view value) {
  return ::WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                      path.wstring().c_str()) != 0;
}

struct Query {
  std::string_view section;
  std::string_view key;
};

std::vector<std::uint8_t> Ascii(std::string_view text) {
  return {text.begin(), text.end()};
}

constexpr std::string_view kChinese = "基本设置";

constexpr std::string_view kHandEdited =
    "; str.ini of the Tarnix Q8\r\n"
    "  [ Skins ]  ; where the skin is\r\n"
    "  Lan  =  CHS  \r\n"
    "path = Dark\r\n"
    "Double=\"quoted\"\r\n"
    "Single='quoted'\r\n"
    "Odd=\"quoted'\r\n"
    "Tabs=\t v \t\r\n"
    "Lan=second\r\n"
    "no equals sign\r\n"
    "\r\n"
    "[Dup]\r\nA=1\r\n"
    "[dup]\r\nA=2\r\nB=3\r\n"
    "[x]y]\r\nD=5\r\n"
    "\r\n"
    "[Setting-EN]\r\nItem1=Left Click\r\nItem13=\r\n";

const std::vector<Query> kHandEditedQueries{
    {"Skins", "Lan"},
    {"SKINS", "lan"},
    {" skins ", " LAN "},
    {"Skins", "Path"},
    {"Skins", "Double"},
    {"Skins", "Single"},
    {"Skins", "Odd"},
    {"Skins", "Tabs"},
    {"Skins", "no equals sign"},
    {"Skins", "Missing"},
    {"Dup", "A"},
    {"dup", "B"},
    {"x]y", "D"},
    {"Setting-EN", "Item1"},
    {"setting-en", "ITEM13"},
    {"Setting-CHS", "Item1"},
    {"Missing", "Lan"},
};

void ExpectSameReads(const std::filesystem::path& path, const std::vector<Query>& queries) {
  for (const Query& query : queries) {
    EXPECT_EQ(ReadIniString(path, query.section, query.key, "default"),
              WindowsRead(path, query.section, query.key, "default"))
        << path.filename() << " [" << query.section << "] " << query.key;
  }
}

TEST(IniConformanceTest, BothReadTheSameFilesTheSameWay) {
  TempDir dir;
  const std::string chinese = "[S]\r\nK=" + std::string(kChinese) + "\r\nk2 = ' x ' \r\n";
  const std::string longValue = "[S]\r\nK=" + std::string(1500, 'v') + "\r\n";
  struct File {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::vector<Query> queries;
  };
  const std::vector<Query> sQueries{{"S", "K"}, {"s", "k2"}, {"S", "none"}};
  const std::vector<File> files{
      {"ascii.ini", Ascii(kHandEdited), kHandEditedQueries},
      {"utf16.ini", EncodeText(kHandEdited, TextEncoding::Utf16LeBom), kHandEditedQueries},
      {"utf8bom.ini", EncodeText(kHandEdited, TextEncoding::Utf8Bom), kHandEditedQueries},
      {"lf.ini", Ascii("[S]\nK=v\n[T]\nK=w\n"), {{"S", "K"}, {"T", "K"}}},
      {"chinese16.ini", EncodeText(chinese, TextEncoding::Utf16LeBom), sQueries},
      {"chinese8.ini", EncodeText(chinese, TextEncoding::Utf8Bom), sQueries},
      {"long.ini", Ascii(longValue), sQueries},
      // Saved by an editor in the ANSI code page: no mark and not UTF-8 (0x80 is the euro sign
      // in the Western code page).
      {"ansi.ini", Ascii("[S]\r\nK=\x80 caf\xE9\r\nk2=\xA4\x9C\r\n"), sQueries},
  };
  for (const File& file : files) {
    WriteBytes(dir / file.name, file.bytes);
    ExpectSameReads(dir / file.name, file.queries);
  }
  EXPECT_EQ(WindowsRead(dir / "chinese16.ini", "S", "K"), kChinese);  // not both wrong alike
  EXPECT_EQ(WindowsRead(dir / "long.ini", "S", "K"), std::string(1024, 'v'));
}

struct Write {
  std::string_view section;
  std::string_view key;
  std::string_view value;
};

// Applies the same writes through both sides to two copies of a file, then reads every written
// key and every query from both copies through both sides.
void ExpectSameAfterWrites(const TempDir& dir, const std::string& name,
                           const std::vector<std::uint8_t>* start, const std::vector<Write>& writes,
                           const std::vector<Query>& queries) {
  const auto ours = dir / ("ours-" + name);
  const auto windows = dir / ("windows-" + name);
  if (start) {
    WriteBytes(ours, *start);
    WriteBytes(windows, *start);
  }
  for (const Write& write : writes) {
    ASSERT_FALSE(WriteIniString(ours, write.section, write.key, write.value));
    ASSERT_TRUE(WindowsWrite(windows, write.section, write.key, write.value));
  }
  for (const Write& write : writes) {
    // The last write of a key wins; read what the file should hold now.
    std::string expected;
    for (const Write& later : writes) {
      if (later.section == write.section && later.key == write.key) {
        expected = later.value;
      }
    }
    for (const auto& path : {ours, windows}) {
      EXPECT_EQ(ReadIniString(path, write.section, write.key), expected) << path.filename();
      EXPECT_EQ(WindowsRead(path, write.section, write.key), expected) << path.filename();
    }
  }
  for (const Query& query : queries) {
    const std::string reference = WindowsRead(windows, query.section, query.key, "default");
    EXPECT_EQ(ReadIniString(windows, query.section, query.key, "default"), reference);
    EXPECT_EQ(ReadIniString(ours, query.section, query.key, "default"), reference);
    EXPECT_EQ(WindowsRead(ours, query.section, query.key, "default"), reference);
  }
}

TEST(IniConformanceTest, EachSideReadsWhatTheOtherWrote) {
  TempDir dir;
  const std::vector<Write> asciiWrites{
      {"Skins", "Path", "Light"},    {"SKINS", "lan", "CHT"},      {"Setting-EN", "Item2", "x"},
      {"Setting-CHT", "Item1", "y"}, {"dup", "B", "replaced"},     {"Skins", "Path", "Dark Blue"},
      {"Brand New", "Key", "value"}, {"Setting-EN", "Item13", ""},
  };
  ExpectSameAfterWrites(dir, "missing.ini", nullptr, asciiWrites, {});
  const auto ascii = Ascii(kHandEdited);
  ExpectSameAfterWrites(dir, "ascii.ini", &ascii, asciiWrites, kHandEditedQueries);

  std::vector<Write> chineseWrites = asciiWrites;
  chineseWrites.push_back({"Setting-CHS", "Item1", kChinese});
  chineseWrites.push_back({"Skins", "Path", "深色"});
  for (const auto encoding : {TextEncoding::Utf16LeBom, TextEncoding::Utf8Bom}) {
    const auto start = EncodeText(kHandEdited, encoding);
    ExpectSameAfterWrites(dir, encoding == TextEncoding::Utf8Bom ? "u8.ini" : "u16.ini", &start,
                          chineseWrites, kHandEditedQueries);
  }
}

TEST(IniConformanceTest, OurWritesReadBackExactlyThroughWindows) {
  TempDir dir;
  const auto path = dir / "str.ini";
  const std::string longValue(1500, 'w');
  for (const std::string_view value : {kChinese, std::string_view("  padded  "),
                                       std::string_view("\"quoted\""), std::string_view("'")}) {
    ASSERT_FALSE(WriteIniString(path, "Setting-CHS", "Item1", value));
    EXPECT_EQ(WindowsRead(path, "Setting-CHS", "Item1"), value);
  }
  ASSERT_FALSE(WriteIniString(path, "Setting-CHS", "Item2", longValue));
  EXPECT_EQ(WindowsRead(path, "Setting-CHS", "Item2"), longValue.substr(0, kMaxIniValueLength));
  EXPECT_EQ(ReadIniString(path, "Setting-CHS", "Item2"), longValue.substr(0, kMaxIniValueLength));
}

TEST(IniConformanceTest, StrIniReadsTheSameThroughWindows) {
  TempDir dir;
  const auto path = dir / "str.ini";
  const std::string section(TextFor(UiTextKey::StrIniSection, UiLanguage::CHS));
  const ButtonCaptions captions = DefaultButtonCaptions(UiLanguage::CHS);
  ASSERT_FALSE(WriteButtonCaptions(path, section, captions));
  ASSERT_FALSE(WriteSkin(path, {44, 0, 255}, "深色"));
  for (std::size_t i = 0; i < kButtonCaptionCount; ++i) {
    EXPECT_EQ(WindowsRead(path, section, kButtonCaptionKeys[i]), captions[i]) << i;
  }
  EXPECT_EQ(WindowsRead(path, "Skins", "RColor"), "44");
  EXPECT_EQ(WindowsRead(path, "Skins", "Path"), "深色");

  // The user picks Chinese and a program using the Windows functions edits the captions.
  ASSERT_TRUE(WindowsWrite(path, "Skins", "Lan", "CHS"));
  ASSERT_TRUE(WindowsWrite(path, section, "Item83", "火力键"));
  ASSERT_TRUE(WindowsWrite(path, section, "Item1", "左键 1"));
  EXPECT_EQ(SelectLanguage(ReadLanguageCode(path)), UiLanguage::CHS);
  const StrIniSettings settings = ReadStrIniSettings(path, section);
  EXPECT_EQ(settings.captions[15], "火力键");
  EXPECT_EQ(settings.captions[0], "左键 1");
  EXPECT_EQ(settings.captions[1], captions[1]);
  EXPECT_EQ(SkinColorBytes(settings), (ColorBytes{44, 0, 255}));
  EXPECT_EQ(settings.skinName, "深色");
}

}  // namespace
}  // namespace q8
