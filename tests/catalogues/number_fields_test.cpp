// Every element-file reader by its format's row (element_format_fields.h):
// the row's sample line reads, and each of its number fields in turn holds
// a word ("B1950", "1,5e", "−" U+2212), a lone decimal mark (".", ",",
// "-.", "+.") and a blank. A field that must hold a number makes the line
// unusable, skipped and named with its number and the field (in German in
// the German message); it is never read with a 0 in that place. A blank
// gives what the row says (its value, or a comet's T), and what the row
// says is checked against what the formats say, written out here. A line
// cut short names the field that is missing. The comet text listing, which
// only its writer reads back, writes its sample as the sample stands. The
// catalogue conversions write what the catalogue's reader reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "catalogue_test_support.h"
#include "catalogues/asteroid_list.h"
#include "catalogues/astorb_conversion.h"
#include "catalogues/comet_list.h"
#include "catalogues/element_format_fields.h"
#include "catalogues/foreign_lines.h"
#include "catalogues/variable_star_list.h"
#include "core/text_conversion.h"
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

// What the formats say a blank number field gives, written out apart from
// the rows so that a row's mistake shows: "field=0", "field=0.15",
// "field=T" (a comet's epoch taken from T), "field:passed" (no record, the
// line passed over unnamed); a field not named here must hold a number.
// The text listing has no reader.
constexpr std::pair<const char*, const char*> kBlankRulesSaid[] = {
    {"own asteroids", "n=0 h=0 g=0.15"},
    {"HomePlanet asteroids", "h=0 g=0"},
    {"SkyMap asteroids", ""},
    {"MPC text", "g=0"},
    {"MPCORB line by line", "h:passed g=0"},
    {"ASTORB", "h=0 g=0"},
    {"own comets", "H=0 G=0 epoch=T"},
    {"HomePlanet comets", ""},
    {"SkyMap comets", ""},
    {"Guide comets", ""},
    {"MPC comets", "H=0 G=0"},
    {"variable stars", "MaxMag=0 MinMag=0"},
    {"comet text listing", ""},
};

// The blank rules of a row in the words of kBlankRulesSaid.
std::string BlankRules(const TElementLineFormat& row) {
  std::string rules;
  for (const TFormatField& f : row.Fields) {
    if (f.BlankRule == TBlankRule::Refused) continue;
    rules += rules.empty() ? "" : " ";
    rules += f.Name;
    rules += f.BlankRule == TBlankRule::Value            ? "=" + ShortestNumberText(f.Blank)
             : f.BlankRule == TBlankRule::PerihelionTime ? std::string("=T")
                                                          : std::string(":passed");
  }
  return rules;
}

// The comet text listing, which no list reads: the sample's values, read
// by the row's columns, are written as the sample stands (the row's
// decimals in the sample's columns); a value wider than its columns
// refuses the line, naming its field.
void ExpectListingWrittenAsItsSample(const TElementLineFormat& row) {
  const TMarkedLine marked = Unmark(row.Sample);
  TCometElements comet;
  ASSERT_EQ(ParseTextListingLine(marked.Text, comet), TForeignLineRead::Parsed);
  std::string line;
  const char* field = nullptr;
  ASSERT_TRUE(TextListingLine(comet, line, field)) << field;
  EXPECT_EQ(line, marked.Text);
  for (const TFormatField& f : row.Fields) {
    TCometElements wide = comet;
    double& value = wide.*RecordFields<TCometElements>()[static_cast<std::size_t>(f.Member)].second;
    value = f.Form == TFieldForm::Number ? -1e12 : 1e10;  // T: a year of six digits
    field = nullptr;
    EXPECT_FALSE(TextListingLine(wide, line, field)) << f.Name;
    EXPECT_STREQ(field, f.Name);
  }
}

