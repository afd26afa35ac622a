#include "engine/orbit_integration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "chain_test_support.h"
#include "core/binary_fields.h"
#include "core/frames.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "engine/ephemeris_table.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"
#include "support/table_request.h"
#include "support/temp_folder.h"
#include "theories/planet_by_index.h"
#include "theories/position_files.h"
#include "theories/theory_state.h"

namespace kvx {
namespace {

using test::CeresElements;

constexpr double kSecond = 1.0 / 86400.0;

// A civil instant at Greenwich, UT, with Delta T fixed to `deltaT` seconds.
TObserverRecord InstantAtJd(double jdUT, double deltaT = 69.0) {
  TObserverRecord r;
  int day = 0, month = 0, year = 0;
  double hours = 0;
  JdToCalendarDate(day, month, year, hours, jdUT);
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = hours;
  r.Latitude = 51.4769;
  r.AutoDeltaT = 0;
  r.DeltaTSeconds = deltaT;
  r.Pressure = 1010;
  r.Temperature = 10;
  return r;
}

TTheorySelection WithoutPerturbers() {
  TTheorySelection s;
  for (int b = 0; b < 9; ++b) s.bytes[static_cast<std::size_t>(kFirstPerturberSwitchByte + b)] = 0;
  return s;
}

TTheorySelection AllPerturbers() {
  TTheorySelection s;
  for (int b = 0; b < 9; ++b) s.bytes[static_cast<std::size_t>(kFirstPerturberSwitchByte + b)] = 1;
  s.bytes[2] = 1;  // never the theory libraries: the internal series
  return s;
}

// Sets AbortRequested at the n-th round of window events.
class CancellingProgress : public RecordingProgress {
 public:
  void ProcessEvents() override {
    RecordingProgress::ProcessEvents();
    if (events_processed == cancel_at) AbortRequested = 1;
  }
  int cancel_at = -1;
};

class OrbitIntegration : public ::testing::Test {
 protected:
  void SetUp() override {
    previousProgress_ = SetProgressReporter(&progress);
    AbortRequested = 0;
  }
  void TearDown() override {
    SetProgressReporter(previousProgress_);
    AbortRequested = 0;
  }

  static TKeplereph Table(const TAsteroidElements& elements, TTheorySelection selection, double startJd, double endJd,
                          double stepDays, long double tolerance) {
    TTableStep step;
    step.StepDays = stepDays;
    TKeplereph table(test::TableRequest(0, selection, TTableConfigRecord{}, InstantAtJd(startJd), InstantAtJd(endJd),
                                        step, tolerance),
                     nullptr, elements);
    table.TheorySelection = selection;
    return table;
  }

  // Heliocentric positions (ecliptic of date, AU) of the stored rows.
  static std::vector<std::array<double, 4>> StoredRows(const TKeplereph& table) {
    std::vector<std::array<double, 4>> rows;
    for (int i = 0; i < table.Rows; ++i) {
      const TEphemerisResultRecord& r = RowStore.Row(i);
      rows.push_back({r.JD, r.Position.HelioX, r.Position.HelioY, r.Position.HelioZ});
    }
    return rows;
  }

  CancellingProgress progress;
  RecordingMessageSink messages;
  ScopedMessageSink messageScope{messages};

