// Physical ephemeris of the Sun, the planets, asteroids and the Moon's
// librations.
// References: J. Meeus, Astronomical Algorithms, 2nd ed., ch. 41 (phase and
// magnitude), 42 (Mars), 43 (Jupiter), 45 (Saturn's rings), 53 (the Moon);
// Report of the IAU/IAG Working Group on Cartographic Coordinates and
// Rotational Elements (1991); Bowell et al. 1989 (H,G magnitudes).
#include "core/physical_ephemeris.h"

#include <array>
#include <cmath>

#include "core/frames.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "platform/globals.h"

namespace kvx {

namespace {

// Semidiameter at unit distance, arcseconds, by body index 0..9 (the Sun's in
// degrees: 961.18/7200).
constexpr std::array<double, 10> kSemidiameter{0.13349722, 3.36, 8.34, 1.0, 4.68, 98.47, 83.33, 35.02, 33.5, 3.45};

// Flattening by pole index 0..8.
constexpr std::array<double, 9> kFlattening{0, 0, 0.00335281, 0.0051865, 0.0648088, 0.1076209, 0.03, 0.0259, 0};

constexpr double kLightTimePerAu = 0.005775672865888876;  // days

const char* EastText() { return ByLanguage("Ost", "East"); }

double RemoveWholeTurns(double W) { return 360.0 * (W / 360.0 - std::trunc(W / 360.0)); }

void Transform(const TMatrix33& m, double& x, double& y, double& z) { MatrixTimesVector(m, x, y, z); }

// Sub-Earth and sub-solar points, central meridians and the axis position
// angle of a planet or the Sun.
void PlanetRotationGeometry(int body, const TObserverRecord& observer, const TKeplerPosition& position,
                            PlanetPhysicalRecord& rec) {
  const double T = observer.Centuries;
  const int poleIndex = PlanetTableIndex(body);
  const double f = kFlattening[poleIndex];
  TMatrix33 toDate;
  PrecessionMatrixEquatorial(toDate, 0.0, T);

  if (body == kBodySun) {
    double x = observer.SunX, y = observer.SunY, z = observer.SunZ;
    EclipticToEquatorial(x, y, z, T);
    const double W = RemoveWholeTurns(84.1 + 518085.21 * T);
    double Rx, Ry, Rz, latG, latC, lon;
    PlanetocentricSubPoint(true, Rx, Ry, Rz, x, y, z, 286.13, 63.87, W, 0.0, lon, latG, latC);
    rec.centralMeridian1 = lon;
    rec.subEarthLatC = latC;
    rec.subEarthLatG = latG;
    Transform(toDate, x, y, z);
    Transform(toDate, Rx, Ry, Rz);
    rec.axisAngle = AngleToPlusMinus180(PolePositionAngle(x, y, z, Rx, Ry, Rz));
    return;
  }

  // Rotation elements at the time the light left the planet (TDB).
  const double Tplanet = (observer.Mjd - 51544.5) / 36525.0 + observer.DeltaTSeconds / 86400.0 / 36525.0 -
                         kLightTimePerAu * position.GeoDistance / 36525.0;
  TMatrix33 toJ2000;
  PrecessionMatrixEquatorial(toJ2000, T, 0.0);

  // Earth-to-planet and Sun-to-planet directions, equator of J2000.
  double ax = position.EquatorialX, ay = position.EquatorialY, az = position.EquatorialZ;
  Transform(toJ2000, ax, ay, az);
  double hx = position.HelioX, hy = position.HelioY, hz = position.HelioZ;
  EclipticToEquatorial(hx, hy, hz, T);
  Transform(toJ2000, hx, hy, hz);

  double ra0 = 0, dec0 = 0, W = 0;
  bool retrograde = false;
  double Rx = 0, Ry = 0, Rz = 1;
  double* const centralMeridian[3] = {&rec.centralMeridian1, &rec.centralMeridian2, &rec.centralMeridian3};
  double* const subSolarLon[3] = {&rec.subSolarLon1, &rec.subSolarLon2, &rec.subSolarLon3};
  for (int system = 0; system < 3; ++system) {
    PlanetPoleAndMeridian(poleIndex, system, toDate, Tplanet, false, ra0, dec0, W, retrograde);
    PlanetocentricSubPoint(retrograde, Rx, Ry, Rz, ax, ay, az, ra0, dec0, W, f, *centralMeridian[system],
                           rec.subEarthLatG, rec.subEarthLatC);
    PlanetocentricSubPoint(retrograde, Rx, Ry, Rz, hx, hy, hz, ra0, dec0, W, f, *subSolarLon[system], rec.subSolarLatG,
                           rec.subSolarLatC);
  }

  Transform(toDate, ax, ay, az);
  Transform(toDate, Rx, Ry, Rz);
  rec.axisAngle = AngleToPlusMinus180(PolePositionAngle(ax, ay, az, Rx, Ry, Rz));
}

// Angle in (-180, 180].
double ToPlusMinus180(double angle) { return AngleToPlusMinus180(Mod360(angle)); }

}  // namespace

void PlanetPoleAndMeridian(int poleIndex, int system, const TMatrix33& M, double T, bool applyMatrix, double& ra0,
                           double& dec0, double& W, bool& retrograde) {
  const double d = 36525.0 * T;
  retrograde = false;
  bool hasSystem = true;
  switch (poleIndex) {
    case 0:  // Mercury
      ra0 = 281.01 - 0.033 * T;
      dec0 = 61.45 - 0.005 * T;
      W = 329.71 + 6.1385025 * d;
      break;
    case 1:  // Venus
      ra0 = 272.72;
      dec0 = 67.15;
      W = 160.26 - 1.4813596 * d;
      retrograde = true;
      break;
    case 2:  // Earth
      ra0 = 0.0 - 0.641 * T;
      dec0 = 90.0 - 0.557 * T;
      W = 100.21 + 360.9856123 * d;
      break;
    case 3:  // Mars
      ra0 = 317.681 - 0.108 * T;
      dec0 = 52.886 - 0.061 * T;
      W = 176.868 + 350.891983 * d;
      break;
    case 4:  // Jupiter, systems I, II, III
      ra0 = 268.05 - 0.009 * T;
      dec0 = 64.49 + 0.003 * T;
      switch (system) {
        case 0:
          W = 67.1 + 877.9 * d;
          break;
        case 1:
          W = 43.3 + 870.27 * d;
          break;
        case 2:
          W = 284.95 + 870.536 * d;
          break;
        default:
          hasSystem = false;
          break;
      }
      break;
    case 5:  // Saturn, systems I and III
      ra0 = 40.58 - 0.036 * T;
      dec0 = 83.54 - 0.004 * T;
      switch (system) {
        case 0:
          W = 227.2037 + 844.3 * d;
          break;
        case 1:
        case 2:
          W = 38.9 + 810.7939024 * d;
          break;
        default:
          hasSystem = false;
          break;
      }
      break;
    case 6:  // Uranus
      ra0 = 257.43;
      dec0 = -15.10;
      W = 203.81 - 501.1600928 * d;
      retrograde = true;
      break;
    case 7:  // Neptune
      ra0 = 295.33;
      dec0 = 40.65;
      W = 107.21 + 468.75 * d;
      break;
    default:  // Pluto
      ra0 = 313.02;
      dec0 = 9.09;
      W = 236.77 - 56.3623195 * d;
      retrograde = true;
      break;
  }
  if (hasSystem) W = RemoveWholeTurns(W);
  if (applyMatrix) {
    double x, y, z, r;
    PolarToCartesian(x, y, z, 1.0, dec0, ra0);
    MatrixTimesVector(M, x, y, z);
    CartesianToPolar(r, dec0, ra0, x, y, z);
  }
}

void PlanetocentricSubPoint(bool retrograde, double& Rx, double& Ry, double& Rz, double x, double y, double z,
                            double ra0, double dec0, double W, double f, double& lon, double& latG, double& latC) {
  TMatrix33 m;
  GaussVectors(m, ra0 + 90.0, 90.0 - dec0, W);
  // Columns P (prime meridian on the equator), Q, R (pole).
  Rx = m.m[0][2];
  Ry = m.m[1][2];
  Rz = m.m[2][2];
  const double u = -(m.m[0][0] * x + m.m[1][0] * y + m.m[2][0] * z);
  const double v = -(m.m[0][1] * x + m.m[1][1] * y + m.m[2][1] * z);
  const double w = -(Rx * x + Ry * y + Rz * z);
  const double equatorial = std::sqrt(u * u + v * v);
  latC = ArcTan2Deg(w, equatorial);
  latG = ArcTan2Deg(w, equatorial * (1 - f) * (1 - f));
  lon = ArcTan2Deg(v, u);
  if (!retrograde) lon = -lon;
  if (lon < 0) lon += 360;
}

double PolePositionAngle(double x, double y, double z, double Rx, double Ry, double Rz) {
  const double east = x * Ry - y * Rx;
  const double north = ((x * x + y * y) * Rz - z * (x * Rx + y * Ry)) / std::sqrt(x * x + y * y + z * z);
  double angle = ArcTan2Deg(east, north);
  if (angle < 0) angle += 360;
  return angle;
}

double SunElongationSide(std::string& side, double ra, double dec, const TObserverRecord& observer) {
  double x, y, z, r, beta, lambda;
  PolarToCartesian(x, y, z, 1.0, dec, ra);
  EquatorialToEcliptic(x, y, z, observer.Centuries);
  CartesianToPolar(r, beta, lambda, x, y, z);
  const double elongation = Mod360(ArcCosDeg(CosDeg(observer.SunLongitude - lambda) * CosDeg(beta)));
  side = SinDeg(Mod360(lambda - observer.SunLongitude)) > 0 ? EastText() : "West";
  return elongation;
}

namespace {

// Elongation and phase angle (degrees) of a body's place.
double PhaseAngleOf(const TObserverRecord& observer, const TKeplerPosition& position, double& elongation) {
  const double sunLongitude = observer.SunLongitude;
  elongation = ArcCosDeg(CosDeg(position.GeoLatitude) * CosDeg(sunLongitude - position.GeoLongitude));
  // Angle at the Sun between the Earth and the body.
  const double theta = ArcCosDeg(-CosDeg(sunLongitude - position.HelioLongitude) * CosDeg(position.HelioLatitude));
  return 180.0 - elongation - theta;
}

// Magnitude of an asteroid at phase angle i (degrees), H-G system.
double MagnitudeHG(const TKeplerPosition& position, double H, double G, double i) {
  const double distanceTerm = 5.0 * Log10(position.HelioDistance * position.GeoDistance);
  const double linearLaw = H + distanceTerm + 0.023 * i;
  if (G == 0) return linearLaw;
  const double halfTan = TanDeg(i / 2.0);
  // The phase functions are undefined (phase angle 0 or 180): linear law.
  if (!(halfTan > 0) || !std::isfinite(halfTan)) return linearLaw;
  const double phi1 = std::exp(-3.33 * std::exp(0.63 * std::log(halfTan)));
  const double phi2 = std::exp(-1.87 * std::exp(1.22 * std::log(halfTan)));
  const double x = (1.0 - G) * phi1 + G * phi2;
  const double magnitude = H + distanceTerm - 2.5 * Log10(x);
  return x > 0 && std::isfinite(magnitude) ? magnitude : linearLaw;
}

}  // namespace

void AsteroidMagnitudeHG(int body, const TObserverRecord& observer, const TKeplerPosition& position, double H, double G,
                         PlanetPhysicalRecord& rec) {
  rec.elongation = rec.sideAngle = rec.phaseAngle = rec.illuminatedFraction = 0;
  if (body == kBodySun) return;

  const double alpha = position.RightAscension, delta = position.Declination;
  const double sunRa = observer.SunApparentRA, sunDec = observer.SunApparentDec;
  double r, lat, lon;
  CartesianToPolar(r, lat, lon, CosDeg(sunDec) * SinDeg(sunRa - alpha),
                   SinDeg(sunDec) * CosDeg(delta) - CosDeg(sunDec) * SinDeg(delta) * CosDeg(sunRa - alpha),
                   SinDeg(sunDec) * SinDeg(delta) + CosDeg(sunDec) * CosDeg(delta) * CosDeg(sunRa - alpha));
  rec.brightLimbAngle2 = Mod360(90.0 - lon);

  rec.phaseAngle = PhaseAngleOf(observer, position, rec.elongation);
  rec.sideAngle = SunSideAngle(observer, position);
  rec.sideText = SinDeg(rec.sideAngle) > 0 ? EastText() : "West";
  rec.illuminatedFraction = (1.0 + CosDeg(rec.phaseAngle)) / 2.0;

  if (body != kBodyAsteroid) return;
  rec.magnitude = MagnitudeHG(position, H, G, rec.phaseAngle);
}

double SunSideAngle(const TObserverRecord& observer, const TKeplerPosition& position) {
  return Mod360(position.GeoLongitude - observer.SunLongitude);
}

double AsteroidMagnitudeOnly(const TObserverRecord& observer, const TKeplerPosition& position, double H, double G) {
  double elongation = 0;
  return MagnitudeHG(position, H, G, PhaseAngleOf(observer, position, elongation));
}

void PlanetMagnitude(int body, const TObserverRecord& observer, const TKeplerPosition& position,
                     PlanetPhysicalRecord& rec) {
  if (body < 0 || body > 9) return;  // the diameter table has ten entries
  if (body >= 1) {
    AsteroidMagnitudeHG(body, observer, position, 1.0, 0.0, rec);
  } else {
    rec.illuminatedFraction = 1.0;
    rec.elongation = rec.sideAngle = rec.phaseAngle = 0;
    rec.sideText.clear();
  }
  rec.ringMajor = rec.ringMinor = rec.polarDiameter = rec.defect = rec.brightLimbAngle = 0;
  rec.centralMeridian2 = 0;

  const double Delta = position.GeoDistance;
  rec.diameter = 2.0 * kSemidiameter[body] / Delta;

  if (body >= 1) {
    rec.defect = (1.0 - CosDeg(rec.phaseAngle)) * rec.diameter / 2.0;
    // Bright limb from the Sun's mean ecliptic place.
    double sx, sy, sz, r, sunDec, sunRa;
    PolarToCartesian(sx, sy, sz, 1.0, observer.SunLatitude, observer.SunLongitude);
    EclipticToEquatorial(sx, sy, sz, observer.Centuries);
    CartesianToPolar(r, sunDec, sunRa, sx, sy, sz);
    const double alpha = position.RightAscension, delta = position.Declination;
    double lat, lon;
    CartesianToPolar(r, lat, lon, CosDeg(sunDec) * SinDeg(sunRa - alpha),
                     CosDeg(delta) * SinDeg(sunDec) - SinDeg(delta) * CosDeg(sunDec) * CosDeg(sunRa - alpha),
                     SinDeg(delta) * SinDeg(sunDec) + CosDeg(delta) * CosDeg(sunDec) * CosDeg(sunRa - alpha));
    rec.brightLimbAngle = Mod360(90.0 - lon);
  }

  PlanetRotationGeometry(body, observer, position, rec);

  const double f = kFlattening[PlanetTableIndex(body)];
  const double cosB = CosDeg(rec.subEarthLatC);
  rec.polarDiameter = (1.0 - f * cosB * cosB) * rec.diameter;

  if (body == 6) {
    rec.ringMajor = 375.4 / Delta;
    rec.ringMinor = std::fabs(SinDeg(rec.subEarthLatC)) * rec.ringMajor;
  }

  if (body == kBodySun) {
    rec.magnitude = -26.7;
    return;
  }
  const double base = 5.0 * Log10(position.HelioDistance * Delta);
  const double i = rec.phaseAngle;
  switch (body) {
    case 1:
      rec.magnitude = base - 0.42 + 0.038 * i - 0.000273 * i * i + 0.000002 * i * i * i;
      break;
    case 2:
      rec.magnitude = base - 4.40 + 0.0009 * i + 0.000239 * i * i - 0.00000065 * i * i * i;
      break;
    case 3:
      rec.magnitude = base;
      break;
    case 4:
      rec.magnitude = base - 1.52 + 0.016 * i;
      break;
    case 5:
      rec.magnitude = base - 9.40 + 0.005 * i;
      break;
    case 6: {
      const double B = rec.subEarthLatC;
      const double sinB = SinDeg(B);
      // Difference of the Saturnicentric longitudes of the Earth and the Sun
      // in the ring plane, (-180, 180].
      const double deltaU = ToPlusMinus180(rec.centralMeridian1 - rec.subSolarLon1);
      rec.magnitude = base - 8.88 - 2.60 * std::fabs(sinB) + 1.25 * sinB * sinB + 0.044 * std::fabs(deltaU);
      break;
    }
    case 7:
      rec.magnitude = base - 7.19;
      break;
    case 8:
      rec.magnitude = base - 6.87;
      break;
    default:
      rec.magnitude = base - 1.0;
      break;
  }
}

double SunMeanAnomaly1900(double JD) {
  const double T = (JD - 2415020.0) / 36525.0;
  return Mod360(358.475833 + 35999.0498 * T - 0.00015 * T * T);
}

TPhysicalLibration PhysicalLibrationTerms(const TLunarArguments& a) {
  const double T = a.T;
  const double Mp = a.Mprime, F = a.F, D = a.D, M = a.M, Om = a.Omega;
  const double K1 = 119.75 + 131.849 * T;
  const double K2 = 72.56 + 20.186 * T;
  const double E = 1.0 - 0.002516 * T - 0.0000074 * T * T;
  TPhysicalLibration p;
  p.rho = -0.02752 * CosDeg(Mp) - 0.02245 * SinDeg(F) + 0.00684 * CosDeg(Mp - 2 * F) - 0.00293 * CosDeg(2 * F) -
          0.00085 * CosDeg(2 * F - 2 * D) - 0.00054 * CosDeg(Mp - 2 * D) - 0.0002 * SinDeg(Mp + F) -
          0.0002 * CosDeg(Mp + 2 * F) - 0.0002 * CosDeg(Mp - F) + 0.00014 * CosDeg(Mp + 2 * F - 2 * D);
  p.sigma = -0.02816 * SinDeg(Mp) + 0.02244 * CosDeg(F) - 0.00682 * SinDeg(Mp - 2 * F) - 0.00279 * SinDeg(2 * F) -
            0.00083 * SinDeg(2 * F - 2 * D) + 0.00069 * SinDeg(Mp - 2 * D) + 0.0004 * CosDeg(Mp + F) -
            0.00025 * SinDeg(2 * Mp) - 0.00023 * SinDeg(Mp + 2 * F) + 0.0002 * CosDeg(Mp - F) +
            0.00019 * SinDeg(Mp - F) + 0.00013 * SinDeg(Mp + 2 * F - 2 * D) - 0.0001 * CosDeg(Mp - 3 * F);
  p.tau = 0.0252 * E * SinDeg(M) + 0.00473 * SinDeg(2 * Mp - 2 * F) - 0.00467 * SinDeg(Mp) + 0.00396 * SinDeg(K1) +
          0.00276 * SinDeg(2 * Mp - 2 * D) + 0.00196 * SinDeg(Om) - 0.00183 * CosDeg(Mp - F) +
          0.00115 * SinDeg(Mp - 2 * D) - 0.00096 * SinDeg(Mp - D) + 0.00046 * SinDeg(2 * F - 2 * D) -
          0.00039 * SinDeg(Mp - F) - 0.00032 * SinDeg(Mp - M - D) + 0.00027 * SinDeg(2 * Mp - M - 2 * D) +
          0.00023 * SinDeg(K2) - 0.00014 * SinDeg(2 * D) + 0.00014 * CosDeg(2 * Mp - 2 * F) -
          0.00012 * SinDeg(Mp - 2 * F) - 0.00012 * SinDeg(2 * Mp) + 0.00011 * SinDeg(2 * Mp - 2 * M - 2 * D);
  return p;
}

void LunarLibration(double& l, double& b, const TLunarArguments& args, double lambda, double beta,
                    TPhysicalLibration* physical) {
  constexpr double I = kMoonEquatorInclination;
  const double W = lambda - args.Omega;
  const double numerator = SinDeg(W) * CosDeg(beta) * CosDeg(I) - SinDeg(beta) * SinDeg(I);
  const double denominator = CosDeg(W) * CosDeg(beta);
  // Optical libration.
  const double A = ArcTan2Deg(numerator, denominator);
  const double lOptical = ToPlusMinus180(A - args.F);
  const double bOptical = ArcSinDeg(-SinDeg(W) * CosDeg(beta) * SinDeg(I) - SinDeg(beta) * CosDeg(I));
  // Physical libration.
  const TPhysicalLibration p = PhysicalLibrationTerms(args);
  l = lOptical - p.tau + (p.rho * CosDeg(A) + p.sigma * SinDeg(A)) * TanDeg(bOptical);
  if (std::fabs(l) > 180) l = ToPlusMinus180(l);
  b = bOptical + p.sigma * CosDeg(A) - p.rho * SinDeg(A);
  if (physical) *physical = p;
}

void MoonAxisPositionAngle(double& P, const TLunarArguments& args, double b, double alpha) {
  constexpr double I = kMoonEquatorInclination;
  const TPhysicalLibration p = PhysicalLibrationTerms(args);
  const double V = args.Omega + args.DeltaPsi / 3600.0 + p.sigma / SinDeg(I);
  const double X = SinDeg(I + p.rho) * SinDeg(V);
  const double T = args.T;
  const double epsilon = (23.0 + 26.0 / 60.0 + 21.0 / 3600.0) - (46.815 * T + 0.00059 * T * T) / 3600.0;
  const double Y = SinDeg(I + p.rho) * CosDeg(V) * CosDeg(epsilon) - CosDeg(I + p.rho) * SinDeg(epsilon);
  const double omega = ArcTan2Deg(X, Y);
  P = ArcSinDeg(std::sqrt(X * X + Y * Y) * CosDeg(alpha - omega) / CosDeg(b));
}

}  // namespace kvx
