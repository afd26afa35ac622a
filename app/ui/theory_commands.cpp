// The theory selection commands of the main window: the planet and Moon
// theory items, the theory panel's cycle, the question before a slow
// computation, the selection kept around searches, the integration
// database switch and the accuracy of the VSOP series.
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/menu_state_refresh.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "theories/theory_state.h"
#include "theories/ui/vsop_accuracy_dialog.h"

namespace kvx {

namespace {

// Runs a function on a widget's double click.
class DoubleClickFilter : public QObject {
 public:
  DoubleClickFilter(QObject* parent, std::function<void()> action) : QObject(parent), action_(std::move(action)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonDblClick) {
      action_();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> action_;
};

constexpr const char* kDefaultSlowGerman =
    "Soll die Berechnung der Störungen wirklich nach der vollständigen VSOP87 erfolgen? Wenn Sie auf Nein "
    "klicken, wird ein vereinfachtes Verfahren angewandt.";
constexpr const char* kDefaultSlowEnglish =
    "Do you really want to calculate perturbations by the complete VSOP87? Pressing no, a quicker method will "
    "be used.";

}  // namespace

void TMainForm::ShowTheoryMarks() {
  if (!commands_) return;
  ApplyMenuStates(*this);
}

void TMainForm::TheoryMenuClick(const char* command, std::uint8_t planetTheory) {
  // The click has toggled the mark; a checked item asks for its theory. The
  // marks then show what is in use (unchecking the theory in use keeps it).
  // A theory whose library or files are missing is not offered; should its
  // item run all the same, the theory in use stays.
  const bool offered = PlanetTheoryOffered(planetTheory, theory_.Libraries, theory_.VscFilesPresent != 0);
  if (offered && commands_->IsChecked(command)) {
    TTheorySelection requested = Selection();
    requested.bytes[0] = planetTheory;
    SetTheorySelection(requested);
  }
  ShowTheoryMarks();
  UpdateStatusLine();
  state_.Table.TableChanged = 1;
  MarkTableChanged();
}

void TMainForm::PanelVSOPDblClick() {
  TTheorySelection requested = Selection();
  requested.bytes[0] = NextPanelTheory(requested.bytes[0], theory_.Libraries, theory_.VscFilesPresent != 0);
  SetTheorySelection(requested);
  UpdateStatusLine();
}

bool TMainForm::SlowTheoryQuestion(const std::string& german, const std::string& english, int mode) {
  if (state_.Computing.WarningsOption == 0 || state_.Computing.NumericOptions.FastConjunctions != 0) return true;
  QApplication::beep();
  const bool useDefault = german.empty() && english.empty();
  const MessageResult answer = ShowMessage(
      useDefault ? kDefaultSlowGerman : german, useDefault ? kDefaultSlowEnglish : english, MessageIcon::Question,
      MessageButtons::YesNoCancel, ByLanguage("Zeitaufwendige Berechnung!", "Slow calculation method!"));
  if (answer == MessageResult::No) {
    TTheorySelection requested = Selection();
    if (mode == 0 || mode == 2) requested.bytes[0] = kPlanetTheoryInternal;
    if (mode == 1 || mode == 2) requested.bytes[1] = 0;
    SetTheorySelection(requested);
    UpdateStatusLine();
  }
  repaint();
  return answer != MessageResult::Cancel;
}

void TMainForm::SaveTheoryForSearch() {
  state_.Computing.SavedSelection = Selection();
  if (state_.Computing.NumericOptions.FastConjunctions != 0) {
    // Directly, not through the selection rules: the search alone runs on it.
    state_.Period.Selection.bytes[0] = 0;
    state_.Period.Selection.bytes[1] = 0;
  }
}

void TMainForm::RestoreTheoryAfterSearch() {
  SetTheorySelection(state_.Computing.SavedSelection);
  UpdateStatusLine();
}

void TMainForm::RegisterTheoryCommands() {
  commands_->RegisterHandler("usevsop871", [this] { TheoryMenuClick("usevsop871", kPlanetTheoryVsop87D); });
  commands_->RegisterHandler("VSOP87Cverwenden1",
                             [this] { TheoryMenuClick("VSOP87Cverwenden1", kPlanetTheoryVsop87C); });
  commands_->RegisterHandler("NewcombscheTheorienverwenden1",
                             [this] { TheoryMenuClick("NewcombscheTheorienverwenden1", kPlanetTheoryInternal); });
  commands_->RegisterHandler("PositionenausDateilesen1",
                             [this] { TheoryMenuClick("PositionenausDateilesen1", kPlanetTheoryPositionFiles); });
  commands_->RegisterHandler("ELP2000Mondtheorieverwenden1", [this] {
    TTheorySelection requested = Selection();
    requested.bytes[1] = commands_->IsChecked("ELP2000Mondtheorieverwenden1") ? theory_.Libraries.Elp2000 : 0;
    SetTheorySelection(requested);
    UpdateStatusLine();
    state_.Table.TableChanged = 1;
    MarkTableChanged();
  });
  commands_->RegisterHandler("DatenbankfrIntegrationenverwenden1", [this] {
    if (state_.Computing.IntegrationDatabase != 0) {
      // The action has already toggled its mark: the switch follows it.
      state_.Computing.UseIntegrationDatabase = commands_->IsChecked("DatenbankfrIntegrationenverwenden1") ? 1 : 0;
    }
    UpdateStatusLine();
    if (state_.Computing.IntegrationDatabase == 0) return;
    state_.Table.TableChanged = 1;
    MarkTableChanged();
  });
  commands_->RegisterHandler("RechengenauigkeitfrdieVSOPTheorien1", [this] {
    // The dialog opens on the levels in use, those the status line shows.
    TTruncationLevel ephemeris = state_.Computing.Accuracy.VsopLevelA;
    TTruncationLevel integration = state_.Computing.Accuracy.VsopLevelB;
    if (ShowVsopAccuracyDialog(ephemeris, integration, this) == TVSOPRechengenauigkeit::kResultOk) {
      SetVsopLevelA(ephemeris);
      SetVsopLevelB(integration);
      UpdateStatusLine();
    }
  });
  for (const char* name : {"PanelVSOP", "Finsternispanel"}) {
    if (QLabel* panel = Panel(name))
      panel->installEventFilter(new DoubleClickFilter(panel, [this] { PanelVSOPDblClick(); }));
  }
}

}  // namespace kvx
