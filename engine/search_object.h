// tsuchobjekt: the stepping event search every event search shares.
//
// One quantity of one body (schleife_1: extrema and zero crossings), the
// difference of one angle of two bodies (schleife_2: conjunctions and
// oppositions), the separation of two bodies at one instant (schleife_3)
// and the closest approach of two bodies (schleife_4).
//
// A pass walks the period with a fixed step keeping three samples
// (start - step, start, start + step, ...), fits a parabola through their
// values and takes its vertex (or root) as the event, counted in steps from
// the middle sample. A find is refined twice with a step ten times smaller,
// each refined pass starting 20 of its steps before the previous find; a
// refinement that finds nothing keeps the coarser result.
//
// Times: MJD of UT (the observer records' Mjd); the bodies are computed at
// TT = UT + DeltaT/86400 by the observer completion. Angles in degrees,
// distances in AU (the Moon's in Earth radii; a star or user object sits at
// kFixedObjectDistance). Frames: ecliptic and equator of date.
//
// Bodies: search_kind (core/event_kinds.h); an asteroid is computed from
// its elements, or from the asteroid database of the context. Star and
// user-object indices count from 1.
// Event kinds (search_code) and what each searches: the event-kind table,
// core/event_kinds.h.
//
// Files: search_object.cpp the bodies' samples and the input checks,
// search_extremum.cpp schleife_1, search_difference.cpp schleife_2 and the
// rate bounds, search_approach.cpp schleife_3 and schleife_4.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/asteroid_database.h"
#include "core/asteroid_elements.h"
#include "core/comet_elements.h"
#include "core/event_kinds.h"
#include "core/observer_record.h"
#include "core/records.h"
#include "engine/completion_store.h"
#include "engine/fixed_object_store.h"
#include "engine/kepler.h"
#include "engine/user_object.h"
#include "platform/progress.h"
#include "theories/theory_types.h"

