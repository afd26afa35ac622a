#include "app/menu_states.h"

#include <algorithm>

#include "app/menu_table.h"
#include "app/sheet_editing.h"
#include "theories/theory_state.h"

namespace kvx {

namespace {

// The result grid's own items: its layout and colours.
constexpr const char* kResultGridOnly[] = {"Layout1", "Farben1"};

// Sheet-only items that are hidden, not greyed, in the result-grid view.
constexpr const char* kHiddenWithGrid[] = {"Suchen1", "Ersetzen1", "Bearbeitungszeile1"};

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The name a row's state goes by: a command for items and buttons, its own
// name for sub-menus and tool-bar boxes; "" for rows the view leaves alone
// (separators, tool bars, context menus and the menus of the menu bar,
// whose titles stay usable).
std::string StateName(const TMenuRow& row) {
  switch (row.Kind) {
    case TMenuRowKind::Item:
    case TMenuRowKind::Button:
      return row.Command;
    case TMenuRowKind::Menu:
      return *row.Parent != '\0' ? row.Name : "";
    case TMenuRowKind::Widget:
      return row.Name;
    case TMenuRowKind::ContextMenu:
    case TMenuRowKind::ToolBar:
    case TMenuRowKind::Separator:
      break;
  }
  return "";
}

// The states, each name once: a later rule for a name already listed
// narrows it (enabled and shown only when every rule says so) or sets what
// the earlier left open.
class TStateList {
 public:
  TMenuItemState& At(const std::string& name) {
    for (TMenuItemState& state : states_) {
      if (state.Item == name) return state;
    }
    states_.push_back(TMenuItemState{name, std::nullopt, std::nullopt, std::nullopt, nullptr});
    return states_.back();
  }
  void Enable(const std::string& name, bool on) {
    std::optional<bool>& enabled = At(name).Enabled;
    enabled = enabled.value_or(true) && on;
  }
  void Show(const std::string& name, bool on) {
    std::optional<bool>& shown = At(name).Shown;
    shown = shown.value_or(true) && on;
  }
  void Check(const std::string& name, bool on) { At(name).Checked = on; }
  std::vector<TMenuItemState> Take() { return std::move(states_); }

