// The objects the commands compute for: the current asteroid, comet and
// variable star, the database asteroid, the user catalogue's object, the
// chosen moons of Jupiter and Saturn with their event, and the transit
// planet. The window holds one; a command that picks or computes an object
// receives it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"
#include "core/element_file_ranges.h"
#include "core/variable_star_elements.h"
#include "platform/save_failure.h"

namespace kvx {

struct TCurrentObjects {
  TAsteroidElements CurrentAsteroid;
  TCometElements CurrentComet;  // its name is the object name ("Kein Komet": none)
  // The current variable star's light elements ("Kein Variabler": none);
  // the variable-star table computes it as it stands.
  TVariableStarElements CurrentVariableStar{.Name = "Kein Variabler", .Type = ""};
  std::string CurrentDatabaseAsteroid;
  std::uint8_t AsteroidDatabase = 0;            // the asteroid from the database ("Keplerelemente verwenden" clear)
  std::int32_t UserObjectIndex = -1;            // the chosen object of the user catalogue, -1 none
  std::string UserCatalogueFile;                // the user catalogue's file, empty for none
  std::vector<std::string> UserCatalogueLines;  // its lines as last read or edited
  TOpenedFile UserCatalogueRead;                // the file as its lines were last read or written
  // The ".eel" files of the asteroid-database folder (full paths), set when
  // the folder changed so that the selection dialog starts its lists anew,
  // and the files last chosen there.
  std::vector<std::string> DatabaseFiles;
  std::uint8_t DatabaseListChanged = 0;
  std::vector<std::string> ChosenDatabaseAsteroids;
  std::uint8_t ElementsChanged = 0;  // the current asteroid or comet was replaced
  // Chosen entry ranges of the user catalogue and the element files.
  TElementFileRanges ElementFileRanges;
  // The moon-event runs: the chosen moon of Jupiter (1..4) and of Saturn's
  // eight-moon list (1..8), and the event code (0..3) both share.
  std::int32_t JupiterMoon = 1;
  std::int32_t SaturnMoon = 1;
  std::uint8_t MoonEvent = 0;
  std::int16_t TransitPlanet = 1;  // the planet of the transit computations
};

}  // namespace kvx
