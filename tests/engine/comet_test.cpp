#include "engine/comet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "chain_test_support.h"
#include "core/element_records.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "engine/orbit_integration.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"
#include "support/table_request.h"

namespace kvx {
namespace {

using test::ObserverAt;
using test::SeparationArcsec;

TCometElements Encke() {
  TCometElements e;
  e.Eccentricity = 0.8502196;
  e.PerihelionDistance = 2.2091404 * (1 - e.Eccentricity);
  e.Inclination = 11.94524;
  e.Node = 334.75006;
  e.Perihelion = 186.23352;
  e.PerihelionTime = CalendarDateToJd(28, 10, 1990, 0.54502 * 24.0);
  e.Equinox = 2000;
  e.Epoch = e.PerihelionTime;
  e.H = 9.8;
  e.G = 2.0;
  e.Name = "2P/Encke";
  return e;
}

// Meeus, Astronomical Algorithms ch. 33: Encke at 1990 Oct 6.0 TD,
// astrometric J2000 10h34m14.2s +19d09'31" (a place without nutation and
// aberration: the single-position object computes without them). Tolerance:
// the example's last digits, 0.15 s and 1".
TEST(Comet, MeeusEnckeThroughTheCometObject) {
  const double deltaT = 56.86;
  const TObserverRecord observer = ObserverAt(CalendarDateToJd(6, 10, 1990, 0) - deltaT / 86400.0, deltaT);
  TKomet comet(TBodySettings{}, TTheorySelection{}, 0, TTableConfigRecord{}, Encke(), observer, {1e-10L, -1, 10});
  comet.rechnen(TComputeSettingsBlock{});
  EXPECT_EQ(comet.LastRoutine, CometOrbitRoutine::Elliptic);
  EXPECT_NEAR(comet.Result.SecondRightAscension / 15.0 * 3600.0, 10 * 3600 + 34 * 60 + 14.2, 0.15);
  EXPECT_NEAR(comet.Result.SecondDeclination * 3600.0, 19 * 3600 + 9 * 60 + 31, 1.0);
  EXPECT_EQ(comet.BodyIndex, kBodyIndexComet);
}

// Four comets (e = 0.5, 0.95, 1.0, 1.2) a year around perihelion against
// PyEphem (make_comet_ephem.py): apparent RA/Dec of date within 2" and the
// comet-law magnitude within 0.01 mag (PyEphem keeps the magnitude to
// 0.01). Each orbit routine is met on the way.
TEST(Comet, ApparentPlacesAndMagnitudesAgreeWithPyEphem) {
  const test::FixtureTable table = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/comet_ephem.tsv");
  ASSERT_GT(table.Rows(), 150u);
  bool seen[4] = {};
  double worst = 0;
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    TCometElements e;
    e.PerihelionDistance = table.Number(row, "q");
    e.Eccentricity = table.Number(row, "e");
    e.Inclination = table.Number(row, "i");
    e.Node = table.Number(row, "node");
    e.Perihelion = table.Number(row, "peri");
    e.PerihelionTime = table.Number(row, "T");
    e.Equinox = 2000;
    e.H = table.Number(row, "H");
    e.G = table.Number(row, "G");
    e.Name = table.text[row][0];
    const TObserverRecord observer = ObserverAt(table.Number(row, "jd_ut"), table.Number(row, "deltaT"));
    TKomet comet(TBodySettings{}, TTheorySelection{}, 0, TTableConfigRecord{}, e, observer, {1e-10L, -1, 10});
    comet.initialisieren(TBodySettings{}, TTheorySelection{}, TTableConfigRecord{}, e, observer, {1e-10L, -1, 10});
    comet.rechnen(TComputeSettingsBlock{});
    seen[static_cast<int>(comet.LastRoutine)] = true;
    const double separation = SeparationArcsec(comet.Result.Position.RightAscension, comet.Result.Position.Declination,
                                               table.Number(row, "ra_deg"), table.Number(row, "dec_deg"));
    worst = std::max(worst, separation);
    EXPECT_LT(separation, 2.0) << e.Name << " row " << row;
    EXPECT_NEAR(comet.Result.Physical.magnitude, table.Number(row, "mag"), 0.01) << e.Name << " row " << row;
  }
  for (bool s : seen) EXPECT_TRUE(s);
  RecordProperty("worst_arcsec", std::to_string(worst));
}

// The routine each case selects, and the hyperbola far from perihelion:
// its anomaly of 360 degrees is not perihelion.
TEST(Comet, OrbitRoutineChoice) {
  const double T = 2460000.5;
  auto at = [&](double q, double e, double anomaly) {
    const double a = e == 1.0 ? q : std::fabs(q / (1 - e));
    return CometOrbitPlace(q, e, T, T + anomaly / (kGaussDegreesPerDay / (a * std::sqrt(a))));
  };
  EXPECT_EQ(at(1.0, 1.0, 200).Routine, CometOrbitRoutine::Parabolic);
  EXPECT_EQ(at(1.0, 1.0, 200).SemiMajorAxis, 1.0);
  EXPECT_EQ(at(0.5, 0.95, 3).Routine, CometOrbitRoutine::NearParabolic);
  EXPECT_EQ(at(0.5, 0.95, -3).Routine, CometOrbitRoutine::NearParabolic);  // M' = 357
  EXPECT_EQ(at(0.5, 0.95, 6).Routine, CometOrbitRoutine::Elliptic);
  const TCometOrbitPlace hyperbola = at(0.4, 1.2, 100);
  EXPECT_EQ(hyperbola.Routine, CometOrbitRoutine::Hyperbolic);
  EXPECT_DOUBLE_EQ(hyperbola.SemiMajorAxis, 2.0);
  EXPECT_EQ(at(0.5, 1.05, 360.5).Routine, CometOrbitRoutine::Hyperbolic);
  EXPECT_EQ(at(0.5, 1.05, 2).Routine, CometOrbitRoutine::NearParabolic);

  // Both routines give the same place where the choice switches.
  const TCometOrbitPlace near = at(0.5, 0.95, 4.999);
  double x = 0, y = 0, vx = 0, vy = 0;
  EllipticOrbitPosition(x, y, vx, vy, near.MeanAnomaly, near.SemiMajorAxis, 0.95);
  EXPECT_NEAR(near.X, x, 1e-8);
  EXPECT_NEAR(near.Y, y, 1e-8);
}

TEST(Comet, MagnitudeLaw) {
  EXPECT_DOUBLE_EQ(CometMagnitude(6.0, 0.0, 2.0, 3.0), 6.0 + 5 * std::log10(2.0));
  EXPECT_NEAR(CometMagnitude(6.0, 4.0, 0.5, 2.0), 6.0 + 5 * std::log10(0.5) + 10 * std::log10(2.0), 1e-12);
  EXPECT_TRUE(std::isnan(CometMagnitude(6.0, 4.0, 0.0, 1.0)));
  EXPECT_TRUE(std::isnan(CometMagnitude(6.0, 4.0, 1.0, 0.0)));
}

// The 124-byte record: offsets, round trip, the name cut at a character.
TEST(Comet, ElementRecordCodec) {
  TCometElements e = Encke();
  e.Name = std::string(39, 'x') + "äöü";
  const TCometElementRecordBytes bytes = EncodeCometElementRecord(e);
  double q = 0;
  std::memcpy(&q, bytes.data(), 8);
  EXPECT_EQ(q, e.PerihelionDistance);
  double t = 0;
  std::memcpy(&t, bytes.data() + 48, 8);
  EXPECT_EQ(t, e.PerihelionTime);
  EXPECT_EQ(bytes[80], 40);
  EXPECT_EQ(bytes[121], 0);
  const TCometElements back = DecodeCometElementRecord(bytes);
  EXPECT_EQ(back.Name, std::string(39, 'x') + "ä");
  EXPECT_EQ(back.Epoch, e.Epoch);
  EXPECT_EQ(back.G, e.G);

  TKomet comet(TBodySettings{}, TTheorySelection{}, 0, TTableConfigRecord{}, e, TObserverRecord{}, {1e-10L, -1, 10});
  EXPECT_EQ(comet.Name, std::string(39, 'x') + "ä");
  EXPECT_EQ(comet.Epoch, e.PerihelionTime);
  EXPECT_EQ(comet.PerihelionDistance, e.PerihelionDistance);
}

TTableStep Daily() { return TTableStep{1, 0, 1}; }

// A table of the comet: the mean-anomaly field holds M', the rows follow
// the single object; unusable elements give one message and no row.
TEST(Comet, TableRowsAndRefusals) {
  RecordingProgress progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  RecordingMessageSink messages;
  ScopedMessageSink scope(messages);
  AbortRequested = 0;
  const TObserverRecord start = ObserverAt(CalendarDateToJd(1, 10, 1990, 0), 57);
  const TObserverRecord end = ObserverAt(CalendarDateToJd(10, 10, 1990, 0), 57);
  const TTableRequest request = test::TableRequest(1, TTheorySelection{}, TTableConfigRecord{}, start, end, Daily());
  TKometeph table(request, nullptr, Encke());
  table.initialisieren(request, Encke());
  EXPECT_EQ(table.ProgressCaption, "Calculating ephemeris of the Comet");
  table.schleife(TComputeSettingsBlock{}, 0, 1);
  ASSERT_EQ(table.Rows, 10);
  const TEphemerisResultRecord& row = RowStore.Row(5);
  EXPECT_NEAR(row.MeanAnomaly, Mod360((MjdToJd(start.Mjd + 5 + 57 / 86400.0) - Encke().PerihelionTime) *
                                      kGaussDegreesPerDay / std::pow(2.2091404, 1.5)),
              1e-6);
  EXPECT_TRUE(messages.messages.empty());

  for (int bad = 0; bad < 3; ++bad) {
    TCometElements e = Encke();
    if (bad == 0) e.PerihelionDistance = 0;
    if (bad == 1) e.Eccentricity = -0.1;
    if (bad == 2) e.Node = std::numeric_limits<double>::infinity();
    messages.messages.clear();
    table.initialisieren(test::TableRequest(1, TTheorySelection{}, TTableConfigRecord{}, start, end, Daily()), e);
    table.schleife(TComputeSettingsBlock{}, 0, 1);
    EXPECT_EQ(table.Rows, 0) << bad;
    ASSERT_EQ(messages.messages.size(), 1u) << bad;
  }
  SetProgressReporter(previous);
}

}  // namespace
}  // namespace kvx

