#include "events/moon_phenomena.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "core/angle_constants.h"
#include "core/column_flags.h"
#include "core/data_format_slots.h"
#include "core/frames.h"
#include "core/physical_ephemeris.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "theories/jupiter_moons.h"
#include "theories/observer_completion.h"
#include "theories/saturn_moons.h"

namespace kvx {

namespace {

namespace cf = column_flag;

constexpr const char* kNumerals[4] = {"I", "II", "III", "IV"};
constexpr const char* kFiveMoons[5] = {"Tethys", "Dione", "Rhea", "Titan", "Japetus"};
constexpr const char* kEightMoons[8] = {"Mimas", "Enceladus", "Tethys",   "Dione",
                                        "Rhea",  "Titan",     "Hyperion", "Iapetus"};

// Margin of the window before the start and after the end, days.
constexpr double kMarginDays = 0.1;
// The bar moves and events are processed every this many steps.
constexpr int kProgressEvery = 100;
constexpr int kProgressScale = 100;
constexpr double kDefaultSheetColumnWidth = 800.0 / 256.0;
// Window roots count from just after the middle sample (steps).
constexpr double kRootMargin = 1e-6;

// Format slots and column titles of the event tables.
constexpr int kEventSlot = 162;
constexpr int kSeparationSlot = 167;
constexpr int kPlanetAltitudeSlot = 47;

enum Family { kPhenomena = 0, kConjunctions = 1, kOneMoon = 2 };

double Limb(double x, double y, double flattening) {
  return std::sqrt(x * x + (flattening * y) * (flattening * y)) - 1.0;
}

bool Finite(double v) { return std::isfinite(v); }

// Positions of the Sun or of the planet: altitude for the record.
double AltitudeOf(const TObserverRecord& r, double ra, double dec) {
  double hourAngle = 0, altitude = 0, azimuth = 0;
  EquatorialToHorizontal(r.RefractionOn != 0, hourAngle, altitude, r.SiderealHours, r.Latitude, ra, dec, r.Pressure,
                         r.Temperature, azimuth);
  return altitude;
}

TKeplerPosition PlanetPlace(const TPlanetMoonsBodyBlock& b) {
  TKeplerPosition p;
  p.HelioDistance = b.HelioR;
  p.HelioLatitude = b.HelioB;
  p.HelioLongitude = b.HelioL;
  p.HelioX = b.HelioX;
  p.HelioY = b.HelioY;
  p.HelioZ = b.HelioZ;
  p.GeoLatitude = b.ApparentLatitude;
  p.GeoLongitude = b.ApparentLongitude;
  p.GeoDistance = b.Delta;
  p.EquatorialX = b.EquatorialX;
  p.EquatorialY = b.EquatorialY;
  p.EquatorialZ = b.EquatorialZ;
  p.Declination = b.Declination;
  p.RightAscension = b.RightAscension;
  return p;
}

void CopyPlanet(const TPlanetMoonsBodyBlock& b, TMoonSample& s) {
  s.PlanetRA = b.RightAscension;
  s.PlanetDec = b.Declination;
  s.Planet = PlanetPlace(b);
}

}  // namespace

// ------------------------------------------------------------------ the list

int TMoonEventList::Add(std::string key, std::unique_ptr<tjupitermondereignis> event) {
  if (!event) return -1;
  const double mjd = event->date.Mjd;
  const auto at = std::upper_bound(entries_.begin(), entries_.end(), mjd,
                                   [](double t, const Entry& e) { return t < e.Event->date.Mjd; });
  const auto placed = entries_.insert(at, Entry{std::move(key), std::move(event)});
  return static_cast<int>(placed - entries_.begin());
}

std::string MoonEventSortKey(const TObserverRecord& date) {
  char year[32];
  if (date.Year < 0) {
    std::snprintf(year, sizeof year, "-%04d", -date.Year);
  } else {
    std::snprintf(year, sizeof year, "%04d", date.Year);
  }
  char rest[64];
  std::snprintf(rest, sizeof rest, "%02d%02d", date.Month, date.Day);
  const double packed = DegToDmsPackedSec(date.LocalHours);
  std::string key = std::string(year) + rest;
  if (packed < 10) key.push_back('0');
  return key + SignificantDigitsText(packed, 15);
}

// ------------------------------------------------------------- small parts

int WindowRoots(double fm, double f0, double fp, std::array<double, 2>& roots) {
  if (!Finite(fm) || !Finite(f0) || !Finite(fp)) return 0;
  // The parabola a n^2 + b n + c through the three samples, solved in the
  // form that keeps both roots accurate when the curvature is small.
  const double a = (fp + fm) / 2.0 - f0;
  const double b = (fp - fm) / 2.0;
  const double c = f0;
  double found[2];
  int n = 0;
  if (a == 0) {
    if (b != 0) found[n++] = -c / b;
  } else {
    const double d = b * b - 4.0 * a * c;
    if (d < 0) return 0;
    const double q = -0.5 * (b + std::copysign(std::sqrt(d), b));
    if (q != 0) {
      found[n++] = q / a;
      found[n++] = c / q;
    } else {
      found[n++] = 0;  // b = c = 0: a double root on the middle sample
    }
  }
  if (n == 2 && found[1] < found[0]) std::swap(found[0], found[1]);
  // A root on the middle sample belongs to the window before (its n = 1):
  // the interval (e, 1 + e] keeps a root that two windows see a few
  // rounding steps apart in exactly one of them.
  int count = 0;
  for (int i = 0; i < n; ++i) {
    const double r = found[i];
    if (r > kRootMargin && r <= 1.0 + kRootMargin) roots[static_cast<std::size_t>(count++)] = r;
  }
  return count;
}

const char* MoonEventName(int event, bool english) {
  static constexpr const char* kGerman[4] = {"Obere Konjunktion", "Untere Konjunktion", "Größte östl. Elongation",
                                             "Größte westl. Elongation"};
  static constexpr const char* kEnglish[4] = {"Superior Conjunction", "Inferior Conjunction",
                                              "Greatest eastern Elongation", "Greatest western Elongation"};
  const int e = event >= 0 && event <= 3 ? event : 0;
  return english ? kEnglish[e] : kGerman[e];
}

TPhenomenonTexts PhenomenonTexts(int view, double z, double x, bool abbreviated, bool english) {
  // Index: view, behind (z > 0), then the phase by x > 0.
  struct Words {
    const char* german;
    const char* english;
    const char* germanShort;
    const char* englishShort;
  };
  static constexpr Words kKinds[2][2] = {
      {{"Durchgang", "Transit", "D", "Tr."}, {"Bedeckung", "Occultation", "B", "Occ."}},
      {{"Schattenvorübergang", "Shadow transit", "S", "Sh."}, {"Verfinsterung", "Eclipse", "V", "Ec."}}};
  // Phase words: behind the planet (disappearance / reappearance) or in
  // front of it (ingress / egress), by x > 0.
  static constexpr Words kBehind[2] = {{"Ende", "Reappearance", "E", "R."}, {"Anfang", "Disappearance", "A", "D."}};
  static constexpr Words kFront[2] = {{"Anfang", "Ingress", "A", "I."}, {"Ende", "Egress", "E", "E."}};
  const bool behind = z > 0;
  const Words& kind = kKinds[view != 0 ? 1 : 0][behind ? 1 : 0];
  const Words& phase = (behind ? kBehind : kFront)[x > 0 ? 1 : 0];
  auto pick = [&](const Words& w) {
    if (abbreviated) return std::string(english ? w.englishShort : w.germanShort);
    return std::string(english ? w.english : w.german);
  };
  return TPhenomenonTexts{pick(kind), pick(phase)};
}

int MoonListCount(int planetCode) { return planetCode == 0 ? 4 : planetCode == 1 ? 5 : 8; }

const char* MoonListName(int planetCode, int moon) {
  const int m = ClampMoonNumber(moon, MoonListCount(planetCode)) - 1;
  if (planetCode == 0) return kNumerals[m];
  if (planetCode == 1) return kFiveMoons[m];
  return kEightMoons[m];
}

std::int32_t ClampMoonNumber(std::int32_t moon, int count) { return std::clamp<std::int32_t>(moon, 1, count); }

std::uint8_t ClampMoonEvent(std::uint8_t event) { return event > 3 ? 0 : event; }

std::int32_t FiveMoonNumberOf(std::int32_t eightMoon) {
  // Iapetus is "Japetus" in the five-moon list.
  static constexpr std::int32_t kFive[8] = {0, 0, 1, 2, 3, 4, 0, 5};
  return kFive[ClampMoonNumber(eightMoon, 8) - 1];
}

bool IsMoonEventKind(std::int32_t kind) {
  return kind == 102 || kind == 104 || kind == 105 || (kind >= 112 && kind <= 117);
}

// ------------------------------------------------------------------- Jupiter

TJupiterereignisse::TJupiterereignisse(std::uint8_t language, TTheorySelection selection, TSheet* sheet,
                                       const TTableConfigRecord& config, const TObserverRecord& start,
                                       const TObserverRecord& end, const TTableStep& step, std::int32_t optionA,
                                       std::int32_t optionB, std::int32_t level)
    : TJupiterephfenster(MoonTableRequest(language, selection, config, start, end, step, level), sheet, optionA,
                         optionB) {
  ProgressCaption = language != 0 ? "Please wait..." : "Bitte warten...";
}

bool TJupiterereignisse::ComputeJupiterMoonEvents(TComputeSettingsBlock settings, TMoonEventList& list,
                                                  std::uint8_t abbreviations, std::int32_t kind) {
  Settings.Abbreviations = abbreviations;
  return RunWindow(settings, list, kind);
}

int TJupiterereignisse::FamilyOf(std::int32_t kind) const {
  if (kind == 105) return kPhenomena;
  if (kind == 104) return kOneMoon;
  return kConjunctions;
}

std::string TJupiterereignisse::MoonText(int moon) const { return MoonListName(system_.PlanetCode, moon); }

void TJupiterereignisse::rechne(TComputeSettingsBlock settings, const TObserverRecord& record, TMoonSample& s) {
  TJupiterMoonsBlock block;
  GalileanMoonsPositions(settings, Accuracy.VsopLevelA, TheorySelection, record, block);
  for (std::size_t m = 0; m < 4; ++m) {
    s.X[m] = block.EarthX[m];
    s.Y[m] = block.EarthY[m];
    s.Z[m] = block.EarthZ[m];
    s.SX[m] = block.SunX[m];
    s.SY[m] = block.SunY[m];
    s.SZ[m] = block.SunZ[m];
  }
  CopyPlanet(block, s);
}

bool TJupiterereignisse::SampleAt(TComputeSettingsBlock settings, double mjd, TObserverRecord& record,
                                  TMoonSample& sample) {
  record.Mjd = mjd;
  UTToLocalTime(record);
  CompleteObserverRecord(Settings.ApparentSiderealTime, TheorySelection, TableConfig, Settings.SunMode, record,
                         settings);
  rechne(settings, record, sample);
  const auto n = static_cast<std::size_t>(system_.Count);
  for (std::size_t m = 0; m < n; ++m) {
    if (!Finite(sample.X[m]) || !Finite(sample.Y[m]) || !Finite(sample.Z[m]) || !Finite(sample.SX[m]) ||
        !Finite(sample.SY[m]) || !Finite(sample.SZ[m])) {
      return false;
    }
  }
  return Finite(sample.PlanetRA) && Finite(sample.PlanetDec) && Finite(record.SunApparentRA) &&
         Finite(record.SunApparentDec);
}

bool TJupiterereignisse::AltitudesVisible(const TObserverRecord& record, const TMoonSample& sample) {
  planet_altitude_ = AltitudeOf(record, sample.PlanetRA, sample.PlanetDec);
  if (!(Settings.MinPlanetAltitude < planet_altitude_)) return false;
  sun_altitude_ = AltitudeOf(record, record.SunApparentRA, record.SunApparentDec);
  return Settings.MaxSunAltitude > sun_altitude_;
}

void TJupiterereignisse::Record(const TObserverRecord& record, const std::string& moon, const std::string& event,
                                const std::string& phase, double separation) {
  if (liste == nullptr) return;
  auto e = std::make_unique<tjupitermondereignis>();
  e->date = record;
  e->PlanetAltitude = planet_altitude_;
  e->SunAltitude = sun_altitude_;
  e->Separation = separation;
  e->MoonText = moon;
  e->EventText = event;
  e->PhaseText = phase;
  std::string key = MoonEventSortKey(record);
  liste->Add(std::move(key), std::move(e));
}

bool TJupiterereignisse::RunWindow(TComputeSettingsBlock settings, TMoonEventList& list, std::int32_t kind) {
  Aborted = 0;
  Kind = kind;
  liste = &list;
  list.Clear();
  const double start = PeriodStart.Mjd;
  const double end = PeriodEnd.Mjd;
  if (!Finite(start) || !Finite(end) || !(end > start)) return false;
  Settings.MinPlanetAltitude = std::clamp(Settings.MinPlanetAltitude, -90, 90);
  Settings.MaxSunAltitude = std::clamp(Settings.MaxSunAltitude, -90, 90);
  Settings.Moon = ClampMoonNumber(Settings.Moon, system_.Count);
  Settings.Event = ClampMoonEvent(Settings.Event);

  const double step = system_.StepDays;
  const double progressPerStep = kProgressScale * step / (end - start);
  const int family = FamilyOf(kind);
  AbortRequested = 0;
  ProgressSession session(CurrentProgress(), ProgressCaption, kProgressScale);
  ProgressReporter& progress = session.Reporter();

  // The window's three samples from start - 0.1 d; the copy stands one
  // step after the last one. Sample k lies at first + k steps: counting
  // keeps the instants free of accumulated rounding.
  const double first = start - kMarginDays;
  TObserverRecord copy = PeriodStart;
  long long k = 0;
  for (; k < 3; ++k) {
    SampleAt(settings, first + static_cast<double>(k) * step, copy, window_[static_cast<std::size_t>(k)]);
  }
  for (long long i = 1;; ++i) {
    if (i % kProgressEvery == 0) {
      progress.Step(
          static_cast<int>(std::lround(std::min<double>(kProgressScale, static_cast<double>(i) * progressPerStep))));
      progress.ProcessEvents();
    }
    middle_mjd_ = first + static_cast<double>(k - 2) * step;
    if (family == kPhenomena) {
      interpoliere(settings);
    } else if (family == kOneMoon) {
      interpoliere_elong(settings);
    } else {
      interpoliere_konj(settings);
    }
    window_[0] = window_[1];
    window_[1] = window_[2];
    SampleAt(settings, first + static_cast<double>(k) * step, copy, window_[2]);
    ++k;
    if (AbortRequested != 0 || first + static_cast<double>(k) * step > end + kMarginDays) break;
  }
  if (AbortRequested != 0) Aborted = 1;
  AbortRequested = 0;
  return true;
}

void TJupiterereignisse::interpoliere(TComputeSettingsBlock settings) {
  const double fl = system_.Flattening;
  const bool english = Language != 0;
  const bool shortForm = Settings.Abbreviations != 0;
  for (int m = 0; m < system_.Count; ++m) {
    const auto i = static_cast<std::size_t>(m);
    for (int view = 0; view < 2; ++view) {
      double f[3];
      for (std::size_t w = 0; w < 3; ++w) {
        const TMoonSample& s = window_[w];
        f[w] = view == 0 ? Limb(s.X[i], s.Y[i], fl) : Limb(s.SX[i], s.SY[i], fl);
      }
      std::array<double, 2> roots{};
      const int count = WindowRoots(f[0], f[1], f[2], roots);
      for (int r = 0; r < count; ++r) {
        TObserverRecord record;
        TMoonSample s;
        if (!SampleAtRoot(settings, roots[static_cast<std::size_t>(r)], record, s)) continue;
        bool visible;
        if (view == 0) {
          // An eclipsed moon cannot be seen at the limb.
          visible = !(Limb(s.SX[i], s.SY[i], fl) < 0 && s.SZ[i] > 0);
        } else {
          // A shadow contact of a moon hidden behind the planet.
          visible = !(Limb(s.X[i], s.Y[i], fl) < 0 && s.Z[i] > 0);
        }
        if (visible) visible = AltitudesVisible(record, s);
        const TPhenomenonTexts texts = view == 0 ? PhenomenonTexts(0, s.Z[i], s.X[i], shortForm, english)
                                                 : PhenomenonTexts(1, s.SZ[i], s.SX[i], shortForm, english);
        if (visible) Record(record, MoonText(m + 1), texts.Event, texts.Phase, 0);
      }
    }
  }
}

void TJupiterereignisse::interpoliere_konj(TComputeSettingsBlock settings) {
  const double fl = system_.Flattening;
  for (int a = 0; a + 1 < system_.Count; ++a) {
    for (int b = a + 1; b < system_.Count; ++b) {
      const auto i = static_cast<std::size_t>(a);
      const auto j = static_cast<std::size_t>(b);
      std::array<double, 2> roots{};
      const int count = WindowRoots(window_[0].X[i] - window_[0].X[j], window_[1].X[i] - window_[1].X[j],
                                    window_[2].X[i] - window_[2].X[j], roots);
      for (int r = 0; r < count; ++r) {
        TObserverRecord record;
        TMoonSample s;
        if (!SampleAtRoot(settings, roots[static_cast<std::size_t>(r)], record, s)) continue;
        const bool shadowI = Limb(s.SX[i], s.SY[i], fl) < 0 && s.SZ[i] > 0;
        const bool shadowJ = Limb(s.SX[j], s.SY[j], fl) < 0 && s.SZ[j] > 0;
        if (shadowI || shadowJ || !AltitudesVisible(record, s)) continue;
        PlanetPhysicalRecord physical;
        PlanetMagnitude(system_.PlanetIndex, record, s.Planet, physical);
        const double separation = (s.Y[i] - s.Y[j]) * 0.5 * physical.diameter;
        Record(record, std::string(), MoonText(a + 1) + "/" + MoonText(b + 1), std::string(), separation);
      }
    }
  }
}

void TJupiterereignisse::interpoliere_elong(TComputeSettingsBlock settings) {
  const int moon = ClampMoonNumber(Settings.Moon, system_.Count);
  const auto i = static_cast<std::size_t>(moon - 1);
  const int event = ClampMoonEvent(Settings.Event);
  auto f = [&](const TMoonSample& s) { return event < 2 ? s.X[i] : s.Z[i]; };
  std::array<double, 2> roots{};
  const int count = WindowRoots(f(window_[0]), f(window_[1]), f(window_[2]), roots);
  for (int r = 0; r < count; ++r) {
    TObserverRecord record;
    TMoonSample s;
    if (!SampleAtRoot(settings, roots[static_cast<std::size_t>(r)], record, s)) continue;
    bool chosen = false;
    switch (event) {
      case 0:
        chosen = s.Z[i] > 0;
        break;
      case 1:
        chosen = s.Z[i] < 0;
        break;
      case 2:
        chosen = s.X[i] < 0;
        break;
      default:
        chosen = s.X[i] > 0;
        break;
    }
    if (!chosen || !AltitudesVisible(record, s)) continue;
    Record(record, std::string(), std::string(MoonEventName(event, Language != 0)) + " " + MoonText(moon),
           std::string(), 0);
  }
}

// -------------------------------------------------------------------- output

void TJupiterereignisse::WriteTo(TCellSink& sink) {
  if (liste == nullptr) return;
  const int n = liste->Count();
  const bool english = Language != 0;
  const bool phenomena = PhenomenaKind(Kind);
  const bool conjunctions = ConjunctionKind(Kind);
  if (sink.IsGrid()) {
    tmystringgrid& grid = static_cast<TGridSink&>(sink).Grid();
    grid.SetRowCount(std::max(2, n + 1));
    grid.SetColCount(2);
  } else {
    static_cast<TSheetSink&>(sink).Sheet().SetColWidth(-1, -1, kDefaultSheetColumnWidth, true);
  }
  int columns = 1;
  for (int row = 1; row <= n + 1; ++row) {
    const bool heading = row == 1;
    const tjupitermondereignis* e = heading ? nullptr : &liste->At(row - 2);
    int col = 1;
    auto title = [&](int slot, const std::string& text) { WriteHeadingCell(sink, row, col, slot, text, true); };
    // A number column and a text column: the heading in the first row, the
    // event's cell below it.
    auto number = [&](int slot, TCellFamily family, auto of) {
      if (heading)
        title(slot, TableConfig.ColumnTitles[static_cast<std::size_t>(slot)]);
      else
        sink.Value(family, row, col, slot, of(*e));
      ++col;
    };
    auto text = [&](const std::string& headingText, auto of) {
      if (heading)
        title(kEventSlot, headingText);
      else
        sink.Text(row, col, of(*e));
      ++col;
    };
    using E = tjupitermondereignis;
    if (heading)
      title(kSlotDate, TableConfig.ColumnTitles[kSlotDate]);
    else
      sink.Date(row, col, kSlotDate, e->date.Year, e->date.Month, e->date.Day);
    ++col;
    number(kSlotTime, TCellFamily::TimeOfDay, [](const E& x) { return x.date.LocalHours; });
    if (ColumnOn(cf::kJulianDate)) {
      number(kSlotJulianDay, TCellFamily::Number, [](const E& x) { return MjdToJd(x.date.Mjd); });
    }
    if (phenomena) text(english ? "Moon" : "Mond", [](const E& x) { return x.MoonText; });
    text(TableConfig.ColumnTitles[kEventSlot], [](const E& x) { return x.EventText; });
    if (conjunctions) number(kSeparationSlot, TCellFamily::Arcseconds, [](const E& x) { return x.Separation; });
    if (phenomena) text("Phase", [](const E& x) { return x.PhaseText; });
    number(kPlanetAltitudeSlot, TCellFamily::Angle, [](const E& x) { return x.PlanetAltitude; });
    number(kSlotSunAltitude, TCellFamily::Angle, [](const E& x) { return x.SunAltitude; });
    columns = col - 1;
  }
  OutputRow = n + 2;
  OutputColumn = columns + 1;
  if (sink.IsGrid()) {
    tmystringgrid& grid = static_cast<TGridSink&>(sink).Grid();
    grid.SetColCount(std::max(2, OutputColumn));
    grid.SetRowCount(std::max(2, OutputRow));
    return;
  }
  TSheet& sheet = static_cast<TSheetSink&>(sink).Sheet();
  CentreFirstRowAndFit(sheet);
}

// -------------------------------------------------------------------- Saturn

TSaturnereignisse::TSaturnereignisse(std::uint8_t language, TTheorySelection selection, TSheet* sheet,
                                     const TTableConfigRecord& config, const TObserverRecord& start,
                                     const TObserverRecord& end, const TTableStep& step, std::int32_t optionA,
                                     std::int32_t optionB, std::int32_t level)
    : TJupiterereignisse(language, selection, sheet, config, start, end, step, optionA, optionB, level) {
  system_ = TMoonSystem{5, 1, 1.0 / 72, 1.10860124, 6};
}

bool TSaturnereignisse::ComputeSaturnMoonEvents(TComputeSettingsBlock settings, TMoonEventList& list,
                                                std::int32_t kind) {
  return RunWindow(settings, list, kind);
}

int TSaturnereignisse::FamilyOf(std::int32_t kind) const {
  if (kind == 115 || kind == 116) return kPhenomena;
  if (kind == 114 || kind == 117) return kOneMoon;
  return kConjunctions;
}

void TSaturnereignisse::rechne(TComputeSettingsBlock settings, const TObserverRecord& record, TMoonSample& s) {
  TSaturnShortArray x{}, y{}, u{}, sx{}, sy{}, su{};
  TSaturnMoonsBlock block;
  SaturnMoonsPositions(settings, Accuracy.VsopLevelA, TheorySelection, record, x, y, u, sx, sy, su, block);
  // The short theory counts X towards the west already and puts u = 0 in
  // front of the planet: -cos u is positive behind it, like Z.
  for (std::size_t m = 0; m < 5; ++m) {
    const std::size_t k = m + kShortTethys;
    s.X[m] = x[k];
    s.Y[m] = y[k];
    s.Z[m] = -std::cos(u[k] * kPi / 180.0);
    s.SX[m] = sx[k];
    s.SY[m] = sy[k];
    s.SZ[m] = -std::cos(su[k] * kPi / 180.0);
  }
  CopyPlanet(block, s);
}

TSaturnereignisseneu::TSaturnereignisseneu(std::uint8_t language, TTheorySelection selection, TSheet* sheet,
                                           const TTableConfigRecord& config, const TObserverRecord& start,
                                           const TObserverRecord& end, const TTableStep& step, std::int32_t optionA,
                                           std::int32_t optionB, std::int32_t level)
    : TSaturnereignisse(language, selection, sheet, config, start, end, step, optionA, optionB, level) {
  system_ = TMoonSystem{8, 2, 1.0 / 72, 1.10860124, 6};
}

void TSaturnereignisseneu::rechne(TComputeSettingsBlock settings, const TObserverRecord& record, TMoonSample& s) {
  TSaturnMoonArray x{}, y{}, z{}, sx{}, sy{}, sz{};
  TSaturnMoonsBlock block;
  SaturnMoonPositions(settings, Accuracy.VsopLevelA, TheorySelection, record, x, y, z, sx, sy, sz, block);
  s.X = x;
  s.Y = y;
  s.Z = z;
  s.SX = sx;
  s.SY = sy;
  s.SZ = sz;
  CopyPlanet(block, s);
}

}  // namespace kvx
