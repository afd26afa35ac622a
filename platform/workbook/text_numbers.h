// The numbers of text files (tab-separated text, comma-separated values):
// which decimal mark a file's numbers are written with, decided for the
// whole file from what its fields show, and its fields read by that
// decision, so that a file's numbers read the same in every session. The
// readers (text_files.cpp) and the check of a save in place
// (text_layout.cpp) judge a file alike.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/workbook/number_format.h"

namespace kvx::workbook {

// The mark that groups thousands in a file whose decimal mark is `decimal`
// ('.' or ','): the other of the two.
inline char GroupingMark(char decimal) { return decimal == ',' ? '.' : ','; }

// A field as a number written with the decimal mark `decimal` and the
// grouping mark that goes with it (ParseWrittenNumber): "2.5", "1,234.5",
// "-0.25", "1e-7", "12.5%" with points; "2,5", "1.234,5" with commas.
std::optional<TTypedEntry> FieldNumber(std::string_view field, char decimal);

// What the fields of a file show of its decimal mark, added one by one.
// A field that is a number with one mark only tells: a decimal comma
// ("1,5", "0,125", "2,5e3") or points grouping thousands ("1.234.567") say
// commas; commas grouping thousands ("12,345,678", "1,234.5") or a
// decimal point ("2.5", "0.75") say points. Only fields whose marks stand
// between digits count ("5." may close a German ordinal). A field that is a
// number with either mark, but another one ("1,234", "1.234"), leaves it
// open.
class TNumberEvidence {
 public:
  void Add(std::string_view field);
  // The file's decimal mark: commas where a field says so and none groups
  // thousands with commas (a decimal point beside decimal commas is more
  // often a date or a version: "3.10", "1.10"); points where only points
  // are said; otherwise the session's decimal mark `sessionDecimal` ('.'
  // for any but ',').
  char Decimal(char sessionDecimal) const;
  // True when the fields left the mark open although some field reads as
  // another number by it ("1,234"), or said both; Example is the first field
  // that reads otherwise by the mark.
  bool Unsettled() const;
  const std::string& Example() const { return example_; }

 private:
  bool SaysCommas() const { return commaDecimal_ || pointGrouping_; }
  bool Settled() const {
    return (SaysCommas() && !commaGrouping_) || (!SaysCommas() && (commaGrouping_ || pointDecimal_));
  }

  bool commaDecimal_ = false, pointGrouping_ = false, commaGrouping_ = false, pointDecimal_ = false;
  bool ambiguous_ = false;
  std::string example_;
};

// The field of a comma-separated file as written (in double quotes, doubled
// quotes inside, when it needs them) as the text it stands for; a field
// without a leading quote as it stands.
std::string UnquotedField(std::string_view written);

}  // namespace kvx::workbook
