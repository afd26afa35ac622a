// Internal planetary series of Mercury to Neptune and the choice of source
// of the heliocentric planet routine.
#include "theories/planet_series.h"

#include <array>

#include "core/frames.h"
#include "core/vector_math.h"
#include "theories/planet_series_tables.h"
#include "theories/position_files.h"
#include "theories/series_arithmetic.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

using planet_tables::Perturber;
using planet_tables::SeriesPlanet;
using series::Add;
using series::CosSin;
using series::CosSinOf;
using series::MeanAnomaly;
using series::Negate;

constexpr double kTwoPi = kTwoPiAsTabulated;

// Mean anomaly a + b*T in revolutions (T in Julian centuries).
struct Anomaly {
  double a = 0.0;
  double b = 0.0;
  bool used = false;
};

// Indices of the bodies' mean anomalies: the values of Perturber from
// Mercury to Neptune.
constexpr int kMercury = 0, kVenus = 1, kEarth = 2, kMars = 3, kJupiter = 4, kSaturn = 5, kUranus = 6, kNeptune = 7;

using Vsop87DRoutine = void (*)(double T, double& L, double& B, double& R, double level);
using Vsop87CRoutine = void (*)(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ,
                                double level);

// Everything of one planet's series outside the term tables, and the
// planet's entry points in the theory libraries.
struct SeriesConstants {
  Vsop87DRoutine vsop87d;
  Vsop87CRoutine vsop87c;
  SeriesPlanet planet;
  int own;                           // index of the planet's own anomaly
  std::array<Anomaly, 8> anomalies;  // this routine's values, Mercury..Neptune
  int lowestP, highestP;             // range of the own table
  // Final formulas: L = 360 frac(l0 + M/2pi + ((l1 + l2 T) T + DL)/1296000),
  // R = r0 + r1 T + r2 T^2 + DR*radiusUnit, B = (b0 + b1 T + b2 T^2 + DB)/3600.
  double l0, l1, l2;  // revolutions; arcseconds per century (squared)
  double r0, r1, r2;  // AU
  double radiusUnit;  // AU per unit of DR
  double b0, b1, b2;  // arcseconds
};

constexpr Anomaly A(double a, double b) { return {a, b, true}; }
constexpr Anomaly kNone{};

// clang-format off
constexpr SeriesConstants kMercurySeries{
    vsopmerkur_hel, vsop_c_mer, SeriesPlanet::kMercury, kMercury,
    {A(0.4855407, 415.2014314), A(0.1394222, 162.5490444), A(0.9937861, 99.9978139), kNone,
     A(0.0558417, 8.4298417), A(0.8823333, 3.3943333), kNone, kNone},
    -1, 9,
    0.2151379, 5601.7, 1.1, 0.3952829, 0.0000016, 0.0, 1e-6, -2522.15, -30.18, 0.04};
constexpr SeriesConstants kVenusSeries{
    vsopvenus_hel, vsop_c_ven, SeriesPlanet::kVenus, kVenus,
    {A(0.4861431, 415.2018375), A(0.1400197, 162.5494552), A(0.9944153, 99.9982208),
     A(0.0556297, 53.1674631), A(0.0567028, 8.4305083), A(0.8830539, 3.3947206), kNone, kNone},
    0, 8,
    0.3654783, 5071.2, 1.1, 0.7233482, -0.0000002, 0.0, 1e-6, -67.7, 0.04, 0.01};
constexpr SeriesConstants kMarsSeries{
    vsopmars_hel, vsop_c_mar, SeriesPlanet::kMars, kMars,
    {kNone, A(0.1382208, 162.5482542), A(0.9926208, 99.9970236), A(0.0538553, 53.1662736),
     A(0.0548944, 8.4290611), A(0.8811167, 3.393525), kNone, kNone},
    -2, 16,
    0.9334591, 6615.5, 1.1, 1.5303352, 0.0000131, 0.0, 1e-6, 596.32, -2.92, -0.1};
