// The column titles dialog ("Vorgabe für Spaltenüberschriften und -breiten
// festlegen" / "Defaults for column headers and widths"): the heading of
// every output quantity in the table configuration record and the width of
// its column in the result grid. The list holds slots 1 .. 220 (entry i is
// slot i + 1); the preview grid one column per slot 0 .. 220, whose headings
// may be edited in place and whose columns may be dragged wider or narrower.
// A heading equal to its default and a width equal to its default are shown
// in blue. The dialog edits copies; only OK hands them back.
#pragma once

#include <QDialog>

#include "platform/qt/widget_forward.h"
#include "setup/column_titles.h"

namespace kvx {

class TSpaltenueberschriften : public QDialog {
  Q_OBJECT

 public:
  TSpaltenueberschriften(const TTableConfigRecord& record, const TColumnWidths& widths, QWidget* owner);

  const TTableConfigRecord& Record() const { return record_; }
  const TColumnWidths& Widths() const { return widths_; }

 private:
  QPushButton* Child(const char* name);
  int CurrentSlot() const;
  void ChooseSlot(int slot);
  void ShowSlot();
  void RefreshGrid();
  void Recolour();

  TTableConfigRecord record_;
  TColumnWidths widths_;
  const TColumnWidths defaults_;
  std::vector<std::string> names_;
  bool filling_ = false;
  QListWidget* list_;
  QLineEdit* heading_;
  QSpinBox* width_;
  QTableWidget* grid_;
  QLineEdit* find_;
  QCheckBox* beginningOnly_;
};

// Edits the record's column titles and the width table; both written back on
// OK only. Returns the modal result (1 OK, 2 Cancel).
int ShowColumnTitlesDialog(TTableConfigRecord& record, TColumnWidths& widths, QWidget* owner = nullptr);

}  // namespace kvx