namespace kvx {

// Latest start of a search: 9999-12-31 23:00 UT, MJD.
inline constexpr double kSearchMjdLimit = 2973483.9583;
// Geocentric and heliocentric distance given to stars and user objects
// (AU): behind every body of the solar system.
inline constexpr double kFixedObjectDistance = 1e9;

// One star of the occultation catalogue as the searches read it: the mean
// place of 1950.0 (equator and equinox B1950, epoch 1950.0) in degrees, the
// proper motion in degrees per year (right ascension not multiplied by
// cos dec) and the visual magnitude.
struct TSearchStar {
  double RightAscension1950 = 0;
  double Declination1950 = 0;
  double ProperMotionRA = 0;
  double ProperMotionDec = 0;
  double Magnitude = 0;
};
// Star `index` (1..count) of the caller's catalogue; false when the entry
// cannot be used.
using TSearchStarLookup = std::function<bool(std::int32_t index, TSearchStar& star)>;

// The main window's values every search passes on unchanged; built once by
// the caller.
struct TSearchContext {
  std::uint8_t MoonCache = 0;        // the Moon from the Chebyshev cache
  std::uint8_t MoonOption = 0;       // handed to the Moon theory
  TComputeSettingsBlock Settings{};  // open position files
  std::uint8_t Sidereal = 1;         // apparent sidereal time
  TTheorySelection Selection{};      // a copy; the searches adjust their own copies
  std::int32_t VsopLevelA = -1;      // truncation level of the planet series
  std::uint8_t Topocentric = 0;      // topocentric places replace the geocentric pair
  std::uint8_t FastSearch = 0;       // internal series for conjunctions and events
  double PositionFilesLastJd = 0;    // last JD the position files cover
  // Occultation star catalogue (body 12): StarCount stars read through
  // StarAt.
  TSearchStarLookup StarAt;
  std::int32_t StarCount = 0;
  // User catalogue (body 13); not owned, may be null.
  const tuserlist* UserObjects = nullptr;
  // Body 10 from the asteroid database file instead of the elements.
  std::uint8_t AsteroidDatabase = 0;
  std::string AsteroidDatabaseFile;
  // The language, second equinox and rise/set settings of the bodies the
  // searches make.
  TBodySettings Body;
};

// One sample of a pass: its instant, its body record and its value.
struct TSearchSample {
  TObserverRecord Observer;
  TEphemerisResultRecord Result;
  // A body record a search keeps for the whole loop, read in place of a copy
  // in Result (null: Result holds the record).
  const TEphemerisResultRecord* Shared = nullptr;
  double Value = 0;
  bool Valid = false;
  const TEphemerisResultRecord& Record() const { return Shared != nullptr ? *Shared : Result; }
};

// The quantity of event kind `eventKind` (its TEventQuantity) of a body
// record of body `body`; NaN when the record gives none or the kind is
// unknown. The elongation cosine (SunElongationCosine) takes the cosine
// of the body's apparent longitude less `sunLongitude`, the Sun's apparent
// longitude of the same instant (degrees; the searches pass it), or without
// it the cosine of the physical block's side angle (the Sun's geometric
// longitude, 20" to 40" off the apparent one).
double SearchQuantity(int eventKind, int body, const TEphemerisResultRecord& r,
                      double sunLongitude = std::numeric_limits<double>::quiet_NaN());
// The signed angle of a find of a kind with TEventKindInfo::SignedAngleValue,
// from the extreme `extreme` of its quantity (the cosine or sine that
// SearchQuantity gives) and the body record `r` of body `body` at the find:
// degrees, the angle whose cosine (or sine) `extreme` is, signed as that
// angle in the record (the Earth's or the Sun's planetocentric latitude, the
// Moon: selenographic; the central meridian of system I). For the
// quantities that QuantityHasSignedAngle does not name: `extreme` itself.
double ExtremeValue(TEventQuantity quantity, int body, double extreme, const TEphemerisResultRecord& r);
// True when event kind `eventKind` looks for a maximum (false: minimum; a
// kind that looks for a root counts as a maximum).
bool SearchFindsMaximum(int eventKind);

// One call of a loop of the search engine: what is searched, from where and
// how far. Filled by the caller (designated initialisers in this order);
// each loop reads the fields its comment names.
struct TSearchLoopRequest {
  // schleife_1: the event kind whose quantity is searched. schleife_2: the
  // kind whose difference B - A is rooted: for the kinds of the difference
  // loop (TEventLoop::DifferenceToSun) geocentric ecliptic longitudes, less
  // 180 degrees for a kind that looks for the least cosine (opposition), and
  // the root taken only on the kind's side of the Sun (SunSide); for any
  // other kind right ascensions (ecliptic longitudes with Ecliptic).
  int EventKind = 0;
  int Body = 0;                // the body of schleife_1; body A of the other loops
  int SecondBody = 0;          // body B of schleife_2, schleife_3 and schleife_4
  std::int32_t StarIndex = 1;  // the star of a body search_kind::kStar, from 1
  std::int32_t UserIndex = 1;  // the user object of a body search_kind::kUserObject, from 1
  bool DateCheck = false;      // refuse (message, AbortRequested) a date outside the engine's range
  bool EndCheck = false;       // stop once the oldest sample of a window passes EndMjd
  bool Show = false;           // show the progress panel for the call
  bool Ecliptic = false;       // schleife_2: ecliptic longitudes in place of right ascensions
  // schleife_2: the scan stops once the newest sample reaches BoundMjd (not
  // for a kind with a side of the Sun).
  bool Bounded = false;
  double BoundMjd = 0;
  double Limit = 0;  // schleife_4: the largest separation found, degrees
  // The first instant (Mjd of UT), with the place, zone and Delta T every
  // sample keeps.
  TObserverRecord Start{};
  double Step = 1;                              // days between two samples
  std::int32_t MaxSteps = 1;                    // steps of the scan at most
  double EndMjd = 0;                            // the period's end (MJD of UT), read with EndCheck
  const TAsteroidElements* Asteroid = nullptr;  // elements of a body search_kind::kAsteroid (null: none)
  const TCometElements* Comet = nullptr;        // elements of a body search_kind::kComet (null: none)
};

// Sets a value for the life of the scope and puts the previous one back on
// every way out.
template <typename T>
class TValueScope {
 public:
  TValueScope(T& value, T during) : value_(value), saved_(value) { value_ = during; }
  ~TValueScope() { value_ = saved_; }
  TValueScope(const TValueScope&) = delete;
  TValueScope& operator=(const TValueScope&) = delete;

