#include "core/text_conversion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

// Every test starts with the German separators and leaves the defaults.
class TextConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    IntlSeparators = TIntlSeparators{};
    IntlSeparators.Decimal = ',';
    IntlSeparators.Date = '.';
    LanguageEnglish = 0;
  }
  void TearDown() override {
    IntlSeparators = TIntlSeparators{};
    LanguageEnglish = 0;
  }
};

TEST_F(TextConversion, PackedValuesReadAsDegreesMinutesSeconds) {
  EXPECT_NEAR(DmsPackedToDeg(12.3456), 12.0 + 34.0 / 60 + 56.0 / 3600, 1e-12);
  EXPECT_NEAR(DmsPackedToDeg(12.345678), 12.0 + 34.0 / 60 + 56.78 / 3600, 1e-10);
  EXPECT_DOUBLE_EQ(DmsPackedToDeg(-0.3), -0.5);
  EXPECT_EQ(DmsPackedToDeg(0.0), 0.0);
  EXPECT_FALSE(std::signbit(DmsPackedToDeg(-0.0)));
  double r = 0;
  DegFromDms(12, 30, 0, r);
  EXPECT_DOUBLE_EQ(r, 12.5);
  DegFromDms(0, -30, 0, r);  // the sign may sit in the minutes
  EXPECT_DOUBLE_EQ(r, -0.5);
  DegFromDms(0, 0, -36, r);
  EXPECT_DOUBLE_EQ(r, -0.01);
  DegFromDms(-1, 30, 0, r);
  EXPECT_DOUBLE_EQ(r, -1.5);
}

TEST_F(TextConversion, RoundingVariantsCarrySixtySecondsIntoMinutesAndDegrees) {
  EXPECT_DOUBLE_EQ(DegToDmsPackedSec(10.999999), 11.0);  // 59.9964 s
  EXPECT_DOUBLE_EQ(DegToDmPacked(1.9999), 2.0);
  EXPECT_EQ(DegToDmPacked(0), 0.0);
  const double almost11 = 10.0 + 59.0 / 60 + 59.9999 / 3600;
  EXPECT_DOUBLE_EQ(DegToDmsPackedTenth(almost11), 11.0);
  EXPECT_DOUBLE_EQ(DegToDmsPackedHundredth(almost11), 11.0);
  EXPECT_DOUBLE_EQ(DegToDmsPackedSec(almost11), 11.0);
  // Without rounding the seconds stay below 60.
  double unrounded = DegToDmsPacked(almost11);
  EXPECT_LT(unrounded, 11.0);
  EXPECT_GT(unrounded, 10.5959);
  // Half a unit rounds up, just below it does not.
  EXPECT_NEAR(DegToDmsPackedTenth(12.0 + 34.0 / 60 + 56.25 / 3600), 12.34563, 1e-9);
  EXPECT_NEAR(DegToDmsPackedTenth(12.0 + 34.0 / 60 + 56.24 / 3600), 12.34562, 1e-9);
  EXPECT_NEAR(DegToDmsPackedHundredth(12.0 + 34.0 / 60 + 56.785 / 3600), 12.345679, 1e-9);
  EXPECT_NEAR(DegToDmPacked(12.0 + 34.49 / 60), 12.34, 1e-12);
  EXPECT_NEAR(DegToDmPacked(12.0 + 34.51 / 60), 12.35, 1e-12);
}

TEST_F(TextConversion, NegativeAnglesKeepTheirSignAndZeroIsNeverNegative) {
  EXPECT_DOUBLE_EQ(DegToDmsPackedSec(-12.5), -12.3);
  EXPECT_DOUBLE_EQ(DegToDmsPackedSec(-0.5), -0.3);
  EXPECT_NEAR(DegToDmsPackedHundredth(-(1.0 / 3600)), -0.0001, 1e-15);
  for (double tiny : {-1e-9, -0.0, -1e-7}) {
    EXPECT_FALSE(std::signbit(DegToDmsPackedSec(tiny))) << tiny;
    EXPECT_FALSE(std::signbit(DegToDmPacked(tiny))) << tiny;
  }
  EXPECT_EQ(FormatFixed(DegToDmsPackedSec(-1e-7), 0, 4), "0.0000");
  EXPECT_EQ(FormatFixed(-0.00004, 0, 4), "0.0000");
  EXPECT_EQ(FormatFixed(-0.3, 7, 4), "-0.3000");
}

