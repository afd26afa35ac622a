// The planet library tables against the Swiss Ephemeris in its analytic mode
// (fixtures/library_tables_swe.tsv, made by make_library_tables_swe.sh):
// heliocentric states in the four frames and the osculating elements; the
// layout in the sheet and the grid, the Pluto range and the refusal when a
// library is absent.
#include "engine/library_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>

#include "core/frames.h"
#include "core/name_tables.h"
#include "core/two_body.h"
#include "core/vector_math.h"
#include "engine/mystringgrid.h"
#include "engine/planet_elements.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/workbook/workbook.h"
#include "sun_planet_support.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/theory_selection.h"
#include "theories/theory_library_test_support.h"
#include "theories/vsop_wrappers.h"

namespace kvx {
namespace {

class LibraryTables : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitAstroNameTables();
    libraries_ = test::OpenBuiltLibraries();
  }
  static void TearDownTestSuite() { CloseTheoryLibraries(); }
  void SetUp() override {
    ASSERT_TRUE(libraries_.Vsop87A && libraries_.Vsop82) << "theory libraries not built";
    for (std::size_t i = 0; i < config_.ColumnTitles.size(); ++i) config_.ColumnTitles[i] = "h" + std::to_string(i);
    LanguageEnglish = 0;
  }
  void TearDown() override { LanguageEnglish = 0; }
  // The observer at the JD of TT `jdTT` (Delta T 0, so that UT is TT).
  static TObserverRecord At(double jdTT) {
    return test::ObserverAtPlace(jdTT, 0, test::Place{50, 10, 0}, test::PlanetTheory(0));
  }
  TLibraryTableTarget Sheet() {
    TLibraryTableTarget t;
    t.WorkbookView = 1;
    t.Sheet = book_.get();
    t.Language = language_;
    return t;
  }
  TLibraryTableTarget Grid() {
    TLibraryTableTarget t;
    t.Grid = &grid_;
    t.Language = language_;
    return t;
  }

  static inline TLibraryAvailability libraries_{};
  TTableConfigRecord config_;
  std::unique_ptr<workbook::TWorkbook> book_ = std::make_unique<workbook::TWorkbook>();
  tmystringgrid grid_{2, 2};
  std::uint8_t language_ = 0;  // of the targets
  RecordingMessageSink messages_;
  ScopedMessageSink scoped_{messages_};
};

