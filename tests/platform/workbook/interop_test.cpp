// Files we write, read by other spreadsheet programs, and files they wrote,
// read by us. The tests that need LibreOffice or openpyxl are skipped when
// those are not installed.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "platform/globals.h"
#include "platform/workbook/workbook_files.h"
#include "support/office_command.h"
#include "support/temp_folder.h"

namespace kvx::workbook {
namespace {

namespace fs = std::filesystem;

std::string RunCommand(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return output;
  }
  std::array<char, 4096> buffer{};
  while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) output += buffer.data();
  status = pclose(pipe);
  return output;
}

bool HaveCommand(const std::string& test) {
  int status = 0;
  RunCommand(test + " >/dev/null 2>&1", status);
  return status == 0;
}

std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(field);
      field.clear();
    } else if (c == '\n') {
      row.push_back(field);
      rows.push_back(row);
      row.clear();
      field.clear();
    } else if (c != '\r') {
      field += c;
    }
  }
  return rows;
}

class InteropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = IntlSeparators;
    // English separators: what LibreOffice shows in its default locale.
    IntlSeparators = TIntlSeparators{'.', ',', '/', ':', ','};
  }
  void TearDown() override { IntlSeparators = saved_; }

  // A table as the program writes them, with formulas.
  void WriteTable(TWorkbook& book, const std::string& path) {
    book.SetSheetName(1, "Ephemeris");
    book.SetText(1, 1, "Date");
    book.SetText(1, 2, "RA °");
    book.SetText(1, 3, "Mag");
    book.SetText(1, 4, "Time");
    for (int r = 2; r <= 21; ++r) {
      book.SetEntry(r, 1, std::to_string(r - 1) + "/3/2027");
      book.SetNumber(r, 2, 123.456789 + r * 1.1111111);
      book.SetNumber(r, 3, -4.25 + r * 0.031);
      book.SetEntry(r, 4, std::to_string(r % 24) + ":" + std::to_string(10 + r) + ":07");
    }
    book.SetSelection(2, 2, 21, 2);
    book.SetNumberFormat("0.0000");
    book.SetSelection(2, 3, 21, 3);
    book.SetNumberFormat("0.00\" mag\"");
    book.SetFormula(22, 2, "SUM(B2:B21)");
    book.SetFormula(22, 3, "AVERAGE(C2:C21)");
    book.SetActiveCell(22, 3);
    book.SetNumberFormat("0.000");
    book.SetText(23, 1, "Ä ° ½ “x”");
    std::string error;
    ASSERT_TRUE(WriteWorkbookFile(book, path, 4, error)) << error;
  }

  TIntlSeparators saved_;
  // Its own folder, even while another process runs the same test.
  kvx::test::TempFolder folder_;
};

TEST_F(InteropTest, LegacyXlsMadeByLibreOfficeLoads) {
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  TWorkbook book(1);
  int type = 0;
  std::string error;
  ASSERT_TRUE(ReadWorkbookFile(book, std::string(KVX_FIXTURE_DIR) + "/legacy.xls", type, error)) << error;
  EXPECT_EQ(type, kFileTypeLegacyWorkbook);
  ASSERT_EQ(book.NumSheets(), 2);
  EXPECT_EQ(book.SheetName(1), "Sonne");
  EXPECT_EQ(book.SheetName(2), "Mond");
  book.SetSheet(1);
  EXPECT_EQ(book.Text(1, 2), "Länge °");
  EXPECT_EQ(book.Text(3, 1), "03.12.2026");
  EXPECT_DOUBLE_EQ(book.Number(3, 1), DateSerial(2026, 12, 3));
  EXPECT_DOUBLE_EQ(book.Number(4, 2), 250.0 + 4 * 1.0194);
  EXPECT_NEAR(book.Number(5, 3) * 86400.0, 5 * 3600.0 + 30 * 60 + 15, 1e-6);
  EXPECT_EQ(book.Text(5, 3), "05:30:15");
  EXPECT_DOUBLE_EQ(book.Number(2, 4), 42.0);
  EXPECT_DOUBLE_EQ(book.Number(3, 4), 84.0);  // =D2*2, as its value
  book.SetSheet(2);
  EXPECT_DOUBLE_EQ(book.Number(1, 1), -1.25e-7);
  EXPECT_EQ(book.Text(3, 2), "Text mit ; und \"Zeichen\"");
}

