// TTableRequest: everything an ephemeris table object needs from the main
// window to set itself up and run, gathered once and handed over whole. The
// table objects copy what they keep; nothing they compute reads the main
// window's settings behind the caller's back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "core/table_step.h"
#include "engine/accuracy_settings.h"
#include "engine/body_settings.h"
#include "engine/table_sink.h"
#include "theories/theory_types.h"

namespace kvx {

struct TTableRequest {
  std::uint8_t Language = 0;  // 0 German, else English
  TTheorySelection Selection;
  TTableConfigRecord Config;
  TObserverRecord Start;  // period start, local civil time
  TObserverRecord End;    // period end, local civil time
  TTableStep Step;
  TAccuracySettings Accuracy;  // integration tolerance, truncation levels
  // Second output equinox, Julian centuries from J2000 (0 = J2000); its
  // heading text is in Output.
  double SecondEquinoxT = 0;
  TRiseSetSettings RiseSet;
  // What the writers read (the second equinox's heading text among them).
  TTableOutputSettings Output;
  // Date-list mode: when set, the time loop computes one row per line of
  // JulianDateList (each line a Julian day, UT) instead of stepping the
  // period.
  std::uint8_t DateListMode = 0;
  std::vector<std::string> JulianDateList;
};

// The language, second equinox and rise/set settings of a request, as its
// body objects take them.
inline TBodySettings BodySettingsOf(const TTableRequest& request) {
  return TBodySettings{request.Language, request.SecondEquinoxT, request.RiseSet};
}

// A request over start..end by `step`, with the default tolerance, levels
// and output settings.
inline TTableRequest PeriodRequest(std::uint8_t language, TTheorySelection selection, const TTableConfigRecord& config,
                                   const TObserverRecord& start, const TObserverRecord& end, const TTableStep& step) {
  TTableRequest request;
  request.Language = language;
  request.Selection = selection;
  request.Config = config;
  request.Start = start;
  request.End = end;
  request.Step = step;
  return request;
}

}  // namespace kvx