 private:
  T& value_;
  T saved_;
};

class tsuchobjekt {
 public:
  explicit tsuchobjekt(const TSearchContext& context);
  // The store of user-object frames and places this search uses: a run of
  // many searches over one catalogue and place gives them all one store.
  void ShareFixedObjects(std::shared_ptr<TFixedObjectStore> store) { fixedStore_ = std::move(store); }
  virtual ~tsuchobjekt() = default;

  // The body record of body `body` for the instant of `observer` (Mjd of UT
  // set; the record is completed here). The planet-theory byte of
  // `selection` may change: 0 under the fast-search switch; position files
  // (3) become the VSOP87 C library (2) before JD 2415020 and after the end
  // of the files less 3 days less `step`. Returns false (the record left as
  // it was) when the body has no place at that instant: Pluto outside its
  // theory's range, unusable elements, a star or user object missing from
  // its list, a body outside 0..13, a theory that gives no place (distance
  // 0), a value that is not finite. The Moon's physical block is that of
  // the topocentric place when the context's topocentric flag is set.
  virtual bool planet(TTheorySelection& selection, int body, TObserverRecord& observer, TEphemerisResultRecord& result,
                      double step, std::int32_t starIndex = 1, std::int32_t userIndex = 1);

  // False, with AbortRequested set and "Ungültiges Datum für die Suche."
  // shown, when `check` is set and `mjd` lies above kSearchMjdLimit or,
  // when one of the two bodies is Pluto, outside the planet theory's range.
  bool datum_pruefen(bool check, TTheorySelection selection, int bodyA, int bodyB, double mjd);

  // The checks every loop makes of its input (step, window, bodies, the
  // elements of an asteroid or comet), for callers that repeat a loop over
  // many windows: false, with the message shown once, when a loop would
  // refuse; the elements are taken over as by the loops. Reads Body,
  // SecondBody, Step, MaxSteps, Start.Mjd and the elements (not the star or
  // user-object index).
  bool InputAccepted(const TSearchLoopRequest& request);

  // Extremum or zero crossing of the quantity of request.EventKind of
  // request.Body (a star or user object: the first of its list). Clears
  // AbortRequested first. Returns found; `time` (MJD, UT) and `value` of the
  // event. A cancel or a failed date check gives not found with
  // AbortRequested set.
  bool schleife_1(const TSearchLoopRequest& request, double& time, double& value);

  // Root of the angle difference B - A of request.SecondBody and
  // request.Body (see TSearchLoopRequest::EventKind). `separation`: the
  // signed separation of the two at the event.
  bool schleife_2(const TSearchLoopRequest& request, double& time, double& separation);

  // Signed separation (degrees) of request.Body and request.SecondBody at
  // the instant of `observer` (topocentric pair with the context's
  // topocentric flag); reads the bodies, indices and elements of the
  // request. False when either body has no place.
  bool schleife_3(const TSearchLoopRequest& request, const TObserverRecord& observer, double& separation);

  // Closest approach of A and B below request.Limit degrees: the first
  // local minimum of the separation with the request's step, then a
  // 30-minute pass from 2 days before it. Does not clear AbortRequested.
  bool schleife_4(const TSearchLoopRequest& request, double& time, double& separation);

  // Upper bound (degrees a day) of the rate of the angle whose sine the
  // refinement of event kind `eventKind` tracks for body `body` (0..11),
  // by the kind's TEventRate: the elongation in longitude (the body's and
  // the Sun's speeds), or the kind's number per body. Infinity where none is
  // known.
  double EventRateBound(int eventKind, int body) const;

  // The asteroid database's element set nearest to the instant of
  // `observer` (file read once per object). False, with one message for
  // the object's life, when the file is missing, short or damaged.
  bool Load_elements(const TObserverRecord& observer, TAsteroidElements& elements, const std::string& file);