 private:
  ProgressReporter* previousProgress_ = nullptr;
};

// With no perturber the integration is two-body motion: over ten years at
// 1e-13 (epoch inside the period, so the first leg runs backwards) every row
// matches the two-body motion of the elements within 1e-9 AU, carries the
// integration flag and the mean-anomaly mark -1000, and the progress panel
// is ended. Against the two-body table the rows agree within 3e-9 AU: the two
// reach the ecliptic of date by different roads (precessed elements against
// a precessed vector), which differ by about 2e-9 AU.
TEST_F(OrbitIntegration, WithoutPerturbersTheTableIsTheTwoBodyTable) {
  const double startJd = 2460300.5, endJd = startJd + 3652.5;
  TKeplereph twoBody = Table(CeresElements(), WithoutPerturbers(), startJd, endJd, 20, 1e-13L);
  twoBody.schleife(TComputeSettingsBlock{}, 0, 1);
  const auto expected = StoredRows(twoBody);
  ASSERT_EQ(expected.size(), 183u);

  TKeplereph integrated = Table(CeresElements(), WithoutPerturbers(), startJd, endJd, 20, 1e-13L);
  integrated.integriere(TComputeSettingsBlock{}, 0, 1, 0);
  EXPECT_TRUE(messages.messages.empty());
  const auto rows = StoredRows(integrated);
  ASSERT_EQ(rows.size(), expected.size());

  long double epochT = 0, a = 0, equinoxT = 0, M = 0, e = 0;
  TMatrix33Ext orientation;
  OrbitSetupFromElements(integrated, epochT, a, equinoxT, orientation, M, e);
  const long double n = kGaussK / (a * std::sqrt(a)) * 180 / M_PI;
  double worstTable = 0, worstMotion = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_NEAR(rows[i][0], expected[i][0], 1e-6) << i;
    worstTable = std::fmax(worstTable, std::hypot(rows[i][1] - expected[i][1], rows[i][2] - expected[i][2],
                                                  rows[i][3] - expected[i][3]));
    const long double jdTT = rows[i][0] + 69.0L / 86400;
    const long double T = (jdTT - 2451545.0L) / 36525;
    TStateVectorExt s = OrbitStartState(a, e, M + n * (jdTT - integrated.Epoch), orientation, equinoxT);
    TMatrix33Ext toDate;
    EclipticPrecessionMatrix(toDate, 0.0, static_cast<double>(T));
    MatrixTimesVectorExt(toDate, s[0], s[1], s[2]);
    worstMotion = std::fmax(worstMotion, static_cast<double>(std::hypot(rows[i][1] - s[0], rows[i][2] - s[1],
                                                                        rows[i][3] - s[2])));
    EXPECT_EQ(RowStore.Row(static_cast<int>(i)).Integrated, 1);
    EXPECT_EQ(RowStore.Row(static_cast<int>(i)).MeanAnomaly, -1000.0);
  }
  EXPECT_LT(worstMotion, 1e-9) << "AU";
  EXPECT_LT(worstTable, 3e-9) << "AU";
  EXPECT_FALSE(progress.visible);
  EXPECT_EQ(progress.ends, 2);
}

// A start within 2 s of the epoch takes the epoch 1 s earlier: the first row
// is the two-body place one second after the start (within the 3e-9 AU of
// the two roads to the ecliptic of date; one second of motion is 1.2e-7 AU).
TEST_F(OrbitIntegration, StartNearTheEpochMovesTheEpochOneSecondBack) {
  TAsteroidElements elements = CeresElements();
  const double startJd = elements.Epoch;  // Delta T 0: the start is the epoch
  TKeplereph table = Table(elements, WithoutPerturbers(), startJd, startJd + 2, 1, 1e-13L);
  table.PeriodStart = InstantAtJd(startJd, 0);
  table.PeriodEnd = InstantAtJd(startJd + 2, 0);
  table.integriere(TComputeSettingsBlock{}, 0, 1, 0);
  ASSERT_EQ(table.Rows, 3);

  auto twoBodyAt = [&](double jdTT) {
    TKepler body(TBodySettings{}, 0, TTableConfigRecord{}, elements, test::ObserverAt(jdTT, 0), {1e-13L, -1, 10});
    body.rechnen(TComputeSettingsBlock{});
    return body.Result.Position;
  };
  const TKeplerPosition later = twoBodyAt(startJd + kSecond);
  const TKeplerPosition atStart = twoBodyAt(startJd);
  const TKeplerPosition& first = RowStore.Row(0).Position;
  EXPECT_LT(std::hypot(first.HelioX - later.HelioX, first.HelioY - later.HelioY, first.HelioZ - later.HelioZ), 3e-9);
  EXPECT_GT(std::hypot(first.HelioX - atStart.HelioX, first.HelioY - atStart.HelioY), 5e-8);
}

// An orbit in the ecliptic has z = vz = 0: the run says so once and goes on.
// With the planets pulling it out of the plane, the relative error of a
// component of 1e-25 cannot be met: after five raised tolerances in a row the
// run stops with no rows instead of repeating for ever. Without the show flag
// nothing is stored and the row count is kept; the result holds the last row.
TEST_F(OrbitIntegration, ZeroInclinationIsReportedOnceAndNoShowStoresNothing) {
  TAsteroidElements elements = CeresElements();
  elements.Inclination = 0;
  TKeplereph table = Table(elements, WithoutPerturbers(), 2460380.5, 2460420.5, 10, 1e-10L);
  table.integriere(TComputeSettingsBlock{}, 0, 1, 0);
  EXPECT_EQ(table.Rows, 5);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "Die Startwerte scheinen nicht in Ordnung zu sein.");
  EXPECT_EQ(messages.messages[0].caption, "Unrealistische Bahnelemente?");
  EXPECT_EQ(messages.messages[0].icon, MessageIcon::Information);
  // The J2000 ecliptic seen from the ecliptic of 2024 is tilted by 11".
  EXPECT_LT(std::fabs(RowStore.Row(4).Position.HelioLatitude), 0.005) << "stays in the J2000 ecliptic";

