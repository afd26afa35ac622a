// The Galilean moons of Jupiter: mean elements, periodic terms, the rotation
// from Jupiter's equator to the sky plane, differential light time and
// perspective.
#include "theories/jupiter_moons.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "theories/moon_host_planet.h"

namespace kvx {
namespace {

// Mean elements, (value at t = 0, rate per day), moon order Io .. Callisto.
struct LinearElement {
  double at0;
  double perDay;
};
constexpr LinearElement kMeanLongitude[4] = {
    {106.07947, 203.488955432}, {175.72938, 101.37472455}, {120.55434, 50.31760911}, {84.44868, 21.571071314}};
constexpr LinearElement kPerijove[4] = {
    {58.3329, 0.16103936}, {132.8959, 0.04647985}, {187.2887, 0.0071274}, {335.3418, 0.00183998}};
constexpr LinearElement kNode[4] = {
    {311.0793, -0.1327943}, {100.5099, -0.03263047}, {119.1688, -0.00717704}, {322.5729, -0.00175934}};

// Differential light-time constants, Io .. Callisto.
constexpr double kLightTimeK[4] = {17295.0, 21819.0, 27558.0, 36548.0};

// Light time for one AU, days.
constexpr double kLightTimeDaysPerAu = 0.0057755183;

// Equatorial radii of Jupiter in one AU, as the perspective factor
// Delta / (Delta + Z / 2095) takes them.
constexpr double kPerspectiveRadii = 2095.0;

// Sine and cosine of degrees in double precision: the hundreds of terms
// need no extended arithmetic (their arguments stay below 10^5 degrees).
double S(double x) { return std::sin(x * kDegToRad); }
double C(double x) { return std::cos(x * kDegToRad); }

// The moon-independent part of one position: each moon on Jupiter's
// equator of date, the fictitious pole moon as index 4.
struct EquatorPositions {
  double x[5], y[5], z[5];
  double radius[4];
};

// One viewpoint: the rotation from Jupiter's equator to the sky plane for
// the direction (lambda0, beta0) of Jupiter, then light time and
// perspective.
void ProjectOnSky(const EquatorPositions& p, double inclination, double orbitNode, double orbitInclination, double psi,
                  double lambda0, double beta0, double delta, std::array<double, 4>& outX, std::array<double, 4>& outY,
                  std::array<double, 4>& outZ) {
  const double phi = psi - orbitNode;
  double a6[5], b6[5], c6[5];
  for (int k = 0; k < 5; ++k) {
    const double a1 = p.x[k];
    const double b1 = p.y[k] * C(inclination) - p.z[k] * S(inclination);
    const double c1 = p.y[k] * S(inclination) + p.z[k] * C(inclination);
    const double a2 = a1 * C(phi) - b1 * S(phi);
    const double b2 = a1 * S(phi) + b1 * C(phi);
    const double c2 = c1;
    const double a3 = a2;
    const double b3 = b2 * C(orbitInclination) - c2 * S(orbitInclination);
    const double c3 = b2 * S(orbitInclination) + c2 * C(orbitInclination);
    const double a4 = a3 * C(orbitNode) - b3 * S(orbitNode);
    const double b4 = a3 * S(orbitNode) + b3 * C(orbitNode);
    const double c4 = c3;
    const double a5 = a4 * S(lambda0) - b4 * C(lambda0);
    const double b5 = a4 * C(lambda0) + b4 * S(lambda0);
    const double c5 = c4;
    a6[k] = a5;
    b6[k] = c5 * S(beta0) + b5 * C(beta0);
    c6[k] = c5 * C(beta0) - b5 * S(beta0);
  }
  const double d = ArcTan2Deg(a6[4], c6[4]);
  for (int k = 0; k < 4; ++k) {
    double x = a6[k] * C(d) - c6[k] * S(d);
    const double y = a6[k] * S(d) + c6[k] * C(d);
    const double z = b6[k];
    // Differential light time; |x| never exceeds the radius but for rounding.
    const double ratio = x / p.radius[k];
    x += std::fabs(z) / kLightTimeK[k] * std::sqrt(std::max(0.0, 1.0 - ratio * ratio));
    const double w = delta / (delta + z / kPerspectiveRadii);
    outX[k] = x * w;
    outY[k] = y * w;
    outZ[k] = z;
  }
}

}  // namespace

TGalileanArguments GalileanMeanArguments(double t) {
  TGalileanArguments a;
  for (int k = 0; k < 4; ++k) {
    a.l[k] = Mod360(kMeanLongitude[k].at0 + kMeanLongitude[k].perDay * t);
    a.pi[k] = kPerijove[k].at0 + kPerijove[k].perDay * t;
    a.omega[k] = kNode[k].at0 + kNode[k].perDay * t;
  }
  const double gamma = 0.33033 * S(163.679 + 0.0010512 * t) + 0.03439 * S(34.486 - 0.0161731 * t);
  a.phiLambda = 191.8132 + 0.17390023 * t;
  a.psi = 316.5182 - 0.00000208 * t;
  a.G = 30.23756 + 0.0830925701 * t + gamma;
  a.GSaturn = 31.97853 + 0.0334597339 * t;
  a.Pi = 13.469942;
  return a;
}

// clang-format off
// One term per line, in the order of decreasing size. P is Pi (longitude of
// Jupiter's perihelion), PL the argument phi-lambda, Gs Saturn's mean anomaly
// G'; o1..o4 the nodes omega, p1..p4 the perijoves pi, Sg1..Sg4 the Sigmas.
double IoLongitudeTerms(const TGalileanArguments& a) {
  const double G = a.G, P = a.Pi, PL = a.phiLambda, l1 = a.l[0], l2 = a.l[1], l3 = a.l[2], o2 = a.omega[1],
               o3 = a.omega[2], p1 = a.pi[0], p2 = a.pi[1], p3 = a.pi[2], p4 = a.pi[3], psi = a.psi;
  return 0.47259 * S(2 * (l1 - l2))
      - 0.0348 * S(p3 - p4)
      - 0.01756 * S(p1 + p3 - 2 * P - 2 * G)
      + 0.0108 * S(l2 - 2 * l3 + p3)
      + 0.00757 * S(PL)
      + 0.00663 * S(l2 - 2 * l3 + p4)
      + 0.00453 * S(l2 - 2 * l3 + p2)
      + 0.00453 * S(l1 - p3)
      - 0.00354 * S(l1 - l2)
      - 0.00317 * S(2 * psi - 2 * P)
      - 0.00269 * S(l2 - 2 * l3 + p1)
      + 0.00263 * S(l1 - p4)
      + 0.00186 * S(l1 - p1)
      - 0.00186 * S(G)
      + 0.00167 * S(p2 - p3)
      + 0.00158 * S(4 * (l1 - l2))
      - 0.00155 * S(l1 - l3)
      - 0.00142 * S(psi + o3 - 2 * P - 2 * G)
      - 0.00115 * S(2 * (l1 - 2 * l2 + o2))
      + 0.00089 * S(p2 - p4)
      + 0.00084 * S(l1 + p3 - 2 * P - 2 * G)
      + 0.00084 * S(o2 - o3)
      + 0.00053 * S(psi - o2);
}

double EuropaLongitudeTerms(const TGalileanArguments& a) {
  const double G = a.G, P = a.Pi, Gs = a.GSaturn, PL = a.phiLambda, l1 = a.l[0], l2 = a.l[1], l3 = a.l[2],
               l4 = a.l[3], o2 = a.omega[1], o3 = a.omega[2], o4 = a.omega[3], p1 = a.pi[0], p2 = a.pi[1],
               p3 = a.pi[2], p4 = a.pi[3], psi = a.psi;
  return 1.06476 * S(2 * (l2 - l3))
      + 0.04253 * S(l1 - 2 * l2 + p3)
      + 0.03579 * S(l2 - p3)
      + 0.02383 * S(l1 - 2 * l2 + p4)
      + 0.01977 * S(l2 - p4)
      - 0.01843 * S(PL)
      + 0.01299 * S(p3 - p4)
      - 0.01142 * S(l2 - l3)
      + 0.01078 * S(l2 - p2)
      - 0.01058 * S(G)
      + 0.0087 * S(l2 - 2 * l3 + p2)
      - 0.00775 * S(2 * (psi - P))
      + 0.00524 * S(2 * (l1 - l2))
      - 0.0046 * S(l1 - l3)
      + 0.0045 * S(l2 - 2 * l3 + p1)
      + 0.00327 * S(psi - 2 * G + o3 - 2 * P)
      - 0.00296 * S(p1 + p3 - 2 * P - 2 * G)
      - 0.00151 * S(2 * G)
      + 0.00146 * S(psi - o3)
      + 0.00125 * S(psi - o4)
      - 0.00117 * S(l1 - 2 * l3 + p3)
      - 0.00095 * S(2 * (l2 - o2))
      + 0.00086 * S(2 * (l1 - 2 * l2 + o2))
      - 0.00086 * S(5 * Gs - 2 * G + 52.225)
      - 0.00078 * S(l2 - l4)
      - 0.00064 * S(l1 - 2 * l3 + p4)
      - 0.00063 * S(3 * l3 - 7 * l4 + 4 * p4)
      + 0.00061 * S(p1 - p4)
      + 0.00058 * S(o3 - o4)
      + 0.00058 * S(2 * (psi - P - G))
      + 0.00056 * S(2 * (l2 - l4))
      + 0.00055 * S(2 * (l1 - l3))
      + 0.00052 * S(3 * l3 - 7 * l4 + p3 + 3 * p4)
      - 0.00043 * S(l1 - p3)
      + 0.00042 * S(p3 - p2)
      + 0.00041 * S(p4 - P)
      + 0.00041 * S(5 * (l2 - l3))
      + 0.00038 * S(l2 - p1)
      + 0.00032 * S(2 * (l3 - G - P))
      + 0.00032 * S(o2 - o3)
      + 0.00029 * S(p1 - p3);
}

double GanymedeLongitudeTerms(const TGalileanArguments& a) {
  const double G = a.G, P = a.Pi, Gs = a.GSaturn, PL = a.phiLambda, l1 = a.l[0], l2 = a.l[1], l3 = a.l[2],
               l4 = a.l[3], o3 = a.omega[2], o4 = a.omega[3], p1 = a.pi[0], p2 = a.pi[1], p3 = a.pi[2], p4 = a.pi[3],
               psi = a.psi;
  return 0.16477 * S(l3 - p3)
      + 0.09062 * S(l3 - p4)
      - 0.06907 * S(l2 - l3)
      + 0.03786 * S(p3 - p4)
      + 0.01844 * S(2 * (l3 - l4))
      - 0.0134 * S(G)
      + 0.00703 * S(l2 - 2 * l3 + p3)
      - 0.0067 * S(2 * (psi - P))
      - 0.0054 * S(l3 - l4)
      + 0.00481 * S(p1 + p3 - 2 * P - 2 * G)
      - 0.00409 * S(l2 - 2 * l3 + p2)
      + 0.00379 * S(l2 - 2 * l3 + p4)
      + 0.00235 * S(psi - o3)
      + 0.00198 * S(psi - o4)
      + 0.0018 * S(PL)
      + 0.00129 * S(3 * (l3 - l4))
      + 0.00124 * S(l1 - l3)
      - 0.00119 * S(5 * Gs - 2 * G + 52.225)
      + 0.00109 * S(l1 - l2)
      - 0.00099 * S(3 * l3 - 7 * l4 + 4 * p4)
      + 0.00091 * S(o3 - o4)
      + 0.00081 * S(3 * l3 - 7 * l4 + p3 + 3 * p4)
      - 0.00076 * S(2 * l2 - 3 * l3 + p3)
      + 0.00069 * S(p4 - P)
      - 0.00058 * S(2 * l3 - 3 * l4 + p4)
      + 0.00057 * S(l3 + p3 - 2 * P - 2 * G)
      - 0.00057 * S(l3 - 2 * l4 + p4)
      - 0.00052 * S(p2 - p3)
      - 0.00052 * S(l2 - 2 * l3 + p1)
      + 0.00048 * S(l3 - 2 * l4 + p3)
      - 0.00045 * S(2 * l2 - 3 * l3 + p4)
      - 0.00041 * S(p2 - p4)
      - 0.00038 * S(2 * G)
      - 0.00033 * S(p3 - p4 + o3 - o4)
      - 0.00032 * S(3 * l3 - 7 * l4 + 2 * p3 + 2 * p4)
      + 0.0003 * S(4 * (l3 - l4))
      + 0.00029 * S(l3 + p4 - 2 * P - 2 * G)
      - 0.00029 * S(o3 + psi - 2 * P - 2 * G)
      + 0.00026 * S(l3 - P - G)
      + 0.00024 * S(l2 - 3 * l3 + 2 * l4)
      + 0.00021 * S(2 * (l3 - P - G))
      - 0.00021 * S(l3 - p2)
      + 0.00017 * S(2 * (l3 - p3));
}

double CallistoLongitudeTerms(const TGalileanArguments& a) {
  const double G = a.G, P = a.Pi, Gs = a.GSaturn, l1 = a.l[0], l2 = a.l[1], l3 = a.l[2], l4 = a.l[3],
               o3 = a.omega[2], o4 = a.omega[3], p3 = a.pi[2], p4 = a.pi[3], psi = a.psi;
  return 0.84109 * S(l4 - p4)
      + 0.03429 * S(p4 - p3)
      - 0.03305 * S(2 * (psi - P))
      - 0.03211 * S(G)
      - 0.0186 * S(l4 - p3)
      + 0.01182 * S(psi - o4)
      + 0.00622 * S(l4 + p4 - 2 * G - 2 * P)
      + 0.00385 * S(2 * (l4 - p4))
      - 0.00284 * S(5 * Gs - 2 * G + 52.225)
      - 0.00233 * S(2 * (psi - p4))
      - 0.00223 * S(l3 - l4)
      - 0.00208 * S(l4 - P)
      + 0.00177 * S(psi + o4 - 2 * p4)
      + 0.00134 * S(p4 - P)
      + 0.00125 * S(2 * (l4 - G - P))
      - 0.00117 * S(2 * G)
      - 0.00112 * S(2 * (l3 - l4))
      + 0.00106 * S(3 * l3 - 7 * l4 + 4 * p4)
      + 0.00102 * S(l4 - G - P)
      + 0.00096 * S(2 * l4 - psi - o4)
      + 0.00087 * S(2 * (psi - o4))
      - 0.00087 * S(3 * l3 - 7 * l4 + p3 + 3 * p4)
      + 0.00085 * S(l3 - 2 * l4 + p4)
      - 0.00081 * S(2 * (l4 - psi))
      + 0.00071 * S(l4 + p4 - 2 * P - 3 * G)
      + 0.0006 * S(l1 - l4)
      - 0.00056 * S(psi - o3)
      - 0.00055 * S(l3 - 2 * l4 + p3)
      + 0.00051 * S(l2 - l4)
      + 0.00042 * S(2 * (psi - G - P))
      + 0.00039 * S(2 * (p4 - o4))
      + 0.00036 * S(psi + P - p4 - o4)
      + 0.00035 * S(2 * Gs - G + 188.37)
      - 0.00035 * S(l4 - p4 + 2 * P - 2 * psi)
      - 0.00032 * S(l4 + p4 - 2 * P - G)
      + 0.0003 * S(2 * Gs - 2 * G + 149.15)
      + 0.0003 * S(3 * l3 - 7 * l4 + 2 * p3 + 2 * p4)
      + 0.00028 * S(l4 - p4 + 2 * psi - 2 * P)
      - 0.00028 * S(2 * (l4 - o4))
      - 0.00027 * S(p3 - p4 + o3 - o4)
      - 0.00026 * S(5 * Gs - 3 * G + 188.37)
      + 0.00025 * S(o4 - o3)
      - 0.00025 * S(l2 - 3 * l3 + 2 * l4)
      - 0.00023 * S(3 * (l3 - l4))
      + 0.00021 * S(2 * l4 - 2 * P - 3 * G)
      - 0.00021 * S(2 * l3 - 3 * l4 + p4)
      + 0.00019 * S(l4 - p4 - G)
      - 0.00019 * S(2 * l4 - p3 - p4)
      - 0.00018 * S(l4 - p4 + G)
      - 0.00016 * S(l4 + p3 - 2 * P - 2 * G);
}

double IoLatitudeTerms(const TGalileanArguments& a) {
  const double G = a.G, P = a.Pi, L1 = a.L[0], l2 = a.l[1], o1 = a.omega[0], o2 = a.omega[1], o3 = a.omega[2],
               o4 = a.omega[3], Sg1 = a.Sigma[0], psi = a.psi;
  const double sum =
      0.0006502 * S(L1 - o1)
      + 0.0001835 * S(L1 - o2)
      + 0.0000329 * S(L1 - o3)
      - 0.0000311 * S(L1 - psi)
      + 0.0000093 * S(L1 - o4)
      + 0.0000075 * S(3 * L1 - 4 * l2 - 1.9927 * Sg1 + o2)
      + 0.0000046 * S(L1 + psi - 2 * P - 2 * G);
  return ArcTanDeg(sum);
}

double EuropaLatitudeTerms(const TGalileanArguments& a) {
  const double G = a.G, P = a.Pi, L2 = a.L[1], l1 = a.l[0], l3 = a.l[2], o1 = a.omega[0], o2 = a.omega[1],
               o3 = a.omega[2], o4 = a.omega[3], Sg2 = a.Sigma[1], psi = a.psi;
  const double sum =
      0.0081275 * S(L2 - o2)
      + 0.0004512 * S(L2 - o3)
      - 0.0003286 * S(L2 - psi)
      + 0.0001164 * S(L2 - o4)
      + 0.0000273 * S(l1 - 2 * l3 + 1.0146 * Sg2 + o2)
      + 0.0000143 * S(L2 + psi - 2 * P - 2 * G)
      - 0.0000143 * S(L2 - o1)
      + 0.0000035 * S(L2 - psi + G)
      - 0.0000028 * S(l1 - 2 * l3 + 1.0146 * Sg2 + o3);
  return ArcTanDeg(sum);
}

double GanymedeLatitudeTerms(const TGalileanArguments& a) {
  const double G = a.G, P = a.Pi, L3 = a.L[2], l2 = a.l[1], o2 = a.omega[1], o3 = a.omega[2], o4 = a.omega[3],
               Sg3 = a.Sigma[2], psi = a.psi;
  const double sum =
      0.0032364 * S(L3 - o3)
      - 0.0016911 * S(L3 - psi)
      + 0.0006849 * S(L3 - o4)
      - 0.0002806 * S(L3 - o2)
      + 0.0000321 * S(L3 + psi - 2 * P - 2 * G)
      + 0.0000051 * S(L3 - psi + G)
      - 0.0000045 * S(L3 - psi - G)
      - 0.0000045 * S(L3 + psi - 2 * P)
      + 0.0000037 * S(L3 + psi - 2 * P - 3 * G)
      + 0.000003 * S(2 * l2 - 3 * L3 + 4.03 * Sg3 + o2)
      - 0.0000021 * S(2 * l2 - 3 * L3 + 4.03 * Sg3 + o3);
  return ArcTanDeg(sum);
}

double CallistoLatitudeTerms(const TGalileanArguments& a) {
  const double G = a.G, P = a.Pi, L4 = a.L[3], o3 = a.omega[2], o4 = a.omega[3], psi = a.psi;
  const double sum =
      -0.0076579 * S(L4 - psi)
      + 0.0044148 * S(L4 - o4)
      - 0.0005106 * S(L4 - o3)
      + 0.0000773 * S(L4 + psi - 2 * P - 2 * G)
      + 0.0000104 * S(L4 - psi + G)
      - 0.0000102 * S(L4 - psi - G)
      + 0.0000088 * S(L4 + psi - 2 * P - 3 * G)
      - 0.0000038 * S(L4 + psi - 2 * P - G);
  return ArcTanDeg(sum);
}

double IoRadiusTerms(const TGalileanArguments& a) {
  const double G = a.G, P = a.Pi, l1 = a.l[0], l2 = a.l[1], l3 = a.l[2], p1 = a.pi[0], p3 = a.pi[2], p4 = a.pi[3];
  const double sum =
      -0.0041339 * C(2 * (l1 - l2))
      - 0.0000395 * C(l1 - p3)
      - 0.0000214 * C(l1 - p4)
      + 0.000017 * C(l1 - l2)
      - 0.0000162 * C(l1 - p1)
      - 0.000013 * C(4 * (l1 - l2))
      + 0.0000106 * C(l1 - l3)
      - 0.0000063 * C(l1 + p3 - 2 * P - 2 * G);
  return 5.9073 * (1.0 + sum);
}

double EuropaRadiusTerms(const TGalileanArguments& a) {
  const double l1 = a.l[0], l2 = a.l[1], l3 = a.l[2], o2 = a.omega[1], p1 = a.pi[0], p2 = a.pi[1], p3 = a.pi[2],
               p4 = a.pi[3];
  const double sum =
      0.0093847 * C(l1 - l2)
      - 0.0003114 * C(l2 - p3)
      - 0.0001738 * C(l2 - p4)
      - 0.0000941 * C(l2 - p2)
      + 0.0000553 * C(l2 - l3)
      + 0.0000523 * C(l1 - l3)
      - 0.000029 * C(2 * (l1 - l2))
      + 0.0000166 * C(2 * (l2 - o2))
      + 0.0000107 * C(l1 - 2 * l3 + p3)
      - 0.0000102 * C(l2 - p1)
      - 0.0000091 * C(2 * (l1 - l3));
  return 9.39912 * (1.0 + sum);
}

double GanymedeRadiusTerms(const TGalileanArguments& a) {
  const double G = a.G, P = a.Pi, l1 = a.l[0], l2 = a.l[1], l3 = a.l[2], l4 = a.l[3], p3 = a.pi[2], p4 = a.pi[3];
  const double sum =
      -0.0014377 * C(l3 - p3)
      - 0.0007904 * C(l3 - p4)
      + 0.0006342 * C(l2 - l3)
      - 0.0001758 * C(2 * (l3 - l4))
      + 0.0000294 * C(l3 - l4)
      - 0.0000156 * C(3 * (l3 - l4))
      + 0.0000155 * C(l1 - l3)
      - 0.0000153 * C(l1 - l2)
      + 0.000007 * C(2 * l2 - 3 * l3 + p3)
      - 0.0000051 * C(l3 + p3 - 2 * P - 2 * G);
  return 14.9924 * (1.0 + sum);
}

double CallistoRadiusTerms(const TGalileanArguments& a) {
  const double G = a.G, P = a.Pi, l1 = a.l[0], l2 = a.l[1], l3 = a.l[2], l4 = a.l[3], o4 = a.omega[3], p3 = a.pi[2],
               p4 = a.pi[3], psi = a.psi;
  const double sum =
      -0.0073391 * C(l4 - p4)
      + 0.000162 * C(l4 - p3)
      + 0.0000974 * C(l3 - l4)
      - 0.0000541 * C(l4 + p4 - 2 * P - 2 * G)
      - 0.0000269 * C(2 * (l4 - p4))
      + 0.0000182 * C(l4 - P)
      + 0.0000177 * C(2 * (l3 - l4))
      + 0.0000167 * C(psi - o4)
      - 0.0000167 * C(2 * l4 - psi - o4)
      - 0.0000155 * C(2 * (l4 - P - G))
      + 0.0000142 * C(2 * (l4 - psi))
      + 0.0000104 * C(l1 - l4)
      + 0.0000092 * C(l2 - l4)
      - 0.0000089 * C(l4 - P - G)
      - 0.0000062 * C(l4 + p4 - 2 * P - 2 * G)
      + 0.0000048 * C(2 * (l4 - o4));
  return 26.3699 * (1.0 + sum);
}
// clang-format on

void GalileanMoonsPositions(const PositionFileHandles& handles, TTruncationLevel level, TTheorySelection selection,
                            const TObserverRecord& observer, TJupiterMoonsBlock& block) {
  const double T = observer.Centuries;
  FillHostPlanetBlock(handles, level, selection, observer, kHostJupiter, T, block);

  // The moons at the instant whose light reaches the observer.
  const double delta = block.Delta;
  const double jde = MjdToJd(observer.Mjd) + observer.DeltaTSeconds / 86400.0;
  const double t = jde - 2443000.5 - kLightTimeDaysPerAu * delta;

  TGalileanArguments a = GalileanMeanArguments(t);
  a.Sigma = {IoLongitudeTerms(a), EuropaLongitudeTerms(a), GanymedeLongitudeTerms(a), CallistoLongitudeTerms(a)};
  for (int k = 0; k < 4; ++k) a.L[k] = a.l[k] + a.Sigma[k];
  const double latitude[4] = {IoLatitudeTerms(a), EuropaLatitudeTerms(a), GanymedeLatitudeTerms(a),
                              CallistoLatitudeTerms(a)};
  EquatorPositions p{};
  p.radius[0] = IoRadiusTerms(a);
  p.radius[1] = EuropaRadiusTerms(a);
  p.radius[2] = GanymedeRadiusTerms(a);
  p.radius[3] = CallistoRadiusTerms(a);

  // Precession of the longitudes from B1950.0 to the date.
  const double t0 = (jde - 2433282.423) / 36525.0;
  const double precession = 1.396626 * t0 + 0.0003088 * t0 * t0;
  const double psi = a.psi + precession;
  for (int k = 0; k < 4; ++k) {
    const double longitude = a.L[k] + precession;
    p.x[k] = p.radius[k] * C(longitude - psi) * C(latitude[k]);
    p.y[k] = p.radius[k] * S(longitude - psi) * C(latitude[k]);
    p.z[k] = p.radius[k] * S(latitude[k]);
  }
  p.x[4] = 0.0;
  p.y[4] = 0.0;
  p.z[4] = 1.0;

  // Inclination of Jupiter's equator on its orbit; node and inclination of
  // the orbit on the ecliptic of date.
  const double inclination = 3.120262 + 0.0006 * (T + 1.0);
  const double orbitNode = 100.464441 + T * (1.020955 + T * (0.00040117 + T * 0.000000569));
  const double orbitInclination = 1.30327 + T * (-0.0054966 + T * (0.00000465 - T * 0.000000004));

  // Viewpoints: the Earth, then the Sun (Jupiter's heliocentric direction).
  // The vector's length is not needed; the perspective uses Delta in both.
  for (int view = 0; view < 2; ++view) {
    const double sunDistance = view == 0 ? observer.SunDistance : 0.0;
    // The Sun's latitude (below 1.5") enters only the z component.
    const double x = block.HelioR * C(block.HelioB) * C(block.HelioL) + sunDistance * C(observer.SunLongitude);
    const double y = block.HelioR * C(block.HelioB) * S(block.HelioL) + sunDistance * S(observer.SunLongitude);
    const double z = block.HelioR * S(block.HelioB) + sunDistance * S(observer.SunLatitude);
    const double lambda0 = ArcTan2Deg(y, x);
    const double beta0 = ArcTanDeg(z / std::sqrt(x * x + y * y));
    if (view == 0) {
      ProjectOnSky(p, inclination, orbitNode, orbitInclination, psi, lambda0, beta0, delta, block.EarthX, block.EarthY,
                   block.EarthZ);
    } else {
      ProjectOnSky(p, inclination, orbitNode, orbitInclination, psi, lambda0, beta0, delta, block.SunX, block.SunY,
                   block.SunZ);
    }
  }
}

}  // namespace kvx
