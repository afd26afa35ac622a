// One line of an element file to one element record and back: the
// system's own semicolon-separated lines, the Minor Planet Center's packed
// dates and one-line records, and the small reading and formatting helpers
// the foreign formats share.
//
// Numbers in the own lines: each field is trimmed at both ends, its first
// "," becomes "." and it is read as a plain decimal number; a field that is
// not a number counts as 0 (the files were never checked more closely). A
// record that would poison the computation is refused as unusable:
//   asteroid  a <= 0, e < 0 or e >= 1
//   comet     q <= 0 or e < 0
//   variable  period <= 0
// and any field that is not a finite number.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"
#include "core/variable_star_elements.h"
#include "platform/text_encoding.h"

namespace kvx {

enum class TLineParse {
  Blank,     // empty, or a ":" header or comment line: not a record
  Parsed,    // a usable record
  Unusable,  // a data line whose elements cannot be computed with
};

// True for a line that is neither empty, blank nor a ":" header or comment.
bool IsElementDataLine(const std::string& line);

// The own asteroid line name;a;e;i;node;per;m;n;equinox;epoch;h;g (g 0.15
// when the line ends after h). The name is passed through
// NormalizeDesignation when `normalizeNames` is set and cut to 40
// characters.
TLineParse ParseAsteroidCsvLine(const std::string& line, bool normalizeNames, TAsteroidElements& record);
// The own comet line name;q;e;i;node;per;equinox;T;H;G;epoch (text after
// the eleventh ";" belongs to the epoch field, which then fails to read).
TLineParse ParseCometCsvLine(const std::string& line, TCometElements& record);
// The variable-star line Name;RA;Dec;MaxMag;MinMag;Epoch;Period;Equinox;Type
// (the name cut to 30 characters, the type the first character of the ninth
// field).
TLineParse ParseVariableStarLine(const std::string& line, TVariableStarElements& record);

bool AsteroidElementsUsable(const TAsteroidElements& e);
bool CometElementsUsable(const TCometElements& e);
bool VariableStarElementsUsable(const TVariableStarElements& e);

// One number of an own line: trimmed, first "," to ".", ValReal; 0 when it
// is not a number.
double OwnNumberField(std::string_view field);

// A number for the own files: `decimals` decimals, at least 3 wide, blanks
// removed, the point replaced by the configured decimal separator.
std::string OwnNumberText(double value, int decimals);
// A number for the foreign files: the same with the decimal point.
std::string PointNumberText(double value, int decimals, int minWidth = 3);

// A name as the writers put it: `forbidden` (it would split the field),
// control characters (line ends), byte-order marks and a leading ":" (a
// comment line) replaced by blanks, then leading blanks moved to the end.
std::string WritableName(const std::string& name, char forbidden);

// The Minor Planet Center's packed date (five characters: century I, J, K,
// L = 1800, 1900, 2000, 2100; two year digits; month and day as 1-9, A-V)
// as the Julian day of 0 h of that date; nothing when the text is not such
// a date (a character outside those ranges, or a date that does not exist).
std::optional<double> UnpackPackedEpoch(std::string_view packed);

// Reads blank-separated numbers and fixed-width pieces from one line, the
// way the free-format element files are laid out. The line is decoded text
// (UTF-8): widths count characters, not bytes.
class TFieldCursor {
 public:
  explicit TFieldCursor(std::string_view line) : line_(line) {}
  // The next blank-separated word as a number (a "," is read as "."); false
  // when the line has no further word or the word is not a number.
  bool Number(double& value);
  // The next blank-separated word as a whole number.
  bool Integer(int& value);
  // Skips `count` characters (fewer at the end of the line).
  void Skip(std::size_t count);
  // The next `count` characters (fewer at the end of the line).
  std::string Take(std::size_t count);
  // The rest of the line.
  std::string Rest();
  std::size_t Position() const { return pos_; }

 private:
  bool Word(std::string_view& word);
  std::string_view line_;
  std::size_t pos_ = 0;
};

// Columns `first`..`last` (characters counted from 1) of a decoded line,
// shorter or empty when the line ends first. It counts from the start of the
// line at each call: a reader that takes many fields of a line uses
// TLineColumns.
std::string_view Columns(std::string_view line, std::size_t first, std::size_t last);

// The fixed columns of one decoded line, found in one pass over it: the
// character starts are noted once (a line without UTF-8 continuation bytes
// needs no table, its columns are its bytes), and every field afterwards is
// cut without counting again. A character is a byte that is not a UTF-8
// continuation byte (0x80..0xBF) with the continuation bytes after it, the
// first byte always starting one, as Columns counts. The line must outlive
// the object.
class TLineColumns {
 public:
  explicit TLineColumns(std::string_view line);
  // As Columns(line, first, last).
  std::string_view Columns(std::size_t first, std::size_t last) const;
  // The number of characters as Utf8Length counts them.
  std::size_t Length() const { return length_; }
  std::string_view Line() const { return line_; }

 private:
  // The byte offset of character `index` (from 0); the line's end beyond it.
  std::size_t Offset(std::size_t index) const {
    if (starts_.empty()) return index < line_.size() ? index : line_.size();
    return index < starts_.size() ? starts_[index] : line_.size();
  }
  std::string_view line_;
  std::size_t length_ = 0;
  std::vector<std::size_t> starts_;  // each character's first byte and the end; empty: one byte each
};

// The trimmed columns as a number: blank gives 0 and true; anything else
// that is not a number gives false.
bool ColumnNumber(std::string_view line, std::size_t first, std::size_t last, double& value);
bool ColumnNumber(const TLineColumns& line, std::size_t first, std::size_t last, double& value);

// One record in the Minor Planet Center's one-line orbit format (the lines of
// MPCORB and of the Center's ".txt" element files): H 9-13, G 15-19, packed
// epoch 21-25, M 27-35, argument of perihelion 38-46, node 49-57,
// inclination 60-68, e 71-79, n 81-91, a 93-103, readable designation
// 167-194. The name is the trimmed readable designation (the packed
// designation 1-7 when that is blank), cut to 40 characters and passed
// through NormalizeDesignation when `normalizeNames` is set. Equinox 2000.
// Blank: an empty line. Unusable: a line that is not such a record or whose
// elements cannot be computed with.
TLineParse ParseMpcOneLine(std::string_view line, bool normalizeNames, TAsteroidElements& record);
TLineParse ParseMpcOneLine(const TLineColumns& line, bool normalizeNames, TAsteroidElements& record);

// A Julian day rounded to `decimals` decimals of a day counted from
// midnight (the form in which the formats write a date with its day).
double RoundJdToDayDecimals(double jd, int decimals);

// The HomePlanet perihelion time: "year-month-day", no leading zeros, the
// day with 3 decimals unless T is at 0 h ("1997-4-1", "1997-3-31.621"), or
// with as many more (up to 10) as it takes to read back to T itself.
std::string PerihelionDateText(double jd);
// Reads it back (the day may carry a fraction, either decimal mark); false
// when it is not such a text.
bool ParsePerihelionDateText(const std::string& text, double& jd);

}  // namespace kvx
