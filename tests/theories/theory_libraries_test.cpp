// The five theory libraries through the loader: presence and absence, the
// published check values, the agreement of the rectangular versions with
// the spherical ones, velocities and truncation.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "support/fixtures.h"
#include "theories/theory_libraries.h"
#include "theory_library_test_support.h"

namespace kvx {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

double Centuries(double jd) { return (jd - 2451545.0) / 36525.0; }

class TemporaryFolder {
 public:
  TemporaryFolder() {
    char name[] = "/tmp/kvx_theory_libs_XXXXXX";
    path_ = mkdtemp(name);
  }
  ~TemporaryFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

using RectangularEntry = void (*)(double, double&, double&, double&, double&, double&, double&, double);
using SphericalEntry = void (*)(double, double&, double&, double&, double);

struct Planet {
  const char* name;
  SphericalEntry d;      // null for the Earth
  RectangularEntry c;
  RectangularEntry a;
};

const Planet kPlanets[] = {
    {"mercury", vsopmerkur_hel, vsop_c_mer, vsop_a_mer}, {"venus", vsopvenus_hel, vsop_c_ven, vsop_a_ven},
    {"earth", nullptr, vsopcsun, vsop_a_erd},           {"mars", vsopmars_hel, vsop_c_mar, vsop_a_mar},
    {"jupiter", vsopjupiter_hel, vsop_c_jup, vsop_a_jup}, {"saturn", vsopsaturn_hel, vsop_c_sat, vsop_a_sat},
    {"uranus", vsopuranus_hel, vsop_c_ura, vsop_a_ura},  {"neptune", vsopneptun_hel, vsop_c_nep, vsop_a_nep},
};

// The VSOP87 D coordinates of a planet in degrees and AU; the Earth through
// the Sun's geocentric ones.
void VersionD(const Planet& p, double T, double& L, double& B, double& R, double level = -1) {
  if (p.d != nullptr) {
    p.d(T, L, B, R, level);
    return;
  }
  vsopsun_l(T, L, B, R, level);
  L = std::fmod(L + 180.0, 360.0);
  B = -B;
}

double AngleDifference(double a, double b) { return std::remainder(a - b, 2.0 * std::numbers::pi); }

class TheoryLibrariesTest : public ::testing::Test {
 protected:
  void SetUp() override { availability_ = test::OpenBuiltLibraries(); }
  void TearDown() override { CloseTheoryLibraries(); }
  TLibraryAvailability availability_;
};

TEST_F(TheoryLibrariesTest, AllFiveArePresentWithTheirProbeCodes) {
  EXPECT_EQ(availability_.Elp2000, 1);
  EXPECT_EQ(availability_.Vsop82, 1);
  EXPECT_EQ(availability_.Vsop87D, 1);
  EXPECT_EQ(availability_.Vsop87C, 1);
  EXPECT_EQ(availability_.Vsop87A, 1);
  EXPECT_EQ(ping_elp(), 17);
  EXPECT_EQ(ping_82(), 115);
  EXPECT_EQ(ping(), 112);
  EXPECT_EQ(ping_c(), 113);
  EXPECT_EQ(ping_a(), 114);
}

TEST_F(TheoryLibrariesTest, AnEmptyFolderLeavesEveryLibraryAbsentAndEveryResultZero) {
  TemporaryFolder empty;
  const TLibraryAvailability none = OpenTheoryLibraries(empty.path().string());
  EXPECT_EQ(none.Elp2000 + none.Vsop82 + none.Vsop87D + none.Vsop87C + none.Vsop87A, 0);
  EXPECT_EQ(ping(), 0);
  EXPECT_EQ(ping_elp(), 0);
  double L = 1, B = 1, R = 1;
  vsopmars_hel(0.1, L, B, R, -1);
  EXPECT_EQ(L, 0.0);
  EXPECT_EQ(R, 0.0);
  double X = 1, Y = 1, Z = 1, VX = 1, VY = 1, VZ = 1;
  vsop_a_emo(0.1, X, Y, Z, VX, VY, VZ, -1);
  EXPECT_EQ(X, 0.0);
  EXPECT_EQ(VZ, 0.0);
  ELP82B(2451545.0, X, Y, Z, -1);
  EXPECT_EQ(Y, 0.0);
  double a = 1, l = 1, k = 1, h = 1, q = 1, p = 1;
  vsop_jup(0.1, a, l, k, h, q, p, -1);
  EXPECT_EQ(a, 0.0);
}

TEST_F(TheoryLibrariesTest, ABrokenOrMissingLibraryCountsAsAbsentAlone) {
  TemporaryFolder folder;
  for (const char* file : {"libelp2000.so", "libvsop82.so", "libvsop87d.so"})
    std::filesystem::create_symlink(std::filesystem::path(test::BuiltLibraryFolder()) / file, folder.path() / file);
  std::ofstream(folder.path() / "libvsop87c.so") << "not a library";
  // A library whose file is another library: its probe and entry points are
  // not there, so it does not count.
  std::filesystem::create_symlink(std::filesystem::path(test::BuiltLibraryFolder()) / "libelp2000.so",
                                  folder.path() / "libvsop87a.so");
  const TLibraryAvailability some = OpenTheoryLibraries(folder.path().string());
  EXPECT_EQ(some.Elp2000, 1);
  EXPECT_EQ(some.Vsop82, 1);
  EXPECT_EQ(some.Vsop87D, 1);
  EXPECT_EQ(some.Vsop87C, 0);
  EXPECT_EQ(some.Vsop87A, 0);
  EXPECT_EQ(ping_c(), 0);
  EXPECT_EQ(ping_a(), 0);
  double L = 0, B = 0, R = 0;
  vsopvenus_hel(0.0, L, B, R, -1);
  EXPECT_GT(R, 0.7);
}

// The five probes are called once each, in the order ELP-2000/82, VSOP82,
// VSOP87 D, C, A; a library whose probe answers another code is absent.
TEST_F(TheoryLibrariesTest, ProbesAreCalledOnceEachInOrderAndMustAnswerTheirCode) {
  TemporaryFolder folder;
  for (const char* file : {"libelp2000.so", "libvsop82.so", "libvsop87d.so", "libvsop87c.so", "libvsop87a.so"})
    std::filesystem::create_symlink(test::FakeLibraryPath(), folder.path() / file);
  void* fake = dlopen(test::FakeLibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(fake, nullptr) << dlerror();
  auto reset = reinterpret_cast<void (*)(bool)>(dlsym(fake, "fake_reset"));
  auto log = reinterpret_cast<const char* (*)()>(dlsym(fake, "fake_probe_log"));
  ASSERT_NE(reset, nullptr);
  ASSERT_NE(log, nullptr);

  reset(true);
  TLibraryAvailability a = OpenTheoryLibraries(folder.path().string());
  EXPECT_STREQ(log(), "ping_elp ping_82 ping ping_c ping_a ");
  EXPECT_EQ(a.Elp2000 + a.Vsop82 + a.Vsop87D + a.Vsop87C + a.Vsop87A, 5);
  double X = 0, Y = 0, Z = 0;
  ELP82B(2451545.0, X, Y, Z, -1);
  EXPECT_EQ(X, 1.0);  // the stand-in answers

  reset(false);
  a = OpenTheoryLibraries(folder.path().string());
  EXPECT_STREQ(log(), "ping_elp ping_82 ping ping_c ping_a ");
  EXPECT_EQ(a.Elp2000 + a.Vsop82 + a.Vsop87D + a.Vsop87C + a.Vsop87A, 0);
  X = 5;
  ELP82B(2451545.0, X, Y, Z, -1);
  EXPECT_EQ(X, 0.0);  // absent: zeros, the stand-in is not called
  CloseTheoryLibraries();
  dlclose(fake);
}

// The official check values of VSOP87 (version B through the rectangular
// version A, version D directly), 8 planets x 10 dates from 2000 back to
// 1100, rounded to 1e-10 rad and AU.
TEST_F(TheoryLibrariesTest, Vsop87ReproducesTheOfficialCheckValues) {
  const test::FixtureTable table = test::ReadFixture(KVX_FIXTURE_DIR "/vsop87_check.tsv");
  ASSERT_EQ(table.Rows(), 160u);
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    const std::string version = table.text[row][0], name = table.text[row][1];
    const double T = Centuries(table.Number(row, "jd"));
    const Planet* planet = nullptr;
    for (const Planet& p : kPlanets)
      if (name == p.name) planet = &p;
    ASSERT_NE(planet, nullptr) << name;
    double L, B, R;
    if (version == "D") {
      VersionD(*planet, T, L, B, R);
      L *= kDeg;
      B *= kDeg;
    } else {
      double X, Y, Z, VX, VY, VZ;
      planet->a(T, X, Y, Z, VX, VY, VZ, -1);
      R = std::sqrt(X * X + Y * Y + Z * Z);
      L = std::atan2(Y, X);
      B = std::asin(Z / R);
    }
    SCOPED_TRACE(version + " " + name + " row " + std::to_string(row));
    EXPECT_NEAR(AngleDifference(L, table.Number(row, "L")), 0.0, 2e-10);
    EXPECT_NEAR(B, table.Number(row, "B"), 2e-10);
    EXPECT_NEAR(R, table.Number(row, "R"), 2e-10);
  }
}

TEST_F(TheoryLibrariesTest, VenusOn1992December20) {
  // 1992 Dec 20.0 TD = JD 2448976.5, full series of version D.
  double L, B, R;
  vsopvenus_hel(Centuries(2448976.5), L, B, R, -1);
  EXPECT_NEAR(L, 26.1141, 0.00005);
  EXPECT_NEAR(B, -2.6206, 0.00005);
  EXPECT_NEAR(R, 0.724602, 0.0000005);
}

TEST_F(TheoryLibrariesTest, SunIsTheEarthSeenBackwards) {
  const double T = 0.237;
  double L, B, R, X, Y, Z, VX, VY, VZ;
  vsopsun_l(T, L, B, R, -1);
  vsopcsun(T, X, Y, Z, VX, VY, VZ, -1);
  EXPECT_NEAR(R, std::sqrt(X * X + Y * Y + Z * Z), 1e-12);
  EXPECT_NEAR(std::remainder(L - std::atan2(Y, X) / kDeg - 180.0, 360.0), 0.0, 1e-9);
  EXPECT_NEAR(B, -std::asin(Z / R) / kDeg, 1e-9);
  EXPECT_GE(L, 0.0);
  EXPECT_LT(L, 360.0);
}

// Table H of the ELP-2000/82B notice, full theory, 5 dates.
TEST_F(TheoryLibrariesTest, Elp82BReproducesTheNoticeCheckValues) {
  const test::FixtureTable table = test::ReadFixture(KVX_FIXTURE_DIR "/elp82b_check.tsv");
  ASSERT_EQ(table.Rows(), 5u);
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    double X, Y, Z;
    ELP82B(table.Number(row, "jd"), X, Y, Z, -1);
    EXPECT_NEAR(X, table.Number(row, "X"), 1e-5) << row;
    EXPECT_NEAR(Y, table.Number(row, "Y"), 1e-5) << row;
    EXPECT_NEAR(Z, table.Number(row, "Z"), 1e-5) << row;
  }
}

// Version C is version D in rectangular form, A is B; positions agree to
// 1e-9 AU over 1700-2100.
TEST_F(TheoryLibrariesTest, RectangularVersionsAgreeWithTheSphericalOnes) {
  const test::FixtureTable table = test::ReadFixture(KVX_FIXTURE_DIR "/vsop87_check.tsv");
  for (double T : {-3.0, -1.0, -0.25, 0.0, 0.5, 1.0}) {
    for (const Planet& p : kPlanets) {
      double L, B, R, X, Y, Z, VX, VY, VZ;
      VersionD(p, T, L, B, R);
      p.c(T, X, Y, Z, VX, VY, VZ, -1);
      L *= kDeg;
      B *= kDeg;
      EXPECT_NEAR(X, R * std::cos(B) * std::cos(L), 1e-9) << p.name << " " << T;
      EXPECT_NEAR(Y, R * std::cos(B) * std::sin(L), 1e-9) << p.name << " " << T;
      EXPECT_NEAR(Z, R * std::sin(B), 1e-9) << p.name << " " << T;
    }
  }
  // Version A at J2000 against the check values of version B.
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    if (table.text[row][0] != "B" || table.Number(row, "jd") != 2451545.0) continue;
    const double L = table.Number(row, "L"), B = table.Number(row, "B"), R = table.Number(row, "R");
    for (const Planet& p : kPlanets) {
      if (table.text[row][1] != p.name) continue;
      double X, Y, Z, VX, VY, VZ;
      p.a(0.0, X, Y, Z, VX, VY, VZ, -1);
      EXPECT_NEAR(X, R * std::cos(B) * std::cos(L), 1e-9) << p.name;
      EXPECT_NEAR(Y, R * std::cos(B) * std::sin(L), 1e-9) << p.name;
      EXPECT_NEAR(Z, R * std::sin(B), 1e-9) << p.name;
    }
  }
}

