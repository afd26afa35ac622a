#include "engine/nbody_integrator.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/frames.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "core/vector_math.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"

namespace kvx {
namespace {

constexpr long double kOneSixth = 1.0L / 6.0L;
constexpr int kGridColumnWidth = 110;
constexpr int kTimeSlot = 4;  // the row's JD
constexpr int kNameSlot = 161;
constexpr int kCoordinateSlot = 199;
constexpr int kFirstElementFlag = 96;
constexpr int kElementFlagCount = 12;
constexpr int kFirstElementSlot = 135;

// The heading slots of the six coordinate columns by the switches Cartesian,
// heliocentric and ecliptic.
const int* CoordinateHeadingSlots(const TIntegrationSetup& s) {
  static constexpr int kCartesian[6] = {98, 99, 100, 101, 102, 103};
  static constexpr int kHelioEcliptic[6] = {7, 8, 9, 91, 92, 93};
  static constexpr int kHelioEquatorial[6] = {96, 97, 9, 94, 95, 93};
  static constexpr int kCentreEcliptic[6] = {11, 12, 13, 91, 92, 93};
  static constexpr int kCentreEquatorial[6] = {16, 17, 13, 94, 95, 93};
  if (s.Cartesian != 0) return kCartesian;
  if (s.Heliocentric != 0) return s.Ecliptic != 0 ? kHelioEcliptic : kHelioEquatorial;
  return s.Ecliptic != 0 ? kCentreEcliptic : kCentreEquatorial;
}

// Bodies 1..N as far as the arrays reach: the writers may meet a set-up that
// was never validated (a run validates first).
int BodyCount(const TIntegrationSetup& s) { return std::clamp(s.N, 0, kMaxIntegrationBodies); }

void ToEcliptic(TBodyState& b, double T) {
  EquatorialToEclipticExtended(b[0], b[1], b[2], T);
  EquatorialToEclipticExtended(b[3], b[4], b[5], T);
}

// The twelve element values of flags 96..107 for a body (ecliptic of the
// equinox). False when the elements are not defined (no angular momentum).
bool ElementValues(const TIntegrationSetup& s, int i, double (&values)[kElementFlagCount]) {
  TBodyState b = s.WorkingState[static_cast<std::size_t>(i)];
  ToEcliptic(b, JulianCenturiesJ2000(static_cast<double>(s.EquinoxJD)));
  if (!HasAngularMomentum(b)) return false;
  long double a = 0, q = 0, e = 0, inc = 0, node = 0, arg = 0, lon = 0, p = 0, M = 0, n = 0, tp = 0;
  std::uint8_t kind = 0;
  ElementsFromStateVector(b, a, q, static_cast<double>(s.JD), s.Masses[static_cast<std::size_t>(i)], e, inc, node, arg,
                          lon, p, M, n, tp, kind);
  const long double list[10] = {a, q, e, inc, node, arg, lon, M, n, tp};
  for (int k = 0; k < 10; ++k) values[k] = static_cast<double>(list[k]);
  values[10] = static_cast<double>((s.EquinoxJD - 2451545.0L) / 365.25L + 2000.0L);
  values[11] = static_cast<double>(s.EquinoxJD);
  return true;
}

int ElementSlot(int k) { return k < 10 ? kFirstElementSlot + k : (k == 10 ? 147 : 148); }

// One cell writer pair so the sheet and the grid rows share one layout.
struct RowTarget {
  TSheet* sheet = nullptr;
  tmystringgrid* grid = nullptr;
  int row = 0;
  bool heading = false;

