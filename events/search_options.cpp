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

// A body whose options the dialog can show: one that offers kinds.
bool BodyOffersKinds(int body) { return !EventKindsOffered(body).empty(); }

using T = TEventValueTransform;

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
  if (BodyOffersKinds(object)) {
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

std::vector<int> EventKindsOffered(int body) {
  std::vector<int> kinds;
  if (body < 0 || body > search_kind::kComet) return kinds;
  for (const TEventKindInfo& info : EventKindRows()) {
    if ((info.Bodies & EventBodyBit(body)) != 0) kinds.push_back(info.Code);
  }
  return kinds;
}

bool EventKindOffered(int body, int eventKind) {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  return info != nullptr && body >= 0 && body <= search_kind::kComet && (info->Bodies & EventBodyBit(body)) != 0;
}

double EventShownValue(int eventKind, double value) {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  if (info == nullptr) return std::numeric_limits<double>::quiet_NaN();
  switch (info->Transform) {
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

std::string EventValueText(int eventKind, int body, double value) {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  if (info == nullptr || info->Transform == T::None || !std::isfinite(value)) return {};
  const double shown = EventShownValue(eventKind, value);
  if (MoonDistanceInEarthRadii(eventKind, body)) return Fixed(shown, kMoonDistanceDecimals) + " " + kMoonDistanceUnit;
  return Fixed(shown, info->Decimals) + ByLanguage(info->UnitGerman, info->UnitEnglish);
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
  return StrToFloatDot(number, value);
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