TEST_F(NumberFields, EveryFormatReadsItsFieldsAsItsRowSays) {
  int refused = 0;
  for (const TElementLineFormat* row : kElementLineFormats) {
    SCOPED_TRACE(row->Name);
    const auto said = std::find_if(std::begin(kBlankRulesSaid), std::end(kBlankRulesSaid),
                                   [row](const auto& rules) { return std::string(rules.first) == row->Name; });
    ASSERT_NE(said, std::end(kBlankRulesSaid)) << "what the format says of blanks is written out above";
    EXPECT_EQ(BlankRules(*row), said->second) << "the row's blank rules are not what the format says";
    const TMarkedLine marked = Unmark(row->Sample);
    ASSERT_EQ(marked.Fields.size(), row->Fields.size()) << "the sample marks every number field of the row";
    if (row->FileName == nullptr) {
      ExpectListingWrittenAsItsSample(*row);
      continue;
    }
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
      // A line that ends before field k (a separated one with or without
      // the separator after field k - 1): fixed columns it does not reach
      // are missing and name field k; fields and words left out are
      // blanks (so is the rest of a record of fixed length), and name the
      // first of them that must hold a number.
      const bool separated = row->Layout == TLineLayout::Separated;
      const std::size_t end = k > 0 ? marked.Fields[k - 1].first + marked.Fields[k - 1].second
                                    : marked.Fields[0].first - (separated ? 1 : 0);
      std::vector<std::string> cuts = {marked.Text.substr(0, end)};
      if (separated) cuts.push_back(marked.Text.substr(0, end + 1));
      for (const std::string& cut : cuts) {
        SCOPED_TRACE(cut);
        const TRead read = ReadFile(row->Record, file({marked.Text, cut}));
        const bool columnsMissing = row->Layout == TLineLayout::Columns && row->RecordLength == 0;
        const auto required = columnsMissing ? row->Fields.begin() + static_cast<std::ptrdiff_t>(k)
                                             : std::find_if(row->Fields.begin() + static_cast<std::ptrdiff_t>(k),
                                                            row->Fields.end(),
                                                            [](const TFormatField& f) { return !f.MayBeBlank(); });
        if (required != row->Fields.end()) {
          ASSERT_EQ(read.Skipped.size(), 1u) << Shown();
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

// Every conversion of a catalogue writes what the catalogue's reader reads:
// ASTORB into each of its three outputs, MPCORB and its cr variant into the
// own format; each number field of the catalogue's row in turn blank, a
// word and a number with a blank inside ("0 12"). The output read back
// gives the records the catalogue's own list gives, value for value (a
// blank ASTORB G is 0, never the own format's 0.15 of a blank g); a record
// the list refuses is left out, counted and named with the list's line and
// field (and copied into the plain CSV); a line the list passes over is
// passed over. Then the ASTORB files
// testers sent: a blank G, and G columns "0 12" (read back as 12 once).
TEST_F(NumberFields, ConversionsWriteWhatTheirCatalogueReads) {
  struct TConversion {
    const TElementLineFormat* Source;
    const char* Input;
    int Format;  // ASTORB: 0 plain CSV, 1 own, 2 HomePlanet
  };
  const auto convert = [](const TConversion& c, const std::string& input) {
    switch (CatalogueKindOfFile(input)) {
      case TCatalogueKind::Mpcorb:
        return ConvertMpcorbFile(input, {});
      case TCatalogueKind::MpcorbCr:
        return ConvertMpcorbCrFile(input, {});
      default:
        return ConvertAstorbFile(input, c.Format, false, {});
    }
  };
  int refused = 0;
  for (const TConversion& c : {TConversion{&kAstorbFormat, "astorb.dat", 0}, TConversion{&kAstorbFormat, "astorb.dat", 1},
                               TConversion{&kAstorbFormat, "astorb.dat", 2}, TConversion{&kMpcorbFormat, "MPCORB.DAT", 1},
                               TConversion{&kMpcorbFormat, "MPCORBCR.DAT", 1}}) {
    const TElementLineFormat& row = *c.Source;
    const TMarkedLine marked = Unmark(row.Sample);
    for (std::size_t k = 0; k < row.Fields.size(); ++k) {
      for (const std::string bad : {"", "B1950", "0 12"}) {
        std::string damaged = Damaged(marked, k, bad, row.Layout);
        damaged.replace(damaged.rfind("Ceres"), 5, "Vesta");  // MPCORB drops a repeated name
        SCOPED_TRACE(std::string(c.Input) + " " + std::to_string(c.Format) + ": " + damaged);
        std::string text = row.Head;
        for (std::string line : {marked.Text, damaged}) {
          line.resize(std::max(row.RecordLength, line.size()), ' ');
          text += line + "\n";
        }
        const std::string input = folder.Write(c.Input, text);
        const TRead source = ReadFile(TElementRecordKind::Asteroid, input);
        const TConversionResult r = convert(c, input);
        ASSERT_TRUE(r.Done) << r.Error.Text;
        // The plain CSV carries the refused record too.
        EXPECT_EQ(r.Written, static_cast<long>(source.Records.size() + (c.Format == 0 ? source.Skipped.size() : 0)));
        ASSERT_EQ(r.Unusable.Count, static_cast<int>(source.Skipped.size()));
        if (r.Unusable.Count > 0) {
          EXPECT_EQ(r.Unusable.FirstLine, source.Skipped[0].LineNumber);
          EXPECT_EQ(r.Unusable.Field, source.Skipped[0].Field);
          EXPECT_EQ(r.Unusable.Field, row.Fields[k].Name);
          ++refused;
        }
        if (c.Format == 0) continue;  // the plain CSV keeps the columns' texts; nothing reads it
        const TRead output = ReadFile(TElementRecordKind::Asteroid, r.Output);
        EXPECT_TRUE(output.Skipped.empty());
        EXPECT_EQ(output.Records, source.Records);
      }
    }
  }
  EXPECT_GT(refused, 100);

  const std::string fixtures = std::string(KVX_FIXTURE_DIR) + "/bad_inputs/";
  const std::string blank = TempFolder::Read(fixtures + "astorb_blank_g_converted_to_0_15.dat");
  const std::string inner = TempFolder::Read(fixtures + "astorb_g_with_inner_blank_converted_to_12.dat");
  for (int format : {0, 1, 2}) {
    SCOPED_TRACE(format);
    const TConversionResult zero = ConvertAstorbFile(folder.Write("astorb.dat", blank), format, false, {});
    EXPECT_EQ(zero.Written, 1);
    if (format != 0) {
      const TRead read = ReadFile(TElementRecordKind::Asteroid, zero.Output);
      ASSERT_EQ(read.Records.size(), 1u);
      EXPECT_EQ(read.Records[0][asteroid_member::g], 0.0) << "G blank in ASTORB is 0, not the own format's 0.15";
    }
    const std::string input = folder.Write("astorb.dat", inner);
    const TConversionResult damaged = ConvertAstorbFile(input, format, false, {});
    EXPECT_EQ(damaged.Written, format == 0 ? 1 : 0) << "the plain CSV copies it";
    EXPECT_EQ(damaged.Skipped, format == 0 ? 0 : 1);
    sink.messages.clear();
    ReportUnusableRecords(damaged, input);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, input + (format == 0 ? ": 1 Zeile mit unbrauchbaren Bahnelementen unverändert "
                                                            "übernommen (Zeile 1, Feld g)"
                                                          : ": 1 Zeile mit unbrauchbaren Bahnelementen übersprungen "
                                                            "(Zeile 1, Feld g)"));
  }
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
