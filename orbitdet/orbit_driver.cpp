#include "orbitdet/orbit_driver.h"

#include <algorithm>
#include <cmath>

#include "core/angle_constants.h"
#include "core/frames.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "orbitdet/gauss.h"
#include "orbitdet/laplace.h"
#include "orbitdet/orbit_output.h"
#include "orbitdet/state_elements.h"
#include "orbitdet/trial_places.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"

namespace kvx {

namespace {

// Enables the main window again and clears the abort flag on every way out.
class RunGuard {
 public:
  explicit RunGuard(const std::function<void(bool)>& enable) : enable_(enable) {}
  ~RunGuard() {
    AbortRequested = 0;
    if (enable_) enable_(true);
  }
  RunGuard(const RunGuard&) = delete;
  RunGuard& operator=(const RunGuard&) = delete;

 private:
  const std::function<void(bool)>& enable_;
};

std::string Caption(bool improvement, const std::string& fileName) {
  return std::string(improvement ? ByLanguage("Beobachtungen für Bahnverbesserung wählen. ",
                                              "Select observations for orbit improvement. ")
                                 : ByLanguage("Beobachtungen für erste Näherung auswählen. ",
                                              "Select observations for first calculation. ")) +
         fileName;
}

std::string Hint(bool failed) {
  return failed
             ? ByLanguage(" Die Berechnung schlug fehl. Bitte eine andere Auswahl treffen.",
                          " Calculation failed. Please select other oberservations.")
             : ByLanguage(" Entfernen Sie Beobachtungen aus der Liste durch Doppelklick oder den \"Entfernen\"-Button",
                          " Remove observations by doubleclick on the \"Remove\" button");
}

void ThreeObservationsMessage() {
  ShowMessage("Aus diesen drei Beobachtungen ließ sich keine Bahn bestimmen.",
              "No orbit could be determined from these three observations.", MessageIcon::Error);
}

// Laplace's first orbit from the chosen records.
TOrbitStatus LaplaceFirstOrbit(torbdet& od, const std::vector<TChosenObservation>& chosen, TStateVector& state,
                               double& epoch) {
  const std::size_t middle = (chosen.size() - 1) / 2;
  const TChosenObservation& m = chosen[middle];
  epoch = m.JdTT;
  od.ObserverLongitude = DegToDmsPackedSec(m.LongitudeWest);
  od.ObserverLatitude = DegToDmsPackedSec(m.Latitude);
  TOrbitStatus status = FitObservationPolynomial(od.Direction, 4, epoch, chosen);
  if (status != TOrbitStatus::Ok) return status;
  std::array<std::array<double, 3>, 3> sun{};
  std::array<double, 3> times{};
  const double day = std::trunc(epoch) - 0.5;
  for (std::size_t k = 0; k < 3; ++k) {
    times[k] = day + static_cast<double>(k);
    sun[k] = GeocentricSunJ2000(od, times[k]);
  }
  ObserverSunVector(od.Sun, sun, times, od.ObserverLongitude, od.ObserverLatitude, m.JD, epoch);
  return LaplacePreliminaryOrbit(state, epoch, od.Direction, od.Sun);
}

}  // namespace

std::vector<TChosenObservation> ChosenRecords(const torbdet& od) {
  TMatrix33 toJ2000;
  PrecessionMatrixEquatorial(toJ2000, od.ObservationsEquinox, 0.0);
  std::vector<TChosenObservation> out;
  for (const TObservationEntry& e : od.Observations()) {
    const tobservation& o = e.Obs;
    double x = 0, y = 0, z = 0;
    PolarToCartesian(x, y, z, 1.0, o.Dec, o.RA);
    MatrixTimesVector(toJ2000, x, y, z);
    double r = 0, dec = 0, ra = 0;
    CartesianToPolar(r, dec, ra, x, y, z);
    TChosenObservation c;
    c.JD = o.JD;
    c.JdTT = o.JdTT;
    c.Latitude = std::asin(std::clamp(o.RhoSin, -1.0, 1.0)) / kDegToRad;
    c.LongitudeWest = -o.Longitude;
    // At a pole the direction gives no right ascension (its x and y are
    // rounding noise): the one the observer wrote down is kept.
    if (std::hypot(x, y) < 1e-9 * std::fabs(z)) ra = o.RA;
    c.RA = std::fmod(ra + 360.0, 360.0) / 15.0;
    c.Dec = dec;
    out.push_back(c);
  }
  return out;
}

std::vector<TObserverPlace> ObserverRecords(const torbdet& od, const std::vector<TChosenObservation>& chosen,
                                            bool topocentric) {
  std::vector<TObserverPlace> out;
  out.reserve(chosen.size());
  for (const TChosenObservation& c : chosen) {
    const std::array<double, 3> sun = GeocentricSunJ2000(od, c.JdTT);
    TObserverPlace p{c.JD, sun[0], sun[1], sun[2]};
    if (topocentric && HasObserverPlace(c)) {
      const std::array<double, 3> offset = ObserverOffsetJ2000(c);
      p.X -= offset[0];
      p.Y -= offset[1];
      p.Z -= offset[2];
    }
    out.push_back(p);
  }
  return out;
}

bool RunOrbitDetermination(torbdet& od, TOrbitRun& run) {
  RunGuard guard(run.EnableMainWindow);
  od.StateVector = {1, 1, 1, 0, 0, 0};
  bool improvement = false;
  bool failed = false;
  std::uint8_t method = run.Options.Method;
  std::uint8_t topocentric = run.Options.Topocentric;
  double rate = run.Options.ChangeRate;
  TDirectionRecord setAside;
  for (;;) {
    // Preparation of a pass.
    PrepareObservations(od);
    od.OutputRow = 1;
    od.Chosen = ChosenRecords(od);
    od.PreviousChoice = od.Chosen;
    const bool three = od.Chosen.size() == 3;
    if (od.Chosen.size() < 3) return false;
    if (!three) {
      for (;;) {
        if (!run.Chooser->Choose(od.Chosen, Caption(improvement, run.FileName), Hint(failed))) return false;
        if (od.Chosen.size() <= static_cast<std::size_t>(kMaxChosenObservations) && od.Chosen.size() >= 3) break;
        if (od.Chosen.size() > static_cast<std::size_t>(kMaxChosenObservations)) {
          ShowMessage("Es können höchstens 1000 Beobachtungen verwendet werden.",
                      "At most 1000 observations can be used.", MessageIcon::Error);
        }
      }
    }
    od.Success = 1;
    failed = false;
    // First pass.
    if (!improvement) {
      TStateVector state{};
      double epoch = 0;
      const TOrbitStatus status =
          run.FirstOrbit ? run.FirstOrbit(od.Chosen, state, epoch) : LaplaceFirstOrbit(od, od.Chosen, state, epoch);
      if (status != TOrbitStatus::Ok) {
        if (three) {
          ThreeObservationsMessage();
          return false;
        }
        const std::string german = OrbitStatusText(status, false), english = OrbitStatusText(status, true);
        if (!german.empty()) ShowMessage(german, english, MessageIcon::Error);
        od.StateVector = {1, 1, 1, 0, 0, 0};
        failed = true;
        continue;
      }
      od.StateVector = state;
      od.Epoch = epoch;
      setAside = od.Direction;
    } else {
      od.Direction = setAside;
    }
    // Residual set-up.
    od.ObserverList = ObserverRecords(od, od.Chosen, topocentric != 0);
    od.MassFactor = 1.0;
    TResidualsFill fill;
    fill.FileName = run.FileName;
    fill.State = od.StateVector;
    fill.Epoch = od.Epoch;
    for (const TChosenObservation& c : od.Chosen) {
      fill.JD.push_back(c.JD);
      fill.RA.push_back(c.RA);
      fill.Dec.push_back(c.Dec);
    }
    fill.ChangeRate = rate;
    fill.Method = method;
    fill.Topocentric = topocentric;
    TOrbitElementRecord elements;
    const bool usable = run.View->Fill(fill, elements);
    // Decision.
    if (!usable || !(elements.E <= 20)) {
      od.Success = 0;
      if (three) {
        ThreeObservationsMessage();
        return false;
      }
      failed = true;
      if (!improvement) od.StateVector = {1, 1, 1, 0, 0, 0};
      continue;
    }
    const int result = run.View->ShowModal();
    if (result == 6) {
      od.StateVector = run.View->State();
      od.Epoch = run.View->Epoch();
      topocentric = run.View->Topocentric();
      method = run.View->Method();
      if (run.View->ChangeRate() > 0 && run.View->ChangeRate() <= 100) rate = run.View->ChangeRate();
      if (topocentric != fill.Topocentric) od.ObserverList = ObserverRecords(od, od.Chosen, topocentric != 0);
      AbortRequested = 0;
      if (run.EnableMainWindow) run.EnableMainWindow(false);
      TCorrectionOutcome outcome;
      {
        // The correction shows its own progress while it computes.
        TCorrectionInput in;
        in.Chosen = od.Chosen;
        in.Observers = od.ObserverList;
        in.State = &od.StateVector;
        in.Epoch = &od.Epoch;
        in.MassFactor = od.MassFactor;
        in.Method = method;
        in.Topocentric = topocentric;
        in.ChangeRate = rate;
        in.FileName = run.FileName;
        in.Places = run.Places;
        in.View = run.View;
        outcome = DifferentialCorrection(in);
      }
      if (run.EnableMainWindow) run.EnableMainWindow(true);
      method = outcome.Method;
      topocentric = outcome.Topocentric;
      rate = outcome.ChangeRate;
      od.Success = outcome.Success ? 1 : 0;
      if (outcome.Result == TCorrectionResult::Cancelled || outcome.Result == TCorrectionResult::TooMany) {
        return false;
      }
    }
    if (run.View->ReloadRequested()) {
      improvement = true;
      continue;
    }
    if (od.Success == 0) {
      improvement = false;
      failed = true;
      od.StateVector = {1, 1, 1, 0, 0, 0};
      continue;
    }
    break;
  }
  OrbitElementsFromState(od.StateVector, od.Epoch, 1.0, od.Elements);
  if (run.Options.ShowObservations != 0 && run.Sheet != nullptr) {
    od.OutputRow = 1;
    ShowObservationsInSheet(od, *run.Sheet, run.Config, true, false);
  } else {
    od.OutputRow = 0;
  }
  return true;
}

}  // namespace kvx
