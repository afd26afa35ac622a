// Damaged two-line element sets: an epoch field that is not a plain
// YYDDD.DDDDDDDD number is refused by the loader and by LoadTwoLineElements,
// and a resonant deep-space set is not integrated further than a century
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
