#include "settings/text_encoding.h"

#include <gtest/gtest.h>

#include <vector>

#include "settings/ansi_code_page.h"

namespace q8 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// "A基" with U+1F600 (a surrogate pair in UTF-16), worked by hand in each encoding.
constexpr std::string_view kSample = "A\xE5\x9F\xBA\xF0\x9F\x98\x80";

TEST(TextEncodingTest, EncodesEachFormWithItsMark) {
  EXPECT_EQ(EncodeText(kSample, TextEncoding::Utf16LeBom),
            (Bytes{0xFF, 0xFE, 0x41, 0x00, 0xFA, 0x57, 0x3D, 0xD8, 0x00, 0xDE}));
  EXPECT_EQ(EncodeText(kSample, TextEncoding::Utf16BeBom),
            (Bytes{0xFE, 0xFF, 0x00, 0x41, 0x57, 0xFA, 0xD8, 0x3D, 0xDE, 0x00}));
  EXPECT_EQ(EncodeText(kSample, TextEncoding::Utf8Bom),
            (Bytes{0xEF, 0xBB, 0xBF, 0x41, 0xE5, 0x9F, 0xBA, 0xF0, 0x9F, 0x98, 0x80}));
  EXPECT_EQ(EncodeText("A", TextEncoding::Plain), (Bytes{0x41}));
}

TEST(TextEncodingTest, BrokenInputStillDecodes) {
  // Bytes that are no UTF-8 are an ANSI file: read in the system's code page where there is one
  // (Windows; the INI conformance test holds it to the Windows functions), else each byte one
  // Latin-1 character.
  const Bytes ansiBytes{'K', '=', 0xE9, 0x80};
  const DecodedText ansi = DecodeText(ansiBytes);
  EXPECT_EQ(ansi.utf8, AnsiCodePageToUtf8(ansiBytes).value_or("K=\xC3\xA9\xC2\x80"));
  EXPECT_EQ(ansi.encoding, TextEncoding::Plain);
  // An unpaired surrogate becomes U+FFFD; an odd last byte is dropped.
  EXPECT_EQ(DecodeText(Bytes{0xFF, 0xFE, 0x00, 0xD8, 0x41, 0x00, 0x42}).utf8,
            "\xEF\xBF\xBD"
            "A");
  // Overlong forms and encoded surrogates are not UTF-8.
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xE5\x9F"), u"\uFFFD\uFFFD");
}

TEST(TextEncodingTest, CountsAndCutsInUtf16Units) {
  EXPECT_EQ(Utf16Length(kSample), 4u);
  EXPECT_EQ(TruncateToUtf16Units(kSample, 2), "A\xE5\x9F\xBA");
  // A character that takes two units is never cut in half.
  EXPECT_EQ(TruncateToUtf16Units(kSample, 3), "A\xE5\x9F\xBA");
  EXPECT_EQ(TruncateToUtf16Units(kSample, 4), kSample);
}

}  // namespace
}  // namespace q8
