// The conjunction lists of user objects: "&Planeten und Sterne..." (one body
// against the user catalogue, table kind 81) and "&Konjunktionen für
// Objektlisten..." (user objects against asteroids or comets, kind 86).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/element_file_ranges.h"
#include "events/event_list.h"
#include "events/search_options.h"

namespace kvx {

class TCommandHost;

// Registers both commands and enables their items.
void InstallUserConjunctionCommands(TCommandHost& host);

// The dialog of one body against the user objects. Frees and clears the
// event list first; true on OK, with the separation limit, the options (the
// typed step, the chosen body) and the file ranges copied back.
bool ShowPlanetStarConjunctionDialog(TCommandHost& host, double& separationLimit, TConjunctionOptions& options,
                                     TEventList& events, TElementFileRanges& ranges);
// The dialog of user objects against asteroids or comets; on OK also the
// two flags.
bool ShowConjunctionListDialog(TCommandHost& host, std::uint8_t& databaseFlag, std::uint8_t& cometFlag,
                               double& separationLimit, TConjunctionOptions& options, TEventList& events,
                               TElementFileRanges& ranges);

void PlanetenundSterne1Click(TCommandHost& host);
void KonjunktionenfrObjektlisten1Click(TCommandHost& host);

}  // namespace kvx
