// Damaged two-line element sets: an epoch field that is not a plain
// YYDDD.DDDDDDDD number and a number field that is not finite are refused by
// the loader and by LoadTwoLineElements, and a resonant deep-space set is not integrated further than a century
// from its epoch (the damaged file of the fixtures made propagation hang).
#include <gtest/gtest.h>

#include <string>

#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "theories/sgp4.h"
#include "theories/tle.h"

namespace kvx {
namespace {

std::string WithChecksum(std::string line) {
  int sum = 0;
  for (std::size_t i = 0; i < 68; ++i) {
    if (line[i] >= '0' && line[i] <= '9') sum += line[i] - '0';
    if (line[i] == '-') sum += 1;
  }
  line.resize(68);
  return line + static_cast<char>('0' + sum % 10);
}

// Line 1 of a set with the given 14 characters in the epoch columns 19-32.
std::string Line1WithEpoch(const std::string& epoch) {
  return WithChecksum("1 41866U 16071A   " + epoch + " -.00000150  00000-0  00000-0 0  9990");
}

// A geostationary set (24-hour resonance) and a Molniya set (12-hour).
const std::string kGeoLine2 = "2 41866   0.0500  90.0000 0002000 180.0000  45.0000  1.00271000 27001";
const std::string kMolniyaLine1 = "1 40296U 14071A   24079.25000000  .00000120  00000-0  10000-3 0  9990";
const std::string kMolniyaLine2 = "2 40296  63.4000 120.5000 7200000 270.0000  30.0000  2.00607000 68004";

TEST(SatelliteBadInput, EpochFieldMustBeAPlainDayOfTheYear) {
  EXPECT_TRUE(TleEpochValid(Line1WithEpoch("24079.50000000")));
  EXPECT_TRUE(TleEpochValid(Line1WithEpoch("24001.00000000")));
  EXPECT_TRUE(TleEpochValid(Line1WithEpoch("24366.99999999")));
  EXPECT_TRUE(TleEpochValid(Line1WithEpoch(" 4079.5000000 ")));  // blanks read as zeros
  for (const char* bad : {"00000.0001e+15", "24000.50000000", "24367.00000000", "-4079.50000000",
                          "24079.5000e000", "2407x.50000000", "24079,50000000", "+4079.50000000"}) {
    EXPECT_FALSE(TleEpochValid(Line1WithEpoch(bad))) << bad;
    EXPECT_FALSE(TleEntryValid({Line1WithEpoch(bad), WithChecksum(kGeoLine2)})) << bad;
  }
  EXPECT_FALSE(TleEpochValid("1 41866U 16071A   24079.5"));  // line too short for the field
}

TEST(SatelliteBadInput, LoaderAndModelRefuseTheExponentEpochOfTheDamagedFile) {
  LanguageEnglish = 1;
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  const std::string path = std::string(KVX_FIXTURE_DIR) + "/tle_epoch_exponent_hang.tle";
  EXPECT_EQ(LoadTleFile(path, true), 0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "The format of the *.tle file ist probably wrong.");

  // The same lines put into the table directly: the model refuses them too.
  SatelliteTable[1] = {"1 26038U 00001A   00000.0001e+15  .00000000  00000-0  00000-0 0  9997",
                       "2 26038   0.0100  90.0000 0001000  90.0000 270.0000  1.00270000    00"};
  EXPECT_EQ(LoadTwoLineElements(1), kSatInvalidSet);
  TVectorXYZR r, v;
  EXPECT_EQ(SatellitePropagate(r, v, 2460389.0), kSatInvalidSet);
}

// A set with `text` written over the number field `field` (columns of
// tle.h), checksums made good again.
TTleEntry WithField(TTleNumberField field, const std::string& text) {
  struct Place {
    int line, column;
  };
  constexpr Place kPlaces[kTleNumberFieldCount] = {{1, 34}, {1, 45}, {1, 54}, {2, 9},  {2, 18},
                                                   {2, 27}, {2, 35}, {2, 44}, {2, 53}};
  const Place place = kPlaces[static_cast<int>(field)];
  std::string lines[2] = {kMolniyaLine1, kMolniyaLine2};
  lines[place.line - 1].replace(static_cast<std::size_t>(place.column - 1), text.size(), text);
  return {WithChecksum(lines[0]), WithChecksum(lines[1])};
}

// Every number field that the text reader can turn into a NaN or an
// infinity ("nan(1)", "infinity", a mantissa whose power of ten
// overflows) is refused by the loader's test and by LoadTwoLineElements,
// whose error names the field; the untouched set loads. Without the check a
// B* of "nan(1)" loaded and failed only in the propagation, as an
// eccentricity out of range.
TEST(SatelliteBadInput, NonFiniteNumberFieldsAreRefusedByName) {
  ASSERT_TRUE(TleEntryValid({kMolniyaLine1, kMolniyaLine2}));
  EXPECT_FALSE(TleNonFiniteField({kMolniyaLine1, kMolniyaLine2}));
  struct Case {
    TTleNumberField field;
    std::string text;
    const char* name;
    bool onlyFlaw;  // no "." the loader tests stands in the field
  };
  using F = TTleNumberField;
  const Case cases[] = {
      {F::MeanMotionRate, "nan(12345)", "first derivative of the mean motion", false},
      {F::MeanMotionSecondRate, "nan(1)", "second derivative of the mean motion", true},
      {F::Bstar, "nan(1)", "B*", true},
      {F::Bstar, "1e+308+9", "B*", true},  // 1e308 x 1e-5 x 1e9
      {F::Inclination, "infinity", "inclination", false},
      {F::Node, "nan(abc)", "right ascension of the ascending node", false},
      {F::Eccentricity, "nan(12)", "eccentricity", true},
      {F::ArgumentOfPerigee, "nan(123)", "argument of perigee", false},
      {F::MeanAnomaly, "infinity", "mean anomaly", false},
      {F::MeanMotion, "nan(123456)", "mean motion", false},
  };
  LanguageEnglish = 1;
  for (const Case& c : cases) {
    const TTleEntry set = WithField(c.field, c.text);
    ASSERT_EQ(TleNonFiniteField(set), c.field) << c.text;
    EXPECT_FALSE(TleEntryValid(set)) << c.text;
    if (c.onlyFlaw) {
      // Finite, the same set passes the loader's test.
      EXPECT_TRUE(TleEntryValid(WithField(c.field, std::string(c.text.size(), '0')))) << c.text;
    }
    SatelliteTable[1] = set;
    const TSatelliteError error = LoadTwoLineElements(1);
    EXPECT_EQ(error, NonFiniteFieldError(c.field)) << c.text;
    EXPECT_EQ(SatelliteErrorText(error),
              std::string("The element set is invalid: field \"") + c.name + "\" is not a finite number.");
    TVectorXYZR r, v;
    EXPECT_NE(SatellitePropagate(r, v, 2460389.0), kSatOk) << c.text;
  }
  LanguageEnglish = 0;
  EXPECT_EQ(SatelliteErrorText(NonFiniteFieldError(F::Bstar)),
            "Der Bahnelementsatz ist ungültig: Feld \"B*\" ist keine endliche Zahl.");
  SatelliteTable[1] = {kMolniyaLine1, kMolniyaLine2};
  EXPECT_EQ(LoadTwoLineElements(1), kSatOk);
}

TEST(SatelliteBadInput, ResonanceIsIntegratedAtMostACenturyFromTheEpoch) {
  const TTleEntry geo{Line1WithEpoch("24079.00000000"), WithChecksum(kGeoLine2)};
  ASSERT_TRUE(TleEntryValid(geo));
  for (const TTleEntry& set : {geo, TTleEntry{kMolniyaLine1, kMolniyaLine2}}) {
    SatelliteTable[1] = set;
    ASSERT_EQ(LoadTwoLineElements(1), kSatOk);
    ASSERT_EQ(SgpElements.deepSpace, 1);
    const double epoch = SgpElements.epochJulianDate;
    TVectorXYZR r, v;
    // Inside the span (both sides) the set is integrated (far out the drag
    // terms may still end it with their own error); beyond it, and at the
    // date the damaged epoch asked for (1e11 days away), it is refused at once.
    EXPECT_EQ(SatellitePropagate(r, v, epoch + 30.0), kSatOk);
    EXPECT_NE(SatellitePropagate(r, v, epoch + kSatResonanceSpanDays - 1.0), kSatOutsideSpan);
    EXPECT_NE(SatellitePropagate(r, v, epoch - kSatResonanceSpanDays + 1.0), kSatOutsideSpan);
    for (double days : {kSatResonanceSpanDays + 1.0, -kSatResonanceSpanDays - 1.0, 1.0e11, -1.0e11}) {
      EXPECT_EQ(SatellitePropagate(r, v, epoch + days), kSatOutsideSpan) << days;
      EXPECT_EQ(r.x, 0.0);
      EXPECT_EQ(v.x, 0.0);
    }
  }
  LanguageEnglish = 1;
  EXPECT_EQ(SatelliteErrorText(kSatOutsideSpan), "The date lies more than 100 years from the epoch of the element set.");
}

}  // namespace
}  // namespace kvx