namespace kvx {
namespace {

// Without perturbers the integrated comet table is the two-body table: an
// e = 0.95 comet whose epoch lies 2 days after perihelion (the state comes
// from the near-parabolic routine) and a hyperbola (e = 1.2), 60 days from
// 20 days before perihelion, 1e-13: heliocentric places within 1e-8 AU.
// A cancel (at the 20th round of window events) leaves no row.
TEST(Comet, IntegratedTableWithoutPerturbers) {
  struct CancellingProgress : RecordingProgress {
    void ProcessEvents() override {
      if (++events_processed == cancel_at) AbortRequested = 1;
    }
    int cancel_at = -1;
  } progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  RecordingMessageSink messages;
  ScopedMessageSink scope(messages);
  AbortRequested = 0;
  TTheorySelection selection;
  for (int b = 0; b < 9; ++b) selection.bytes[static_cast<std::size_t>(kFirstPerturberSwitchByte + b)] = 0;
  const double T = 2460500.5;
  const TObserverRecord start = ObserverAt(T - 20, 69), end = ObserverAt(T + 40, 69);
  for (double e : {0.95, 1.2}) {
    TCometElements c = Encke();
    c.PerihelionDistance = 0.6;
    c.Eccentricity = e;
    c.PerihelionTime = T;
    c.Epoch = T + 2;
    const TTableRequest request =
        test::TableRequest(0, selection, TTableConfigRecord{}, start, end, TTableStep{2, 0, 2}, 1e-13L);
    TKometeph twoBody(request, nullptr, c);
    twoBody.initialisieren(request, c);
    twoBody.schleife(TComputeSettingsBlock{}, 0, 1);
    ASSERT_EQ(twoBody.Rows, 31);
    std::vector<TKeplerPosition> expected;
    for (int k = 0; k < 31; ++k) expected.push_back(RowStore.Row(k).Position);
    twoBody.integriere(TComputeSettingsBlock{}, 0, 1, 0);
    ASSERT_EQ(twoBody.Rows, 31) << e;
    EXPECT_TRUE(messages.messages.empty());
    for (int k = 0; k < 31; ++k) {
      const TKeplerPosition& p = RowStore.Row(k).Position;
      const TKeplerPosition& q = expected[static_cast<std::size_t>(k)];
      EXPECT_LT(std::hypot(p.HelioX - q.HelioX, p.HelioY - q.HelioY, p.HelioZ - q.HelioZ), 1e-8) << e << " " << k;
      EXPECT_EQ(RowStore.Row(k).Integrated, 1);
    }
  }
  const TCometElements c = Encke();
  TKometeph cancelled(test::TableRequest(0, selection, TTableConfigRecord{}, start, end, TTableStep{2, 0, 2}, 1e-13L),
                      nullptr, c);
  progress.cancel_at = progress.events_processed + 20;
  cancelled.integriere(TComputeSettingsBlock{}, 0, 1, 0);
  EXPECT_EQ(cancelled.Rows, 0);
  EXPECT_EQ(cancelled.Stopped, 1);
  SetProgressReporter(previous);
}

}  // namespace
}  // namespace kvx
