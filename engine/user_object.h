// Tusertab: the ephemeris table of one object of the user catalogue (a star
// or other fixed object: right ascension, declination, proper motion, epoch
// and magnitude). It replaces the whole position chain by the fixed-object
// reduction and has its own writers with the reduced column set.
//
// tuserobject fields read (single precision): Angle1 right ascension
// (hours), Angle2 declination (degrees), Value3 proper motion in RA (seconds
// of time per year), Value4 proper motion in Dec (arc seconds per year),
// Value5 epoch (a year, e.g. 2000.0), Value6 magnitude; and the name.
#pragma once

#include <cstdint>
#include <string>

#include "core/records.h"
#include "engine/planet.h"

namespace kvx {

// Apparent place of date of a fixed object: linear proper motion from the
// epoch, precession from the mean equinox of the epoch to that of T,
// nutation and annual aberration (no e-terms).
// Given:    raHours, decDeg  catalogue place, equinox and epoch `epochYear`
//           pmRaSeconds      proper motion in RA, seconds of time per year
//           pmDecArcsec      proper motion in Dec, arc seconds per year
//           T                Julian centuries of TT from J2000
//           obliquity, sinObliquity, cosObliquity  mean obliquity of T
//                            (degrees) and its sine and cosine
// Returned: ra, dec          apparent right ascension and declination of
//                            date, degrees (ra in [0, 360))
void FixedObjectApparentPlace(double raHours, double decDeg, double pmRaSeconds, double pmDecArcsec, double epochYear,
                              double T, double obliquity, double sinObliquity, double cosObliquity, double& ra,
                              double& dec);

// What the places of every fixed object of one catalogue epoch share at one
// instant: the precession matrix from the epoch to T, the nutation terms,
// the Sun's longitude terms of the aberration, and the sine and cosine of
// the mean obliquity of T for the ecliptic place. Searches over many
// objects prepare it once per instant; the place is bit for bit that of
// FixedObjectApparentPlace above.
struct TFixedObjectFrame {
  double EpochYear = 0, T = 0, Obliquity = 0;  // what it was prepared for
  TMatrix33 Precession{};
  double Deps = 0, DpsiSinEps = 0, DpsiCosEps = 0;    // radians
  double SinL = 0, CosL = 1;                          // the Sun's true longitude
  double SinMeanObliquity = 0, CosMeanObliquity = 1;  // MeanObliquity(T)
};
void PrepareFixedObjectFrame(double epochYear, double T, double obliquity, TFixedObjectFrame& frame);
void FixedObjectApparentPlace(const TFixedObjectFrame& frame, double raHours, double decDeg, double pmRaSeconds,
                              double pmDecArcsec, double sinObliquity, double cosObliquity, double& ra, double& dec);

// True when the object can be computed: every field finite, 0 <= RA < 24 h
// (24 h itself allowed), |Dec| <= 90. Otherwise the German and English
// reasons.
bool UserObjectUsable(const tuserobject& object, std::string* german, std::string* english);

class Tusertab : public Tplatab {
 public:
  // As Tplatab's constructor (body index and records), then initialisieren.
  Tusertab(const tuserobject* object, const TTableRequest& request, TSheet* outputSheet, TBodyIndex body);
  // The user object (not owned), dispatch mode 2, full computation 1, H 1.0,
  // the caption "Berechne Objekt" / "Compute Object" and the first 40
  // characters of the object's name.
  void initialisieren(const tuserobject* object, const TTableRequest& request, TBodyIndex body);
  using Tplatab::initialisieren;

  // The fixed-object place of the working instant: apparent RA/Dec, the
  // ecliptic place of date, the second-equinox places, the horizon and the
  // rise, transit and set (level 2).
  void rechnen(TComputeSettingsBlock settings) override;
  // The object itself is checked (with a message) before any row.
  bool ElementsUsable(std::string* german = nullptr, std::string* english = nullptr) const override;

  const tuserobject* UserObject = nullptr;

 protected:
  // The reduced column set of a row (paintdms and paintdms_grid write the
  // table around it).
  void WriteEphemerisRow(TCellSink& sink, int k, bool heading) override;
};

}  // namespace kvx
