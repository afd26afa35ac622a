#include "app/config_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "core/binary_fields.h"
#include "core/element_records.h"
#include "core/little_endian.h"
#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/save_failure.h"
#include "platform/text_encoding.h"
#include "setup/column_titles.h"
#include "setup/data_formats.h"
#include "setup/edit_rules.h"
#include "setup/numeric_options.h"
#include "theories/observer_completion.h"

namespace kvx {

namespace le = little_endian;

namespace {

// --- the layout, by file offset ------------------------------------------------

struct TPlace {
  std::size_t offset;
  std::size_t size;
};

// Every field, reserved range, zero range and padding byte in file order.
constexpr TPlace kLayout[] = {
    {27, 28},     {55, 736},    {791, 736},   {1527, 132},   {1659, 124},  {1783, 92},   {1875, 256},  {2131, 256},
    {2387, 256},  {2643, 256},  {2899, 256},  {3155, 256},   {3411, 256},  {3667, 256},  {3923, 256},  {4179, 256},
    {4435, 256},  {4691, 256},  {4947, 256},  {5203, 22676}, {27879, 20},  {27899, 4},   {27903, 4},   {27907, 2616},
    {30523, 10},  {30533, 1},   {30534, 12},  {30546, 1},    {30547, 4},   {30551, 4},   {30555, 1},   {30556, 1},
    {30557, 2},   {30559, 299}, {30858, 1},   {30859, 4},    {30863, 4},   {30867, 40},  {30907, 16},  {30923, 1},
    {30924, 3},   {30927, 20},  {30947, 1},   {30948, 1},    {30949, 1},   {30950, 1},   {30951, 1},   {30952, 1},
    {30953, 9},   {30962, 1},   {30963, 4},   {30967, 1},    {30968, 1},   {30969, 2},   {30971, 4},   {30975, 4},
    {30979, 4},   {30983, 4},   {30987, 4},   {30991, 4},    {30995, 1},   {30996, 3},   {30999, 4},   {31003, 4},
    {31007, 4},   {31011, 4},   {31015, 4},   {31019, 4},    {31023, 1},   {31024, 1},   {31025, 1},   {31026, 1},
    {31027, 1},   {31028, 1},   {31029, 1},   {31030, 1},    {31031, 8},   {31039, 4},   {31043, 4},   {31047, 8},
    {31055, 1},   {31056, 1},   {31057, 1},   {31058, 1},    {31059, 1},   {31060, 1},   {31061, 1},   {31062, 2},
    {31064, 3},   {31067, 8},   {31075, 544}, {31619, 3},    {31622, 1},   {31623, 48},  {31671, 884}, {32555, 4},
    {32559, 4},   {32563, 4},   {32567, 4},   {32571, 4},    {32575, 221}, {32796, 221}, {33017, 2},   {33019, 4},
    {33023, 24},  {33047, 39},  {33086, 1},   {33087, 4},    {33091, 4},   {33095, 4},   {33099, 4},   {33103, 4},
    {33107, 272},
};

constexpr bool LayoutIsContiguous() {
  std::size_t next = kConfigMagicSize;
  for (const TPlace& place : kLayout) {
    if (place.offset != next) return false;
    next += place.size;
  }
  return next == kConfigFileSize;
}

static_assert(kConfigFileSize == 33379);
static_assert(kConfigRecordSize == 33352);
static_assert(LayoutIsContiguous(), "the record's fields must follow each other without gap");
static_assert(kObserverRecordSize == 736);
static_assert(kAsteroidElementRecordSize == 132);
static_assert(kCometElementRecordSize == 124);
static_assert(kVariableStarRecordSize == 92);
static_assert(kTableConfigRecordSize == 22676);
static_assert(kTableStepSize == 20);
static_assert(kIntegrationSetupSize == 2616);
static_assert(kMeridianFeaturesRecordSize == 300);
static_assert(kConjunctionOptionsRecordSize == 40);
static_assert(kEventSearchOptionsSize == 16);
static_assert(kOrbitOptionsRecordSize == 20);
static_assert(kElementFileRangesSize == 24);
static_assert(kAlmanacOptionsSize == 39);
static_assert(kQuantityCount * 4 == 884);
static_assert(kTableFontRecordSize == 272);
static_assert(sizeof(TTheorySelection{}.bytes) == 12);

// File offsets of the paths, in TConfigPath order.
constexpr std::array<std::size_t, kConfigPathCount> kPathOffsets = {1875, 2131, 2387, 2643, 2899, 3155,
                                                                    3411, 3667, 3923, 4435, 4691, 4947};

// The meridian features at 30559 (the byte at 30858 is padding).
constexpr std::size_t kMeridianSystemAt = 30559;
constexpr std::size_t kMeridianLongitudesAt = 30563;
constexpr std::size_t kMeridianNamesAt = 30603;
static_assert(kMeridianNamesAt + kMeridianFeatureCount * (kMeridianFeatureNameLength + 1) == 30858);
static_assert(kMeridianSystemAt + kMeridianFeaturesRecordSize == 30859);

// The image walked by file offset.
class Image {
 public:
  explicit Image(TConfigRecordImage& image) : image_(image) {}
  std::uint8_t* At(std::size_t fileOffset) { return image_.data() + (fileOffset - kConfigMagicSize); }

