// The options of the occultations of stars by planets and the asteroid
// ("Objekt und Optionen für Sternbedeckungen" / "Occultations of stars by
// planets"): the bodies, the limiting magnitude (a bar in hundredths, to
// 8.00 with the small catalogue, 10.00 with the large), conjunctions only,
// the asteroid's diameter (km, 0..2000, shown while the asteroid is
// ticked), all stars or one star found by name. Values reach the caller
// only on OK; a catalogue loaded meanwhile stays loaded.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <string>

#include "eclipses/ui/lunar_occultation_dialog.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

class TIntegerEdit;
class TStarChoiceRow;

// The dialog's values.
struct TPlanetOccultationChoice {
  std::int32_t SelectedStar = -1;        // -1 all stars, else 1..count
  std::array<std::uint8_t, 9> Bodies{};  // Mercury .. Pluto, asteroid
  float LimitingMagnitude = 8.0f;
  std::uint8_t ConjunctionsOnly = 0;
  std::int32_t AsteroidDiameter = 0;  // km
};

class TPloccultform : public QDialog {
  Q_OBJECT

 public:
  TPloccultform(const TPlanetOccultationChoice& choice, std::uint8_t catalogueChoice, const std::string& asteroidName,
                TStarCatalogueAccess access, QWidget* owner = nullptr);

  TPlanetOccultationChoice Choice() const;
  void accept() override;

 private:
  void UpdateDiameterVisibility();
  // Reads the diameter edit: true when it holds 0..2000.
  bool ReadDiameter();
  // Leaving the diameter edit: a value outside 0..2000 is refused with the
  // message, the previous diameter comes back and keeps the focus.
  void DiameterLeft();
  void RefuseDiameter();

  TPlanetOccultationChoice choice_;
  std::array<QCheckBox*, 9> bodies_{};
  QScrollBar* magnitude_bar_;
  QLabel* magnitude_label_;
  QCheckBox* conjunctions_;
  QLabel* diameter_label_;
  TIntegerEdit* diameter_;
  TStarChoiceRow* star_row_;
  // Set while a refusal on leaving the edit is being handled, and until the
  // event that caused it is done: an OK pressed by the same key or click
  // does not close the dialog behind the message.
  bool diameter_refused_ = false;
};

// Runs the dialog; true (the values copied back) for OK.
bool ShowPlanetOccultationOptions(TPlanetOccultationChoice& choice, std::uint8_t catalogueChoice,
                                  const std::string& asteroidName, TStarCatalogueAccess access,
                                  QWidget* owner = nullptr);

}  // namespace kvx
