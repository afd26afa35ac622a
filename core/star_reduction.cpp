#include "core/star_reduction.h"

#include <cmath>

#include "core/frames.h"
#include "core/sun_longitude.h"
#include "core/time_scales.h"

namespace kvx {

namespace {

void PrepareNutation(TStarReduction& r, double obliquityDeg) {
  double dpsi = 0, deps = 0;
  NutationAngles(dpsi, deps, r.T);
  double cosEps = 0;
  const double sinEps = SinCosDeg(cosEps, obliquityDeg);
  r.DpsiCosEps = dpsi * cosEps;
  r.DpsiSinEps = dpsi * sinEps;
  r.Deps = deps;
}

}  // namespace

TStarReduction StarReductionAt(double T, bool oldPrecession, TStarAberration aberration) {
  TStarReduction r;
  r.T = T;
  r.OldPrecession = oldPrecession;
  if (oldPrecession) {
    PrecessionMatrixNewcomb(r.Precession, T);
  } else {
    PrecessionMatrixEquatorial(r.Precession, -0.5, T);
  }
  r.Obliquity = MeanObliquity(T);
  PrepareNutation(r, r.Obliquity);
  r.Aberration = aberration;
  r.SinEps = SinCosDeg(r.CosEps, r.Obliquity);
  double longitude = 0, eccentricity = 0;
  SunTrueLongitude(longitude, eccentricity, T);
  r.SinL = SinCosDeg(r.CosL, longitude);
  return r;
}

TStarReduction StarReductionWith(double T, const TMatrix33& precession, double obliquityDeg) {
  TStarReduction r;
  r.T = T;
  r.Precession = precession;
  r.Obliquity = obliquityDeg;
  PrepareNutation(r, obliquityDeg);
  return r;
}

void StarPlaceAtEpoch(double ra1950, double dec1950, double pmRa, double pmDec, double T, double& ra, double& dec) {
  const double years = (T + 0.5) * 100.0;
  ra = ra1950 + years * pmRa;
  dec = dec1950 + years * pmDec;
}

void StarToDate(const TStarReduction& reduction, double raEpoch, double decEpoch, double& ra, double& dec) {
  double x = 0, y = 0, z = 0, r = 0;
  PolarToCartesian(x, y, z, 1.0, decEpoch, raEpoch);
  MatrixTimesVector(reduction.Precession, x, y, z);
  if (reduction.OldPrecession) {
    CartesianToPolar(r, dec, ra, x, y, z);
    ra = AddEmpiricalArcsecTerm(ra, reduction.T);
    PolarToCartesian(x, y, z, 1.0, dec, ra);
  }
  SmallRotateVector(x, y, z, reduction.Deps, reduction.DpsiSinEps, reduction.DpsiCosEps);
  CartesianToPolar(r, dec, ra, x, y, z);
  ra = Mod360(ra);
  switch (reduction.Aberration) {
    case TStarAberration::None:
      break;
    case TStarAberration::SunTerms:
      AberrationFromSunTerms(ra, dec, reduction.T, reduction.SinEps, reduction.CosEps, reduction.SinL, reduction.CosL,
                             0.0);
      break;
    case TStarAberration::Equatorial1:
      AberrationEquatorial(1, ra, dec, reduction.T, reduction.Obliquity);
      break;
    case TStarAberration::Equatorial2:
      AberrationEquatorial(2, ra, dec, reduction.T, reduction.Obliquity);
      break;
  }
  if (reduction.Aberration != TStarAberration::None) ra = Mod360(ra);
}

}  // namespace kvx
