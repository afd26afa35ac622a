// Every element-file reader by its format's row (element_format_fields.h):
// the row's sample line reads, and each of its number fields in turn holds
// a word ("B1950", "1,5e", "−" U+2212), a lone decimal mark (".", ",",
// "-.", "+.") and a blank. A field that must hold a number makes the line
// unusable, skipped and named with its number and the field (in German in
// the German message); it is never read with a 0 in that place. A blank
// gives what the row says (its value, or a comet's T), and a separated line
// that ends early reads its missing fields as blanks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "catalogue_test_support.h"
#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/element_format_fields.h"
#include "catalogues/variable_star_list.h"
#include "platform/text_encoding.h"

namespace kvx::test {
namespace {

using NumberFields = CatalogueTest;

// A marked line: the text without brackets and each field's place in it.
struct TMarkedLine {
  std::string Text;
  std::vector<std::pair<std::size_t, std::size_t>> Fields;  // byte offset, length
};

TMarkedLine Unmark(const std::string& marked) {
  TMarkedLine m;
  std::size_t open = 0;
  for (char c : marked) {
    if (c == '[') {
      open = m.Text.size();
    } else if (c == ']') {
      m.Fields.emplace_back(open, m.Text.size() - open);
    } else {
      m.Text += c;
    }
  }
  return m;
}

// The line with field `k` replaced by `bad` as the layout puts it there
// (fixed columns: right-aligned in the field's width; a wider text moves
// what follows).
std::string Damaged(const TMarkedLine& m, std::size_t k, const std::string& bad, TLineLayout layout) {
  const auto [offset, length] = m.Fields[k];
  std::string text = bad;
  const std::size_t width = Utf8Length(m.Text.substr(offset, length));
  if (layout == TLineLayout::Columns && Utf8Length(bad) < width) text.insert(0, width - Utf8Length(bad), ' ');
  return m.Text.substr(0, offset) + text + m.Text.substr(offset + length);
}

// What a list made of a file: whether it loaded, the number values of each
// record in record order (element_format_fields.h) and the skipped lines.
struct TRead {
  bool Loaded = false;
  std::vector<std::vector<double>> Records;
  std::vector<TSkippedElementLine> Skipped;
};

template <typename List>
TRead Read(List& list, bool loaded) {
  TRead read{loaded, {}, list.SkippedLines()};
  for (int k = 0; k < list.Count(); ++k) {
    std::vector<double> values;
    for (const auto& [name, member] : RecordFields<std::decay_t<decltype(list.Data(k))>>()) {
      values.push_back(list.Data(k).*member);
    }
    read.Records.push_back(values);
  }
  return read;
}

TRead ReadFile(TElementRecordKind kind, const std::string& path) {
  std::uint8_t code = 0;
  switch (kind) {
    case TElementRecordKind::Asteroid: {
      Planetoidentabelle list;
      const bool loaded = list.Neuedateiladen(code, path, true, 0);
      return Read(list, loaded);
    }
    case TElementRecordKind::Comet: {
      Kometentabelle list;
      const bool loaded = list.Neuedateiladen(code, path, true, 0);
      return Read(list, loaded);
    }
    default: {
      variablentabelle list;
      const bool loaded = list.Neuedateiladen(path, 0, true);
      return Read(list, loaded);
    }
  }
}

// The value a blank field of `row` gives in the record `values`.
double BlankValue(const TFormatField& field, const std::vector<double>& values) {
  return field.BlankRule == TBlankRule::PerihelionTime ? values[comet_member::T] : field.Blank;
}

TEST_F(NumberFields, EveryFormatReadsItsFieldsAsItsRowSays) {
  int refused = 0;
  for (const TElementLineFormat* row : kElementLineFormats) {
    SCOPED_TRACE(row->Name);
    const TMarkedLine marked = Unmark(row->Sample);
    ASSERT_EQ(marked.Fields.size(), row->Fields.size()) << "the sample marks every number field of the row";
    auto file = [&](std::vector<std::string> lines) {
      std::string text = row->Head;
      for (std::string& line : lines) {
        if (row->RecordLength > 0) line.resize(std::max(row->RecordLength, line.size()), ' ');
        text += line + "\n";
      }
      return folder.Write(row->FileName, text);
    };
    // The sample reads, twice.
    sink.messages.clear();
    const TRead valid = ReadFile(row->Record, file({marked.Text, marked.Text}));
    ASSERT_TRUE(valid.Loaded) << Shown();
    ASSERT_EQ(valid.Records.size(), 2u) << Shown();
    EXPECT_TRUE(sink.messages.empty()) << Shown();
    const int badLine = static_cast<int>(std::count(row->Head, row->Head + std::strlen(row->Head), '\n')) + 2;
    for (std::size_t k = 0; k < row->Fields.size(); ++k) {
      const TFormatField& field = row->Fields[k];
      for (const std::string bad : {"B1950", "1,5e", "\u2212", ".", ",", "-.", "+.", ""}) {
        const std::string damaged = Damaged(marked, k, bad, row->Layout);
        SCOPED_TRACE(damaged);
        sink.messages.clear();
        if (bad.empty() && field.MayBeBlank()) {
          const TRead read = ReadFile(row->Record, file({damaged}));
          ASSERT_EQ(read.Records.size(), 1u) << "a blank " << field.Name << " reads " << Shown();
          EXPECT_TRUE(read.Skipped.empty());
          const std::vector<double>& values = read.Records[0];
          EXPECT_EQ(values[static_cast<std::size_t>(field.Member)], BlankValue(field, values)) << field.Name;
          continue;
        }
        const TRead read = ReadFile(row->Record, file({marked.Text, damaged}));
        ASSERT_TRUE(read.Loaded) << "the valid line loads the file " << Shown();
        if (bad.empty() && field.BlankRule == TBlankRule::PassedOver) {
          EXPECT_EQ(read.Records.size(), 1u);
          EXPECT_TRUE(read.Skipped.empty()) << "passed over as the catalogue's own way";
          continue;
        }
        // A blank word moves the words after it, and a separator in the
        // text ("1,5e" between commas) the fields after it: some field is to
        // blame, unless the rest went to a column the format does not read
        // (after its last number field).
        const bool splits = row->Layout == TLineLayout::Separated && bad.find(row->Separator) != std::string::npos;
        const bool shifts = splits || (bad.empty() && row->Layout == TLineLayout::Words);
        if (splits && k + 1 == row->Fields.size() && read.Records.size() == 2) continue;
        EXPECT_EQ(read.Records.size(), 1u) << "the line is not read with a number in place of " << bad;
        ASSERT_EQ(read.Skipped.size(), 1u) << Shown();
        const TSkippedElementLine& skipped = read.Skipped[0];
        EXPECT_EQ(skipped.LineNumber, badLine);
        if (shifts) {
          EXPECT_FALSE(skipped.Field.empty());
        } else {
          EXPECT_EQ(skipped.Field, field.Name);
        }
        EXPECT_NE(Shown().find("1 Zeile mit unbrauchbaren Bahnelementen übersprungen (Zeile " + std::to_string(badLine) +
                               ", Feld " + FieldNameGerman(skipped.Field.c_str()) + ")"),
                  std::string::npos)
            << Shown();
        ++refused;
      }
      // A separated line that ends after field k - 1, with or without its
      // separator: the fields left out are blanks.
      if (row->Layout != TLineLayout::Separated || k == 0) continue;
      const std::size_t end = marked.Fields[k - 1].first + marked.Fields[k - 1].second;
      for (const std::string& cut : {marked.Text.substr(0, end), marked.Text.substr(0, end + 1)}) {
        SCOPED_TRACE(cut);
        const TRead read = ReadFile(row->Record, file({marked.Text, cut}));
        const auto required = std::find_if(row->Fields.begin() + static_cast<std::ptrdiff_t>(k), row->Fields.end(),
                                           [](const TFormatField& f) { return !f.MayBeBlank(); });
        if (required != row->Fields.end()) {
          ASSERT_EQ(read.Skipped.size(), 1u);
          EXPECT_EQ(read.Skipped[0].Field, required->Name);
          continue;
        }
        ASSERT_EQ(read.Records.size(), 2u) << Shown();
        const auto& values = read.Records[0] == valid.Records[0] ? read.Records[1] : read.Records[0];
        for (std::size_t j = k; j < row->Fields.size(); ++j) {
          const TFormatField& f = row->Fields[j];
          EXPECT_EQ(values[static_cast<std::size_t>(f.Member)], BlankValue(f, values)) << f.Name;
        }
      }
    }
  }
  EXPECT_GT(refused, 700);
}

// Files whose only objects hold a lone decimal mark in a number field (e
// "." in the own file and in HomePlanet, node "," in the own file, H "." in
// SkyMap) open nothing from them: the file is refused with the reason and
// the lines and fields to blame, and the built-in list is shown.
TEST_F(NumberFields, LoneDecimalMarksRefuseTheirLines) {
  struct TFile {
    const char* Name;
    const char* Reason;
  };
  for (const TFile& f : {TFile{"own_csv_lone_point_reads_0.csv", "2 Zeilen mit unbrauchbaren Bahnelementen "
                                                                  "übersprungen (erste: Zeile 2, Feld e)"},
                         TFile{"homeplanet_csv_lone_point_reads_0.csv",
                               "1 Zeile mit unbrauchbaren Bahnelementen übersprungen (Zeile 2, Feld e)"},
                         TFile{"skymap_lone_point_h_reads_0.sky",
                               "1 Zeile mit unbrauchbaren Bahnelementen übersprungen (Zeile 1, Feld h)"}}) {
    SCOPED_TRACE(f.Name);
    sink.messages.clear();
    Planetoidentabelle list;
    std::uint8_t kind = 0;
    EXPECT_FALSE(list.Neuedateiladen(kind, std::string(KVX_FIXTURE_DIR) + "/bad_inputs/" + f.Name, true, 0));
    EXPECT_EQ(list.BuiltInListShown, 1);
    ASSERT_EQ(sink.messages.size(), 1u) << Shown();
    EXPECT_NE(sink.messages[0].text.find("enthält keine Bahnelemente. " + std::string(f.Reason)), std::string::npos)
        << Shown();
  }
}

}  // namespace
}  // namespace kvx::test
