// The option records of the event and conjunction searches as stored in the
// configuration file, and the step and repetitions texts of their dialogs.
// Any image decodes to a record the dialogs can show (every field in its
// range, the event kind offered by the object), and the decoded record
// re-encodes to a fixed point. A step or repetitions text is accepted only
// as a finite number in its range; a refused one leaves the value as it was.
#include <cmath>
#include <string>

#include "events/search_options.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  std::span<const std::uint8_t> bytes(data, size);

  const TEventSearchOptions e = DecodeEventSearchOptions(bytes);
  fuzz::Require(e.Step >= kMinSearchStep && e.Step <= kMaxSearchStep, "event step in range");
  fuzz::Require(e.Repetitions >= kMinRepetitions && e.Repetitions <= kMaxRepetitions, "event repetitions in range");
  fuzz::Require(EventKindOffered(e.ObjectCode, e.EventKind), "event kind offered by the object");
  const TEventSearchOptionsImage eOnce = EncodeEventSearchOptions(e);
  fuzz::Require(EncodeEventSearchOptions(DecodeEventSearchOptions(eOnce)) == eOnce, "event image fixed point");

  const TConjunctionOptions c = DecodeConjunctionOptions(bytes);
  fuzz::Require(c.Step >= kMinSearchStep && c.Step <= kMaxSearchStep, "conjunction step in range");
  fuzz::Require(c.FirstObject >= 1 && c.FirstObject <= 13 && c.SecondObject <= 11, "conjunction objects");
  fuzz::Require(c.ChosenBody >= 0 && c.ChosenBody <= 9, "chosen body");
  fuzz::Require(c.UserObjectMagnitudeLimit >= kMinMagnitudeLimit && c.MinorBodyMagnitudeLimit <= kMaxMagnitudeLimit,
                "magnitude limits");
  const int kind = ConjunctionKindOf(c);
  fuzz::Require(kind >= 1 && kind <= 3, "conjunction kind");
  const TConjunctionOptionsImage cOnce = EncodeConjunctionOptions(c);
  fuzz::Require(EncodeConjunctionOptions(DecodeConjunctionOptions(cOnce)) == cOnce, "conjunction image fixed point");

  // The texts: the input split at its first zero byte into step and
  // repetitions.
  const std::string all(reinterpret_cast<const char*>(data), size);
  const std::size_t split = all.find('\0');
  const std::string stepText = all.substr(0, split);
  const std::string repetitionsText = split == std::string::npos ? std::string() : all.substr(split + 1);
  double number = -1;
  if (ReadSearchNumber(stepText, number)) fuzz::Require(std::isfinite(number), "a number read is finite");
  double step = 7;
  std::int32_t repetitions = 777;
  if (LeaveStepField(stepText, step)) {
    fuzz::Require(step >= kMinSearchStep && step <= kMaxSearchStep, "step accepted in range");
  } else {
    fuzz::Require(step == 7, "refused step keeps the value");
  }
  if (LeaveRepetitionsField(repetitionsText, repetitions)) {
    fuzz::Require(repetitions >= kMinRepetitions && repetitions <= kMaxRepetitions, "repetitions in range");
  } else {
    fuzz::Require(repetitions == 777, "refused repetitions keep the value");
  }
  step = 7;
  repetitions = 777;
  const TSearchInputError error = CheckSearchInputs(true, false, repetitionsText, stepText, step, repetitions);
  if (error == TSearchInputError::None) {
    fuzz::Require(step >= kMinSearchStep && step <= kMaxSearchStep, "checked step in range");
  }
  return 0;
}
