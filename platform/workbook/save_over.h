// A save of the document's workbook over a file, decided in one call:
// whether writing over the file would give it back, the texts a cell of an
// .xlsx file cannot hold, whether the file may be written now and whether
// another program changed it, then the write, proven by reading the file
// written back, with the busy cursor shown while it writes. The two
// questions a save asks the user come in with the request; the outcome
// tells the document what became of the save, for its messages.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/safe_file_write.h"
#include "platform/workbook/text_layout.h"
#include "platform/workbook/xlsx_package.h"

namespace kvx::workbook {

class TWorkbook;

// What is written over the file.
enum class TSaveForm : std::uint8_t {
  Xlsx,           // the workbook as an .xlsx file
  OtherWorkbook,  // the workbook over a workbook file the writer does not write (.xls, .xlsm, ...)
  Text,           // the current sheet as text in the request's dialect
};

struct TSaveOverRequest {
  std::string Path;
  TSaveForm Form = TSaveForm::Xlsx;
  TTextDialect Dialect;  // for Text
  // The file is the document's own (Save, or a text saved under its
  // name), not a new name chosen for it: what the workbook holds must give
  // the file back, a file gone is not created again, and a file another
  // program changed is asked about.
  bool OwnFile = true;
  // The workbook file the document was opened from holds what the workbook
  // does not keep (its ReadLosses): the file is not written over.
  bool OpenedFileNotKept = false;
  // The file is what the program last wrote of the workbook, which has not
  // changed since: it is written again without the proof.
  bool UnchangedSinceWritten = false;
  // The document's file as the program last saw it.
  TFileSeen Seen;
  // Asked where texts an .xlsx cell cannot hold would be written cut:
  // true to cut them (in the workbook too). None, or false: nothing is written.
  std::function<bool(const TLongTexts& texts)> MayCutLongTexts;
  // Asked where another program changed the file's bytes since it was
  // seen: true to write over it. None, or false: nothing is written.
  std::function<bool()> MayWriteOverChanged;
};

enum class TSaveOverResult : std::uint8_t {
  Written,
  NotGivenBack,   // the file would not be given back (Why...); nothing written
  Unwritable,     // the file may not be written now (Error.Cause), found before any work
  LongTextsKept,  // the user kept the long texts uncut; nothing written
  ChangedKept,    // the user kept the file another program changed; nothing written
  Failed,         // the write failed (Error); the file as it was
};

struct TSaveOverOutcome {
  TSaveOverResult Result = TSaveOverResult::Failed;
  // NotGivenBack: why, as a clause in German and English.
  std::string WhyGerman, WhyEnglish;
  TWriteError Error;
  // Written: the file as written, and for a text what only the workbook
  // holds (the text's sheet's formulas and formats, the other sheets).
  TFileSeen Written;
  TWorkbookOnly LeftOut;
};

TSaveOverOutcome SaveOver(TWorkbook& book, const TSaveOverRequest& request);

// Why writing the workbook over its own file in `form` would not give the
// file back, known before anything is written (as the clause of
// TSaveOverOutcome): what the workbook does not keep of the workbook file
// opened, a workbook file the writer does not write, or for a text what
// the open already knows (lines or fields left out, damaged text, another
// sheet than the file's). False when nothing known stands against it.
bool KnownNotGivenBack(const TWorkbook& book, TSaveForm form, bool openedFileNotKept, std::string& german,
                       std::string& english);

}  // namespace kvx::workbook
