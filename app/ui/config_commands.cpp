// The main window's side of the configuration file: gathering the running
// state into the record's fields, applying a loaded record through the
// setters, and the start-up's load and save of "Varbo4.ocf".
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/config_file.h"
#include "app/status_line.h"
#include "app/ui/asteroid_database_commands.h"
#include "app/ui/document_commands.h"
#include "app/ui/element_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/table_commands.h"
#include "app/ui/user_catalogue_commands.h"
#include "catalogues/ui/element_dialogs.h"
#include "catalogues/ui/variable_star_dialog.h"
#include "core/name_tables.h"
#include "core/observer_record.h"
#include "core/quantity_headings.h"
#include "core/text_conversion.h"
#include "eclipses/lunar_eclipse.h"
#include "eclipses/star_catalogue.h"
#include "engine/nbody_integrator.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "setup/table_config_model.h"
#include "setup/ui/location_dialog.h"
#include "theories/tle.h"

namespace kvx {

namespace {

bool FileExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

bool FolderExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(path, error);
}

// The files the element windows and the place dialog use now; a window that
// has used none yet keeps the stored name.
void GatherDataFiles(TWindowWidgets& window, TConfigSettings& s) {
  auto take = [&s](TConfigPath path, const std::string& name) {
    if (!name.empty()) s.Paths[path] = name;
  };
  if (TElementDialogCommands* dialogs = ElementDialogCommandsOf(window)) {
    const TElementDialogState& asteroids = dialogs->AsteroidDialog().State;
    const TElementDialogState& comets = dialogs->CometDialog().State;
    take(kPathAsteroidElements, asteroids.FileName);
    if (!asteroids.FileName.empty()) s.AsteroidFileFormat = asteroids.ElementFileKind;
    take(kPathCometElements, comets.FileName);
    if (!comets.FileName.empty()) s.CometFileFormat = comets.ElementFileKind;
    take(kPathVariableStars, dialogs->VariableStarDialog().FileName);
  }
  take(kPathLocations, LocationDialog().LocationFileName);
}

// A stored file that exists becomes the window's file and is loaded again
// (a window not shown yet loads it on its first showing). The asteroid
// list takes the leading-zeros option first, so that a stored file is read
// once with it; a list whose file stays reads its file again only when the
// option changed.
void ApplyDataFiles(TWindowWidgets& window, const TConfigSettings& s) {
  if (TElementDialogCommands* dialogs = ElementDialogCommandsOf(window)) {
    TElementeplform& asteroids = dialogs->AsteroidDialog();
    dialogs->SetLeadingZeros(s.LeadingZeros, !FileExists(s.Paths[kPathAsteroidElements]));
    if (FileExists(s.Paths[kPathAsteroidElements])) {
      asteroids.State.FileName = s.Paths[kPathAsteroidElements];
      asteroids.State.ElementFileKind = s.AsteroidFileFormat;
      asteroids.SetAsteroidElementFileName(false);
    }
    TElementekoform& comets = dialogs->CometDialog();
    if (FileExists(s.Paths[kPathCometElements])) {
      comets.State.FileName = s.Paths[kPathCometElements];
      comets.State.ElementFileKind = s.CometFileFormat;
      comets.SetDateiname(false);
    }
    Telementevarform& stars = dialogs->VariableStarDialog();
    if (FileExists(s.Paths[kPathVariableStars]) && s.Paths[kPathVariableStars] != stars.FileName) {
      stars.FileName = s.Paths[kPathVariableStars];
      stars.SetVariableStarFileName(false);
    }
  }
}

}  // namespace

