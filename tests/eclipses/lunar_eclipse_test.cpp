#include "eclipses/lunar_eclipse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/time_scales.h"
#include "engine/table_sink.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"
#include "theories/theory_types.h"

namespace kvx {
namespace {

// Lunar eclipses against the Swiss Ephemeris (make_lunar_eclipse_reference.py):
// every eclipse of 1900-2100, compared in dynamical time (the reference's
// UT plus its own Delta T) so that the two Delta T models do not enter.
//
// Tolerances (measured worst values in brackets):
constexpr double kMaximumMinutes = 1.5;       // greatest eclipse           [1.2 min]
constexpr double kUmbralMagnitude = 0.015;    // attr[0]                    [0.011]
constexpr double kPenumbralMagnitude = 0.04;  // attr[1]                    [0.031]
// Half-durations from the reference's contacts. The series' shadow is a
// little larger than the reference's, which lengthens every phase; most of
// all a grazing one, whose half-duration goes as sqrt(h^2 - gamma^2).
constexpr double kLongPhaseMinutes = 60.0;             // phases of an hour or more:
constexpr double kHalfDurationMinutes = 3.5;           //   [3.3 min]
constexpr double kGrazingHalfDurationMinutes = 16.0;   // shorter ones [14.9 min]
constexpr double kAltitudeDegrees = 0.05;     // swe_azalt, Moon and Sun    [0.02]

TSearchContext InternalContext() {
  TSearchContext context;
  context.Selection.bytes[0] = kPlanetTheoryInternal;
  context.Selection.bytes[1] = 0;
  return context;
}

// Observer at an instant (MJD of UT); longitude east negative.
TObserverRecord ObserverAt(double mjd, double latitude = 52.5, double longitude = -13.4, double deltaT = 69.0,
                           std::uint8_t autoDeltaT = 0) {
  TObserverRecord r;
  r.Latitude = latitude;
  r.Longitude = longitude;
  r.DeltaTSeconds = deltaT;
  r.AutoDeltaT = autoDeltaT;
  r.Pressure = 1010;
  r.Temperature = 10;
  r.Mjd = mjd;
  UTToLocalTime(r);
  return r;
}

double Mjd(int year, int month, int day) { return CalendarDateToMjd(day, month, year, 0.0); }

struct Reference {
  double jde, umbral, penumbral;
  int kind;  // 0 penumbral, 1 partial, 2 total
  double penumbralHalf, partialHalf, totalHalf;  // minutes, 0 when absent
};

std::vector<Reference> ReadReference() {
  const test::FixtureTable t = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/lunar_eclipses_swe.tsv");
  std::vector<Reference> out;
  auto half = [&](std::size_t i, const char* a, const char* b) {
    const double x = t.Number(i, a), y = t.Number(i, b);
    return x > 0 && y > 0 ? (y - x) * 720.0 : 0.0;
  };
  for (std::size_t i = 0; i < t.Rows(); ++i) {
    out.push_back({t.Number(i, "jd_max_ut") + t.Number(i, "delta_t") / 86400.0, t.Number(i, "umbral_mag"),
                   t.Number(i, "penumbral_mag"), static_cast<int>(t.Number(i, "kind")), half(i, "p1", "p4"),
                   half(i, "u1", "u4"), half(i, "u2", "u3")});
  }
  return out;
}

class LunarEclipses : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetProgressReporter(&progress);
    LanguageEnglish = 0;
    AbortRequested = 0;
  }
  void TearDown() override {
    SetProgressReporter(previous_);
    LanguageEnglish = 0;
    AbortRequested = 0;
  }
  RecordingProgress progress;
  RecordingMessageSink messages;
  ScopedMessageSink scope{messages};

 private:
  ProgressReporter* previous_ = nullptr;
};

