// The workbook as a document: New, Open, Save, Save as, the text and csv
// exports and the question before a document is left, without any window.
// Dialogs and messages go through the platform seams.
//
// Workbooks are saved as .xlsx; a document opened from .xls, .xlsm or any
// other workbook file, or from a file that would not read back as it was
// opened, is saved through Save as under a new .xlsx name.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/document_state.h"
#include "engine/mystringgrid.h"
#include "platform/workbook/workbook.h"

namespace kvx {

class TMyHistoryList;

struct TWorkbookDocument {
  workbook::TWorkbook& Book;
  TDocumentState& Document;
  std::string& FileName;  // empty for a new, untitled document
  int& FileType;          // workbook_files.h codes; 0 for none
  std::string& Caption;
  TMyHistoryList* Recent = nullptr;
  std::string DefaultFolder;  // where the dialogs start: put before the untitled name, with its '/'
};

// ";", ",", "." or the tab by index 0..3; ";" for any other index.
char CsvSeparatorChar(std::int32_t index);

// "Unbenannt"/"Untitled" + UntitledCounter.
std::string UntitledName(const TDocumentState& document);

// True when the document may be left: it is saved, the user answers No,
// or answers Yes and the save completes. Cancel (or a save that failed or
// was cancelled) keeps it. Yes saves with `save` when given (the result
// grid's table file, which the workbook document does not hold), else with
// SaveDocument; for a document of a text file that holds less than the
// workbook (formulas as their values, no formats, no other sheets), the
// question names what only the workbook holds and Yes saves the workbook
// as .xlsx (SaveWorkbookAs).
bool AskSaveChanges(TWorkbookDocument& doc, const std::function<bool()>& save = {});

// The stem of the names of sheets the program adds, in the interface
// language: "Tabelle" or "Sheet" (a number follows).
std::string NewSheetNameStem();

// n new sheets "Sheet1".."Sheetn" (in both languages) replace the
// workbook; the next untitled name; DocumentSaved set.
void NewDocument(TWorkbookDocument& doc, int sheetCount);

// Reads the workbook or text file (a .csv through ReadCsvIntoSheet). A file
// that cannot be read shows the open-failed message and leaves the shown
// document, its name, type and caption as they were. A file read but not
// whole (what the workbook does not keep of an .xlsx or .xls, lines or
// fields left out of a text, damaged UTF-16) or whose commas the file
// itself does not settle shows one note after it opened; what the workbook
// does not keep of a workbook file makes Save leave the file as it is
// (TDocumentState::OpenedFileNotKept).
bool OpenDocument(TWorkbookDocument& doc, const std::string& fileName);
// Asks (when the document may be left) and opens the chosen file.
bool OpenWorkbookCommand(TWorkbookDocument& doc);
// The csv file into the current sheet from cell A1, split at the csv
// separator; A1:A1 selected; caption and recent files.
bool ReadCsvIntoSheet(TWorkbookDocument& doc, const std::string& fileName);

// Save: Save as without a name. Where a save would not give the file back
// (what the workbook does not keep of a workbook file; a workbook read
// from any file but an .xlsx one, .xls or .xlsm, which the writer does
// not write) one message says why in a sentence, then Save as under a new
// .xlsx name (the file's name with ".xlsx", or "-2.xlsx", ... where that
// is taken); the file stays as it is. So too where the file written, read
// back as its reader reads it, would hold a cell otherwise than the sheet
// (the message names the cell), or a text would not give back what its
// file held (CheckTextSave, judged once, as the text is written). The csv
// export for a .csv document; else writes in place, a text in its file's
// form, the busy cursor shown while it writes.
// Before it writes over the file: a file gone, read-only, or in a folder
// that takes no file is told with its cause and Save as follows; a file
// that another program changed since it was opened or last saved is
// written over only when the user says so (No: Save as); a file only
// touched, its bytes as they were, is not asked about. A write that
// fails says its cause (the disk full, no permission, ...), the file
// stays byte for byte, and Save as follows. A sheet unchanged since the
// program last wrote the file is written again without the proof. True
// when the save completed; the document is then saved, except a text
// where the workbook holds what the text does not (its sheet's formulas or
// formats, other sheets with cells), which the note after the save names.
// Everything below the document is decided in one call (workbook::SaveOver).
bool SaveDocument(TWorkbookDocument& doc);
// Save as .xlsx, starting with the new name Save would propose where a
// save would not give the file back; a name that cannot be written is
// told with its cause and the dialog comes again; a failed write leaves
// the document unsaved with its previous name and caption.
bool SaveWorkbookAs(TWorkbookDocument& doc);
// The current sheet as text or csv; a name chosen without an extension
// gets ".txt" or ".csv". A sheet read from a text file of that kind is
// written in that file's form; what was written is the form a later Save
// keeps. Over the document's own file as Save does.
bool SaveSheetAsText(TWorkbookDocument& doc);
bool SaveSheetAsCsv(TWorkbookDocument& doc);

// The result grid as a csv file: the dialog starts with the document's
// name (without its extension unless that is ".CSV") or the untitled name;
// a name without an extension gets ".csv", another extension than ".csv"
// or ".CSV" is refused. Rows 1.. and columns 1.. of the
// grid, every field followed by ";" (quoted when it holds ";", a double
// quote or a line break), in Windows-1252, or in UTF-8 led by its
// byte-order mark when a text needs a character Windows-1252 lacks
// (TextFileBytes). After the write `caption` is
// "Kandrevoltinex 4.6 [name]". False when cancelled or refused; a name
// that cannot be written is told with its cause and the dialog comes
// again.
bool ExportGridCsv(const TWorkbookDocument& doc, const tmystringgrid& grid, std::string& caption);

}  // namespace kvx
