#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <vector>

#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/number_text.h"
#include "platform/text_encoding.h"
#include "platform/workbook/workbook_files.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx::workbook {
namespace {

namespace fs = std::filesystem;

class WorkbookFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = IntlSeparators;
    IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  }
  void TearDown() override { IntlSeparators = saved_; }

  std::string PathOf(const std::string& name) const { return folder_.File(name); }

  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // A workbook with a bit of everything the files keep.
  static void FillSample(TWorkbook& book) {
    book.SetSheetName(1, "Sonne");
    book.SetSheetName(2, "Mond und Sterne");
    book.SetText(1, 1, "Datum");
    book.SetText(1, 2, "Rektaszension °");
    book.SetText(1, 3, "Größe");
    for (int r = 2; r <= 11; ++r) {
      book.SetEntry(r, 1, std::to_string(r) + ".12.2026");
      book.SetNumber(r, 2, 180.0 + r * 0.123456789);
      book.SetNumber(r, 3, -1.5 + r * 0.01);
    }
    book.SetSelection(2, 2, 11, 2);
    book.SetNumberFormat("0,0000");
    book.SetSelection(2, 3, 11, 3);
    book.SetNumberFormat("0,00\" mag\"");
    book.SetSelection(1, 1, 1, 3);
    TCellFont font;
    font.Face = "Times New Roman";
    font.Size = 12;
    font.Bold = true;
    font.Italic = true;
    font.Color = 0x0000FF;
    book.SetFont(font);
    book.SetAlignment(TAlignment{3, false, 2, 0});
    TBorders borders;
    borders.Bottom = {6, 0xFF0000};
    book.SetBorders(borders);
    book.SetPattern(TPattern{1, 0xFFFF00, 0xFFFFFF});
    book.SetFormula(12, 2, "SUM(B2:B11)");
    book.SetFormula(12, 3, "IF(C2<0,\"negativ\",\"positiv\")");
    book.SetFormula(13, 2, "'Mond und Sterne'!A1*2");
    book.SetColWidth(1, 1, 12.0, false);
    book.SetColWidth(2, 2, 20.5, false);
    book.SetRowHeight(1, 1, 24.0, false);
    book.SetColHidden(4, 4, true);
    book.SetRowHidden(14, 14, true);
    book.SetFixedRows(1);
    book.SetFixedCols(1);
    book.SetSelection(1, 1, 12, 3);
    book.SetPrintAreaFromSelection();
    book.DefineName("Werte", "Sonne!$B$2:$B$11");
    book.AddRowPageBreak(6);
    book.AddColPageBreak(2);
    TPageSetup& page = book.PageSetup();
    page.Landscape = true;
    page.LeftToRight = true;
    page.HCenter = true;
    page.GridLines = true;
    page.RowHeading = page.ColHeading = true;
    page.LeftMargin = 1.0;
    page.TopMargin = 0.5;
    page.PaperSize = 1;
    page.Header = "&CEphemeride & mehr";
    page.Footer = "&RSeite &P";
    book.SetPrintScale(75, false, 1, 1);
    book.SetSelection(11, 1, 11, 1);
    book.SetAlignment(TAlignment{2, true, 1, 2});
    book.SetViewScale(150);
    book.SetShowGridLines(false);
    book.SetEnableProtection(true);
    book.SetSheet(2);
    book.SetNumber(1, 1, 21.0);
    book.SetText(2, 1, "Ä Ö Ü ß ° ''");
    book.SetSheet(1);
  }

  TIntlSeparators saved_;
  // Its own folder, even while another process runs the same test.
  kvx::test::TempFolder folder_;
};

