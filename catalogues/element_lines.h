// One line of an element file to one element record and back: the
// system's own semicolon-separated lines, the Minor Planet Center's packed
// dates and one-line records, and the small reading and formatting helpers
// the foreign formats share.
//
// Numbers: each field is trimmed at both ends, its first "," becomes "."
// and it is read as a plain decimal number. What each line holds, and
// which fields may be blank, is in element_format_fields.h: a field that
// is not a number (or blank where the format needs one) reads as NaN and
// makes the line unusable, never 0. A record that would poison the
// computation is refused as unusable too:
//   asteroid  a <= 0, e < 0 or e >= 1
//   comet     q <= 0 or e < 0
//   variable  period <= 0
// and any field that is not a finite number. The parsers name the field
// to blame (`unusable`, when given): the first that did not read, else the
// one out of range.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalogues/element_format_fields.h"
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
TLineParse ParseAsteroidCsvLine(const std::string& line, bool normalizeNames, TAsteroidElements& record,
                                const char** unusable = nullptr);
// The own comet line name;q;e;i;node;per;equinox;T;H;G;epoch (text after
// the eleventh ";" belongs to the epoch field, which then fails to read).
TLineParse ParseCometCsvLine(const std::string& line, TCometElements& record, const char** unusable = nullptr);
// The variable-star line Name;RA;Dec;MaxMag;MinMag;Epoch;Period;Equinox;Type
// (the name cut to 30 characters, the type the first character of the ninth
// field).
TLineParse ParseVariableStarLine(const std::string& line, TVariableStarElements& record,
                                 const char** unusable = nullptr);

// The field that makes a record unusable (the first that is not a finite
// number, else a or e, q or e, the period out of range); nullptr for a
// usable record.
const char* UnusableField(const TAsteroidElements& e);
const char* UnusableField(const TCometElements& e);
const char* UnusableField(const TVariableStarElements& e);
bool AsteroidElementsUsable(const TAsteroidElements& e);
bool CometElementsUsable(const TCometElements& e);
bool VariableStarElementsUsable(const TVariableStarElements& e);

// A number for the own files: `decimals` decimals, at least 3 wide, blanks
// removed, the point replaced by the configured decimal separator.
std::string OwnNumberText(double value, int decimals);
// A number for the foreign files: the same with the decimal point.
std::string PointNumberText(double value, int decimals, int minWidth = 3);
// KeptNumberText(x, decimals) appended to `out`, its "." as `mark`.
void AppendKeptNumber(std::string& out, double x, int decimals, char mark);

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
  // The next blank-separated word; false when the line has none.
  bool Word(std::string_view& word);
  // Skips `count` characters (fewer at the end of the line).
  void Skip(std::size_t count);
  // The next `count` characters (fewer at the end of the line).
  std::string Take(std::size_t count);
  // The rest of the line.
  std::string Rest();
  std::size_t Position() const { return pos_; }

 private:
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

// The order of the three words of a date in a line.
enum class TDateOrder { YearMonthDay, DayMonthYear };

// The field reader: a number field's text as a number. The text is
// trimmed (blanks and tabs), its first "," read as "."; then it must be a
// plain decimal number: an optional sign, digits with at most one decimal
// mark, at least one digit before or after the mark ("5." and ".5" read, a
// lone ".", ",", "-." or "+." does not), an optional exponent; and finite.
// False otherwise (`value` is then left as it was).
bool ReadNumberField(std::string_view text, double& value);

// A date yyyymmdd (eight digits) as the Julian day of its 0 h; false when
// the text is not such a date or the date does not exist.
bool DigitDateJd(std::string_view text, double& jd);

// Reads the numeric fields of one line by its format's row (one of
// element_format_fields.h) into a record, and keeps the first field that
// is not a number.
class TFieldReader {
 public:
  explicit TFieldReader(TFormatFields fields) : fields_(fields) {}
  // Field `k` from its text (ReadNumberField). A blank field gives what
  // its BlankRule says: its Blank value (true); NaN and false when it must
  // hold a number (the field is remembered when it is the first) or when
  // it makes the line no record (PassedOver). A text that is not a number
  // gives NaN and false, remembered likewise.
  bool Read(std::size_t k, std::string_view text, double& value);
  // Field `k` from the next blank-separated word (none: a blank field).
  bool Next(std::size_t k, TFieldCursor& cursor, double& value);
  // The next three words, fields `first`..`first` + 2, as a date whose
  // day carries the time as its fraction (JdOfDayDate): `jd` its Julian
  // day; otherwise the date's field is refused, `jd` is NaN and false.
  bool NextDate(std::size_t first, TFieldCursor& cursor, TDateOrder order, double& jd);