  messages.messages.clear();
  TKeplereph perturbed = Table(elements, AllPerturbers(), 2460380.5, 2460420.5, 10, 1e-10L);
  perturbed.integriere(TComputeSettingsBlock{}, 0, 1, 0);
  EXPECT_EQ(perturbed.Rows, 0);
  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_EQ(messages.messages[1].text, "Die verlangte Genauigkeit der Integration ist nicht erreichbar.");
  EXPECT_EQ(messages.messages[1].icon, MessageIcon::Error);

  const TEphemerisResultRecord kept = RowStore.Row(0);
  TKeplereph hidden = Table(CeresElements(), AllPerturbers(), 2460380.5, 2460440.5, 10, 1e-10L);
  hidden.Rows = 3;
  hidden.integriere(TComputeSettingsBlock{}, 0, 0, 1);
  EXPECT_EQ(hidden.Rows, 3);
  EXPECT_EQ(RowStore.Row(0).JD, kept.JD);
  EXPECT_NEAR(hidden.Result.JD, 2460440.5, 1e-6);
  EXPECT_EQ(hidden.Result.Name, "Ceres");
  EXPECT_EQ(progress.ends, 2) << "no panel without the show flag";
}

// The result settles with the tolerance: ten years of perturbed Ceres at 12
// and at 14 significant digits differ by less than 1e-8 AU in every row.
TEST_F(OrbitIntegration, TwelveAndFourteenDigitsAgree) {
  std::vector<std::array<double, 4>> rows[2];
  const long double tolerances[2] = {1e-12L, 1e-14L};
  for (int k = 0; k < 2; ++k) {
    TKeplereph table = Table(CeresElements(), AllPerturbers(), 2458600.5, 2462250.5, 100, tolerances[k]);
    table.integriere(TComputeSettingsBlock{}, 0, 1, 0);
    rows[k] = StoredRows(table);
  }
  ASSERT_EQ(rows[0].size(), 37u);
  ASSERT_EQ(rows[1].size(), 37u);
  for (std::size_t i = 0; i < rows[0].size(); ++i)
    EXPECT_LT(std::hypot(rows[0][i][1] - rows[1][i][1], rows[0][i][2] - rows[1][i][2], rows[0][i][3] - rows[1][i][3]),
              1e-8)
        << i;
  EXPECT_TRUE(messages.messages.empty());
}

