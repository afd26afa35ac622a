#include "app/main_window.h"

#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"

namespace kvx {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(kMainWindowCaption);
  menuBar();
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
  resize(1024, 700);
}

TMainForm::~TMainForm() {
  if (&CurrentMessageSink() == messages_.get()) SetMessageSink(nullptr);
  if (&CurrentProgress() == progress_.get()) SetProgressReporter(nullptr);
}

}  // namespace kvx
