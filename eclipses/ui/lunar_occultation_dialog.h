// The criteria dialog of the lunar occultations of stars ("Sternbedeckungen
// durch den Mond" / "Occultations of stars by the Moon"): all stars or one
// star found by name, the limiting magnitude (a bar in hundredths of a
// magnitude, 1.00 to 8.00 with the small catalogue, to 10.00 with the
// large) and the minimum altitude of the Sun (whole degrees, -90..90).
// Values reach the caller only on OK.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>

#include "eclipses/star_catalogue.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

class TStarChoiceRow;

// The main window's catalogue: the one loaded (may be null), and the load
// on first need with a progress callback (percent), returning the
// catalogue or null after its message.
struct TStarCatalogueAccess {
  std::function<std::shared_ptr<const TStarCatalogue>()> Current;
  std::function<std::shared_ptr<const TStarCatalogue>(const std::function<void(int)>& progress)> Ensure;
};

class TSternBedMondFrm : public QDialog {
  Q_OBJECT

 public:
  TSternBedMondFrm(std::int32_t selectedStar, std::uint8_t catalogueChoice, float limitingMagnitude,
                   std::int32_t minimumSunAltitude, TStarCatalogueAccess access, QWidget* owner = nullptr);

  std::int32_t SelectedStar() const;
  float LimitingMagnitude() const { return limit_; }
  std::int32_t MinimumSunAltitude() const { return altitude_; }

  void accept() override;

 private:
  float limit_;
  std::int32_t altitude_;
  QScrollBar* magnitude_bar_;
  QLabel* magnitude_label_;
  QScrollBar* altitude_bar_;
  QLabel* altitude_label_;
  TStarChoiceRow* star_row_;
};

// Runs the dialog on the three values; true (the values copied back) for
// OK. The selected star comes back as -1 (all) or a catalogue index.
bool ShowLunarOccultationCriteria(std::int32_t& selectedStar, std::uint8_t catalogueChoice, float& limitingMagnitude,
                                  std::int32_t& minimumSunAltitude, TStarCatalogueAccess access,
                                  QWidget* owner = nullptr);

}  // namespace kvx