// Cancel during the rows: the rows integrated before it stay (daily, from
// the start), marked stopped, panel ended.
TEST_F(OrbitIntegration, CancelKeepsTheRowsIntegratedBeforeIt) {
  progress.cancel_at = 20;
  TKeplereph table = Table(CeresElements(), AllPerturbers(), 2460300.5, 2460700.5, 1, 1e-10L);
  table.integriere(TComputeSettingsBlock{}, 0, 1, 0);
  ASSERT_GT(table.Rows, 0);
  EXPECT_LT(table.Rows, 401);
  EXPECT_NEAR(RowStore.Row(table.Rows - 1).JD - RowStore.Row(0).JD, table.Rows - 1, 1e-6);
  EXPECT_EQ(table.Stopped, 1);
  EXPECT_EQ(AbortRequested, 0);
  EXPECT_FALSE(progress.visible);
  EXPECT_TRUE(messages.messages.empty());
}

// Bad input is refused with a message before anything is computed; the end
// before the start is refused too instead of giving one row.
TEST_F(OrbitIntegration, BadInputIsRefused) {
  struct Case {
    double step, endOffset;
    long double tolerance;
    double a, e;
    const char* english;
  };
  const Case cases[] = {
      {0, 10, 1e-10L, 2.77, 0.08, "The step of the table must be greater than 0."},
      {NAN, 10, 1e-10L, 2.77, 0.08, "The step of the table must be greater than 0."},
      {1, -10, 1e-10L, 2.77, 0.08, "The end of the period lies before its start."},
      {1, 10, 0, 2.77, 0.08, "The accuracy of the integration must be greater than 0."},
      {1, 10, INFINITY, 2.77, 0.08, "The accuracy of the integration must be greater than 0."},
      {1, 10, 1e-10L, -1, 0.08, nullptr},
      {1, 10, 1e-10L, 2.77, 1.0, nullptr},
      {1, 10, 1e-10L, NAN, 0.08, nullptr},
  };
  LanguageEnglish = 1;
  for (const Case& c : cases) {
    messages.messages.clear();
    TAsteroidElements elements = CeresElements();
    elements.SemiMajorAxis = c.a;
    elements.Eccentricity = c.e;
    TKeplereph table = Table(elements, AllPerturbers(), 2460380.5, 2460380.5 + c.endOffset, c.step, c.tolerance);
    table.SemiMajorAxis = c.a;  // as entered, not corrected
    table.Eccentricity = c.e;
    table.Rows = 9;
    table.integriere(TComputeSettingsBlock{}, 0, 1, 0);
    EXPECT_EQ(table.Rows, 0);
    ASSERT_EQ(messages.messages.size(), 1u) << c.step << " " << c.a << " " << c.e;
    if (c.english != nullptr) {
      EXPECT_EQ(messages.messages[0].text, c.english);
    }
  }
  LanguageEnglish = 0;
}

// A period of more rows than a table holds stops at the row limit.
TEST_F(OrbitIntegration, LongPeriodStopsAtTheRowLimit) {
  TKeplereph table = Table(CeresElements(), WithoutPerturbers(), 2460380.5, 2460380.5 + 20, 0.001, 1e-10L);
  table.integriere(TComputeSettingsBlock{}, 0, 1, 0);
  EXPECT_EQ(table.Rows, kMaxTableRows);
  EXPECT_NEAR(RowStore.Row(kMaxTableRows - 1).JD, 2460380.5 + 0.001 * (kMaxTableRows - 1), 1e-6);
}

// A start state at the Sun makes the force model infinite: the run stops with
// no rows and the numeric-error message instead of writing stale states.
TEST_F(OrbitIntegration, NonFiniteForcesStopTheRun) {
  long double ax = 0, ay = 0, az = 0;
  TOrbitForceContext context;
  context.Selection = WithoutPerturbers();
  EXPECT_FALSE(OrbitEquationsOfMotion(context, 0, 0, 0, 0, ax, ay, az));
  EXPECT_TRUE(OrbitEquationsOfMotion(context, 0, 1, 0, 0, ax, ay, az));
  EXPECT_NEAR(static_cast<double>(ax), -0.01720209895 * 0.01720209895, 1e-18);

  TAsteroidElements elements = CeresElements();
  elements.SemiMajorAxis = 1e-30;  // usable by the checks, but at the Sun
  TKeplereph table = Table(elements, WithoutPerturbers(), 2460380.5, 2460390.5, 1, 1e-10L);
  table.integriere(TComputeSettingsBlock{}, 0, 1, 0);
  EXPECT_EQ(table.Rows, 0);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].caption, "Integration abgebrochen");
  EXPECT_EQ(messages.messages[0].icon, MessageIcon::Error);
}


