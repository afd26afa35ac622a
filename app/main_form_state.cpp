#include "app/main_form_state.h"

#include <cmath>

#include "app/config_file.h"
#include "core/time_scales.h"
#include "eclipses/star_catalogue.h"
#include "setup/column_sets.h"
#include "theories/theory_state.h"

namespace kvx {

void SetStartupDefaults(TMainFormState& s) {
  // The default columns until a configuration file is loaded.
  s.Period.TableConfig = NewTableConfigRecord();
  TObserverRecord& start = s.Period.Start;
  start = TObserverRecord{};
  // Delta T follows the date: a fixed value is right for a few years only.
  start.AutoDeltaT = 1;
  start.Longitude = -9.301;
  start.Latitude = 51.191;
  start.Zone = 1;
  start.ZoneMinutes = 0;
  start.DaylightHours = 0;
  start.RefractionOn = 1;
  start.Height = 0;
  start.Pressure = 1010.0;
  start.Temperature = 10.0;
  CurrentDateToRecord(start);
  LocalTimeToUT(start);

  TObserverRecord& end = s.Period.End;
  end = start;
  end.PeriodDays = 10;
  end.PeriodHours = 0.0;
  s.Period.AutoEnd = 1;

  s.Period.Step = TTableStep{1, 0.0, 1.0};
  s.Eclipses.SolarEclipseSearchMinutes = 5;
  s.Eclipses.SolarEclipseSearchSpanHours = 8;
  s.Table.ObjectNumber = 0;

  s.Computing.Accuracy.VsopLevelA = -1;
  s.Computing.Accuracy.VsopLevelB = 10;
  SetIntegrationTolerance(s.Computing, 1e-10L);
  SetMoonCacheSpan(s.Computing, 0);
  SetMoonCacheOrder(s.Computing, 0);
  s.Computing.NumericOptions.InterpolateMoon = 1;
  s.Computing.NumericOptions.GeometricMoonDistance = 1;
  SetTableEquinox(s.Computing, 0.0);
  s.Computing.NumericOptions.AzimuthFromNorth = 0;
  s.Computing.NumericOptions.ExactMoonParallax = 1;
  s.Computing.NumericOptions.ExactSunMoon = 1;
  s.StarCatalogue.Setting = 1;
  s.StarCatalogue.SelectedStar = -1;

  s.Objects.CurrentAsteroid = TAsteroidElements{};
  s.Objects.CurrentAsteroid.SemiMajorAxis = 1.0;
  s.Objects.CurrentAsteroid.Equinox = 2000.0;
  s.Objects.CurrentAsteroid.H = 1.0;
  s.Objects.CurrentAsteroid.Name = "Kein Planetoid";
  s.Objects.CurrentComet = TCometElements{};
  s.Objects.CurrentComet.Name = "Kein Komet";
  s.Objects.ElementFileRanges = TElementFileRanges{};
  s.Objects.CurrentVariableStar = TVariableStarElements{};
  s.Objects.CurrentVariableStar.Name = "Kein Variabler";

  s.Table.TableKind = kNoTableKind;
  s.Table.PreviousTableKind = kNoTableKind;
  s.Table.TableChanged = 1;  // the first paint completes the period
}

void StartAtCurrentInstant(TMainFormState& s) {
  CurrentDateToRecord(s.Period.Start);
  LocalTimeToUT(s.Period.Start);
  s.Table.TableChanged = 1;
}

void TakeStateRecords(const TMainFormState& state, TConfigSettings& settings) {
  settings.Start = state.Period.Start;
  settings.End = state.Period.End;
  settings.Asteroid = state.Objects.CurrentAsteroid;
  settings.Comet = state.Objects.CurrentComet;
  settings.VariableStar = state.Objects.CurrentVariableStar;
  settings.TableConfig = state.Period.TableConfig;
  settings.Step = state.Period.Step;
  settings.ExactMoonParallax = state.Computing.NumericOptions.ExactMoonParallax;
  settings.ExactSunMoon = state.Computing.NumericOptions.ExactSunMoon;
}

TTableRequest TableRequestOf(const TEphemerisPeriodState& p, const TTableState& table,
                             const TComputingSettings& computing, std::uint8_t language) {
  TTableRequest request;
  request.Language = language;
  request.Selection = p.Selection;
  request.Config = p.TableConfig;
  request.Start = p.Start;
  request.End = p.End;
  request.Step = p.Step;
  request.Accuracy = computing.Accuracy;
  request.SecondEquinoxT = computing.SecondEquinox;
  request.RiseSet = RiseSetSettingsOf(computing);
  request.Output.SecondEquinoxText = SecondEquinoxHeading(computing.SecondEquinox);
  request.Output.AzimuthOrigin = AzimuthOrigin(computing.NumericOptions);
  request.Output.RiseSetAsJulianDate = table.RiseSetAsJulianDate;
  request.Output.ColumnWidthTable = table.ColumnWidthTable;
  request.DateListMode = table.DateListMode;
  request.JulianDateList = table.JulianDateList;
  return request;
}

TBodySettings BodySettingsOf(const TComputingSettings& computing, std::uint8_t language) {
  return TBodySettings{language, computing.SecondEquinox, RiseSetSettingsOf(computing)};
}

std::int32_t ClampMoonCacheSpan(std::int32_t span) {
  if (span == 0) return 12;
  if (span >= 21) return 20;
  if (span < 2) return 2;
  return span;
}

std::int32_t ClampMoonCacheOrder(std::int32_t order) {
  if (order == 0 || order >= 14) return 13;
  if (order < 6) return 6;
  return order;
}

void SetMoonCacheSpan(TComputingSettings& s, std::int32_t span) {
  s.NumericOptions.MoonCacheSpan = ClampMoonCacheSpan(span);
}

void SetMoonCacheOrder(TComputingSettings& s, std::int32_t order) {
  s.NumericOptions.MoonCacheOrder = ClampMoonCacheOrder(order);
}

void SetTableEquinox(TComputingSettings& s, double t) { s.SecondEquinox = t; }

TRiseSetSettings RiseSetSettingsOf(const TComputingSettings& computing) {
  const TNumericOptions& o = computing.NumericOptions;
  TRiseSetSettings r;
  r.Altitudes = o.HorizonAltitudes;
  r.MoonOption = MoonOptionByte(o);
  r.MoonLimb = o.ExactMoonParallax != 0 ? 1 : 0;
  r.Precise = o.ExactSunMoon != 0 ? 1 : 0;
  r.InternalMoon = o.NeverSlowElp != 0 ? 1 : 0;
  return r;
}

std::string SecondEquinoxHeading(double t) {
  std::string text(1, ' ');
  text += std::to_string(static_cast<long long>(std::trunc(YearFromJulianCenturies(t))));
  return text;
}

std::uint8_t DigitsFromTolerance(long double tolerance) {
  // The limits are long double powers of ten; a tolerance made as a power of
  // ten in double or by pow() may lie a few units of its last place above
  // its limit, so each limit is widened by a relative 1e-12.
  for (int digits = 18; digits >= 9; --digits) {
    const long double limit = std::pow(10.0L, static_cast<long double>(-digits));
    if (tolerance <= limit * (1.0L + 1e-12L)) return static_cast<std::uint8_t>(digits);
  }
  return 8;
}

TTheorySelection SearchSelectionOf(const TTheorySelection& selection, const TNumericOptions& options) {
  TTheorySelection used = selection;
  if (options.NeverSlowElp != 0) used.bytes[1] = 0;
  return used;
}

std::uint8_t NextPanelTheory(std::uint8_t current, const TLibraryAvailability& libraries, bool positionFiles) {
  for (int next = current + 1; next <= kPlanetTheoryPositionFiles; ++next) {
    const auto theory = static_cast<std::uint8_t>(next);
    if (PlanetTheoryOffered(theory, libraries, positionFiles)) return theory;
  }
  return kPlanetTheoryInternal;
}

void SetIntegrationTolerance(TComputingSettings& s, long double tolerance) {
  s.Accuracy.IntegrationTolerance = tolerance;
  s.AccuracyDigits = DigitsFromTolerance(tolerance);
}

std::uint8_t OccultationCatalogueLevelOf(const std::string& dataFolder) {
  if (!FindFileIgnoringCase(dataFolder, kLargeStarCatalogueFile).empty()) return 2;
  if (!FindFileIgnoringCase(dataFolder, kSmallStarCatalogueFile).empty()) return 1;
  return 0;
}

void SetOccultationCatalogueSetting(TStarCatalogueState& c, std::uint8_t value) {
  c.Setting = value > c.Level ? c.Level : value;
}

void CheckOccultationCatalogue(TStarCatalogueState& c, const std::string& dataFolder) {
  c.Level = OccultationCatalogueLevelOf(dataFolder);
  if (c.Level < c.Setting) {
    SetOccultationCatalogueSetting(c, c.Level);
  }
  const bool small = !FindFileIgnoringCase(dataFolder, kSmallStarCatalogueFile).empty();
  const bool large = !FindFileIgnoringCase(dataFolder, kLargeStarCatalogueFile).empty();
  if (c.Setting == 1 && !small) {
    SetOccultationCatalogueSetting(c, large ? 2 : 0);
  } else if (c.Setting == 2 && !large) {
    SetOccultationCatalogueSetting(c, small ? 1 : 0);
  }
}

void LowerCatalogueAfterFailedLoad(TStarCatalogueState& c, const std::string& dataFolder, std::uint8_t failedChoice) {
  const bool small = failedChoice != 1 && !FindFileIgnoringCase(dataFolder, kSmallStarCatalogueFile).empty();
  const bool large = failedChoice == 1 && !FindFileIgnoringCase(dataFolder, kLargeStarCatalogueFile).empty();
  c.Level = large ? 2 : (small ? 1 : 0);
  SetOccultationCatalogueSetting(c, large ? 2 : (small ? 1 : 0));
}

std::string CatalogueMissingText(const std::string& dataFolder, bool english) {
  const std::string program = "Kandrevoltinex 4.6";
  if (english) {
    return "The necessary file occinp8.dat was not found in folder " + dataFolder +
           ". Please copy this file into the " + program + " folder and restart " + program + "." +
           " If this does not help, uninstall " + program + " and reinstall it.";
  }
  return "Die notwendige Datei occinp8.dat wurde im Verzeichnis " + dataFolder +
         " nicht gefunden. Bitte kopieren Sie die Datei in den " + program + " - Ordner und starten Sie " + program +
         " neu." + " Wenn dies nicht hilft, deinstallieren Sie " + program +
         " und installieren Sie es anschließend neu.";
}

std::string InstallationIncompleteText(const std::string& shippedFolder, const std::string& dataFolder, bool english) {
  const std::string program = "Kandrevoltinex 4.6";
  if (english) {
    return "The installation of " + program + " is incomplete: its data folder " + shippedFolder +
           " does not exist, so the necessary file occinp8.dat could not be copied into the folder " + dataFolder +
           ". Please reinstall " + program + ".";
  }
  return "Die Installation von " + program + " ist unvollständig: ihr Datenverzeichnis " + shippedFolder +
         " fehlt, daher konnte die notwendige Datei occinp8.dat nicht in das Verzeichnis " + dataFolder +
         " kopiert werden. Bitte installieren Sie " + program + " neu.";
}

std::string DataFolderNotWritableText(const std::string& dataFolder, const std::string& cause, bool english) {
  const std::string program = "Kandrevoltinex 4.6";
  if (english) {
    return "The necessary file occinp8.dat could not be copied into the folder " + dataFolder + ": " + cause +
           ". Please make sure that files can be written in this folder and restart " + program + ".";
  }
  return "Die notwendige Datei occinp8.dat konnte nicht in das Verzeichnis " + dataFolder +
         " kopiert werden: " + cause +
         ". Bitte sorgen Sie dafür, dass in diesem Verzeichnis Dateien geschrieben werden können, und " +
         "starten Sie " + program + " neu.";
}

const char* CatalogueMissingCaption(bool english) { return english ? "Application halted" : "Programm angehalten"; }

}  // namespace kvx
