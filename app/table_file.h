// The own table file (".kvx"): the result grid with everything needed to
// show or recompute its table, as one flat little-endian byte stream.
//
//   offset  size   field
//        0    33   header: ShortString "KandrevoltinexFile 0000001", zeros after
//       33     4   int32 rows - 1
//       37     4   int32 columns - 1
//       41   272   table font record (TTableFontRecord)
//      313     4   grid background colour (Windows colour value 0x00BBGGRR;
//                  top bit set: a system colour, index in the low byte)
//      317     4   colour of the fixed cells
//      321     1   reserved flag byte (kept, never interpreted)
//      322     1   cell-lines flag
//      323     1   fixed-lines flag
//      324   736   observer record of the start of the period
//     1060   736   observer record of the end of the period
//     1796 22676   table configuration record
//    24472    20   step record
//    24492     4   int32 solar-eclipse search interval, minutes
//    24496     4   int32 solar-eclipse search span, hours around new moon
//    24500     1   the reserved flag byte again
//    24501   884   221 int32 column widths, one per output quantity
//    25385  48 each  cell records, row by row from row 0, column by column
//
// Font record (272 bytes): int32 size in points; int32 height in pixels
// (negative: a character height); ShortString[255] face (31 characters
// used); int32 colour; int32 style, low byte bit 0 bold, 1 italic,
// 2 underline, 3 strike-out.
// Cell record (48 bytes): int32 row; int32 column; int32 width of the
// column in pixels; int32 height of the row in pixels; ShortString[30] text
// (longer texts cut to 30 characters); one unused byte.
//
// A file of R rows and C columns has exactly 25385 + 48 R C bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/name_tables.h"
#include "core/observer_record.h"
#include "core/table_config.h"
#include "core/table_step.h"

namespace kvx {

inline constexpr const char* kTableFileHeader = "KandrevoltinexFile 0000001";
inline constexpr std::size_t kTableFileHeaderSize = 33;
inline constexpr std::size_t kTableFontRecordSize = 272;
inline constexpr std::size_t kTableFontFaceCapacity = 255;
inline constexpr std::size_t kTableFontFaceUsed = 31;
inline constexpr std::size_t kTableCellRecordSize = 48;
inline constexpr std::size_t kTableCellTextLength = 30;
inline constexpr std::size_t kTableFileFixedSize = 25385;

// Largest grid a file may announce (rows and columns including the title
// row and column).
inline constexpr std::int64_t kTableFileMaxRows = 1000000;
inline constexpr std::int64_t kTableFileMaxCols = 1000;
inline constexpr std::int64_t kTableFileMaxCells = 16777216;

// Style bits of the font record.
inline constexpr std::uint8_t kFontBold = 1;
inline constexpr std::uint8_t kFontItalic = 2;
inline constexpr std::uint8_t kFontUnderline = 4;
inline constexpr std::uint8_t kFontStrikeOut = 8;

// A font as the table file and the configuration file keep it.
struct TTableFontRecord {
  std::int32_t Size = 10;      // points
  std::int32_t Height = -13;   // pixels, negative for a character height
  std::string Name = "Arial";  // face, at most 31 characters stored
  std::int32_t Color = 0;      // Windows colour value
  std::int32_t Style = 0;      // low byte: kFontBold | kFontItalic | ...
};

void EncodeTableFontRecord(const TTableFontRecord& font, std::span<std::uint8_t, kTableFontRecordSize> out);
TTableFontRecord DecodeTableFontRecord(std::span<const std::uint8_t, kTableFontRecordSize> in);

struct TTableFileCell {
  std::int32_t Row = 0;
  std::int32_t Col = 0;
  std::int32_t Width = 0;   // pixels, the column's width
  std::int32_t Height = 0;  // pixels, the row's height
  std::string Text;         // UTF-8; at most 30 Windows-1252 characters kept
};

// Everything a table file holds, in memory.
struct TTableFileImage {
  std::int32_t RowCount = 2;
  std::int32_t ColCount = 2;
  TTableFontRecord Font;
  std::uint32_t GridColor = 0x80000005u;   // system colour: window background
  std::uint32_t FixedColor = 0x8000000Fu;  // system colour: button face
  std::uint8_t Reserved = 0;
  std::uint8_t CellLines = 1;
  std::uint8_t FixedLines = 1;
  TObserverRecord StartObserver;
  TObserverRecord EndObserver;
  TTableConfigRecord TableConfig;
  TTableStep Step;
  std::int32_t EclipseSearchMinutes = 5;
  std::int32_t EclipseSearchSpanHours = 8;
  std::array<std::int32_t, kQuantityCount> ColumnWidthTable{};
  // RowCount * ColCount records in file order (row by row).
  std::vector<TTableFileCell> Cells;
};

// The whole file. Cells beyond RowCount * ColCount are not written; missing
// ones are written empty with their loop indices.
std::vector<std::uint8_t> EncodeTableFile(const TTableFileImage& image);

enum class TableFileProblem {
  None,
  Header,   // not a table file: the header does not match
  Damaged,  // counts, length or a cell index out of order
};

// Checks the whole image before anything is taken: the header, R >= 1,
// C >= 1 within the limits above, a size of exactly 25385 + 48 R C and every
// cell record's row and column inside the grid. `image` is only written
// when the answer is None.
TableFileProblem DecodeTableFile(std::span<const std::uint8_t> bytes, TTableFileImage& image);

// What the file cannot hold unchanged, as the object and field of a refused
// save: a cell text of more than 30 characters or with a character outside
// Windows-1252 ("Zeile 3, Spalte 2: Text = "..."" / "Row 3, column 2:
// Text = "..."", the grid's indices), a place name of the two observer
// records, a column title; empty when the file keeps everything. The font's
// face is not a value: it is cut to 31 characters.
std::string TableFileRefusal(const TTableFileImage& image);

// True for the extensions ".kvx" and ".KVX" exactly.
bool HasTableFileExtension(const std::string& fileName);

}  // namespace kvx
