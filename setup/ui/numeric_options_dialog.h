// The options dialog ("Optionen" / "Options"): reference altitudes of rise,
// set and twilight, the altitude limits of the searches, the magnitude limit
// of lunar occultations, the Moon interpolation cache and the accuracy and
// output switches of TNumericOptions (setup/numeric_options.h), and the full
// calculation of the occultations, which is the star catalogue's setting and
// so is edited beside the record.
//
// A reference-altitude field is checked when it is left and all six again on
// OK; a refused text shows its message, every control is refilled from the
// stored values and the focus returns to the field. The dialog does not close
// while a field is refused; Cancel changes nothing.
#pragma once

#include <QDialog>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/qt/widget_forward.h"
#include "setup/numeric_options.h"

namespace kvx {

class TNumOptions : public QDialog {
  Q_OBJECT

 public:
  TNumOptions(const TNumericOptions& options, std::uint8_t fullCalculation, QWidget* owner);

  // The values as edited so far.
  const TNumericOptions& Options() const { return options_; }
  std::uint8_t FullCalculation() const { return full_calculation_; }

  void accept() override;

 private:
  struct Bar {
    QScrollBar* bar;
    QLabel* value;
  };
  Bar AddBar(QGridLayout* grid, int row, const QString& caption, std::int32_t* target, const char* name);
  // A bar of AddBar, stored into `bar`.
  struct BarRow {
    Bar* bar;
    const char* german;
    const char* english;
    std::int32_t* target;
    const char* name;
  };
  // A box titled `title` with the bars of `rows`, one a grid row.
  QGroupBox* AddBarBox(const QString& title, std::initializer_list<BarRow> rows);
  QCheckBox* AddSwitch(const QString& caption, std::uint8_t* target, const char* name);
  void Refill();
  // A button named `name` whose click applies `preset` to the working
  // options and shows them again.
  QPushButton* AddPresetButton(const QString& caption, QWidget* parent, const char* name,
                               void (*preset)(TNumericOptions&));
  // Reads altitude field `field`; on refusal shows the message, refills the
  // controls and puts the focus back. False when refused.
  bool CheckAltitude(int field);

  TNumericOptions options_;
  std::uint8_t full_calculation_ = 0;  // "Umfassende Berechnung"
  bool refilling_ = false;
  bool checking_ = false;
  bool refused_ = false;  // a field was refused when it was left

  QSpinBox* order_;
  QSpinBox* span_;
  Bar conjunctionSun_;
  Bar conjunctionObject1_;
  Bar conjunctionObject2_;
  Bar occultationSun_;
  QScrollBar* magnitude_;
  QLabel* magnitudeValue_;
  Bar phenomenaSun_;
  Bar phenomenaObject_;
  QLineEdit* altitudes_[6];
  std::vector<std::pair<QCheckBox*, std::uint8_t*>> switches_;
  QCheckBox* exactParallax_ = nullptr;
};

// Copies `options` and the full-calculation switch into the dialog and shows
// it modally; on OK copies the result back (the occultation Sun altitude,
// the two phenomena altitudes and the magnitude limit only when `copyBack`
// is set). Returns the modal result.
int ShowNumericOptionsDialog(TNumericOptions& options, std::uint8_t& fullCalculation, bool copyBack, QWidget* owner);

}  // namespace kvx
