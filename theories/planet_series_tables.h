// Coefficient tables of the internal planetary series (Mercury to Neptune)
// and of the table-driven Pluto series. The values are generated from the
// published tables by tools/make_planet_tables.py into
// planet_series_tables.cpp; the evaluation rules live in planet_series.cpp
// and pluto.cpp.
#pragma once

#include <array>
#include <cstdint>

namespace kvx::planet_tables {

// The planets with an internal series, in table order.
enum class SeriesPlanet : std::uint8_t { kMercury, kVenus, kMars, kJupiter, kSaturn, kUranus, kNeptune };

// The body whose mean anomaly is the second argument of a group's terms.
// kJupiterAndSaturn: the combined argument 2*M_Jupiter + q*M_Saturn.
enum class Perturber : std::uint8_t {
  kMercury,
  kVenus,
  kEarth,
  kMars,
  kJupiter,
  kSaturn,
  kUranus,
  kNeptune,
  kJupiterAndSaturn
};

// One periodic term: argument p*M_own + q*M_perturber, multiplied by T^k.
//   lc, ls: longitude, arcseconds (cosine and sine coefficients);
//   rc, rs: radius vector, 1e-6 AU (Mercury, Venus, Mars) or 1e-5 AU
//           (Jupiter to Neptune);
//   bc, bs: latitude, arcseconds.
// A term with k > 0 always follows the term with the same p and q and k - 1.
struct SeriesTerm {
  std::int8_t p;
  std::int8_t q;
  std::int8_t k;
  double lc, ls, rc, rs, bc, bs;
};

// A group: consecutive terms of one planet that share a perturber, in the
// order of evaluation; lowestQ and highestQ bound the perturber multiples.
struct SeriesGroup {
  SeriesPlanet planet;
  Perturber perturber;
  int firstTerm;
  int termCount;
  int lowestQ;
  int highestQ;
};

inline constexpr int kSeriesTermCount = 428;
inline constexpr int kSeriesGroupCount = 25;
extern const std::array<SeriesTerm, kSeriesTermCount> kSeriesTerms;
extern const std::array<SeriesGroup, kSeriesGroupCount> kSeriesGroups;

// Table-driven Pluto series: 106 terms in three consecutive groups that are
// multiplied by x^0, x^1 and x^2. Frequencies in radians per day, all
// coefficients in 1e-10 AU (heliocentric, equatorial, equinox J2000).
inline constexpr int kPlutoTableTermCount = 106;
inline constexpr std::array<int, 3> kPlutoTableGroupCounts = {82, 19, 5};

struct PlutoTableArrays {
  std::array<double, kPlutoTableTermCount> frequency;
  std::array<double, kPlutoTableTermCount> xCos, xSin;
  std::array<double, kPlutoTableTermCount> yCos, ySin;
  std::array<double, kPlutoTableTermCount> zCos, zSin;
};
extern const PlutoTableArrays kPlutoTable;

// Secular cubics of X, Y and Z: coefficients of x^0 .. x^3, 1e-10 AU.
extern const std::array<std::array<double, 4>, 3> kPlutoTableSecular;

}  // namespace kvx::planet_tables
