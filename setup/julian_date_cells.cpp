#include "setup/julian_date_cells.h"

#include "platform/messages.h"
#include "platform/workbook/workbook.h"
#include "setup/entry_checks.h"

namespace kvx {

namespace {

std::string BadCellGerman(const std::string& text) {
  return "Der Zellinhalt " + text +
         " ist kein gültiges julianisches Datum. Vielleicht haben Sie keine Spalte mit julianischen "
         "Datumswerten markiert.";
}

}  // namespace

bool JulianDateFromMarkedCell(const workbook::TWorkbook& workbook, double& jd) {
  const workbook::TRange range = workbook.SelectionRange(0);
  if (workbook.SelectionCount() != 1 || range.RowCount() != 1 || range.ColCount() != 1) {
    ShowMessage("Bitte nur eine Zelle markieren.", "Please mark one cell only.", MessageIcon::Error);
    return false;
  }
  const std::string text = workbook.Text(range.Row1, range.Col1);
  // A number cell gives its value, to the last digit its format hides.
  if (workbook.CellKind(range.Row1, range.Col1) == workbook::TCellKind::Number) {
    const double value = workbook.Number(range.Row1, range.Col1);
    if (value >= kEarliestEntryJd && value <= kLatestEntryJd) {
      jd = value;
      return true;
    }
  } else if (ParseEntryJulianDate(text, jd)) {
    return true;
  }
  jd = 0;
  ShowMessage(BadCellGerman(text),
              "Cell" + text + " is no valid Julian Date. Perhaps you did not select a colummn with Julian Dates.",
              MessageIcon::Error);
  return false;
}

bool ReadJulianDateColumn(const workbook::TWorkbook& workbook, std::vector<std::string>& list) {
  const workbook::TRange range = workbook.SelectionRange(0);
  if (workbook.SelectionCount() != 1 || range.ColCount() != 1) {
    ShowMessage("Bitte nur eine Spalte markieren", "Please mark one column only.", MessageIcon::Error);
    return false;
  }
  list.clear();
  bool warn = true;
  for (int row = range.Row1; row <= range.Row2; ++row) {
    const std::string text = workbook.Text(row, range.Col1);
    double jd = 0;
    if (ParseEntryJulianDate(text, jd)) {
      list.push_back(text);
    } else if (warn) {
      const MessageResult answer = ShowMessage(
          BadCellGerman(text) + " Diese Warnung weiterhin anzeigen?",
          "Cell" + text +
              " is no valid Julian Date. Perhaps you did not select a colummn with julian dates. Show this warning "
              "again?",
          MessageIcon::Error, MessageButtons::YesNo);
      warn = answer != MessageResult::No;
    }
  }
  return true;
}

}  // namespace kvx