// Velocities against a five-point central difference of the positions, AU
// per day. T and the step (2^-20 century, 0.035 day) are binary fractions,
// so that the sample times carry no rounding. The difference is limited by
// the rounding of the sums (about 1e-14 of the radius, divided by the step)
// and, away from J2000, by the rounding of the fast arguments (Mercury's
// longitude alone reaches 2600 rad a century from J2000): 1e-10 AU/day,
// 3e-10 at T = -2. A wrong derivative of any series power
// would show far above that (the velocities are about 1e-2 AU/day).
TEST_F(TheoryLibrariesTest, VelocitiesAreTheDerivativesOfThePositions) {
  const double h = std::ldexp(1.0, -20);  // centuries
  std::vector<std::pair<std::string, RectangularEntry>> entries;
  for (const Planet& p : kPlanets) {
    entries.emplace_back(std::string("C ") + p.name, p.c);
    entries.emplace_back(std::string("A ") + p.name, p.a);
  }
  entries.emplace_back("A Earth-Moon", vsop_a_emo);
  for (double jd : {2378496.5, 2451545.0, 2460000.25, 2488069.5}) {
    const double T = std::ldexp(std::round(std::ldexp(Centuries(jd), 30)), -30);
    for (const auto& [name, f] : entries) {
      double s[6], x[4][3], dummy;
      f(T, s[0], s[1], s[2], s[3], s[4], s[5], -1);
      const double offsets[4] = {-2 * h, -h, h, 2 * h};
      for (int n = 0; n < 4; ++n) f(T + offsets[n], x[n][0], x[n][1], x[n][2], dummy, dummy, dummy, -1);
      for (int i = 0; i < 3; ++i) {
        const double numeric = (8.0 * (x[2][i] - x[1][i]) - (x[3][i] - x[0][i])) / (12.0 * h * 36525.0);
        EXPECT_NEAR(s[3 + i], numeric, std::abs(T) > 1.5 ? 3e-10 : 1e-10) << name << " " << jd << " axis " << i;
      }
    }
  }
}