  void Text(int col, const std::string& text) const {
    if (sheet != nullptr)
      sheet->SetText(row, col, text);
    else
      SetGridCellText(*grid, row, col, text);
  }
  // A value that is not finite leaves the cell empty.
  void Number(int col, int slot, double value) const {
    if (std::isfinite(value)) Value(col, slot, value);
  }
  // Any value, in the format of column slot `slot`.
  void Value(int col, int slot, double value) const {
    if (sheet != nullptr)
      WriteNumberToSheet(*sheet, row, col, slot, value);
    else
      WriteNumberToGrid(*grid, row, col, slot, value);
  }
  void Date(int col, double jd) const {
    int day = 0, month = 0, year = 0;
    double hours = 0;
    JdToCalendarDate(day, month, year, hours, jd);
    if (sheet != nullptr) {
      WriteDateToSheet(*sheet, row, col, 0, year, month, day);
      WriteTimeOfDayToSheet(*sheet, row, col + 1, 1, hours);
    } else {
      WriteDateToGrid(*grid, row, col, 0, year, month, day);
      WriteTimeOfDayToGrid(*grid, row, col + 1, 1, hours);
    }
  }
};

void WriteRow(truKu& ku, const TTableConfigRecord& config, const RowTarget& t) {
  const TIntegrationSetup& s = ku.Setup;
  const bool toGrid = t.grid != nullptr;
  auto title = [&config](int slot) -> const std::string& {
    return config.ColumnTitles[static_cast<std::size_t>(slot)];
  };
  int c = 1;
  if (s.DateTimeColumns != 0) {
    if (t.heading) {
      t.Text(c, ku.Language != 0 ? "Numerical integration" : "Numerische Integration");
      t.Text(c + 1, "ET");
    } else {
      t.Date(c, static_cast<double>(s.JD));
    }
    c += 2;
  }
  if (t.heading)
    t.Text(c, toGrid ? "JED" : title(kTimeSlot));
  else
    t.Number(c, toGrid ? 3 : kTimeSlot, static_cast<double>(s.JD));
  ++c;
  for (int i = 0; i < BodyCount(s); ++i) {
    if (s.OutputFlags[static_cast<std::size_t>(i)] == 0) continue;
    if (t.heading)
      t.Text(c, toGrid ? (ku.Language != 0 ? "Object" : "Objekt") : title(kNameSlot));
    else
      t.Text(c, BodyNameInLanguage(s.Names[static_cast<std::size_t>(i)], ku.Language != 0));
    ++c;
    if (s.Elements != 0) {
      double values[kElementFlagCount] = {};
      const bool defined = !t.heading && ElementValues(s, i, values);
      for (int k = 0; k < kElementFlagCount; ++k) {
        if (config.Flags[static_cast<std::size_t>(kFirstElementFlag + k)] == 0) continue;
        if (t.heading)
          t.Text(c, title(ElementSlot(k)));
        else if (defined)
          t.Number(c, ElementSlot(k), values[k]);
        ++c;
      }
    } else if (t.heading) {
      const int* slots = CoordinateHeadingSlots(s);
      for (int k = 0; k < 6; ++k) t.Text(c + k, title(slots[k]));
      c += 6;
    } else {
      ku.PrepareOutputState(i + 1);
      const TBodyState& b = ku.OutputCopy[static_cast<std::size_t>(i)];
      for (int k = 0; k < 6; ++k) t.Number(c + k, kCoordinateSlot, static_cast<double>(b[static_cast<std::size_t>(k)]));
      c += 6;
    }
  }
}

// Column slots of the state-vector block: the start-value file's header
// cell, x, y, z, x1, y1, z1, 1/m, equinox JD and JD.
constexpr int kStateVectorSlots[10] = {161, 98, 99, 100, 101, 102, 103, 104, 5, 4};

// Body b's row of the state-vector block: the name in the language, the
// working state, 1/m (0 for a massless body), the equinox JD and the JD.
void WriteStateVectorRow(const TIntegrationSetup& s, std::size_t b, std::uint8_t language, const RowTarget& t) {
  t.Text(1, BodyNameInLanguage(s.Names[b], language != 0));
  for (int k = 0; k < 6; ++k) t.Value(2 + k, kStateVectorSlots[1 + k], static_cast<double>(s.WorkingState[b][k]));
  const long double m = s.Masses[b];
  t.Value(8, 104, m == 0 ? 0.0 : static_cast<double>(1.0L / m));
  t.Value(9, 5, static_cast<double>(s.EquinoxJD));
  t.Value(10, 4, static_cast<double>(s.JD));
}

}  // namespace

bool HasAngularMomentum(const TBodyState& b) {
  const long double hx = b[1] * b[5] - b[2] * b[4];
  const long double hy = b[2] * b[3] - b[0] * b[5];
  const long double hz = b[0] * b[4] - b[1] * b[3];
  return hx != 0 || hy != 0 || hz != 0;
}

truKu::truKu(TSheet* sheet) : Setup(DefaultIntegrationSetup()), sg(sheet) {}

bool truKu::ComputeAccelerations(const TNBodyState& state) {
  const int n = BodyCount(Setup);
  long double d[kMaxIntegrationBodies][kMaxIntegrationBodies];
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      const long double dx = state[i][0] - state[j][0];
      const long double dy = state[i][1] - state[j][1];
      const long double dz = state[i][2] - state[j][2];
      const long double inverse = 1.0L / std::sqrt(dx * dx + dy * dy + dz * dz);
      d[i][j] = inverse;
      d[j][i] = inverse;
    }
  }
  bool finite = true;
  for (int i = 0; i < n; ++i) {
    long double ax = 0, ay = 0, az = 0;
    for (int j = 0; j < n; ++j) {
      if (j == i || Setup.Masses[j] == 0) continue;
      const long double f = kNBodyK2 * Setup.Masses[j] * d[i][j] * d[i][j] * d[i][j];
      ax += f * (state[j][0] - state[i][0]);
      ay += f * (state[j][1] - state[i][1]);
      az += f * (state[j][2] - state[i][2]);
    }
    acc_[i] = {ax, ay, az};
    finite = finite && std::isfinite(ax) && std::isfinite(ay) && std::isfinite(az);
  }
  return finite;
}

