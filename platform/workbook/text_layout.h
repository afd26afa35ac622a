// The form of the text file a sheet was read from, and the text writers
// that keep it: a text opened and saved gives back the file's own bytes for
// every cell the user did not change (its encoding and byte-order mark,
// its separator and quoting, its line ends, its empty fields and lines, and
// each cell's text as it stood in the file: "01067", "+5", "1.10",
// "=A2*B2"), and only a changed cell is written anew.
//
// The readers (workbook_files.h) keep each cell's text as the file held it
// (TTextSource, text_source.h) with a fingerprint of the cell it became
// (ContentKey); the writer takes the file's text while the cell still holds
// what it was read as. What a save would not give back is told as counts (TTextSaveCheck),
// never as prose: the document decides from them whether Save may write
// over the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_encoding.h"
#include "platform/workbook/number_format.h"
#include "platform/workbook/read_back.h"
#include "platform/workbook/sheet_data.h"
#include "platform/workbook/text_dates.h"
#include "platform/workbook/text_source.h"

namespace kvx::workbook {

class TWorkbook;

// A field as written to a comma-separated file: quoted (quotes doubled)
// when it holds the separator, a double quote or a line break.
std::string SeparatedField(const std::string& text, char separator);

// The dialect of a text file: the tab-separated text of the workbook's text
// types (cells as shown, or numbers as their entries), or comma-separated
// values (entries, quoted where needed).
struct TTextDialect {
  char Separator = '\t';
  bool Quoting = false;
  bool ValuesOnly = false;  // tab text: numbers as their entry text
};

// A sheet's text as the writer wrote it (UTF-8): the whole text, and
// where each line's fields stand in it, so that what is judged of a save
// is what is written.
struct TWrittenField {
  std::size_t Offset = 0;
  std::uint32_t Length = 0;
  bool FromFile = false;  // the file's own text of an unchanged cell
  // The text is the shortest text of the cell's number with the writer's
  // decimal mark (an unchanged number whose value gives its file text back).
  bool ShortestNumber = false;
};
struct TWrittenLine {
  std::size_t FirstField = 0;  // index into TWrittenText::Fields
  std::uint32_t Fields = 0;
  TLineEnd End = TLineEnd::None;
};
struct TWrittenText {
  std::string Text;
  std::vector<TWrittenLine> Lines;  // row 1 first
  std::vector<TWrittenField> Fields;
  int ZeroRow = 0, ZeroCol = 0;  // the first cell whose text holds a zero character (0, 0 when none)

  std::string_view Field(const TWrittenField& field) const {
    return std::string_view(Text).substr(field.Offset, field.Length);
  }
};

// Writes one sheet as text. In the form of the text file the sheet was read
// from when it is that sheet and the dialect is the file's: every line
// and every field the file had, each line's end, each unchanged cell's text
// as it stood, a changed formula as its formula text, a changed number with
// the file's decimal mark and grouping, as shown; otherwise rows 1 to the
// last used row, CR/LF, the cells as the dialect gives them with the
// session's separators, or with the decimal mark `decimal` ('.' or ',')
// when given. A date is written in the file's date form (TTextSource::Dates;
// year first in a file without dates) where the writer keeps it, else in
// `dates` when given (InDateForm); a
// blank grouping thousands in a number as shown, as a no-break space
// (U+00A0), which every reader takes for grouping. In tab text a changed
// text that the readers would take for something else (a number with
// either mark, a date, a formula, a text led by an apostrophe) is written
// after an apostrophe, which marks a field as text.
class TTextSheetWriter {
 public:
  TTextSheetWriter(const TWorkbook& book, int sheet, const TTextDialect& dialect, char decimal = 0,
                   const TDateForm* dates = nullptr);

  bool KeepsFileForm() const { return keeps_; }
  // The separators the changed cells are written with.
  const TFormatLocale& Locale() const { return locale_; }
  // The sheet's text in one walk over its rows and fields.
  TWrittenText Write() const;

 private:
  int Rows() const;
  int Fields(int row) const;
  // The field's text (UTF-8); `field` tells whether it is the file's own
  // and whether it is a number's shortest text.
  std::string CellText(int row, int col, TWrittenField& field) const;
  // A text value as a tab text field, marked where it needs it.
  std::string TextField(std::string text) const;
  // The text of a number cell in the file's forms: its date in the
  // writer's date form, a number's grouping blanks as no-break spaces.
  std::string NumberField(std::string text, const TCell& cell) const;
  TLineEnd End(int row) const;

