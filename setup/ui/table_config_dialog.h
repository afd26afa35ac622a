// The table configuration dialog ("Anzeige der Ephemeridentabelle
// konfigurieren" / "Configuration of ephemeris tables"): one box per column
// flag (core/column_flags.h) on four pages, the group, set and preset
// buttons, the additional equinox, the two output switches, a preview of the
// column headings for a chosen body and the ".etd" file. The working state is
// a TTableConfigModel (setup/table_config_model.h); the dialog only shows it.
#pragma once

#include <QDialog>
#include <cstdint>
#include <vector>

#include "core/column_flags.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

struct TTableConfigRecord;
class TTableConfigModel;

class Ttabconfig : public QDialog {
  Q_OBJECT

 public:
  Ttabconfig(TTableConfigModel& model, QWidget* owner);

  void accept() override;
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  QWidget* FlagPage(ColumnFlagPage which);
  QWidget* GroupsPage();
  QWidget* DatePage();
  // Sets every control from the model and rebuilds the preview.
  void Refresh();
  // Every box back into the working copy.
  void ReadBoxes();
  void RebuildPreview();
  void LeaveEquinox();
  void Save();
  void Load();

  TTableConfigModel& model_;
  QTabWidget* pages_;
  std::vector<QCheckBox*> boxes_;  // one per used flag byte; null when not shown
  QRadioButton* dateOnly_;
  QRadioButton* dateAndTime_;
  QCheckBox* julianSwitch_;
  QCheckBox* siderealSwitch_;
  QLineEdit* equinox_;
  QComboBox* previewFor_;
  QTableWidget* preview_;
  QPushButton* undo_;
};

// Five arguments by reference: the preview entry, the additional equinox
// (Julian centuries from J2000), the record, the switch for rise, set and
// twilight times as Julian dates and the apparent-sidereal-time switch; all
// are written back only on OK. `elementsForPlanets` is the main window's
// planet-element switch. Returns the modal result (1 OK, 2 Cancel).
int ShowTableConfigDialog(int& previewKind, double& equinoxCenturies, TTableConfigRecord& record,
                          std::uint8_t& julianDateSwitch, std::uint8_t& siderealSwitch, bool elementsForPlanets = false,
                          QWidget* owner = nullptr);

}  // namespace kvx
