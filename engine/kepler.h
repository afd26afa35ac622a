// TKepler: one computable body and its position chain. Used directly it is an
// asteroid on a two-body (Keplerian) orbit; the Sun, planet, Moon, comet and
// user-object classes derive from it and replace single links of the chain.
//
// The chain for the instant of the working observer record (rechnen):
//   bahnlageelemente       angular elements precessed to the date
//   Bahn2heliozentrisch    mean anomaly and orbit-plane place at TT
//   heliozentrisch         heliocentric ecliptic vector, velocity, r b l
//   geozentrischekliptikalgeometrisch   + the Sun's geocentric vector
//   Geozentrischekliptikalastrometrisch light time (iterated)
//   Ekliptik_aequator      equatorial places of date, hourly motion
//   aequinoktium_reduktion places referred to the second equinox
//   topozentr, horizont, Aufgang_untergang, physischeEphemeride
//
// Frames: the elements are referred to the ecliptic and equinox of their
// Equinox year; everything computed is referred to the ecliptic and equator
// of date (the observer record's Centuries, TT) unless a result field says
// otherwise. Times: the observer record's Mjd is UT; the orbit is evaluated
// in dynamical time TT = Mjd + DeltaT/86400. Units: AU, days, degrees.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>

#include "core/asteroid_elements.h"
#include "core/observer_record.h"
#include "core/table_config.h"
#include "core/two_body.h"
#include "core/vector_math.h"
#include "engine/accuracy_settings.h"
#include "engine/body_settings.h"
#include "engine/ephemeris_result.h"
#include "theories/theory_types.h"

namespace kvx {

// The main window's block of open position files, handed by value to every
// computation; the base chain passes it on unread.
using TComputeSettingsBlock = PositionFileHandles;

// Body numbers of the body objects.
using TBodyIndex = std::int32_t;
inline constexpr TBodyIndex kBodyIndexMoon = 10;
inline constexpr TBodyIndex kBodyIndexAsteroid = 11;
inline constexpr TBodyIndex kBodyIndexComet = 12;

// Light time for one AU, days.
inline constexpr double kLightTimePerAU = 0.0057755183101868;
// The light-time iteration stops when two successive times differ by less
// than this (0.01 s, in days) or after kLightTimeMaxPasses retarded positions.
inline constexpr double kLightTimeTolerance = 1.1574e-7;
inline constexpr int kLightTimeMaxPasses = 10;

class TKepler {
 public:
  // Copies the three records, the body settings (language, second equinox,
  // rise/set), the two VSOP levels, the integration tolerance, body index 11,
  // the elements (n from a when 0) and the name from the element record;
  // stopped 0, ProgressCaption " ", full computation 0.
  TKepler(const TBodySettings& body, std::int32_t creatorWord, const TTableConfigRecord& config,
          const TAsteroidElements& elements, const TObserverRecord& observer, const TAccuracySettings& accuracy);
  virtual ~TKepler() = default;

  // The same copies with the object's name and database flag; full
  // computation 1, stopped 0, body index 11.
  virtual void initialisieren_objekt(const TBodySettings& body, const TTableConfigRecord& config,
                                     const TAsteroidElements& elements, const TObserverRecord& observer,
                                     const TAccuracySettings& accuracy, std::uint8_t databaseFlag,
                                     const std::string& name);

