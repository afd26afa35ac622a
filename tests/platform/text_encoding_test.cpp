#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace kvx {
namespace {

TEST(TextEncoding, WindowsBytesBecomeUtf8AndBack) {
  EXPECT_EQ(Cp1252ToUtf8("Gr\xF6\xDF" "e"), "Größe");
  EXPECT_EQ(Cp1252ToUtf8("\x80 \xB0 \x96"), "€ ° –");
  EXPECT_EQ(Utf8ToCp1252("12°34'"), "12\xB0" "34'");
  EXPECT_EQ(Utf8ToCp1252("Ä→Ö"), "\xC4?\xD6");  // the arrow has no byte
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(TextEncoding, MalformedUtf8IsRecognised) {
  EXPECT_TRUE(IsValidUtf8("Grüße €"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
  EXPECT_FALSE(IsValidUtf8("ab\xC3"));        // cut short
  EXPECT_FALSE(IsValidUtf8("M\xFC" "nchen")); // a Windows-1252 umlaut
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");
}

TEST(TextEncoding, FilesInEitherEncodingAndAnyLineEndReadAlike) {
  EXPECT_EQ(DecodeTextBytes("\xEF\xBB\xBF" "Köln"), "Köln");
  EXPECT_EQ(DecodeTextBytes("K\xF6ln"), "Köln");
  EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitTextLines("").empty());

  test::TempFolder folder;
  std::string path = folder.Write("orte.txt", ":ORTDATEI\r\nM\xFCnchen;48,1\r\n");
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextFileLines(path, lines));
  EXPECT_EQ(lines, (std::vector<std::string>{":ORTDATEI", "München;48,1"}));
  EXPECT_FALSE(ReadTextFileLines(folder.File("missing.txt"), lines));
  EXPECT_TRUE(lines.empty());
}

// UTF-16 is read as far as it is whole: a surrogate without its partner
// and half a unit at the end become U+FFFD, and the first of them is named
// by its byte. A text whose Windows-1252 bytes would begin like a byte-order
// mark ("þÿ", "ÿþ", "ï»¿") is written in UTF-8 with its own mark, so it never
// opens as another encoding.
TEST(TextEncoding, DamagedUtf16IsMarkedAndNoTextIsWrittenToLookLikeAnother) {
  const auto utf16le = [](const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
  };
  struct Case {
    std::string Bytes;
    std::string Text;
    std::size_t DamagedAt;
  };
  const std::size_t whole = std::string_view::npos;
  const std::u16string lone = u"a\xD83D" u"b";  // a high surrogate without its low one
  const std::u16string lowFirst = u"\xDE00" u"b";
  for (const Case& c : {Case{utf16le(u"Ω😀"), "Ω😀", whole}, Case{utf16le(u"ab") + "c", "ab\uFFFD", 6},
                        Case{utf16le(lone), "a\uFFFDb", 4}, Case{utf16le(lowFirst), "\uFFFDb", 2},
                        Case{std::string("\xFE\xFF\x00\x41\xD8\x3D", 6), "A\uFFFD", 4}}) {
    std::string text;
    std::size_t damagedAt = 0;
    ASSERT_TRUE(DecodeUtf16Text(c.Bytes, text, &damagedAt));
    EXPECT_EQ(text, c.Text);
    EXPECT_EQ(damagedAt, c.DamagedAt);
    EXPECT_EQ(DecodeTextBytes(c.Bytes), c.Text);
    EXPECT_EQ(TextBytesEncoding(c.Bytes), TTextEncoding::Utf16);
    EXPECT_EQ(Utf16TextToUtf8(c.Bytes, text), c.DamagedAt == whole);
  }
  std::string ignored;
  EXPECT_FALSE(DecodeUtf16Text("ab", ignored));

  for (const std::string text : {"þÿ-Ligatur\t12\r\n", "ÿþ", "ï»¿x", "Größe"}) {
    const std::string bytes = TextFileBytes(text);
    EXPECT_EQ(DecodeTextBytes(bytes), text);
    EXPECT_EQ(TextBytesEncoding(bytes), text == "Größe" ? TTextEncoding::Windows1252 : TTextEncoding::Utf8) << text;
  }
  EXPECT_EQ(TextBytesEncoding("plain"), TTextEncoding::Utf8);
}

TEST(TextEncoding, WholeFilesAreReadByteForByteOrTheReasonIsGiven) {
  test::TempFolder folder;
  const std::string bytes("a\0\xFC\r\n\r", 6);
  std::string read, error;
  ASSERT_TRUE(ReadFileBytes(folder.Write("raw.bin", bytes), read, error)) << error;
  EXPECT_EQ(read, bytes);
  const std::string missing = folder.File("missing.txt");
  EXPECT_FALSE(ReadFileBytes(missing, read, error));
  EXPECT_EQ(error, "cannot open " + missing);
  EXPECT_TRUE(read.empty());
  // A folder opens as a stream but cannot be read: refused, not thrown.
  EXPECT_FALSE(ReadFileBytes(folder.Path().string(), read, error));
  EXPECT_EQ(error, "cannot read " + folder.Path().string());
}

TEST(TextEncoding, CharacterCountsNeverCutACharacter) {
  EXPECT_EQ(Utf8Length("Größe"), 5u);
  EXPECT_EQ(Utf8Prefix("Größe", 3), "Grö");
  EXPECT_EQ(Utf8Prefix("ab", 5), "ab");
  EXPECT_EQ(CodePointsToUtf8(Utf8ToCodePoints("Ä°€")), "Ä°€");
}

TEST(TextEncoding, UpperCaseCoversTheWindowsLetters) {
  EXPECT_EQ(UpperCaseText("straße öl ÿ"), "STRAßE ÖL Ÿ");
}

}  // namespace
}  // namespace kvx