  const TWorkbook& book_;
  int sheet_;
  const TSheetData& data_;
  TTextDialect dialect_;
  const TTextSource& source_;
  bool sourceDialect_;  // the workbook's texts are of this dialect
  bool keeps_;          // ... and this is the sheet they came from
  TFormatLocale locale_;
  TDateForm dates_;  // Separator 0: dates as the cells show them
};

// What a text save in place (the tab-separated types, or comma-separated
// values with `dialect`) would not give back of the file the workbook's
// text sheet was read from, with what CheckTextForm finds; for a workbook
// that came from no text file only that.
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
  // Changed texts that would read back otherwise: as numbers ("2.5",
  // "12", a date), or another text.
  int NumberTexts = 0;
  std::string NumberText;
  // The decimal mark the file written would be read with when it is not
  // the one its numbers are written with ('.' or ','; 0 when it is): a
  // changed cell or one gone decides it otherwise ("3,5" typed as text
  // beside "1,234" read as 1234); the cells that would then read
  // otherwise, and the first of them.
  char DecimalTo = 0;
  int DecimalCells = 0;
  std::string DecimalCell;
  // Number cells whose dates the reader would read otherwise: in the order
  // the written fields decide, or (in a new file) in the order a reader's
  // desktop decides where the fields leave it open, or with a two-digit
  // year; the first of them.
  int DateCells = 0;
  std::string DateCell;
  // The first cell the written file reads otherwise when read back as its
  // reader reads it (SaveSheetText).
  TReadBack ReadBack;
  // How the reader reads the text judged (not faults): whether a blank
  // groups thousands, the order and form of its dates.
  bool BlankGroups = false;
  TDateForm Dates;

  bool Any() const;
};
TTextSaveCheck CheckTextSave(const TWorkbook& book, const TTextDialect& dialect);
// The same judged from the text `written` the writer wrote for the sheet.
TTextSaveCheck CheckTextSave(const TWorkbook& book, const TTextDialect& dialect, const TTextSheetWriter& writer,
                             const TWrittenText& written);

// What any text written must carry to read back as the sheet, judged from
// the text `written` with the readers' own decisions: no changed cell split
// by a separator, no changed text read back as a number, the decimal mark
// the reader would decide for the file the one its numbers are written
// with. A write to a new file needs only this; CheckTextSave judges it too.
TTextSaveCheck CheckTextForm(const TWorkbook& book, const TTextDialect& dialect, const TTextSheetWriter& writer,
                             const TWrittenText& written);

// The sheet's text in a form that reads back as the sheet: in the file's
// form when the writer keeps it; else with the session's decimal mark, or
// the other one where only that carries the sheet (the reader deciding the
// mark its numbers are written with), and its dates as shown, or year
// first ("2026-12-11") where they would read otherwise on some desktop. `Check` judges the text chosen (the
// session's mark when neither carries the sheet): CheckTextSave over the
// file the sheet was read from with `overFile`, else CheckTextForm.
struct TCheckedText {
  TTextSheetWriter Writer;
  TWrittenText Written;
  TTextSaveCheck Check;
};
TCheckedText WriteCheckedText(const TWorkbook& book, const TTextDialect& dialect, bool overFile);

// Why the save would not give the file back, as one clause in German or
// English ("15 numbers would be written differently, such as 01067 →
// 1067"; reasons joined by commas and "and"); empty when it would.
std::string TextSaveReason(const TTextSaveCheck& check, bool english);

// What a text of the sheet `sheet` does not hold that the workbook does:
// the sheet's formulas (a text holds their values, or in a comma-separated
// file their text, which reads back as a text; only a tab text the sheet's
// text form holds them in gives them back), its cells' formats (font,
// alignment, borders, fill), and the other sheets that hold cells.
struct TWorkbookOnly {
  int Formulas = 0;
  int FormattedCells = 0;
  int OtherSheets = 0;
  bool Any() const { return Formulas > 0 || FormattedCells > 0 || OtherSheets > 0; }
};
TWorkbookOnly WorkbookOnly(const TWorkbook& book, int sheet);
// The list of them in German or English ("3 Formeln, die Formate von 2
// Zellen und 1 weiteres Tabellenblatt mit Zellen"); empty when there is
// nothing.
std::string WorkbookOnlyList(const TWorkbookOnly& only, bool english);

}  // namespace kvx::workbook
