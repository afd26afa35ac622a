// The integration and the orbit determination the main window holds: the
// n-body integrator with its set-up, its state vectors written to the sheet,
// and the observation set with the orbit determination. The main window
// implements it.
#pragma once

namespace kvx {

struct TOrbitDeterminationState;
class truKu;

class TOrbitWork {
 public:
  // The n-body integrator on the workbook, holding the integration set-up.
  virtual truKu& Integrator() = 0;
  // The integrator's state vectors (with their header row) from "A1" of the
  // sheet, the block's columns fitted to the titles and values, "A1"
  // selected; into the result grid when the workbook view is off.
  virtual void StateVectorOutput() = 0;
  // The observation set and torbdet, made on first use with the data folder,
  // the theory selection and the two truncation levels.
  virtual TOrbitDeterminationState& OrbitDetermination() = 0;

 protected:
  ~TOrbitWork() = default;
};

}  // namespace kvx