TEST_F(TextConversion, PackedValuesSurviveTheRoundTrip) {
  for (int k = -3600; k <= 3600; ++k) {
    double x = k * 0.0999 + 0.000123;  // degrees, not on a second boundary
    double packed = DegToDmsPackedHundredth(x);
    EXPECT_NEAR(DmsPackedToDeg(packed), x, 0.0051 / 3600) << x;
    double whole = DegToDmsPackedSec(x);  // whole seconds, truncated
    EXPECT_NEAR(DmsPackedToDeg(whole), x, 1.0 / 3600) << x;
    // Minutes and seconds of a packed value never reach 60.
    double a = std::fabs(packed);
    double minutes = std::round((a - std::trunc(a)) * 1e6) / 1e4;
    EXPECT_LT(minutes, 60.0) << x;
    double seconds = std::fmod(std::round(a * 1e6), 1e4) / 100.0;
    EXPECT_LT(seconds, 60.0) << x;
  }
}

TEST_F(TextConversion, MarkedTextsUseTheProgramsMarksAndTheLocaleSeparator) {
  EXPECT_EQ(DmsMarkText("12.345678", 0), "12h34m56,78s");
  EXPECT_EQ(DmsMarkText("12.345678", 1), "12°34'56,78''");
  EXPECT_EQ(DmsMarkTextStr("-5.304512", 1), "-5°30'45,12''");
  EXPECT_EQ(DmMarkText("12.3456", 0), "12h34m56s");
  EXPECT_EQ(DmMarkText("12.3456", 1), "12°34'56''");
  EXPECT_EQ(DmMarkText2("12.34", 0), "12h34m");
  EXPECT_EQ(DegMinText("12.34"), "12°34'");
  EXPECT_EQ(DmsArcText("12.3456"), "12°34'56''");
  EXPECT_EQ(ArcMinText("12.34"), "12'34''");
  EXPECT_EQ(ArcMinSecText("12.345"), "12'34,5''");
  EXPECT_EQ(MinSecTimeText("12,34"), "12m34s");
  EXPECT_EQ(MinSecTimeText("12.34"), "12m34s");
  EXPECT_EQ(DmsTextWithMarks("12,3456"), "12°34'56''");
  IntlSeparators.Decimal = '.';
  EXPECT_EQ(DmsMarkText("12.345678", 1), "12°34'56.78''");
  EXPECT_EQ(DmsTextWithMarks("12.3456"), "12°34'56''");
  EXPECT_EQ(std::string(FirstMarks[1]) + SecondMarks[1] + ThirdMarks[1], "°'''");
  EXPECT_EQ(std::string(FirstMarks[0]) + SecondMarks[0] + ThirdMarks[0], "hms");
  // A text without "." stays as it is.
  EXPECT_EQ(DmsMarkText("12", 1), "12");
  EXPECT_EQ(DmsArcText("12"), "12");
  EXPECT_EQ(MinSecTimeText("12"), "12");
}

TEST_F(TextConversion, ColonTimesConvertBothWays) {
  EXPECT_EQ(HmsColonText("12.3456"), "12:34:56");
  EXPECT_EQ(HmsColonText(" 9.3015"), "09:30:15");
  EXPECT_EQ(HmsColonToNumberText("12:34:56"), "12.3456");
  // A one-digit minute is 3 minutes, not 30.
  EXPECT_EQ(HmsColonToNumberText("12:3:56"), "12.0356");
  EXPECT_EQ(HmsColonToNumberText("9:30"), "9.30");
  EXPECT_EQ(HmsColonToNumberText("930"), "930");
  EXPECT_NEAR(DmsPackedToDeg(std::stod(HmsColonToNumberText("12:3:56"))), 12 + 3.0 / 60 + 56.0 / 3600, 1e-9);
}

