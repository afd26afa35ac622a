#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/apparent_place_fit.h"

namespace kvx {
namespace {

// A Sun-like place: right ascension runs 1 degree per day through 0 h,
// reported in [0, 360) as the theories do.
void WrappingPlace(double T, double& ra, double& dec, double& r) {
  const double days = T * 36525.0;
  ra = std::fmod(0.5 + 1.0 * days + 0.001 * std::sin(days), 360.0);
  if (ra < 0) ra += 360.0;
  dec = 0.4 * days + 0.01 * days * days;
  r = 0.99 + 0.0001 * std::cos(days);
}

TEST(ChebyshevFit, ReproducesItsNodesAndUnwrapsRightAscensionBelowZero) {
  TChebyshevPoly ra, dec, r;
  const double Ta = -2.0 / 36525, Tb = 2.0 / 36525;  // four days around 0 h of RA
  std::vector<double> nodes;
  const TPlaceAtTime place = [&](double T, double& a, double& d, double& dist) {
    nodes.push_back(T);
    WrappingPlace(T, a, d, dist);
  };
  ASSERT_TRUE(ChebyshevFitPlace(place, Ta, Tb, 8, ra, dec, r));
  ASSERT_EQ(nodes.size(), 9u);
  EXPECT_EQ(ra.N, 8);
  EXPECT_EQ(dec.Ta, Ta);
  EXPECT_EQ(r.Tb, Tb);
  for (std::size_t k = 0; k + 1 < nodes.size(); ++k) EXPECT_GT(nodes[k], nodes[k + 1]);

  for (double T : nodes) {
    double a, d, dist;
    WrappingPlace(T, a, d, dist);
    double fitted = ChebyshevEvaluate(ra, T);
    if (fitted < 0) {
      EXPECT_LT(T, 0.0);  // only before the crossing of 0 h
      fitted += 360;
    }
    EXPECT_NEAR(fitted, a, 1e-9);
    EXPECT_NEAR(ChebyshevEvaluate(dec, T), d, 1e-9);
    EXPECT_NEAR(ChebyshevEvaluate(r, T), dist, 1e-12);
  }
  // The series itself is continuous: it runs from about 2.5 down to -1.5.
  EXPECT_NEAR(ChebyshevEvaluate(ra, Tb), 2.5, 0.01);
  EXPECT_NEAR(ChebyshevEvaluate(ra, Ta), -1.5, 0.01);
  // Between the nodes a smooth place is matched to far below 0.1".
  for (int i = 0; i <= 40; ++i) {
    const double T = Ta + (Tb - Ta) * i / 40;
    double a, d, dist;
    WrappingPlace(T, a, d, dist);
    double fitted = ChebyshevEvaluate(ra, T);
    if (fitted < 0) fitted += 360;
    EXPECT_NEAR(fitted, a, 1e-6);
  }
}

TEST(ChebyshevFit, RightAscensionStaysContinuousOverMoreThanOneTurn) {
  // 40 degrees a day over 20 days: 800 degrees, wrapping twice.
  const TPlaceAtTime place = [](double T, double& a, double& d, double& r) {
    a = std::fmod(40.0 * T * 36525.0 + 3600.0, 360.0);
    d = r = 0;
  };
  TChebyshevPolyA ra, dec, r;
  const double Ta = -10.0 / 36525, Tb = 10.0 / 36525;
  ASSERT_TRUE(ChebyshevFitPlace(place, Ta, Tb, 19, ra, dec, r));
  EXPECT_NEAR(ChebyshevEvaluateA(ra, Tb) - ChebyshevEvaluateA(ra, Ta), 800.0, 1e-6);
}

TEST(ChebyshevFit, RefusesDegreesThatDoNotFitTheRecord) {
  int calls = 0;
  const TPlaceAtTime place = [&](double, double& a, double& d, double& r) {
    ++calls;
    a = d = r = 1;
  };
  TChebyshevPoly small;
  small.N = 3;
  small.C[0] = 7;
  TChebyshevPoly d1, r1;
  EXPECT_FALSE(ChebyshevFitPlace(place, 0, 1, 9, small, d1, r1));
  EXPECT_FALSE(ChebyshevFitPlace(place, 0, 1, -1, small, d1, r1));
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(small.N, 3);  // untouched
  EXPECT_EQ(small.C[0], 7);

  TChebyshevPolyB medium, d2, r2;
  EXPECT_TRUE(ChebyshevFitPlace(place, 0, 1, 13, medium, d2, r2));
  EXPECT_FALSE(ChebyshevFitPlace(place, 0, 1, 14, medium, d2, r2));
  TChebyshevPolyA large, d3, r3;
  EXPECT_TRUE(ChebyshevFitPlace(place, 0, 1, 19, large, d3, r3));
  EXPECT_FALSE(ChebyshevFitPlace(place, 0, 1, 20, large, d3, r3));
  EXPECT_EQ(calls, 14 + 20);
  // A constant is fitted exactly at every size.
  EXPECT_NEAR(ChebyshevEvaluateB(medium, 0.3), 1.0, 1e-13);
  EXPECT_NEAR(ChebyshevEvaluateA(large, 0.7), 1.0, 1e-13);
}

TEST(ChebyshevFit, EvaluationOfDegreeZeroAndOfDamagedRecords) {
  TChebyshevPoly p;
  p.N = 0;
  p.Ta = 0;
  p.Tb = 1;
  p.C[0] = 5;
  EXPECT_DOUBLE_EQ(ChebyshevEvaluate(p, 0.25), 2.5);
  EXPECT_DOUBLE_EQ(ChebyshevEvaluate(p, 9.0), 2.5);  // no range check
  // A degree beyond the room (a damaged stored record) reads no further
  // than the last coefficient; an empty interval gives its middle value.
  p.N = 1000;
  p.C[8] = 1;
  EXPECT_TRUE(std::isfinite(ChebyshevEvaluate(p, 0.5)));
  p.N = 1;
  p.C[1] = 3;
  p.Tb = 0;
  EXPECT_DOUBLE_EQ(ChebyshevEvaluate(p, 0.0), 2.5);
}

TEST(ObserverGeocentricRho, EquatorAndPole) {
  double c, s;
  ObserverGeocentricRho(c, s, 0);
  EXPECT_DOUBLE_EQ(c, 1.0);
  EXPECT_DOUBLE_EQ(s, 0.0);
  ObserverGeocentricRho(c, s, 90);
  EXPECT_NEAR(c, 0.0, 1e-15);
  EXPECT_NEAR(s, std::sqrt(0.993306), 1e-12);
  // Palomar (33 deg 21' N), sea level: the textbook values without height.
  ObserverGeocentricRho(c, s, 33.356111);
  EXPECT_NEAR(c, 0.836, 0.001);
  EXPECT_NEAR(s, 0.546, 0.001);
}

}  // namespace
}  // namespace kvx
