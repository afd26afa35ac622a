// Observations of one minor body, the observing stations and the state of an
// orbit determination (`torbdet`), which the main window creates once and
// keeps for the program's life.
//
// Times: observation times are UT (JD and the calendar fields) and are shown
// and stored as UT; every dynamical quantity uses TT = JD + DeltaT(JD)/86400,
// kept beside the UT day in `JdTT`. Angles in degrees unless said otherwise.
// Directions and Sun vectors: rectangular ecliptic of the elements' equinox,
// AU. State vectors: heliocentric equatorial J2000, AU and AU per Gaussian
// time unit (1/k days, k = kGaussK).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/two_body.h"
#include "core/vector_math.h"
#include "platform/save_failure.h"
#include "theories/theory_types.h"

namespace kvx {

// The bound of chosen observations (the residual arrays of the correction).
inline constexpr int kMaxChosenObservations = 1000;
// Light time in days per AU.
inline constexpr double kLightDaysPerAu = 0.005775518331436995;

// One observation.
struct tobservation {
  std::string Designation;  // from an observation line; empty otherwise
  std::string StationName;  // the station found for the code; empty when none
  double Day = 0;           // whole day of the month
  double Month = 0;
  double Year = 0;
  double Hours = 0;                                           // UT of the day, hours with fraction
  std::string Code;                                           // observatory code, 3 characters; empty for none
  double T = 0;                                               // Julian centuries of the UT instant from J2000
  double JD = 0;                                              // Julian day, UT
  double JdTT = 0;                                            // the same instant in TT
  double SunLongitude = 0, SunLatitude = 0, SunDistance = 0;  // geocentric, elements' equinox (deg, deg, AU)
  double EclipticLongitude = 0, EclipticLatitude = 0;         // observed direction, elements' equinox
  double RA = 0;                                              // degrees, equinox of the observations
  double Dec = 0;                                             // degrees, equinox of the observations
  double Longitude = 0;                                       // observer's longitude, degrees east
  double RhoCos = 0;                                          // rho cos phi', Earth radii
  double RhoSin = 0;                                          // rho sin phi', Earth radii
  double Magnitude = 0;
  TVector3Ext SunVector;  // geocentric Sun, AU
  TVector3Ext Direction;  // unit vector of the observed direction
};

// The observation set in file order. Each key is the JD (UT) as the
// shortest text that reads back to the same double.
struct TObservationEntry {
  std::string Key;
  tobservation Obs;
};
using TObservationList = std::vector<TObservationEntry>;

// Appends an observation, completing JD, T and the TT day from the
// calendar fields.
void AddObservation(TObservationList& list, tobservation obs);

// One observing station.
struct tstation {
  std::string Code;      // 3 characters
  double Longitude = 0;  // degrees, east of Greenwich
  double RhoSin = 0;     // rho sin phi', Earth radii
  double RhoCos = 0;     // rho cos phi', Earth radii
  std::string Name;
  bool HasPlace = true;  // false for spacecraft and roving observers
};
using tstationsobjekt = tstation;

// The chosen-observation record of the driver: JD (UT) and its TT twin,
// the observer's geocentric latitude (arcsin of rho sin phi', degrees) and
// longitude (west positive, degrees), RA (hours) and Dec (degrees), J2000.
struct TChosenObservation {
  double JD = 0;
  double Latitude = 0;
  double LongitudeWest = 0;
  double RA = 0;
  double Dec = 0;
  double JdTT = 0;
};

// Observer record: JD (UT) and the Sun seen from the observer, AU,
// equatorial J2000.
struct TObserverPlace {
  double JD = 0;
  double X = 0, Y = 0, Z = 0;
};

// Direction record of the polynomial fit: RA (hours), Dec (degrees) and
// their first and second derivatives per Gaussian time unit at the epoch.
struct TDirectionRecord {
  double Alpha = 0, Delta = 0, Alpha1 = 0, Delta1 = 0, Alpha2 = 0, Delta2 = 0;
};

// The Sun seen from the observer with its first and second derivatives per
// Gaussian time unit (AU), equatorial J2000.
struct TSunRecord {
  std::array<double, 3> R{}, R1{}, R2{};
};

// Elements of a state vector (OrbitElementsFromState).
struct TOrbitElementRecord {
  double Size = 0;  // a (kinds 0 and 2, AU) or q (kind 1)
  double E = 0;
  double TimeElement = 0;                               // M (degrees, kind 0) or T (JD TT, kinds 1 and 2)
  double I = 0, Node = 0, Peri = 0, LonPerihelion = 0;  // degrees, J2000 ecliptic
  double PerihelionTime = 0;                            // JD TT (kind 0 only)
  std::uint8_t Kind = 0;                                // 0 ellipse, 1 parabola, 2 hyperbola
  std::string SizeLabel = "A";
  std::string TimeLabel = "MM";
};

// The outcome of a numerical routine of the orbit determination.
enum class TOrbitStatus : std::uint8_t { Ok, TooMany, Singular, NoCurvature, IterationFailed, NonFinite };
// German or English text of a status, for messages.
std::string OrbitStatusText(TOrbitStatus status, bool english);

// Options of the orbit determination (20-byte record of the configuration
// file: bytes 0-3 log, show observations, topocentric, method; f64 at 4 the
// JD for M; f64 at 12 the change rate in percent).
struct TOrbDetOptions {
  std::uint8_t Log = 0;
  std::uint8_t ShowObservations = 1;
  std::uint8_t Topocentric = 1;
  std::uint8_t Method = 1;  // 0 with perturbations, 1 high precision, 2 low precision
  double JdForM = 2451545.0;
  double ChangeRate = 0.1;
};
inline constexpr std::size_t kOrbDetOptionsSize = 20;
std::array<std::uint8_t, kOrbDetOptionsSize> EncodeOrbDetOptions(const TOrbDetOptions& options);
// Fields out of range or not finite take their defaults; `defaultJd` is the
// default JD for M (the start record's).
TOrbDetOptions DecodeOrbDetOptions(std::span<const std::uint8_t, kOrbDetOptionsSize> bytes, double defaultJd);

// Reads a station list ("stations.txt"). Leading empty and markup lines are
// skipped, the next line must be the header "Code  Long.   cos      sin    Name",
// "</pre>" ends the list. Columns: code 1-3, longitude 5-13, rho cos phi'
// 14-21, rho sin phi' 22-30, name 31-80. Three blank number fields make a
// station without a place. False for a wrong header; unreadable lines and
// |rho| > 1.1 are skipped and counted (skipped, firstSkipped: 1-based line).
bool ReadStationList(const std::vector<std::string>& lines, std::vector<tstation>& stations, int& skipped,
                     int& firstSkipped);

// The orbit-determination state.
class torbdet {
 public:
  torbdet() = default;
  // Create: the data folder (with or without a trailing '/'), the theory
  // selection, the observation set (owned by the caller), levels A and B.
  void Create(const std::string& dataFolder, TTheorySelection selection, TObservationList* observations,
              TTruncationLevel levelA, TTruncationLevel levelB);
  // Before each run: theory selection, observation set and level A.
  void SetOrbDetParameters(TTheorySelection selection, TObservationList* observations, TTruncationLevel levelA,
                           TTruncationLevel levelB);
  // Reads stations.txt of the data folder; on failure the list stays absent
  // and a notice is due (StationNoticeDue). Unreadable lines are reported
  // once through the message seam.
  void LoadStations();
  // Last match wins. False (values zero, name empty) when the list is absent
  // or the code is unknown.
  bool FindStation(const std::string& code, tstation& station) const;
  // Sun vectors, directions and TT days of observations first..first+2
  // (0-based).
  bool GetObservationTriple(int first, std::array<TVector3Ext, 3>& sun, std::array<TVector3Ext, 3>& direction,
                            std::array<double, 3>& jdTT) const;

