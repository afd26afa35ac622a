// Tables | Central meridian: the surface-feature dialog and the table of
// the feature's central-meridian transits (kind 82); Info | Measuring
// planetary drawings.
#include <QMainWindow>

#include "app/main_form_state.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "core/column_flags.h"
#include "platform/globals.h"
#include "setup/setup_routines.h"
#include "tables/meridian_transit.h"
#include "tables/ui/drawing_measurement_dialog.h"
#include "tables/ui/feature_transit_dialog.h"

namespace kvx {

namespace {

constexpr std::int32_t kMeridianTransitKind = 82;

// Hands each field of the stored features with its field of the transit
// search's settings to `pair`: the one list both conversions walk.
template <typename Features, typename Settings, typename Pair>
void EachFeatureField(Features& features, Settings& settings, Pair pair) {
  pair(features.Mode, settings.system);
  for (std::size_t i = 0; i < kMeridianFeatureCount; ++i) {
    pair(features.Longitudes[i], settings.longitude[i]);
    pair(features.Names[i], settings.name[i]);
  }
}

TFeatureTransitSettings TransitSettingsOf(const TMeridianFeatures& features) {
  TFeatureTransitSettings f;
  EachFeatureField(features, f, [](const auto& stored, auto& used) { used = stored; });
  return f;
}

std::string ShippedFeatureFile(const std::string& dataFolder) { return dataFolder + "/features.csv"; }

}  // namespace

TMeridianFeatures TTableCommands::MeridianFeatures() const {
  TMeridianFeatures features;
  EachFeatureField(features, feature_transit_, [](auto& stored, const auto& used) { stored = used; });
  return features;
}

std::string TTableCommands::SurfaceFeatureFileForConfiguration() const {
  return surface_features_loaded_ ? surface_feature_file_ : ShippedFeatureFile(host_.DataFolder());
}

void TTableCommands::ApplyMeridianFeatures(const std::string& file, const TMeridianFeatures& features) {
  surface_features_loaded_ = true;
  surface_feature_file_ = file;
  if (file.find('*') == std::string::npos && LoadSurfaceFeatureFile(file, surface_features_, false) > 0) {
    feature_transit_ = TransitSettingsOf(features);
    return;
  }
  TMeridianFeatures defaults;
  DefaultMeridianFeatures(defaults, 0, surface_feature_file_, host_.DataFolder());
  feature_transit_ = TransitSettingsOf(defaults);
  surface_features_.clear();
}

void TTableCommands::LoadSurfaceFeaturesOnce() {
  if (surface_features_loaded_) return;
  surface_features_loaded_ = true;
  if (surface_feature_file_.empty()) surface_feature_file_ = ShippedFeatureFile(host_.DataFolder());
  if (LoadSurfaceFeatureFile(surface_feature_file_, surface_features_, false) == 0) surface_feature_file_.clear();
}

void TTableCommands::RegisterMeridianTransitCommands() {
  feature_transit_ = TransitSettingsOf(TMeridianFeatures{});
  dispatcher_->Register(kMeridianTransitKind, [this] {
    TComputingSettings& computing = host_.Computing();
    TDocumentState& document = host_.DocumentState();
    const TEphemerisPeriodState& p = host_.Period();
    ttransitsuche search(p.Start, p.End, feature_transit_, p.TableConfig, p.Selection, computing.Accuracy.VsopLevelA,
                         p.ApparentSiderealTime, BodySettingsOf(computing, LanguageEnglish));
    const bool finished = search.schleife(true);
    const TTableOutputSettings settings = Output();
    document.DocumentSaved = 0;
    search.paint(&host_.Workbook(), &host_.Grid(), document.WorkbookView, settings);
    if (!finished) dispatcher_->ReportCancelled(true);
  });
  host_.Commands().RegisterHandler("Durchgnge1", [this] { Durchgnge1Click(); });
  host_.Commands().RegisterHandler("OrtsbestimmungaufPlaneten1", [this] {
    TComputingSettings& computing = host_.Computing();
    TDocumentState& document = host_.DocumentState();
    TEphemerisPeriodState& period = host_.Period();
    TDrawingMeasurementHooks hooks;
    hooks.Observer = [this] {
      TObserverRecord r = host_.Period().Start;
      LocalTimeToUT(r);
      return r;
    };
    hooks.ChangeDateAndTime = [this] { DatumundOrteingeben1Click(); };
    hooks.Sheet = &host_.Workbook();
    hooks.Config = period.TableConfig;
    hooks.JulianDate = period.TableConfig.Flags[column_flag::kJulianDate] != 0;
    hooks.Selection = period.Selection;
    hooks.VsopLevel = computing.Accuracy.VsopLevelA;
    hooks.Body = BodySettingsOf(computing, LanguageEnglish);
    ShowPlanetMeasurementDialog(hooks, &host_.Window());
    document.DocumentSaved = 0;
  });
}

void TTableCommands::Durchgnge1Click() {
  LoadSurfaceFeaturesOnce();
  if (ShowPlanetFeatureTransitDialog(surface_features_, feature_transit_, surface_feature_file_, &host_.Window()) != 1)
    return;
  if (!PeriodCheck()) return;
  ComputeKind(kMeridianTransitKind);
}

}  // namespace kvx