// Formula cells of an .xls come in with their last computed values
// (number, text, boolean as 1, error as its text), the number formats as
// the file has them; the losses count the formula cells (five: LibreOffice
// stores TRUE as =TRUE()), the truth values and the error values, as the
// .xlsx reader counts its own. A formula whose text result the file lacks
// is counted as a cell that could not be read. An .xls with what the
// workbook does not keep counts it as an .xlsx would, a chart in a sheet
// included, which the reading library alone cannot get past.
// (legacy_values.xls, legacy_losses.xls: LibreOffice, make_legacy_values.py,
// make_legacy_losses.py.)
TEST_F(InteropTest, LegacyXlsFormulaResultsBooleansErrorsFormatsAndLosses) {
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  const std::string fixture = std::string(KVX_FIXTURE_DIR) + "/legacy_values.xls";
  TWorkbook book(1);
  int type = 0;
  std::string error, note;
  ASSERT_TRUE(ReadWorkbookFile(book, fixture, type, error, &note)) << error;
  EXPECT_EQ(type, kFileTypeLegacyWorkbook);
  EXPECT_EQ(book.SheetName(1), "Tabelle1");
  EXPECT_DOUBLE_EQ(book.Number(1, 1), 2.0);
  EXPECT_DOUBLE_EQ(book.Number(2, 1), 6.0);
  EXPECT_EQ(book.Text(3, 1), "abc");
  EXPECT_DOUBLE_EQ(book.Number(4, 1), 1.0);  // =A1>1
  EXPECT_EQ(book.CellKind(1, 2), TCellKind::Number);
  EXPECT_DOUBLE_EQ(book.Number(1, 2), 1.0);  // TRUE
  EXPECT_EQ(book.Text(2, 2), "#DIV/0!");  // as the file shows it
  EXPECT_EQ(book.Text(3, 2), "1,50");
  EXPECT_DOUBLE_EQ(book.Number(1, 3), DateSerial(2024, 3, 5));
  EXPECT_EQ(book.Text(1, 3), "2024-03-05");
  EXPECT_EQ(book.Text(2, 3), "12:30");
  EXPECT_EQ(book.Text(1, 4), "Grüße");
  EXPECT_EQ(note, "");
  TReadLosses expected;
  expected[TReadLoss::FormulaValues] = 5;
  expected[TReadLoss::Booleans] = 2;
  expected[TReadLoss::ErrorValues] = 1;
  EXPECT_EQ(book.ReadLosses().Counts, expected.Counts);

  // The text result's record made unknown: that cell cannot be read.
  std::ifstream in(fixture, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t at = bytes.find(std::string("\x07\x02\x06\x00\x03\x00\x00" "abc", 10));
  ASSERT_NE(at, std::string::npos);
  bytes[at] = 0x08;  // STRING 0x0207 -> 0x0208
  const std::string damaged = (folder_.Path() / "damaged.xls").string();
  std::ofstream(damaged, std::ios::binary) << bytes;
  TWorkbook again(1);
  ASSERT_TRUE(ReadWorkbookFile(again, damaged, type, error, &note)) << error;
  EXPECT_TRUE(again.Text(3, 1).empty());
  EXPECT_DOUBLE_EQ(again.Number(2, 1), 6.0);
  expected[TReadLoss::FormulaValues] = 4;
  expected[TReadLoss::UnreadValues] = 1;
  EXPECT_EQ(again.ReadLosses().Counts, expected.Counts);

  // Results as the file holds them: the error code of #N/A is "#N/A"; a
  // truth value other than 0 or 1 and an error code the format does not
  // have are no values: the cells stay empty, counted, never an invented 1.
  struct Patch {
    std::string Result;  // the 8 result bytes of the formula record
    std::size_t At;      // the byte to change in them
    char To;
    int Row, Col;
    std::string Text;  // the cell as shown; empty: no value
  };
  for (const Patch& patch : {Patch{std::string("\x02\x00\x07\x00\x00\x00\xFF\xFF", 8), 2, 0x2A, 2, 2, "#N/A"},
                             Patch{std::string("\x02\x00\x07\x00\x00\x00\xFF\xFF", 8), 2, 0x2B, 2, 2, ""},
                             Patch{std::string("\x01\x00\x01\x00\x00\x00\xFF\xFF", 8), 2, 0x07, 4, 1, ""}}) {
    SCOPED_TRACE(patch.Text + std::to_string(patch.Row));
    std::string changed((std::istreambuf_iterator<char>(std::ifstream(fixture, std::ios::binary).rdbuf())), {});
    // The result of the cell's FORMULA record: row, column, XF, result.
    const std::string cell{static_cast<char>(patch.Row - 1), 0, static_cast<char>(patch.Col - 1), 0};
    std::size_t found = std::string::npos;
    for (std::size_t k = changed.find(cell); k != std::string::npos; k = changed.find(cell, k + 1)) {
      if (changed.compare(k + 6, 8, patch.Result) == 0) found = k + 6;
    }
    ASSERT_NE(found, std::string::npos);
    changed[found + patch.At] = patch.To;
    std::ofstream(damaged, std::ios::binary | std::ios::trunc) << changed;
    TWorkbook patched(1);
    ASSERT_TRUE(ReadWorkbookFile(patched, damaged, type, error, &note)) << error;
    EXPECT_EQ(patched.Text(patch.Row, patch.Col), patch.Text);
    EXPECT_EQ(patched.ReadLosses()[TReadLoss::UnreadValues], patch.Text.empty() ? 1 : 0);
  }

  TWorkbook losses(1);
  ASSERT_TRUE(ReadWorkbookFile(losses, std::string(KVX_FIXTURE_DIR) + "/legacy_losses.xls", type, error, &note))
      << error;
  ASSERT_EQ(losses.NumSheets(), 3);
  EXPECT_EQ(losses.SheetName(3), "Ganz versteckt");
  EXPECT_EQ(losses.Text(1, 1), "verbunden");
  EXPECT_DOUBLE_EQ(losses.Number(2, 4), 15.0);  // =C1*2
  EXPECT_EQ(losses.Text(3, 4), "#DIV/0!");
  EXPECT_EQ(losses.Text(4, 4), "#N/A");
  EXPECT_DOUBLE_EQ(losses.Number(5, 4), 1.0);  // =C1>C2
  EXPECT_EQ(losses.Text(1, 5), "Link");
  TReadLosses kept;
  kept[TReadLoss::MergedRanges] = 1;
  kept[TReadLoss::HiddenSheets] = 2;
  kept[TReadLoss::Booleans] = 3;
  kept[TReadLoss::ErrorValues] = 2;
  kept[TReadLoss::FormulaValues] = 6;  // LibreOffice stores the error value #N/A as =NA()
  kept[TReadLoss::Charts] = 1;
  kept[TReadLoss::Comments] = 1;
  kept[TReadLoss::DataValidations] = 1;
  kept[TReadLoss::ConditionalFormats] = 1;
  kept[TReadLoss::Hyperlinks] = 1;
  EXPECT_EQ(losses.ReadLosses().Counts, kept.Counts);

  // The .xlsx it was made from counts the same, but for the formulas, which
  // it keeps (with no stored results: no truth value of D5, no error of D3).
  TWorkbook source(1);
  ASSERT_TRUE(ReadWorkbookFile(source, std::string(KVX_FIXTURE_DIR) + "/legacy_losses.xlsx", type, error, &note))
      << error;
  EXPECT_EQ(source.Text(4, 4), "#N/A") << "an error value comes in as its text";
  EXPECT_EQ(source.Formula(3, 4), "=1/0");
  kept[TReadLoss::FormulaValues] = 0;
  kept[TReadLoss::Booleans] = 2;
  kept[TReadLoss::ErrorValues] = 1;
  EXPECT_EQ(source.ReadLosses().Counts, kept.Counts);
}

TEST_F(InteropTest, XlsxWrittenByOtherProgramsLoads) {
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  TWorkbook book(1);
  int type = 0;
  std::string error;
  ASSERT_TRUE(ReadWorkbookFile(book, std::string(KVX_FIXTURE_DIR) + "/foreign.xlsx", type, error)) << error;
  EXPECT_EQ(type, kFileTypeWorkbook);
  EXPECT_EQ(book.SheetName(1), "Daten");
  EXPECT_EQ(book.Text(1, 3), "Ein langer Text, der umbricht");
  book.SetActiveCell(1, 3);
  EXPECT_TRUE(book.Alignment().Wrap);
  EXPECT_NEAR(book.ColWidth(3), 30.0, 0.75);
  EXPECT_EQ(book.Text(2, 1), "3,00");   // built-in "0.00"
  EXPECT_EQ(book.Text(3, 1), "450%");   // built-in "0%"
  EXPECT_DOUBLE_EQ(book.Number(4, 1), 6.0);
  // The booleans are stored as the formulas TRUE() and FALSE(): they are
  // read as 1 and 0.
  EXPECT_DOUBLE_EQ(book.Number(2, 2), 1.0);
  EXPECT_DOUBLE_EQ(book.Number(3, 2), 0.0);
  EXPECT_EQ(book.CellKind(3, 2), TCellKind::Number);
  EXPECT_EQ(book.Formula(8, 1), "=SUM(A2:A6)");
  EXPECT_DOUBLE_EQ(book.Number(8, 1), 30.0);
  EXPECT_DOUBLE_EQ(book.Number(9, 1), 6.0);  // through the defined name
  EXPECT_EQ(book.Text(10, 1), "x3");
  ASSERT_TRUE(book.FindName("Werte").has_value());
  book.SetFormula(11, 1, "B2*10+A2");
  EXPECT_DOUBLE_EQ(book.Number(11, 1), 13.0);
}

TEST_F(InteropTest, LibreOfficeShowsWhatWeWrote) {
  if (!HaveCommand("soffice --version")) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  TWorkbook book(2);
  const std::string path = (folder_.Path() / "table.xlsx").string();
  WriteTable(book, path);
  int status = 0;
  // Dates in the desktop's short date show in LibreOffice's: a British one
  // writes them as the session here does.
  const std::string command = test::OfficeCommand(folder_.Path().string(), "en_GB.UTF-8") +
                              "--convert-to csv:\"Text - txt - csv (StarCalc)\":44,34,76 --outdir '" +
                              folder_.Path().string() + "' table.xlsx 2>&1";
  const std::string output = RunCommand(command, status);
  ASSERT_EQ(status, 0) << output;
  std::ifstream in(folder_.Path() / "table.csv", std::ios::binary);
  ASSERT_TRUE(in) << output;
  std::stringstream text;
  text << in.rdbuf();
  const auto rows = ParseCsv(text.str());
  ASSERT_GE(rows.size(), 23u);
  for (int r = 1; r <= 23; ++r) {
    for (int c = 1; c <= 4; ++c) {
      const std::string theirs = c <= static_cast<int>(rows[r - 1].size()) ? rows[r - 1][c - 1] : "";
      EXPECT_EQ(theirs, book.Text(r, c)) << "row " << r << " column " << c;
    }
  }
}

TEST_F(InteropTest, OpenpyxlReadsValuesAndFormulas) {
  if (!HaveCommand("/usr/bin/python3 -c 'import openpyxl'")) GTEST_SKIP() << "python3-openpyxl is not installed";
  TWorkbook book(1);
  const std::string path = (folder_.Path() / "table.xlsx").string();
  WriteTable(book, path);
  const std::string script =
      "import datetime,openpyxl,sys\n"
      "f=openpyxl.load_workbook(sys.argv[1])\n"
      "v=openpyxl.load_workbook(sys.argv[1],data_only=True)\n"
      "ws=f.active; wv=v.active\n"
      "print(ws.title)\n"
      "for r in range(1,24):\n"
      "  for c in range(1,5):\n"
      "    x=ws.cell(r,c).value; y=wv.cell(r,c).value\n"
      "    d=(datetime.datetime,datetime.time)\n"
      "    s=lambda z:'date' if isinstance(z,d) else (z.hex() if isinstance(z,float) else repr(z))\n"
      "    print(f'{r} {c}',s(x),s(y),ws.cell(r,c).number_format,sep='|')\n";
  std::ofstream(folder_.Path() / "read.py") << script;
  int status = 0;
  const std::string output = RunCommand("/usr/bin/python3 '" + (folder_.Path() / "read.py").string() + "' '" + path + "' 2>&1", status);
  ASSERT_EQ(status, 0) << output;
  std::istringstream lines(output);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "Ephemeris");
  int checked = 0;
  while (std::getline(lines, line)) {
    std::vector<std::string> parts;
    std::stringstream fields(line);
    std::string part;
    while (std::getline(fields, part, '|')) parts.push_back(part);
    ASSERT_EQ(parts.size(), 4u) << line;
    const std::string position = parts[0];
    const int r = std::stoi(position.substr(0, position.find(' ')));
    const int c = std::stoi(position.substr(position.find(' ') + 1));
    const TCell* cell = book.Cell(r, c);
    if (cell == nullptr || cell->Kind == TCellKind::Empty) {
      EXPECT_EQ(parts[1], "None") << line;
      continue;
    }
    const TFormatClass shown = ClassifyFormat(book.Style(cell->Style).NumberFormat);
    switch (cell->Kind) {
      case TCellKind::Number:
        if (shown == TFormatClass::Date || shown == TFormatClass::Time) {
          EXPECT_EQ(parts[1], "date") << line;
        } else {
          // float.hex is read back by strtod bit for bit; the file holds 16
          // significant digits, which keeps a double to within one unit of
          // its last place.
          const double theirs = std::strtod(parts[1].c_str(), nullptr);
          EXPECT_LE(std::fabs(theirs - cell->Number), std::fabs(cell->Number) * 2.3e-16) << line;
        }
        break;
      case TCellKind::Text:
        EXPECT_EQ(parts[1], "'" + cell->Text + "'") << line;
        break;
      case TCellKind::Formula:
        EXPECT_EQ(parts[1], "'=" + cell->Formula + "'") << line;
        EXPECT_NEAR(std::strtod(parts[2].c_str(), nullptr), cell->Number, 1e-9) << line;
        break;
      default:
        break;
    }
    if (c == 2 && r >= 2 && r <= 21) {
      EXPECT_EQ(parts[3], "0.0000") << line;
    }
    ++checked;
  }
  EXPECT_GE(checked, 80);
}

