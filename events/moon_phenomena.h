// Phenomena of the moons of Jupiter and Saturn over the table period:
// eclipses, occultations, transits and shadow transits of every moon
// (phenomena), mutual conjunctions of two moons, and the superior and
// inferior conjunctions and greatest elongations of one chosen moon.
//
// Frame of every sample: the planet's apparent disk, units of its
// equatorial radius; seen from the Earth X, Y, Z and seen from the Sun
// X', Y', Z' (relative to the shadow). X positive towards the west, Y north
// along the projected axis, Z positive when the moon is farther than the
// planet. The five-moon Saturn theory has no line-of-sight coordinate:
// -cos u stands for Z (u near 0 in front of the planet), so only its sign
// and its zero crossings (the greatest elongations) are used.
//
// Stepping: a window of three samples (previous, middle, next) moves in
// steps of 15 minutes (Jupiter) or 20 minutes (Saturn) from start - 0.1 d
// until past end + 0.1 d. The family's function f on the three samples is
// fitted by a parabola; every root n in (0, 1] (units of the step from the
// middle sample, the interval moved on by a millionth of a step) is a
// crossing of this window, so a crossing on a sample belongs to exactly one
// window and two crossings after the middle (a grazing contact) are both
// kept. A crossing is validated at its instant (fresh positions) and
// listed when start <= t < end. Times: the observer record's Mjd is UT.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/position_blocks.h"
#include "tables/moon_tables.h"

namespace kvx {

// One event found, kept by the main window's moon-event list.
struct tjupitermondereignis {
  TObserverRecord date;       // Mjd (UT) of the event, local date and time completed
  double PlanetAltitude = 0;  // degrees
  double SunAltitude = 0;     // degrees
  double Separation = 0;      // conjunctions: (Yi - Yj) x half the apparent diameter, arcseconds; else 0
  std::string MoonText;       // phenomena: numeral or name; else empty
  std::string EventText;      // kind, "I/II", or event name and moon
  std::string PhaseText;      // phenomena: start or end word; else empty
};

// The events of the moon-event runs, ordered by instant (Mjd of UT); equal
// instants keep the order they were added in. Each entry keeps its sort key
// text (MoonEventSortKey) beside it.
class TMoonEventList {
 public:
  struct Entry {
    std::string Key;
    std::unique_ptr<tjupitermondereignis> Event;
  };
  void Clear() { entries_.clear(); }
  // A null event is refused (-1); otherwise its position.
  int Add(std::string key, std::unique_ptr<tjupitermondereignis> event);
  int Count() const { return static_cast<int>(entries_.size()); }
  const tjupitermondereignis& At(int index) const { return *entries_.at(static_cast<std::size_t>(index)).Event; }
  const std::string& Key(int index) const { return entries_.at(static_cast<std::size_t>(index)).Key; }

 private:
  std::vector<Entry> entries_;
};

// Local year (at least four digits, "-" before negative years), month and
// day, then the local time as packed H.MMSS with whole seconds, "0" in front
// below 10.
std::string MoonEventSortKey(const TObserverRecord& date);

// Roots in (e, 1 + e] (e = 1e-6) of the parabola through (-1, fm), (0, f0),
// (1, fp), in time order; returns their count (0..2). Non-finite values
// give none.
int WindowRoots(double fm, double f0, double fp, std::array<double, 2>& roots);

// Event names by event code 0..3 (0 superior, 1 inferior conjunction,
// 2 greatest eastern, 3 greatest western elongation).
const char* MoonEventName(int event, bool english);

// The texts of a phenomenon. view 0: seen from the Earth (z = Z, x = X);
// view 1: seen from the Sun (z = Z', x = X'). abbreviated: the short forms.
struct TPhenomenonTexts {
  std::string Event;
  std::string Phase;
};
TPhenomenonTexts PhenomenonTexts(int view, double z, double x, bool abbreviated, bool english);

// Moon lists: 0 Jupiter's numerals, 1 the five-moon Saturn list, 2 the
// eight-moon list.
int MoonListCount(int planetCode);
const char* MoonListName(int planetCode, int moon);  // moon 1..count

// A stored moon number put into 1..count (0 and below give 1).
std::int32_t ClampMoonNumber(std::int32_t moon, int count);
// An event byte above 3 gives 0.
std::uint8_t ClampMoonEvent(std::uint8_t event);
// The five-moon number of a moon of the eight-moon list (clamped first), by
// name; 0 when the five-moon theory lacks it (Mimas, Enceladus, Hyperion).
std::int32_t FiveMoonNumberOf(std::int32_t eightMoon);

// One sample of the window.
struct TMoonSample {
  std::array<double, 8> X{}, Y{}, Z{};     // seen from the Earth
  std::array<double, 8> SX{}, SY{}, SZ{};  // seen from the Sun
  double PlanetRA = 0, PlanetDec = 0;      // apparent geocentric, degrees
  TKeplerPosition Planet;                  // for the apparent diameter
};

// The moon system a run steps through.
struct TMoonSystem {
  int Count = 4;       // moons 1..Count
  int PlanetCode = 0;  // the moon list (MoonListName)
  double StepDays = 1.0 / 96;
  double Flattening = 1.071374;  // factor on Y at the limb and the shadow
  int PlanetIndex = 5;           // PlanetMagnitude's body of the diameter
};

// Settings of a run, read from the main window.
struct TMoonEventSettings {
  std::uint8_t Abbreviations = 0;
  std::int32_t MinPlanetAltitude = 6;  // degrees, -90..90
  std::int32_t MaxSunAltitude = -3;    // degrees, -90..90
  std::int32_t Moon = 1;               // the chosen moon of the one-moon family
  std::uint8_t Event = 0;              // its event code 0..3
  std::uint8_t ApparentSiderealTime = 0;
  std::int32_t SunMode = -1;  // truncation level handed to the Sun
};

// Jupiter's four moons: kinds 105 (phenomena), 102 (mutual conjunctions),
// 104 (one moon's conjunctions and elongations).
class TJupiterereignisse : public TJupiterephfenster {
 public:
  TJupiterereignisse(std::uint8_t language, TTheorySelection selection, TSheet* sheet, const TTableConfigRecord& config,
                     const TObserverRecord& start, const TObserverRecord& end, const TTableStep& step,
                     std::int32_t optionA, std::int32_t optionB, std::int32_t level);

