// The stored observer record: reading it from a file's bytes, then the time
// conversions and the date and time texts of an accepted record. A record
// that is accepted converts to a calendar date and shows no NaN; encoding a
// decoded record and decoding it again gives the same image.
#include <cmath>
#include <cstring>

#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  std::span<const std::uint8_t> bytes(data, size);

  // Any image decodes, and re-encodes to a fixed point.
  if (size >= kObserverRecordSize) {
    TObserverRecordBytes once = EncodeObserverRecord(DecodeObserverRecord(bytes.first<kObserverRecordSize>()));
    TObserverRecordBytes twice = EncodeObserverRecord(DecodeObserverRecord(once));
    fuzz::Require(once == twice, "image round trip");
  }

  TObserverRecord r;
  std::string problem;
  if (!ReadObserverRecord(bytes, r, problem)) {
    fuzz::Require(!problem.empty(), "refusal has a message");
    return 0;
  }
  fuzz::Require(problem.empty(), "no message on success");

  std::string text;
  ObserverDateText(r, text);
  ObserverDateTimeText(r, text);

  TObserverRecord toUT = r;
  LocalTimeToUT(toUT);
  fuzz::Require(std::isfinite(toUT.Mjd) && std::isfinite(toUT.UTHours), "local time to UT finite");

  TObserverRecord toLocal = r;
  UTToLocalTime(toLocal);
  fuzz::Require(std::isfinite(toLocal.DeltaTSeconds), "Delta T finite");
  fuzz::Require(toLocal.Month >= 1 && toLocal.Month <= 12 && toLocal.Day >= 1 && toLocal.Day <= 31,
                "UT to local date");
  fuzz::Require(toLocal.Weekday >= 0 && toLocal.Weekday <= 6, "weekday");
  fuzz::Require(std::isfinite(toLocal.LocalHours), "local hours finite");
  ObserverDateTimeText(toLocal, text);

  TObserverRecord fromMjd = r;
  ObserverRecordDateFromMjd(fromMjd);
  ObserverRecordMjdFromDate(fromMjd);
  return 0;
}