TEST_F(TextConversion, FixedDegreeMinuteTextRoundsToATenthOnce) {
  std::string text;
  double reduced = DmsMarkTextFixed(123.0 + 45.70 / 60, 1, text);
  EXPECT_EQ(text, std::string(13, ' ') + "123°45,7'");
  EXPECT_NEAR(reduced, 123.0 + 45.75 / 60, 1e-12);
  DmsMarkTextFixed(123.0 + 45.74 / 60, 1, text);
  EXPECT_EQ(text, std::string(13, ' ') + "123°45,7'");
  DmsMarkTextFixed(123.0 + 45.75 / 60, 1, text);
  EXPECT_EQ(text, std::string(13, ' ') + "123°45,8'");
  DmsMarkTextFixed(359.0 + 59.96 / 60, 1, text);  // rounds past 360
  EXPECT_EQ(text, std::string(15, ' ') + "0°00,0'");
  DmsMarkTextFixed(-0.5, 0, text);
  EXPECT_EQ(text, std::string(13, ' ') + "359h30,0m");
}

TEST_F(TextConversion, NumbersRoundHalfAwayFromZeroInTheirField) {
  EXPECT_EQ(FormatFixed(2.5, 0, 0), "3");
  EXPECT_EQ(FormatFixed(-2.5, 0, 0), "-3");
  EXPECT_EQ(FormatFixed(0.125, 0, 2), "0.13");  // exactly halfway in binary
  EXPECT_EQ(FormatFixed(2.675, 0, 2), "2.67");  // just below halfway in binary
  EXPECT_EQ(FormatFixed(9.9999, 6, 2), " 10.00");
  EXPECT_EQ(FormatFixed(-999.96, 0, 1), "-1000.0");
  EXPECT_EQ(FormatFixedExt(1.0L / 3, 8, 5), " 0.33333");
  std::string s;
  RealToStrFixed(3, 4, s, 12.5);
  EXPECT_EQ(s, " 12.5000");
  RealToStrFixed(3, 40, s, 1.0);
  EXPECT_EQ(s.size(), 30u);
  FloatToStrTrim(2, s, 3.14159);
  EXPECT_EQ(s, "3.14");
  FloatToStrTrimExt(3, s, -2.0005L);
  EXPECT_EQ(s, "-2.001");
}

TEST_F(TextConversion, DecimalSeparatorsAreSwappedOnlyWhereAsked) {
  EXPECT_EQ(FloatToTextSep("12.5"), "12,5");
  EXPECT_EQ(DotToDecimalSepTrim("   12.5"), "12,5");
  EXPECT_EQ(DecimalSepToDot("12,5"), "12.5");
  EXPECT_EQ(ShortCommaToDot("  12,5"), "12.5");
  EXPECT_EQ(ShortCommaToDot(""), "");
  EXPECT_EQ(StripBlanksLocalizePoint(" 1 234.5 "), "1234,5");
  // A whole number gains no separator in front.
  EXPECT_EQ(StripBlanksLocalizePoint(" 1 234 "), "1234");
  IntlSeparators.Decimal = '.';
  EXPECT_EQ(FloatToTextSep("12.5"), "12.5");
  EXPECT_EQ(StripBlanksLocalizePoint("12.5"), "12.5");
}

TEST_F(TextConversion, NumberTextsAreReadStrictly) {
  double x = -1;
  EXPECT_TRUE(ValReal("12.5", x));
  EXPECT_DOUBLE_EQ(x, 12.5);
  EXPECT_TRUE(ValReal("  -0.25e2", x));
  EXPECT_DOUBLE_EQ(x, -25);
  EXPECT_TRUE(ValReal("+2", x));
  EXPECT_DOUBLE_EQ(x, 2);
  EXPECT_TRUE(ValReal("-.5", x));
  EXPECT_DOUBLE_EQ(x, -0.5);
  for (const char* bad : {"", "1.", "12.5 ", "1,5", "abc", "1e", "--1", ".", "1e999"}) {
    EXPECT_FALSE(ValReal(bad, x)) << bad;
    EXPECT_EQ(x, 0.0) << bad;
  }
  EXPECT_TRUE(StrToFloatDot("1.", x));
  EXPECT_DOUBLE_EQ(x, 1.0);
  EXPECT_TRUE(StrToFloatDot("-5.e3", x));
  EXPECT_DOUBLE_EQ(x, -5000.0);
  for (const char* bad : {".", "-.", ".e3", "1.2.", "5. "}) EXPECT_FALSE(StrToFloatDot(bad, x)) << bad;
  EXPECT_TRUE(StrToFloatNoBlanks(" 1 234.5", x));
  EXPECT_DOUBLE_EQ(x, 1234.5);
  long double e = 0;
  EXPECT_TRUE(StrToExtended("0.1", e));
  EXPECT_EQ(e, 0.1L);
  EXPECT_FALSE(StrToExtended("0,1", e));
}

