#include "app/ui/moon_event_commands.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QObject>
#include <QStackedWidget>
#include <QToolBar>
#include <memory>
#include <vector>

#include "app/main_form_state.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "events/moon_phenomena.h"
#include "events/ui/moon_event_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "setup/setup_routines.h"

namespace kvx {

namespace {

// The list lives as long as the window: a child object holds it.
class TMoonEventListHolder : public QObject {
 public:
  explicit TMoonEventListHolder(QObject* parent) : QObject(parent) { setObjectName("MoonEventList"); }
  TMoonEventList List;
};

TMoonEventListHolder* HolderOf(TWindowWidgets& window) {
  // The name is the holder's alone.
  return static_cast<TMoonEventListHolder*>(
      window.Window().findChild<QObject*>("MoonEventList", Qt::FindDirectChildrenOnly));
}

// The window's commands and views stay disabled while a run pumps events
// (the progress panel's cancel button stays usable); enabled again however
// the run ends.
class TDisabledWhileRunning {
 public:
  explicit TDisabledWhileRunning(TWindowWidgets& window) {
    widgets_.push_back(window.Window().menuBar());
    widgets_.push_back(window.CentralStack());
    for (QToolBar* bar : window.Window().findChildren<QToolBar*>()) widgets_.push_back(bar);
    for (QWidget* w : widgets_) {
      if (w != nullptr && w->isEnabled()) {
        w->setEnabled(false);
        disabled_.push_back(w);
      }
    }
  }
  ~TDisabledWhileRunning() {
    for (QWidget* w : disabled_) w->setEnabled(true);
  }
  TDisabledWhileRunning(const TDisabledWhileRunning&) = delete;
  TDisabledWhileRunning& operator=(const TDisabledWhileRunning&) = delete;

 private:
  std::vector<QWidget*> widgets_;
  std::vector<QWidget*> disabled_;
};

// A kind met without a usable period (also from a stored table kind): the
// sheet as it was, the question, and no table.
bool PeriodUsable(TCommandHost& host) {
  TEphemerisPeriodState& s = host.Period();
  if (s.End.Mjd > s.Start.Mjd) return true;
  LeaveWithoutTable(host);
  AskFixEndBeforeStart();
  return false;
}

void RunMoonEventKind(TCommandHost& host, std::int32_t kind) {
  if (!PeriodUsable(host)) return;
  TComputingSettings& computing = host.Computing();
  TCurrentObjects& objects = host.Objects();
  const TEphemerisPeriodState& p = host.Period();
  TMoonEventList& list = HolderOf(host)->List;
  TMoonEventSettings settings;
  settings.Abbreviations = computing.NumericOptions.PhenomenaAbbreviations;
  settings.MinPlanetAltitude = computing.NumericOptions.PhenomenaMinObjectAltitude;
  settings.MaxSunAltitude = computing.NumericOptions.PhenomenaMaxSunAltitude;
  settings.Event = ClampMoonEvent(objects.MoonEvent);
  settings.ApparentSiderealTime = p.ApparentSiderealTime;
  settings.SunMode = p.SunMode;

  std::unique_ptr<TJupiterereignisse> table;
  const std::uint8_t language = LanguageEnglish;
  if (kind == 102 || kind == 104 || kind == 105) {
    table = std::make_unique<TJupiterereignisse>(language, p.Selection, &host.Workbook(), p.TableConfig, p.Start, p.End,
                                                 p.Step, 0, 0, computing.Accuracy.VsopLevelA);
    settings.Moon = ClampMoonNumber(objects.JupiterMoon, 4);
  } else if (kind == 112 || kind == 114 || kind == 115) {
    // The stored number counts in the eight-moon list: the same moon by name.
    const std::int32_t eight = ClampMoonNumber(objects.SaturnMoon, 8);
    settings.Moon = FiveMoonNumberOf(eight);
    if (settings.Moon == 0 && kind == 114) {
      const std::string name = MoonListName(2, eight);
      ShowMessage(name + " ist in der Theorie der fünf Saturnmonde nicht enthalten.",
                  name + " is not part of the theory of five Saturn moons.", MessageIcon::Error);
      LeaveWithoutTable(host);
      return;
    }
    table = std::make_unique<TSaturnereignisse>(language, p.Selection, &host.Workbook(), p.TableConfig, p.Start, p.End,
                                                p.Step, 0, 0, computing.Accuracy.VsopLevelA);
  } else {
    table = std::make_unique<TSaturnereignisseneu>(language, p.Selection, &host.Workbook(), p.TableConfig, p.Start,
                                                   p.End, p.Step, 0, 0, computing.Accuracy.VsopLevelA);
    settings.Moon = ClampMoonNumber(objects.SaturnMoon, 8);
  }
  table->Settings = settings;
  bool ran = false;
  {
    TDisabledWhileRunning disabled(host);
    if (kind >= 112) {
      ran = static_cast<TSaturnereignisse&>(*table).ComputeSaturnMoonEvents(p.PositionFiles, list, kind);
    } else {
      ran = table->ComputeJupiterMoonEvents(p.PositionFiles, list, settings.Abbreviations, kind);
    }
  }
  if (!ran) {
    LeaveWithoutTable(host);
    return;
  }
  // A cancelled run paints what it found and leaves no table kind.
  table->Stopped = table->Aborted;
  host.Window().update();
  host.Tables().PrepareOutput(*table);
  host.Tables().Dispatcher().FinishStandardRun(*table, kind);
}

// The command's part: the period check, a repaint, the kind, the table.
void StartKind(TCommandHost& host, std::int32_t kind) {
  if (!host.Tables().PeriodCheck()) return;
  host.Repaint();
  host.Tables().ComputeKind(kind);
}

void OneMoonCommand(TCommandHost& host, bool jupiter) {
  if (!host.Tables().PeriodCheck()) return;
  TCurrentObjects& s = host.Objects();
  std::int32_t& stored = jupiter ? s.JupiterMoon : s.SaturnMoon;
  std::int32_t moon = ClampMoonNumber(stored, jupiter ? 4 : 8);
  std::uint8_t event = ClampMoonEvent(s.MoonEvent);
  if (!SelectMoonAndEvent(jupiter ? 0 : 2, moon, event, &host.Window())) return;
  stored = moon;
  s.MoonEvent = event;
  StartKind(host, jupiter ? 104 : 117);
}

}  // namespace

void InstallMoonEventCommands(TCommandHost& host) {
  new TMoonEventListHolder(&host.Window());
  TTableDispatcher& dispatcher = host.Tables().Dispatcher();
  for (std::int32_t kind : {102, 104, 105, 112, 113, 114, 115, 116, 117}) {
    dispatcher.Register(kind, [&host, kind] { RunMoonEventKind(host, kind); });
  }
  host.Commands().RegisterEnabled({
      {"Jupitermondereignisse1", [&host] { StartKind(host, 105); }},
      {"KonjunktionenJupitermonde1", [&host] { StartKind(host, 102); }},
      {"ElongationenJupitermonde1", [&host] { OneMoonCommand(host, true); }},
      {"Saturnmondereignisse1", [&host] { StartKind(host, 116); }},
      {"KonjunktionenSaturnmonde1", [&host] { StartKind(host, 113); }},
      {"ElongationenSaturnmonde1", [&host] { OneMoonCommand(host, false); }},
  });
}

const TMoonEventList* MoonEventListOf(TWindowWidgets& window) {
  TMoonEventListHolder* holder = HolderOf(window);
  return holder != nullptr ? &holder->List : nullptr;
}

}  // namespace kvx