// Horizontal alignments in other programs' files and in ours. openpyxl
// writes every one the format names, a text centred across A7:C7 as
// "centerContinuous" on the three cells; LibreOffice keeps all but that one:
// it stores the three cells as centred. What we write carries the format's names
// (openpyxl reads them) and reads back with the same codes.
TEST_F(InteropTest, HorizontalAlignmentsKeepTheirCodes) {
  // The codes of A1 to A7, then of B7 and C7: left 2, centre 3, right 4,
  // fill 5, justify 6, distributed (shown as justify) 6, centre across
  // the selection 7.
  auto codes = [](const TWorkbook& book) {
    std::string text;
    for (int row = 1; row <= 7; ++row) text += std::to_string(book.StyleAt(1, row, 1).Alignment.Horizontal);
    return text + " " + std::to_string(book.StyleAt(1, 7, 2).Alignment.Horizontal) +
           std::to_string(book.StyleAt(1, 7, 3).Alignment.Horizontal);
  };
  int type = 0;
  std::string error;
  TWorkbook theirs(1);
  ASSERT_TRUE(ReadWorkbookFile(theirs, std::string(KVX_FIXTURE_DIR) + "/alignments.xlsx", type, error)) << error;
  EXPECT_EQ(codes(theirs), "2345667 77");
  TWorkbook libreOffice(1);
  ASSERT_TRUE(ReadWorkbookFile(libreOffice, std::string(KVX_FIXTURE_DIR) + "/alignments_libreoffice.xlsx", type, error))
      << error;
  EXPECT_EQ(codes(libreOffice), "2345663 33");

  const std::string path = (folder_.Path() / "alignments.xlsx").string();
  ASSERT_TRUE(WriteWorkbookFile(theirs, path, 4, error)) << error;
  TWorkbook back(1);
  ASSERT_TRUE(ReadWorkbookFile(back, path, type, error)) << error;
  EXPECT_EQ(codes(back), "2345667 77");
  if (!HaveCommand("/usr/bin/python3 -c 'import openpyxl'")) GTEST_SKIP() << "python3-openpyxl is not installed";
  std::ofstream(folder_.Path() / "alignments.py")
      << "import openpyxl,sys\n"
         "s=openpyxl.load_workbook(sys.argv[1]).active\n"
         "print(' '.join(s[c].alignment.horizontal or 'None' for c in sys.argv[2:]))\n";
  int status = 0;
  const std::string output = RunCommand("/usr/bin/python3 '" + (folder_.Path() / "alignments.py").string() + "' '" +
                                            path + "' A1 A2 A3 A4 A5 A6 A7 B7 C7 2>&1",
                                        status);
  ASSERT_EQ(status, 0) << output;
  EXPECT_EQ(output, "left center right fill justify justify centerContinuous centerContinuous centerContinuous\n");
}

}  // namespace
}  // namespace kvx::workbook