// The search stepped through 1900-2100 finds the reference's eclipses with
// their kinds, times, magnitudes and half-durations. Penumbral eclipses at
// the threshold, which the larger shadow of the series finds and the
// reference does not (or the reverse), are named here.
TEST_F(LunarEclipses, AgreeWithSwissEphemeris1900To2100) {
  const std::vector<Reference> reference = ReadReference();
  ASSERT_GT(reference.size(), 400u);
  const TSearchContext context = InternalContext();
  // Maxima (JDE) of the threshold cases, found by one list only.
  const std::vector<double> onlyHere = {2457619};  // 2016 Aug 18, penumbral magnitude 0.02
  TObserverRecord r = ObserverAt(Mjd(1900, 1, 1));
  std::size_t next = 0;
  double worstTime = 0, worstUmbral = 0, worstPenumbral = 0, worstHalf = 0, worstGrazingHalf = 0;
  std::vector<double> unmatchedHere;
  int matched = 0;
  while (true) {
    TLunarEclipseList list;
    double umbra = 0, penumbra = 0;
    ASSERT_EQ(FindLunarEclipse(context, list, r, false, umbra, penumbra), 2);
    const TLunarEclipseElements& e = list.Eclipse;
    if (e.Jde > reference.back().jde + 1) break;
    while (next < reference.size() && reference[next].jde < e.Jde - 1) {
      ADD_FAILURE() << "reference eclipse missing at JDE " << reference[next].jde;
      ++next;
    }
    if (next < reference.size() && std::fabs(reference[next].jde - e.Jde) < 1) {
      const Reference& ref = reference[next++];
      ++matched;
      const bool total = e.TotalHalfMinutes > 0;
      const int kind = e.Kind == kLunarEclipsePenumbral ? 0 : total ? 2 : 1;
      EXPECT_EQ(kind, ref.kind) << "JDE " << e.Jde;
      worstTime = std::max(worstTime, std::fabs(e.Jde - ref.jde) * 1440.0);
      worstPenumbral = std::max(worstPenumbral, std::fabs(e.PenumbralMagnitude - ref.penumbral));
      if (ref.kind > 0) worstUmbral = std::max(worstUmbral, std::fabs(e.UmbralMagnitude - ref.umbral));
      auto half = [&](double here, double there) {
        double& worst = there >= kLongPhaseMinutes ? worstHalf : worstGrazingHalf;
        worst = std::max(worst, std::fabs(here - there));
      };
      half(e.PenumbralHalfMinutes, ref.penumbralHalf);
      if (ref.kind > 0) half(e.PartialHalfMinutes, ref.partialHalf);
      if (ref.kind > 1) half(e.TotalHalfMinutes, ref.totalHalf);
    } else {
      unmatchedHere.push_back(std::round(e.Jde));
    }
    r.Mjd += 20;
  }
  EXPECT_EQ(next, reference.size());
  EXPECT_EQ(unmatchedHere, onlyHere);
  EXPECT_LT(worstTime, kMaximumMinutes);
  EXPECT_LT(worstUmbral, kUmbralMagnitude);
  EXPECT_LT(worstPenumbral, kPenumbralMagnitude);
  EXPECT_LT(worstHalf, kHalfDurationMinutes);
  EXPECT_LT(worstGrazingHalf, kGrazingHalfDurationMinutes);
}

// A search from 1 January finds the first reference eclipse after 22
// December of the year before (the ten-day look-back), in every year of
// the century before 2000, where the lunation count is negative and must
// be rounded down. Also the greatest eclipse in UT: the eclipse's own
// Delta T with AutoDeltaT (a stale value in the record is replaced), the
// record's Delta T otherwise.
TEST_F(LunarEclipses, SearchStartsAtTheRightLunationAndReportsUT) {
  const std::vector<Reference> reference = ReadReference();
  const TSearchContext context = InternalContext();
  for (int year = 1900; year <= 2030; ++year) {
    const double start = Mjd(year, 1, 1);
    const double lookBackJde = MjdToJd(start) - 10;
    const auto first = std::find_if(reference.begin(), reference.end(),
                                    [&](const Reference& ref) { return ref.jde > lookBackJde + 0.01; });
    ASSERT_NE(first, reference.end());
    TObserverRecord r = ObserverAt(start, 52.5, -13.4, 0.0, 1);
    TLunarEclipseList list;
    double umbra = 0, penumbra = 0;
    FindLunarEclipse(context, list, r, false, umbra, penumbra);
    EXPECT_NEAR(list.Eclipse.Jde, first->jde, 0.01) << year;
    // UT of greatest eclipse with Delta T of the eclipse's date.
    EXPECT_NEAR(r.DeltaTSeconds, DeltaT(list.Eclipse.Jde), 1e-3) << year;
    EXPECT_NEAR(r.Mjd, JdToMjd(list.Eclipse.Jde) - r.DeltaTSeconds / 86400.0, 1e-9) << year;
  }
  // A fixed Delta T stays as the record gives it.
  TObserverRecord fixed = ObserverAt(Mjd(2025, 9, 1), 52.5, -13.4, 600.0, 0);
  TLunarEclipseList list;
  double umbra = 0, penumbra = 0;
  EXPECT_EQ(FindLunarEclipse(context, list, fixed, true, umbra, penumbra), 1);
  EXPECT_EQ(fixed.DeltaTSeconds, 600.0);
  EXPECT_NEAR(fixed.Mjd, JdToMjd(list.Eclipse.Jde) - 600.0 / 86400.0, 1e-9);
  // The maximum line lies at the record's instant; lines in time order.
  ASSERT_EQ(list.Lines.size(), 8u);
  EXPECT_NEAR(list.Lines[3].Observer.Mjd, fixed.Mjd, 1e-6);
  for (std::size_t i = 1; i < 7; ++i) EXPECT_LT(list.Lines[i - 1].Observer.Mjd, list.Lines[i].Observer.Mjd);
  EXPECT_EQ(umbra, list.Eclipse.UmbraRadius);
  EXPECT_EQ(penumbra, list.Eclipse.PenumbraRadius);
}