  bool StationsLoaded() const { return stations_loaded_; }
  const std::vector<tstation>& Stations() const { return stations_; }
  void SetStations(std::vector<tstation> stations);
  TObservationList& Observations() { return *observations_; }
  const TObservationList& Observations() const { return *observations_; }

  std::uint8_t StationWarning = 1;
  TTruncationLevel LevelA = kFullTheory;
  TTruncationLevel LevelB = 10;
  std::string DataFolder;
  TStateVector StateVector{1, 1, 1, 0, 0, 0};
  double ObserverLongitude = 0, ObserverLatitude = 0;  // packed D.MMSS, west positive
  std::int32_t OutputRow = 1;
  double ElementsEquinox = 0;      // Julian centuries from J2000
  double ObservationsEquinox = 0;  // Julian centuries from J2000
  TOpenedFile ObservationFile;     // the observation file as it was last read or written
  TOpenedFile StateVectorFile;     // the state-vector file as it was last read or written
  TTheorySelection Selection;
  PositionFileHandles PositionFiles{};
  std::vector<TObserverPlace> ObserverList;
  std::vector<TChosenObservation> Chosen;
  std::vector<TChosenObservation> PreviousChoice;
  TDirectionRecord Direction;
  TSunRecord Sun;
  TOrbitElementRecord Elements;
  double MassFactor = 1.0;
  double Epoch = 0;  // JD (TT) of the state vector
  std::uint8_t Topocentric = 1;
  std::uint8_t Success = 1;
  std::int32_t Status = 0;  // verdict status of the last element rows

 private:
  TObservationList own_;
  TObservationList* observations_ = &own_;
  std::vector<tstation> stations_;
  std::unordered_map<std::string, std::size_t> station_index_;  // code -> its last entry
  bool stations_loaded_ = false;
};

}  // namespace kvx

namespace kvx {

// What the main window keeps of the orbit determination: the observation
// set it owns and the torbdet working on it.
struct TOrbitDeterminationState {
  TObservationList Observations;
  torbdet OrbDet;
};

}  // namespace kvx