void truKu::Derivatives(const TBodyAccelerations& accelerations, const TNBodyState& state,
                        TNBodyState& derivative) const {
  for (int i = 0; i < BodyCount(Setup); ++i) {
    derivative[i][0] = state[i][3];
    derivative[i][1] = state[i][4];
    derivative[i][2] = state[i][5];
    derivative[i][3] = accelerations[i][0];
    derivative[i][4] = accelerations[i][1];
    derivative[i][5] = accelerations[i][2];
  }
}

void truKu::AddScaled(const TNBodyState& base, const TNBodyState& derivative, long double factor,
                      TNBodyState& result) const {
  for (int i = 0; i < BodyCount(Setup); ++i)
    for (int k = 0; k < 6; ++k) result[i][k] = base[i][k] + factor * derivative[i][k];
}

void truKu::CombineIncrements() {
  for (int i = 0; i < BodyCount(Setup); ++i)
    for (int k = 0; k < 6; ++k)
      increment_[i][k] = (k1_[i][k] + 2.0L * k2_[i][k] + 2.0L * k3_[i][k] + k4_[i][k]) * kOneSixth;
}

void truKu::ApplyIncrement() {
  for (int i = 0; i < BodyCount(Setup); ++i)
    for (int k = 0; k < 6; ++k) Setup.WorkingState[i][k] += Setup.H * increment_[i][k];
}

void truKu::ReduceToFirstBody() {
  const TBodyState first = Setup.WorkingState[0];
  for (int i = 0; i < BodyCount(Setup); ++i)
    for (int k = 0; k < 6; ++k) Setup.WorkingState[i][k] -= first[k];
}

bool truKu::RungeKuttaStep() {
  const long double jdBefore = Setup.JD;
  const long double h = Setup.H;
  Setup.JD += h;
  y0_ = Setup.WorkingState;
  bool finite = ComputeAccelerations(y0_);
  Derivatives(acc_, y0_, k1_);
  AddScaled(y0_, k1_, h * 0.5L, stage_);
  finite = ComputeAccelerations(stage_) && finite;
  Derivatives(acc_, stage_, k2_);
  AddScaled(y0_, k2_, h * 0.5L, stage_);
  finite = ComputeAccelerations(stage_) && finite;
  Derivatives(acc_, stage_, k3_);
  AddScaled(y0_, k3_, h, stage_);
  finite = ComputeAccelerations(stage_) && finite;
  Derivatives(acc_, stage_, k4_);
  CombineIncrements();
  ApplyIncrement();
  if (Setup.ReduceToFirstBody != 0) ReduceToFirstBody();
  for (int i = 0; i < BodyCount(Setup) && finite; ++i)
    for (long double v : Setup.WorkingState[i]) finite = finite && std::isfinite(v);
  if (!finite) {
    Setup.WorkingState = y0_;
    Setup.JD = jdBefore;
  }
  return finite;
}

