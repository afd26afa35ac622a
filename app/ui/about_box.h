// The about box: shown without frame as the splash at start (its buttons
// hidden, OK appearing after three seconds) and as a dialog by the Help
// menu's "Info..." (both buttons shown).
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace kvx {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  // Frameless, on top, both buttons hidden, Timer1 running.
  void ShowAsSplash();
  // The plain window style again (after the start).
  void EndSplash();
  // Modal dialog with both buttons, timer stopped.
  void ShowModalInfo();

  QPushButton* OKButton() const { return ok_; }
  QPushButton* Button1() const { return info_; }
  QTimer* Timer1() const { return timer_; }

 protected:
  // The text line in the interface language.
  void showEvent(QShowEvent* event) override;

 private:
  void Timer1Timer();
  void Button1Click();

  QLabel* text_;
  QPushButton* ok_;
  QPushButton* info_;
  QTimer* timer_;
};

}  // namespace kvx