constexpr SeriesConstants kJupiterSeries{
    vsopjupiter_hel, vsop_c_jup, SeriesPlanet::kJupiter, kJupiter,
    {kNone, kNone, kNone, kNone, A(0.0565314, 8.4302963), A(0.8829867, 3.3947688), A(0.3969537, 1.1902586), kNone},
    -1, 5,
    0.038891, 5025.2, 0.8, 5.208873, 0.000041, 0.0, 1e-5, 227.3, -0.3, 0.0};
constexpr SeriesConstants kSaturnSeries{
    vsopsaturn_hel, vsop_c_sat, SeriesPlanet::kSaturn, kSaturn,
    {kNone, kNone, kNone, kNone, A(0.0565314, 8.4302963), A(0.8829867, 3.3947688), A(0.3969537, 1.1902586),
     A(0.7208473, 0.6068623)},
    0, 11,
    0.2561136, 5018.6, 1.9, 9.557584, -0.000186, 0.0, 1e-5, 175.1, -10.2, 0.0};
constexpr SeriesConstants kUranusSeries{
    vsopuranus_hel, vsop_c_ura, SeriesPlanet::kUranus, kUranus,
    {kNone, kNone, kNone, kNone, A(0.0564472, 8.4302889), A(0.8829611, 3.3947583), A(0.3967117, 1.1902849),
     A(0.7216833, 0.6068528)},
    -2, 7,
    0.4734843, 5082.3, 34.2, 19.211991, -0.000333, -0.000005, 1e-5, -130.61, -0.54, 0.04};
constexpr SeriesConstants kNeptuneSeries{
    vsopneptun_hel, vsop_c_nep, SeriesPlanet::kNeptune, kNeptune,
    {kNone, kNone, kNone, kNone, A(0.0563867, 8.4298907), A(0.8825086, 3.3957748), A(0.3965358, 1.1902851),
     A(0.7214906, 0.6068526)},
    0, 6,
    0.1254046, 4982.8, -21.3, 30.072984, 0.001234, 0.000003, 1e-5, 54.77, 0.26, 0.06};
// clang-format on

// Cosines and sines of the multiples lowest..highest of one angle, indexed by
// the multiple. Large enough for every own table (-2..16) and every
// perturber table (-10..+1) of the series.
template <int kLowest, int kHighest>
class MultipleTable {
 public:
  CosSin& operator[](int n) { return entries_[static_cast<std::size_t>(n - kLowest)]; }

 private:
  std::array<CosSin, kHighest - kLowest + 1> entries_{};
};
using OwnTable = MultipleTable<-2, 16>;
using PerturberTable = MultipleTable<-10, 1>;

// Sums of the series: DL and DB in arcseconds, DR in the planet's radius unit.
struct Sums {
  double dl = 0.0;
  double dr = 0.0;
  double db = 0.0;

  void Add(double lc, double ls, double rc, double rs, double bc, double bs, CosSin uv) {
    dl += lc * uv.c + ls * uv.s;
    dr += rc * uv.c + rs * uv.s;
    db += bc * uv.c + bs * uv.s;
  }
};

// Fills the perturber table of one group (entry 0 is (1, 0)).
void FillPerturberTable(const planet_tables::SeriesGroup& group, const std::array<double, 8>& m,
                        PerturberTable& table) {
  table[0] = CosSin{1.0, 0.0};
  if (group.perturber == Perturber::kJupiterAndSaturn) {
    // Entry q stands for 2 M_Jupiter + q M_Saturn: entry -4 directly, the
    // lower ones by steps of -M_Saturn.
    const CosSin step = Negate(CosSinOf(m[kSaturn]));
    table[-4] = CosSinOf(2.0 * m[kJupiter] - 4.0 * m[kSaturn]);
    for (int q = -4; q > group.lowestQ; --q) table[q - 1] = Add(table[q], step);
    return;
  }
  const double anomaly = m[static_cast<int>(group.perturber)];
  if (group.lowestQ == group.highestQ && group.lowestQ < -1) {
    // A group of one multiple only: that entry directly.
    table[group.lowestQ] = Negate(CosSinOf(-group.lowestQ * anomaly));
    return;
  }
  const CosSin once = CosSinOf(anomaly);
  table[-1] = Negate(once);
  for (int q = -1; q > group.lowestQ; --q) table[q - 1] = Add(table[q], table[-1]);
  if (group.highestQ >= 1) table[1] = once;
}