bool truKu::Integrate(const TTableConfigRecord& config, std::uint8_t language) {
  Language = language;
  AbortRequested = 0;
  if (!ValidateIntegrationSetup(Setup)) return false;
  const long double p = 100.0L / (Setup.Repetitions + 1.0L);
  bool fault = false;
  {
    ProgressSession session(CurrentProgress(), ByLanguage("Numerische Integration", "Numerical integration"), 100);
    ProgressReporter& progress = session.Reporter();
    progress.Step(0);
    int lastPosition = 0;
    OutputRow = 1;
    WriteOutputRow(config);
    WriteOutputRow(config);
    std::int32_t steps = 0;
    do {
      for (int k = 0; k < Setup.OutputInterval; ++k) {
        if (!RungeKuttaStep()) {
          fault = true;
          break;
        }
        ++steps;
        const int position = static_cast<int>(std::trunc(steps * p));
        if (position != lastPosition) {
          progress.Step(position);
          lastPosition = position;
        }
        progress.ProcessEvents();
      }
      if (fault) break;
      WriteOutputRow(config);
    } while (steps < Setup.Repetitions && AbortRequested == 0);
  }
  if (fault) {
    ShowMessage("Während der Integration sind numerische Fehler aufgetreten. Bitte überprüfen Sie die Startwerte!",
                "An numeric error occured during integration. Please check starting values!", MessageIcon::Error,
                MessageButtons::Ok, ByLanguage("Integration abgebrochen", "Integration canceled"));
  }
  if (Setup.WriteStateVectors != 0) WriteStateVectors(config, OutputRow, 0, Language);
  if (sg != nullptr) FinishIntegrationSheet(*sg);
  return !fault;
}

void truKu::PrepareOutputState(int body) {
  const std::size_t i = static_cast<std::size_t>(body - 1);
  OutputCopy = Setup.WorkingState;
  TBodyState& b = OutputCopy[i];
  if (Setup.Heliocentric == 0 && Setup.CentreBody >= 1 && Setup.CentreBody <= kMaxIntegrationBodies) {
    const TBodyState& centre = Setup.WorkingState[static_cast<std::size_t>(Setup.CentreBody - 1)];
    for (int k = 0; k < 6; ++k) b[k] -= centre[k];
  }
  if (Setup.Ecliptic != 0) ToEcliptic(b, JulianCenturiesJ2000(static_cast<double>(Setup.EquinoxJD)));
  if (Setup.Cartesian == 0) {
    const long double factor = Setup.Ecliptic != 0 ? 1.0L : 1.0L / 15.0L;
    for (int part = 0; part < 2; ++part) {
      double r = 0, lat = 0, lon = 0;
      CartesianToPolar(r, lat, lon, static_cast<double>(b[3 * part]), static_cast<double>(b[3 * part + 1]),
                       static_cast<double>(b[3 * part + 2]));
      b[3 * part] = lon * factor;
      b[3 * part + 1] = lat;
      b[3 * part + 2] = r;
    }
  }
}

int truKu::RowColumnCount(const TTableConfigRecord& config) const {
  int perBody = 6;
  if (Setup.Elements != 0) {
    perBody = 0;
    for (int k = 0; k < kElementFlagCount; ++k)
      perBody += config.Flags[static_cast<std::size_t>(kFirstElementFlag + k)] != 0;
  }
  int count = (Setup.DateTimeColumns != 0 ? 2 : 0) + 1;
  for (int i = 0; i < BodyCount(Setup); ++i)
    if (Setup.OutputFlags[static_cast<std::size_t>(i)] != 0) count += 1 + perBody;
  return count;
}

void truKu::WriteOutputRow(const TTableConfigRecord& config) {
  if (WorkbookView == 0) {
    WriteOutputRowToGrid(config);
    return;
  }
  HeadingRow = OutputRow == 1 ? 1 : 0;
  if (sg != nullptr) WriteRow(*this, config, RowTarget{sg, nullptr, OutputRow, HeadingRow != 0});
  ++OutputRow;
}