  // The run: frees the list's events, steps the window over the period with
  // progress and cancel, and fills `list`. False (nothing computed) for a
  // period whose end does not lie after its start. A cancel sets Aborted and
  // keeps what was found.
  bool ComputeJupiterMoonEvents(TComputeSettingsBlock settings, TMoonEventList& list, std::uint8_t abbreviations,
                                std::int32_t kind);

  // One sample for a completed observer record.
  virtual void rechne(TComputeSettingsBlock settings, const TObserverRecord& record, TMoonSample& sample);
  // The phenomena, the mutual conjunctions and one moon's events of the
  // current window.
  virtual void interpoliere(TComputeSettingsBlock settings);
  virtual void interpoliere_konj(TComputeSettingsBlock settings);
  virtual void interpoliere_elong(TComputeSettingsBlock settings);

  TMoonEventSettings Settings;
  std::int32_t Kind = 105;
  std::uint8_t Aborted = 0;
  TMoonEventList* liste = nullptr;

 protected:
  // The run shared by every moon system.
  bool RunWindow(TComputeSettingsBlock settings, TMoonEventList& list, std::int32_t kind);
  // Which family a kind runs: 0 phenomena, 1 conjunctions, 2 one moon.
  virtual int FamilyOf(std::int32_t kind) const;
  // The kinds whose tables carry the moon and phase columns, and the
  // separation column.
  virtual bool PhenomenaKind(std::int32_t kind) const { return kind == 105; }
  virtual bool ConjunctionKind(std::int32_t kind) const { return kind == 102; }
  std::string MoonText(int moon) const;
  // Observer record at t (UT), completed; its sample. False when the
  // positions are not finite.
  bool SampleAt(TComputeSettingsBlock settings, double mjd, TObserverRecord& record, TMoonSample& sample);
  // The altitude tests; fills the work altitudes.
  bool AltitudesVisible(const TObserverRecord& record, const TMoonSample& sample);
  void Record(const TObserverRecord& record, const std::string& moon, const std::string& event,
              const std::string& phase, double separation);
  // Event time of root n of the current window.
  double RootTime(double n) const { return middle_mjd_ + n * system_.StepDays; }
  bool InPeriod(double t) const { return t >= PeriodStart.Mjd && t < PeriodEnd.Mjd; }
  // The record and sample at root n of the current window; false when its
  // time lies outside the period or its positions are not finite.
  bool SampleAtRoot(TComputeSettingsBlock settings, double n, TObserverRecord& record, TMoonSample& sample) {
    const double t = RootTime(n);
    if (!InPeriod(t)) return false;
    record = PeriodStart;
    return SampleAt(settings, t, record, sample);
  }
  // The table of the events found (paint and paint_grid of the moon table
  // choose the sink).
  void WriteTo(TCellSink& sink) override;

  TMoonSystem system_;
  std::array<TMoonSample, 3> window_{};  // previous, middle, next
  double middle_mjd_ = 0;
  double planet_altitude_ = 0;
  double sun_altitude_ = 0;
};

// Saturn, five moons by the short theory: kinds 112 (conjunctions),
// 114 (one moon), 115 (phenomena).
class TSaturnereignisse : public TJupiterereignisse {
 public:
  TSaturnereignisse(std::uint8_t language, TTheorySelection selection, TSheet* sheet, const TTableConfigRecord& config,
                    const TObserverRecord& start, const TObserverRecord& end, const TTableStep& step,
                    std::int32_t optionA, std::int32_t optionB, std::int32_t level);
  bool ComputeSaturnMoonEvents(TComputeSettingsBlock settings, TMoonEventList& list, std::int32_t kind);
  void rechne(TComputeSettingsBlock settings, const TObserverRecord& record, TMoonSample& sample) override;

 protected:
  int FamilyOf(std::int32_t kind) const override;
  bool PhenomenaKind(std::int32_t kind) const override { return kind == 115; }
  bool ConjunctionKind(std::int32_t kind) const override { return kind == 112; }
};

// Saturn, eight moons by the full theory: kinds 113 (conjunctions),
// 117 (one moon), 116 (phenomena).
class TSaturnereignisseneu : public TSaturnereignisse {
 public:
  TSaturnereignisseneu(std::uint8_t language, TTheorySelection selection, TSheet* sheet,
                       const TTableConfigRecord& config, const TObserverRecord& start, const TObserverRecord& end,
                       const TTableStep& step, std::int32_t optionA, std::int32_t optionB, std::int32_t level);
  void rechne(TComputeSettingsBlock settings, const TObserverRecord& record, TMoonSample& sample) override;

 protected:
  bool PhenomenaKind(std::int32_t kind) const override { return kind == 116; }
  bool ConjunctionKind(std::int32_t kind) const override { return kind == 113; }
};

// The moon-event kinds: 102, 104, 105, 112..117.
bool IsMoonEventKind(std::int32_t kind);

}  // namespace kvx
