// A table request as the tests write it: the records they vary, and the
// program's default tolerance and levels unless given.
#pragma once

#include <cstdint>

#include "engine/table_request.h"

namespace kvx::test {

inline TTableRequest TableRequest(std::uint8_t language, TTheorySelection selection, const TTableConfigRecord& config,
                                  const TObserverRecord& start, const TObserverRecord& end, const TTableStep& step,
                                  long double tolerance = 1e-10L, std::int32_t levelA = -1, std::int32_t levelB = 10) {
  TTableRequest request = PeriodRequest(language, selection, config, start, end, step);
  request.Accuracy.IntegrationTolerance = tolerance;
  request.Accuracy.VsopLevelA = levelA;
  request.Accuracy.VsopLevelB = levelB;
  return request;
}

// Body settings in `language`, the program's defaults else.
inline TBodySettings Body(std::uint8_t language) {
  TBodySettings body;
  body.Language = language;
  return body;
}

}  // namespace kvx::test