void truKu::WriteOutputRowToGrid(const TTableConfigRecord& config) {
  HeadingRow = OutputRow == 1 ? 1 : 0;
  if (Grid != nullptr) {
    // The grid is sized to the row before it is written, so a wide row
    // never lands outside it.
    const int columns = RowColumnCount(config) + 1;
    Grid->SetColCount(columns);
    if (Grid->RowCount() <= OutputRow) Grid->SetRowCount(OutputRow + 1);
    WriteRow(*this, config, RowTarget{nullptr, Grid, OutputRow, HeadingRow != 0});
    if (HeadingRow != 0)
      for (int c = 1; c < columns; ++c)
        Grid->SetColWidths(c, static_cast<int>(std::trunc(FontScale * kGridColumnWidth)));
    Grid->SetColCount(columns);
    Grid->SetRowCount(OutputRow + 1);
  }
  ++OutputRow;
}

void truKu::WriteStateVectors(const TTableConfigRecord& config, std::int32_t row, std::uint8_t gridFlag,
                              std::uint8_t language) {
  if (WorkbookView == 0) {
    WriteStateVectorsToGrid(config, row - 1, gridFlag, language);
    return;
  }
  if (sg == nullptr) return;
  sg->SetText(row, 1, kStartValuesHeader);
  for (int k = 0; k < 10; ++k) {
    sg->SetText(row + 1, k + 1, config.ColumnTitles[static_cast<std::size_t>(kStateVectorSlots[k])]);
  }
  for (int i = 0; i < BodyCount(Setup); ++i) {
    WriteStateVectorRow(Setup, static_cast<std::size_t>(i), language, RowTarget{sg, nullptr, row + 2 + i, false});
  }
}

void truKu::WriteStateVectorsToGrid(const TTableConfigRecord& config, std::int32_t row, std::uint8_t gridFlag,
                                    std::uint8_t language) {
  if (Grid == nullptr) return;
  const int r = row + 1;
  if (gridFlag != 0) Grid->SetColCount(11);
  Grid->SetRowCount(BodyCount(Setup) + r + 1);
  for (int k = 0; k < 10; ++k) {
    Grid->SetColWidths(k + 1, static_cast<int>(std::trunc(FontScale * kGridColumnWidth)));
    SetGridCellText(*Grid, r, k + 1, config.ColumnTitles[static_cast<std::size_t>(kStateVectorSlots[k])]);
  }
  for (int rr = r; rr < Grid->RowCount(); ++rr)
    for (int c = 11; c < Grid->ColCount(); ++c) SetGridCellText(*Grid, rr, c, "");
  for (int i = 0; i < BodyCount(Setup); ++i) {
    WriteStateVectorRow(Setup, static_cast<std::size_t>(i), language, RowTarget{nullptr, Grid, r + 1 + i, false});
  }
}

void FinishIntegrationSheet(TSheet& sheet) {
  sheet.SetSelection(1, 1, 1, 1);
  sheet.SetSelection(1, -1, 1, -1);
  workbook::TAlignment centred;
  centred.Horizontal = 3;
  centred.Wrap = false;
  centred.Vertical = 3;
  centred.Orientation = 0;
  sheet.SetAlignment(centred);
  sheet.SetSelection(1, 1, 1, 1);
  const int lastRow = std::max(1, sheet.LastRow());
  const int lastCol = std::max(1, sheet.LastCol());
  sheet.SetRowHeightAuto(1, 1, lastRow, lastCol);
  sheet.SetColWidthAuto(1, 1, lastRow, lastCol);
  sheet.SetSelection(1, 1, 1, 1);
}

bool RunRungeKuttaIntegration(truKu& integrator, TSheet& sheet, tmystringgrid& grid, std::uint8_t workbookView,
                              const TTableConfigRecord& config, std::uint8_t language) {
  integrator.sg = &sheet;
  integrator.Grid = &grid;
  integrator.WorkbookView = workbookView;
  return integrator.Integrate(config, language);
}

}  // namespace kvx
