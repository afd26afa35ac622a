// The options of the searches that the window keeps between runs: those of
// the solar and lunar eclipse searches with the last lunar eclipse found,
// and those of the event searches.
#pragma once

#include <cstdint>

#include "eclipses/lunar_eclipse.h"
#include "events/search_options.h"

namespace kvx {

struct TEclipseSettings {
  double SolarEclipseSearchMinutes = 5;
  double SolarEclipseSearchSpanHours = 8;
  std::int32_t PhaseTableMinutes = 1;  // step of the eclipse phase table
  std::int32_t PhaseTableSeconds = 0;
  std::uint8_t SolarEclipseCriterion = 0;  // the calendar keeps local kinds from this one on (0..3)
  // The lunar-eclipse calendar's criteria and the event list of the last
  // lunar eclipse found.
  TLunarEclipseCriteria LunarCriteria;
  TLunarEclipseList LunarEclipseResults;
};

struct TSearchSettings {
  TEventSearchOptions EventSearchOptions;
  std::uint8_t ResultsIntoTable = 0;  // "Ergebnisse in Tabelle" of the searches
  std::uint8_t EventUsesPeriod = 0;   // "Ephemeridenzeitraum verwenden" of the event search
};

}  // namespace kvx