TEST_F(WorkbookFilesTest, XlsxRoundTripKeepsValuesFormulasFormatsSizesAndNames) {
  TWorkbook book(3);
  FillSample(book);
  std::string error;
  const std::string path = PathOf("sample.xlsx");
  ASSERT_TRUE(WriteWorkbookFile(book, path, 4, error)) << error;

  TWorkbook back(1);
  int type = 0;
  ASSERT_TRUE(ReadWorkbookFile(back, path, type, error)) << error;
  EXPECT_EQ(type, kFileTypeWorkbook);
  EXPECT_EQ(back.FileName(), path);
  EXPECT_FALSE(back.Modified());
  ASSERT_EQ(back.NumSheets(), 3);
  EXPECT_EQ(back.SheetName(2), "Mond und Sterne");
  back.SetSheet(1);
  for (int r = 1; r <= 13; ++r) {
    for (int c = 1; c <= 3; ++c) {
      EXPECT_EQ(back.Text(r, c), book.Text(r, c)) << r << "," << c;
      EXPECT_EQ(back.Entry(r, c), book.Entry(r, c)) << r << "," << c;
    }
  }
  EXPECT_EQ(back.Formula(12, 2), "=SUM(B2:B11)");
  EXPECT_EQ(back.Formula(13, 2), "='Mond und Sterne'!A1*2");
  EXPECT_DOUBLE_EQ(back.Number(13, 2), 42.0);
  back.SetActiveCell(2, 2);
  EXPECT_EQ(back.NumberFormat(), "0,0000");
  back.SetActiveCell(1, 2);
  EXPECT_EQ(back.Font().Face, "Times New Roman");
  EXPECT_EQ(back.FontSizeTwips(), 240);
  EXPECT_TRUE(back.Font().Bold);
  EXPECT_TRUE(back.Font().Italic);
  EXPECT_EQ(back.Font().Color, 0x0000FFu);
  EXPECT_EQ(back.Alignment().Horizontal, 3);
  EXPECT_EQ(back.Alignment().Vertical, 2);
  EXPECT_EQ(back.Borders().Bottom.Style, 6);
  EXPECT_EQ(back.Borders().Bottom.Color, 0xFF0000u);
  EXPECT_EQ(back.Pattern().Pattern, 1);
  EXPECT_EQ(back.Pattern().Foreground, 0xFFFF00u);
  EXPECT_NEAR(back.ColWidth(1), 12.0, 0.3);
  EXPECT_NEAR(back.ColWidth(2), 20.5, 0.3);
  EXPECT_NEAR(back.ColWidth(3), 8.43, 0.3);
  EXPECT_NEAR(back.RowHeight(1), 24.0, 0.1);
  EXPECT_TRUE(back.ColHidden(4));
  EXPECT_TRUE(back.RowHidden(14));
  EXPECT_EQ(back.FixedRows(), 1);
  EXPECT_EQ(back.FixedCols(), 1);
  const auto values = back.FindName("Werte");
  ASSERT_TRUE(values.has_value());
  EXPECT_EQ(back.NameReference(*values), "Sonne!$B$2:$B$11");
  ASSERT_TRUE(back.PrintArea(1).has_value());
  EXPECT_EQ(*back.PrintArea(1), (TRange{1, 1, 12, 3}));
  // Page set-up, breaks, view and wrap come back as well.
  const TPageSetup& page = back.PageSetup();
  EXPECT_TRUE(page.Landscape);
  EXPECT_TRUE(page.LeftToRight);
  EXPECT_TRUE(page.HCenter);
  EXPECT_TRUE(page.GridLines);
  EXPECT_TRUE(page.RowHeading);
  EXPECT_DOUBLE_EQ(page.LeftMargin, 1.0);
  EXPECT_DOUBLE_EQ(page.TopMargin, 0.5);
  EXPECT_EQ(page.PaperSize, 1);
  EXPECT_EQ(page.Header, "&CEphemeride & mehr");
  EXPECT_EQ(page.Footer, "&RSeite &P");
  EXPECT_EQ(page.ScalePercent, 75);
  EXPECT_EQ(back.RowPageBreak(6), 6);
  EXPECT_EQ(back.ColPageBreak(2), 2);
  back.SetActiveCell(11, 1);
  EXPECT_TRUE(back.Alignment().Wrap);
  EXPECT_EQ(back.Alignment().Orientation, 2);
  EXPECT_EQ(back.Alignment().Horizontal, 2);
  EXPECT_EQ(back.Alignment().Vertical, 1);
  EXPECT_EQ(back.ViewScale(), 150);
  EXPECT_FALSE(back.ShowGridLines());
  EXPECT_TRUE(back.EnableProtection());
  back.SetSheet(2);
  EXPECT_EQ(back.Text(2, 1), "Ä Ö Ü ß ° ''");
}

