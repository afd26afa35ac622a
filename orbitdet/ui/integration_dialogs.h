// The output-format dialog ("Ausgabeformat für numerische Integration") and
// the accuracy dialog ("Rechenverfahren") of the numerical integration.
// Both edit copies and hand them back only on OK.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "engine/nbody_setup.h"
#include "platform/qt/widget_forward.h"
#include "theories/theory_types.h"

namespace kvx {

class TFloatEdit;

// Which bodies, coordinates or elements, frame, origin and the step (days),
// repetitions and output interval of a Runge-Kutta run.
class TrkAusgkfFrm : public QDialog {
  Q_OBJECT

 public:
  TrkAusgkfFrm(const TIntegrationSetup& setup, bool adams, QWidget* owner = nullptr);
  const TIntegrationSetup& Setup() const { return setup_; }
  // OK: names present, step finite and not 0, repetitions >= 1, interval
  // 1..65535; otherwise the stop box and the dialog stays open.
  void accept() override;
  // Leaving the step edit: over 500 days in magnitude an information box;
  // the value is kept all the same.
  void StepLeft();

 private:
  void UpdateEnabled();
  bool ReadStep();

  TIntegrationSetup setup_;
  QRadioButton* coordinates_;
  QRadioButton* elements_;
  QRadioButton* cartesian_;
  QRadioButton* polar_;
  QRadioButton* ecliptic_;
  QRadioButton* equatorial_;
  QRadioButton* helio_;
  QRadioButton* planeto_;
  QGroupBox* type_;
  QGroupBox* frame_;
  QGroupBox* origin_;
  QLabel* centre_label_;
  QComboBox* centre_;
  QCheckBox* civil_;
  QCheckBox* new_state_;
  std::array<QLabel*, kMaxIntegrationBodies> labels_{};
  std::array<QCheckBox*, kMaxIntegrationBodies> outputs_{};
  QGroupBox* step_group_;
  TFloatEdit* step_;
  QSpinBox* repetitions_;
  QSpinBox* interval_;
};

bool ShowIntegrationOutputDialog(TIntegrationSetup& setup, bool adams, QWidget* owner);

// The integrator, the digits of the tolerance, the never-VSOP switch and the
// nine perturbing planets (theory-selection bytes 3..11).
class TRechengenauigkeit : public QDialog {
  Q_OBJECT

 public:
  TRechengenauigkeit(const TTheorySelection& selection, bool neverVsop, bool adams, std::uint8_t digits,
                     QWidget* owner = nullptr);
  TTheorySelection Selection() const;
  bool NeverVsop() const;
  bool Adams() const;
  std::uint8_t Digits() const;
  void AllPlanets();

 private:
  TTheorySelection selection_;
  QRadioButton* adams_;
  QRadioButton* runge_kutta_;
  QSpinBox* digits_;
  QCheckBox* never_vsop_;
  std::array<QCheckBox*, 9> planets_{};
};

// On OK: the selection (bytes 3..11), the never-VSOP switch, the Adams flag,
// the digits and tolerance = DigitsToTolerance(digits); true. Cancel
// changes nothing.
bool ShowIntegrationPrecisionDialog(TTheorySelection& selection, bool& neverVsop, long double& tolerance, bool& adams,
                                    std::uint8_t& digits, QWidget* owner);

}  // namespace kvx
