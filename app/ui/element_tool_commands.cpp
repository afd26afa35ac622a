#include "app/ui/element_tool_commands.h"

#include <QMainWindow>
#include <QObject>
#include <cmath>

#include "app/main_form_state.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "catalogues/ui/astorb_tool.h"
#include "catalogues/ui/element_calculators.h"
#include "catalogues/ui/element_editor_form.h"
#include "catalogues/ui/position_database_tool.h"
#include "core/observer_record.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "core/vector_math.h"
#include "setup/ui/location_editor_form.h"
#include "setup/ui/time_entry_dialogs.h"

namespace kvx {

namespace {

// Holds the kept values as a child of the main window.
class TElementToolHolder : public QObject {
 public:
  explicit TElementToolHolder(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("ElementTools")); }
  TElementToolValues Values;
};

TElementToolHolder& Holder(TWindowWidgets& window) {
  auto* holder =
      window.Window().findChild<TElementToolHolder*>(QStringLiteral("ElementTools"), Qt::FindDirectChildrenOnly);
  if (holder == nullptr) holder = new TElementToolHolder(&window.Window());
  return *holder;
}

constexpr bool kHints = true;

}  // namespace

TElementToolValues& ElementToolValues(TWindowWidgets& window) { return Holder(window).Values; }

bool AskDayWithFraction(const TObserverRecord& periodStart, bool hints, double& jd, QWidget* parent) {
  // The dialog names the day UT, so the day is taken as UT: a time typed
  // from a circular must not move by the observer's zone.
  double mjd = jd - 2400000.5;
  if (jd == 0) {
    TObserverRecord now = periodStart;
    CurrentDateToRecord(now);
    LocalTimeToUT(now);
    mjd = now.Mjd;
  }
  TUniversalDay day = UniversalDayOf(mjd);
  if (ShowDayFractionDialog(hints, day, parent) != 1) return false;
  const double whole = std::floor(day.Day);
  jd = CalendarDateToJd(static_cast<int>(whole), day.Month, day.Year, (day.Day - whole) * 24.0);
  return true;
}

void InstallElementToolCommands(TCommandHost& host) {
  TMenuCommands& commands = host.Commands();
  Holder(host);
  TCommandHost* owner = &host;
  // The element-file editors of the file utilities menu.
  auto jd = [owner] { return MjdToJd(owner->Period().Start.Mjd); };
  commands.RegisterHandler("BahnelementedateienfrPlanetoideneditieren1",
                           [owner, jd] { EditAsteroidElementFile(owner->DataFolder(), jd(), &owner->Window()); });
  auto dayFraction = [owner](double& value) {
    return AskDayWithFraction(owner->Period().Start, kHints, value, &owner->Window());
  };
  commands.RegisterHandler("BahnelementedateienfrKometeneditieren1", [owner, jd, dayFraction] {
    EditCometElementFile(kHints, owner->DataFolder(), jd(), &owner->Window(), dayFraction);
  });
  commands.RegisterHandler("DateienmitVernderlichenSterneneditieren1", [owner, jd, dayFraction] {
    EditVariableStarFile(kHints, owner->DataFolder(), jd(), &owner->Window(), dayFraction);
  });
  commands.RegisterHandler("DateienmitGeogrPositioneneditieren1",
                           [owner] { EditLocationFile(owner->DataFolder(), &owner->Window()); });
  commands.RegisterHandler("AstorbDatenbanktool1", [owner] { ShowAstorbConversionTool(&owner->Window()); });
  commands.RegisterHandler("Datenbankenerstellen1", [owner] {
    TPositionDatabaseHost databaseHost;
    databaseHost.DataFolder = owner->DataFolder();
    databaseHost.Vsop87C = owner->TheoryState().Libraries.Vsop87C != 0;
    databaseHost.ClosePositionFiles = [owner] { owner->ReleasePositionFiles(); };
    databaseHost.ReopenPositionFiles = [owner] { owner->ReopenPositionFiles(); };
    ShowPositionDatabaseTool(databaseHost, &owner->Window());
  });
  commands.RegisterHandler("TglicheBewegung1", [owner] {
    TElementToolValues& v = ElementToolValues(*owner);
    if (!InputSemimajorAxis(kHints, v.SemimajorAxis, &owner->Window())) return;
    ShowAxisAndDailyMotion(kHints, v.SemimajorAxis, MeanDailyMotion(v.SemimajorAxis), &owner->Window());
  });
  commands.RegisterHandler("Periheldistanz1", [owner] {
    TElementToolValues& v = ElementToolValues(*owner);
    if (!InputAQTransformation(kHints, v.AqAxis, v.AqEccentricity, 1, &owner->Window())) return;
    ShowAQResult(kHints, v.AqAxis, PerihelionDistance(v.AqEccentricity, v.AqAxis), &owner->Window());
  });
  commands.RegisterHandler("TransformationBahnlageelemente1", [owner] {
    TElementToolValues& v = ElementToolValues(*owner);
    const double jd = MjdToJd(owner->Period().Start.Mjd);
    if (!InputOrbitOrientationElements(kHints, v.Orientation, jd, &owner->Window())) return;
    TOrientationRecord result = v.Orientation;
    ReduceOrientationElements(result);
    ShowOrbitOrientationResult(kHints, result, &owner->Window());
  });
}

}  // namespace kvx