TEST_F(WorkbookFilesTest, FailedWritesLeaveTheOldFileAndFailedReadsTheWorkbook) {
  TWorkbook book(1);
  book.SetNumber(1, 1, 1.0);
  std::string error;
  const std::string path = PathOf("keep.xlsx");
  ASSERT_TRUE(WriteWorkbookFile(book, path, 4, error)) << error;
  const std::string before = Slurp(path);
  // A folder where the file should go: the rename fails.
  const std::string blocked = PathOf("blocked.xlsx");
  fs::create_directories(fs::path(blocked) / "inside");
  EXPECT_FALSE(WriteWorkbookFile(book, blocked, 4, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(blocked));
  // No temporary files stay behind.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder_.Path())) files += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1);  // keep.xlsx
  EXPECT_FALSE(WriteWorkbookFile(book, PathOf("missing-folder/x.xlsx"), 4, error));
  EXPECT_EQ(Slurp(path), before);

  // A text longer than a file's cell holds is cut, not fatal.
  TWorkbook longText(1);
  longText.SetText(1, 1, std::string(40000, 'x') + "ä");
  ASSERT_TRUE(WriteWorkbookFile(longText, PathOf("long.xlsx"), 4, error)) << error;
  TWorkbook longBack(1);
  int longType = 0;
  ASSERT_TRUE(ReadWorkbookFile(longBack, PathOf("long.xlsx"), longType, error)) << error;
  EXPECT_EQ(longBack.Text(1, 1).size(), 32767u);

  // A damaged workbook is refused and the open workbook stays.
  const std::string broken = PathOf("broken.xlsx");
  std::ofstream(broken, std::ios::binary) << std::string("PK\x03\x04garbage", 11);
  TWorkbook open(2);
  open.SetText(1, 1, "still here");
  int type = 99;
  EXPECT_FALSE(ReadWorkbookFile(open, broken, type, error));
  EXPECT_EQ(type, 99);
  EXPECT_EQ(open.Text(1, 1), "still here");
  EXPECT_EQ(open.NumSheets(), 2);
  EXPECT_FALSE(ReadWorkbookFile(open, PathOf("nothing.xlsx"), type, error));
  const std::string badXls = PathOf("broken.xls");
  std::ofstream(badXls, std::ios::binary) << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 short", 14);
  EXPECT_FALSE(ReadWorkbookFile(open, badXls, type, error));
  EXPECT_EQ(open.Text(1, 1), "still here");
}

// Saved numbers come back bit for bit: save, open, save again, open again,
// on two sheets (the second one the file's second worksheet part), through
// the reading child process; the tab text of values and the comma-separated
// entries as well (-0 aside: the typed form of -0 is "0").
TEST_F(WorkbookFilesTest, NumbersComeBackBitForBit) {
  const std::vector<double> awkward = {0.1,
                                       1.0 / 3.0,
                                       1e-300,
                                       5e-324,
                                       1.7976931348623157e308,
                                       -0.0,
                                       0.1 + 0.2,
                                       123456.78901234567,
                                       -2.2250738585072014e-308,
                                       2451545.0000000005,
                                       9007199254740993.0,
                                       0.30000000000000004,
                                       -6.02214076e23,
                                       1.2345678901234567e-7};
  auto bits = [](double v) {
    std::uint64_t b = 0;
    std::memcpy(&b, &v, sizeof b);
    return b;
  };
  TWorkbook book(2);
  for (int sheet = 1; sheet <= 2; ++sheet) {
    book.SetSheet(sheet);
    for (std::size_t i = 0; i < awkward.size(); ++i) {
      book.SetNumber(static_cast<int>(i) + 1, sheet, awkward[i] * (sheet == 1 ? 1 : -1));
    }
  }
  book.SetSheet(1);
  book.SetActiveCell(1, 1);
  book.SetNumberFormat("0,00");  // a format changes nothing of the value
  std::string error;
  const std::string first = PathOf("first.xlsx"), second = PathOf("second.xlsx");
  ASSERT_TRUE(WriteWorkbookFile(book, first, kFileTypeWorkbook, error)) << error;
  TWorkbook back(1);
  int type = 0;
  ASSERT_TRUE(ReadWorkbookFile(back, first, type, error)) << error;
  ASSERT_TRUE(WriteWorkbookFile(back, second, kFileTypeWorkbook, error)) << error;
  TWorkbook again(1);
  ASSERT_TRUE(ReadWorkbookFile(again, second, type, error)) << error;
  for (int sheet = 1; sheet <= 2; ++sheet) {
    for (std::size_t i = 0; i < awkward.size(); ++i) {
      const int row = static_cast<int>(i) + 1;
      const double written = awkward[i] * (sheet == 1 ? 1 : -1);
      ASSERT_EQ(back.SheetData(sheet).CellAt(row, sheet)->Kind, TCellKind::Number) << sheet << " " << row;
      EXPECT_EQ(bits(back.SheetData(sheet).CellAt(row, sheet)->Number), bits(written)) << sheet << " " << row;
      EXPECT_EQ(bits(again.SheetData(sheet).CellAt(row, sheet)->Number), bits(written)) << sheet << " " << row;
    }
  }
  EXPECT_EQ(ShortestNumberText(0.1), "0.1");
  EXPECT_EQ(ShortestNumberText(5e-324), "5e-324");
  EXPECT_EQ(ShortestNumberText(-0.0, ','), "-0");
  EXPECT_EQ(ShortestNumberText(-12.75, ','), "-12,75");

  // The values of the tab text and the entries of the comma-separated file.
  const std::string values = PathOf("values.txt"), csv = PathOf("values.csv");
  ASSERT_TRUE(WriteWorkbookFile(book, values, kFileTypeTextValues, error)) << error;
  ASSERT_TRUE(WriteSheetSeparated(book, csv, ';', error)) << error;
  TWorkbook fromText(1), fromCsv(1);
  ASSERT_TRUE(ReadWorkbookFile(fromText, values, type, error)) << error;
  ASSERT_TRUE(ReadSeparatedIntoSheet(fromCsv, csv, ';', error)) << error;
  for (std::size_t i = 0; i < awkward.size(); ++i) {
    if (awkward[i] == 0) continue;
    const int row = static_cast<int>(i) + 1;
    EXPECT_EQ(bits(fromText.Number(row, 1)), bits(awkward[i])) << row << " " << fromText.Text(row, 1);
    // The comma-separated file brings numbers back as numbers.
    ASSERT_EQ(fromCsv.CellKind(row, 1), TCellKind::Number) << row << " " << fromCsv.Text(row, 1);
    EXPECT_EQ(bits(fromCsv.Number(row, 1)), bits(awkward[i])) << row << " " << fromCsv.Text(row, 1);
  }
}

TEST_F(WorkbookFilesTest, TabTextAndSeparatedFiles) {
  TWorkbook book(2);
  book.SetText(1, 1, "Größe °");
  book.SetNumber(1, 3, 2.5);
  book.SetActiveCell(1, 3);
  book.SetNumberFormat("0,000");
  book.SetFormula(2, 1, "C1*2");
  std::string error;
  const std::string text = PathOf("sheet.txt");
  ASSERT_TRUE(WriteWorkbookFile(book, text, kFileTypeText, error)) << error;
  EXPECT_EQ(Slurp(text), "Gr\xF6\xDF" "e \xB0\t\t2,500\r\n5\r\n");
  ASSERT_TRUE(WriteWorkbookFile(book, text, kFileTypeTextValues, error)) << error;
  EXPECT_EQ(Slurp(text), "Gr\xF6\xDF" "e \xB0\t\t2,5\r\n5\r\n");
  TWorkbook back(1);
  int type = 0;
  ASSERT_TRUE(ReadWorkbookFile(back, text, type, error)) << error;
  EXPECT_EQ(type, kFileTypeText);
  EXPECT_EQ(back.Text(1, 1), "Größe °");
  EXPECT_DOUBLE_EQ(back.Number(1, 3), 2.5);
  EXPECT_EQ(back.SheetName(1), "sheet");

  const std::string csv = PathOf("sheet.csv");
  ASSERT_TRUE(WriteSheetSeparated(book, csv, ';', error)) << error;
  EXPECT_EQ(Slurp(csv), "Gr\xF6\xDF" "e \xB0;;2,5\r\n=C1*2\r\n");
  // A quoted field keeps its separator; an unclosed quote takes the rest
  // of its line; empty lines stay empty rows.
  std::ofstream(csv, std::ios::binary) << "\"a;b\";c\r\n\r\nx;\xB0\n\"open;end\nlast";
  TWorkbook imported(1);
  ASSERT_TRUE(ReadSeparatedIntoSheet(imported, csv, ';', error)) << error;
  EXPECT_EQ(imported.Text(1, 1), "a;b");
  EXPECT_EQ(imported.Text(1, 2), "c");
  EXPECT_EQ(imported.LastColForRow(2), 0);
  EXPECT_EQ(imported.Text(3, 2), "°");
  EXPECT_EQ(imported.CellKind(3, 1), TCellKind::Text);
  EXPECT_EQ(imported.Text(4, 1), "open;end");
  EXPECT_EQ(imported.Text(5, 1), "last");

  // Cells holding the separator, quotes and a line break come back whole.
  TWorkbook tricky(1);
  tricky.SetText(1, 1, "x;y");
  tricky.SetText(1, 2, "say \"hi\"");
  tricky.SetText(1, 3, "two\nlines");
  tricky.SetText(2, 1, "plain");
  ASSERT_TRUE(WriteSheetSeparated(tricky, csv, ';', error)) << error;
  EXPECT_EQ(Slurp(csv), "\"x;y\";\"say \"\"hi\"\"\";\"two\nlines\"\r\nplain\r\n");
  TWorkbook back2(1);
  ASSERT_TRUE(ReadSeparatedIntoSheet(back2, csv, ';', error)) << error;
  EXPECT_EQ(back2.Text(1, 1), "x;y");
  EXPECT_EQ(back2.Text(1, 2), "say \"hi\"");
  EXPECT_EQ(back2.Text(1, 3), "two\nlines");
  EXPECT_EQ(back2.Text(2, 1), "plain");
}

// A sheet as a spreadsheet program with German settings writes it as text
// (LibreOffice, make_german_text.py: ';' and tabs between the fields,
// Windows-1252, decimal commas) reads its numbers as numbers, whatever the
// locale; a field that is not wholly a number stays text, and so does one
// that is a number only with the other decimal mark. A ','-separated file
// reads a quoted decimal comma as its number too.
TEST_F(WorkbookFilesTest, TextWithDecimalCommasReadsItsNumbers) {
  const TIntlSeparators german = IntlSeparators;
  for (const TIntlSeparators& locale : {german, TIntlSeparators{'.', ',', '/', ':', ','}}) {
    IntlSeparators = locale;
    SCOPED_TRACE(locale.Decimal);
    for (const char* name : {"german_semicolon.csv", "german_tab.txt"}) {
      SCOPED_TRACE(name);
      const std::string path = std::string(KVX_FIXTURE_DIR) + "/" + name;
      TWorkbook book(1);
      std::string error, note;
      int type = 0;
      ASSERT_TRUE(std::string(name).ends_with(".csv") ? ReadSeparatedIntoSheet(book, path, ';', error, &note)
                                                      : ReadWorkbookFile(book, path, type, error, &note))
          << error;
      EXPECT_EQ(note, "") << "Windows-1252 is what a save writes";
      EXPECT_EQ(book.Text(1, 2), "Größe");
      EXPECT_EQ(book.Text(3, 1), "Vesta; Pallas");
      for (const auto& [row, col, value] : {std::tuple{2, 2, 1.5}, {2, 3, -0.00225}, {3, 2, -12.25}, {3, 3, 1234.5}}) {
        ASSERT_EQ(book.CellKind(row, col), TCellKind::Number) << row << "," << col << " " << book.Text(row, col);
        EXPECT_DOUBLE_EQ(book.Number(row, col), value);
      }
      EXPECT_EQ(book.CellKind(2, 5), TCellKind::Text);
      EXPECT_EQ(book.Text(2, 5), "1,5e");
      EXPECT_EQ(book.Text(3, 5), "2,5 kg");
      if (locale.Decimal == ',') {
        EXPECT_DOUBLE_EQ(book.Number(2, 4), DateSerial(2024, 3, 5));
      }
    }
    const std::string csv = PathOf("mixed.csv");
    // As many decimal commas as decimal points: the session's mark.
    std::ofstream(csv, std::ios::binary) << "1,5;2.5\r\n";
    TWorkbook semicolon(1);
    std::string error;
    ASSERT_TRUE(ReadSeparatedIntoSheet(semicolon, csv, ';', error)) << error;
    const bool commas = locale.Decimal == ',';
    EXPECT_EQ(semicolon.CellKind(1, commas ? 1 : 2), TCellKind::Number);
    EXPECT_EQ(semicolon.CellKind(1, commas ? 2 : 1), TCellKind::Text);
    std::ofstream(csv, std::ios::binary | std::ios::trunc) << "\"1,5\",2\r\n";
    TWorkbook comma(1);
    ASSERT_TRUE(ReadSeparatedIntoSheet(comma, csv, ',', error)) << error;
    EXPECT_EQ(comma.CellKind(1, 1), TCellKind::Number);
    EXPECT_DOUBLE_EQ(comma.Number(1, 1), 1.5);
    EXPECT_DOUBLE_EQ(comma.Number(1, 2), 2.0);
  }
  IntlSeparators = german;
}

// Text from Windows programs and texts other programs must understand:
// UTF-16 with its byte-order mark reads as text (little and big endian,
// .csv and tab text) and is written back in its form; lines beyond the sheet's last row are left out with one
// message, in tab text as in .csv; a time of whole seconds from another
// program is written as that second.
TEST_F(WorkbookFilesTest, Utf16TextLongFilesAndExactTimes) {
  const std::uint8_t language = LanguageEnglish;
  LanguageEnglish = 0;
  RecordingMessageSink sink;
  ScopedMessageSink scoped(sink);
  const std::u16string text = u"Größe;Ω\r\n2,5;x\r\n";
  for (const bool bigEndian : {false, true}) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
      const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
      bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    SCOPED_TRACE(bigEndian);
    const std::string csv = PathOf("unicode.csv");
    std::ofstream(csv, std::ios::binary) << bytes;
    TWorkbook fromCsv(1);
    std::string error;
    ASSERT_TRUE(ReadSeparatedIntoSheet(fromCsv, csv, ';', error)) << error;
    EXPECT_EQ(fromCsv.Text(1, 1), "Größe");
    EXPECT_EQ(fromCsv.Text(1, 2), "Ω");
    EXPECT_DOUBLE_EQ(fromCsv.Number(2, 1), 2.5);
    std::string tabBytes = bytes;
    for (std::size_t k = bigEndian ? 3 : 2; k < tabBytes.size(); k += 2) {
      if (tabBytes[k] == ';' && tabBytes[bigEndian ? k - 1 : k + 1] == 0) tabBytes[k] = '\t';
    }
    const std::string tab = PathOf("unicode.txt");
    std::ofstream(tab, std::ios::binary) << tabBytes;
    TWorkbook fromTab(1);
    int type = 0;
    ASSERT_TRUE(ReadWorkbookFile(fromTab, tab, type, error)) << error;
    EXPECT_EQ(fromTab.Text(1, 2), "Ω");
    EXPECT_DOUBLE_EQ(fromTab.Number(2, 1), 2.5);

    // Saved again: UTF-16 in the file's byte order, byte for byte.
    const std::string saved = PathOf("saved.csv");
    ASSERT_TRUE(WriteSheetSeparated(fromCsv, saved, ';', error)) << error;
    EXPECT_EQ(Slurp(saved), bytes);
    ASSERT_TRUE(WriteWorkbookFile(fromTab, tab, kFileTypeText, error)) << error;
    EXPECT_EQ(Slurp(tab), tabBytes);
  }
  EXPECT_TRUE(sink.messages.empty());

  // One line more than the sheet's rows, and one more: the rows that fit,
  // and a note saying how many lines were left out (the reader shows
  // nothing itself).
  std::string longFile(static_cast<std::size_t>(kMaxRows) - 1, '\n');
  longFile += "last\nover\nover\n";
  for (const char* name : {"long.csv", "long.txt"}) {
    SCOPED_TRACE(name);
    const std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary) << longFile;
    TWorkbook book(1);
    std::string error, note;
    int type = 0;
    ASSERT_TRUE(std::string(name) == "long.csv" ? ReadSeparatedIntoSheet(book, path, ';', error, &note)
                                                : ReadWorkbookFile(book, path, type, error, &note))
        << error;
    EXPECT_EQ(book.Text(kMaxRows, 1), "last");
    EXPECT_EQ(note, "Die Datei " + path +
                        " hat mehr Zeilen, als das Tabellenblatt Zeilen hat (1048576). 2 Zeilen wurden weggelassen.");
  }
  EXPECT_TRUE(sink.messages.empty());

  // 12:30 as another program computes it (45000 / 86400), a date a step of
  // the serial past midnight, a date and time as pandas computes them
  // (days + seconds / 86400), and a time that does need its fraction.
  TWorkbook times(1);
  times.SetNumber(1, 1, 45000.0 / 86400.0);
  times.SetCellNumberFormat(1, 1, "hh:mm");
  const double day = DateSerial(2024, 3, 5);
  times.SetNumber(1, 2, std::nextafter(day, 1e9));
  times.SetCellNumberFormat(1, 2, "dd.mm.yyyy");
  times.SetNumber(1, 3, day + 45000.0 / 86400.0);
  times.SetCellNumberFormat(1, 3, "dd.mm.yyyy hh:mm");
  times.SetNumber(1, 4, (45000.0 + 0.25) / 86400.0);
  times.SetCellNumberFormat(1, 4, "hh:mm:ss");
  std::string error;
  const std::string csv = PathOf("times.csv");
  ASSERT_TRUE(WriteSheetSeparated(times, csv, ';', error)) << error;
  // Dates that leave day and month open go year first: they read so on every desktop.
  EXPECT_EQ(Slurp(csv), "12:30:00;2024-03-05;2024-03-05 12:30:00;12:30:00,250000\r\n");
  LanguageEnglish = language;
}

TEST_F(WorkbookFilesTest, Windows1252ConversionsAreInverse) {
  const std::string utf8 = "€ ° ä ß “quoted” – ok";
  const std::string legacy = Utf8ToCp1252(utf8);
  EXPECT_EQ(legacy, "\x80 \xB0 \xE4 \xDF \x93quoted\x94 \x96 ok");
  EXPECT_EQ(Cp1252ToUtf8(legacy), utf8);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_FALSE(IsValidUtf8(legacy));
  EXPECT_FALSE(IsValidUtf8("\xC3"));
  EXPECT_EQ(Utf8ToCp1252("\xE2\x88\x9A"), "?");  // not in the code page
}

}  // namespace
}  // namespace kvx::workbook
