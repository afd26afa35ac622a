// The states of the main window's menu items (shown, enabled, checked and,
// for two items, the caption) worked out from what they depend on: the
// theory libraries and position files present, the theory in use, the
// chosen objects, the user catalogue, the view and the sheet. Every menu's
// opening runs this one function, so that a menu offers exactly what can be
// done at that moment. No Qt here; app/ui/menu_state_refresh.cpp applies
// the states to the menus.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "theories/theory_libraries.h"
#include "theories/theory_types.h"

namespace kvx {

// What the states depend on, gathered at the menu's opening.
struct TMenuStateInput {
  // Theories: the libraries and files found at start-up and the selection
  // in use (after the availability rules).
  TLibraryAvailability Libraries;
  bool PositionFiles = false;        // all nine position files are open
  bool IntegrationDatabase = false;  // the position database for integrations is open
  bool UseIntegrationDatabase = false;
  TTheorySelection Selection{};
  // Options and background work.
  bool CatalogueLoading = false;  // the star catalogue is being loaded in the background
  bool Warnings = true;
  bool Hints = true;
  bool SatellitesEnabled = true;  // the period start lies where the satellite tables serve
  bool SatellitesLoaded = true;   // two-line elements are loaded
  bool ConfigurationLoaded = false;
  // Objects: the names the element dialogs hand over ("Kein Planetoid",
  // "Kein Komet", "Kein Variabler" while none is chosen) and whether the
  // user catalogue holds objects.
  std::string AsteroidName = "Kein Planetoid";
  std::string CometName = "Kein Komet";
  std::string VariableStarName = "Kein Variabler";
  bool UserCatalogueLoaded = false;
  // View and sheet.
  bool WorkbookView = true;  // the workbook sheet, not the result grid
  bool EditBarShown = false;
  bool FormulasShown = false;
  bool SheetProtected = false;
  bool DateListInUse = false;   // the ephemeris dates come from a list taken from the sheet
  bool DaylightSaving = false;  // the start record is in daylight-saving time
  bool English = false;
};

// The state of one command (all its menu items and buttons), a menu or a
// tool-bar box, by name; what is not given is left as it is.
struct TMenuItemState {
  std::string Item;
  std::optional<bool> Shown;
  std::optional<bool> Enabled;
  std::optional<bool> Checked;
  const char* Caption = nullptr;
};

// Every state the menus take on opening, each name once.
std::vector<TMenuItemState> MenuStates(const TMenuStateInput& in);

// The names the view decides: the commands, sub-menus and tool-bar boxes
// that act on the workbook sheet only (the menu table's SheetOnly rows) and
// those of the result grid only.
const std::vector<std::string>& SheetOnlyNames();
const std::vector<std::string>& ResultGridOnlyNames();

}  // namespace kvx
