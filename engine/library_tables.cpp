#include "engine/library_tables.h"

#include <array>
#include <cmath>
#include <limits>
#include <memory>

#include "core/frames.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "core/vector_math.h"
#include "engine/nbody_integrator.h"
#include "engine/planet_elements.h"
#include "platform/messages.h"
#include "theories/planet_positions.h"
#include "theories/pluto.h"
#include "theories/vsop_wrappers.h"

namespace kvx {

namespace {

constexpr const char* kNames87German[10] = {
    "Merkur", "Venus", "Erde", "Erde/Mond Baryzentrum", "Mars", "Jupiter", "Saturn", "Uranus", "Neptun", "Pluto"};
constexpr const char* kNames87English[10] = {
    "Mercury", "Venus", "Earth", "Earth/Moon Barycenter", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"};
constexpr const char* kNames82German[9] = {"Merkur", "Venus",  "Erde",   "Mars", "Jupiter",
                                           "Saturn", "Uranus", "Neptun", "Pluto"};
constexpr const char* kNames82English[9] = {"Mercury", "Venus",  "Earth",   "Mars", "Jupiter",
                                            "Saturn",  "Uranus", "Neptune", "Pluto"};

using Vsop87AFunction = void (*)(double&, double&, double&, double, double&, double&, double&, double&, double&,
                                 double&, TTruncationLevel);
constexpr Vsop87AFunction kVsop87A[9] = {Vsop87AMercury, Vsop87AVenus,  Vsop87AEarth,  Vsop87AEarthMoon, Vsop87AMars,
                                         Vsop87AJupiter, Vsop87ASaturn, Vsop87AUranus, Vsop87ANeptune};

// The sink of the target (null when the target is missing).
std::unique_ptr<TCellSink> SinkOf(const TLibraryTableTarget& target) {
  if (target.WorkbookView != 0) {
    if (target.Sheet) return std::make_unique<TSheetSink>(*target.Sheet);
  } else if (target.Grid) {
    return std::make_unique<TGridSink>(*target.Grid, target.Output);
  }
  return nullptr;
}

int Scaled(double width, double scale) {
  const double w = std::trunc(width * scale);
  return std::isfinite(w) && w > 0 ? static_cast<int>(w) : 0;
}

bool Refuse(const char* library) {
  ShowMessage(std::string("Die Bibliothek ") + library + " ist nicht verfügbar.",
              std::string("The ") + library + " library is not available.", MessageIcon::Error);
  return false;
}

// Pluto's heliocentric state, ecliptic and equinox of J2000, from its
// table-driven series; false outside that series' range.
bool PlutoStateJ2000(TComputeSettingsBlock settings, double T, std::array<double, 6>& s) {
  TTheorySelection selection;
  selection.bytes[0] = kPlanetTheoryVsop87C;
  if (!DateInTheoryRange(selection, T)) return false;
  double L = 0, B = 0, R = 0;
  PlutoHeliocentric(settings[8], selection, T, L, B, R, s[0], s[1], s[2], s[3], s[4], s[5]);
  TMatrix33 toJ2000;
  PrecessionMatrixEcliptic(toJ2000, T, 0.0);
  MatrixTimesVector(toJ2000, s[0], s[1], s[2]);
  MatrixTimesVector(toJ2000, s[3], s[4], s[5]);
  for (double v : s)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

bool PlanetCoordinateTableVsop87a(TComputeSettingsBlock settings, const TLibraryTableTarget& target,
                                  const TObserverRecord& observer, std::int32_t vsopLevelA,
                                  const TTableConfigRecord& config, const TLibraryAvailability& libraries) {
  if (libraries.Vsop87A == 0) return Refuse("VSOP87 A");
  std::unique_ptr<TCellSink> sink = SinkOf(target);
  if (!sink) return false;
  const double T = observer.Centuries;

  std::array<std::array<double, 6>, 10> states{};
  int bodies = 0;
  for (; bodies < 9; ++bodies) {
    double L = 0, B = 0, R = 0;
    std::array<double, 6>& s = states[static_cast<std::size_t>(bodies)];
    kVsop87A[bodies](L, B, R, T, s[0], s[1], s[2], s[3], s[4], s[5], vsopLevelA);
  }
  if (PlutoStateJ2000(settings, T, states[9])) ++bodies;

  TMatrix33 equatorialToDate, eclipticToDate;
  PrecessionMatrixEquatorial(equatorialToDate, 0.0, T);
  PrecessionMatrixEcliptic(eclipticToDate, 0.0, T);
  auto frame = [&](int f, std::array<double, 6> s) {
    for (int v = 0; v < 6; v += 3) {
      double& x = s[static_cast<std::size_t>(v)];
      double& y = s[static_cast<std::size_t>(v + 1)];
      double& z = s[static_cast<std::size_t>(v + 2)];
      if (f <= 1) EclipticToEquatorial(x, y, z, 0.0);
      if (f == 0) MatrixTimesVector(equatorialToDate, x, y, z);
      if (f == 2) MatrixTimesVector(eclipticToDate, x, y, z);
    }
    return s;
  };

  if (sink->IsGrid()) {
    tmystringgrid& grid = *target.Grid;
    grid.SetRowCount(49);
    grid.SetColCount(9);
    ClearGridCells(grid, 48, 8);
    for (int c = 1; c <= 7; ++c) grid.SetColWidths(c, Scaled(100, target.Output.FontScale));
    grid.SetColWidths(8, GridColumnWidth(target.Output, 4, target.Output.FontScale));
  }
  const char* const* names = target.Language != 0 ? kNames87English : kNames87German;
  const double jd = JdFromJulianCenturies(T);
  for (int f = 0; f < 4; ++f) {
    const int top = 12 * f + 1;
    sink->Text(top, 1, kLibraryFrameTitles[f]);
    for (int c = 0; c < 6; ++c) sink->Text(top, c + 2, config.ColumnTitles[static_cast<std::size_t>(98 + c)]);
    sink->Text(top, 8, config.ColumnTitles[4]);
    for (int b = 0; b < bodies; ++b) {
      const int row = top + 1 + b;
      const std::array<double, 6> s = frame(f, states[static_cast<std::size_t>(b)]);
      sink->Text(row, 1, names[b]);
      for (int c = 0; c < 6; ++c) sink->Value(TCellFamily::Number, row, c + 2, 98 + c, s[static_cast<std::size_t>(c)]);
      sink->Value(TCellFamily::Number, row, 8, 4, jd);
    }
  }
  if (!sink->IsGrid()) FinishIntegrationSheet(*target.Sheet);
  return true;
}

bool PlanetCoordinateTableVsop82(TComputeSettingsBlock settings, const TLibraryTableTarget& target,
                                 const TObserverRecord& observer, const TTableConfigRecord& config,
                                 const TLibraryAvailability& libraries) {
  if (libraries.Vsop82 == 0) return Refuse("VSOP82");
  std::unique_ptr<TCellSink> sink = SinkOf(target);
  if (!sink) return false;
  const double T = observer.Centuries;
  const double jdTT = JdFromJulianCenturies(T);

  // Column -> format slot; column 1 holds the names.
  static constexpr int kSlots[15] = {0, 0, 135, 137, 138, 139, 140, 141, 142, 143, 3, 138, 139, 140, 141};
  if (sink->IsGrid()) {
    tmystringgrid& grid = *target.Grid;
    grid.SetRowCount(11);
    grid.SetColCount(15);
    ClearGridCells(grid, 10, 14);
    grid.SetColWidths(1, Scaled(100, target.Output.FontScale));
    for (int c = 2; c < 15; ++c) {
      int width = GridColumnWidth(target.Output, kSlots[c], target.Output.FontScale);
      if (c == 7) width += 3;
      grid.SetColWidths(c, width);
    }
  }
  for (int c = 2; c < 15; ++c) {
    std::string heading = config.ColumnTitles[static_cast<std::size_t>(kSlots[c])];
    if (c >= 4 && c <= 7) heading += " J2000";
    sink->Text(1, c, heading);
  }

  TTheorySelection plutoRoad;
  plutoRoad.bytes[0] = kPlanetTheoryVsop87C;
  const char* const* names = target.Language != 0 ? kNames82English : kNames82German;
  int row = 1;
  for (int k = 0; k < 9; ++k) {
    const int planet = k + 1;  // 3: the Earth-Moon barycentre, whose elements are the Earth's
    if (planet == 9 && !DateInTheoryRange(plutoRoad, T)) break;
    TOsculatingElements el = TOsculatingElements::Unknown();
    PlanetPositionsVsop82(settings, plutoRoad, libraries.Vsop82, planet, jdTT, PlanetMassRatio(planet), el);
    ++row;
    sink->Text(row, 1, names[k]);
    const double values[8] = {
        double(el.a), double(el.e), double(el.i), double(el.node), double(el.argPerihelion), double(el.lonPerihelion),
        double(el.M), double(el.n)};
    for (int c = 0; c < 8; ++c) sink->Value(TCellFamily::Number, row, c + 2, kSlots[c + 2], values[c]);
    sink->Value(TCellFamily::Number, row, 10, 3, MjdToJd(observer.Mjd));
    double i = values[2], node = values[3], arg = values[4];
    PrecessOrbitalElements(i, node, arg, 0.0, T);
    const double ofDate[4] = {i, node, arg, Mod360(node + arg)};
    for (int c = 0; c < 4; ++c) sink->Value(TCellFamily::Number, row, c + 11, 138 + c, ofDate[c]);
  }
  if (sink->IsGrid()) {
    sink->Text(1, 1, "");
  } else {
    FinishIntegrationSheet(*target.Sheet);
  }
  return true;
}

}  // namespace kvx