// The extra terms of Jupiter and Saturn, in their combined arguments.
void JupiterExtraTerms(const std::array<double, 8>& m, OwnTable& own, Sums& sums) {
  const CosSin phi = CosSinOf(2.0 * m[kJupiter] - 6.0 * m[kSaturn] + 3.0 * m[kUranus]);
  sums.dl += -0.8 * phi.c + 8.5 * phi.s;
  sums.dr += -0.1 * phi.c;
  const CosSin phi1 = Add(phi, own[1]);
  sums.dl += 0.4 * phi1.c + 0.5 * phi1.s;
  sums.dr += -0.7 * phi1.c + 0.5 * phi1.s;
  sums.db += -0.1 * phi1.c;
}

void SaturnExtraTerms(const std::array<double, 8>& m, double T, OwnTable& own, Sums& sums) {
  const CosSin phi = CosSinOf(-2.0 * m[kJupiter] + 5.0 * m[kSaturn] - 3.0 * m[kUranus]);
  sums.dl += -0.8 * phi.c - 0.1 * phi.s;
  sums.dr += -0.2 * phi.c + 1.8 * phi.s;
  sums.db += 0.3 * phi.c + 0.5 * phi.s;
  const CosSin phi1 = Add(phi, own[1]);
  sums.dl += (2.4 - 0.7 * T) * phi1.c + (27.8 - 0.4 * T) * phi1.s;
  sums.dr += 2.1 * phi1.c - 0.2 * phi1.s;
  const CosSin phi2 = Add(phi1, own[1]);
  sums.dl += 0.1 * phi2.c + 1.6 * phi2.s;
  sums.dr += -3.6 * phi2.c + 0.3 * phi2.s;
  sums.db += -0.2 * phi2.c + 0.6 * phi2.s;
}

// Long-period and constant terms added after the groups.
void ExtraTerms(const SeriesConstants& k, const std::array<double, 8>& m, double T, OwnTable& own, Sums& sums) {
  switch (k.planet) {
    case SeriesPlanet::kMercury:
      sums.dl += 2.8 + 3.2 * T;
      break;
    case SeriesPlanet::kVenus:
      sums.dl += 2.74 * std::sin(kTwoPi * (0.0764 + 0.4174 * T)) + 0.27 * std::sin(kTwoPi * (0.9201 + 0.3307 * T));
      sums.dl += 1.9 + 1.8 * T;
      break;
    case SeriesPlanet::kMars:
      sums.dl += 52.49 * std::sin(kTwoPi * (0.1868 + 0.0549 * T)) + 0.61 * std::sin(kTwoPi * (0.922 + 0.3307 * T)) +
                 0.32 * std::sin(kTwoPi * (0.4731 + 2.1485 * T)) + 0.28 * std::sin(kTwoPi * (0.9467 + 0.1133 * T));
      sums.dl += 0.14 + 0.87 * T - 0.11 * T * T;
      break;
    case SeriesPlanet::kJupiter:
      JupiterExtraTerms(m, own, sums);
      break;
    case SeriesPlanet::kSaturn:
      SaturnExtraTerms(m, T, own, sums);
      break;
    case SeriesPlanet::kUranus:
    case SeriesPlanet::kNeptune:
      break;
  }
}

