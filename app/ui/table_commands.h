// The main window's table commands and its time and place commands: each
// checks what it needs, stores a table kind (for planets the planet number)
// and runs the dispatcher, which computes the table into the sheet or the
// result grid. The kinds of the Sun, the Moon, the planets, the asteroid,
// the comet, the user object, the integrated orbits and the integrator's
// state vectors are registered here; later subsystems register theirs on
// Dispatcher().
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/table_dispatcher.h"
#include "core/records.h"
#include "setup/setup_routines.h"
#include "tables/coordinate_conversion.h"
#include "tables/meridian_transit.h"
#include "tables/satellite_table.h"
#include "tables/surface_features.h"

namespace kvx {

class TKeplereph;
class TCommandHost;
class Teinzelephform;
class tuserlist;

class TTableCommands : public QObject {
  Q_OBJECT

 public:
  explicit TTableCommands(TCommandHost& host);
  ~TTableCommands() override;

  TTableDispatcher& Dispatcher() { return *dispatcher_; }
  // ComputeTable with its exception shown at the command's boundary.
  void ComputeTable();
  // The period check of the main window's period (CheckEphemerisPeriod with
  // its theory selection and status line): clamps the end, limits the rows,
  // completes both records.
  void CheckPeriod();

  // --- the table commands ----------------------------------------------------
  // The end must lie after the start; otherwise AskFixEndBeforeStart (its
  // Yes opens the period dialog) and false.
  bool PeriodCheck();
  void PlainCommand(std::int32_t kind);
  // Makes `kind` the table to compute; a kind other than the one written
  // last marks the table changed.
  void SelectKind(std::int32_t kind);
  // SelectKind, then ComputeTable.
  void ComputeKind(std::int32_t kind);
  // ComputeKind, then the window repainted at once (the runs that show the
  // eclipse panel or leave a dialog behind).
  void ComputeKindThenRepaint(std::int32_t kind);
  void PlanetTableCommand(std::int32_t objectNumber);
  void Sonne1Click() { PlainCommand(51); }
  void Pluto1Click();
  void Planetoid1Click() { PlainCommand(21); }
  void KeineTabelle1Click();

  // --- the Moon, the comet, the user object and the integrated orbits ---------
  void Mond1Click() { PlainCommand(61); }
  void Komet1Click() { PlainCommand(41); }
  // The object picked from the user catalogue becomes the current one, then
  // its table; nothing when the picker is cancelled (index -1).
  void Benutzerkatalog1Click();
  // The integrated asteroid or comet orbit (kinds 22, 42) and the data for
  // an element file (4014, 4016): the slow-theory question first.
  void IntegratedOrbitCommand(std::int32_t kind);
  // "Write state vector": the integrator's state vectors into the sheet.
  void EingabemaskefrStatusvektor1Click();
  // The user-catalogue picker: the index of the chosen object of the list,
  // -1 when cancelled. The catalogue item stays disabled until one is set.
  std::function<int(const tuserlist&)> FindUserCatalogObject;

  // --- time and place ----------------------------------------------------------
  void DatumundOrteingeben1Click();
  void Ortwhlen1Click();
  void ZeitraumfrTabelle1Click();
  // The dispatcher after a command that changed a setting (date, place,
  // period, theory, table set-up): without a table kind it completes the
  // period and refreshes the menus; the sheet and the grid keep what they
  // hold. Only a table command writes a table.
  void ComputeWithoutKind();
  // After a set-up dialog gave the tables new columns (F8, the column
  // titles): the table the sheet or the grid shows is computed again with
  // them, when it is an ephemeris table of a body over the period that the
  // last table command wrote and the sheet has not been changed since (its
  // undo is still open); otherwise as ComputeWithoutKind, and the sheet
  // keeps what it holds.
  void RecomputeShownTable();

  // Every menu state of the window anew (the window's refresh): the table
  // commands without a handler stay disabled, and the rules of the menus'
  // openings (app/menu_states.h) decide the rest.
  void RefreshMenus();

  // --- the moons, the moon phases and the Earth satellites ---------------------
  // (app/ui/moon_satellite_commands.cpp)
  // Objects | Satellites: the selection dialog; Info | Earth satellites: the
  // visibility search, whose OK moves the period start.
  void Satelliten1Click();
  void Erdsatelliten1Click();
  Tsatellitenephfenster& SatelliteTable() { return *satellite_table_; }
  TSatelliteSettings& SatelliteSettings() { return satellite_settings_; }

  // --- the seasons (app/ui/season_commands.cpp) -------------------------------
  // Tables | Seasons: the seasons of every year of the period (kind 90).
  void Jahreszeiten1Click();

  // --- the variable stars and the Info tools -----------------------------------
  // (app/ui/tool_commands.cpp)
  // Info | Gauss-Krüger: the conversion dialog; "Werte übernehmen" moves the
  // observer.
  void GaussKrgergeogr1Click();
  // Info | Transformations: the coordinate dialog; OK with its switch set
  // writes the position in every frame (kind 890).
  void Coordinateconversion1Click();
  TCoordinateBlock& CoordinateBlock() { return coordinate_block_; }

