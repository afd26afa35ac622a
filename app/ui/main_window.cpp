#include "app/main_window.h"

#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <cstdlib>

#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "theories/theory_libraries.h"

namespace kvx {

namespace {

// The user's data folder: position files, satellite elements and the other
// files the program reads and keeps.
std::string UserDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (xdg != nullptr && *xdg != '\0') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : ".") + "/.local/share";
  }
  return base + "/kandrevoltinex";
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(kMainWindowCaption);
  menuBar();
  workbook_view_ = new TWorkbookView(workbook_, this);
  setCentralWidget(workbook_view_);
  auto* status = statusBar();

  auto* progress_caption = new QLabel(status);
  auto* progress_bar = new QProgressBar(status);
  auto* cancel = new QPushButton(ByLanguage("&Abbrechen", "&Cancel"), status);
  status->addPermanentWidget(progress_caption);
  status->addPermanentWidget(progress_bar);
  status->addPermanentWidget(cancel);
  progress_caption->hide();
  progress_bar->hide();
  cancel->hide();

  messages_ = std::make_unique<QtMessageSink>(this);
  progress_ = std::make_unique<QtProgress>(progress_bar, progress_caption, cancel);
  SetMessageSink(messages_.get());
  SetProgressReporter(progress_.get());
  data_folder_ = UserDataFolder();
  resize(1024, 700);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_once_) {
    shown_once_ = true;
    FormShow();
  }
}

void TMainForm::FormShow() {
  theory_.Libraries = OpenTheoryLibraries(DefaultTheoryLibraryFolder());
  OpenPositionFiles(theory_, data_folder_);
  SetTheorySelection(selection_);
  moon_cache_.Create();
  LoadSatelliteFileAtStartup(satellite_file_, data_folder_, true);
}

void TMainForm::SetTheorySelection(TTheorySelection requested) {
  selection_ = ApplyTheorySelection(theory_, requested);
}

TMainForm::~TMainForm() {
  // The view listens to the workbook, which is a member: it goes first.
  delete workbook_view_;
  workbook_view_ = nullptr;
  if (&CurrentMessageSink() == messages_.get()) SetMessageSink(nullptr);
  if (&CurrentProgress() == progress_.get()) SetProgressReporter(nullptr);
}

}  // namespace kvx
