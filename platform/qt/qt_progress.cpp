#include "platform/qt/qt_progress.h"

#include <QApplication>
#include <QCursor>

#include "platform/globals.h"

namespace kvx {

QtProgress::QtProgress(QProgressBar* bar, QLabel* caption, QPushButton* cancel)
    : bar_(bar), caption_(caption), cancel_(cancel) {
  QObject::connect(cancel_, &QPushButton::clicked, [] { AbortRequested = 1; });
}

void QtProgress::Begin(const std::string& caption, int steps) {
  caption_->setText(QString::fromStdString(caption));
  bar_->setRange(0, steps > 0 ? steps : 0);
  bar_->setValue(0);
  caption_->show();
  bar_->show();
  cancel_->show();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ProcessEvents();
}

void QtProgress::Step(int position) {
  bar_->setValue(position);
  ProcessEvents();
}

void QtProgress::ProcessEvents() { QApplication::processEvents(); }

void QtProgress::SetLabel(const std::string& label) {
  caption_->setText(QString::fromStdString(label));
  ProcessEvents();
}

void QtProgress::End() {
  caption_->hide();
  bar_->hide();
  cancel_->hide();
  QApplication::restoreOverrideCursor();
}

bool QtProgress::Visible() const { return bar_->isVisible(); }

}  // namespace kvx