  // --- the central-meridian transits (app/ui/meridian_transit_commands.cpp) ----
  // Tables | Central meridian: the feature dialog, then kind 82.
  void Durchgnge1Click();
  TFeatureTransitSettings& FeatureTransit() { return feature_transit_; }
  TSurfaceFeatureList& SurfaceFeatures() { return surface_features_; }
  // The features file in use ("" until the first use loads the default).
  std::string& SurfaceFeatureFile() { return surface_feature_file_; }
  // The chosen feature as the configuration stores it, and the features
  // file it names (the data folder's "features.csv" until another is used).
  TMeridianFeatures MeridianFeatures() const;
  std::string SurfaceFeatureFileForConfiguration() const;
  // A loaded configuration's features file and chosen feature: the file's
  // features become the list; a file that cannot be read gives the
  // built-in features, an empty list and the name of the data folder's
  // "*.csv" (no file in use).
  void ApplyMeridianFeatures(const std::string& file, const TMeridianFeatures& features);

  // --- the daily overview, the state vectors and the single-date page ----------
  // (app/ui/overview_commands.cpp)
  // One body at the period start on the single-date page (body index 0 .. 12).
  void ShowSingleDate(std::int32_t kind);
  // The page, made on first use and kept.
  Teinzelephform& SingleDatePage();

  // The records of a table over the main window's period, in the program's
  // language, with the window's output settings (the table font's scale
  // comes with Output, when the table is written).
  TTableRequest Request() const;
  // The same with the period start as start and end: the batch tables,
  // whose objects are each tabulated at that instant.
  TTableRequest InstantRequest() const;
  // The output settings every table writer of the window reads (those of
  // Request): the second equinox's heading, the azimuth origin, rise and set
  // as Julian dates, the VSOP82 flag, the grid's column widths and the
  // table font's scale.
  TTableOutputSettings Output() const;
  // Makes an ephemeris object write into the window's sheet and grid.
  void PrepareOutput(TKeplereph& table);
  // Runs a time-loop table over the main window's period, writes it and
  // finishes the run.
  void RunStandardTable(TKeplereph& table, std::int32_t kind);

 protected:
  // Double-clicks on the date and place panels of the status line.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RegisterKinds();
  void RegisterBodyKinds();
  // The run of an integrating kind after initialisieren: the start must lie
  // at least 0.99 days from the element epoch `epochJd` (otherwise the
  // message and the period dialog, nothing computed), then the integrated
  // rows and the ephemeris (or, for the element-file kinds, the element)
  // table.
  void RunIntegratedTable(TKeplereph& table, std::int32_t code, double epochJd, const std::string& name);
  void RegisterCommands();
  void RegisterMoonAndSatelliteKinds();
  // The satellite table set up from the period and the settings; false
  // (no table kind) when its satellites do not pass the check for the
  // current satellite (`currentOnly`) or for all.
  bool PrepareSatelliteTable(bool currentOnly);
  void RegisterSeasonKind();
  void RegisterToolCommands();
  void RegisterMeridianTransitCommands();
  // The features of the last file, or of the shipped one, on first use.
  void LoadSurfaceFeaturesOnce();
  void RegisterOverviewKinds();
  // The planet tables of the theory libraries (kinds 872 and 874) and their
  // menu items.
  void RegisterLibraryTables();
  void RefreshLibraryTableMenus();
  // The table commands' items by whether their table kind has a handler.
  void RefreshHandlerMenus();
  // The location dialog's default file: "orte.csv" in the data folder.
  void PrepareLocationFile();

  TCommandHost& host_;
  std::unique_ptr<TTableDispatcher> dispatcher_;
  bool table_begun_ = false;  // the running table opened an undo transaction
  // The satellite table lives from start-up to shut-down.
  std::unique_ptr<Tsatellitenephfenster> satellite_table_;
  TSatelliteSettings satellite_settings_;
  // The event list of the seasons table: filled by the command, emptied
  // when kind 90 has written it.
  std::vector<tjahreszeitergebnis> seasons_;
  // The coordinate dialog's position and results-to-table switch, kept
  // between calls.
  TCoordinateBlock coordinate_block_;
  std::uint8_t coordinate_to_table_ = 0;
  // The surface feature of the central-meridian transits and the features
  // file's list, kept between calls.
  TFeatureTransitSettings feature_transit_;
  TSurfaceFeatureList surface_features_;
  std::string surface_feature_file_;
  bool surface_features_loaded_ = false;

  QPointer<Teinzelephform> single_date_page_;
};

// A search or a kind that did not end in a table: the sheet as it was before
// the kind cleared it, and no table kind.
void LeaveWithoutTable(TCommandHost& host);

}  // namespace kvx
