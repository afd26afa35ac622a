// What the .xls reading library leaves out of a legacy workbook, read from
// the file's own records: the last computed values of formula cells, the
// boolean and error cells, the number formats of the cells, and what the
// program's workbook does not keep (read_losses.h).
//
// A legacy .xls file is a compound file (the container format of the old
// office programs: a header, a sector allocation table, a directory of
// streams, small streams in a mini stream of 64-byte sectors) whose stream
// "Workbook" (BIFF8) or "Book" (BIFF5) holds records of
//   type (2 bytes), length (2 bytes), data (length bytes), little-endian.
// The records read here:
//   BOUNDSHEET 0x0085  stream offset of a sheet's records (4), state (1:
//                      0 visible, 1 hidden, 2 very hidden), kind (1: 0 a
//                      worksheet, 2 a chart sheet), name
//   DATEMODE   0x0022  1 when the serials count from 1904
//   NAME       0x0018  a defined name: flags (2; 0x0001 hidden, 0x0020
//                      built in), ...
//   FORMAT     0x041E  format index (2), format code (a string)
//   XF         0x00E0  font (2), format index (2), ...: the cell formats by
//                      their order
//   FORMULA    0x0006  row (2), column (2), XF (2), result (8): a double, or
//                      when its last two bytes are FF FF, byte 0 the kind
//                      (0 text in the STRING record that follows, 1 boolean,
//                      2 error, 3 empty text) and byte 2 the value (a
//                      boolean 0 or 1, an error code; another value, or
//                      another kind, is no value: the cell stays empty)
//   STRING     0x0207  the text result of the formula before it
//   BOOLERR    0x0205  row, column, XF, value (1), 1 when the value is an
//                      error code (1)
//   NUMBER     0x0203, RK 0x027E, MULRK 0x00BD: the XF of number cells
//   MERGEDCELLS 0x00E5 a count (2), then the merged ranges
//   NOTE       0x001C  one cell comment
//   OBJ        0x005D  a drawn object: its first subrecord (0x0015) gives
//                      the object type (2 bytes after type and length:
//                      5 a chart, 8 a picture, 1-4, 6, 9, 0x1E shapes)
//   DV 0x01BE, CONDFMT 0x01B0, HLINK 0x01B8: a data validation rule, a
//                      conditional format, a hyperlink
// A chart embedded in a sheet stands inside the sheet's records as a
// substream of its own (BOF 0x0809 ... EOF 0x000A).
// Strings of BIFF8 are a character count, a flag byte (bit 0: two bytes a
// character, UTF-16LE; else one byte, Latin-1; bits 2 and 3: extra blocks
// after the characters) and the characters; a text too long for its record
// goes on in CONTINUE records (0x003C), each opening with a new flag byte.
// BIFF5 strings are a count and bytes in the file's code page (read here
// as Windows-1252).
//
// Every length and offset is checked against the bytes there are: a
// damaged file gives `Readable` false or fewer cells, never a read outside
// the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/read_losses.h"

namespace kvx::workbook {

enum class TXlsValueKind : std::uint8_t { Number, Text, Boolean, Error, Unread };

// One cell the records give: a formula's last result, or a boolean or error
// cell. Rows and columns from 1.
struct TXlsValueCell {
  int Row = 0;
  int Col = 0;
  bool Formula = false;  // a formula cell (its result is the value)
  TXlsValueKind Kind = TXlsValueKind::Unread;
  double Number = 0.0;  // Number; Boolean 1 or 0
  std::string Text;     // Text (UTF-8); Error: its code ("#DIV/0!")
  std::string Format;   // the cell's number format code; empty: General
};

struct TXlsSheetRecords {
  std::string Name;
  std::vector<TXlsValueCell> Cells;
  // The number format codes of number cells that have one, by position.
  std::vector<TXlsValueCell> NumberFormats;  // Row, Col and Format only
};

struct TXlsRecords {
  bool Readable = false;  // the container and its workbook stream were found
  bool Date1904 = false;
  // Merged ranges, hidden sheets, comments, charts, pictures and shapes,
  // validations, conditional formats, hyperlinks and defined names; the
  // counts of the cells' values are the reader's (formulas, truth values,
  // errors).
  TReadLosses Losses;
  // Where the BOF and EOF records of the substreams embedded in sheets
  // (charts) start in the workbook stream.
  std::vector<std::size_t> EmbeddedMarks;
  std::vector<TXlsSheetRecords> Sheets;  // the worksheets, in file order
};

// The workbook stream of a compound file's bytes; empty when there is none.
std::string XlsWorkbookStream(std::string_view file);

// The file's bytes with the BOF and EOF records at `marks` of its workbook
// stream (TXlsRecords::EmbeddedMarks) turned into a chart record that
// readers of cells pass over: the .xls reading library stops on a
// substream inside a sheet (it gives no workbook at all for a sheet with a
// chart) and reads such a copy whole. The bytes unchanged when there are no
// marks or no compound file.
std::string XlsWithoutEmbeddedSubstreams(std::string_view file, const std::vector<std::size_t>& marks);

// The records above from a workbook stream.
TXlsRecords ReadXlsRecords(std::string_view stream);

// The text of an error code of the format (0x07 "#DIV/0!", 0x2A "#N/A",
// ...); empty for a code the format does not have (the cell then has no
// value that can be read).
std::string XlsErrorText(int code);

// The format code of a built-in number format index (14 a date, ...);
// empty for General and for indices without one (BuiltinNumberFormat).
std::string XlsBuiltinFormat(int index);

}  // namespace kvx::workbook