// Ceres and Vesta from elements osculating at 2024 Apr 3 (from the Swiss
// Ephemeris' integrated orbits), integrated with the nine planets of the
// internal series over five years either side: the astrometric J2000 places
// stay within kIntegratedArcsec of the Swiss Ephemeris (what is left is
// mostly the internal series' Earth), while two-body motion from the same
// elements drifts by more than kTwoBodyDriftArcsec.
TEST_F(OrbitIntegration, CeresAndVestaFollowTheSwissEphemeris) {
  constexpr double kIntegratedArcsec = 2.5;    // measured: 1.5" Ceres, 1.6" Vesta
  constexpr double kTwoBodyDriftArcsec = 900;  // measured: 1237" Ceres, 2544" Vesta
  const test::FixtureTable table = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/integrated_asteroid_reference.tsv");
  ASSERT_GT(table.Rows(), 0u);
  for (const char* name : {"Ceres", "Vesta"}) {
    std::vector<std::size_t> rows;
    for (std::size_t r = 0; r < table.Rows(); ++r)
      if (table.text[r][0] == name) rows.push_back(r);
    ASSERT_EQ(rows.size(), 61u) << name;
    TAsteroidElements e;
    const std::size_t r0 = rows.front();
    e.SemiMajorAxis = table.Number(r0, "a");
    e.Eccentricity = table.Number(r0, "e");
    e.Inclination = table.Number(r0, "i");
    e.Node = table.Number(r0, "node");
    e.Perihelion = table.Number(r0, "peri");
    e.MeanAnomaly = table.Number(r0, "M");
    e.Epoch = table.Number(r0, "epoch");
    e.Equinox = 2000;
    e.H = table.Number(r0, "H");
    e.G = table.Number(r0, "G");
    e.Name = name;
    const double firstJd = table.Number(rows.front(), "jd_ut"), lastJd = table.Number(rows.back(), "jd_ut");

    double worstIntegrated = 0, worstTwoBody = 0;
    for (int integrate = 0; integrate < 2; ++integrate) {
      TKeplereph t = Table(e, AllPerturbers(), firstJd, lastJd, 60, 1e-12L);
      t.PeriodStart = InstantAtJd(firstJd, 69.0);
      t.PeriodEnd = InstantAtJd(lastJd, 69.0);
      t.FullComputation = 0;  // astrometric places
      if (integrate != 0)
        t.integriere(TComputeSettingsBlock{}, 0, 1, 0);
      else
        t.schleife(TComputeSettingsBlock{}, 0, 1);
      ASSERT_EQ(t.Rows, 61) << name;
      for (int i = 0; i < t.Rows; ++i) {
        const TEphemerisResultRecord& row = RowStore.Row(i);
        const std::size_t r = rows[static_cast<std::size_t>(i)];
        EXPECT_NEAR(row.JD, table.Number(r, "jd_ut"), 1e-6);
        const double separation = test::SeparationArcsec(row.SecondRightAscension, row.SecondDeclination,
                                                         table.Number(r, "ra"), table.Number(r, "dec"));
        double& worst = integrate != 0 ? worstIntegrated : worstTwoBody;
        worst = std::fmax(worst, separation);
      }
    }
    EXPECT_LT(worstIntegrated, kIntegratedArcsec) << name;
    EXPECT_GT(worstTwoBody, kTwoBodyDriftArcsec) << name;
  }
  EXPECT_TRUE(messages.messages.empty());
}