  // What planet fills in the body record; every value filled is the one the
  // whole record holds. Full: everything. Places: no physical block, the
  // topocentric pair only under the context's topocentric flag (the loops).
  // Magnitude, SideAngle: an asteroid's or comet's places and that one
  // value of the physical block (the other bodies: everything). An asteroid
  // or comet computed without the topocentric pair has its observer record
  // completed only as far as its places and the fixed objects read it
  // (CompleteObserverInstant).
  enum class TRecordFill : std::uint8_t { Full, Places, Magnitude, SideAngle };
  // Sets the fill of an engine for the scope's life.
  class TFillScope : public TValueScope<TRecordFill> {
   public:
    TFillScope(tsuchobjekt& engine, TRecordFill fill) : TValueScope(engine.fill_, fill) {}
  };

  // Completed observer records shared with the other searches of a run (not
  // owned; null: none). The store must outlive its use by this search.
  void ShareCompletions(TCompletionStore* store) { completions_ = store; }
  TCompletionStore* SharedCompletions() const { return completions_; }

  // --- fields -----------------------------------------------------------------
  TAsteroidElements AsteroidElements;
  TCometElements CometElements;
  std::uint8_t FindMaximum = 0;

 protected:
  // One pass of schleife_1 from request.Start with request.Step. Out:
  // found, time, value and the middle sample's observer record of the last
  // window.
  enum class PassEnd { Found, NotFound, Aborted };
  PassEnd Pass1(const TSearchLoopRequest& request, double& time, double& value, TObserverRecord& middle);
  // The first root of schleife_2's difference on the scan from
  // request.Start by request.Step, located to kRootTolerance. Out: its time
  // and a sample's observer record near it.
  PassEnd Pass2(const TSearchLoopRequest& request, double& time, TObserverRecord& middle);
  // Upper bounds (degrees a day) of the geocentric angular speed of a body,
  // and of the rate of schleife_2's difference of the request's two bodies;
  // infinity where none is known (asteroids, comets, objects near a pole).
  double AngularRateBound(int body, std::int32_t starIndex, std::int32_t userIndex) const;
  double DifferenceRateBound(const TSearchLoopRequest& request) const;
  // `onGrid`: the samples lie on whole multiples of the step (MJD), from the
  // first at or after the start (never earlier, so a pass does not reach
  // back to an event found before); otherwise they step from the start.
  PassEnd Pass4(const TSearchLoopRequest& request, bool onGrid, double& time, TObserverRecord& middle);
  // schleife_3 without taking the request's elements (the loops have taken
  // them).
  bool Separation(const TSearchLoopRequest& request, const TObserverRecord& observer, double& separation);

