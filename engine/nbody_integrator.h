// truKu: the n-body integrator. Up to 14 bodies attract each other (a body
// of mass 0 is attracted but attracts nothing); the classical fourth-order
// Runge-Kutta method at the fixed step of the set-up advances the working
// state, and a row of positions or osculating elements is written into the
// workbook sheet or the result grid every few steps, followed by a block of
// the final state vectors.
//
// Units and frame: those of the set-up (engine/nbody_setup.h): AU, AU/day,
// solar masses, JD (TT); rectangular equatorial coordinates of the set-up's
// equinox. Arithmetic is long double (x87 extended) throughout; every array
// has the fixed size of 14 bodies and a step allocates nothing.
//
// Acceleration of body i: a_i = sum over j != i of k^2 m_j (r_j - r_i) /
// |r_j - r_i|^3, k^2 = kNBodyK2. Every body moves, the first included.
//
// Reference: the classical Runge-Kutta method, e.g. Hairer, Norsett and
// Wanner, Solving Ordinary Differential Equations I, ch. II.1.
#pragma once

#include <array>
#include <cstdint>

#include "core/table_config.h"
#include "engine/cell_format.h"
#include "engine/mystringgrid.h"
#include "engine/nbody_setup.h"
#include "platform/save_failure.h"

namespace kvx {

using TBodyAccelerations = std::array<std::array<long double, 3>, kMaxIntegrationBodies>;

class truKu {
 public:
  // Create: the default set-up (DefaultIntegrationSetup) and the sheet the
  // rows go to. The grid, the view flag and the font scale are set by the
  // owner (the main window) or by the run entry points below.
  explicit truKu(TSheet* sheet);

  TIntegrationSetup Setup;
  TOpenedFile StartValuesRead;  // the start values' file as last read or written
  TSheet* sg = nullptr;
  tmystringgrid* Grid = nullptr;
  std::uint8_t WorkbookView = 1;  // non-zero: rows go to the sheet
  // Language of the texts the rows and the state-vector block write (body
  // names, the heading's run title and object column): 0 German, else
  // English. Set by the run entry points from their language argument.
  std::uint8_t Language = 0;
  double FontScale = 1.0;       // grid column widths are Trunc(FontScale x 110)
  std::int32_t OutputRow = 1;   // next row the output writers use
  std::uint8_t HeadingRow = 0;  // set while row 1 is being written
  TNBodyState OutputCopy{};     // the state prepared for one body's row

  // The Runge-Kutta run (see the file comment): checks the set-up (a refusal
  // shows its message and writes nothing), writes the heading row and a row
  // of the working state, then repeats OutputInterval steps and a row until
  // Repetitions steps are made or AbortRequested is set. Progress
  // "Numerische Integration" / "Numerical integration" at Trunc(steps x 100 /
  // (Repetitions + 1)), one ProcessEvents per step. A step that gives a value
  // that is not finite puts back the working state and JD of the step before,
  // ends the loop and shows "Integration abgebrochen" / "Integration
  // canceled". Then, when the flag is set, the state-vector block after the
  // last row, and the sheet finishing. The rows are written in `language`
  // (kept in Language). Returns false when refused or ended by a numeric
  // fault; AbortRequested stays set after a cancel.
  bool Integrate(const TTableConfigRecord& config, std::uint8_t language);

  // One step of bodies 1..N from JD to JD + h (the reduction included).
  // False when a value came out not finite; the working state and JD are
  // then those before the step.
  bool RungeKuttaStep();

  // The parts of the step, over bodies 1..N and all six components.
  // Accelerations (AU/day^2) at the positions of `state`; false when one is
  // not finite (two bodies at one place).
  bool ComputeAccelerations(const TNBodyState& state);
  // derivative := (velocities of state, the accelerations computed last).
  void Derivatives(const TBodyAccelerations& accelerations, const TNBodyState& state, TNBodyState& derivative) const;
  // result := base + factor x derivative.
  void AddScaled(const TNBodyState& base, const TNBodyState& derivative, long double factor, TNBodyState& result) const;
  // increment := (k1 + 2 k2 + 2 k3 + k4) / 6.
  void CombineIncrements();
  // working state := working state + h x increment.
  void ApplyIncrement();
  // Every body minus body 1 (taken before), so body 1 rests at the origin.
  void ReduceToFirstBody();

  // Output rows: the heading row when OutputRow is 1, else a data row of the
  // working state at JD; then OutputRow + 1. Into the sheet, or the grid when
  // WorkbookView is 0 (the same row number; the grid's title row 0 and
  // column 0 stay empty; it is sized to the row before the row is written,
  // and the heading row sets the column widths).
  void WriteOutputRow(const TTableConfigRecord& config);
  void WriteOutputRowToGrid(const TTableConfigRecord& config);
  // OutputCopy := working state, body i (1-based) made centre-relative,
  // ecliptic and spherical as the switches say (longitude and right
  // ascension in degrees 0..360 and hours 0..24).
  // A centre body outside 1..14 leaves the state unchanged.
  void PrepareOutputState(int body);

  // The state-vector block of bodies 1..N: into the sheet from `row` (the
  // start-value file's header cell, the heading row, one row per body), or,
  // with WorkbookView 0, WriteStateVectorsToGrid(config, row - 1, gridFlag,
  // language). Body names in `language` (0 German, else English).
  void WriteStateVectors(const TTableConfigRecord& config, std::int32_t row, std::uint8_t gridFlag,
                         std::uint8_t language);
  // The grid block: headings in row `row` + 1, body i in row `row` + 1 + i;
  // with gridFlag the grid gets 11 columns first.
  void WriteStateVectorsToGrid(const TTableConfigRecord& config, std::int32_t row, std::uint8_t gridFlag,
                               std::uint8_t language);

  // Last accelerations computed (AU/day^2).
  const TBodyAccelerations& Accelerations() const { return acc_; }

 private:
  // Columns of one row, the time column included (not the grid's title
  // column).
  int RowColumnCount(const TTableConfigRecord& config) const;

  TNBodyState y0_{}, stage_{}, increment_{}, k1_{}, k2_{}, k3_{}, k4_{};
  TBodyAccelerations acc_{};
};

// The finishing of an integration sheet: A1 selected, row 1 centred, row
// heights and then column widths fitted to the used range, A1 selected.
void FinishIntegrationSheet(TSheet& sheet);

// The Runge-Kutta run as the menu command calls it: the rows go to `sheet`
// when `workbookView` is non-zero, else to `grid`; texts in `language`.
bool RunRungeKuttaIntegration(truKu& integrator, TSheet& sheet, tmystringgrid& grid, std::uint8_t workbookView,
                              const TTableConfigRecord& config, std::uint8_t language);

// True when the body's ecliptic state has an angular momentum (elements are
// defined); body 1 after the reduction has none.
bool HasAngularMomentum(const TBodyState& state);

}  // namespace kvx
