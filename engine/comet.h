// TKomet and TKometeph: a comet as one position and as an ephemeris table.
// Both keep the body chain of TKepler / TKeplereph and replace its orbit
// step (ellipse, parabola or hyperbola from the perihelion distance) and the
// magnitude (the comet law).
//
// Element mapping into the TKepler fields: PerihelionDistance q, e, i, node,
// argument of perihelion and Equinox from the record; Epoch holds the
// perihelion time T (JD, TT) and SecondEpoch the record's epoch; H and G the
// magnitude parameters. SemiMajorAxis and MeanMotion are set by the orbit
// step: a = |q / (1 - e)| (q for e = 1), n = 0.985607669 / a^1.5 degrees/day.
#pragma once

#include <cstdint>

#include "core/comet_elements.h"
#include "engine/ephemeris_table.h"
#include "engine/kepler.h"

namespace kvx {

// The Gaussian gravitational constant in degrees per day.
inline constexpr double kGaussDegreesPerDay = 0.985607669;
// Below this |1 - e| and within kNearParabolicDegrees of perihelion the
// near-parabolic (universal-variable) routine replaces the routine e selects.
inline constexpr double kNearParabolicEccentricity = 0.1;
inline constexpr double kNearParabolicDegrees = 5.0;

enum class CometOrbitRoutine { Elliptic, Parabolic, NearParabolic, Hyperbolic };

// One evaluation of a comet orbit at the Julian day `jd` (TT).
// Returned: the orbit-plane position x, y (AU) and velocity vx, vy (AU/day),
// M' = Mod360((jd - T) n) in degrees, a and n, and the routine used.
// The near-parabolic test looks at the unreduced |(jd - T) n| for e >= 1
// (a hyperbola's anomaly does not repeat) and at M reduced to (-180, 180]
// for e < 1; when the near-parabolic routine finds no solution the routine
// of e is used.
struct TCometOrbitPlace {
  double X = 0, Y = 0, VX = 0, VY = 0;
  double MeanAnomaly = 0;
  double SemiMajorAxis = 0;
  double MeanMotion = 0;
  CometOrbitRoutine Routine = CometOrbitRoutine::Elliptic;
};
TCometOrbitPlace CometOrbitPlace(double q, double e, double perihelionJd, double jd);

// Total magnitude m = H + 5 log10(delta) + 2.5 G log10(r); NaN (an empty
// cell) when delta or r is not above 0.
double CometMagnitude(double H, double G, double delta, double r);

// The comet's elements into the TKepler fields of `body` (name cut to 40
// characters), and back.
void SetCometElements(TKepler& body, const TCometElements& elements);
TCometElements CometElementsOf(const TKepler& body);
// True when the elements can be computed (q > 0, e >= 0, every field
// finite); otherwise the German and English reasons.
bool CometElementsUsable(const TKepler& body, std::string* german, std::string* english);

class TKomet : public TKepler {
 public:
  TKomet(const TBodySettings& body, TTheorySelection selection, std::int32_t creatorWord,
         const TTableConfigRecord& config, const TCometElements& elements, const TObserverRecord& observer,
         const TAccuracySettings& accuracy);
  // The same stores with full computation 1.
  void initialisieren(const TBodySettings& body, TTheorySelection selection, const TTableConfigRecord& config,
                      const TCometElements& elements, const TObserverRecord& observer,
                      const TAccuracySettings& accuracy);

  void Bahn2heliozentrisch(TComputeSettingsBlock settings, double mjdTT) override;
  void physischeEphemeride() override;
  bool ElementsUsable(std::string* german = nullptr, std::string* english = nullptr) const override;

  // The routine the last orbit step used.
  CometOrbitRoutine LastRoutine = CometOrbitRoutine::Elliptic;
};

class TKometeph : public TKeplereph {
 public:
  TKometeph(const TTableRequest& request, TSheet* outputSheet, const TCometElements& elements);
  // As the constructor's stores, with the caption "Berechne Ephemeride des
  // Kometen" / "Calculating ephemeris of the Comet" and full computation 1.
  void initialisieren(const TTableRequest& request, const TCometElements& elements);
  using TKeplereph::initialisieren;

  // As TKomet's, and M' into the result's mean-anomaly field.
  void Bahn2heliozentrisch(TComputeSettingsBlock settings, double mjdTT) override;
  void physischeEphemeride() override;
  bool ElementsUsable(std::string* german = nullptr, std::string* english = nullptr) const override;

  CometOrbitRoutine LastRoutine = CometOrbitRoutine::Elliptic;

 protected:
  // The comet integration (engine/orbit_integration.h) for integriere.
  void RunOrbitIntegration(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show,
                           long double span, std::uint8_t nameFlag) override;
};

}  // namespace kvx