// The reference's analytic mode is itself good to about an arc second for
// the outer planets, so the bounds are the measured differences rounded up:
// positions to 1e-5 AU from Mercury to Saturn and to 8" of the distance
// beyond (the Earth-Moon barycentre left out: the reference has none);
// velocities to 1e-4 of the speed to Saturn, the frames of date less the
// turning of the frame that the reference's velocity holds. Elements: a to
// 1e-5 AU to Mars, 5e-5 of a beyond; e to 1e-5 (5e-5 beyond Saturn); i, the
// node (times sin i) and the perihelion displacement (times e) to 10"; the
// mean longitude to 10" (20" beyond Saturn). The Earth's elements are the
// barycentre's, whose perihelion differs from the Earth's.
TEST_F(LibraryTables, StatesAndElementsAgreeWithSwissEphemeris) {
  constexpr double kOuterBound = 4e-5;     // radians of the distance, Uranus to Pluto
  constexpr double kVelocityBound = 1e-4;  // of the speed, Mercury to Saturn
  const test::FixtureTable swe = test::ReadFixture(KVX_FIXTURE_DIR "/library_tables_swe.tsv");
  int checked = 0;
  double worstPosition = 0, worstVelocity = 0, worstAngle = 0;
  for (double jd : {2451545.0, 2460310.5}) {
    book_ = std::make_unique<workbook::TWorkbook>();
    ASSERT_TRUE(PlanetCoordinateTableVsop87a(PositionFileHandles{}, Sheet(), At(jd), -1, config_, libraries_));
    workbook::TWorkbook elements;
    TLibraryTableTarget elementTarget;
    elementTarget.WorkbookView = 1;
    elementTarget.Sheet = &elements;
    ASSERT_TRUE(PlanetCoordinateTableVsop82(PositionFileHandles{}, elementTarget, At(jd), config_, libraries_));
    for (std::size_t row = 0; row < swe.Rows(); ++row) {
      if (swe.Number(row, "jd") != jd) continue;
      const int body = static_cast<int>(swe.Number(row, "body"));
      const int frame = static_cast<int>(swe.Number(row, "frame"));
      SCOPED_TRACE("jd " + std::to_string(jd) + " body " + std::to_string(body) + " frame " + std::to_string(frame));
      if (swe.text[row][0] == "xyz") {
        // Table rows: Mercury, Venus, Earth, barycentre, Mars, ...
        const int tableRow = 12 * frame + 1 + (body <= 3 ? body : body + 1);
        const double r = std::hypot(swe.Number(row, "v1"), swe.Number(row, "v2"), swe.Number(row, "v3"));
        const double speed = std::hypot(swe.Number(row, "v4"), swe.Number(row, "v5"), swe.Number(row, "v6"));
        for (int c = 0; c < 6; ++c) {
          const double d = std::fabs(book_->Number(tableRow, c + 2) - swe.Number(row, "v" + std::to_string(c + 1)));
          if (c < 3) {
            const double scaled = body <= 6 ? d : d / r * 1e-5 / kOuterBound;
            worstPosition = std::max(worstPosition, scaled);
            EXPECT_LT(scaled, 1e-5);
          } else {
            // The frames of date turn (precession, 50" a year): the reference's
            // velocity there holds the turning, the table's does not.
            const double turning = frame == 0 || frame == 2 ? 6.7e-7 * r : 0;
            const double relative = std::max(0.0, d - turning) / speed;
            worstVelocity = std::max(worstVelocity, relative);
            if (body <= 6) {
              EXPECT_LT(relative, kVelocityBound);
            }
          }
        }
      } else {
        const int tableRow = 1 + body;
        const double a = swe.Number(row, "v1");
        EXPECT_NEAR(elements.Number(tableRow, 2), a, body <= 4 ? 1e-5 : 5e-5 * a);
        EXPECT_NEAR(elements.Number(tableRow, 3), swe.Number(row, "v2"), body <= 6 ? 1e-5 : 5e-5);  // e
        auto angle = [&](int column, int value) {
          return std::fabs(std::remainder(
                     elements.Number(tableRow, column) - swe.Number(row, "v" + std::to_string(value)), 360.0)) *
                 3600;
        };
        const double e = swe.Number(row, "v2");
        const double meanLongitude =
            std::fabs(std::remainder(elements.Number(tableRow, 5) + elements.Number(tableRow, 6) +
                                         elements.Number(tableRow, 8) - swe.Number(row, "v4") - swe.Number(row, "v5") -
                                         swe.Number(row, "v6"),
                                     360.0)) *
            3600;
        const double perihelion = angle(6, 5) * e;  // the displacement of the perihelion, arc seconds x e
        worstAngle = std::max({worstAngle, angle(4, 3), angle(5, 4) * std::sin(swe.Number(row, "v3") * M_PI / 180),
                               perihelion, meanLongitude});
        EXPECT_LT(angle(4, 3), 10);
        EXPECT_LT(angle(5, 4) * std::sin(swe.Number(row, "v3") * M_PI / 180), 10);
        if (body != 3) {
          EXPECT_LT(perihelion, 10);  // the Earth's is the barycentre's
        }
        EXPECT_LT(meanLongitude, body <= 6 ? 10 : 20);
      }
      ++checked;
    }
  }
  std::printf("library tables: position %.2e AU, velocity %.2e AU/d, angles %.1f\"\n", worstPosition, worstVelocity,
              worstAngle);
  EXPECT_EQ(checked, 90);
  EXPECT_TRUE(messages_.messages.empty());
}

