// The conjunction commands of the main window: "K&onjunktionen..." (Shift+F3,
// the conjunction search) and "&Winkelabstände..." (the separation table),
// both through the conjunction dialog, and table kinds 81 and 86 (the event
// list as a conjunction table).
#pragma once

#include <cstdint>

#include "core/observer_record.h"
#include "events/conjunction_event.h"
#include "events/event_list.h"
#include "events/search_options.h"

namespace kvx {

class TCommandHost;
class TTheoryControl;
struct TComputingSettings;
struct TNumericOptions;

// The table kinds that write the event list as a conjunction table: the
// conjunctions of planets and stars, and the conjunctions found by the
// conjunction dialog or the search over object lists.
inline constexpr std::int32_t kPlanetStarConjunctionKind = 81;
inline constexpr std::int32_t kConjunctionSearchKind = 86;

// Registers kinds 81 and 86 and the two commands, and enables their items.
void InstallConjunctionCommands(TCommandHost& host);

// The conjunction dialog in `mode` (0 conjunctions, 1 separations). Frees
// and clears the event list first; unless the result is 2 (cancel) the
// star and user-object numbers, the options (with the checked objects),
// the separation limit and the three flags are copied back. With 500 the
// event's record is in `start`. Returns 1, 2 or 500.
int ShowConjunctionSearchDialog(std::uint8_t mode, std::uint8_t& asteroidDatabase, std::uint8_t& usePeriod,
                                double& separationLimit, TEventList& events, TObserverRecord& start, TCommandHost& host,
                                TConjunctionOptions& options, std::uint8_t& resultsIntoTable, std::int32_t& starNumber,
                                std::int32_t& userObjectNumber);

// The visibility filter of the conjunction searches and lists: the numeric
// options' altitudes (degrees) of the Sun and of the two bodies.
TVisibilityFilter ConjunctionVisibilityFilter(const TComputingSettings& computing);
// "Filter ändern..." / "Change filter..." of the conjunction dialogs: the
// settings command where it is installed, else the numeric options dialog
// alone. The new filter is then ConjunctionVisibilityFilter.
void ChangeConjunctionFilter(TCommandHost& host);

// The question before a conjunction search with the slow library theories
// (those the search computes with under the options, SearchSelectionOf);
// false when the user cancels it (the answer may switch to the faster series).
bool AskSlowConjunctionSearchTheory(TTheoryControl& theories, const TNumericOptions& options);

void Kionjunktionen1Click(TCommandHost& host);
void Winkelabstnde1Click(TCommandHost& host);

}  // namespace kvx
