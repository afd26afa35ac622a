// The texts the cells of a text file had in the file, kept with the
// workbook so that a save gives them back (text_layout.h): a mark on each
// cell whose contents give its text back, and for the others where the
// text stands and a fingerprint of the cell the reader made of it, which
// tells whether the cell still holds what it was read as.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/sheet_data.h"
#include "platform/workbook/text_dates.h"

namespace kvx::workbook {

// Where a cell's text stands in TTextSource::Texts, and the fingerprint of
// the cell the reader made of it.
struct TCellSource {
  std::uint32_t Offset = 0;
  std::uint32_t Length = 0;
  std::uint64_t Content = 0;
};

// TCell::Source of a cell whose file text is the one its contents give: a
// number as its shortest text with the file's decimal mark ("12,75",
// "2026"), a text as it stands. Most cells of a file are such; nothing is
// kept for them.
inline constexpr std::uint32_t kSourceInContents = 0xFFFFFFFFu;

// The text file the workbook's text sheet came from (none when SheetId is
// 0): how its fields are separated, the decimal mark of its numbers and
// the form of its dates, how
// its new lines end, what of it the sheet does not hold, and the cells'
// texts as the file held them where their contents do not give them back
// (UTF-8, quotes included for a comma-separated file). The encoding is the
// workbook's TextForm. More text of the same kind of file read into the
// workbook adds to the cells' texts; another file's form replaces them. A
// cell whose Source index no longer finds the text it was read from (its
// fingerprint differs: an undo past a new read or save) is written as if it
// had none.
struct TTextSource {
  int SheetId = 0;           // TSheetData::Id of the sheet it was read into
  char Separator = '\t';     // between the fields
  bool Quoting = false;      // fields may stand in double quotes (comma-separated files)
  char Decimal = '.';        // the decimal mark of its numbers ('.' or ','), the other of the two groups thousands
  bool BlankGroups = false;  // an ASCII blank groups thousands too (TNumberEvidence::BlankGroups)
  TDateForm Dates;           // the order and form of its dates (text_dates.h), in which a changed date is written
  TLineEnd NewLineEnd = TLineEnd::CrLf;            // for lines the file did not have: its most frequent end
  std::uint64_t LinesLeftOut = 0;                  // lines beyond the sheet's last row
  std::uint64_t FieldsLeftOut = 0;                 // fields beyond the sheet's last column
  std::size_t DamagedAt = std::string_view::npos;  // the first byte of UTF-16 that was no whole character
  std::string Texts;
  std::vector<TCellSource> Cells;  // TCell::Source - 1 indexes it

  // Adds a cell's text; the index for TCell::Source (0 when the texts kept
  // would pass 4 GiB: the cell is then written as if changed).
  std::uint32_t Add(std::string_view text);
  // Keeps `text` as the file's text of the cell just made of it, and marks
  // the cell so: kSourceInContents when its contents give the text back,
  // else the text added with the cell's fingerprint. `given`: the caller
  // knows that the contents give it back (a number whose text is its
  // shortest one, FieldNumber), which spares writing the number.
  void Keep(TCell& cell, std::string_view text, bool given = false);
  // The file's text of a cell into `text` when the cell still holds what
  // it was read as; false otherwise. A number's text stands in this source
  // and stays valid until the next call.
  bool Of(const TCell& cell, std::string_view& text) const;

 private:
  // The text of a number in contents (kSourceInContents).
  mutable char number_[32] = {};
};

// A fingerprint of what a cell holds (its kind and its number, text or
// formula; neither its format nor a formula's result).
std::uint64_t ContentKey(const TCell& cell);

}  // namespace kvx::workbook