TConfigSettings TMainForm::GatherConfiguration() {
  TConfigSettings s = config_held_;
  const TMainFormState& st = state_;
  const TNumericOptions& o = st.Computing.NumericOptions;
  TakeStateRecords(st, s);
  // The switch and the length of an automatic end travel in the end record.
  // The confirmed byte set beside it says that the switch byte is the main
  // window's own: a file whose confirmed byte is 0 had its switch byte from
  // the period dialog alone, and a loader reads that switch from the end
  // (SavedAutoEndSwitch). Without it, an end shortened by the row limit
  // (which switches the automatic end off) came back switched on whenever
  // no period had been confirmed in the dialog.
  SetAutoEndSwitch(s.End, st.Period.AutoEnd != 0 ? 1 : 0);
  SetPeriodAccepted(s.End, 1);
  // An automatic end is saved as it follows from the saved start, also
  // before the first table has completed it.
  if (st.Period.AutoEnd != 0) {
    s.End.DaylightHours = s.Start.DaylightHours;
    s.End.Mjd = AutomaticEndMjd(s.Start, s.End);
    UTToLocalTime(s.End);
  }
  s.PeriodDays = s.End.PeriodDays;
  s.PeriodHours = static_cast<std::int32_t>(std::floor(AutomaticPeriodHours(s.End)));
  s.Paths[kPathAsteroidDatabase] = stored_.AsteroidFolder;
  s.Paths[kPathTle] = satellite_file_.fileName;
  s.Paths[kPathUserCatalogue] = state_.Objects.UserCatalogueFile;
  GatherDataFiles(*this, s);
  if (tables_ != nullptr) {
    s.Paths[kPathSurfaceFeatures] = tables_->SurfaceFeatureFileForConfiguration();
    s.MeridianFeatures = tables_->MeridianFeatures();
  }
  s.EclipseSearchMinutes = static_cast<std::int32_t>(st.Eclipses.SolarEclipseSearchMinutes);
  s.EclipseSearchSpanHours = static_cast<std::int32_t>(st.Eclipses.SolarEclipseSearchSpanHours);
  s.Integration = Integrator().Setup;
  s.Tolerance = st.Computing.Accuracy.IntegrationTolerance;
  s.LeadingZeros = o.LeadingZeros;
  s.Selection = st.Period.Selection;
  s.Satellite = CurrentSatelliteNumber;
  s.SolarEclipseKinds = st.Eclipses.SolarEclipseCriterion;
  s.EventOptions = st.Searches.EventSearchOptions;
  s.ResultsIntoTable = st.Searches.ResultsIntoTable;
  s.EventUsesPeriod = st.Searches.EventUsesPeriod;
  s.KeplerElementsInverted = st.Objects.AsteroidDatabase;
  s.LunarEclipseKinds = st.Eclipses.LunarCriteria.Kind;
  s.LunarEclipseMoonAltitude = st.Eclipses.LunarCriteria.MinimumAltitude;
  if (tables_ != nullptr) {
    s.SatelliteDays = tables_->SatelliteSettings().EpochWindowDays;
    s.SatelliteSunAltitude = tables_->SatelliteSettings().TwilightChoice;
  }
  s.ApparentTime = st.Period.ApparentSiderealTime;
  s.OccultationMagnitude = o.MagnitudeLimit;
  s.OccultationSunAltitude = o.OccultationMaxSunAltitude;
  s.IntegratorChoice = st.Computing.IntegratorChoice;
  s.CsvSeparatorIndex = st.Document.CsvSeparatorIndex;
  s.DialogTableKind = st.Table.TableConfigPreview;
  s.RiseSetAsJulianDate = st.Table.RiseSetAsJulianDate;
  s.ColumnWidths = st.Table.ColumnWidthTable;
  s.UseIntegrationDatabase = st.Computing.UseIntegrationDatabase;
  s.OccultationCatalogue = st.StarCatalogue.Setting;
  s.Fk4Positions = o.Fk4Positions;
  s.VsopLevelA = st.Computing.Accuracy.VsopLevelA;
  s.VsopLevelB = st.Computing.Accuracy.VsopLevelB;
  s.OccultationStar = st.StarCatalogue.SelectedStar;
  s.PhenomenaSunAltitude = o.PhenomenaMaxSunAltitude;
  s.PhenomenaPlanetAltitude = o.PhenomenaMinObjectAltitude;
  s.JupiterMoon = st.Objects.JupiterMoon;
  s.SaturnMoon = st.Objects.SaturnMoon;
  s.MoonEvent = st.Objects.MoonEvent;
  s.AzimuthFromNorth = o.AzimuthFromNorth;
  s.FastConjunctions = o.FastConjunctions;
  s.TableEquinox = st.Computing.SecondEquinox;
  s.MoonCacheSpan = o.MoonCacheSpan;
  s.MoonCacheOrder = o.MoonCacheOrder;
  s.NeverSlowElp = o.NeverSlowElp;
  s.PhenomenaAbbreviations = o.PhenomenaAbbreviations;
  s.MoonOption = MoonOptionByte(o);
  s.MoonCacheFlag = o.InterpolateMoon;
  s.HorizonAltitudes = o.HorizonAltitudes;
  s.DataFormatDecimals = DataFormatDecimals;
  s.DataFormatKind = DataFormatKind;
  s.UserObject = st.Objects.UserObjectIndex;
  s.ElementFileRanges = st.Objects.ElementFileRanges;
  s.ConjunctionSunAltitude = o.ConjunctionMaxSunAltitude;
  s.ConjunctionAltitude1 = o.ConjunctionMinAltitude1;
  s.ConjunctionAltitude2 = o.ConjunctionMinAltitude2;
  if (documents_ != nullptr) {
    const TResultGridLook& look = documents_->Look();
    s.CellLines = look.CellLines;
    s.FixedLines = look.FixedLines;
    s.ReservedFlag = look.Reserved;
    s.FixedColWidth = look.FixedColWidth;
    s.FixedRowHeight = look.FixedRowHeight;
    s.BackgroundColor = look.GridColor;
    s.FixedColor = look.FixedColor;
    s.Font = look.Font;
  }
  return s;
}

