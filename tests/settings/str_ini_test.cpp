#include "settings/str_ini.h"

#include <gtest/gtest.h>

#include "model/button_caption.h"
#include "model/ui_text.h"
#include "settings/ini_file.h"
#include "support/temp_dir.h"

namespace q8 {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

void WriteAscii(const std::filesystem::path& path, std::string_view text) {
  WriteBytes(path, {text.begin(), text.end()});
}

std::string SectionFor(UiLanguage language) {
  return std::string(TextFor(UiTextKey::StrIniSection, language));
}

TEST(StrIniTest, ColourBytesAreDecimalModulo256) {
  EXPECT_EQ(ColorByte("255"), 255);
  EXPECT_EQ(ColorByte("300"), 44);
  EXPECT_EQ(ColorByte("256"), 0);
  EXPECT_EQ(ColorByte("-1"), 255);
  EXPECT_EQ(ColorByte(" 12abc"), 12);
  EXPECT_EQ(ColorByte("abc"), 0);
  EXPECT_EQ(ColorByte(""), 0);
  EXPECT_EQ(ColorByte("-"), 0);
  // Far beyond any integer type, still the true remainder: 10^30 = 2^30 * 5^30, so 0.
  EXPECT_EQ(ColorByte("1000000000000000000000000000000"), 0);
  EXPECT_EQ(ColorByte("1000000000000000000000000000044"), 44);
}

TEST(StrIniTest, MissingFileReadsAsEmptyTexts) {
  TempDir dir;
  const auto path = dir / "str.ini";
  EXPECT_EQ(ReadLanguageCode(path), "");
  const StrIniSettings settings = ReadStrIniSettings(path, "Setting-EN");
  EXPECT_EQ(settings.captions, ButtonCaptions{});
  EXPECT_EQ(SkinColorBytes(settings), (ColorBytes{0, 0, 0}));
  EXPECT_EQ(settings.skinName, "");
}

TEST(StrIniTest, ReadsTheLanguageCodeAsWritten) {
  TempDir dir;
  const auto path = dir / "str.ini";
  WriteAscii(path, "[skins]\r\nlan=chs\r\n");
  EXPECT_EQ(ReadLanguageCode(path), "chs");
  EXPECT_EQ(SelectLanguage(ReadLanguageCode(path)), UiLanguage::EN);
  WriteAscii(path, "[Skins]\r\nLan=CHS\r\n");
  EXPECT_EQ(SelectLanguage(ReadLanguageCode(path)), UiLanguage::CHS);
}

TEST(StrIniTest, ReadsEachCaptionFromItsKey) {
  TempDir dir;
  const auto path = dir / "str.ini";
  WriteAscii(path,
             "[Skins]\r\nPath=Dark\r\nRColor=300\r\nGColor=abc\r\nBColor=7\r\n"
             "[Setting-EN]\r\nItem1=one\r\nItem8=eight\r\nItem9=not a button\r\n"
             "Item13=B one\r\nItem83=B eight\r\nItem10=not a button either\r\n");
  const StrIniSettings settings = ReadStrIniSettings(path, "Setting-EN");
  ButtonCaptions expected;
  expected[0] = "one";
  expected[7] = "eight";
  expected[8] = "B one";
  expected[15] = "B eight";
  EXPECT_EQ(settings.captions, expected);
  EXPECT_EQ(settings.redText, "300");
  EXPECT_EQ(SkinColorBytes(settings), (ColorBytes{44, 0, 7}));
  EXPECT_EQ(settings.skinName, "Dark");
}

TEST(StrIniTest, CaptionsOfEachLanguageStayApart) {
  TempDir dir;
  const auto path = dir / "str.ini";
  const ButtonCaptions english = DefaultButtonCaptions(UiLanguage::EN);
  ButtonCaptions chinese = DefaultButtonCaptions(UiLanguage::CHS);
  chinese[2] = "火力键 3 10 20";
  ASSERT_FALSE(WriteButtonCaptions(path, SectionFor(UiLanguage::EN), english));
  ASSERT_FALSE(WriteButtonCaptions(path, SectionFor(UiLanguage::CHS), chinese));

  EXPECT_EQ(ReadStrIniSettings(path, SectionFor(UiLanguage::EN)).captions, english);
  EXPECT_EQ(ReadStrIniSettings(path, SectionFor(UiLanguage::CHS)).captions, chinese);
  EXPECT_EQ(ReadStrIniSettings(path, SectionFor(UiLanguage::CHT)).captions, ButtonCaptions{});
}

TEST(StrIniTest, CaptionsAreWrittenInKeyOrder) {
  TempDir dir;
  const auto path = dir / "str.ini";
  ButtonCaptions captions;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    captions[i] = std::to_string(i);
  }
  ASSERT_FALSE(WriteButtonCaptions(path, "Setting-EN", captions));
  EXPECT_EQ(DecodeText(ReadBytes(path)).utf8,
            "[Setting-EN]\r\nItem1=0\r\nItem2=1\r\nItem3=2\r\nItem4=3\r\nItem5=4\r\n"
            "Item6=5\r\nItem7=6\r\nItem8=7\r\nItem13=8\r\nItem23=9\r\nItem33=10\r\n"
            "Item43=11\r\nItem53=12\r\nItem63=13\r\nItem73=14\r\nItem83=15\r\n");
}

TEST(StrIniTest, WritingTheSkinKeepsTheLanguageAndTheCaptions) {
  TempDir dir;
  const auto path = dir / "str.ini";
  WriteAscii(path, "[Skins]\r\nLan=CHT\r\nPath=Old\r\n[Setting-CHT]\r\nItem1=x\r\n");
  ASSERT_FALSE(WriteSkin(path, {44, 0, 255}, "Dark Blue"));
  EXPECT_EQ(ReadLanguageCode(path), "CHT");
  const StrIniSettings settings = ReadStrIniSettings(path, "Setting-CHT");
  EXPECT_EQ(settings.captions[0], "x");
  EXPECT_EQ(settings.skinName, "Dark Blue");
  EXPECT_EQ(settings.redText, "44");
  EXPECT_EQ(settings.greenText, "0");
  EXPECT_EQ(settings.blueText, "255");
  EXPECT_EQ(DecodeText(ReadBytes(path)).utf8,
            "[Skins]\r\nLan=CHT\r\nPath=Dark Blue\r\nRColor=44\r\nGColor=0\r\nBColor=255\r\n"
            "[Setting-CHT]\r\nItem1=x\r\n");
}

}  // namespace
}  // namespace q8
