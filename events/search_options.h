// The option records of the event and conjunction searches, the event kinds
// they offer, and the input checks their dialogs share.
//
// Binary layouts (little-endian, packed; stored as they are in the
// configuration file):
//
// TEventSearchOptions, 16 bytes
//   0  f64  step, days between two evaluations (valid 0.25 .. 25)
//   8  i32  repetitions, steps per search window (valid 150 .. 100000)
//  12  u8   object code: 0 Sun, 1..8 Mercury..Pluto, 9 Moon, 10 asteroid, 11 comet
//  13  u8   event kind, search_code (one the object offers; core/event_kinds.h)
//  14  2 bytes spare, kept as read
//
// TConjunctionOptions, 40 bytes
//   0  u8   topocentric (1) or geocentric (0)
//   1  u8   conjunction in ecliptic longitude
//   2  u8   smallest angular separation
//   3  u8   spare, kept as read
//   4  f64  step, days (valid 0.25 .. 25)
//  12  i32  repetitions (valid 150 .. 100000)
//  16  u8   first object: 1..8 Mercury..Pluto, 9 Moon, 10 asteroid, 11 comet, 12 star, 13 user object
//  17  u8   second object: 0 Sun, 1..8 Mercury..Pluto, 9 Moon, 10 asteroid, 11 comet
//  18  2 bytes spare, kept as read
//  20  i32  chosen body of the user-catalogue conjunction list: 0 Sun .. 8 Pluto, 9 Moon
//  24  f64  magnitude limit of user-catalogue objects (valid -3 .. 30)
//  32  f64  magnitude limit of asteroids and comets (valid -3 .. 30)
//
// The decoders read every field by its offset; a field out of its range
// (or a step that is not a number) takes its default, so no dialog ever
// shows an invalid choice. Defaults are the values of a first start.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/event_kinds.h"

