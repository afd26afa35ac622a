// The legend: one line "heading: description" per output quantity, in the
// order of the quantity numbers, with an incremental search on the lines'
// beginnings (case ignored; no match or an empty text selects line one).
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "core/name_tables.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace kvx {

using TQuantityTexts = std::array<std::string, kQuantityCount>;

class TLegendendlg : public QDialog {
  Q_OBJECT

 public:
  // headings: the column headings of the table configuration; descriptions:
  // the quantity descriptions in the current language.
  TLegendendlg(const TQuantityTexts& headings, const TQuantityTexts& descriptions, QWidget* parent = nullptr);

  QLineEdit* SearchEdit() const { return edit_; }
  QListWidget* List() const { return list_; }

 private:
  void Edit1Change(const QString& text);

  QLabel* label_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QListWidget* list_ = nullptr;
};

// Index of the first line whose beginning equals the text, case ignored;
// 0 when none does.
int LegendMatch(const QStringList& lines, const QString& text);

// Shows the legend modally (descriptions from the global table).
void ShowLegend(const TQuantityTexts& headings, QWidget* parent = nullptr);

class TCommandHost;
// Gives the Help menu's legend item its command when none is set.
void InstallLegendCommand(TCommandHost& host);

}  // namespace kvx
