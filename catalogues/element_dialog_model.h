// The plain part of the asteroid and comet element dialogs: the entry
// parser, the field rules with their messages, the check order of OK, the
// reading of an element set from sheet cells and the state the dialogs keep
// between showings. What saving under an extension does is the lists'
// format tables' (catalogues/element_file_formats.h).
//
// Field numbers (the message numbers of the dialogs):
//   asteroids 1 a (AU), 2 e, 3 i, 4 node, 5 perihelion (degrees), 6 M
//             (degrees), 7 n (degrees/day), 8 equinox (year), 9 epoch (JD),
//             10 H, 11 G
//   comets    1 q (AU), 2 e, 3 i, 4 node, 5 perihelion, 8 equinox, 9 T (JD),
//             10 H, 11 G, 12 epoch (JD)
// A comet with q <= 0 or e < 0 has no orbit: both are refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"

namespace kvx {

enum class TElementDialogKind { Asteroid, Comet };

// The text as a number field reads it (ReadNumberField: blanks around it
// and either decimal mark allowed; "nan", "inf", "-", a lone decimal mark
// and an empty text are refused).
std::optional<double> ParseElementEntry(const std::string& text);

// The field numbers in the order OK checks them (the name, which is never
// refused, is left out).
const std::vector<int>& ElementCheckOrder(TElementDialogKind kind);
// Whether `value` is accepted for `field`.
bool ElementFieldAccepts(TElementDialogKind kind, int field, double value);
// The refusal text of a field in the language.
std::string ElementFieldMessage(TElementDialogKind kind, int field, bool english);
// The message box of a refused field: its text under "Zahlenwert oder
// Eingabeformat ungültig" / "Invalid value", stop icon.
void ShowElementEntryError(TElementDialogKind kind, int field);
// Decimals a field is shown with.
int ElementFieldDecimals(TElementDialogKind kind, int field);

double& AsteroidField(TAsteroidElements& record, int field);
double& CometField(TCometElements& record, int field);

// Checks every field of a record in OK's order; the first refused field
// number, or 0 when all pass.
int FirstRefusedField(const TAsteroidElements& record);
int FirstRefusedField(const TCometElements& record);

// The no-object names.
std::string NoObjectName(TElementDialogKind kind, bool english);
// True when `name` is the no-object name of the language.
bool IsNoObjectName(TElementDialogKind kind, const std::string& name, bool english);
// The name as shown: in English the German no-object name reads as the
// English one.
std::string ShownElementName(TElementDialogKind kind, const std::string& name, bool english);
// The name as kept for the main window: the English no-object name goes
// back as the German one, which the menus and tables take for "none".
std::string KeptElementName(TElementDialogKind kind, const std::string& shown, bool english);

// One cell of the sheet as the set reader sees it.
struct TSheetCellValue {
  double Number = 0;  // 0 for texts and empty cells
  std::string Text;
  bool IsNumber = false;
};
// Reads a set from the cells of one row starting at its first cell (the
// name as text, then asteroids 11 numbers, comets 10). Nothing when the
// first cell holds a number, a number cell is missing or holds text, or
// the orbit rules fail (a > 0, 0 <= e < 1; q > 0, e >= 0).
std::optional<TAsteroidElements> AsteroidSetFromCells(const std::vector<TSheetCellValue>& cells);
std::optional<TCometElements> CometSetFromCells(const std::vector<TSheetCellValue>& cells);

// Only http and https addresses are opened by the web button.
bool IsWebAddress(const std::string& text);

// The state an element dialog keeps between showings.
struct TElementDialogState {
  std::string FileName;  // empty until the first showing
  std::uint8_t ElementFileKind = 0;
  std::uint8_t LoadPending = 1;
  std::uint8_t InvalidEntryPending = 0;
  std::int32_t SheetRow = 3;
  std::int32_t SheetColumn = 1;
  std::uint8_t SearchAnywhere = 0;
  std::uint8_t Hints = 1;
};

// The default list file: "planeten.csv" / "kometen.csv".
const char* DefaultElementFileName(TElementDialogKind kind);

}  // namespace kvx