namespace kvx {

inline constexpr double kDefaultSearchStep = 15.0;        // days ("Vorgaben")
inline constexpr std::int32_t kDefaultRepetitions = 300;  // steps per window ("Vorgaben")
inline constexpr double kMinSearchStep = 0.25, kMaxSearchStep = 25.0;
inline constexpr std::int32_t kMinRepetitions = 150, kMaxRepetitions = 100000;
inline constexpr double kMinMagnitudeLimit = -3.0, kMaxMagnitudeLimit = 30.0;

struct TEventSearchOptions {
  double Step = kDefaultSearchStep;
  std::int32_t Repetitions = kDefaultRepetitions;
  std::uint8_t ObjectCode = 3;  // Mars
  std::uint8_t EventKind = 6;   // opposition
  std::array<std::uint8_t, 2> Spare{};
};

struct TConjunctionOptions {
  std::uint8_t Topocentric = 0;
  std::uint8_t InLongitude = 0;
  std::uint8_t SmallestSeparation = 0;
  std::uint8_t Spare1 = 0;
  double Step = kDefaultSearchStep;
  std::int32_t Repetitions = kDefaultRepetitions;
  std::uint8_t FirstObject = 2;   // Venus
  std::uint8_t SecondObject = 4;  // Jupiter
  std::array<std::uint8_t, 2> Spare2{};
  std::int32_t ChosenBody = 0;  // Sun
  double UserObjectMagnitudeLimit = kMaxMagnitudeLimit;
  double MinorBodyMagnitudeLimit = kMaxMagnitudeLimit;
};

inline constexpr std::size_t kEventSearchOptionsSize = 16;
inline constexpr std::size_t kConjunctionOptionsRecordSize = 40;

// Field offsets of the two images.
namespace event_options_offset {
inline constexpr std::size_t kStep = 0, kRepetitions = 8, kObjectCode = 12, kEventKind = 13, kSpare = 14;
}
namespace conjunction_options_offset {
inline constexpr std::size_t kTopocentric = 0, kInLongitude = 1, kSmallestSeparation = 2, kSpare1 = 3, kStep = 4,
                             kRepetitions = 12, kFirstObject = 16, kSecondObject = 17, kSpare2 = 18, kChosenBody = 20,
                             kUserObjectMagnitudeLimit = 24, kMinorBodyMagnitudeLimit = 32;
}
static_assert(event_options_offset::kSpare + 2 == kEventSearchOptionsSize);
static_assert(conjunction_options_offset::kMinorBodyMagnitudeLimit + 8 == kConjunctionOptionsRecordSize);

using TEventSearchOptionsImage = std::array<std::uint8_t, kEventSearchOptionsSize>;
using TConjunctionOptionsImage = std::array<std::uint8_t, kConjunctionOptionsRecordSize>;

TEventSearchOptionsImage EncodeEventSearchOptions(const TEventSearchOptions& options);
// A short image (fewer than 16 bytes) gives the defaults.
TEventSearchOptions DecodeEventSearchOptions(std::span<const std::uint8_t> image);
TConjunctionOptionsImage EncodeConjunctionOptions(const TConjunctionOptions& options);
// A short image (fewer than 40 bytes) gives the defaults.
TConjunctionOptions DecodeConjunctionOptions(std::span<const std::uint8_t> image);

// The "Vorgaben" buttons: step 15 days, 300 repetitions; the conjunction
// record also becomes geocentric.
void SetSearchDefaults(TEventSearchOptions& options);
void SetSearchDefaults(TConjunctionOptions& options);

// Conjunction kind of the record: 3 smallest separation, else 2 longitude,
// else 1 right ascension; its abbreviation "A.S.", "K.L." or "K.RA".
int ConjunctionKindOf(const TConjunctionOptions& options);
std::string ConjunctionKindAbbrev(const TConjunctionOptions& options);

// The event kinds body `body` (0..11) offers (the event-kind table's
// Bodies), ascending; empty for any other code.
std::vector<int> EventKindsOffered(int body);
bool EventKindOffered(int body, int eventKind);

// The value of an event of kind `eventKind` as it is shown, from the
// engine's quantity (the kind's TEventValueTransform): degrees for the
// elongations and latitude extremes, the value itself for the other kinds
// with a value, NaN for the kinds without one.
double EventShownValue(int eventKind, double value);
// The value of a found event as shown: number with its decimals and the unit
// after a blank (the Moon's distances: 2 decimals " RD" / " ER"); empty for
// kinds without a value and for a value that is not finite.
std::string EventValueText(int eventKind, int body, double value);

// --- Input checks of the search dialogs -----------------------------------
// Reads a decimal number typed with "." or "," as the decimal mark, blanks
// around it allowed; no exponent, no "nan"/"inf". False when the text is no
// such number or does not fit a double.
bool ReadSearchNumber(const std::string& text, double& value);

// Error codes of the dialogs' check (0: all valid).
enum class TSearchInputError { None, NoSelection, SameObjects, Repetitions, Step };
// The check of "Suchen": first the selection (no event chosen, or the two
// conjunction objects equal), then the repetitions (150 .. 100000), then the
// step (0.25 .. 25 days); each failure replaces the earlier one and only the
// last is reported. Values read so far are stored into step/repetitions.
TSearchInputError CheckSearchInputs(bool selectionValid, bool conjunctionDialog, const std::string& repetitionsText,
                                    const std::string& stepText, double& step, std::int32_t& repetitions);
// Shows the message of a failure in an error box; nothing for None.
void ShowSearchInputError(TSearchInputError error);
// The checks of "Suchen" before a run: CheckSearchInputs (its failure
// shown), then, in period mode, the period's end after its start (MJD;
// AskFixEndBeforeStart when not). False when the run must not start.
bool SearchRunInputsUsable(bool selectionValid, bool conjunctionDialog, const std::string& repetitionsText,
                           const std::string& stepText, double& step, std::int32_t& repetitions, bool periodMode,
                           double startMjd, double endMjd);
// The checks on leaving a field: a valid entry is stored, an invalid one
// shows the field's message and the previous value stays.
bool LeaveStepField(const std::string& text, double& step);
bool LeaveRepetitionsField(const std::string& text, std::int32_t& repetitions);

}  // namespace kvx
