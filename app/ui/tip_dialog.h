// The tip-of-the-day window and its wiring into the main window: a tip at
// start-up when the tips flag is set, the Help menu's item at any time, the
// View menu's item switching the start-up tip.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "app/tip_of_the_day.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace kvx {

class TCommandHost;

class TTipOfTheDayForm : public QDialog {
  Q_OBJECT

 public:
  TTipOfTheDayForm(const TTipView& first, std::function<std::optional<TTipView>()> next, bool showAtStartup,
                   QWidget* parent = nullptr);

  bool ShowAtStartup() const;
  QLabel* HeaderLabel() const { return header_; }
  QLabel* TipLabel() const { return tip_; }
  QCheckBox* ShowTipsCheck() const { return check_; }
  QPushButton* NextBtn() const { return next_button_; }
  QPushButton* OkBtn() const { return ok_; }

 private:
  void Present(const TTipView& view);

  std::function<std::optional<TTipView>()> next_;
  QLabel* image_ = nullptr;
  QLabel* header_ = nullptr;
  QLabel* tip_ = nullptr;
  QCheckBox* check_ = nullptr;
  QPushButton* next_button_ = nullptr;
  QPushButton* ok_ = nullptr;
};

// Fills the main window's tip hook and its two tip commands; the German and
// English components are held by the returned object (a child of the window).
class TTipComponents : public QObject {
  Q_OBJECT

 public:
  explicit TTipComponents(TCommandHost& host);
  TTipOfTheDay& Current();
  TTipOfTheDay German;
  TTipOfTheDay English;

 private:
  TCommandHost& host_;
};

TTipComponents* InstallTipsOfTheDay(TCommandHost& host);

}  // namespace kvx
