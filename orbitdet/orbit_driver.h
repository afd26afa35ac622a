// The orbit-determination run: preparation of the chosen observations, the
// user's choice, Laplace's first orbit, the residuals and, as often as the
// user asks, the differential correction; at the end the elements of the
// final state vector.
//
// Chosen records: RA and Dec precessed once from the observations' equinox
// to J2000 (RA in hours, Dec in degrees), UT and TT days, the observer's
// geocentric latitude arcsin(rho sin phi') and west-positive longitude
// (degrees). Observer records: the Sun seen from the observer at the TT
// day, AU, equatorial J2000; with the topocentric choice the observer's
// offset (spherical Earth, sidereal time of the UT day, equator of date) is
// precessed to J2000 before it is subtracted.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/table_config.h"
#include "orbitdet/differential_correction.h"
#include "orbitdet/observations.h"
#include "platform/workbook/workbook.h"
#include "theories/theory_types.h"

namespace kvx {

// The selection dialog as seen by the run: edits `chosen` in place; false
// when the user cancelled.
class ObservationChooser {
 public:
  virtual ~ObservationChooser() = default;
  virtual bool Choose(std::vector<TChosenObservation>& chosen, const std::string& caption, const std::string& hint) = 0;
};

struct TOrbitRun {
  ObservationChooser* Chooser = nullptr;
  ResidualsView* View = nullptr;
  std::string FileName;
  TOrbDetOptions Options;
  TTrialPlaceFunction Places;            // methods 0 and 1 (the two-body road when empty)
  workbook::TWorkbook* Sheet = nullptr;  // the observation table when the run ends well
  TTableConfigRecord Config{};
  // Disables (false) and enables (true) the main window around the
  // correction; called with true on every way out.
  std::function<void(bool)> EnableMainWindow;
  // Replaces Laplace's first orbit (tests): state and epoch from the chosen
  // records.
  std::function<TOrbitStatus(const std::vector<TChosenObservation>&, TStateVector&, double&)> FirstOrbit;
};

// The chosen records of all observations of od (equinox J2000).
std::vector<TChosenObservation> ChosenRecords(const torbdet& od);

// The Sun seen from the observer of every chosen record (J2000, AU).
std::vector<TObserverPlace> ObserverRecords(const torbdet& od, const std::vector<TChosenObservation>& chosen,
                                            bool topocentric);

// The whole run; true when it ended with elements in od.Elements, false when
// the user cancelled a choice or the wait dialog, or three observations gave
// no orbit.
bool RunOrbitDetermination(torbdet& od, TOrbitRun& run);

}  // namespace kvx
