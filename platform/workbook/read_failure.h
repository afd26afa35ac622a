// Why a workbook or text file could not be read: one line for the user, in
// English as the readers report it (their `error` texts) and in German.
//
// The readers build their texts from the phrases of ReadFailure, each
// with at most one detail (a part name, a sheet name, a size) in place of
// "{}"; GermanReadFailure finds the phrase again and gives the German
// line with the same detail. A text of another origin stays as it is.
#pragma once

#include <string>

namespace kvx::workbook {

enum class TReadFailure {
  Empty,                // a 0-byte file
  NotAWorkbook,         // a workbook extension, but neither a zip package nor an .xls file
  NotAZip,              // no zip directory at all
  Truncated,            // a zip whose end is missing
  DamagedZip,           // the zip directory does not hold together
  DamagedPart,          // {}: the part's name (cannot be unpacked, sizes or checksum wrong)
  NoWorkbookPart,       // a zip package without a workbook part
  MissingSheetPart,     // {}: the sheet's name
  MissingPart,          // {}: the name of a part the cells need (the shared strings, the styles)
  BadXml,               // {}: the part's name
  NoSheets,             // nothing readable
  FileTooLarge,         // {}: the limit in MiB
  PartTooLarge,         // {}: the part's name; the limit follows
  TooLarge,             // {}: the limit in MiB
  NotAnXls,             // the .xls library refuses the file
  ReaderStopped,        // the reading process ended on the file (a crash)
  TooSlow,              // {}: the time limit in seconds
  NoMemory,             // the reading process ran out of memory
  NoNumber,             // {}: the cell ("Sheet1!C1") whose number is none or not finite
  NoRelationships,      // {}: a relationship part without the relationships of the packaging format
  UnknownNamespace,     // {}: a part of the workbook, its sheets, strings or styles in a namespace not read
  UnknownRelationship,  // {}: a part the reading needs, named by a relationship of a type not followed
  StrictForm,           // a workbook in the strict form whose parts the reading library refuses
  UnreadableParts,      // the reading library refuses the parts (any other reason)
};

// The English line (as the readers put it in `error`).
std::string ReadFailure(TReadFailure kind, const std::string& detail = {});

// The German line of an English line made by ReadFailure; any other text
// unchanged.
std::string GermanReadFailure(const std::string& english);

}  // namespace kvx::workbook