  // The whole line by the row, into the members the row names (a field
  // without a member goes to `kind`, when given):
  //   ReadTexts    one text per field (the row's separated fields; missing
  //                ones blank)
  //   ReadWords    blank-separated words, the date first, up to the first
  //                word that does not read
  //   ReadColumns  fixed columns, each `shift` columns to the right; a
  //                field the line ends before it ends is refused (the
  //                line is cut short), never read as a blank
  // A blank field whose rule takes another field's value (a comet's epoch
  // from T) gets it at the end.
  template <typename Record>
  void ReadTexts(std::span<const std::string_view> texts, Record& record);
  template <typename Record>
  void ReadWords(TFieldCursor& cursor, Record& record, double* kind = nullptr);
  template <typename Record>
  void ReadColumns(const TLineColumns& line, std::size_t shift, Record& record);
  // ReadColumns writes the text each number field (not a date's) was read
  // from, blanks and tabs around it left out, into texts[k], k the field's
  // place in the row; the others stay as they are.
  void KeepTexts(std::span<std::string_view> texts) { texts_ = texts; }

  // Field `k` is unusable although it reads (a date that does not exist).
  void Refuse(std::size_t k);
  // The first field of the line (in the layout's order) that did not read
  // or was refused; nullptr when none.
  const char* Refused() const { return refused_; }
  // A field that makes the line no record was blank.
  bool PassedOver() const { return passedOver_; }

 private:
  template <typename Record>
  double* Member(Record& record, const TFormatField& f) const;
  template <typename Record>
  void ApplyBlankRules(Record& record) const;

  TFormatFields fields_;
  std::size_t refusedIndex_ = SIZE_MAX;
  const char* refused_ = nullptr;
  std::uint32_t blankFromT_ = 0;  // fields read blank whose value is T
  bool passedOver_ = false;
  std::span<std::string_view> texts_;
};

// The outcome of a parsed line: Blank when a field made it no record,
// Unusable when a field did not read or the record is unusable, with
// `unusable` (when given) the field to blame; Parsed otherwise.
template <typename Record>
TLineParse LineOutcome(const Record& record, const TFieldReader& fields, const char** unusable) {
  if (fields.PassedOver()) {
    if (unusable != nullptr) *unusable = nullptr;
    return TLineParse::Blank;
  }
  const char* field = fields.Refused() != nullptr ? fields.Refused() : UnusableField(record);
  if (unusable != nullptr) *unusable = field;
  return field == nullptr ? TLineParse::Parsed : TLineParse::Unusable;
}

// The row's fields of `record` as a separated line's texts, each with the
// row's decimals (the fewest, as the row keeps values exactly; a number
// that needs more is written in full, KeptNumberText) and the decimal
// point, or, for the ';' formats, the configured decimal separator; joined
// by the row's separator after `name`.
template <typename Record>
std::string SeparatedLine(const TElementLineFormat& row, const std::string& name, const Record& record);

// One record in the Minor Planet Center's one-line orbit format (the lines of
// MPCORB and of the Center's ".txt" element files): H 9-13, G 15-19, packed
// epoch 21-25, M 27-35, argument of perihelion 38-46, node 49-57,
// inclination 60-68, e 71-79, n 81-91, a 93-103, readable designation
// 167-194. The name is the trimmed readable designation (the packed
// designation 1-7 when that is blank), cut to 40 characters and passed
// through NormalizeDesignation when `normalizeNames` is set. Equinox 2000.
// Blank: an empty line. Unusable: a line that is not such a record or whose
// elements cannot be computed with. A blank H is what `fields` says: named
// (kMpcOneLineFields) or no record, Blank (kMpcorbRecordFields).
TLineParse ParseMpcOneLine(std::string_view line, bool normalizeNames, TAsteroidElements& record,
                           const char** unusable = nullptr, TFormatFields fields = kMpcOneLineFields);
TLineParse ParseMpcOneLine(const TLineColumns& line, bool normalizeNames, TAsteroidElements& record,
                           const char** unusable = nullptr, TFormatFields fields = kMpcOneLineFields);

// The Julian day of a date whose day carries the time as its fraction:
// true when year and month are whole, the month 1..12 and the day
// 0 <= day < 33 (a day beyond the month's end runs into the next); else
// false and NaN.
bool JdOfDayDate(double year, double month, double day, double& jd);

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
