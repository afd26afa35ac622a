// Reading and writing workbook files.
//
// File type codes (the codes the program stores with a document):
//   1, 2, 4  workbook: written as an .xlsx file (Office Open XML) whatever
//            the code; reading an .xlsx file reports 4, a legacy .xls file 2
//   3        tab-separated text of the current sheet, cells as shown
//   6        tab-separated text of the current sheet, values unformatted
// Legacy .xls files are read (values of every sheet), never written.
//
// Writers write to a temporary file beside the target and rename it over
// the target only when everything was written, so a failed write leaves
// an existing file untouched; the file replaced keeps its mode, owner and
// links (safe_file_write.h). Readers read into a fresh workbook and hand it
// over only when the whole file was read, so a failed read leaves the
// workbook as it was. Errors come back as a text (English, for the log of
// the caller; the caller shows its own message); the writers a save
// command calls give it as a TWriteError, whose cause (a full disk, a
// read-only folder, ...) the message names.
//
// Text files are written in Windows-1252 with CR/LF line ends, or in UTF-8
// led by its byte-order mark when the text needs it (TextFileBytes). A
// sheet read from a text file is written in that file's form
// (text_layout.h): its encoding and mark, its line ends, its empty fields
// and lines, and the text of every cell the user did not change as it
// stood in the file. Text files are read as UTF-16 after a UTF-16
// byte-order mark (what is not whole of it as U+FFFD), as UTF-8 when they
// are valid UTF-8, else as Windows-1252. A file that is not text
// (NotTextReason) is refused, with the reason in the interface language as
// `error`. The fields of a line beyond the sheet's last column and the
// lines beyond its last row are left out. The note in the interface
// language tells what the sheet does not hold as the file has it (how many
// fields and lines were left out, the byte where UTF-16 stops being whole)
// and how the file's commas were read where the file does not settle it;
// what a save in place would not give back is counted by CheckTextSave.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/safe_file_write.h"
#include "platform/workbook/text_layout.h"
#include "platform/workbook/workbook.h"