TEST_F(TextConversion, SheetNumbersUseTheLocaleSeparator) {
  std::uint8_t ok = 9;
  EXPECT_DOUBLE_EQ(TextToNumberCallback(" 12,5 ", ok), 12.5);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(TextToNumberCallback("12.5", ok), 0.0);
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(TextToNumberCallback("Mars", ok), 0.0);
  EXPECT_EQ(ok, 0);
  IntlSeparators.Decimal = '.';
  EXPECT_DOUBLE_EQ(TextToNumberCallback("12.5", ok), 12.5);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(TextToNumberCallback("12,5", ok), 0.0);
  EXPECT_EQ(ok, 0);
}

TEST_F(TextConversion, TypedAnglesAreRecognisedAsDecimalOrSexagesimal) {
  std::uint8_t isDecimal = 9;
  std::string t;
  ParseDegreeText("12°30'", isDecimal, t);
  EXPECT_EQ(t, "12.30");
  EXPECT_EQ(isDecimal, 0);
  ParseDegreeText("12,5", isDecimal, t);
  EXPECT_EQ(t, "12.5");
  EXPECT_EQ(isDecimal, 1);
  ParseDegreeText("12.", isDecimal, t);
  EXPECT_EQ(t, "12.0");
  ParseDegreeText("12°", isDecimal, t);
  EXPECT_EQ(t, "12.0");
  EXPECT_EQ(isDecimal, 0);
  ParseDegreeText("0.3015", isDecimal, t);
  EXPECT_EQ(isDecimal, 1);
}

// Typed text -> value -> text, the road of an angle through an edit box.
TEST_F(TextConversion, AngleTextsRoundTripThroughTheirValue) {
  for (const char* typed : {"12°34'56''", "0°00'01''", "359°59'59''", "-23°26'21''", "0°30'00''"}) {
    std::uint8_t isDecimal = 1;
    std::string number;
    ParseDegreeText(typed, isDecimal, number);
    double x = 0;
    ASSERT_TRUE(ValReal(number, x)) << typed;
    double degrees = DmsPackedToDeg(x);
    EXPECT_EQ(DmsArcText(FormatFixed(DegToDmsPackedSec(degrees), 0, 4)), typed);
  }
  for (int k = 0; k < 2000; ++k) {
    double hours = k * 0.012;
    std::string text = HmsColonText(FormatFixed(DegToDmsPackedSec(hours), 7, 4));
    double back = DmsPackedToDeg(std::stod(HmsColonToNumberText(text)));
    EXPECT_NEAR(back, hours, 1.0 / 3600) << text;  // whole seconds, truncated
  }
}

TEST_F(TextConversion, DesignationsArePaddedToSortByNumber) {
  EXPECT_EQ(PackedDateDigitValue("V"), 31);
  // No digit of a packed date: 0, never a day 31 made up from a damaged line.
  for (const char* none : {"", "0", " ", "W", "a", "AB"}) EXPECT_EQ(PackedDateDigitValue(none), 0) << none;
  EXPECT_EQ(PackedDateDigitValue("1"), 1);
  EXPECT_EQ(PackedDateDigitValue("9"), 9);
  EXPECT_EQ(PackedDateDigitValue("A"), 10);
  EXPECT_EQ(PackedDateDigitValue("U"), 30);

  EXPECT_EQ(NormalizeDesignation("  (433) Eros  "), "(00433) Eros");
  EXPECT_EQ(NormalizeDesignation("433 Eros"), "00433 Eros");
  EXPECT_EQ(NormalizeDesignation("(12345)"), "(12345)");
  EXPECT_EQ(NormalizeDesignation("(1) Ceres"), "(00001) Ceres");
  EXPECT_EQ(NormalizeDesignation("(123456) Name"), "(123456) Name");
  EXPECT_EQ(NormalizeDesignation("A (9) x"), "A (00009) x");
  EXPECT_EQ(NormalizeDesignation("7"), "00007");
  // Not a whole number: kept, trimmed.
  EXPECT_EQ(NormalizeDesignation(" Eros "), "Eros");
  EXPECT_EQ(NormalizeDesignation("(x) Eros"), "(x) Eros");
  EXPECT_EQ(NormalizeDesignation("-5 Eros"), "-5 Eros");
  EXPECT_EQ(NormalizeDesignation("(433 Eros"), "(433 Eros");
  EXPECT_LT(NormalizeDesignation("(99) A"), NormalizeDesignation("(100) B"));
}