// The internal series of one planet: L, B in degrees (L in [0, 360)) and R
// in AU, mean ecliptic and equinox of date.
void InternalSeries(const SeriesConstants& k, double T, double& L, double& B, double& R) {
  Sums sums;
  std::array<double, 8> m{};
  for (std::size_t i = 0; i < m.size(); ++i) {
    if (k.anomalies[i].used) m[i] = MeanAnomaly(k.anomalies[i].a, k.anomalies[i].b, T);
  }
  const double ownAnomaly = m[static_cast<std::size_t>(k.own)];

  OwnTable own;
  own[0] = CosSin{1.0, 0.0};
  own[1] = CosSinOf(ownAnomaly);
  for (int p = 1; p < k.highestP; ++p) own[p + 1] = Add(own[p], own[1]);
  for (int p = 1; p <= -k.lowestP; ++p) own[-p] = Negate(own[p]);

  for (const planet_tables::SeriesGroup& group : planet_tables::kSeriesGroups) {
    if (group.planet != k.planet) continue;
    PerturberTable perturber;
    FillPerturberTable(group, m, perturber);
    CosSin uv;
    for (int i = group.firstTerm; i < group.firstTerm + group.termCount; ++i) {
      const planet_tables::SeriesTerm& t = planet_tables::kSeriesTerms[static_cast<std::size_t>(i)];
      if (t.k == 0) {
        uv = Add(own[t.p], perturber[t.q]);
      } else {
        uv = CosSin{uv.c * T, uv.s * T};
      }
      sums.Add(t.lc, t.ls, t.rc, t.rs, t.bc, t.bs, uv);
    }
  }
  ExtraTerms(k, m, T, own, sums);

  L = 360.0 * FracPositiveTrunc(k.l0 + ownAnomaly / kTwoPi + ((k.l1 + k.l2 * T) * T + sums.dl) / 1296000.0);
  R = k.r0 + k.r1 * T + k.r2 * T * T + sums.dr * k.radiusUnit;
  B = (k.b0 + k.b1 * T + k.b2 * T * T + sums.db) / 3600.0;
}

// The series of each body number (1 Mercury .. 8 Neptune; none for the
// Earth).
constexpr std::array<const SeriesConstants*, 9> kSeriesOfBody = {nullptr,        &kMercurySeries, &kVenusSeries,
                                                                 nullptr,        &kMarsSeries,    &kJupiterSeries,
                                                                 &kSaturnSeries, &kUranusSeries,  &kNeptuneSeries};

}  // namespace

THeliocentricPlace PlanetSeriesHeliocentric(int body, PositionFileHandle handle, TTheorySelection selection, double T,
                                            TTruncationLevel level) {
  THeliocentricPlace p;
  if (body < 0 || body >= static_cast<int>(kSeriesOfBody.size()) || kSeriesOfBody[body] == nullptr) return p;
  const SeriesConstants& k = *kSeriesOfBody[body];
  switch (selection.PlanetTheory()) {
    case kPlanetTheoryPositionFiles:
      ReadPositionFile(handle, p.L, p.B, T, p.R, p.X, p.Y, p.Z, p.VX, p.VY, p.VZ);
      break;
    case kPlanetTheoryVsop87D:
      k.vsop87d(T, p.L, p.B, p.R, static_cast<double>(level));
      PolarToCartesian(p.X, p.Y, p.Z, p.R, p.B, p.L);
      break;
    case kPlanetTheoryVsop87C:
      k.vsop87c(T, p.X, p.Y, p.Z, p.VX, p.VY, p.VZ, static_cast<double>(level));
      CartesianToPolar(p.R, p.B, p.L, p.X, p.Y, p.Z);
      FK5Correction(p.L, p.B, T);
      PolarToCartesian(p.X, p.Y, p.Z, p.R, p.B, p.L);
      break;
    default:
      InternalSeries(k, T, p.L, p.B, p.R);
      PolarToCartesian(p.X, p.Y, p.Z, p.R, p.B, p.L);
      break;
  }
  return p;
}

}  // namespace kvx
