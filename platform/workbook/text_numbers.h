// The numbers of text files (tab-separated text, comma-separated values):
// which decimal mark a file's numbers are written with, decided for the
// whole file from what its fields show, and its fields read by that
// decision, so that a file's numbers read the same in every session. The
// readers (text_files.cpp) and the check of a save in place
// (text_layout.cpp) judge a file alike, by TNumberEvidence alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/number_text.h"

namespace kvx::workbook {

// The mark that groups thousands in a file whose decimal mark is `decimal`
// ('.' or ','): the other of the two.
inline char GroupingMark(char decimal) { return decimal == ',' ? '.' : ','; }

// How the numbers of a file whose decimal mark is `decimal` are written:
// the other of '.' and ',', a no-break space (U+00A0, U+202F) or an
// apostrophe ('\'', U+2019) group thousands, one mark throughout a number,
// the first group not led by 0; with `blanks` a blank too (a file whose
// fields show it, TNumberEvidence::BlankGroups); an exponent (not after
// groups); a trailing '%'.
TNumberSyntax FieldSyntax(char decimal, bool blanks = false);

// A field as a number of a file whose decimal mark is `decimal`
// (FieldSyntax), blanks around it allowed: "2.5", "1,234.5", "1'234.5",
// "-0.25", "1e-7", "12.5%" with points; "2,5", "1.234,5", "1 234,5" (a
// no-break space) with commas; "1 234,5" with an ASCII blank where
// `blanks` says so. With points also Indian grouping, the last group of
// three digits and those before it of two ("12,34,567.89"); a no-break
// space before the '%' as a blank ("12,5 %"). Dates, times and formulas
// are not looked for. Shortest tells that the field as it stands (blanks
// included) is the number's shortest text with that mark.
std::optional<TNumberRead> FieldNumber(std::string_view field, char decimal, bool blanks = false);

// What the fields of a file show of its decimal mark, added one by one,
// and the mark decided from them. A field that is a number with one mark
// only counts for that mark: decimal commas ("1,5", "0,125", "2,5e3") or
// points grouping thousands ("1.234.567", "1.234,5") for the comma; decimal
// points ("2.5", "0.75") or commas grouping thousands ("12,345,678",
// "1,234.5") for the point. Only fields whose marks stand between digits
// count ("5." may close a German ordinal). A field that is a number with
// either mark, but another one ("1,234", "1.234"), counts for neither.
// Whether an ASCII blank groups thousands is decided alike: fields that
// are numbers only when it does ("1 234,50", "12 345") count for it,
// fields of digits and blanks that are no such number ("12 34", "2026 12
// 11") against it.
class TNumberEvidence {
 public:
  void Add(std::string_view field);
  // The same for a field that is a number's shortest text with `decimal`
  // (ShortestNumberText: no blank, one mark at most), judged from where
  // its mark stands without reading it as a number.
  void AddShortest(std::string_view field, char decimal);
  // True when more fields count for blanks grouping thousands than against.
  bool BlankGroups() const { return blankGroups_ > blankOthers_; }
  // The file's decimal mark: the mark more fields count for; when as many
  // count for each (none at all included), the session's decimal mark
  // `sessionDecimal` ('.' for any but ',').
  char Decimal(char sessionDecimal) const;
  // True when the fields leave the mark to the session although some
  // field reads otherwise by it: as many fields count for each mark (more
  // than none), or none counts and a field reads as another number by the
  // other mark ("1,234").
  bool Unsettled() const;
  // The fields that count for each mark, and the first of each.
  std::uint64_t PointFields() const { return pointFields_; }
  std::uint64_t CommaFields() const { return commaFields_; }
  const std::string& PointExample() const { return pointExample_; }
  const std::string& CommaExample() const { return commaExample_; }
  // The first field that reads as a number with either mark, but another
  // one ("1,234").
  const std::string& Example() const { return example_; }

 private:
  std::uint64_t pointFields_ = 0, commaFields_ = 0, blankGroups_ = 0, blankOthers_ = 0;
  std::string pointExample_, commaExample_, example_;
};

// The example after the count of fields a reader kept as texts, for its
// note: " (1,5)." after one, " (such as 1,5)." after more.
std::string KeptExampleText(std::uint64_t kept, const std::string& example, bool english);

// The field of a comma-separated file that starts with a double quote at
// `at`, as the text it stands for, into `value`: to its closing quote (a
// doubled quote inside stands for one, separators and line breaks are
// part of it); a quote that is never closed makes the rest of its line
// the field. Gives the position after the closing quote (the line's end
// for one never closed).
std::size_t QuotedFieldText(std::string_view text, std::size_t at, std::string& value);

// The field of a comma-separated file as written (in double quotes,
// doubled quotes inside, when it needs them) as the text it stands for
// (QuotedFieldText, what follows the closing quote added); a field without
// a leading quote as it stands.
std::string UnquotedField(std::string_view written);

}  // namespace kvx::workbook