// The daily position file of the integration, written here from the internal
// series in the J2000 ecliptic (every body, Pluto too): the force model reads
// every body from it as it stands (Pluto unrotated, like the others) and
// agrees with the theory road within 2e-8 AU (daily interpolation: Mercury
// 5e-9 AU, the others less);
// an integration over the file gives the rows of the theory road within 1e-10
// AU; a date outside the file's span clears its switch for good.
TEST_F(OrbitIntegration, PositionFileRoadAgreesWithTheTheoryRoad) {
  test::TempFolder folder;
  // Record n is day n from the file's origin: the days before the ones the
  // test needs are there with their numbers only.
  const double firstJd = 2458000.5;
  const int records = static_cast<int>(firstJd - kPositionFileEpoch) + 2400;
  {
    std::FILE* file = std::fopen((folder.Path() / kIntegrationPositionFileName).c_str(), "wb");
    ASSERT_NE(file, nullptr);
    TTheorySelection internal;
    internal.bytes[0] = 0;
    for (int d = 0; d < records; ++d) {
      const double jd = kPositionFileEpoch + d;
      const double T = (jd - 2451545.0) / 36525.0;
      TMatrix33Ext toJ2000;
      EclipticPrecessionMatrix(toJ2000, T, 0.0);
      std::uint8_t record[kVspRecordSize] = {};
      DoubleToReal48(d, record);
      for (int b = 0; b < 9 && jd >= firstJd; ++b) {
        long double x = 0, y = 0, z = 0;
        PlanetPositionByIndex(PositionFileHandles{}, internal, b, T, x, y, z, toJ2000, kFullTheory);
        DoubleToReal48(static_cast<double>(x), record + 6 * (1 + 3 * b));
        DoubleToReal48(static_cast<double>(y), record + 6 * (2 + 3 * b));
        DoubleToReal48(static_cast<double>(z), record + 6 * (3 + 3 * b));
      }
      ASSERT_EQ(std::fwrite(record, 1, sizeof record, file), sizeof record);
    }
    std::fclose(file);
  }
  TTheoryState state;
  OpenPositionFiles(state, folder.Path().string());
  ASSERT_EQ(state.VspFilePresent, 1);
  std::uint8_t databaseSwitch = 1;

  TOrbitForceContext context;
  context.Selection = AllPerturbers();
  const long double T = (2460150.25L - 2451545) / 36525;
  std::array<std::array<long double, 3>, 9> fromTheory{}, fromFile{};
  IntegrationPositionFile = {};
  PerturberPositions(context, T, fromTheory);
  IntegrationPositionFile = {&state, &databaseSwitch};
  PerturberPositions(context, T, fromFile);
  ASSERT_TRUE(messages.messages.empty());
  ASSERT_NE(state.VspBlockStart, 0) << "read from the file";
  for (int b = 0; b < 9; ++b)
    for (int k = 0; k < 3; ++k)
      EXPECT_NEAR(static_cast<double>(fromFile[b][k]), static_cast<double>(fromTheory[b][k]), 2e-8) << b << " " << k;

  TAsteroidElements elements = CeresElements();
  elements.Epoch = 2460100.5;
  std::vector<std::array<double, 4>> rows[2];
  for (int useFile = 0; useFile < 2; ++useFile) {
    IntegrationPositionFile = useFile != 0 ? TIntegrationPositionFile{&state, &databaseSwitch} : TIntegrationPositionFile{};
    TKeplereph table = Table(elements, AllPerturbers(), 2460110.5, 2460210.5, 10, 1e-12L);
    table.integriere(TComputeSettingsBlock{}, 0, 1, 0);
    rows[useFile] = StoredRows(table);
  }
  EXPECT_EQ(databaseSwitch, 1);
  ASSERT_EQ(rows[0].size(), 11u);
  ASSERT_EQ(rows[1].size(), 11u);
  for (std::size_t i = 0; i < rows[0].size(); ++i)
    EXPECT_LT(std::hypot(rows[0][i][1] - rows[1][i][1], rows[0][i][2] - rows[1][i][2], rows[0][i][3] - rows[1][i][3]),
              1e-10)
        << i;

  PerturberPositions(context, (2460500.5L - 2451545) / 36525, fromFile);
  EXPECT_EQ(databaseSwitch, 0);
  PerturberPositions(context, T, fromFile);
  EXPECT_EQ(databaseSwitch, 0) << "cleared for good";
  IntegrationPositionFile = {};
  EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace kvx