TEST_F(TheoryLibrariesTest, EarthMoonBarycentreLiesOneEightySecondOfTheWayToTheMoon) {
  const double jd = 2455000.5, T = Centuries(jd);
  double E[6], B[6], M[3];
  vsop_a_erd(T, E[0], E[1], E[2], E[3], E[4], E[5], -1);
  vsop_a_emo(T, B[0], B[1], B[2], B[3], B[4], B[5], -1);
  ELP82B(jd, M[0], M[1], M[2], -1);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR((B[i] - E[i]) * 149597870.7 * 82.30056, M[i], 1e-3) << i;
  // The barycentre's distance from the Earth: about 4670 km.
  const double d = std::hypot(B[0] - E[0], B[1] - E[1], B[2] - E[2]) * 149597870.7;
  EXPECT_GT(d, 4300.0);
  EXPECT_LT(d, 5000.0);
}

// Kepler's equation for the test: position from equinoctial elements.
void StateFromElements(double a, double lambda, double k, double h, double q, double p, double mu, double out[3]) {
  const double e = std::hypot(k, h), perihelion = std::atan2(h, k);
  const double sinHalfI = std::hypot(q, p), node = std::atan2(p, q);
  const double i = 2.0 * std::asin(sinHalfI), omega = perihelion - node;
  const double M = lambda - perihelion;
  double E = M;
  for (int n = 0; n < 50; ++n) E -= (E - e * std::sin(E) - M) / (1.0 - e * std::cos(E));
  const double xOrbit = a * (std::cos(E) - e), yOrbit = a * std::sqrt(1 - e * e) * std::sin(E);
  const double co = std::cos(omega), so = std::sin(omega), cn = std::cos(node), sn = std::sin(node);
  const double ci = std::cos(i), si = std::sin(i);
  out[0] = (cn * co - sn * so * ci) * xOrbit + (-cn * so - sn * co * ci) * yOrbit;
  out[1] = (sn * co + cn * so * ci) * xOrbit + (-sn * so + cn * co * ci) * yOrbit;
  out[2] = (so * si) * xOrbit + (co * si) * yOrbit;
  (void)mu;
}