void TMainForm::ApplyConfiguration(TConfigSettings s) {
  ClampConfigSettings(s);
  const std::string& data = state_.DataFolder;
  // A stored path from elsewhere counts by its file name in the data folder.
  for (std::string& path : s.Paths) path = LocalConfigPath(path, data);
  TNumericOptions& o = state_.Computing.NumericOptions;
  const std::int32_t stars = star_catalogue_ ? star_catalogue_->Count() : -1;
  if (stars >= 0 && s.ConjunctionStar > stars) s.ConjunctionStar = 1;
  // The fields whose windows come later keep their values here; the paths
  // only where the rules below take them.
  TConfigSettings& held = config_held_;
  const std::array<std::string, kConfigPathCount> previousPaths = held.Paths;
  held = s;
  held.Paths = previousPaths;

  // 1. Period records, folders and files of the element windows.
  RestoreSavedPeriod(state_.Period, s.Start, s.End);
  TakeSavedPeriodLength(state_.Period, s.PeriodDays, s.PeriodHours);
  if (FolderExists(s.Paths[kPathAsteroidDatabase]) && s.Paths[kPathAsteroidDatabase] != stored_.AsteroidFolder) {
    stored_.AsteroidFolder = s.Paths[kPathAsteroidDatabase];
    state_.Objects.DatabaseListChanged = 1;
    FindAsteroidDatabaseFiles(*this);
  }
  for (TConfigPath only_when_present : {kPathLocations, kPathUserCatalogue, kPathAsteroidElements, kPathCometElements,
                                        kPathVariableStars, kPathStartValues}) {
    if (FileExists(s.Paths[only_when_present])) held.Paths[only_when_present] = s.Paths[only_when_present];
  }
  if (FileExists(s.Paths[kPathLocations])) LocationDialog().SetLocationFile(s.Paths[kPathLocations]);
  if (FileExists(s.Paths[kPathUserCatalogue]) && s.Paths[kPathUserCatalogue] != state_.Objects.UserCatalogueFile) {
    state_.Objects.UserCatalogueFile = s.Paths[kPathUserCatalogue];
    LoadUserCatalogue(*this, false);
  }
  state_.Objects.CurrentAsteroid = s.Asteroid;
  state_.Objects.CurrentComet = s.Comet;
  ApplyDataFiles(*this, s);
  // A record without a name (a file written before the star was kept) keeps
  // the current star.
  if (!s.VariableStar.Name.empty()) state_.Objects.CurrentVariableStar = s.VariableStar;

  // 2. Further file names, the catalogue setting, the variable star.
  for (TConfigPath path : {kPathObservations, kPathStateVectors, kPathBrowser}) {
    if (!s.Paths[path].empty()) held.Paths[path] = s.Paths[path];
  }
  SetOccultationCatalogueSetting(s.OccultationCatalogue);

  // 3. Table set-up, result-grid flags, reference altitudes, integration.
  state_.Period.TableConfig = s.TableConfig;
  TitlesFollowLanguage(state_.Period.TableConfig, LanguageEnglish != 0);
  state_.Period.Step = s.Step;
  state_.Eclipses.SolarEclipseSearchMinutes = s.EclipseSearchMinutes;
  state_.Eclipses.SolarEclipseSearchSpanHours = s.EclipseSearchSpanHours;
  state_.Eclipses.SolarEclipseCriterion = s.SolarEclipseKinds;
  state_.Searches.EventSearchOptions = s.EventOptions;
  state_.Searches.ResultsIntoTable = s.ResultsIntoTable;  // flags as stored: non-zero is set
  state_.Searches.EventUsesPeriod = s.EventUsesPeriod;
  state_.Objects.AsteroidDatabase = s.KeplerElementsInverted;
  state_.Eclipses.LunarCriteria.Kind = static_cast<std::uint8_t>(std::clamp<std::int32_t>(s.LunarEclipseKinds, 0, 2));
  state_.Eclipses.LunarCriteria.MinimumAltitude = ClampLunarMinimumAltitude(s.LunarEclipseMoonAltitude);
  o.HorizonAltitudes = s.HorizonAltitudes;
  Integrator().Setup = s.Integration;

  // 4. Tolerance, theories, satellites and the remaining options.
  SetIntegrationTolerance(state_.Computing, s.Tolerance);
  SetTheorySelection(s.Selection);
  // A theory this installation lacks computes by the fallback; the user is
  // told once, and the configuration keeps what it asked for.
  if (const std::string german = TheoryFallbackText(s.Selection, Selection(), false); !german.empty()) {
    ShowMessage(german, TheoryFallbackText(s.Selection, Selection(), true), MessageIcon::Warning);
  }
  CurrentSatelliteNumber = s.Satellite;
  if (tables_ != nullptr) {
    tables_->SatelliteSettings().EpochWindowDays = s.SatelliteDays;
    tables_->SatelliteSettings().TwilightChoice = s.SatelliteSunAltitude;
  }
  state_.Period.ApparentSiderealTime = s.ApparentTime != 0 ? 1 : 0;
  o.LeadingZeros = s.LeadingZeros;
  o.MagnitudeLimit = s.OccultationMagnitude;
  o.OccultationMaxSunAltitude = s.OccultationSunAltitude;
  o.Fk4Positions = s.Fk4Positions;
  o.PhenomenaMaxSunAltitude = s.PhenomenaSunAltitude;
  o.PhenomenaMinObjectAltitude = s.PhenomenaPlanetAltitude;
  state_.Objects.JupiterMoon = s.JupiterMoon;
  state_.Objects.SaturnMoon = s.SaturnMoon;
  state_.Objects.MoonEvent = s.MoonEvent;
  o.AzimuthFromNorth = s.AzimuthFromNorth;
  o.FastConjunctions = s.FastConjunctions;
  o.ExactMoonParallax = s.ExactMoonParallax;
  o.ExactSunMoon = s.ExactSunMoon;
  o.NeverSlowElp = s.NeverSlowElp;
  o.PhenomenaAbbreviations = s.PhenomenaAbbreviations;
  o.GeometricMoonDistance = s.MoonOption == 0 ? 1 : 0;  // the stored byte is the Moon option
  o.InterpolateMoon = s.MoonCacheFlag;
  SetTableEquinox(s.TableEquinox);
  SetMoonCacheSpan(s.MoonCacheSpan);
  SetMoonCacheOrder(s.MoonCacheOrder);
  SetVsopLevelA(s.VsopLevelA);
  SetVsopLevelB(s.VsopLevelB);
  state_.Computing.IntegratorChoice = s.IntegratorChoice != 0 ? 1 : 0;
  state_.Document.CsvSeparatorIndex = s.CsvSeparatorIndex;
  state_.Table.TableConfigPreview = std::clamp<std::int32_t>(s.DialogTableKind, 0, kPreviewKindCount - 1);
  state_.Table.RiseSetAsJulianDate = s.RiseSetAsJulianDate != 0 ? 1 : 0;
  state_.Computing.UseIntegrationDatabase =
      (s.UseIntegrationDatabase != 0 && state_.Computing.IntegrationDatabase != 0) ? 1 : 0;
  o.ConjunctionMaxSunAltitude = s.ConjunctionSunAltitude;
  o.ConjunctionMinAltitude1 = s.ConjunctionAltitude1;
  o.ConjunctionMinAltitude2 = s.ConjunctionAltitude2;
  state_.Objects.UserObjectIndex = s.UserObject;
  state_.Objects.ElementFileRanges = s.ElementFileRanges;
  // A configuration written with another user catalogue.
  CheckUserCatalogueRange(state_.Objects.ElementFileRanges, user_objects_.Count());
  state_.StarCatalogue.SelectedStar = (stars >= 0 && s.OccultationStar > stars) ? -1 : s.OccultationStar;
  // 5. Column widths, fixed sizes, colours, data formats; 6. the table font.
  state_.Table.ColumnWidthTable = s.ColumnWidths;
  if (documents_ != nullptr) {
    TResultGridLook& look = documents_->Look();
    look.CellLines = s.CellLines;
    look.FixedLines = s.FixedLines;
    look.Reserved = s.ReservedFlag;
    look.FixedColWidth = s.FixedColWidth;
    look.FixedRowHeight = s.FixedRowHeight;
    look.GridColor = s.BackgroundColor;
    look.FixedColor = s.FixedColor;
    look.Font.Size = s.Font.Size;
    look.Font.Height = s.Font.Height;
    if (!s.Font.Name.empty()) look.Font.Name = s.Font.Name;
    look.Font.Color = s.Font.Color;
    look.Font.Style = s.Font.Style;
  }
  DataFormatDecimals = s.DataFormatDecimals;
  DataFormatKind = s.DataFormatKind;

  // 7. The surface features (the built-in ones when their file cannot be
  // read); the satellite file, the built-in set when it gives none. A name
  // that names no file (the "*.tle" a configuration holds when it was saved
  // with the built-in set, or a file removed since) leaves the satellites as
  // they are: "Satelite.tle" of the data folder, read at the start, stays.
  if (tables_ != nullptr) tables_->ApplyMeridianFeatures(s.Paths[kPathSurfaceFeatures], s.MeridianFeatures);
  if (const std::string& tle = s.Paths[kPathTle]; FileExists(tle)) {
    satellite_file_.fileName = tle;
    satellite_file_.count = LoadTleFile(tle, false);
    if (satellite_file_.count == 0) {
      satellite_file_.count = 1;
      SatelliteTable[1] = BuiltInMirEntry();
      SatelliteNames[1] = "Mir";
      satellite_file_.fileName = data + "/*.tle";
      CurrentSatelliteNumber = 1;
    }
  }

  // 8. Data changed; the grid's look; the period completed (no table is written).
  state_.Table.TableChanged = 1;
  if (documents_ != nullptr) {
    ApplyGridLayout(grid_, documents_->Look());
    documents_->ShowLook();
  }
  MarkTableChanged();

  // 9. A period that runs backwards.
  reversed_period_ = state_.Period.Start.Mjd > state_.Period.End.Mjd ? 1 : 0;
}

bool TMainForm::LoadConfiguration(const std::string& fileName) {
  TConfigSettings settings;
  if (config_.Load(fileName, settings) != ConfigLoadResult::Loaded) return false;
  ApplyConfiguration(std::move(settings));
  return true;
}

bool TMainForm::SaveConfiguration(const std::string& fileName) { return config_.Save(fileName, GatherConfiguration()); }

void TMainForm::SaveStartupConfiguration() {
  if (!config_.FileName().empty() || state_.DataFolder.empty()) return;
  SaveConfiguration(state_.DataFolder + "/" + kDefaultConfigFileName);
}

TResultGridLook& TMainForm::GridLook() { return documents_->Look(); }

}  // namespace kvx
