// The integration commands of the main window: the integrator and the
// orbit-determination state, made on first use; the sheet prepared for a
// batch table and the numerical integration (F11) on the integrator's
// set-up, Runge-Kutta or Adams by the integrator choice.
#include <QApplication>
#include <algorithm>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "engine/nbody_adams.h"
#include "engine/nbody_integrator.h"

namespace kvx {

truKu& TMainForm::Integrator() {
  if (!integrator_) integrator_ = std::make_unique<truKu>(&workbook_);
  return *integrator_;
}

TOrbitDeterminationState& TMainForm::OrbitDetermination() {
  if (!orbit_) {
    orbit_ = std::make_unique<TOrbitDeterminationState>();
    orbit_->OrbDet.Create(state_.DataFolder, Selection(), &orbit_->Observations, state_.Computing.Accuracy.VsopLevelA,
                          state_.Computing.Accuracy.VsopLevelB);
  }
  return *orbit_;
}

void TMainForm::PrepareSheetForBatch() {
  try {
    if (state_.Document.UndoFlag == 1) {
      state_.Document.UndoFlag = 0;
      if (workbook_.InTransaction()) workbook_.TransactionCommit();
    }
  } catch (...) {
    // A failed commit leaves the old table as it is; the new one still starts.
  }
  workbook_.TransactionBegin();
  state_.Document.UndoFlag = 1;
  workbook_.ClearRange(-1, -1, -1, -1, 1);
}

void TMainForm::NumerischeIntegration1Click() {
  repaint();
  PrepareSheetForBatch();
  const TTableConfigRecord& config = state_.Period.TableConfig;
  if (state_.Computing.IntegratorChoice != 0) {
    TAdamsPeriod period;
    period.StartMjd = state_.Period.Start.Mjd;
    period.EndMjd = state_.Period.End.Mjd;
    period.StepDays = state_.Period.Step.StepDays;
    RunAdamsIntegration(Integrator(), workbook_, grid_, state_.Document.WorkbookView, config, period,
                        state_.Computing.Accuracy.IntegrationTolerance, LanguageEnglish);
  } else {
    Integrator().Integrate(config, LanguageEnglish);
  }
  state_.Document.DocumentSaved = 0;
}

void TMainForm::StateVectorOutput() {
  truKu& integrator = Integrator();
  integrator.sg = &workbook_;
  integrator.Grid = &grid_;
  integrator.WorkbookView = state_.Document.WorkbookView;
  integrator.WriteStateVectors(state_.Period.TableConfig, 1, 1, LanguageEnglish);
  if (state_.Document.WorkbookView == 0) return;
  const int lastRow = std::max(1, workbook_.LastRow());
  const int lastCol = std::max(1, workbook_.LastCol());
  // Fitted from the titles on: the long header cell may run over.
  workbook_.SetColWidthAuto(2, 1, lastRow, lastCol);
  workbook_.SetSelection(1, 1, 1, 1);
}

void TMainForm::RegisterIntegrationCommands() {
  commands_->RegisterHandler("NumerischeIntegration1", [this] { NumerischeIntegration1Click(); });
}

}  // namespace kvx
