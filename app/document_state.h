// The document the window shows: the untitled counter, the open table
// transaction, the saved flag, whether the file opened may be written over
// and what it was when last seen, the workbook view, the default sheet count,
// the csv separator and the size of the recent-files list. The window holds
// one; a command that writes into the document or saves it receives it.
#pragma once

#include <cstdint>

#include "platform/safe_file_write.h"

namespace kvx {

struct TDocumentState {
  std::int32_t UntitledCounter = 0;  // new untitled documents so far
  std::uint8_t UndoFlag = 0;         // the sheet holds an open table transaction
  std::uint8_t DocumentSaved = 1;
  // Non-zero when the workbook file opened would not read back as it was
  // opened if the document were written over it: its reader counted what
  // the workbook does not keep (ReadLosses). Save then asks for a new name
  // and the file stays as it is. A text file is checked when it is saved,
  // from what the writer writes (CheckTextSave) and by reading the file
  // written back before it replaces the file; an .xlsx by reading it back.
  std::uint8_t OpenedFileNotKept = 0;
  // The document's file as the program last saw it, at the open or the
  // last save: a save over it first asks when another program changed its
  // bytes since (ChangedSince).
  TFileSeen FileSeen;
  // The file is what the program last wrote from the workbook: while the
  // workbook is not changed after that, a save over it writes the same
  // again and is not proven by reading it back.
  bool FileWritten = false;
  std::int32_t RecentFilesCount = 10;  // size of the recent-files list
  std::uint8_t WorkbookView = 1;       // non-zero: tables go into the workbook sheet
  std::int32_t DefaultSheetNumber = 16;
  // The separator of csv files and of the result grid's clipboard copy:
  // 0 ";", 1 ",", 2 ".", 3 tab (CsvSeparatorChar).
  std::uint8_t CsvSeparatorIndex = 0;
  std::uint8_t SeparatorsUsable = 1;  // no locale separator holds "#" or "*"
  std::uint8_t SettingsChanged = 0;   // something the configuration keeps changed
  // Content changes of the workbook so far, and their count when the last
  // table was written (or undone): the user edited the sheet since while
  // they differ.
  std::uint64_t SheetEdits = 0;
  std::uint64_t SheetEditsAtTable = 0;
  bool EditedSinceTable() const { return SheetEdits != SheetEditsAtTable; }
};

}  // namespace kvx