// The VSOP82 interface gives the osculating elements of the version A state:
// turned back into a position they reproduce it.
TEST_F(TheoryLibrariesTest, Vsop82ElementsReproduceTheVersionAState) {
  using ElementsEntry = void (*)(double, double&, double&, double&, double&, double&, double&, double);
  const ElementsEntry elements[] = {vsop_mer, vsop_ven, vsop_ear, vsop_mar, vsop_jup, vsop_sat, vsop_ura, vsop_nep};
  const RectangularEntry states[] = {vsop_a_mer, vsop_a_ven, vsop_a_emo, vsop_a_mar,
                                     vsop_a_jup, vsop_a_sat, vsop_a_ura, vsop_a_nep};
  const double expectedA[] = {0.387, 0.723, 1.000, 1.524, 5.20, 9.55, 19.2, 30.1};
  for (double T : {-0.9, 0.0, 0.37}) {
    for (int planet = 0; planet < 8; ++planet) {
      double a, lambda, k, h, q, p;
      elements[planet](T, a, lambda, k, h, q, p, -1);
      double X[6];
      states[planet](T, X[0], X[1], X[2], X[3], X[4], X[5], -1);
      double fromElements[3];
      StateFromElements(a, lambda, k, h, q, p, 0, fromElements);
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(fromElements[i], X[i], 1e-10 * a) << planet << " " << T;
      EXPECT_NEAR(a, expectedA[planet], 0.02 * expectedA[planet]) << planet;
      EXPECT_GE(lambda, 0.0);
      EXPECT_LT(lambda, 2 * std::numbers::pi);
      EXPECT_LT(std::hypot(k, h), 0.21) << planet;
      EXPECT_LT(std::hypot(q, p), 0.07) << planet;
    }
  }
}

