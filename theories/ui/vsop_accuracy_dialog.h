// The dialog that chooses the truncation levels of the theory libraries,
// one for ephemerides and one for the numerical integration.
#pragma once

#include <QDialog>

#include "platform/qt/widget_forward.h"
#include "theories/theory_types.h"

namespace kvx {

class TVSOPRechengenauigkeit : public QDialog {
  Q_OBJECT

 public:
  // Modal results of the two buttons.
  static constexpr int kResultOk = 1;
  static constexpr int kResultCancel = 2;
  static constexpr int kHelpContext = 151;

  explicit TVSOPRechengenauigkeit(QWidget* parent = nullptr);

  // The levels the dialog holds (copied in by the opener, changed by the
  // radio groups).
  TTruncationLevel EphemerisLevel = kFullTheory;
  TTruncationLevel IntegrationLevel = kFullTheory;

  // Item index of each group, -1 when no item is chosen.
  int RadioGroup1ItemIndex() const;
  int RadioGroup2ItemIndex() const;
  void SetRadioGroup1ItemIndex(int item);
  void SetRadioGroup2ItemIndex(int item);

  // Sets the captions and item texts by LanguageEnglish.
  void FormShow();
  // Store the level of the chosen item; an item outside 0..4 changes nothing.
  void RadioGroup1Click();
  void RadioGroup2Click();

  QGroupBox* RadioGroup1 = nullptr;
  QGroupBox* RadioGroup2 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 public slots:
  // Closing the window or Escape counts as Cancel.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QButtonGroup* group1_ = nullptr;
  QButtonGroup* group2_ = nullptr;
};

// Opens the dialog modally with the two levels, each group showing the item
// of its level (a level that is none of -1, 4, 6, 8, 10 leaves the group
// without a chosen item). Returns the modal result; on OK (1) the chosen
// levels are copied back, otherwise both arguments stay as they were.
int ShowVsopAccuracyDialog(TTruncationLevel& ephemerisLevel, TTruncationLevel& integrationLevel,
                           QWidget* parent = nullptr);

}  // namespace kvx
