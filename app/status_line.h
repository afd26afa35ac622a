// The texts of the main window's status panels, built from the state alone
// so that they can be checked without a window.
#pragma once

#include <cstdint>
#include <string>

#include "app/main_form_state.h"

namespace kvx {

struct TStatusTexts {
  std::string Date;         // Datumpanel: date, local time, zone, UT, JD, sidereal time
  std::string Place;        // Ortpanel: latitude, longitude, place, Delta T
  std::string Accuracy;     // Panel5: accuracy digits of the integration
  std::string Vsop;         // PanelVSOP: planet theory and VSOP levels
  std::string Moon;         // PanelElp: Moon theory
  std::string Integration;  // Panel4: integration speed
};

// The date-panel text of an observer record (English or German labels come
// from the name tables; the separators from IntlSeparators). The UT and the
// local sidereal time are those of the record's MJD and longitude, whatever
// its UTHours and SiderealHours hold.
std::string DatePanelText(const TObserverRecord& start, std::uint8_t apparentSiderealTime);
// The place-panel text; `english` chooses "Lat:"/"Lon:" over "GB:"/"GL:".
std::string PlacePanelText(const TObserverRecord& start, bool english);
// Every panel text of the state (language by `english`).
TStatusTexts BuildStatusTexts(const TMainFormState& state, bool english);

// The names the status line gives the theories: the planet theory 0 to 3
// ("Newcomb", "VSOP87 D", "VSOP87 C", "Positionen aus Datei" / "Positions
// from file"), the Moon theory ("ELP-2000/82" when non-zero, else "Brown").
std::string PlanetTheoryName(std::uint8_t theory, bool english);
std::string MoonTheoryName(std::uint8_t theory);
// What to tell the user when a configuration asks for a theory that is not
// present: for the planets and for the Moon, which theory was asked for and
// which one computes instead. Empty when every theory asked for is in use.
std::string TheoryFallbackText(const TTheorySelection& asked, const TTheorySelection& used, bool english);

}  // namespace kvx