TEST_F(TextConversion, TagBracketsAreStripped) {
  EXPECT_EQ(StripTagBrackets("<td><b>12.5"), "12.5");
  EXPECT_EQ(StripTagBrackets("12.5"), "12.5");
  EXPECT_EQ(StripTagBrackets("a>b>"), "");
}

TEST_F(TextConversion, TextFilesWithoutLineBreaksAreConvertedOnlyWhenTheUserAgrees) {
  test::TempFolder folder;
  std::string lines;
  for (int k = 0; k < 40; ++k) lines += "Zeile " + std::to_string(k) + ";M\xFC" "nchen\r";
  const std::string path = folder.Write("mac.txt", lines);

  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  sink.QueueReply(MessageResult::No);
  EXPECT_FALSE(CheckTextFileFormat(path));
  EXPECT_EQ(test::TempFolder::Read(path), lines);  // untouched
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, path + " hat ein ungültiges Format. Datei konvertieren?");
  EXPECT_EQ(sink.messages[0].caption, "Ungültiges Dateiformat");
  EXPECT_EQ(sink.messages[0].buttons, MessageButtons::YesNo);

  LanguageEnglish = 1;
  sink.QueueReply(MessageResult::Yes);
  EXPECT_TRUE(CheckTextFileFormat(path));
  EXPECT_EQ(sink.messages[1].text, path + " has an invalid format. Convert file?");
  EXPECT_EQ(sink.messages[1].caption, "Invalid file format");
  std::string converted = test::TempFolder::Read(path);
  EXPECT_EQ(converted.substr(0, 17), "Zeile 0;M\xFC" "nchen\r\n");
  EXPECT_EQ(converted.size(), lines.size() + 40);
  // Nothing is left beside the file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), std::filesystem::directory_iterator()),
            1);
  // Now the file reads, without a question.
  EXPECT_TRUE(CheckTextFileFormat(path));
  EXPECT_TRUE(CheckTextFileFormat(folder.File("missing.txt")));
  EXPECT_EQ(sink.messages.size(), 2u);
}

}  // namespace
}  // namespace kvx

namespace kvx {
namespace {

TEST(TextFileCheck, AFailedConversionLeavesTheFileAndSaysSo) {
  test::TempFolder folder;
  const std::string content(300, 'x');
  const std::string path = folder.Write("lang.txt", content);
  // Folders on every name the converted copy could take make it fail; they
  // are not the conversion's and stay.
  std::filesystem::create_directory(path + ".kvxtmp");
  for (int k = 1; k < 100; ++k) std::filesystem::create_directory(path + ".kvxtmp" + std::to_string(k));
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  LanguageEnglish = 0;
  EXPECT_FALSE(CheckTextFileFormat(path));
  EXPECT_EQ(test::TempFolder::Read(path), content);
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[1].text, path + " konnte nicht konvertiert werden. (cannot create a temporary file beside " +
                                       path + ") Die Datei bleibt, wie sie war.");
  EXPECT_EQ(sink.messages[1].icon, MessageIcon::Error);
  EXPECT_TRUE(std::filesystem::is_directory(path + ".kvxtmp"));
}

TEST_F(TextConversion, SmallTexts) {
  EXPECT_EQ(RemoveFirstDot("a.b.c"), "ab.c");
  EXPECT_EQ(RoundedHourText(23.7), "23");
  EXPECT_EQ(RoundedHourText(23.4), "23");
  EXPECT_EQ(RoundedHourText(22.5), "23");
  EXPECT_EQ(RoundedHourText(0.4), "0");
  EXPECT_EQ(NorthSouthText(0), " nördlich");
  EXPECT_EQ(NorthSouthText(-0.1), " südlich");
  LanguageEnglish = 1;
  EXPECT_EQ(NorthSouthText(5), " northern");
}

}  // namespace
}  // namespace kvx