  void U8(std::size_t at, std::uint8_t v) { *At(at) = v; }
  void I32(std::size_t at, std::int32_t v) { le::PutI32(At(at), v); }
  void U32(std::size_t at, std::uint32_t v) { le::PutU32(At(at), v); }
  void F32(std::size_t at, float v) { le::PutF32(At(at), v); }
  void F64(std::size_t at, double v) { le::PutF64(At(at), v); }
  template <std::size_t N>
  void Raw(std::size_t at, const std::array<std::uint8_t, N>& bytes) {
    std::copy(bytes.begin(), bytes.end(), At(at));
  }
  void Zero(std::size_t at, std::size_t count) { std::memset(At(at), 0, count); }
  template <std::size_t N>
  std::span<std::uint8_t, N> Span(std::size_t at) {
    return std::span<std::uint8_t, N>(At(at), N);
  }

 private:
  TConfigRecordImage& image_;
};

class ConstImage {
 public:
  explicit ConstImage(const TConfigRecordImage& image) : image_(image) {}
  const std::uint8_t* At(std::size_t fileOffset) const { return image_.data() + (fileOffset - kConfigMagicSize); }

  std::uint8_t U8(std::size_t at) const { return *At(at); }
  std::int32_t I32(std::size_t at) const { return le::GetI32(At(at)); }
  std::uint32_t U32(std::size_t at) const { return le::GetU32(At(at)); }
  float F32(std::size_t at) const { return le::GetF32(At(at)); }
  double F64(std::size_t at) const { return le::GetF64(At(at)); }
  template <std::size_t N>
  void Raw(std::size_t at, std::array<std::uint8_t, N>& bytes) const {
    std::copy(At(at), At(at) + N, bytes.begin());
  }
  template <std::size_t N>
  std::span<const std::uint8_t, N> Span(std::size_t at) const {
    return std::span<const std::uint8_t, N>(At(at), N);
  }