// The event lines' altitudes against swe_azalt at the reference contacts of
// three eclipses, for a place in daylight, one in twilight and one at night:
// true altitudes, and refracted ones where the body stands above 3 degrees
// (the two refraction formulas part nearer the horizon).
TEST_F(LunarEclipses, EventAltitudesAgreeWithSwissEphemeris) {
  const test::FixtureTable t =
      test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/lunar_eclipse_altitudes_swe.tsv");
  ASSERT_EQ(t.Rows(), 63u);
  const TSearchContext context = InternalContext();
  const TTableConfigRecord config;
  double worst = 0;
  int above = 0, below = 0;
  for (std::size_t i = 0; i < t.Rows(); ++i) {
    for (std::uint8_t refraction : {0, 1}) {
      TObserverRecord r = ObserverAt(JdToMjd(t.Number(i, "jd_ut")), t.Number(i, "lat"), -t.Number(i, "lon_east"),
                                     0.0, 1);
      r.RefractionOn = refraction;
      TEclipseSky sky(context, config, r);
      double moon = 0, sun = 0;
      sky.At(r, moon, sun);
      const double moonTrue = t.Number(i, "moon_alt"), sunTrue = t.Number(i, "sun_alt");
      if (refraction == 0 || moonTrue > 3) {
        worst = std::max(worst, std::fabs(moon - t.Number(i, refraction ? "moon_alt_refr" : "moon_alt")));
      }
      if (refraction == 0 || sunTrue > 3) {
        worst = std::max(worst, std::fabs(sun - t.Number(i, refraction ? "sun_alt_refr" : "sun_alt")));
      }
      (moonTrue > 0 ? above : below) += refraction;
    }
  }
  EXPECT_LT(worst, kAltitudeDegrees);
  EXPECT_GT(above, 10);  // the places see both cases
  EXPECT_GT(below, 10);
}

// --- the calendar ---------------------------------------------------------------------

// The calendar written into a grid, its rows as label texts.
struct Calendar {
  tmystringgrid grid;
  int written = 0;
  std::vector<std::string> Labels() const {
    std::vector<std::string> out;
    for (int row = 1; row < grid.RowCount(); ++row) out.push_back(grid.Cells(1, row));
    return out;
  }
  int Count(const std::string& label) const {
    int n = 0;
    for (const std::string& l : Labels()) n += l == label ? 1 : 0;
    return n;
  }
};

Calendar RunCalendar(double startMjd, double endMjd, TLunarEclipseCriteria criteria, double latitude = 52.5,
                     double longitude = -13.4, bool* cancelled = nullptr) {
  Calendar c;
  const TTableOutputSettings settings;
  TGridSink sink(c.grid, settings);
  TTableConfigRecord config;
  for (std::size_t k = 0; k < kColumnTitleCount; ++k) {
    config.ColumnTitles[k].assign(1, 't');
    config.ColumnTitles[k] += std::to_string(k);
  }
  c.written = LunarEclipseCalendar(InternalContext(), config, ObserverAt(startMjd, latitude, longitude),
                                   ObserverAt(endMjd, latitude, longitude), criteria, sink, cancelled);
  return c;
}

constexpr const char* kMaximum = "Maximum der Finsternis: ";

