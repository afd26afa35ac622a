#include "orbitdet/gauss.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "core/frames.h"
#include "core/orbit_from_positions.h"
#include "core/vector_math.h"
#include "theories/sun_position.h"

namespace kvx {

namespace {

// M (x, y, z) of a double matrix and vector, kept as an extended vector.
TVector3Ext Apply(const TMatrix33& m, double x, double y, double z) {
  TVector3Ext v{x, y, z};
  MatrixTimesVectorExtended(m, v.x, v.y, v.z);
  return v;
}

TVector3Ext Cross(const TVector3Ext& a, const TVector3Ext& b) {
  TVector3Ext c;
  CrossProductExt(a, b, c);
  return c;
}

}  // namespace

void PrepareObservations(torbdet& od) {
  TMatrix33 toElements;
  PrecessionMatrixEcliptic(toElements, od.ObservationsEquinox, od.ElementsEquinox);
  for (TObservationEntry& entry : od.Observations()) {
    tobservation& o = entry.Obs;
    double x = std::cos(o.Dec * kDegToRad) * std::cos(o.RA * kDegToRad);
    double y = std::cos(o.Dec * kDegToRad) * std::sin(o.RA * kDegToRad);
    double z = std::sin(o.Dec * kDegToRad);
    EquatorialToEcliptic(x, y, z, od.ObservationsEquinox);
    o.Direction = Apply(toElements, x, y, z);
    o.EclipticLongitude =
        std::atan2(static_cast<double>(o.Direction.y), static_cast<double>(o.Direction.x)) / kDegToRad;
    if (o.EclipticLongitude < 0) o.EclipticLongitude += 360.0;
    o.EclipticLatitude = std::asin(std::clamp(static_cast<double>(o.Direction.z), -1.0, 1.0)) / kDegToRad;

    const double tTT = (o.JdTT - 2451545.0) / 36525.0;
    double L = 0, B = 0, R = 0, X = 0, Y = 0, Z = 0, VX = 0, VY = 0, VZ = 0;
    SunPosition(od.PositionFiles, od.Selection, L, tTT, B, R, X, Y, Z, VX, VY, VZ, od.LevelA);
    TMatrix33 fromDate;
    PrecessionMatrixEcliptic(fromDate, tTT, od.ElementsEquinox);
    o.SunVector = Apply(fromDate, X, Y, Z);
    const double sx = static_cast<double>(o.SunVector.x), sy = static_cast<double>(o.SunVector.y),
                 sz = static_cast<double>(o.SunVector.z);
    o.SunDistance = std::sqrt(sx * sx + sy * sy + sz * sz);
    o.SunLongitude = std::atan2(sy, sx) / kDegToRad;
    if (o.SunLongitude < 0) o.SunLongitude += 360.0;
    o.SunLatitude = o.SunDistance > 0 ? std::asin(sz / o.SunDistance) / kDegToRad : 0.0;
  }
}

std::array<double, 3> GeocentricSunJ2000(const torbdet& od, double jdTT) {
  const double tTT = (jdTT - 2451545.0) / 36525.0;
  double L = 0, B = 0, R = 0, X = 0, Y = 0, Z = 0, VX = 0, VY = 0, VZ = 0;
  SunPosition(od.PositionFiles, od.Selection, L, tTT, B, R, X, Y, Z, VX, VY, VZ, od.LevelA);
  TMatrix33 toJ2000;
  PrecessionMatrixEcliptic(toJ2000, tTT, 0.0);
  const TVector3Ext v = Apply(toJ2000, X, Y, Z);
  double x = static_cast<double>(v.x), y = static_cast<double>(v.y), z = static_cast<double>(v.z);
  EclipticToEquatorial(x, y, z, 0.0);
  return {x, y, z};
}

TGaussResult GaussTripleOrbit(const std::array<TVector3Ext, 3>& e, const std::array<TVector3Ext, 3>& R,
                              const std::array<double, 3>& t) {
  TGaussResult result;
  result.Status = 3;
  for (double v : t) {
    if (!std::isfinite(v)) return result;
  }
  if (!(t[0] < t[1] && t[1] < t[2])) return result;
  const std::array<TVector3Ext, 3> d{Cross(e[1], e[2]), Cross(e[2], e[0]), Cross(e[0], e[1])};
  const long double D0 = DotProductExt(e[0], d[0]);
  if (!std::isfinite(static_cast<double>(D0)) || std::fabs(static_cast<double>(D0)) < 1e-12) return result;
  long double D[3][3];
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) D[i][j] = DotProductExt(d[static_cast<std::size_t>(i)], R[static_cast<std::size_t>(j)]);
  }
  long double n1 = (t[2] - t[1]) / (t[2] - t[0]);
  long double n3 = (t[1] - t[0]) / (t[2] - t[0]);
  std::array<TVector3Ext, 3> r;
  std::array<double, 3> tc = t;
  long double previousRho2 = 0;
  int passes = 0;
  bool converged = false;
  while (passes < 101) {
    ++passes;
    const long double n[3] = {n1, -1.0L, n3};
    long double rho[3];
    for (int i = 0; i < 3; ++i) rho[i] = (n1 * D[i][0] - D[i][1] + n3 * D[i][2]) / (n[i] * D0);
    for (int i = 0; i < 3; ++i) {
      if (!std::isfinite(static_cast<double>(rho[i]))) return result;
      tc[static_cast<std::size_t>(i)] = t[static_cast<std::size_t>(i)] - kLightDaysPerAu * static_cast<double>(rho[i]);
      const TVector3Ext& ei = e[static_cast<std::size_t>(i)];
      const TVector3Ext& Ri = R[static_cast<std::size_t>(i)];
      r[static_cast<std::size_t>(i)] = TVector3Ext{rho[i] * ei.x - Ri.x, rho[i] * ei.y - Ri.y, rho[i] * ei.z - Ri.z};
      result.Rho[static_cast<std::size_t>(i)] = static_cast<double>(rho[i]);
    }
    result.RhoLog.push_back(result.Rho);
    if (!(tc[0] < tc[1] && tc[1] < tc[2])) return result;
    const double tau1 = kGaussK * (tc[2] - tc[1]);
    const double tau2 = kGaussK * (tc[2] - tc[0]);
    const double tau3 = kGaussK * (tc[1] - tc[0]);
    const double eta1 = SectorTriangleRatio(r[1], r[2], tau1);
    const double eta2 = SectorTriangleRatio(r[0], r[2], tau2);
    const double eta3 = SectorTriangleRatio(r[0], r[1], tau3);
    if (!std::isfinite(eta1) || !std::isfinite(eta2) || !std::isfinite(eta3) || eta1 == 0 || eta2 == 0 || eta3 == 0) {
      return result;
    }
    n1 = (tau1 / eta1) / (tau2 / eta2);
    n3 = (tau3 / eta3) / (tau2 / eta2);
    if (passes > 1 && std::fabs(static_cast<double>(rho[1] - previousRho2)) < 1e-8) {
      converged = true;
      break;
    }
    previousRho2 = rho[1];
  }
  for (int i = 0; i < 3; ++i)
    result.R[static_cast<std::size_t>(i)] = static_cast<double>(VectorLengthExt(r[static_cast<std::size_t>(i)]));
  double T = 0, q = 0, ecc = 0, inc = 0, node = 0, peri = 0;
  if (!ElementsFromTwoPositions(r[0], r[2], T, tc[0], tc[2], q, ecc, inc, node, peri)) return result;
  for (double v : {T, q, ecc, inc, node, peri}) {
    if (!std::isfinite(v)) return result;
  }
  if (node < 0) node += 360.0;
  result.PerihelionTime = T;
  result.Q = q;
  result.E = ecc;
  result.I = inc;
  result.Node = node;
  result.Peri = peri;
  result.Status = (!converged || passes > 50) ? 1 : 0;
  return result;
}

std::string OrbitVerdicts(bool iterationFailed, bool doubleSolution, double q, double e, bool english, int& status) {
  std::string text;
  if (iterationFailed) {
    text += english ? "Iteration failed. " : "Iteration konvergierte nicht hinreichend. ";
    status = 1;
  }
  if (doubleSolution) {
    text += english ? "Possible double solution! " : "Doppellösung möglich! ";
    status = 2;
  }
  if (e > 1.1) {
    text += english ? "Probably unphysically solution. " : "Vermutlich unphysikalische Lösung. ";
    status = 2;
  } else if (std::fabs(q - 0.985) < 0.1 && std::fabs(e - 0.015) < 0.05) {
    text += english ? "Prabably earth orbit Solution. " : "Vermutlich Erdbahnlösung. ";
    status = 2;
  }
  return text;
}

}  // namespace kvx
