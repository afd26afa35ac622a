// The result grid as a document: saving it to and loading it from its own
// table file (app/table_file.h) with the dialogs, messages, caption and
// recent files, without any window. The main window hands in references to
// what it owns; the commands change them only when they succeed.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/document_state.h"
#include "app/search_settings.h"
#include "app/table_file.h"
#include "engine/mystringgrid.h"
#include "theories/observer_completion.h"

namespace kvx {

class TMyHistoryList;

// The look of the result grid beside its cells: the table font, the two
// colours (Windows colour values), the line flags and the fixed sizes.
struct TResultGridLook {
  TTableFontRecord Font;
  std::uint32_t GridColor = 0x80000005u;
  std::uint32_t FixedColor = 0x8000000Fu;
  std::uint8_t Reserved = 0;
  std::uint8_t CellLines = 1;
  std::uint8_t FixedLines = 1;
  std::int32_t FixedColWidth = 8;   // pixels, column 0
  std::int32_t FixedRowHeight = 8;  // pixels, row 0
  double FontScale = 1.0;           // |font height| / 13, for the table writers
};

struct TTableDocument {
  tmystringgrid& Grid;
  TResultGridLook& Look;
  TEphemerisPeriodState& Period;
  TEclipseSettings& Eclipses;
  TDocumentState& Document;
  std::array<std::int32_t, kQuantityCount>& ColumnWidthTable;
  std::string& Caption;
  TMyHistoryList* Recent = nullptr;
  std::string DefaultFolder;  // where the open and save dialogs start, with its '/'
};

// Default row height Trunc(1.5 |h|) from the table font, row 0 and column 0
// from the fixed sizes, the font scale |h| / 13.
void ApplyGridLayout(tmystringgrid& grid, TResultGridLook& look);

// The result grid of a new document: the layout applied, 2 x 2 cells with
// "  Bereit" / "  Ready" in cell (1, 1), column 1 at the default width.
void ResetGridToReady(tmystringgrid& grid, TResultGridLook& look);

// What the document would write, and taking a loaded image over.
TTableFileImage TableFileImageOf(const TTableDocument& doc);
void TakeTableFileImage(TTableDocument& doc, const TTableFileImage& image);

// Writes the file (replacing one that exists, which keeps its mode and
// links). A file that may not be written, or a failed write, shows the
// save-error message naming the file and the cause, and returns false.
bool SaveTableFile(TTableDocument& doc, const std::string& fileName);
// Save and Save as of the result grid: asks for a name ("Kandrevoltinex-
// Dateien (*.kvx)"), refuses any extension but ".kvx"/".KVX"; a name that
// cannot be written is told with its cause and the dialog comes again;
// after a write that succeeded: recent files, DocumentSaved, caption
// "Kandrevoltinex 4.6 [name]". False when cancelled or refused.
bool SaveTableFileAs(TTableDocument& doc);
// Checks and reads the file; on any refusal shows its message and leaves
// everything as it was.
bool LoadTableFile(TTableDocument& doc, const std::string& fileName);
// LoadTableFile, then (only when it loaded) caption "Kandrevoltinex 4.6
// [name] " and the recent files.
bool OpenTableFile(TTableDocument& doc, const std::string& fileName);
// Open of the result grid: asks for a name, then OpenTableFile.
bool OpenTableFileCommand(TTableDocument& doc);

}  // namespace kvx