 private:
  const TConfigRecordImage& image_;
};

void PutPath(Image& out, std::size_t at, const std::string& path, std::vector<std::string>* refused) {
  const bool storable = ShortStringHolds(path, kConfigPathCapacity);
  if (!storable && refused != nullptr) refused->push_back(path);
  PutShortString(out.At(at), kConfigPathCapacity, storable ? path : std::string());
}

}  // namespace

// --- gathering and reading ---------------------------------------------------------

std::vector<std::string> NamesNotStorable(const TConfigSettings& s) {
  std::vector<std::string> names;
  auto check = [&names](const char* german, const char* english, const std::string& name, std::size_t room) {
    if (!ShortStringHolds(name, room)) names.push_back(std::string(ByLanguage(german, english)) + ": " + name);
  };
  check("Planetoid", "Asteroid", s.Asteroid.Name, kElementNameLength);
  check("Komet", "Comet", s.Comet.Name, kElementNameLength);
  check("Veränderlicher Stern", "Variable star", s.VariableStar.Name, kVariableStarNameLength);
  for (const std::string& name : s.MeridianFeatures.Names) {
    check("Oberflächenmerkmal", "Surface feature", name, kMeridianFeatureNameLength);
  }
  return names;
}

void GatherConfigRecord(const TConfigSettings& s, TConfigRecordImage& image, std::vector<std::string>* refused) {
  Image out(image);
  EncodeObserverRecord(s.Start, out.Span<kObserverRecordSize>(55));
  EncodeObserverRecord(s.End, out.Span<kObserverRecordSize>(791));
  EncodeAsteroidElementRecord(s.Asteroid, out.Span<kAsteroidElementRecordSize>(1527));
  EncodeCometElementRecord(s.Comet, out.Span<kCometElementRecordSize>(1659));
  EncodeVariableStarRecord(s.VariableStar, out.Span<kVariableStarRecordSize>(1783));
  for (std::size_t k = 0; k < kConfigPathCount; ++k) PutPath(out, kPathOffsets[k], s.Paths[k], refused);
  EncodeTableConfigRecord(s.TableConfig, out.Span<kTableConfigRecordSize>(5203));
  EncodeTableStep(s.Step, out.Span<kTableStepSize>(27879));
  out.I32(27899, s.EclipseSearchMinutes);
  out.I32(27903, s.EclipseSearchSpanHours);
  out.Raw(27907, EncodeIntegrationSetup(s.Integration));
  LongDoubleToExtended(s.Tolerance, out.At(30523));
  out.U8(30533, s.LeadingZeros);
  out.Raw(30534, s.Selection.bytes);
  out.I32(30547, s.Satellite);
  out.I32(30551, s.SatelliteDays);
  out.U8(30555, s.SatelliteSunAltitude);
  out.U8(30556, s.ApparentTime);
  out.I32(kMeridianSystemAt, s.MeridianFeatures.Mode);
  for (std::size_t k = 0; k < kMeridianFeatureCount; ++k) {
    out.F64(kMeridianLongitudesAt + 8 * k, s.MeridianFeatures.Longitudes[k]);
    PutShortString(out.At(kMeridianNamesAt + (kMeridianFeatureNameLength + 1) * k), kMeridianFeatureNameLength,
                   s.MeridianFeatures.Names[k]);
  }
  out.F32(30859, s.OccultationMagnitude);
  out.I32(30863, s.OccultationSunAltitude);
  out.Raw(30867, EncodeConjunctionOptions(s.ConjunctionOptions));
  out.Raw(30907, EncodeEventSearchOptions(s.EventOptions));
  out.U8(30923, s.ResultsIntoTable);
  out.Raw(30927, s.OrbitOptionsRaw);
  out.U8(30947, s.CsvSeparatorIndex);
  out.U8(30948, s.AsteroidFileFormat);
  out.U8(30949, s.CometFileFormat);
  out.U8(30950, s.IntegratorChoice);
  out.U8(30951, s.UseIntegrationDatabase);
  out.U8(30952, s.OccultationCatalogue);
  out.Raw(30953, s.PlanetOccultationBodies);
  out.F32(30963, s.PlanetOccultationMagnitude);
  out.U8(30967, s.ConjunctionsOnly);
  out.U8(30968, s.Fk4Positions);
  out.I32(30971, s.AsteroidDiameter);
  out.I32(30975, s.VsopLevelA);
  out.I32(30979, s.VsopLevelB);
  out.I32(30983, s.OccultationStar);
  out.I32(30987, s.ConjunctionUserObject);
  out.I32(30991, s.ConjunctionStar);
  out.U8(30995, s.SolarEclipseKinds);
  out.I32(30999, s.LunarEclipseKinds);
  out.I32(31003, s.LunarEclipseMoonAltitude);
  out.I32(31007, s.PhenomenaSunAltitude);
  out.I32(31011, s.PhenomenaPlanetAltitude);
  out.I32(31015, s.SaturnMoon);
  out.I32(31019, s.JupiterMoon);
  out.U8(31023, s.MoonEvent);
  out.U8(31024, s.AzimuthFromNorth);
  out.U8(31025, s.FastConjunctions);
  out.U8(31026, s.ConjunctionUsesPeriod);
  out.U8(31027, s.EventUsesPeriod);
  out.U8(31028, s.ExactMoonParallax);
  out.U8(31029, s.ExactSunMoon);
  out.F64(31031, s.TableEquinox);
  out.I32(31039, s.MoonCacheSpan);
  out.I32(31043, s.MoonCacheOrder);
  out.Zero(31047, 8);
  out.U8(31055, s.NeverSlowElp);
  out.U8(31056, s.ConjunctionListComets);
  out.U8(31057, s.KeplerElementsInverted);
  out.U8(31058, s.ConjunctionListDatabase);
  out.U8(31059, s.PhenomenaAbbreviations);
  out.U8(31060, s.MoonOption);
  out.U8(31061, s.MoonCacheFlag);
  out.Zero(31062, 2);
  out.F64(31067, s.SeparationLimit);
  out.U8(31619, s.CellLines);
  out.U8(31620, s.FixedLines);
  out.U8(31621, s.ReservedFlag);
  for (std::size_t k = 0; k < 6; ++k) out.F64(31623 + 8 * k, s.HorizonAltitudes[k]);
  for (std::size_t k = 0; k < kQuantityCount; ++k) out.I32(31671 + 4 * k, s.ColumnWidths[k]);
  out.I32(32555, s.FixedColWidth);
  out.I32(32559, s.FixedRowHeight);
  out.I32(32563, s.DialogTableKind);
  out.I32(32567, s.PeriodDays);
  out.I32(32571, s.PeriodHours);
  out.Raw(32575, s.DataFormatDecimals);
  out.Raw(32796, s.DataFormatKind);
  out.I32(33019, s.UserObject);
  std::array<std::uint8_t, kElementFileRangesSize> ranges{};
  EncodeElementFileRanges(s.ElementFileRanges, ranges);
  out.Raw(33023, ranges);
  out.Raw(33047, s.AlmanacRaw);
  out.U8(33086, s.RiseSetAsJulianDate);
  out.I32(33087, s.ConjunctionSunAltitude);
  out.I32(33091, s.ConjunctionAltitude1);
  out.I32(33095, s.ConjunctionAltitude2);
  out.U32(33099, s.BackgroundColor);
  out.U32(33103, s.FixedColor);
  EncodeTableFontRecord(s.Font, out.Span<kTableFontRecordSize>(33107));
}

TConfigSettings ReadConfigRecord(const TConfigRecordImage& image) {
  const ConstImage in(image);
  TConfigSettings s;
  s.Start = DecodeObserverRecord(in.Span<kObserverRecordSize>(55));
  s.End = DecodeObserverRecord(in.Span<kObserverRecordSize>(791));
  s.Asteroid = DecodeAsteroidElementRecord(in.Span<kAsteroidElementRecordSize>(1527));
  s.Comet = DecodeCometElementRecord(in.Span<kCometElementRecordSize>(1659));
  s.VariableStar = DecodeVariableStarRecord(in.Span<kVariableStarRecordSize>(1783));
  for (std::size_t k = 0; k < kConfigPathCount; ++k) {
    s.Paths[k] = GetShortString(in.At(kPathOffsets[k]), kConfigPathCapacity);
  }
  s.TableConfig = DecodeTableConfigRecord(in.Span<kTableConfigRecordSize>(5203));
  s.Step = DecodeTableStep(in.Span<kTableStepSize>(27879));
  s.EclipseSearchMinutes = in.I32(27899);
  s.EclipseSearchSpanHours = in.I32(27903);
  DecodeIntegrationSetup(in.Span<kIntegrationSetupSize>(27907), s.Integration);
  s.Tolerance = ExtendedToLongDouble(in.At(30523));
  s.LeadingZeros = in.U8(30533);
  in.Raw(30534, s.Selection.bytes);
  s.Satellite = in.I32(30547);
  s.SatelliteDays = in.I32(30551);
  s.SatelliteSunAltitude = in.U8(30555);
  s.ApparentTime = in.U8(30556);
  s.MeridianFeatures.Mode = in.I32(kMeridianSystemAt);
  for (std::size_t k = 0; k < kMeridianFeatureCount; ++k) {
    s.MeridianFeatures.Longitudes[k] = in.F64(kMeridianLongitudesAt + 8 * k);
    s.MeridianFeatures.Names[k] =
        GetShortString(in.At(kMeridianNamesAt + (kMeridianFeatureNameLength + 1) * k), kMeridianFeatureNameLength);
  }
  s.OccultationMagnitude = in.F32(30859);
  s.OccultationSunAltitude = in.I32(30863);
  s.ConjunctionOptions = DecodeConjunctionOptions(in.Span<kConjunctionOptionsRecordSize>(30867));
  s.EventOptions = DecodeEventSearchOptions(in.Span<kEventSearchOptionsSize>(30907));
  s.ResultsIntoTable = in.U8(30923);
  in.Raw(30927, s.OrbitOptionsRaw);
  s.CsvSeparatorIndex = in.U8(30947);
  s.AsteroidFileFormat = in.U8(30948);
  s.CometFileFormat = in.U8(30949);
  s.IntegratorChoice = in.U8(30950);
  s.UseIntegrationDatabase = in.U8(30951);
  s.OccultationCatalogue = in.U8(30952);
  in.Raw(30953, s.PlanetOccultationBodies);
  s.PlanetOccultationMagnitude = in.F32(30963);
  s.ConjunctionsOnly = in.U8(30967);
  s.Fk4Positions = in.U8(30968);
  s.AsteroidDiameter = in.I32(30971);
  s.VsopLevelA = in.I32(30975);
  s.VsopLevelB = in.I32(30979);
  s.OccultationStar = in.I32(30983);
  s.ConjunctionUserObject = in.I32(30987);
  s.ConjunctionStar = in.I32(30991);
  s.SolarEclipseKinds = in.U8(30995);
  s.LunarEclipseKinds = in.I32(30999);
  s.LunarEclipseMoonAltitude = in.I32(31003);
  s.PhenomenaSunAltitude = in.I32(31007);
  s.PhenomenaPlanetAltitude = in.I32(31011);
  s.SaturnMoon = in.I32(31015);
  s.JupiterMoon = in.I32(31019);
  s.MoonEvent = in.U8(31023);
  s.AzimuthFromNorth = in.U8(31024);
  s.FastConjunctions = in.U8(31025);
  s.ConjunctionUsesPeriod = in.U8(31026);
  s.EventUsesPeriod = in.U8(31027);
  s.ExactMoonParallax = in.U8(31028);
  s.ExactSunMoon = in.U8(31029);
  s.TableEquinox = in.F64(31031);
  s.MoonCacheSpan = in.I32(31039);
  s.MoonCacheOrder = in.I32(31043);
  s.NeverSlowElp = in.U8(31055);
  s.ConjunctionListComets = in.U8(31056);
  s.KeplerElementsInverted = in.U8(31057);
  s.ConjunctionListDatabase = in.U8(31058);
  s.PhenomenaAbbreviations = in.U8(31059);
  s.MoonOption = in.U8(31060);
  s.MoonCacheFlag = in.U8(31061);
  s.SeparationLimit = in.F64(31067);
  s.CellLines = in.U8(31619);
  s.FixedLines = in.U8(31620);
  s.ReservedFlag = in.U8(31621);
  for (std::size_t k = 0; k < 6; ++k) s.HorizonAltitudes[k] = in.F64(31623 + 8 * k);
  for (std::size_t k = 0; k < kQuantityCount; ++k) s.ColumnWidths[k] = in.I32(31671 + 4 * k);
  s.FixedColWidth = in.I32(32555);
  s.FixedRowHeight = in.I32(32559);
  s.DialogTableKind = in.I32(32563);
  s.PeriodDays = in.I32(32567);
  s.PeriodHours = in.I32(32571);
  in.Raw(32575, s.DataFormatDecimals);
  in.Raw(32796, s.DataFormatKind);
  s.UserObject = in.I32(33019);
  std::array<std::uint8_t, kElementFileRangesSize> ranges{};
  in.Raw(33023, ranges);
  s.ElementFileRanges = DecodeElementFileRanges(ranges);
  in.Raw(33047, s.AlmanacRaw);
  s.RiseSetAsJulianDate = in.U8(33086);
  s.ConjunctionSunAltitude = in.I32(33087);
  s.ConjunctionAltitude1 = in.I32(33091);
  s.ConjunctionAltitude2 = in.I32(33095);
  s.BackgroundColor = in.U32(33099);
  s.FixedColor = in.U32(33103);
  s.Font = DecodeTableFontRecord(in.Span<kTableFontRecordSize>(33107));
  return s;
}

// --- clamping ------------------------------------------------------------------------

namespace {

class Clamper {
 public:
  template <typename T>
  void Range(T& value, T low, T high) {
    const T clamped = std::clamp(value, low, high);
    if (clamped != value) {
      value = clamped;
      ++changes_;
    }
  }
  template <typename T>
  void OrDefault(T& value, bool valid, T fallback) {
    if (!valid) {
      value = fallback;
      ++changes_;
    }
  }
  int Changes() const { return changes_; }

