// The main window's stored settings and its language: the part of the
// start-up that reads the settings store, the part of the shut-down that
// writes it, and the language setter.
#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "app/file_dialog_texts.h"
#include "app/settings_io.h"
#include "app/ui/about_box.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "core/quantity_headings.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/workbook_view.h"
#include "platform/settings_store.h"

namespace kvx {

namespace {

// True when the rectangle meets the available area of some screen.
bool OnSomeScreen(const QRect& bounds) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (screens.isEmpty()) return true;
  for (const QScreen* screen : screens) {
    if (screen->availableGeometry().intersects(bounds)) return true;
  }
  return false;
}

}  // namespace

void TMainForm::SetLanguage(std::uint8_t language) {
  language_ = language != 0 ? 1 : 0;
  LanguageEnglish = language_;
  const bool english = language_ != 0;
  // Menus, pop-up and context menus, tool-bar hints (the place panel's
  // "Ort wählen" among them), then the file dialogs and the name tables.
  ApplyMenuLanguage(english);
  SetFileDialogLanguage(english);
  SetNameTablesLanguage(english);
  TitlesFollowLanguage(state_.Period.TableConfig, english);
  // Qt's own buttons and dialogs, and the status line's cancel button.
  ApplyQtLanguage(english);
  ApplyDialogButtonLanguage(statusBar()->findChild<QPushButton*>(QStringLiteral("ProgressCancel")), nullptr);
  // A hint left in the status line speaks the old language: it goes.
  ShowHint(QString());
  if (UpdateExternalProgramMenu) UpdateExternalProgramMenu();
  // The help speaks the program's language.
  if (help_) help_->SetHelpFile(HelpFilePath());
  if (startup_flag_ == 0) UpdateStatusLine();
}

void TMainForm::EnglischeVersion1Click() { SetLanguage(language_ == 0 ? 1 : 0); }

void TMainForm::LoadStoredSettings() {
  SettingsStore& store = CurrentSettingsStore();
  startup_flag_ = 1;
  stored_ = ReadStoredSettings(store, state_.DataFolder);
  std::string error;
  integration_dates_ = ReadIntegrationDates(state_.DataFolder + "/jdlist.txt");
  if (!state_.DataFolder.empty()) LoadClocksAtStartup(state_.DataFolder + "/" + kClocksFileName, clocks_);
  // The locale's separators were read before the window; the sheet's number
  // patterns follow its decimal separator.
  state_.Document.SeparatorsUsable = SeparatorsUsable(IntlSeparators) ? 1 : 0;
  RebuildDecimalPatterns();

  if (stored_.FirstRun) {
    // The splash stays above every window; it steps aside while the
    // question waits, so that nothing covers its buttons.
    const bool splashShown = splash_ != nullptr && splash_->isVisible();
    if (splashShown) splash_->hide();
    stored_.Language = AskFirstRunLanguage(store);
    stored_.FirstRun = false;
    if (splashShown) splash_->show();
  }
  SetLanguage(stored_.Language);

  state_.Document.RecentFilesCount = stored_.RecentFilesCount;
  state_.Document.WorkbookView = stored_.Spreadsheet ? 1 : 0;
  state_.Document.DefaultSheetNumber = stored_.DefaultSheetNumber;
  state_.Computing.WarningsOption = stored_.Warnings ? 1 : 0;
  state_.Objects.CurrentDatabaseAsteroid = stored_.CurrentDatabaseAsteroid;

  const TWindowSettings& w = stored_.Window;
  commands_->SetChecked("BreakToolbar1", w.BreakToolbar);
  // The sheet's edit bar (its row with the cell name), shown and checked as
  // it was left.
  workbook_.SetShowEditBar(w.EditBar);
  commands_->SetChecked("Bearbeitungszeile1", w.EditBar);
  const QRect bounds(w.X, w.Y, w.W, w.H);
  if (OnSomeScreen(bounds)) {
    setGeometry(bounds);
  } else {
    stored_.Window.X = 0;
    stored_.Window.Y = 0;
    setGeometry(QRect(0, 0, 600, 400));
  }
  if (w.Maximized) setWindowState(windowState() | Qt::WindowMaximized);
  commands_->SetChecked("s1", w.StatusBar);
  statusBar()->setVisible(w.StatusBar);
  commands_->SetChecked("Symbolleiste1", w.Toolbar);
  if (QToolBar* bar = commands_->ToolBar("SpeedBar")) bar->setVisible(w.Toolbar);
  commands_->SetChecked("Weltzeituhr1", w.Clocks);
  commands_->SetChecked("TabellengrenWerkzeug1", w.TableToolbar);
  if (QToolBar* bar = commands_->ToolBar("TabellenToolbar")) bar->setVisible(w.TableToolbar);

  SetIntegrationTolerance(state_.Computing, 1e-10L);
}

void TMainForm::SaveStoredSettings() {
  SettingsStore& store = CurrentSettingsStore();
  std::string error;
  if (!state_.DataFolder.empty() &&
      !SaveIntegrationDates(state_.DataFolder + "/jdlist.txt", integration_dates_, error)) {
    ShowMessage("Die Liste der Integrationsdaten konnte nicht gespeichert werden: " + error,
                "The list of integration dates could not be saved: " + error, MessageIcon::Error);
  }
  TStoredSettings& s = stored_;
  TWindowSettings& w = s.Window;
  w.Maximized = isMaximized();
  if (!w.Maximized) {
    const QRect bounds = geometry();
    w.X = bounds.x();
    w.Y = bounds.y();
    w.W = bounds.width();
    w.H = bounds.height();
  }
  s.DefaultSheetNumber = state_.Document.DefaultSheetNumber;
  s.RecentFilesCount = state_.Document.RecentFilesCount;
  s.Language = language_;
  s.Spreadsheet = state_.Document.WorkbookView != 0;
  s.Warnings = state_.Computing.WarningsOption != 0;
  s.TipsOfTheDay = state_.TipsFlag != 0;
  s.CurrentDatabaseAsteroid = state_.Objects.CurrentDatabaseAsteroid;
  w.BreakToolbar = commands_->IsChecked("BreakToolbar1");
  w.StatusBar = commands_->IsChecked("s1");
  w.Toolbar = commands_->IsChecked("Symbolleiste1");
  w.Clocks = commands_->IsChecked("Weltzeituhr1");
  w.TableToolbar = commands_->IsChecked("TabellengrenWerkzeug1");
  w.EditBar = workbook_.ShowEditBar();
  // The count of element-list files of the asteroid folder now, compared at
  // the next start.
  WriteStoredSettings(store, s, state_.DataFolder, static_cast<std::int64_t>(state_.Objects.DatabaseFiles.size()));
}

}  // namespace kvx