  // --- the position chain (each reads and writes the object's own fields) --
  // i, node and argument of perihelion of date from those of the Equinox.
  virtual void bahnlageelemente();
  // Mean anomaly (stored in the result) and orbit-plane place at the
  // dynamical time `mjdTT` (MJD, TT); then heliozentrisch.
  virtual void Bahn2heliozentrisch(TComputeSettingsBlock settings, double mjdTT);
  // Orbit-plane position x, y (AU) and velocity vx, vy (AU/day) to the
  // heliocentric ecliptic vector, velocity and r, b, l of date.
  virtual void heliozentrisch(double x, double y, double vx, double vy);
  // Geometric geocentric vector = heliocentric + the Sun's geocentric vector;
  // for body indices above 10 also its length.
  virtual void geozentrischekliptikalgeometrisch();
  // Astrometric vector by the iterated light time (at least one retarded
  // position, at most kLightTimeMaxPasses; a distance that is not finite ends
  // the iteration with the last finite pass), with the annual-aberration
  // displacement taken off when computing fully; its polar form.
  virtual void Geozentrischekliptikalastrometrisch();
  // Astrometric vector by the linear light time: geometric vector minus light
  // time x heliocentric velocity (minus the aberration displacement when
  // computing fully), and its polar form. Quick; used by the searches.
  virtual void geozentrischastrometrisch_linear();
  // Equatorial places of date of the astrometric and the geometric vector
  // (nutation added when computing fully; the ecliptic longitude too); then
  // stuendlich_aequatorial.
  virtual void Ekliptik_aequator();
  // Places referred to the mean equinox of SecondEquinoxT (astrometric, from
  // the mean equatorial vector), and the light time.
  virtual void aequinoktium_reduktion();
  // Topocentric places of the place of date and of the second-equinox place.
  virtual void topozentr();
  // Hour angle, altitude and azimuth of the topocentric place of date.
  virtual void horizont();
  // Rise, transit and set of the place of date into level `mode` (1..5) of
  // the rise/set block (rechnen passes 2).
  virtual void Aufgang_untergang(int mode);
  // Phase, elongation and magnitude (H, G) into the physical block.
  virtual void physischeEphemeride();
  // The chain for the instant of the working observer record (completed by
  // the caller). Elements the chain cannot use (a <= 0, e outside [0, 1), a
  // value that is not finite) are refused once with a message and leave the
  // result record as it was.
  virtual void rechnen(TComputeSettingsBlock settings);
  // Hourly motion in right ascension and declination, total and direction;
  // exactly 0 when no hourly-motion column is on.
  virtual void stuendlich_aequatorial();

  // True when the elements can be computed; otherwise `reason` (German and
  // English) says why. Bodies without elements (Sun, planets) always pass;
  // the comet classes judge perihelion elements.
  virtual bool ElementsUsable(std::string* german = nullptr, std::string* english = nullptr) const;
  // Shows the refusal for unusable elements (once per object) and returns
  // false; true when the elements are usable.
  bool CheckElements();

  // Takes the elements of a record (n from a when it is 0; the name cut to
  // 40 characters).
  void SetElements(const TAsteroidElements& elements);
  // The elements as a record.
  TAsteroidElements Elements() const;

  // Takes the language, the second equinox and the rise/set settings.
  void SetBodySettings(const TBodySettings& body);
  // The three as a record (for the bodies this one makes).
  TBodySettings BodySettings() const { return TBodySettings{Language, SecondEquinoxT, RiseSet}; }

  // Rotations of one instant (the observer record's Centuries) and of the
  // second equinox, made once and reused by every step of the chain; they
  // give the same numbers as the frame routines they stand for.
  struct TInstantFrames {
    double T = std::numeric_limits<double>::quiet_NaN();
    double SecondT = std::numeric_limits<double>::quiet_NaN();
    double SinObliquity = 0, CosObliquity = 1;           // mean obliquity of T
    double NutationA = 0, NutationB = 0, NutationC = 0;  // first-order nutation rotation
    double NutationLongitude = 0;                        // degrees
    TMatrix33 SecondEquatorial, SecondEcliptic;          // T to SecondEquinoxT
  };
  // The rotations of the working record's instant (made when it changed).
  const TInstantFrames& InstantFrames() { return Frames(); }
  // True when the rotations of the working record's instant are made.
  bool HasInstantFrames() const { return frames_.T == Observer.Centuries; }
  // Takes the rotations another body made for the working record's instant
  // (ignored when they are those of another instant).
  void AdoptFrames(const TInstantFrames& frames);