 private:
  int changes_ = 0;
};

bool Finite(double v) { return std::isfinite(v); }

constexpr float kPlanetOccultationMagnitudeMax = 10.0f;

}  // namespace

TObserverRecord DefaultConfigPeriodRecord() {
  TObserverRecord r;
  r.Mjd = 51544.0;  // 1 January 2000, 0:00 UT
  UTToLocalTime(r);
  return r;
}

std::uint8_t SavedAutoEndSwitch(const TObserverRecord& start, const TObserverRecord& end) {
  // An end at or before its start with the switch on was never completed:
  // the first start saved its configuration before the first table, with the
  // start moved on to the clock's instant after the end had been set.
  const bool uncompleted = end.Mjd == start.Mjd || (AutoEndSwitch(end) != 0 && end.Mjd < start.Mjd);
  const bool follows = std::fabs(end.Mjd - AutomaticEndMjd(start, end)) < 1e-6 || uncompleted;
  if (!follows) return 0;
  return (AutoEndSwitch(end) != 0 || PeriodAccepted(end) == 0) ? 1 : 0;
}

void RestoreSavedPeriod(TEphemerisPeriodState& period, const TObserverRecord& start, const TObserverRecord& end) {
  period.Start = start;
  period.End = end;
  period.AutoEnd = SavedAutoEndSwitch(start, end);
  SetAutoEndSwitch(period.End, period.AutoEnd);
}

void TakeSavedPeriodLength(TEphemerisPeriodState& period, std::int32_t days, std::int32_t hours) {
  if (hours > 23 || !AutomaticLengthAccepted(days, hours, period.AutoEnd != 0)) return;
  TObserverRecord& end = period.End;
  end.PeriodDays = days;
  if (std::floor(AutomaticPeriodHours(end)) != hours) end.PeriodHours = hours;
}

int ClampConfigSettings(TConfigSettings& s) {
  const TConfigSettings defaults;
  Clamper c;
  c.OrDefault(s.Step, Finite(s.Step.Hours) && Finite(s.Step.StepDays) && s.Step.StepDays != 0, defaults.Step);
  c.OrDefault(s.EclipseSearchMinutes, s.EclipseSearchMinutes >= 1, defaults.EclipseSearchMinutes);
  c.OrDefault(s.EclipseSearchSpanHours, s.EclipseSearchSpanHours >= 1, defaults.EclipseSearchSpanHours);
  c.OrDefault(s.Tolerance, std::isfinite(s.Tolerance) && s.Tolerance > 0 && s.Tolerance < 1, defaults.Tolerance);
  c.OrDefault(s.Satellite, s.Satellite >= 1, defaults.Satellite);
  c.OrDefault(s.SatelliteDays, s.SatelliteDays >= 0, defaults.SatelliteDays);
  c.Range<std::uint8_t>(s.SatelliteSunAltitude, 0, 3);
  c.OrDefault(s.OccultationMagnitude,
              std::isfinite(s.OccultationMagnitude) && s.OccultationMagnitude >= kMagnitudeLimitMin / 100.0f &&
                  s.OccultationMagnitude <= kMagnitudeLimitMax / 100.0f,
              defaults.OccultationMagnitude);
  c.OrDefault(s.PlanetOccultationMagnitude, std::isfinite(s.PlanetOccultationMagnitude),
              defaults.PlanetOccultationMagnitude);
  // The planets' occultation dialog offers 0 to 10 mag (the large catalogue);
  // a repeated search takes the stored limit without the dialog.
  c.Range(s.PlanetOccultationMagnitude, 0.0f, kPlanetOccultationMagnitudeMax);
  c.Range<std::uint8_t>(s.CsvSeparatorIndex, 0, 3);
  c.Range<std::uint8_t>(s.OccultationCatalogue, 0, 2);
  c.Range<std::int32_t>(s.AsteroidDiameter, 0, 2000);
  c.OrDefault(s.VsopLevelA, s.VsopLevelA >= -1 && s.VsopLevelA <= 10, defaults.VsopLevelA);
  c.OrDefault(s.VsopLevelB, s.VsopLevelB >= -1 && s.VsopLevelB <= 10, defaults.VsopLevelB);
  c.OrDefault(s.OccultationStar, s.OccultationStar >= -1, defaults.OccultationStar);
  c.OrDefault(s.ConjunctionStar, s.ConjunctionStar >= 0, defaults.ConjunctionStar);
  c.Range<std::uint8_t>(s.SolarEclipseKinds, 0, 3);
  c.Range<std::int32_t>(s.LunarEclipseKinds, 0, 2);
  for (std::int32_t* altitude :
       {&s.OccultationSunAltitude, &s.LunarEclipseMoonAltitude, &s.PhenomenaSunAltitude, &s.PhenomenaPlanetAltitude,
        &s.ConjunctionSunAltitude, &s.ConjunctionAltitude1, &s.ConjunctionAltitude2}) {
    c.Range<std::int32_t>(*altitude, -kAltitudeLimit, kAltitudeLimit);
  }
  c.Range<std::int32_t>(s.SaturnMoon, 1, 8);
  c.Range<std::int32_t>(s.JupiterMoon, 1, 4);
  c.OrDefault<std::uint8_t>(s.MoonEvent, s.MoonEvent <= 3, 0);
  c.OrDefault(s.TableEquinox, Finite(s.TableEquinox) && std::fabs(s.TableEquinox) <= 100.0, defaults.TableEquinox);
  c.OrDefault(s.MeridianFeatures.Mode, s.MeridianFeatures.Mode >= 0 && s.MeridianFeatures.Mode <= 4,
              defaults.MeridianFeatures.Mode);
  for (std::size_t k = 0; k < kMeridianFeatureCount; ++k) {
    c.OrDefault(s.MeridianFeatures.Longitudes[k], Finite(s.MeridianFeatures.Longitudes[k]),
                defaults.MeridianFeatures.Longitudes[k]);
  }
  c.OrDefault(s.SeparationLimit, Finite(s.SeparationLimit) && s.SeparationLimit >= 0 && s.SeparationLimit <= 360,
              defaults.SeparationLimit);
  for (std::size_t k = 0; k < s.HorizonAltitudes.size(); ++k) {
    const double limit = ReferenceAltitudeLimit(static_cast<int>(k));
    c.OrDefault(s.HorizonAltitudes[k], Finite(s.HorizonAltitudes[k]) && std::fabs(s.HorizonAltitudes[k]) < limit,
                defaults.HorizonAltitudes[k]);
  }
  const TColumnWidths widths = DefaultColumnWidths();
  for (std::size_t k = 0; k < kQuantityCount; ++k) {
    c.OrDefault(s.ColumnWidths[k], s.ColumnWidths[k] >= 0, widths[k]);
  }
  c.OrDefault(s.FixedColWidth, s.FixedColWidth >= 0, defaults.FixedColWidth);
  c.OrDefault(s.FixedRowHeight, s.FixedRowHeight >= 0, defaults.FixedRowHeight);
  // The period's dates within the program's date range, JD 0 (the year
  // -4712) to the last day a table may reach (the year 9999): the start
  // first, the end once it follows from its length, and an end that had to
  // be moved lies not before the start.
  auto clampDate = [&c](TObserverRecord& record, double earliest, double fallback) {
    const double first = std::max(JdToMjd(0.0), earliest);
    const double mjd =
        std::isfinite(record.Mjd) ? std::clamp(record.Mjd, first, JdToMjd(kLastTableJulianDay)) : fallback;
    if (mjd == record.Mjd) return;
    c.OrDefault(record.Mjd, false, mjd);
    UTToLocalTime(record);
  };
  // The local date and time as the MJD gives them in the record's zone,
  // where the stored ones say another instant (a damaged year, a NaN time).
  auto dateFromMjd = [&c](TObserverRecord& record) {
    TObserverRecord fromMjd = record;
    UTToLocalTime(fromMjd);
    constexpr double kHoursTolerance = 1e-6;  // 3.6 ms: more than any rounding of a stored time
    if (fromMjd.Day == record.Day && fromMjd.Month == record.Month && fromMjd.Year == record.Year &&
        std::fabs(fromMjd.LocalHours - record.LocalHours) < kHoursTolerance) {
      return;
    }
    c.OrDefault(record.Year, false, fromMjd.Year);
    record.Day = fromMjd.Day;
    record.Month = fromMjd.Month;
    record.LocalHours = fromMjd.LocalHours;
    record.Weekday = fromMjd.Weekday;
    record.UTHours = record.LocalHours - ZoneOffsetHours(record);
  };
  clampDate(s.Start, JdToMjd(0.0), defaults.Start.Mjd);
  dateFromMjd(s.Start);
  // An automatic length the period dialog would refuse (negative days,
  // hours outside the day) becomes the start-up length; an end that
  // followed from it follows from that one. A length of 0 days and 0 hours
  // gives an end at the start, as a record never completed holds: kept.
  if (!AutomaticLengthAccepted(s.End.PeriodDays, s.End.PeriodHours, false)) {
    const bool automatic = SavedAutoEndSwitch(s.Start, s.End) != 0;
    c.OrDefault(s.End.PeriodDays, false, defaults.PeriodDays);
    s.End.PeriodHours = defaults.PeriodHours;
    if (automatic) {
      s.End.Mjd = AutomaticEndMjd(s.Start, s.End);
      UTToLocalTime(s.End);
    }
  }
  if (!(s.End.Mjd >= JdToMjd(0.0) && s.End.Mjd <= JdToMjd(kLastTableJulianDay)))
    clampDate(s.End, s.Start.Mjd, s.Start.Mjd);
  // An end given as a date is read from its date fields, and may not lie
  // before the start (an automatic end before it is one never completed,
  // which the start's length completes).
  if (SavedAutoEndSwitch(s.Start, s.End) == 0 && s.End.Mjd < s.Start.Mjd) {
    c.OrDefault(s.End.Mjd, false, s.Start.Mjd);
  }
  dateFromMjd(s.End);
  // The period dialog's copy of the length: one the dialog would refuse
  // stands for the end record's own, in the whole hours the dialog takes
  // (read as the check above reads them, so that a length a hair below 0
  // hours, which that check takes for 0, gives 0 and not -1).
  const bool copyAccepted = s.PeriodHours <= 23 && AutomaticLengthAccepted(s.PeriodDays, s.PeriodHours, false);
  const double endHours = std::clamp(std::floor(PackedHoursToHours(s.End.PeriodHours)), 0.0, 23.0);
  c.OrDefault(s.PeriodDays, copyAccepted, s.End.PeriodDays);
  c.OrDefault(s.PeriodHours, copyAccepted, static_cast<std::int32_t>(endHours));
  const TDataFormats formats = DefaultDataFormats();
  for (std::size_t k = 0; k < kQuantityCount; ++k) {
    c.OrDefault(s.DataFormatDecimals[k], s.DataFormatDecimals[k] <= kLargestDecimals, formats.Decimals[k]);
    c.OrDefault(s.DataFormatKind[k], IsValidKind(static_cast<int>(k), s.DataFormatKind[k]), formats.Kinds[k]);
  }
  c.OrDefault(s.UserObject, s.UserObject >= -1, defaults.UserObject);
  c.OrDefault(s.Font.Size, s.Font.Size >= 1, defaults.Font.Size);
  c.Range<std::int32_t>(s.Font.Size, 1, 240);
  c.OrDefault(s.Font.Height, s.Font.Height != 0 && s.Font.Height >= -320 && s.Font.Height <= 320, defaults.Font.Height);
  return c.Changes();
}

// --- paths ----------------------------------------------------------------------------

bool IsForeignPath(const std::string& path) {
  if (path.find('\\') != std::string::npos) return true;
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string LocalConfigPath(const std::string& stored, const std::string& dataFolder) {
  if (!IsForeignPath(stored)) return stored;
  const std::size_t cut = stored.find_last_of("\\/:");
  const std::string name = cut == std::string::npos ? stored : stored.substr(cut + 1);
  if (name.empty() || dataFolder.empty()) return {};
  const std::string local = dataFolder + "/" + name;
  std::error_code error;
  return std::filesystem::is_regular_file(local, error) ? local : std::string();
}

// --- the file -------------------------------------------------------------------------

std::vector<std::uint8_t> ConfigFileBytes(const TConfigRecordImage& record) {
  std::vector<std::uint8_t> bytes(kConfigFileSize, 0);
  const std::size_t length = std::strlen(kConfigFileMagic);
  bytes[0] = static_cast<std::uint8_t>(length);
  std::memcpy(bytes.data() + 1, kConfigFileMagic, length);
  std::copy(record.begin(), record.end(), bytes.begin() + kConfigMagicSize);
  return bytes;
}

ConfigLoadResult CheckConfigFileBytes(const std::string& bytes) {
  const std::size_t length = std::strlen(kConfigFileMagic);
  if (bytes.size() < 1 + length || static_cast<std::uint8_t>(bytes[0]) != length ||
      bytes.compare(1, length, kConfigFileMagic) != 0) {
    return ConfigLoadResult::WrongMagic;
  }
  if (bytes.size() != kConfigFileSize) return ConfigLoadResult::WrongLength;
  return ConfigLoadResult::Loaded;
}

bool tconfig::Save(const std::string& fileName, const TConfigSettings& settings) {
  TConfigRecordImage record = record_;
  std::vector<std::string> refused;
  GatherConfigRecord(settings, record, &refused);
  const std::vector<std::uint8_t> bytes = ConfigFileBytes(record);
  static constexpr TSaveFailureLead kLead = {"Die Konfiguration wurde nicht in {} gespeichert.",
                                             "The configuration was not saved in {}."};
  if (!SaveUserFile(fileName, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), kLead,
                    &read_)) {
    file_name_.clear();
    return false;
  }
  record_ = record;
  file_name_ = fileName;
  // One warning for what the record could not keep: paths saved empty,
  // names with '?' for the characters it cannot hold, or cut.
  std::string german, english;
  if (!refused.empty()) {
    std::string list;
    for (const std::string& path : refused) list += "\n" + path;
    german = "Diese Pfade lassen sich in der Konfigurationsdatei nicht speichern und wurden leer gespeichert:" + list;
    english = "These paths cannot be stored in the configuration file and were saved empty:" + list;
  }
  if (const std::vector<std::string> names = NamesNotStorable(settings); !names.empty()) {
    std::string list;
    for (const std::string& name : names) list += "\n" + name;
    const std::string gap = german.empty() ? "" : "\n\n";
    german += gap +
              "Diese Namen lassen sich in der Konfigurationsdatei nicht unverändert speichern (Zeichen ohne "
              "Windows-1252-Form werden zu \"?\", zu lange Namen werden gekürzt):" +
              list;
    english += gap +
               "These names cannot be stored unchanged in the configuration file (characters without a "
               "Windows-1252 form become \"?\", names too long are cut):" +
               list;
  }
  if (!german.empty()) ShowMessage(german, english, MessageIcon::Warning);
  return true;
}

ConfigLoadResult tconfig::Load(const std::string& fileName, TConfigSettings& settings) {
  std::error_code exists_error;
  if (!std::filesystem::is_regular_file(fileName, exists_error)) return ConfigLoadResult::Missing;
  const TOpenedFile seen = TOpenedFile::Seen(fileName);
  std::string bytes;
  std::string error;
  const char* germanCaption = "Fehler beim Öffnen der Konfigurationsdatei";
  const char* englishCaption = "Error while loading configuration file";
  if (!ReadFileBytes(fileName, bytes, error)) {
    ShowMessage("Die Konfigurationsdatei " + fileName + " kann nicht gelesen werden.",
                "The configuration file " + fileName + " cannot be read.", MessageIcon::Error, MessageButtons::Ok,
                LanguageEnglish != 0 ? englishCaption : germanCaption);
    return ConfigLoadResult::Unreadable;
  }
  const ConfigLoadResult result = CheckConfigFileBytes(bytes);
  if (result == ConfigLoadResult::WrongMagic) {
    ShowMessage("Dies ist keine Kandrevoltinex 4.6 Konfigurationsdatei.",
                "This is no Kandrevoltinex 4.6 configuration file.", MessageIcon::Error, MessageButtons::Ok,
                LanguageEnglish != 0 ? englishCaption : germanCaption);
    return result;
  }
  if (result == ConfigLoadResult::WrongLength) {
    const std::string size = std::to_string(kConfigFileSize);
    ShowMessage("Die Konfigurationsdatei " + fileName + " ist beschädigt: sie ist nicht " + size + " Bytes lang.",
                "The configuration file " + fileName + " is damaged: it is not " + size + " bytes long.",
                MessageIcon::Error, MessageButtons::Ok, LanguageEnglish != 0 ? englishCaption : germanCaption);
    return result;
  }
  std::copy(bytes.begin() + kConfigMagicSize, bytes.end(), reinterpret_cast<char*>(record_.data()));
  file_name_ = fileName;
  read_ = seen;
  settings = ReadConfigRecord(record_);
  return ConfigLoadResult::Loaded;
}

}  // namespace kvx