  // The quantity of event kind `eventKind` of a sample (the elongation
  // kinds take the Sun's sample of the instant as well).
  double Quantity(int eventKind, int body, TSearchSample& sample);
  // The instant of an extremum of the quantity (a zero kind: its zero) near
  // `time` (MJD), the estimate of a window with `step`: the zero of its
  // central difference, bracketed within half a step or a step, by Brent's
  // method to kRootTolerance; `value` then is the quantity there. NotFound,
  // with `time` and `value` as they were, when no bracket is found.
  PassEnd RefineExtremum(int eventKind, int body, const TObserverRecord& base, double step, double& time,
                         double& value);
  // The sample of body `body` at `mjd` from the record `base` (place, zone
  // and Delta T kept).
  virtual bool Sample(int body, const TObserverRecord& base, double mjd, double step, std::int32_t starIndex,
                      std::int32_t userIndex, TSearchSample& sample);
  // The difference of schleife_2 for two samples; NaN when none.
  double Difference(int eventKind, bool ecliptic, const TSearchSample& a, const TSearchSample& b) const;
  // The progress label and event pump of one sample; `passed`: the
  // instants it stands for. The progress position counts the instants of
  // the scan, computed or passed over, and for each find those of the two
  // finer passes its location stands for. True when the run goes on.
  bool Pump(const TObserverRecord& observer, bool label, int passed = 1);
  // Checks shared by the loops; false (a message shown) for bad input.
  bool CheckInput(const TSearchLoopRequest& request);
  // The elements of the request's asteroid and comet into AsteroidElements
  // and CometElements (none: empty elements).
  void TakeElements(const TSearchLoopRequest& request);
  // The orbit steps of bodies 10 and 11, run on a body object of the table
  // classes made from the search's own elements: bahn_planetoid and
  // bahn_komet make it (the asteroid database's set when the context says
  // so) with its angular elements of date, false for unusable elements;
  // heliozentrisch_suche gives the orbit position and the heliocentric
  // vector at the instant's TT (the comet's routine by its eccentricity),
  // geozentrisch_suche the geometric geocentric vector, lichtzeit_suche the
  // astrometric one (light time, linear).
  bool bahn_planetoid(const TTheorySelection& selection, const TObserverRecord& observer);
  bool bahn_komet(const TTheorySelection& selection, const TObserverRecord& observer);
  void heliozentrisch_suche(const TObserverRecord& observer);
  void geozentrisch_suche();
  void lichtzeit_suche();
  // Completes `observer` for its instant under `selection` (the planet-theory
  // byte as planet adjusted it): CompleteObserverRecord with the context's
  // sidereal-time flag and truncation level, as far as `level` says; the
  // shared store's record when it has one. A derived search may keep
  // completed records; the result must be the same.
  virtual void CompleteRecord(const TTheorySelection& selection, TObserverRecord& observer, TCompletion level);
  // The fixed-object place of a star (12) or user object (13) into
  // `result`; false when the entry is missing or unusable.
  bool FixedObject(int body, const TObserverRecord& observer, std::int32_t starIndex, std::int32_t userIndex,
                   TEphemerisResultRecord& result) const;
  // The user objects' frame of the observer's instant and an epoch, kept per
  // instant (many objects, or one object's passes, meet the same instants).
  virtual const TFixedObjectFrame& FixedFrame(double epochYear, const TObserverRecord& observer) const;

  // The rotations (precession, nutation) of the instant a body was last
  // computed at, handed to the next body of that instant and taken from
  // each body when it is done.
  class TFramesKeeper {
   public:
    TFramesKeeper(tsuchobjekt& engine, TKepler& body) : engine_(engine), body_(body) {
      if (engine.lastFrames_.T == body.Observer.Centuries) body.AdoptFrames(engine.lastFrames_);
    }
    ~TFramesKeeper() {
      if (body_.HasInstantFrames()) engine_.lastFrames_ = body_.InstantFrames();
    }
    TFramesKeeper(const TFramesKeeper&) = delete;
    TFramesKeeper& operator=(const TFramesKeeper&) = delete;

   private:
    tsuchobjekt& engine_;
    TKepler& body_;
  };

  TSearchContext context_;
  TTheorySelection selection_;  // this search's copy
  // The completion of the instant last completed, and the rotations of the
  // instant last computed: the next body of the same instant takes them.
  struct TKeptCompletion {
    bool Valid = false;
    TCompletionStore::Key Of;
    TCompletionStore::Fields Values;
  };
  TKeptCompletion lastCompletion_;
  TKepler::TInstantFrames lastFrames_;
  int samples_ = 0;  // samples pumped so far (the progress position)
  // What planet fills (Places while a loop needs the places only).
  TRecordFill fill_ = TRecordFill::Full;
  TCompletionStore* completions_ = nullptr;
  // Off while a places-only loop reads right ascension and declination only
  // (no ecliptic place of a fixed object is formed then).
  bool fixedEcliptic_ = true;
  // The user objects' frames and places-only samples; its own unless a run
  // shares one among its searches (ShareFixedObjects).
  mutable std::shared_ptr<TFixedObjectStore> fixedStore_;
  std::unique_ptr<TKepler> orbitBody_;  // the body of the orbit steps
  // The asteroid elements orbitBody_ was made from (kept: the body is made
  // again only when they change or a comet took its place).
  TAsteroidElements orbitElements_;
  bool orbitElementsKept_ = false;
  // The asteroid database, read by Load_elements.
  enum class DatabaseState { Unread, Loaded, Failed };
  DatabaseState databaseState_ = DatabaseState::Unread;
  TEelHeader databaseHeader_;
  std::vector<TEelRecord> databaseRecords_;
};

}  // namespace kvx
