// Numerical integration of a small body's orbit: the heliocentric state at
// the element epoch is carried by the multistep solver (engine/ode_solver.h)
// under the Sun's attraction and that of the chosen planets, first to the
// start of the table period and then from row to row; each row's state runs
// through the object's position operations from the geocentric step on.
//
// Frame and units of the integration: heliocentric rectangular coordinates
// referred to the mean ecliptic and equinox of J2000, AU and AU per day; the
// independent variable is the MJD of dynamical time (TT); T is in Julian
// centuries of TT from J2000. The rows are referred to the ecliptic of date.
//
// Reference: the perturbation of a massless body by the planets in
// heliocentric coordinates (direct and indirect terms), e.g. Danby,
// Fundamentals of Celestial Mechanics, 2nd ed., ch. 9.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/two_body.h"
#include "core/vector_math.h"
#include "engine/kepler.h"
#include "engine/ode_solver.h"

namespace kvx {

class TKeplereph;
struct TTheoryState;

// k^2, AU^3 per day^2 per solar mass (the Gaussian constant squared, held
// as this extended value).
inline constexpr long double kOrbitK2 = 0.000295912208285591L;

// The perturbing bodies in the order of the planet index (0 Mercury ..
// 8 Pluto): reciprocal masses in solar masses (the Earth with the Moon), and
// the byte of the theory selection that switches each on.
inline constexpr std::array<long double, 9> kPerturberReciprocalMasses = {
    6023600.0L, 408523.5L, 328900.5L, 3098710.0L, 1047.355L, 3498.5L, 22869.0L, 19314.0L, 3000000.0L};
inline constexpr int kFirstPerturberSwitchByte = 3;

// The main window's daily planet positions for the integration ("pos.vsp",
// J2000 ecliptic) as the force model reads them. The main window installs
// its theory state and its integration-database switch; with either absent
// the planets come from the selected theory.
struct TIntegrationPositionFile {
  TTheoryState* Theory = nullptr;
  std::uint8_t* DatabaseSwitch = nullptr;  // cleared for good outside the usable span
};
extern TIntegrationPositionFile IntegrationPositionFile;

// The context the force model needs besides the state: the theory settings
// of the main window and the precision level for the planet theories.
struct TOrbitForceContext {
  TComputeSettingsBlock Settings{};
  TTheorySelection Selection;
  std::int32_t PrecisionLevel = kFullTheory;
};

// Acceleration of a massless body at (x, y, z) (AU, J2000 ecliptic) at T
// (Julian centuries of TT from J2000): the Sun, then for each switched-on
// planet the direct term -GM (r - R)/|r - R|^3 and the indirect term
// -GM R/|R|^3. Returned ax, ay, az in AU per day^2. Returns false when a
// result is not finite (a collision with the Sun or a planet).
bool OrbitEquationsOfMotion(const TOrbitForceContext& context, long double T, long double x, long double y,
                            long double z, long double& ax, long double& ay, long double& az);

// Heliocentric positions of the nine planets at T (Julian centuries of TT),
// AU, J2000 ecliptic: from "pos.vsp" when it is installed and serves the date,
// else from the selected theory rotated into J2000 (the never-VSOP byte
// selects the internal series). Only the switched-on planets are filled.
void PerturberPositions(const TOrbitForceContext& context, long double T,
                        std::array<std::array<long double, 3>, 9>& positions);

// The derivative function of the solver: t is the MJD of TT; y = (x, y, z,
// vx, vy, vz). Returns false when a derivative is not finite.
bool OrbitDerivatives(const TOrbitForceContext& context, long double t, const long double* y, long double* yp);

// The object's elements for the integration: T of the epoch (the element
// epoch taken as TT), a (AU), T of the element equinox, the orientation
// matrix of the orbit in the ecliptic of that equinox, M and e.
void OrbitSetupFromElements(const TKepler& object, long double& epochT, long double& a, long double& equinoxT,
                            TMatrix33Ext& orientation, long double& M, long double& e);

// Heliocentric J2000 ecliptic state (AU, AU/day) of elliptic elements at
// their epoch: orbit-plane place, orientation, precession from the element
// equinox to J2000.
TStateVectorExt OrbitStartState(long double a, long double e, long double M, const TMatrix33Ext& orientation,
                                long double equinoxT);

// Starts closer than this to the epoch move the epoch back by
// kEpochShiftCenturies (2 s and 1 s in Julian centuries).
inline constexpr long double kEpochNearCenturies = 6.3376175628057904e-10L;
inline constexpr long double kEpochShiftCenturies = 3.1688087814028952e-10L;
// A code 3 (tolerance raised by the solver) repeated more often than this in
// a row ends the run.
inline constexpr int kMaxToleranceRaises = 5;

// The integrated table of an asteroid. Given the settings block, the
// apparent-sidereal-time flag, the theory selection (bytes 3-11 switch the
// perturbers on), the table object (elements, period, step, working observer
// record), the relative tolerance (the absolute one is 0), the show flag,
// the span of the period in days (for the progress bar), the VSOP level for
// the rows' observer records and the one for the planet theories, and the
// name flag. Fills RowStore (with `show`), the object's Rows, Result and
// Observer. Refuses with a message, computing nothing: a step that is not
// above 0, an end before the start, a tolerance that is not above 0,
// unusable elements. A failed integration (solver refusal, values that are
// not finite, a tolerance that cannot be met, no progress) leaves 0 rows and
// says so. Polls AbortRequested; a cancel leaves the rows to the caller.
void IntegrateOrbitNumerically(TComputeSettingsBlock settings, std::uint8_t siderealFlag, TTheorySelection selection,
                               TKeplereph& object, const TAccuracySettings& accuracy, std::uint8_t show,
                               long double spanDays, std::uint8_t nameFlag);

// The integrated table of a comet: as IntegrateOrbitNumerically, from the
// state at the element epoch (the record's epoch; the perihelion time when
// the record has none) that the comet's orbit step gives (ellipse, parabola,
// hyperbola or the near-parabolic routine, by the rule of CometOrbitPlace).
void IntegrateCometOrbitNumerically(TComputeSettingsBlock settings, std::uint8_t siderealFlag,
                                    TTheorySelection selection, TKeplereph& object, const TAccuracySettings& accuracy,
                                    std::uint8_t show, long double spanDays, std::uint8_t nameFlag);

// Stores the heliocentric J2000 ecliptic state `state` (x, y, z in AU, vx,
// vy, vz in AU/day) precessed to the ecliptic and equinox of date T (Julian
// centuries, TT) in `result`: the rectangular place, its polar form (AU,
// degrees) and the velocity.
void StoreHelioStateOfDate(TEphemerisResultRecord& result, const long double* state, double T);

// Heliocentric J2000 ecliptic state (AU, AU/day) of a comet (perihelion
// elements in the TKepler fields) at the Julian day `epochJd` (TT).
TStateVectorExt CometStartState(const TKepler& object, double epochJd);

// The comet's integrated states (J2000 ecliptic, AU and AU/day) at the
// dynamical times `mjdTT` (MJD, TT, any order): one run from the state at
// the element epoch (as IntegrateCometOrbitNumerically starts) forward
// through the later instants in time order, one backward through the
// earlier ones; an instant at the epoch takes the start state; instants
// not reached stay NaN. No progress panel. False when the tolerance is not above 0, the start state or an
// instant is not finite, the integration failed (said once through the
// message seam) or AbortRequested stopped it; `states` is then incomplete.
bool IntegrateCometStates(TComputeSettingsBlock settings, TTheorySelection selection, const TKepler& object,
                          long double tolerance, std::int32_t vsopLevelB, std::span<const double> mjdTT,
                          std::vector<TStateVectorExt>& states);

}  // namespace kvx