// 2020 held four penumbral eclipses (Jan 10, Jun 5, Jul 5 - one lunation
// apart - and Nov 30): all four with kind 0, none with kind 1. The period
// bounds the list: from Jan 15 (the look-back would reach Jan 10) to Nov 29
// (the next search finds Nov 30) gives Jun 5 and Jul 5 only.
TEST_F(LunarEclipses, CalendarListsTheEclipsesOfThePeriodByKind) {
  const Calendar all = RunCalendar(Mjd(2020, 1, 1), Mjd(2020, 12, 31), {});
  EXPECT_EQ(all.written, 4);
  EXPECT_EQ(all.Count(kMaximum), 4);
  EXPECT_EQ(all.Labels().front(), "Mondfinsternis");
  EXPECT_EQ(all.grid.Cells(3, 1), "t1");
  EXPECT_EQ(all.grid.Cells(4, 1), "t47");
  EXPECT_EQ(all.grid.Cells(5, 1), "t158");
  // Four lines per eclipse and a blank row between eclipses: 1 + 4 x 5 - 1.
  EXPECT_EQ(all.grid.RowCount(), 1 + 20);
  EXPECT_EQ(all.grid.Cells(1, 6), "");
  EXPECT_EQ(all.grid.Cells(1, 7), "Erster Kontakt mit dem Halbschatten: ");

  const Calendar noPenumbral = RunCalendar(Mjd(2020, 1, 1), Mjd(2020, 12, 31), {1, 0, 0});
  EXPECT_EQ(noPenumbral.written, 0);
  EXPECT_EQ(noPenumbral.grid.Cells(1, 1), "Keine Finsternisse gefunden");
  EXPECT_EQ(noPenumbral.grid.RowCount(), 2);

  const Calendar inside = RunCalendar(Mjd(2020, 1, 15), Mjd(2020, 11, 29), {});
  ASSERT_EQ(inside.written, 2);
  EXPECT_EQ(inside.grid.Cells(2, 2), "05-06-2020");
  EXPECT_EQ(inside.grid.Cells(2, 7), "05-07-2020");

  // 2013-2015: a partial and two penumbral eclipses, then four totals. Kind
  // 2 keeps the totals (eight lines each), with one blank row between them
  // and none for the skipped ones.
  const Calendar totals = RunCalendar(Mjd(2013, 1, 1), Mjd(2015, 12, 31), {2, 0, 0});
  EXPECT_EQ(totals.written, 4);
  EXPECT_EQ(totals.grid.RowCount(), 1 + 4 * 9);
  EXPECT_EQ(totals.Count("Anfang der totalen Phase: "), 4);
  EXPECT_EQ(totals.grid.Cells(1, 11), "Erster Kontakt mit dem Halbschatten: ");
}

// The altitude condition: with 10 degrees an eclipse is listed only when
// the Moon stands above 10 degrees on one of its event lines. With -5
// degrees an eclipse below the horizon all the time is not listed: the
// magnitude line's altitude of 0 does not count.
TEST_F(LunarEclipses, CalendarAltitudeConditionUsesTheEventLines) {
  const TSearchContext context = InternalContext();
  for (const std::int32_t limit : {10, -5}) {
    const Calendar kept = RunCalendar(Mjd(2014, 1, 1), Mjd(2019, 12, 31), {0, 1, limit});
    // Every eclipse of the period, checked line by line.
    int expected = 0, total = 0;
    TObserverRecord r = ObserverAt(Mjd(2014, 1, 1));
    while (true) {
      TLunarEclipseList list;
      double umbra = 0, penumbra = 0;
      FindLunarEclipse(context, list, r, true, umbra, penumbra);
      if (r.Mjd > Mjd(2019, 12, 31)) break;
      bool above = false;
      for (const auto& line : list.Lines) above = above || (!line.IsMagnitude && line.MoonAltitude > limit);
      expected += above ? 1 : 0;
      ++total;
      r.Mjd += 20;
    }
    EXPECT_EQ(kept.written, expected) << limit;
    EXPECT_GT(expected, 3) << limit;
    EXPECT_LT(expected, total) << limit;  // some are refused
  }
}

// A cancel during the search writes the eclipses found before it; the end
// before the start writes only the message.
TEST_F(LunarEclipses, CalendarCancelWritesWhatWasFound) {
  struct CancelAt : RecordingProgress {
    void Step(int position) override {
      RecordingProgress::Step(position);
      if (position > 200) AbortRequested = 1;
    }
  } cancel;
  SetProgressReporter(&cancel);
  bool cancelled = false;
  const Calendar c = RunCalendar(Mjd(2000, 1, 1), Mjd(2010, 1, 1), {}, 52.5, -13.4, &cancelled);
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(AbortRequested, 0);
  // The search whose progress passed day 200 found 2001 January 9; with
  // 2000 January 21 and July 16 before it, three eclipses are written.
  EXPECT_EQ(c.written, 3);
  EXPECT_EQ(c.Count(kMaximum), 3);
  std::string lastMaximum;
  for (int row = 1; row < c.grid.RowCount(); ++row)
    if (c.grid.Cells(1, row) == kMaximum) lastMaximum = c.grid.Cells(2, row);
  EXPECT_EQ(lastMaximum.substr(0, 10), "09-01-2001");
  EXPECT_EQ(cancel.ends, 1);
  SetProgressReporter(&progress);
  AbortRequested = 0;
  const Calendar reversed = RunCalendar(Mjd(2010, 1, 1), Mjd(2000, 1, 1), {});
  EXPECT_EQ(reversed.written, 0);
  EXPECT_EQ(reversed.grid.Cells(1, 1), "Keine Finsternisse gefunden");
}

}  // namespace
}  // namespace kvx
