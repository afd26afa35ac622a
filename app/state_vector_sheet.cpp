#include "app/state_vector_sheet.h"

#include "platform/messages.h"

namespace kvx {

std::optional<std::pair<int, int>> FindStateVectorHeader(const workbook::TWorkbook& book) {
  const int lastRow = book.LastRow();
  const int lastCol = book.LastCol();
  if (lastCol <= 2 || lastRow < 10) return std::nullopt;
  for (int col = 1; col <= lastCol; ++col) {
    for (int row = 1; row <= lastRow; ++row) {
      if (book.Text(row, col) == kStartValuesHeader) return std::make_pair(row, col);
    }
  }
  return std::nullopt;
}

bool ReadStateVectorFromSheet(const workbook::TWorkbook& book, TIntegrationSetup& setup) {
  const auto header = FindStateVectorHeader(book);
  if (!header) return false;
  const auto [headerRow, col] = *header;
  TIntegrationSetup read = setup;
  read.JD = read.EquinoxJD = 0;
  read.Masses.fill(0);
  for (auto& name : read.Names) name.clear();
  for (auto& body : read.WorkingState) body.fill(0);
  int bodies = 0;
  const int lastRow = book.LastRow();
  for (int row = headerRow + 2; row <= lastRow && bodies < kMaxIntegrationBodies; ++row) {
    const std::string name = book.Text(row, col);
    if (name.empty()) break;
    const std::size_t b = static_cast<std::size_t>(bodies);
    read.Names[b] = CutBodyName(name);
    for (int k = 0; k < 6; ++k) read.WorkingState[b][static_cast<std::size_t>(k)] = book.Number(row, col + 1 + k);
    const long double inverse = book.Number(row, col + 7);
    // As the start-values file reader: a negative 1/m is no body.
    if (!(inverse >= 0)) return false;
    read.Masses[b] = inverse == 0 ? 0.0L : 1.0L / inverse;
    if (bodies == 1) {
      read.EquinoxJD = book.Number(row, col + 8);
      read.JD = book.Number(row, col + 9);
    }
    ++bodies;
  }
  if (bodies == 0) return false;
  read.N = bodies;
  setup = read;
  return true;
}

void ShowNoStateVectorMessage() {
  ShowMessage("Im aktiven Tabellenblatt wurde kein State-Vector im gültigen Format gefunden",
              "No valid state-vector found in the active sheet.", MessageIcon::Error);
}

}  // namespace kvx
