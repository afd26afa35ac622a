// Helpers of the Jupiter and Saturn moon tests: an observer record filled
// for a dynamical-time instant, with the Sun of the selected theory.
#pragma once

#include "core/observer_record.h"
#include "core/time_scales.h"
#include "support/theory_selection.h"
#include "theories/sun_position.h"
#include "theories/theory_types.h"

namespace kvx::test {

// The fields the moon theories read: UT as MJD, Delta T, T and the Sun's
// geocentric place of date from the selected theory.
inline TObserverRecord RecordAtJde(double jde, double deltaTSeconds, TTheorySelection selection) {
  TObserverRecord r;
  r.DeltaTSeconds = deltaTSeconds;
  r.Mjd = JdToMjd(jde - deltaTSeconds / 86400.0);
  r.Centuries = JulianCenturiesJ2000(jde);
  const PositionFileHandles files{};
  SunPosition(files, selection, r.SunLongitude, r.Centuries, r.SunLatitude, r.SunDistance, r.SunX, r.SunY, r.SunZ,
              r.SunVX, r.SunVY, r.SunVZ, kFullTheory);
  return r;
}

}  // namespace kvx::test