  // --- fields, in their order --------------------------------------------------
  std::uint8_t DatabaseFlag = 0;  // elements from the binary asteroid database
  std::string ObjectName;         // the name given to the initialisation
  TTheorySelection TheorySelection;
  std::uint8_t Language = 0;   // 0 German, else English
  double SecondEquinoxT = 0;   // second output equinox, Julian centuries from J2000
  TRiseSetSettings RiseSet;    // rise/set altitudes and switches
  TAccuracySettings Accuracy;  // integration tolerance, both truncation levels
  std::uint8_t Stopped = 0;    // 1 when the last loop was cancelled
  std::string ProgressCaption = " ";
  double SemiMajorAxis = 0;       // a, AU
  double Eccentricity = 0;        // e
  double Inclination = 0;         // i, degrees (ecliptic and equinox of Equinox)
  double Node = 0;                // degrees
  double Perihelion = 0;          // argument of perihelion, degrees
  double Epoch = 0;               // JD (TT) of the mean anomaly
  double SecondEpoch = 0;         // comets: their record's epoch
  double MeanAnomaly = 0;         // M at Epoch, degrees
  double MeanMotion = 0;          // n, degrees/day
  double H = 0, G = 0;            // magnitude parameters
  double PerihelionDistance = 0;  // q, AU (0 for asteroids)
  double Equinox = 2000;          // year of the elements' equinox
  double InclinationOfDate = 0;   // precessed by bahnlageelemente
  double NodeOfDate = 0;
  double PerihelionOfDate = 0;
  TTableConfigRecord TableConfig;
  TEphemerisResultRecord Result;
  TObserverRecord Observer;  // working copy: instant and place
  std::string Name;          // at most 40 characters
  TBodyIndex BodyIndex = kBodyIndexAsteroid;
  std::int32_t CreatorWord = 0;
  std::uint8_t FullComputation = 0;
  // Off: Ekliptik_aequator leaves the geometric equatorial and ecliptic
  // polar values (and GeometricDistance) as they were (callers that read
  // the astrometric places only).
  bool GeometricPlaces = true;

 protected:
  // The stores of a single body's set-up: body settings, configuration,
  // working record, tolerance and both VSOP levels.
  void TakeRecords(const TBodySettings& body, const TTableConfigRecord& config, const TObserverRecord& observer,
                   const TAccuracySettings& accuracy);
  // The places of the working instant from the orbit: bahnlageelemente to
  // aequinoktium_reduktion.
  void OrbitPlaces(TComputeSettingsBlock settings);
  // The light-time-corrected geocentric ecliptic vector (AU, ecliptic of
  // date) and its distance (AU) as the astrometric vector: the annual
  // aberration displacement taken off when computing fully, then its polar
  // form.
  void StoreAstrometric(double x, double y, double z, double distance);
  // Column flag `flag` of the table configuration is on.
  bool ColumnOn(std::size_t flag) const { return TableConfig.Flags[flag] != 0; }
  // Dynamical time of the working observer record, MJD.
  double DynamicalTimeMjd() const { return Observer.Mjd + Observer.DeltaTSeconds / 86400.0; }

  // The rotations of the instant; SecondEquinoxFrames adds those to the
  // second equinox (made only for the steps that need them).
  const TInstantFrames& Frames();
  const TInstantFrames& SecondEquinoxFrames();
  void EclipticToEquatorialOfDate(double& x, double& y, double& z);
  void NutateOfDate(double& x, double& y, double& z);

  bool refusalShown_ = false;
  TInstantFrames frames_;
  // Inputs and result of the last element precession.
  std::array<double, 5> precessedFrom_{};
  std::array<double, 3> precessedTo_{};
  bool precessedValid_ = false;
  // The values of the precession that depend on the elements alone.
  TElementPrecessionSource precessionSource_{};
  bool precessionSourceValid_ = false;
  // Orientation matrix of the orbit for the angles of date it was made for
  // (the light-time passes of one instant reuse it).
  std::array<double, 3> orientationFor_{};
  TMatrix33 orientation_{};
  bool orientationValid_ = false;
  // The settings block of the running rechnen, for the steps that evaluate
  // the orbit again (light time).
  TComputeSettingsBlock settings_{};
};

}  // namespace kvx
