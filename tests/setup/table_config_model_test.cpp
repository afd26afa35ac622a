#include "setup/table_config_model.h"

#include <gtest/gtest.h>

#include "core/quantity_headings.h"
#include "engine/column_catalogue.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "setup/column_sets.h"

namespace kvx {
namespace {

namespace cf = column_flag;

class TableConfigModelTest : public ::testing::Test {
 protected:
  TableConfigModelTest() : guard_(sink) {
    record = NewTableConfigRecord();
    for (std::size_t k = 0; k < kColumnTitleCount; ++k) record.ColumnTitles[k] = "s" + std::to_string(k);
  }
  RecordingMessageSink sink;
  ScopedMessageSink guard_;
  TTableConfigRecord record;
};

TEST_F(TableConfigModelTest, PreviewFollowsTableOrderEntriesAndEquinox) {
  ClearColumns(record.Flags);
  record.Flags[cf::kDateOnly] = 1;
  // Date only; Julian date; heliocentric l before geocentric lg; the second
  // equinox year on bytes 24/28; the two vector pairs each followed by a JD.
  for (std::size_t b : {cf::kJulianDate, cf::kHelioLongitude, cf::kGeoLongitude, cf::kHelioLongitudeSecondEquinox,
                        cf::kRightAscensionSecondEquinox, cf::kHelioEclipticPosition, cf::kElementSemiMajorAxis}) {
    record.Flags[b] = 1;
  }
  const auto all = PreviewHeadings(record, 0, 1950.4, false);
  EXPECT_EQ(all, (std::vector<std::string>{"s0", "s3", "s7", "s117", "s118", "s119", "s3", "s71950", "s11",
                                           "s161950", "s135"}));

  // The Sun has no heliocentric columns, no vectors and no elements.
  EXPECT_EQ(PreviewHeadings(record, 1, 2000, false), (std::vector<std::string>{"s0", "s3", "s11", "s162000"}));
  // Elements appear for a planet only with the main window's switch.
  const auto mars = PreviewHeadings(record, 4, 2000, false);
  const auto marsElements = PreviewHeadings(record, 4, 2000, true);
  EXPECT_EQ(marsElements.size(), mars.size() + 1);
  EXPECT_EQ(PreviewHeadings(record, 13, -4000, false).back(), "s135");  // integrated asteroid

  // Twilight and night lengths interleave; darkness gives four columns.
  ClearColumns(record.Flags);
  record.Flags[cf::kDateOnly] = 1;
  record.Flags[cf::kTwilight] = record.Flags[cf::kNightLengths] = record.Flags[cf::kDarkness] = 1;
  EXPECT_EQ(PreviewHeadings(record, 1, 2000, false),
            (std::vector<std::string>{"s0", "s37", "s38", "s43", "s39", "s40", "s44", "s41", "s42", "s45", "s197",
                                      "s197", "s197", "s197"}));
  EXPECT_EQ(PreviewHeadings(record, 10, 2000, false).size(), 5u);  // the Moon: date and darkness

  // Every flag on: the time column present, and each flag's columns once,
  // as many as the flag shows alone; two neighbouring flags may share a
  // column (the Julian date after a vector's position and velocity).
  const auto count = [this](std::initializer_list<std::size_t> on) {
    TTableConfigRecord r = record;
    ClearColumns(r.Flags);
    for (std::size_t flag : on) r.Flags[flag] = 1;
    return PreviewHeadings(r, 0, 2000, true).size();
  };
  const std::size_t none = count({});
  std::size_t columns = none;
  for (std::size_t flag = cf::kJulianDate; flag < kUsedColumnFlagCount; ++flag) {
    columns += count({flag}) - none;
    if (flag + 1 < kUsedColumnFlagCount) columns -= count({flag}) + count({flag + 1}) - none - count({flag, flag + 1});
  }
  SelectAllColumns(record.Flags);
  const auto every = PreviewHeadings(record, 0, 2000, true);
  EXPECT_EQ(every[1], "s1");
  EXPECT_EQ(every.size(), columns);
}

TEST_F(TableConfigModelTest, GroupsPresetsUndoAndCommit) {
  TTableConfigModel model(record, 0.0, 1, 0, 3);
  EXPECT_EQ(model.EquinoxYear, 2000.0);

  model.Working().Flags[cf::kSummaryTopocentric] = 1;
  model.SetGroup(ColumnGroup::Coordinates, false);
  EXPECT_EQ(model.Working().Flags[cf::kTopoDistanceMillionKm], 1);  // follows the topocentric summary
  EXPECT_EQ(model.Working().Flags[cf::kHelioLongitude], 0);
  EXPECT_EQ(model.Working().Flags[cf::kSunEquatorialJ2000], 0);
  model.SetGroup(ColumnGroup::Elements, true);
  EXPECT_EQ(model.Working().Flags[cf::kSummaryElements], 1);
  EXPECT_EQ(model.Working().Flags[cf::kGaussVectors], 1);

  model.Commit();
  const TTableConfigRecord beforePreset = model.Working();
  model.ApplyPreset(ColumnPreset::B);
  EXPECT_NE(model.Working().Flags, beforePreset.Flags);
  EXPECT_TRUE(model.UndoAvailable());
  model.Undo();
  EXPECT_EQ(model.Working(), beforePreset);  // summary bytes included
  EXPECT_FALSE(model.UndoAvailable());

  model.SelectAll();
  EXPECT_EQ(model.JulianDateSwitch, 1);
  EXPECT_EQ(model.SiderealSwitch, 1);
  model.ClearAll();
  EXPECT_EQ(model.JulianDateSwitch, 0);
  model.Working().Flags[cf::kMagnitude] = 1;
  std::string text = "1950";
  ASSERT_TRUE(model.Accept(text));
  EXPECT_EQ(model.Result().Flags[cf::kSummaryPhysical], 1);  // recomputed on OK

  int kind = 0;
  double centuries = 9;
  TTableConfigRecord out;
  std::uint8_t jd = 7, sidereal = 7;
  model.CopyBack(kind, centuries, out, jd, sidereal);
  EXPECT_EQ(kind, 3);
  EXPECT_DOUBLE_EQ(centuries, -0.5);
  EXPECT_EQ(out, model.Result());
  EXPECT_EQ(jd, 0);
}

TEST_F(TableConfigModelTest, EquinoxEntry) {
  IntlSeparators.Decimal = ',';
  TTableConfigModel model(record, 0.5, 0, 0, 0);
  EXPECT_EQ(model.EquinoxText(), "2050,00");
  for (const char* good : {"10000", "-4000", "1950,5"}) {
    std::string text = good;
    EXPECT_TRUE(model.CheckEquinoxText(text)) << good;
  }
  EXPECT_EQ(model.EquinoxYear, 1950.5);
  std::string blank = "  ";
  EXPECT_TRUE(model.CheckEquinoxText(blank));  // empty keeps the year
  EXPECT_EQ(model.EquinoxYear, 1950.5);
  EXPECT_TRUE(sink.messages.empty());
  for (const char* bad : {"10000,01", "zwei", "-4000.5", "nan", "1e9999"}) {
    std::string text = bad;
    EXPECT_FALSE(model.CheckEquinoxText(text)) << bad;
    EXPECT_EQ(text, "1950,50");
    EXPECT_TRUE(model.Error);
  }
  ASSERT_EQ(sink.messages.size(), 5u);
  EXPECT_EQ(sink.messages[0].text, "Benutzerdefiniertes Äquinoktium muß zwischen -4000 und 10000 liegen.");
  EXPECT_EQ(sink.messages[0].caption, "Fehler");
  std::string bad = "x";
  EXPECT_FALSE(model.Accept(bad));
  EXPECT_EQ(model.EquinoxYear, 1950.5);
  IntlSeparators.Decimal = '.';
}

// The preview of the configuration dialog keeps its own list of which
// entries show a flag's columns; the table writers decide from the column
// catalogue. Both must agree for every flag and every body of the list, but
// for the differences listed here, which are as the program has always shown
// them: the Moon table writes its vectors, distances, light time and
// darkness through its own block, not through catalogue rows; the preview
// shows the Moon's topocentric phase angle beside the phase angle of every
// body and the polar diameter only for Jupiter and Saturn; it shows no
// magnitude for the Sun and Moon, no horizontal parallax for the Sun and no
// axis position angle or topocentric bright-limb angle for the Moon.
// A new column must keep both in step.
TEST_F(TableConfigModelTest, PreviewShowsAFlagForTheBodiesTheCatalogueWritesItFor) {
  // Preview entries 1 .. 12 and the body index of each (2, 3 Mercury and
  // Venus; no Earth).
  constexpr int kBodyOfEntry[] = {-1, 0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  struct Difference {
    std::size_t flag;
    std::vector<int> previewedOnly, writtenOnly;
  };
  const std::vector<Difference> known = {
      {cf::kGeoDistanceMillionKm, {10}, {}},
      {cf::kLightTime, {10}, {}},
      {cf::kTopoDistanceMillionKm, {10}, {}},
      {cf::kMoonTopoBrightLimbAngle, {}, {10}},
      {cf::kMoonTopoPhaseAngle, {2, 3, 4, 5, 6, 7, 8, 9, 11, 12}, {}},
      {cf::kMagnitude, {}, {1, 10}},
      {cf::kAxisPositionAngle, {}, {10}},
      {cf::kPolarDiameter, {}, {2, 3, 4, 7, 8, 9}},
      {cf::kSunPositionAngle, {10}, {}},
      {cf::kSubsolarLatitude, {10}, {}},
      {cf::kSubsolarLongitude, {10}, {}},
      {cf::kDefectOfIllumination, {10}, {}},
      {cf::kHorizontalParallax, {}, {1}},
      {cf::kMoonEclipticPosition, {10}, {}},
      {cf::kMoonHeliocentricPosition, {10}, {}},
      {cf::kMoonEclipticPositionJ2000, {10}, {}},
      {cf::kMoonDistanceKm, {10}, {}},
      {cf::kDarkness, {10}, {}},
      {cf::kDarknessSum, {10}, {}},
  };
  for (std::size_t flag = cf::kJulianDate; flag < kUsedColumnFlagCount; ++flag) {
    Difference found{flag, {}, {}};
    for (int entry = 1; entry <= 12; ++entry) {
      ClearColumns(record.Flags);
      record.Flags[cf::kDateOnly] = 1;
      const std::size_t base = PreviewHeadings(record, entry, 2000, false).size();
      record.Flags[flag] = 1;
      const bool previewed = PreviewHeadings(record, entry, 2000, false).size() > base;
      bool written = false;
      for (const TColumnDescriptor& d : ColumnCatalogue()) {
        written = written || (d.Flag == flag && (d.Bodies & BodyBit(kBodyOfEntry[entry])) != 0);
      }
      if (previewed && !written) found.previewedOnly.push_back(entry);
      if (written && !previewed) found.writtenOnly.push_back(entry);
    }
    Difference expected{flag, {}, {}};
    for (const Difference& d : known) {
      if (d.flag == flag) expected = d;
    }
    EXPECT_EQ(found.previewedOnly, expected.previewedOnly) << "flag " << flag << ": entries previewed only";
    EXPECT_EQ(found.writtenOnly, expected.writtenOnly) << "flag " << flag << ": entries written only";
  }
}

}  // namespace
}  // namespace kvx
