// The form of the text file a sheet was read from, and the text writers
// that keep it: a text opened and saved gives back the file's own bytes for
// every cell the user did not change (its encoding and byte-order mark,
// its separator and quoting, its line ends, its empty fields and lines, and
// each cell's text as it stood in the file: "01067", "+5", "1.10",
// "=A2*B2"), and only a changed cell is written anew.
//
// The readers (workbook_files.h) keep each cell's text as the file held it
// (TTextSource) with a fingerprint of the cell it became (ContentKey); the
// writer takes the file's text while the cell still holds what it was read
// as. What a save would not give back is told as counts (TTextSaveCheck),
// never as prose: the document decides from them whether Save may write
// over the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_encoding.h"
#include "platform/workbook/sheet_data.h"

namespace kvx::workbook {

class TWorkbook;

// Where a cell's text stands in TTextSource::Texts, and the fingerprint of
// the cell the reader made of it.
struct TCellSource {
  std::uint64_t Offset = 0;
  std::uint32_t Length = 0;
  std::uint64_t Content = 0;
};

// The text file the workbook's text sheet came from (none when SheetId is
// 0): how its fields are separated, how its new lines end, what of it the
// sheet does not hold, and the cells' texts as the file held them (UTF-8,
// quotes included for a comma-separated file). The encoding is the
// workbook's TextForm. The cells' texts only grow while the workbook
// lives, so a cell that keeps its Source index after an undo still finds
// its text.
struct TTextSource {
  int SheetId = 0;                                 // TSheetData::Id of the sheet it was read into
  char Separator = '\t';                           // between the fields
  bool Quoting = false;                            // fields may stand in double quotes (comma-separated files)
  TLineEnd NewLineEnd = TLineEnd::CrLf;            // for lines the file did not have: its most frequent end
  std::uint64_t LinesLeftOut = 0;                  // lines beyond the sheet's last row
  std::uint64_t FieldsLeftOut = 0;                 // fields beyond the sheet's last column
  std::size_t DamagedAt = std::string_view::npos;  // the first byte of UTF-16 that was no whole character
  std::string Texts;
  std::vector<TCellSource> Cells;  // TCell::Source - 1 indexes it

  // Adds a cell's text; the index for TCell::Source.
  std::uint32_t Add(std::string_view text);
  // The file's text of a cell into `text` when the cell still holds what
  // it was read as; false otherwise.
  bool Of(const TCell& cell, std::string_view& text) const;
};

// A fingerprint of what a cell holds (its kind and its number, text or
// formula; neither its format nor a formula's result).
std::uint64_t ContentKey(const TCell& cell);

// The dialect of a text file: the tab-separated text of the workbook's text
// types (cells as shown, or numbers as their entries), or comma-separated
// values (entries, quoted where needed).
struct TTextDialect {
  char Separator = '\t';
  bool Quoting = false;
  bool ValuesOnly = false;  // tab text: numbers as their entry text
};

// Writes one sheet as text. In the form of the text file the sheet was read
// from when it is that sheet and the dialect is the file's: every line
// and every field the file had, each line's end, each unchanged cell's text
// as it stood, a changed formula as its formula text; otherwise rows 1 to
// the last used row, CR/LF, the cells as the dialect gives them.
class TTextSheetWriter {
 public:
  TTextSheetWriter(const TWorkbook& book, int sheet, const TTextDialect& dialect);

  bool KeepsFileForm() const { return keeps_; }
  int Rows() const;
  int Fields(int row) const;
  // The field's text (UTF-8); `fromFile` tells whether it is the file's own.
  std::string CellText(int row, int col, bool* fromFile = nullptr) const;
  TLineEnd End(int row) const;
  // The whole text (UTF-8), and the first cell whose text holds a zero
  // character (0, 0 when none).
  std::string Text(int* zeroRow = nullptr, int* zeroCol = nullptr) const;

 private:
  const TWorkbook& book_;
  int sheet_;
  const TSheetData& data_;
  TTextDialect dialect_;
  const TTextSource& source_;
  bool sourceDialect_;  // the workbook's texts are of this dialect
  bool keeps_;          // ... and this is the sheet they came from
};

// What a text save in place (the tab-separated types, or comma-separated
// values with `dialect`) would not give back of the file the workbook's
// text sheet was read from. Nothing for a workbook that came from no text
// file.
struct TTextSaveCheck {
  std::string OtherSheet;  // the name of the sheet that would be written instead of the file's
  int Numbers = 0;         // number cells the user did not change, written otherwise
  std::string NumberFrom, NumberTo;
  int Formulas = 0;  // formula cells written as their values
  int Others = 0;    // other cells written otherwise
  std::string OtherFrom, OtherTo;
  bool LineEnds = false;
  bool Encoding = false;  // the text would be written in another encoding
  TTextEncoding EncodingFrom = TTextEncoding::Utf8;
  TTextEncoding EncodingTo = TTextEncoding::Utf8;
  std::uint64_t LinesLeftOut = 0;
  std::uint64_t FieldsLeftOut = 0;
  std::size_t DamagedAt = std::string_view::npos;
  int SplitCells = 0;  // changed cells holding a separator or a line break, which would read back as more cells

  bool Any() const;
};
TTextSaveCheck CheckTextSave(const TWorkbook& book, const TTextDialect& dialect);

// The dialect of the tab-separated file types (3, 6: workbook_files.h).
TTextDialect TabTextDialect(int fileType);

// Why the save would not give the file back, as one clause in German or
// English ("15 numbers would be written differently, such as 01067 →
// 1067"; reasons joined by commas and "and"); empty when it would.
std::string TextSaveReason(const TTextSaveCheck& check, bool english);

}  // namespace kvx::workbook