 private:
  std::vector<TMenuItemState> states_;
};

// The Settings menu's theory items: a theory is offered only when its
// library or files are there; the marks show the selection in use.
void TheoryStates(const TMenuStateInput& in, TStateList& s) {
  const TLibraryAvailability& lib = in.Libraries;
  const std::uint8_t planets = in.Selection.PlanetTheory();
  struct Planet {
    const char* Item;
    std::uint8_t Theory;
  };
  constexpr Planet kPlanetItems[] = {{"NewcombscheTheorienverwenden1", kPlanetTheoryInternal},
                                     {"usevsop871", kPlanetTheoryVsop87D},
                                     {"VSOP87Cverwenden1", kPlanetTheoryVsop87C},
                                     {"PositionenausDateilesen1", kPlanetTheoryPositionFiles}};
  for (const Planet& item : kPlanetItems) {
    const bool offered = PlanetTheoryOffered(item.Theory, lib, in.PositionFiles);
    s.Show(item.Item, offered);
    s.Check(item.Item, offered && planets == item.Theory);
  }
  s.Show("ELP2000Mondtheorieverwenden1", lib.Elp2000 != 0);
  s.Check("ELP2000Mondtheorieverwenden1", in.Selection.MoonTheory() != 0);
  s.Show("DatenbankfrIntegrationenverwenden1", in.IntegrationDatabase);
  s.Check("DatenbankfrIntegrationenverwenden1", in.IntegrationDatabase && in.UseIntegrationDatabase);
  s.Show("RechengenauigkeitfrdieVSOPTheorien1", lib.Vsop87C != 0 || lib.Vsop87D != 0);
  // The VSOP tools of the Ephemerides menu.
  s.Enable("StatusvektorVSOP87C1", lib.Vsop87C != 0);
  s.Show("StatusvektorVSOP87A1", lib.Vsop87A != 0);
  s.Enable("StatusvektorVSOP87A1", lib.Vsop87A != 0);
  s.Show("OrbitalElementsVSOP87A1", lib.Vsop82 != 0);
  s.Enable("OrbitalElementsVSOP87A1", lib.Vsop82 != 0);
}

// The commands of the chosen objects, the options and the catalogues.
void ObjectStates(const TMenuStateInput& in, TStateList& s) {
  s.Enable("Optionen2", !in.CatalogueLoading);
  s.Check("Warnheinweisezeigen1", in.Warnings);
  s.Check("Schnellhilfeanzeigen1", in.Hints);
  for (const char* item : {"Satellit1", "AlleSatelliten1"}) s.Enable(item, in.SatellitesEnabled && in.SatellitesLoaded);
  // The integrated orbits and the single-date pages follow the tables; the
  // whole-file runs of the element-file data need no chosen object.
  const bool asteroid = in.AsteroidName != "Kein Planetoid";
  const bool comet = in.CometName != "Kein Komet";
  for (const char* item : {"Planetoid1", "Planetoiden2", "Planetoid3", "Planetoidenbahn1"}) s.Enable(item, asteroid);
  for (const char* item : {"Komet1", "Kometen2", "Komet3", "Kometenbahn1"}) s.Enable(item, comet);
  s.Enable("VernderlicherStern1", in.VariableStarName != "Kein Variabler");
  s.Enable("DatumausKonfiguration2", in.ConfigurationLoaded);
  for (const char* item : {"Benutzerkatalog1", "Benutzerkatalog2"}) s.Enable(item, in.UserCatalogueLoaded);
  for (const char* item : {"Sternbedeckungen1", "OccultationsofStarsbyPlanets1"}) s.Enable(item, !in.CatalogueLoading);
  s.At("Sommerzeit1").Caption = DaylightSavingCaption(in.DaylightSaving, in.English);
}

// The view: the sheet-only items in the sheet, the grid's own items in the
// grid; the sheet's switches and the date list.
void ViewStates(const TMenuStateInput& in, TStateList& s) {
  for (const std::string& name : SheetOnlyNames()) s.Enable(name, in.WorkbookView);
  for (const std::string& name : ResultGridOnlyNames()) s.Enable(name, !in.WorkbookView);
  for (const char* name : kHiddenWithGrid) s.Show(name, in.WorkbookView);
  s.Check("Tabellenkalkulation1", in.WorkbookView);
  s.Check("Bearbeitungszeile1", in.EditBarShown);
  s.Check("Formelnanzeigen1", in.FormulasShown);
  // Unprotected, the protection toggle reads as the menu has it.
  const TMenuRow* protection = FindMenuRow("Zellschutzaktivieren1");
  s.At("Zellschutzaktivieren1").Caption = in.SheetProtected || protection == nullptr
                                              ? ProtectionCaption(in.SheetProtected, in.English)
                                              : RowCaption(*protection, in.English);
  s.Check("EphemeridenzeitpunkteausTabelle1", in.DateListInUse);
}

}  // namespace

const std::vector<std::string>& SheetOnlyNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    for (const TMenuRow& row : MenuTable()) {
      const std::string name = StateName(row);
      if (row.SheetOnly && !name.empty() && !Contains(list, name)) list.push_back(name);
    }
    return list;
  }();
  return names;
}

const std::vector<std::string>& ResultGridOnlyNames() {
  static const std::vector<std::string> names(std::begin(kResultGridOnly), std::end(kResultGridOnly));
  return names;
}

std::vector<TMenuItemState> MenuStates(const TMenuStateInput& in) {
  TStateList states;
  TheoryStates(in, states);
  ObjectStates(in, states);
  ViewStates(in, states);
  return states.Take();
}

}  // namespace kvx