namespace kvx::workbook {

inline constexpr int kFileTypeWorkbook = 4;
inline constexpr int kFileTypeLegacyWorkbook = 2;
inline constexpr int kFileTypeText = 3;
inline constexpr int kFileTypeTextValues = 6;

// Reads a workbook (.xlsx or .xls, told by the file's first bytes: a zip
// package starts with "PK\3\4") or a
// tab-separated text file (anything else) into the workbook and reports
// its type. A file named as a workbook (IsWorkbookFileName) that is neither
// is refused. On success the workbook's FileName is the path and Modified
// is cleared; on failure `error` is one line saying why (read_failure.h).
bool IsWorkbookFileName(const std::string& path);
// `note`, when given, receives what the user should know of a file that was
// read but not whole (in the interface language; empty when nothing): the
// text readers' note. What a workbook file held that the workbook does
// not keep is counted in the workbook's ReadLosses.
bool ReadWorkbookFile(TWorkbook& book, const std::string& path, int& fileType, std::string& error,
                      std::string* note = nullptr);

// Writes the workbook (type 1, 2, 4) or the current sheet as text (3, 6):
// type 3 the cells as shown, type 6 numbers and numeric results as their
// entry text, every digit the value needs, so that reading it back gives
// the same numbers.
bool WriteWorkbookFile(const TWorkbook& book, const std::string& path, int fileType, std::string& error);

// The dialect of the tab-separated file types 3 and 6.
TTextDialect TabTextDialect(int fileType);

// Writes the current sheet as text in `dialect` (TabTextDialect of the file
// types 3 and 6, or comma-separated values) as WriteWorkbookFile and
// WriteSheetSeparated do, and makes what was written the text form the
// workbook keeps (text_layout.h): a later save in place gives that file
// back, as one over a file read.
//
// Every text is written in a form that reads back as the sheet
// (WriteCheckedText: texts the reader would take for numbers marked in tab
// text, the decimal mark chosen so that the reader decides it); where no
// form carries the sheet (a text that reads as a number in a
// comma-separated file), nothing is written: false with `proof` saying why
// (CheckTextForm), or without `proof` with `error` saying it.
//
// With `proof` and `overFile`, the save replaces the file the sheet was
// read from only when it is proven to give it back: the text written gives
// back all the file held (CheckTextSave judging the text written), and the
// temporary file, read back as the readers read a file of `dialect`, holds
// every cell as the sheet holds it (else the first cell that reads
// otherwise, TTextSaveCheck::ReadBack). Otherwise false with `proof`
// saying why (Any), the file as it was and no temporary file left; false
// with `proof` finding nothing is a failed write.
// A failed write says its cause in `error` (a sheet the text cannot hold:
// TWriteFailure::Refused with TextSaveRefusal as the text); the form with a
// text `error` says it in words alone.
bool SaveSheetText(TWorkbook& book, const std::string& path, const TTextDialect& dialect, TWriteError& error,
                   TTextSaveCheck* proof = nullptr, bool overFile = true);
bool SaveSheetText(TWorkbook& book, const std::string& path, const TTextDialect& dialect, std::string& error,
                   TTextSaveCheck* proof = nullptr, bool overFile = true);

// The text writers (types 3 and 6, WriteSheetSeparated) write only a file
// that reads back as the sheet (as SaveSheetText without `proof`) and opens
// again: a sheet whose zero characters would make the file read
// as binary data (two in a row, or many) is refused, `error` then being
// TextSaveRefusal of the first cell that holds one ("A1"), in the interface
// language; IsTextSaveRefusal tells such an error from the others.
std::string TextSaveRefusal(const std::string& cell);
bool IsTextSaveRefusal(const std::string& error);

// .xlsx and .xls files are read in a child process (isolated_read.h): a
// damaged file that makes a reading library crash, abort, or allocate or
// compute without bound is refused with an error text like any other.
//
// The .xlsx writer and readers on their own, in this process. ReadXlsx
// checks the file first (xlsx_checks.h).
// `accept`, when given, sees the finished temporary file before it replaces
// the target: false keeps the target as it was and removes the file.
bool WriteXlsx(const TWorkbook& book, const std::string& path, TWriteError& error,
               const std::function<bool(const std::string& written)>& accept = {});
bool WriteXlsx(const TWorkbook& book, const std::string& path, std::string& error,
               const std::function<bool(const std::string& written)>& accept = {});
bool ReadXlsx(TWorkbook& book, const std::string& path, std::string& error);
// The same reading, comparing each row with `held`'s as it is read instead
// of keeping it (held and read back, the cells are never there twice):
// true when the file reads, with the first cell that reads otherwise than
// `held` holds it in `found` (empty when every cell of every sheet reads
// back, value and what it shows).
bool ReadXlsxComparing(const TWorkbook& held, const std::string& path, TReadBack& found, std::string& error);
// Writes the workbook as an .xlsx file over `path` only when the file
// written, read back by the .xlsx reader in a child process as a file
// opened, holds every cell of every sheet as the workbook holds it, value
// and what it shows. Otherwise false with the first cell that reads
// otherwise in `found` (or, with `found` empty, a failed write in
// `error`), the file as it was and no temporary file left.
bool WriteXlsxProven(const TWorkbook& book, const std::string& path, TWriteError& error, TReadBack& found);
// A test's view of the file WriteXlsxProven wrote, before it is read back:
// the function may change the file (none by default).
void SetXlsxProofSeam(std::function<void(const std::string& written)> seam);
// ReadLegacyXls takes the values the reading library gives, and from the
// file's own records (xls_records.h) the last computed values of formula
// cells (numbers, texts, booleans as 1 and 0, errors as their text "#DIV/0!";
// a formula without a value that can be read stays empty) and the number
// formats. What it could not take is counted in the workbook's ReadLosses.
bool ReadLegacyXls(TWorkbook& book, const std::string& path, std::string& error);

// Why a file's bytes are no text, in the interface language; empty when
// they are text. UTF-16 text led by its byte-order mark is judged by its
// characters. Not text: zero bytes in a run or in more than a quarter of
// the bytes (binary data, UTF-16 without its mark), or bytes that are neither UTF-8 nor
// Windows-1252 (which leaves 0x81, 0x8D, 0x8F, 0x90 and 0x9D undefined). A
// single zero byte inside text is a character of its cell, as in a file
// the program wrote from such a cell.
std::string NotTextReason(std::string_view bytes);

// Comma-separated files: lines split at the separator; a field that starts
// with a double quote runs to its closing quote (doubled quotes inside stand
// for one; separators and line breaks inside belong to the field; a quote
// never closed takes the rest of its line). From row 1 and column 1 of the
// current sheet, a field that is a number with the file's decimal mark is
// that number; a date field is the date it is in the file's order of day
// and month (below); a field that reads as a number as typed
// (ParseTypedEntry: times in the session's form, with the file's decimal
// mark) is entered as if typed, every other field (formulas too) as the
// text of its cell.
//
// The decimal mark of a file's numbers (comma-separated and tab-separated
// alike) is decided for the whole file from its fields (TNumberEvidence,
// text_numbers.h): a decimal comma ("1,5", "-2,25e-3") makes it the comma,
// unless another field groups thousands with commas ("12,345,678"); commas
// that group thousands, or decimal points ("2.5"), make it the point, and
// "1,234" the number 1234. Every field that is a number with that mark and
// its grouping reads as that number, whatever the session's separators; a
// field that is a number only with the other mark stays a text, and the
// note counts it. Where the file does not settle the mark, the session's
// decimal separator decides and the note says so. An ASCII blank groups
// thousands where more fields show it than show blanks otherwise between
// digits (TNumberEvidence::BlankGroups).
//
// The order of day and month of the file's dates is decided alike from its
// date fields (TDateEvidence, text_dates.h): "25/12/2026" makes it the day
// first, "12/31/2026" the month first; year-first dates ("2026-12-11",
// "2026/12/11", "2026.12.11") read the same in every session. Where the
// fields leave it open the session's short date decides and the note says
// so; a field written like a date that is no date in the order decided
// stays a text, and the note counts it. `note` as for ReadWorkbookFile.
// `linesShow`, when given, receives the separator the file's lines show
// where none holds `separator`: ';', ',' or the tab, held by every line
// that is not empty (0 when there is none).
bool ReadSeparatedIntoSheet(TWorkbook& book, const std::string& path, char separator, std::string& error,
                            std::string* note = nullptr, char* linesShow = nullptr);
// SeparatedField (text_layout.h) gives a field as written to a
// comma-separated file.
// Rows 1 to LastRow; each row's cells 1 to its last used column as entries
// (numbers unformatted, formulas as entered), joined by the separator; an
// entry holding the separator, a double quote or a line break is quoted
// with its quotes doubled; an empty row gives an empty line. A sheet read
// from a file with this separator is written in the file's form.
bool WriteSheetSeparated(const TWorkbook& book, const std::string& path, char separator, std::string& error);

}  // namespace kvx::workbook
