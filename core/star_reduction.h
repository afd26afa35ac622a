// The place of date of a catalogue star from its mean place of 1950.0: one
// routine for every search that reads the occultation star catalogue (the
// event and conjunction searches, the occultations by the Moon and by the
// planets).
//
// Catalogue frame: FK4 mean equator and equinox B1950.0, epoch 1950.0;
// proper motions in degrees per Julian year (right ascension as d alpha /
// dt, not multiplied by cos dec). Times: Julian centuries T from J2000 (the
// caller's time scale, TT in the searches). Angles in degrees.
//
// Steps:
//   1. epoch place: mean place + years x proper motion, years from 1950.0;
//   2. precession: the IAU 1976 matrix from T = -0.5 (B1950) to T, or, with
//      the old-precession switch, Newcomb's matrix followed by the empirical
//      term (0.085 T + 0.0775)" in right ascension (AddEmpiricalArcsecTerm);
//   3. nutation to first order (x += -(dpsi cos eps y + dpsi sin eps z),
//      y += dpsi cos eps x - deps z, z += dpsi sin eps x + deps y);
//   4. optional annual aberration: from the Sun's true longitude terms
//      (AberrationFromSunTerms, no e-terms) or AberrationEquatorial with
//      mode 1 (no e-terms) or 2 (with e-terms).
#pragma once

#include <cstdint>

#include "core/vector_math.h"

namespace kvx {

// The annual aberration a reduction adds.
enum class TStarAberration : std::uint8_t {
  None,         // mean place of date with nutation (the event searches)
  SunTerms,     // from the prepared Sun and obliquity terms
  Equatorial1,  // AberrationEquatorial mode 1 at T
  Equatorial2,  // AberrationEquatorial mode 2 at T
};

// Everything a reduction to one date needs, prepared once and shared by
// every star of that date.
struct TStarReduction {
  double T = 0;                // Julian centuries from J2000
  bool OldPrecession = false;  // Newcomb matrix and the empirical term
  TMatrix33 Precession{};      // B1950 -> mean equator and equinox of T
  double DpsiCosEps = 0;       // nutation terms, radians
  double DpsiSinEps = 0;
  double Deps = 0;
  TStarAberration Aberration = TStarAberration::None;
  double Obliquity = 0;           // mean obliquity of T, degrees
  double SinEps = 0, CosEps = 1;  // of the obliquity
  double SinL = 0, CosL = 1;      // of the Sun's true longitude at T
};

// Prepares the reduction to T: the precession matrix of the switch, the
// mean obliquity, the nutation angles (IAU 1980, NutationAngles) and the
// Sun's true longitude.
TStarReduction StarReductionAt(double T, bool oldPrecession, TStarAberration aberration);
// The same with the caller's precession matrix (B1950 -> T, IAU 1976) and
// obliquity (degrees) for the nutation terms, as the observer record holds
// them.
TStarReduction StarReductionWith(double T, const TMatrix33& precession, double obliquityDeg);

// Epoch place: ra0 + years x pmRa, dec0 + years x pmDec (degrees, not
// reduced to 0..360), years = (T + 0.5) x 100 from 1950.0.
void StarPlaceAtEpoch(double ra1950, double dec1950, double pmRa, double pmDec, double T, double& ra, double& dec);

// Place of date of the epoch place (raEpoch, decEpoch) with the prepared
// terms. Returned: ra in [0, 360), dec, degrees. Not defined at the
// celestial poles when aberration is asked for.
void StarToDate(const TStarReduction& reduction, double raEpoch, double decEpoch, double& ra, double& dec);

}  // namespace kvx
