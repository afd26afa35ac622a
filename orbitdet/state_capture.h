// State vectors the user gives by hand: from seven element values edited in
// the residuals form, and from seven cells of a sheet row.
//
// State vectors: heliocentric equatorial J2000, x, y, z in AU and x', y', z'
// in AU per Gaussian time unit (1/k days); epochs JD (TT). Elements as
// OrbitElementsFromState gives them: J2000 ecliptic, degrees; size a (q for
// a parabola, a < 0 for a hyperbola), time element M (degrees, ellipse) or
// the perihelion time T (JD TT, parabola and hyperbola).
#pragma once

#include <array>
#include <string>

#include "orbitdet/observations.h"
#include "platform/workbook/workbook.h"

namespace kvx {

// The last accepted epoch of a state vector, JD (the program's date range).
inline constexpr double kLastStateEpochJd = 5373484.4583;

// The orbit kind an eccentricity gives the form: 0 below 1, 1 at exactly 1,
// 2 above 1.
std::uint8_t OrbitKindOfEccentricity(double e);

// The state at `epoch` of the elements: the comet orbit step on q and T
// (ellipse, parabola, hyperbola or the near-parabolic routine, chosen as
// for a trial comet), the orbit plane turned to the J2000 ecliptic and then
// to the J2000 equator (obliquity kOrbitObliquityJ2000), the velocity
// divided by k. q is a(1 - e) unless the record is a parabola; T is the
// record's perihelion time for an ellipse, its time element otherwise.
// False (state untouched) when the result is not finite or the position
// is zero.
bool StateFromElements(const TOrbitElementRecord& elements, double epoch, TStateVector& state);

// The seven element values of the residuals form, in its order.
enum TElementEdit : int {
  kEditSize = 0,       // a, or q for a parabola
  kEditEccentricity,   // e
  kEditTime,           // M for an ellipse, else T
  kEditInclination,    // i
  kEditNode,           // node
  kEditPerihelion,     // argument of perihelion
  kEditPerihelionTime  // T
};

// The value an edit shows for a record (T for both time edits unless the
// record is an ellipse).
double ElementEditValue(const TOrbitElementRecord& elements, int edit);

// Applies a typed element value. The record stays consistent: for an
// ellipse M and T follow each other at `epoch` (a changed a or e keeps T);
// an e that changes the orbit kind keeps q and T and turns the size into
// the new kind's (q, or a = q / (1 - e)), with its labels. Refused (record
// untouched, German and English reason) for: a value that is not finite,
// e < 0, a <= 0 with e < 1, q <= 0, a >= 0 with e > 1, i outside 0..180
// degrees, and elements whose state cannot be computed. `state` receives
// the new state (StateFromElements) when the edit is taken.
bool ApplyElementEdit(TOrbitElementRecord& elements, double epoch, int edit, double value, TStateVector& state,
                      std::string& german, std::string& english);

// The record as the form keeps it: for a parabola or hyperbola the
// perihelion time is also the time element.
TOrbitElementRecord FormElements(const TOrbitElementRecord& elements);

// The number in a cell: a number, a formula's numeric result, or a text
// that reads as a number ("," or "." as the decimal point, blanks around
// it). False for empty cells, other texts and values that are not finite.
bool CellNumber(const workbook::TWorkbook& book, int row, int col, double& value);

enum class TStateCapture : std::uint8_t { Ok, NotSevenColumns, Invalid };

// The state vector of the first row of the sheet's selection: x, y, z (AU),
// vx, vy, vz (AU/day), the epoch (JD); the velocities turned into Gaussian
// units. NotSevenColumns when the selection (one block) does not span
// exactly seven columns; Invalid when a cell holds no number, the position
// is zero or the epoch lies outside 0..kLastStateEpochJd. The outputs change
// only with Ok.
TStateCapture CaptureStateVector(const workbook::TWorkbook& book, TStateVector& state, double& epoch);

// The message of a refused capture (stop icon), through the message seam.
void ShowStateCaptureMessage(TStateCapture result);

}  // namespace kvx