// Layout: four blocks from rows 1, 13, 25, 37 with the frame titles in both
// languages, English body names, the same cells in the sheet and the grid;
// outside Pluto's range 9 bodies and 8 planets; an absent library writes
// nothing and says so.
TEST_F(LibraryTables, LayoutLanguagesPlutoRangeAndAbsentLibrary) {
  language_ = 1;
  const auto globalNames = PlanetNames;
  const auto globalVsopNames = VsopBodyNames;
  ASSERT_TRUE(PlanetCoordinateTableVsop87a(PositionFileHandles{}, Sheet(), At(2451545), -1, config_, libraries_));
  ASSERT_TRUE(PlanetCoordinateTableVsop87a(PositionFileHandles{}, Grid(), At(2451545), -1, config_, libraries_));
  EXPECT_EQ(grid_.RowCount(), 49);
  EXPECT_EQ(grid_.ColCount(), 9);
  for (int f = 0; f < 4; ++f) {
    EXPECT_EQ(book_->Text(12 * f + 1, 1), kLibraryFrameTitles[f]);
    EXPECT_EQ(book_->Text(12 * f + 1, 2), "h98");
    EXPECT_EQ(book_->Text(12 * f + 1, 8), "h4");
    EXPECT_EQ(book_->Text(12 * f + 5, 1), "Earth/Moon Barycenter");
    EXPECT_EQ(book_->Text(12 * f + 11, 1), "Pluto");
  }
  for (int r = 1; r <= 48; ++r)
    for (int c = 1; c <= 8; ++c) {
      if (book_->CellKind(r, c) == workbook::TCellKind::Number) {
        EXPECT_NEAR(std::stod(grid_.Cells(c, r)), book_->Number(r, c), 1e-8) << r << " " << c;
      } else {
        EXPECT_EQ(grid_.Cells(c, r), book_->Text(r, c)) << r << " " << c;
      }
    }
  EXPECT_EQ(PlanetNames, globalNames);
  EXPECT_EQ(VsopBodyNames, globalVsopNames);

  language_ = 0;
  book_ = std::make_unique<workbook::TWorkbook>();
  const double outside = 2451545 + 1.2 * 36525;  // Pluto's series ends in 2100
  ASSERT_TRUE(PlanetCoordinateTableVsop87a(PositionFileHandles{}, Sheet(), At(outside), -1, config_, libraries_));
  EXPECT_EQ(book_->Text(10, 1), "Neptun");
  EXPECT_EQ(book_->Text(11, 1), "");
  EXPECT_EQ(book_->Text(5, 1), "Erde/Mond Baryzentrum");
  book_ = std::make_unique<workbook::TWorkbook>();
  ASSERT_TRUE(PlanetCoordinateTableVsop82(PositionFileHandles{}, Sheet(), At(outside), config_, libraries_));
  EXPECT_EQ(book_->Text(9, 1), "Neptun");
  EXPECT_EQ(book_->Text(10, 1), "");
  EXPECT_EQ(book_->Text(1, 4), "h138 J2000");
  EXPECT_EQ(book_->Text(1, 11), "h138");
  ASSERT_TRUE(PlanetCoordinateTableVsop82(PositionFileHandles{}, Grid(), At(outside), config_, libraries_));
  EXPECT_EQ(grid_.RowCount(), 11);
  EXPECT_EQ(grid_.ColCount(), 15);

  TLibraryAvailability none;
  book_ = std::make_unique<workbook::TWorkbook>();
  EXPECT_FALSE(PlanetCoordinateTableVsop87a(PositionFileHandles{}, Sheet(), At(2451545), -1, config_, none));
  EXPECT_FALSE(PlanetCoordinateTableVsop82(PositionFileHandles{}, Sheet(), At(2451545), config_, none));
  EXPECT_EQ(book_->LastRow(), 0);
  ASSERT_EQ(messages_.messages.size(), 2u);
  EXPECT_EQ(messages_.messages[0].text, "Die Bibliothek VSOP87 A ist nicht verfügbar.");
  EXPECT_EQ(messages_.messages[1].text, "Die Bibliothek VSOP82 ist nicht verfügbar.");
}

// The osculating elements of the element table turned back into places by
// two-body motion (the anomaly solved at their own epoch) give the VSOP87 A
// positions they came from within 1e-9 AU (the Earth's: the barycentre's;
// measured below 1e-12 AU).
TEST_F(LibraryTables, ElementsGiveBackTheStatesTheyCameFrom) {
  using Vsop = void (*)(double&, double&, double&, double, double&, double&, double&, double&, double&, double&,
                        TTruncationLevel);
  const Vsop series[8] = {Vsop87AMercury, Vsop87AVenus,  Vsop87AEarthMoon, Vsop87AMars,
                          Vsop87AJupiter, Vsop87ASaturn, Vsop87AUranus,    Vsop87ANeptune};
  for (double jdTT : {2451545.0, 2460310.5, 2488070.5}) {
    const double T = (jdTT - 2451545.0) / 36525.0;
    for (int planet = 1; planet <= 8; ++planet) {
      SCOPED_TRACE(planet);
      TOsculatingElements el;
      ASSERT_TRUE(PlanetPositionsVsop82(PositionFileHandles{}, test::PlanetTheory(2), libraries_.Vsop82, planet, jdTT,
                                        PlanetMassRatio(planet), el));
      double x = 0, y = 0, vx = 0, vy = 0, X = 0, Y = 0, Z = 0;
      EllipticOrbitPosition(x, y, vx, vy, double(el.M), double(el.a), double(el.e));
      TMatrix33 m;
      GaussVectors(m, double(el.node), double(el.i), double(el.argPerihelion));
      OrbitPlaneToSpace(m, x, y, X, Y, Z);
      // The state table's positions carry the FK5 correction of the series
      // wrappers; the elements are those of the uncorrected state.
      double r = 0, lat = 0, lon = 0;
      CartesianToPolar(r, lat, lon, X, Y, Z);
      FK5Correction(lon, lat, T);
      PolarToCartesian(X, Y, Z, r, lat, lon);
      double L = 0, B = 0, R = 0, s[6] = {};
      series[planet - 1](L, B, R, T, s[0], s[1], s[2], s[3], s[4], s[5], -1);
      EXPECT_NEAR(X, s[0], 1e-9);
      EXPECT_NEAR(Y, s[1], 1e-9);
      EXPECT_NEAR(Z, s[2], 1e-9);
    }
  }
}

}  // namespace
}  // namespace kvx