// The truncation levels: any negative level is the full series; 4, 6, 8
// and 10 keep the position (VSOP87 D, Sun and planets) within about 0.001",
// 0.05", 3" and 1', and the Moon within 0.01, 0.2, 7 and 300 km, over
// 1900-2100. The bounds are those the README states, with some margin.
TEST_F(TheoryLibrariesTest, TruncationLevelsStayWithinTheirStatedErrors) {
  const SphericalEntry d[8] = {vsopmerkur_hel, vsopvenus_hel,  vsopsun_l,      vsopmars_hel,
                               vsopjupiter_hel, vsopsaturn_hel, vsopuranus_hel, vsopneptun_hel};
  const struct {
    int level;
    double planet;  // arcseconds, direction and distance (as an angle)
    double moon;    // km
  } bounds[] = {{4, 0.002, 0.02}, {6, 0.1, 0.3}, {8, 4.0, 10.0}, {10, 120.0, 500.0}};
  double previous = 0.0;
  for (const auto& bound : bounds) {
    double worstPlanet = 0.0, worstMoon = 0.0;
    for (double T = -1.0; T <= 1.0; T += 0.0625) {
      for (SphericalEntry entry : d) {
        double L0, B0, R0, L, B, R;
        entry(T, L0, B0, R0, -1);
        entry(T, L, B, R, bound.level);
        const double dl = std::remainder(L - L0, 360.0) * 3600.0 * std::cos(B0 * kDeg);
        const double direction = std::hypot(dl, (B - B0) * 3600.0);
        const double distance = std::abs(R - R0) / R0 * 206264.8;
        worstPlanet = std::max({worstPlanet, direction, distance});
      }
      double X0, Y0, Z0, X, Y, Z;
      const double jd = 2451545.0 + 36525.0 * T;
      ELP82B(jd, X0, Y0, Z0, -1);
      ELP82B(jd, X, Y, Z, bound.level);
      worstMoon = std::max(worstMoon, std::hypot(X - X0, Y - Y0, Z - Z0));
    }
    EXPECT_LT(worstPlanet, bound.planet) << bound.level;
    EXPECT_LT(worstMoon, bound.moon) << bound.level;
    EXPECT_GT(worstPlanet, previous) << bound.level;  // each level is coarser
    previous = worstPlanet;
  }
  EXPECT_GT(previous, 10.0);  // level 10 is visibly coarse
  double L0, B0, R0, L, B, R;
  vsopmars_hel(0.2, L0, B0, R0, -1);
  vsopmars_hel(0.2, L, B, R, -7);
  EXPECT_EQ(L, L0);
  EXPECT_EQ(R, R0);
}

}  // namespace
}  // namespace kvx
