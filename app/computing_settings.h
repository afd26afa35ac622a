// The settings every computation of the window reads: the truncation levels,
// the integration tolerance, the numeric options with the Moon cache, the
// second equinox, the integrator and the options of the searches and of the
// theory warnings. The window holds one; a command that computes receives
// it. Each value has one home here: the switches of the searches ("use the
// Newcomb theories for conjunctions and events", "never the slow ELP2000
// Moon theory"), the azimuth origin, the Moon cache and the Moon's distance,
// and the rise/set altitudes and switches live in NumericOptions, and the
// records the tables and searches take are made from them where a request
// is built (RiseSetSettingsOf, app/main_form_state.h; AzimuthOrigin and
// MoonOptionByte, setup/numeric_options.h). The full calculation of the
// occultations is the star catalogue's setting (TStarCatalogueState).
#pragma once

#include <cstdint>

#include "engine/accuracy_settings.h"
#include "setup/numeric_options.h"
#include "theories/theory_types.h"

namespace kvx {

struct TComputingSettings {
  // The integration tolerance and the truncation levels of the ephemerides
  // ("Full" at first) and of the integration.
  TAccuracySettings Accuracy;
  std::uint8_t AccuracyDigits = 10;  // digits of the integration tolerance
  // The numeric options; the Moon cache's span (days of one Chebyshev fit)
  // and order (coefficients) live here, set through their setters.
  TNumericOptions NumericOptions;
  double SecondEquinox = 0.0;  // Julian centuries from J2000
  std::uint8_t SatellitesEnabled = 0;
  std::uint8_t IntegrationDatabase = 0;     // the position database for integrations is present
  std::uint8_t UseIntegrationDatabase = 0;  // integrations read the planets from that database
  std::uint8_t IntegratorChoice = 0;        // 0 Runge-Kutta, otherwise Adams
  std::uint8_t WarningsOption = 1;          // ask before a slow theory computes
  TTheorySelection SavedSelection;          // the live selection kept around a search
};

}  // namespace kvx
