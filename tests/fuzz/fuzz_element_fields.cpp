// Each element-file format's number fields by its row (element_format_fields.h):
// the first byte picks the row, the second the field, the rest (up to a
// line end) is put into that field of the row's sample line, and a file of
// the sample and that line is read by the row's list.
// Promises: the load returns with only records the computation can use;
// a field reads as the field reader reads its text or the line is not
// taken: a text that is no number (where it cannot move the fields after
// it) never gives a record, and a number that gives one gives that value;
// a blank field gives its row's value or refuses the line.
// The comet text listing, which no list reads, takes the line by its row's
// columns and writes it again: a written line reads back within the
// listing's decimals and is written the same once more; a refused one
// names its field.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/element_format_fields.h"
#include "catalogues/element_lines.h"
#include "catalogues/element_write_checks.h"
#include "catalogues/foreign_lines.h"
#include "catalogues/variable_star_list.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

namespace {

// The sample line without brackets, the place of field `k` and its text.
struct TSample {
  std::string Text;
  std::size_t Offset = 0, Length = 0;
};

TSample Sample(const TElementLineFormat& row, std::size_t k) {
  TSample s;
  std::size_t field = 0;
  for (const char* c = row.Sample; *c != '\0'; ++c) {
    if (*c == '[') {
      if (field == k) s.Offset = s.Text.size();
    } else if (*c == ']') {
      if (field++ == k) s.Length = s.Text.size() - s.Offset;
    } else {
      s.Text += *c;
    }
  }
  return s;
}

// The values of the field's member in every record the list holds.
template <typename List>
std::vector<double> MemberValues(const List& list, const TFormatField& field, std::size_t& usable) {
  std::vector<double> values;
  usable = 0;
  for (int k = 0; k < list.Count(); ++k) {
    const auto& record = list.Data(k);
    usable += UnusableField(record) == nullptr ? 1 : 0;
    using Record = std::decay_t<decltype(record)>;
    if (field.Member != kNoMember) {
      values.push_back(record.*RecordFields<Record>()[static_cast<std::size_t>(field.Member)].second);
    }
  }
  return values;
}

template <typename List>
std::vector<double> Load(List& list, const std::string& path, std::size_t& usable, const TFormatField& field) {
  std::uint8_t kind = 0;
  list.Neuedateiladen(kind, path, true, 0);
  return MemberValues(list, field, usable);
}

// The listing's promise for one line of it.
void ListingWrittenAsItReadsBack(const std::string& text) {
  TCometElements read;
  if (ParseTextListingLine(text, read) != TForeignLineRead::Parsed) return;
  std::string line;
  const char* field = nullptr;
  if (!TextListingLine(read, line, field)) {
    fuzz::Require(field != nullptr, "a refused listing line names its field");
    return;
  }
  TCometElements back;
  fuzz::Require(ParseTextListingLine(line, back) == TForeignLineRead::Parsed, "a written listing line reads back");
  fuzz::Require(ChangedField(read, back, kTextListingComet) == nullptr, "the listing keeps its decimals");
  std::string again;
  fuzz::Require(TextListingLine(back, again, field) && again == line, "a listing line read back is written the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  fuzz::Bytes in(data, size);
  const TElementLineFormat& row = *kElementLineFormats[in.Byte() % std::size(kElementLineFormats)];
  const std::size_t k = in.Byte() % row.Fields.size();
  std::string text = in.Rest();
  text = text.substr(0, text.find_first_of("\r\n"));
  const TFormatField& field = row.Fields[k];
  const TSample sample = Sample(row, k);
  // Fixed columns hold a shorter text right aligned.
  if (row.Layout == TLineLayout::Columns && text.size() < sample.Length) text.insert(0, sample.Length - text.size(), ' ');
  std::string damaged = sample.Text.substr(0, sample.Offset) + text + sample.Text.substr(sample.Offset + sample.Length);
  std::string good = sample.Text;
  if (row.RecordLength > 0) {
    good.resize(row.RecordLength, ' ');
    damaged.resize(std::max(row.RecordLength, damaged.size()), ' ');
  }
  if (row.FileName == nullptr) {
    ListingWrittenAsItReadsBack(damaged);
    return 0;
  }
  const std::string& path = fuzz::WriteScratch(std::string(row.Head) + good + "\n" + damaged + "\n", row.FileName);

  std::size_t usable = 0;
  std::vector<double> values;
  if (row.Record == TElementRecordKind::Asteroid) {
    Planetoidentabelle list(10);
    values = Load(list, path, usable, field);
  } else if (row.Record == TElementRecordKind::Comet) {
    Kometentabelle list(10);
    values = Load(list, path, usable, field);
  } else {
    variablentabelle list;
    list.Neuedateiladen(path, 0, true);
    values = MemberValues(list, field, usable);
  }
  fuzz::Require(usable == values.size() || field.Member == kNoMember, "usable records only");
  const bool read = usable == 2;
  // Where the text cannot move the fields after it (no separator, no blank
  // between words, no wider than its columns, no byte a line decodes
  // otherwise), the line reads as its field reads.
  const bool staysInPlace =
      std::all_of(text.begin(), text.end(),
                  [&](char c) { return (c > ' ' || (c == ' ' && row.Layout == TLineLayout::Columns)) && c < 0x7f && c != ';' && c != ','; }) &&
      (row.Layout != TLineLayout::Columns || text.size() <= sample.Length) && field.Form == TFieldForm::Number;
  if (!staysInPlace) return 0;
  double x = 0;
  const bool blank = text.find_first_not_of(' ') == std::string::npos;
  if (blank && row.Layout == TLineLayout::Words) return 0;  // the next word takes its place
  if (blank) {
    if (field.BlankRule == TBlankRule::Refused) fuzz::Require(!read, "a blank field that must hold a number refuses");
    if (read && field.BlankRule == TBlankRule::Value) {
      fuzz::Require(std::count(values.begin(), values.end(), field.Blank) >= 1, "a blank gives the row's value");
    }
  } else if (!ReadNumberField(text, x)) {
    fuzz::Require(!read, "a text that is no number refuses its line");
  } else if (read) {
    fuzz::Require(std::count(values.begin(), values.end(), x) >= 1, "a number reads as the field reader reads it");
  }
  return 0;
}
