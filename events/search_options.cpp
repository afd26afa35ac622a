#include "events/search_options.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <numbers>

#include "core/angle_constants.h"
#include "core/conjunction_kinds.h"
#include "core/little_endian.h"
#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "setup/setup_routines.h"

namespace kvx {

namespace le = little_endian;

namespace {

bool ValidStep(double step) { return step >= kMinSearchStep && step <= kMaxSearchStep; }  // false for NaN
bool ValidRepetitions(std::int32_t n) { return n >= kMinRepetitions && n <= kMaxRepetitions; }
bool ValidMagnitudeLimit(double m) { return m >= kMinMagnitudeLimit && m <= kMaxMagnitudeLimit; }

// Kinds offered, as bit masks over 0..23.
constexpr std::uint32_t Bits(std::initializer_list<int> kinds) {
  std::uint32_t mask = 0;
  for (int k : kinds) mask |= 1u << k;
  return mask;
}
constexpr std::uint32_t Range(int from, int to) {
  std::uint32_t mask = 0;
  for (int k = from; k <= to; ++k) mask |= 1u << k;
  return mask;
}
constexpr std::uint32_t kSunKinds = Bits({2, 3, 18, 19, 22});
constexpr std::uint32_t kInnerPlanetKinds = Range(0, 5) | Range(8, 21);
constexpr std::uint32_t kOuterPlanetKinds = Range(0, 7) | Bits({10, 11}) | Range(14, 21);
constexpr std::uint32_t kMoonKinds = Bits({2, 3, 14, 15}) | Range(18, 23);
constexpr std::uint32_t kMinorBodyKinds = Range(0, 7) | Bits({10, 11}) | Range(14, 17);

std::uint32_t OfferedMask(int objectCode) {
  if (objectCode == 0) return kSunKinds;
  if (objectCode == 1 || objectCode == 2) return kInnerPlanetKinds;
  if (objectCode >= 3 && objectCode <= 8) return kOuterPlanetKinds;
  if (objectCode == 9) return kMoonKinds;
  if (objectCode == 10 || objectCode == 11) return kMinorBodyKinds;
  return 0;
}

using T = TEventValueTransform;
// Distances: AU (the Moon's in Earth radii); magnitudes; angles in degrees.
constexpr TEventKindInfo kKinds[24] = {
    {1, false, false, T::Plain, 4, " AE", " AU", "0,00000"},       // 0 perihelion
    {1, true, false, T::Plain, 4, " AE", " AU", "0,00000"},        // 1 aphelion
    {1, false, false, T::Plain, 4, " AE", " AU", "0,00000"},       // 2 perigee
    {1, true, false, T::Plain, 4, " AE", " AU", "0,00000"},        // 3 apogee
    {1, false, false, T::Plain, 1, " mag", " mag", "0,0"},         // 4 brightest
    {1, true, false, T::Plain, 1, " mag", " mag", "0,0"},          // 5 faintest
    {2, false, true, T::None, 0, "", "", ""},                      // 6 opposition
    {2, false, true, T::None, 0, "", "", ""},                      // 7 conjunction
    {1, true, false, T::ArcSinAbsDegrees, 1, " °", " °", "0,0"},   // 8 elongation east
    {1, false, false, T::ArcSinAbsDegrees, 1, " °", " °", "0,0"},  // 9 elongation west
    {1, true, false, T::None, 0, "", "", ""},                      // 10 station, then retrograde
    {1, false, false, T::None, 0, "", "", ""},                     // 11 station, then prograde
    {2, false, true, T::None, 0, "", "", ""},                      // 12 inferior conjunction
    {2, false, true, T::None, 0, "", "", ""},                      // 13 superior conjunction
    {1, false, false, T::ArcCosDegrees, 1, " °", " °", "0,00"},    // 14 latitude extremum
    {1, true, true, T::None, 0, "", "", ""},                       // 15 node passage
    {1, true, false, T::Plain, 1, " °", " °", "0,0"},              // 16 phase angle maximum
    {1, false, false, T::Plain, 1, " °", " °", "0,0"},             // 17 phase angle minimum
    {1, false, false, T::Plain, 1, " °", " °", "0,00"},            // 18 Earth's latitude extremum (signed)
    {1, true, false, T::None, 0, "", "", ""},                      // 19 Earth's latitude zero
    {1, false, false, T::Plain, 1, " °", " °", "0,00"},            // 20 Sun's latitude extremum (signed)
    {1, true, false, T::None, 0, "", "", ""},                      // 21 Sun's latitude zero
    {1, true, true, T::None, 0, "", "", ""},                       // 22 central meridian zero
    {1, true, false, T::Plain, 1, " °", " °", "0,0"},              // 23 libration maximum
};

// With the configured decimal separator.
std::string Fixed(double x, int decimals) { return DotToDecimalSepTrim(FormatFixed(x, 1, decimals)); }

}  // namespace

TEventSearchOptionsImage EncodeEventSearchOptions(const TEventSearchOptions& o) {
  namespace off = event_options_offset;
  TEventSearchOptionsImage image{};
  le::PutF64(&image[off::kStep], o.Step);
  le::PutI32(&image[off::kRepetitions], o.Repetitions);
  image[off::kObjectCode] = o.ObjectCode;
  image[off::kEventKind] = o.EventKind;
  image[off::kSpare] = o.Spare[0];
  image[off::kSpare + 1] = o.Spare[1];
  return image;
}

TEventSearchOptions DecodeEventSearchOptions(std::span<const std::uint8_t> image) {
  namespace off = event_options_offset;
  TEventSearchOptions o;
  if (image.size() < kEventSearchOptionsSize) return o;
  const TEventSearchOptions defaults;
  const double step = le::GetF64(&image[off::kStep]);
  if (ValidStep(step)) o.Step = step;
  const std::int32_t repetitions = le::GetI32(&image[off::kRepetitions]);
  if (ValidRepetitions(repetitions)) o.Repetitions = repetitions;
  const std::uint8_t object = image[off::kObjectCode];
  const std::uint8_t kind = image[off::kEventKind];
  // The pair must be one the dialog can show: an unknown object falls back
  // with its kind to the defaults, a kind the object does not offer to the
  // object's first kind.
  if (OfferedMask(object) != 0) {
    o.ObjectCode = object;
    o.EventKind = EventKindOffered(object, kind) ? kind : static_cast<std::uint8_t>(EventKindsOffered(object).front());
  } else if (EventKindOffered(defaults.ObjectCode, kind)) {
    o.EventKind = kind;
  }
  o.Spare = {image[off::kSpare], image[off::kSpare + 1]};
  return o;
}

TConjunctionOptionsImage EncodeConjunctionOptions(const TConjunctionOptions& o) {
  namespace off = conjunction_options_offset;
  TConjunctionOptionsImage image{};
  image[off::kTopocentric] = o.Topocentric;
  image[off::kInLongitude] = o.InLongitude;
  image[off::kSmallestSeparation] = o.SmallestSeparation;
  image[off::kSpare1] = o.Spare1;
  le::PutF64(&image[off::kStep], o.Step);
  le::PutI32(&image[off::kRepetitions], o.Repetitions);
  image[off::kFirstObject] = o.FirstObject;
  image[off::kSecondObject] = o.SecondObject;
  image[off::kSpare2] = o.Spare2[0];
  image[off::kSpare2 + 1] = o.Spare2[1];
  le::PutI32(&image[off::kChosenBody], o.ChosenBody);
  le::PutF64(&image[off::kUserObjectMagnitudeLimit], o.UserObjectMagnitudeLimit);
  le::PutF64(&image[off::kMinorBodyMagnitudeLimit], o.MinorBodyMagnitudeLimit);
  return image;
}

TConjunctionOptions DecodeConjunctionOptions(std::span<const std::uint8_t> image) {
  namespace off = conjunction_options_offset;
  TConjunctionOptions o;
  if (image.size() < kConjunctionOptionsRecordSize) return o;
  // The three flags are kept as stored (any non-zero byte counts as set).
  o.Topocentric = image[off::kTopocentric];
  o.InLongitude = image[off::kInLongitude];
  o.SmallestSeparation = image[off::kSmallestSeparation];
  o.Spare1 = image[off::kSpare1];
  const double step = le::GetF64(&image[off::kStep]);
  if (ValidStep(step)) o.Step = step;
  const std::int32_t repetitions = le::GetI32(&image[off::kRepetitions]);
  if (ValidRepetitions(repetitions)) o.Repetitions = repetitions;
  const std::uint8_t first = image[off::kFirstObject];
  if (first >= 1 && first <= 13) o.FirstObject = first;
  const std::uint8_t second = image[off::kSecondObject];
  if (second <= 11) o.SecondObject = second;
  o.Spare2 = {image[off::kSpare2], image[off::kSpare2 + 1]};
  const std::int32_t body = le::GetI32(&image[off::kChosenBody]);
  if (body >= 0 && body <= 9) o.ChosenBody = body;
  const double userLimit = le::GetF64(&image[off::kUserObjectMagnitudeLimit]);
  if (ValidMagnitudeLimit(userLimit)) o.UserObjectMagnitudeLimit = userLimit;
  const double minorLimit = le::GetF64(&image[off::kMinorBodyMagnitudeLimit]);
  if (ValidMagnitudeLimit(minorLimit)) o.MinorBodyMagnitudeLimit = minorLimit;
  return o;
}

void SetSearchDefaults(TEventSearchOptions& options) {
  options.Step = kDefaultSearchStep;
  options.Repetitions = kDefaultRepetitions;
}

void SetSearchDefaults(TConjunctionOptions& options) {
  options.Step = kDefaultSearchStep;
  options.Repetitions = kDefaultRepetitions;
  options.Topocentric = 0;
}

int ConjunctionKindOf(const TConjunctionOptions& options) {
  const auto image = EncodeConjunctionOptions(options);
  return ConjunctionKindOf(std::span<const std::uint8_t>(image));
}

std::string ConjunctionKindAbbrev(const TConjunctionOptions& options) {
  const auto image = EncodeConjunctionOptions(options);
  return ConjunctionKindAbbrev(std::span<const std::uint8_t>(image));
}

std::vector<int> EventKindsOffered(int objectCode) {
  std::vector<int> kinds;
  const std::uint32_t mask = OfferedMask(objectCode);
  for (int k = 0; k < 24; ++k) {
    if (mask & (1u << k)) kinds.push_back(k);
  }
  return kinds;
}

bool EventKindOffered(int objectCode, int kind) {
  return kind >= 0 && kind < 24 && (OfferedMask(objectCode) & (1u << kind)) != 0;
}

const TEventKindInfo& EventKindInfo(int kind) { return kKinds[kind >= 0 && kind < 24 ? kind : 0]; }

double EventShownValue(int kind, double value) {
  switch (EventKindInfo(kind).Transform) {
    case T::ArcSinAbsDegrees:
      return std::abs(std::asin(std::clamp(value, -1.0, 1.0))) * 180.0 / kPi;
    case T::ArcCosDegrees:
      return std::acos(std::clamp(value, -1.0, 1.0)) * 180.0 / kPi;
    case T::Plain:
      return value;
    case T::None:
      break;
  }
  return std::numeric_limits<double>::quiet_NaN();
}

std::string EventValueText(int kind, int objectCode, double value) {
  const TEventKindInfo& info = EventKindInfo(kind);
  if (info.Transform == T::None || !std::isfinite(value)) return {};
  const double shown = EventShownValue(kind, value);
  if (objectCode == 9 && kind >= 0 && kind <= 3) return Fixed(shown, 2) + " RD";
  return Fixed(shown, info.Decimals) + ByLanguage(info.UnitGerman, info.UnitEnglish);
}

bool ReadSearchNumber(const std::string& text, double& value) {
  std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return false;
  std::size_t end = text.find_last_not_of(' ') + 1;
  std::string number = text.substr(begin, end - begin);
  int marks = 0, digits = 0;
  for (std::size_t k = 0; k < number.size(); ++k) {
    char& c = number[k];
    if (c == ',' || c == '.') {
      c = '.';
      ++marks;
    } else if (c >= '0' && c <= '9') {
      ++digits;
    } else if (!((c == '-' || c == '+') && k == 0)) {
      return false;
    }
  }
  if (marks > 1 || digits == 0) return false;
  char* stop = nullptr;
  const double parsed = std::strtod(number.c_str(), &stop);
  if (stop != number.c_str() + number.size() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

namespace {
bool ReadRepetitions(const std::string& text, std::int32_t& n) {
  double value = 0;
  if (!ReadSearchNumber(text, value) || value != std::floor(value)) return false;
  if (value < kMinRepetitions || value > kMaxRepetitions) return false;
  n = static_cast<std::int32_t>(value);
  return true;
}
bool ReadStep(const std::string& text, double& step) {
  double value = 0;
  if (!ReadSearchNumber(text, value) || !ValidStep(value)) return false;
  step = value;
  return true;
}
void ShowRepetitionsMessage() {
  ShowMessage("Die Anzahl der Iterationen muß zwischen 150 und 100000 liegen!",
              "The Number of iterations must be >= 150 and <100000!", MessageIcon::Error);
}
void ShowStepMessage() {
  ShowMessage("Der Abstand zwischen zwei Iterationen muß zwischen 0,25 und 25 Tagen liegen!",
              "The distance between two iterations must be >=0,25 and <=25 days!", MessageIcon::Error);
}
}  // namespace

TSearchInputError CheckSearchInputs(bool selectionValid, bool conjunctionDialog, const std::string& repetitionsText,
                                    const std::string& stepText, double& step, std::int32_t& repetitions) {
  TSearchInputError error = TSearchInputError::None;
  if (!selectionValid) error = conjunctionDialog ? TSearchInputError::SameObjects : TSearchInputError::NoSelection;
  if (!ReadRepetitions(repetitionsText, repetitions)) error = TSearchInputError::Repetitions;
  if (!ReadStep(stepText, step)) error = TSearchInputError::Step;
  return error;
}

void ShowSearchInputError(TSearchInputError error) {
  switch (error) {
    case TSearchInputError::NoSelection:
      ShowMessage("Bitte wählen Sie ein Ergeignis.", "Please select an event.", MessageIcon::Error);
      break;
    case TSearchInputError::SameObjects:
      ShowMessage("Es müssen zwei verschiedene Objekte ausgewählt werden!", "Please select two different objects!",
                  MessageIcon::Error);
      break;
    case TSearchInputError::Repetitions:
      ShowRepetitionsMessage();
      break;
    case TSearchInputError::Step:
      ShowStepMessage();
      break;
    case TSearchInputError::None:
      break;
  }
}

bool LeaveStepField(const std::string& text, double& step) {
  if (ReadStep(text, step)) return true;
  ShowStepMessage();
  return false;
}

bool LeaveRepetitionsField(const std::string& text, std::int32_t& repetitions) {
  if (ReadRepetitions(text, repetitions)) return true;
  ShowRepetitionsMessage();
  return false;
}

bool SearchRunInputsUsable(bool selectionValid, bool conjunctionDialog, const std::string& repetitionsText,
                           const std::string& stepText, double& step, std::int32_t& repetitions, bool periodMode,
                           double startMjd, double endMjd) {
  const TSearchInputError error =
      CheckSearchInputs(selectionValid, conjunctionDialog, repetitionsText, stepText, step, repetitions);
  if (error != TSearchInputError::None) {
    ShowSearchInputError(error);
    return false;
  }
  if (periodMode && endMjd <= startMjd) {
    AskFixEndBeforeStart();
    return false;
  }
  return true;
}

}  // namespace kvx
