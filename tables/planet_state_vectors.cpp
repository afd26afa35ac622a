#include "tables/planet_state_vectors.h"

#include <cmath>
#include <memory>

#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/nbody_integrator.h"
#include "platform/messages.h"
#include "theories/planet_positions.h"
#include "theories/pluto.h"
#include "theories/vsop_wrappers.h"

namespace kvx {

namespace {

constexpr const char* kLabelsGerman[9] = {"Merkur", "Venus",  "Erde",   "Mars", "Jupiter",
                                          "Saturn", "Uranus", "Neptun", "Pluto"};
constexpr const char* kLabelsEnglish[9] = {"Mercury", "Venus",  "Earth",   "Mars", "Jupiter",
                                           "Saturn",  "Uranus", "Neptune", "Pluto"};

using TVsopRoutine = void (*)(double&, double&, double&, double, double&, double&, double&, double&, double&, double&,
                              TTruncationLevel);
constexpr TVsopRoutine kRoutines[8] = {Vsop87CMercury, Vsop87CVenus,  Vsop87CSun,    Vsop87CMars,
                                       Vsop87CJupiter, Vsop87CSaturn, Vsop87CUranus, Vsop87CNeptune};

constexpr int kFirstSlot = 98;  // x, y, z, vx, vy, vz: slots 98 .. 103
constexpr int kJulianDaySlot = 4;
constexpr int kGridRows = 44;
constexpr int kGridColumns = 9;

int Scaled(double width, double scale) {
  const double w = std::trunc(width * scale);
  return std::isfinite(w) && w > 0 ? static_cast<int>(w) : 0;
}

}  // namespace

TPlanetStateVectors PlanetStateVectorsOfDate(TComputeSettingsBlock settings, double T, TTruncationLevel level) {
  TPlanetStateVectors v;
  for (int b = 0; b < 8; ++b) {
    double L = 0, B = 0, R = 0;
    std::array<double, 6>& s = v.State[static_cast<std::size_t>(b)];
    kRoutines[b](L, B, R, T, s[0], s[1], s[2], s[3], s[4], s[5], level);
  }
  v.Count = 8;
  TTheorySelection pluto;
  pluto.bytes[0] = kPlanetTheoryVsop87C;
  if (DateInTheoryRange(pluto, T)) {
    double L = 0, B = 0, R = 0;
    std::array<double, 6>& s = v.State[8];
    PlutoHeliocentric(settings[8], pluto, T, L, B, R, s[0], s[1], s[2], s[3], s[4], s[5]);
    bool finite = true;
    for (double x : s) finite = finite && std::isfinite(x);
    if (finite) v.Count = 9;
  }
  return v;
}

std::array<double, 6> PlanetStateInFrame(const std::array<double, 6>& ofDate, double T, int frame) {
  std::array<double, 6> s = ofDate;
  if (frame == 2) return s;
  TMatrix33 m;
  if (frame == 3) {
    PrecessionMatrixEcliptic(m, T, 0.0);
  } else {
    PrecessionMatrixEquatorial(m, T, 0.0);
  }
  for (std::size_t v = 0; v < 6; v += 3) {
    double& x = s[v];
    double& y = s[v + 1];
    double& z = s[v + 2];
    if (frame <= 1) EclipticToEquatorial(x, y, z, T);
    if (frame != 0) MatrixTimesVector(m, x, y, z);
  }
  return s;
}

bool PlanetsFourFramesTable(TComputeSettingsBlock settings, const TLibraryTableTarget& target,
                            const TObserverRecord& observer, TTruncationLevel vsopLevelA,
                            const TTableConfigRecord& config, const TLibraryAvailability& libraries) {
  if (libraries.Vsop87C == 0) {
    ShowMessage("Die Bibliothek VSOP87 C ist nicht vorhanden.", "The VSOP87 C library is not available.",
                MessageIcon::Error);
    return false;
  }
  std::unique_ptr<TCellSink> sink;
  if (target.WorkbookView != 0) {
    if (target.Sheet) sink = std::make_unique<TSheetSink>(*target.Sheet);
  } else if (target.Grid) {
    sink = std::make_unique<TGridSink>(*target.Grid, target.Output);
  }
  if (!sink) return false;

  const double T = observer.Centuries;
  const TPlanetStateVectors vectors = PlanetStateVectorsOfDate(settings, T, vsopLevelA);
  const int n = vectors.Count;
  if (sink->IsGrid()) {
    tmystringgrid& grid = *target.Grid;
    grid.SetRowCount(kGridRows);
    grid.SetColCount(kGridColumns);
    ClearGridCells(grid, kGridRows, kGridColumns - 1);
    for (int c = 1; c <= 7; ++c) grid.SetColWidths(c, Scaled(100, target.Output.FontScale));
    grid.SetColWidths(8, GridColumnWidth(target.Output, kJulianDaySlot, target.Output.FontScale));
  }
  const char* const* labels = target.Language != 0 ? kLabelsEnglish : kLabelsGerman;
  const double jd = JdFromJulianCenturies(T);
  for (int f = 0; f < 4; ++f) {
    const int top = f * (n + 2) + 1;
    sink->Text(top, 1, kLibraryFrameTitles[f]);
    for (int c = 0; c < 6; ++c) {
      sink->Text(top, c + 2, config.ColumnTitles[static_cast<std::size_t>(kFirstSlot + c)]);
    }
    sink->Text(top, 8, config.ColumnTitles[kJulianDaySlot]);
    for (int b = 0; b < n; ++b) {
      const int row = top + 1 + b;
      const std::array<double, 6> s = PlanetStateInFrame(vectors.State[static_cast<std::size_t>(b)], T, f);
      sink->Text(row, 1, labels[b]);
      for (int c = 0; c < 6; ++c) {
        sink->Value(TCellFamily::Number, row, c + 2, kFirstSlot + c, s[static_cast<std::size_t>(c)]);
      }
      sink->Value(TCellFamily::Number, row, 8, kJulianDaySlot, jd);
    }
  }
  if (!sink->IsGrid()) FinishIntegrationSheet(*target.Sheet);
  return true;
}

}  // namespace kvx
