#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace q8 {
namespace {

using test::ReadBytes;
using test::TempDir;

IniDocument Document(std::string_view text, TextEncoding encoding = TextEncoding::Utf16LeBom) {
  return IniDocument::Parse(EncodeText(text, encoding));
}

std::string TextOf(const IniDocument& document) {
  return DecodeText(document.Serialize()).utf8;
}

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

constexpr std::string_view kChinese =
    "\xE5\x9F\xBA\xE6\x9C\xAC\xE8\xAE\xBE\xE7\xBD\xAE";  // 基本设置

TEST(IniDocumentTest, FindsNamesLikeTheWindowsFunctions) {
  const IniDocument ini = Document(
      "  [ Skins ]  ; where the skin is\r\n"
      "  Lan  =  CHS  \r\n"
      "Double=\"quoted\"\r\n"
      "Single='quoted'\r\n"
      "Odd=\"quoted'\r\n"
      "Tabs=\t v \t\r\n"
      "Lan=second\r\n"
      "no equals sign\r\n"
      "[Dup]\r\nA=1\r\n"
      "[dup]\r\nA=2\r\nB=3\r\n"
      "[x]y]\r\nD=5\r\n");
  EXPECT_EQ(ini.Get("Skins", "Lan"), "CHS");
  EXPECT_EQ(ini.Get("SKINS", "lAN"), "CHS");
  EXPECT_EQ(ini.Get(" skins ", " lan "), "CHS");
  EXPECT_EQ(ini.Get("Skins", "Double"), "quoted");
  EXPECT_EQ(ini.Get("Skins", "Single"), "quoted");
  EXPECT_EQ(ini.Get("Skins", "Odd"), "\"quoted'");
  EXPECT_EQ(ini.Get("Skins", "Tabs"), "v");
  EXPECT_EQ(ini.Get("Skins", "no equals sign", "default"), "default");
  // Only the first of two equal sections is searched.
  EXPECT_EQ(ini.Get("DUP", "A"), "1");
  EXPECT_EQ(ini.Get("Dup", "B", "default"), "default");
  EXPECT_EQ(ini.Get("x]y", "D"), "5");
  EXPECT_EQ(ini.Get("Skins", "Missing", "fallback"), "fallback");
  EXPECT_EQ(ini.Get("Missing", "Lan"), "");
}

TEST(IniDocumentTest, ReadsAtMost1024CharactersAndWritesWhole) {
  const std::string ascii(1500, 'x');
  std::string chinese;
  for (int i = 0; i < 1500; ++i) {
    chinese += "\xE5\x9F\xBA";
  }
  IniDocument ini = Document("[S]\r\nAscii=" + ascii + "\r\nChinese=" + chinese + "\r\n");
  EXPECT_EQ(ini.Get("S", "Ascii"), ascii.substr(0, 1024));
  EXPECT_EQ(ini.Get("S", "Chinese"), chinese.substr(0, 3 * 1024));

  ini.Set("S", "Written", ascii);
  EXPECT_NE(TextOf(ini).find("Written=" + ascii + "\r\n"), std::string::npos);
}

// A file a user edited by hand: comments, blank lines, odd spacing, no break after the last line.
constexpr std::string_view kHandEdited =
    "; str.ini of the Tarnix Q8\r\n"
    "[Skins]\r\n"
    "Lan=CHS\r\n"
    "  path = Dark  ; my favourite\r\n"
    "\r\n"
    "[Setting-EN]\r\n"
    "Item1=Left Click\r\n"
    "; Item2 is the right button\r\n"
    "\r\n"
    "\r\n"
    "[Other]\r\n"
    "keep=this";

TEST(IniDocumentTest, WriteChangesOnlyItsOwnLine) {
  IniDocument ini = Document(kHandEdited);
  ini.Set("SKINS", "PATH", "Light");
  EXPECT_EQ(TextOf(ini),
            "; str.ini of the Tarnix Q8\r\n"
            "[Skins]\r\n"
            "Lan=CHS\r\n"
            "  path =Light\r\n"
            "\r\n"
            "[Setting-EN]\r\n"
            "Item1=Left Click\r\n"
            "; Item2 is the right button\r\n"
            "\r\n"
            "\r\n"
            "[Other]\r\n"
            "keep=this");
}

TEST(IniDocumentTest, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEnd) {
  IniDocument ini = Document(kHandEdited);
  ini.Set("Setting-EN", "Item2", "Right Click");
  ini.Set("Other", "added", "1");
  ini.Set("Setting-CHS", "Item1", kChinese);
  EXPECT_EQ(TextOf(ini), std::string("; str.ini of the Tarnix Q8\r\n"
                                     "[Skins]\r\n"
                                     "Lan=CHS\r\n"
                                     "  path = Dark  ; my favourite\r\n"
                                     "\r\n"
                                     "[Setting-EN]\r\n"
                                     "Item1=Left Click\r\n"
                                     "; Item2 is the right button\r\n"
                                     "Item2=Right Click\r\n"
                                     "\r\n"
                                     "\r\n"
                                     "[Other]\r\n"
                                     "keep=this\r\n"
                                     "added=1\r\n"
                                     "[Setting-CHS]\r\n"
                                     "Item1=") +
                             std::string(kChinese) + "\r\n");
}

TEST(IniDocumentTest, NewLinesFollowTheFilesLineBreaks) {
  IniDocument ini = Document("[S]\nA=1\n", TextEncoding::Utf8Bom);
  ini.Set("S", "B", "2");
  ini.Set("T", "C", "3");
  EXPECT_EQ(TextOf(ini), "[S]\nA=1\nB=2\n[T]\nC=3\n");
}

TEST(IniDocumentTest, EveryValueReadsBackExactly) {
  IniDocument ini;
  for (const std::string_view value :
       {"  padded  ", "\"quoted\"", "'single'", "\"", "", "a=b", "Item 1; not a comment"}) {
    ini.Set("S", "K", value);
    EXPECT_EQ(ini.Get("S", "K"), value);
    EXPECT_EQ(IniDocument::Parse(ini.Serialize()).Get("S", "K"), value);
  }
  // A value is one line: a line break in it must not smuggle keys or sections into the file.
  ini.Set("S", "K", "one\r\n[Skins]\r\nLan=CHS");
  EXPECT_EQ(ini.Get("S", "K"), "one  [Skins]  Lan=CHS");
  EXPECT_EQ(ini.Get("Skins", "Lan", "none"), "none");
}

TEST(IniDocumentTest, ReadsEveryAcceptedEncoding) {
  const std::string text = "[S]\r\nK=" + std::string(kChinese) + "\r\n";
  for (const auto encoding : {TextEncoding::Utf16LeBom, TextEncoding::Utf16BeBom,
                              TextEncoding::Utf8Bom, TextEncoding::Plain}) {
    EXPECT_EQ(Document(text, encoding).Get("S", "K"), kChinese);
  }
  EXPECT_EQ(IniDocument::Parse(Bytes("[Skins]\r\nLan=CHT\r\n")).Get("Skins", "Lan"), "CHT");
}

TEST(IniDocumentTest, KeepsUnicodeEncodingsAndMakesOthersUtf16) {
  for (const auto encoding :
       {TextEncoding::Utf16LeBom, TextEncoding::Utf16BeBom, TextEncoding::Utf8Bom}) {
    IniDocument ini = Document("[S]\r\n", encoding);
    ini.Set("S", "K", kChinese);
    EXPECT_EQ(DecodeText(ini.Serialize()).encoding, encoding);
  }
  // ASCII or UTF-8 without a mark would reach the Windows functions through the ANSI code page.
  IniDocument plain = IniDocument::Parse(Bytes("[S]\r\nA=1\r\n"));
  plain.Set("S", "K", kChinese);
  EXPECT_EQ(plain.Serialize(), EncodeText("[S]\r\nA=1\r\nK=" + std::string(kChinese) + "\r\n",
                                          TextEncoding::Utf16LeBom));
}

TEST(IniFileTest, FirstWriteCreatesTheFile) {
  TempDir dir;
  const auto path = dir / "str.ini";
  EXPECT_EQ(ReadIniString(path, "Skins", "Lan", "EN"), "EN");
  EXPECT_FALSE(std::filesystem::exists(path));

  ASSERT_FALSE(WriteIniString(path, "Setting-CHS", "Item1", kChinese));
  EXPECT_EQ(ReadBytes(path), EncodeText("[Setting-CHS]\r\nItem1=" + std::string(kChinese) + "\r\n",
                                        TextEncoding::Utf16LeBom));
  EXPECT_EQ(ReadIniString(path, "setting-chs", "item1"), kChinese);
}

TEST(IniFileTest, AWriteThatCannotReadTheFileChangesNothing) {
  TempDir dir;
  // A folder where the file should be: unreadable, so the write must not replace it.
  const auto folder = dir / "str.ini";
  std::filesystem::create_directory(folder);
  EXPECT_TRUE(WriteIniString(folder, "Skins", "Lan", "EN"));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(ReadIniString(folder, "Skins", "Lan", "default"), "default");

  // A missing folder: the error comes back and nothing is created.
  const auto nowhere = dir / "missing" / "str.ini";
  EXPECT_TRUE(WriteIniString(nowhere, "Skins", "Lan", "EN"));
  EXPECT_FALSE(std::filesystem::exists(nowhere.parent_path()));
}

// Lines of other programs come back from a save exactly as they were, whatever bytes they hold,
// and a file far larger than any str.ini is neither read nor overwritten.
TEST(IniFileTest, ASaveKeepsOtherLinesByteForByteAndAHugeFileIsLeftAlone) {
  TempDir dir;
  const auto path = dir / "str.ini";
  const auto utf16 = [](std::string_view ascii) {
    std::vector<std::uint8_t> bytes;
    for (const char c : ascii) {
      bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0});
    }
    return bytes;
  };
  const auto join = [](std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> bytes;
    for (const auto& part : parts) {
      bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
  };
  struct Case {
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
  };
  const std::vector<Case> cases{
      // A Latin-1 byte in a UTF-8 file, a cut sequence, and a line break of another program.
      {Bytes("\xEF\xBB\xBF[Other]\r\nName=Caf\xE9\r\nCut=\xE5\x9F\n[Skins]\r\nPath=Old\r\n"),
       Bytes("\xEF\xBB\xBF[Other]\r\nName=Caf\xE9\r\nCut=\xE5\x9F\n[Skins]\r\nPath=New\r\n")},
      // Unpaired surrogates in UTF-16, and an odd last byte.
      {join({{0xFF, 0xFE},
             utf16("[Other]\r\nName="),
             {0x00, 0xD8},
             utf16("x\r\nLow="),
             {0x00, 0xDC},
             utf16("\r\n[Skins]\r\nPath=Old\r\n"),
             {0x41}}),
       join({{0xFF, 0xFE},
             utf16("[Other]\r\nName="),
             {0x00, 0xD8},
             utf16("x\r\nLow="),
             {0x00, 0xDC},
             utf16("\r\n[Skins]\r\nPath=New\r\n"),
             {0x41}})},
  };
  for (const Case& c : cases) {
    test::WriteBytes(path, c.before);
    ASSERT_FALSE(WriteIniString(path, "Skins", "Path", "New"));
    EXPECT_EQ(ReadBytes(path), c.after);
  }
  // What is no text reads as U+FFFD.
  EXPECT_EQ(ReadIniString(path, "Other", "Name"), "\xEF\xBF\xBDx");
  test::WriteBytes(path, cases[0].before);
  EXPECT_EQ(ReadIniString(path, "Other", "Name"), "Caf\xEF\xBF\xBD");
  EXPECT_EQ(ReadIniString(path, "Other", "Cut"), "\xEF\xBF\xBD\xEF\xBF\xBD");

  // Blank lines enough for any real str.ini many times over: not read, not written.
  std::vector<std::uint8_t> huge(2u << 20, '\n');
  const std::string_view head = "[Skins]\r\nPath=Old\r\n";
  std::copy(head.begin(), head.end(), huge.begin());
  test::WriteBytes(path, huge);
  EXPECT_EQ(ReadIniString(path, "Skins", "Path", "default"), "default");
  EXPECT_TRUE(WriteIniString(path, "Skins", "Path", "New"));
  EXPECT_EQ(std::filesystem::file_size(path), huge.size());
  EXPECT_EQ(ReadBytes(path), huge);
}

}  // namespace
}  // namespace q8
