#include "platform/workbook/workbook.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "platform/globals.h"

namespace kvx::workbook {
namespace {

// Every test runs with German separators, the program's defaults.
class WorkbookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = IntlSeparators;
    IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  }
  void TearDown() override { IntlSeparators = saved_; }

  // Row r of column c as shown.
  std::vector<std::string> Column(int col, int rows) {
    std::vector<std::string> values;
    for (int r = 1; r <= rows; ++r) values.push_back(book.Text(r, col));
    return values;
  }

  TWorkbook book{3};
  TIntlSeparators saved_;
};

TEST_F(WorkbookTest, CellsKeepTextsNumbersAndTypedEntries) {
  book.SetText(1, 1, "12,5");  // text stays text
  EXPECT_EQ(book.CellKind(1, 1), TCellKind::Text);
  book.SetNumber(2, 1, 12.5);
  EXPECT_EQ(book.Text(2, 1), "12,5");
  EXPECT_EQ(book.Entry(2, 1), "12,5");
  book.SetEntry(3, 1, "07.12.2026");
  EXPECT_EQ(book.CellKind(3, 1), TCellKind::Number);
  EXPECT_DOUBLE_EQ(book.Number(3, 1), DateSerial(2026, 12, 7));
  EXPECT_EQ(book.Text(3, 1), "07.12.2026");
  book.SetEntry(4, 1, "18:30");
  book.SetActiveCell(4, 1);
  EXPECT_EQ(book.NumberFormat(), "hh:mm");
  EXPECT_EQ(book.Text(4, 1), "18:30");
  // A typed time in a cell that already shows decimals keeps its format.
  book.SetActiveCell(5, 1);
  book.SetNumberFormat("0,000");
  book.SetEntry(5, 1, "2,5");
  EXPECT_EQ(book.Text(5, 1), "2,500");
  EXPECT_EQ(book.NumberFormat(), "0,000");
  book.SetEntry(5, 1, "");
  EXPECT_EQ(book.CellKind(5, 1), TCellKind::Empty);
  EXPECT_EQ(book.NumberFormat(), "0,000");  // clearing the value keeps the format

  EXPECT_EQ(book.LastRow(), 4);
  EXPECT_EQ(book.LastCol(), 1);
  book.SetText(2, 7, "x");
  EXPECT_EQ(book.LastCol(), 7);
  EXPECT_EQ(book.LastColForRow(2), 7);
  EXPECT_EQ(book.LastColForRow(3), 1);
  // Out-of-range writes are ignored, not fatal.
  book.SetNumber(0, 1, 1.0);
  book.SetNumber(1, kMaxCols + 1, 1.0);
  EXPECT_EQ(book.Text(0, 0), "");
}

TEST_F(WorkbookTest, FormulasRecomputeWhenTheirInputsChange) {
  book.SetNumber(1, 1, 2.0);
  book.SetNumber(2, 1, 3.0);
  book.SetEntry(3, 1, "=SUMME(A1:A2)");  // not a function the engine knows
  book.SetEntry(4, 1, "=SUM(A1:A2)*2");
  book.SetFormula(5, 1, "A4/0");
  book.SetFormula(6, 1, "CONCATENATE(\"x\";\"y\")");
  EXPECT_DOUBLE_EQ(book.Number(4, 1), 10.0);
  EXPECT_EQ(book.Text(4, 1), "10");
  EXPECT_EQ(book.Text(5, 1), "#DIV/0!");
  EXPECT_EQ(book.Formula(4, 1), "=SUM(A1:A2)*2");
  EXPECT_EQ(book.Entry(4, 1), "=SUM(A1:A2)*2");
  EXPECT_EQ(book.Text(3, 1).front(), '#');
  // A function the engine does not know stops neither the other formulas
  // nor those that use its cell: they show an error.
  book.SetFormula(9, 1, "TRUE()");
  book.SetFormula(10, 1, "A9+1");
  EXPECT_EQ(book.Text(9, 1), "#NAME?");
  EXPECT_EQ(book.Text(10, 1).front(), '#');
  EXPECT_DOUBLE_EQ(book.Number(4, 1), 10.0);
  book.SetText(9, 1, "");
  book.SetText(10, 1, "");
  book.SetNumber(1, 1, 5.0);
  EXPECT_DOUBLE_EQ(book.Number(4, 1), 16.0);
  // References to other sheets and defined names.
  book.SetSheetName(2, "Data sheet");
  book.SetSheet(2);
  book.SetNumber(1, 1, 100.0);
  book.SetSheet(1);
  book.SetFormula(7, 1, "'Data sheet'!A1+A1");
  EXPECT_DOUBLE_EQ(book.Number(7, 1), 105.0);
  ASSERT_TRUE(book.DefineName("Inputs", "A1:A2"));
  book.SetFormula(8, 1, "SUM(Inputs)");
  EXPECT_DOUBLE_EQ(book.Number(8, 1), 8.0);
  // A renamed sheet is renamed in the formulas as well.
  ASSERT_TRUE(book.SetSheetName(2, "Other"));
  EXPECT_EQ(book.Formula(7, 1), "=Other!A1+A1");
  EXPECT_DOUBLE_EQ(book.Number(7, 1), 105.0);
  // A formula shows in the chosen format.
  book.SetActiveCell(4, 1);
  book.SetNumberFormat("0,00");
  EXPECT_EQ(book.Text(4, 1), "16,00");
}

// MIN, MAX, AVERAGE and COUNT over ranges and single values as the
// spreadsheets count them; references and function names in any letter
// case (on a Turkish desktop too, where 'i' has no upper case 'I').
TEST_F(WorkbookTest, ListFunctionsTakeRangesAndNamesInAnyLetterCase) {
  for (int r = 1; r <= 3; ++r) book.SetNumber(r, 1, r == 3 ? 4.0 : r);
  book.SetText(4, 1, "x");
  book.SetNumber(1, 9, 8.0);                // I1
  book.SetFormula(6, 1, "A3*2");            // 8, computed before the calls that read it
  book.SetEntry(1, 3, "=min(a1:a3)");       // 1
  book.SetEntry(2, 3, "=MAX(A1:A4;A6)");    // 8: the text is passed over
  book.SetEntry(3, 3, "=AVERAGE(A1:A4)");   // 7/3, not 7/4
  book.SetEntry(4, 3, "=Count(A1:A9;5;\"6\";\"y\")");  // 6: A1:A3, A6, 5 and "6"
  book.SetEntry(5, 3, "=MIN(MAX(A1:A3);2)+1");  // 3: a call inside a call
  book.SetEntry(6, 3, "=1+i1");             // 9
  book.SetEntry(7, 3, "=sum(a1:i1)");       // 10: A1, C1 and I1
  book.SetEntry(8, 3, "=MIN(B1:B3)");       // 0: no number
  book.SetEntry(9, 3, "=AVERAGE(B1:B3)");   // no number to average
  book.SetEntry(10, 3, "=MAX(\"y\";1)");  // a text that is no number
  book.SetEntry(11, 3, "=max(I:I)+MIN(A2;;7)");  // a whole column; an empty argument is 0
  const std::vector<std::string> shown = {"1", "8", "2,33333333333333", "6", "3", "9", "10", "0", "#DIV/0!",
                                          "#VALUE!", "8"};
  for (std::size_t k = 0; k < shown.size(); ++k) EXPECT_EQ(book.Text(static_cast<int>(k) + 1, 3), shown[k]) << k;
  // An error in a range is the result, but for COUNT; a name's block and
  // another sheet's are ranges too; every call follows its cells.
  book.SetFormula(5, 1, "1/0");
  ASSERT_TRUE(book.DefineName("Inputs", "A1:A3"));
  book.SetSheetName(2, "Data sheet");
  book.SetSheet(2);
  book.SetNumber(2, 2, -5.0);
  book.SetSheet(1);
  book.SetEntry(12, 3, "=MIN(Inputs;'Data sheet'!B1:B3)");
  book.SetEntry(13, 3, "=MAX(A1:A6)");
  book.SetNumber(1, 1, 10.0);
  EXPECT_EQ(book.Text(1, 3), "2");
  EXPECT_EQ(book.Text(4, 3), "6");
  EXPECT_EQ(book.Text(7, 3), "20");
  EXPECT_EQ(book.Text(12, 3), "-5");
  EXPECT_EQ(book.Text(13, 3), "#DIV/0!");
  // A call that reads its own cell is a circle of references: an error.
  book.SetEntry(14, 3, "=MAX(C1:C2;C14)");
  book.SetEntry(15, 3, "=MIN(C15+1;2)");
  EXPECT_EQ(book.Text(14, 3).front(), '#');
  EXPECT_EQ(book.Text(15, 3).front(), '#');
  EXPECT_EQ(book.Formula(1, 3), "=min(a1:a3)");  // the formula as typed
}

// A date typed in the desktop's order, shown and edited in it.
TEST_F(WorkbookTest, TypedDatesFollowTheDesktopsOrder) {
  IntlSeparators = TIntlSeparators{'.', ',', '/', ':', ',', TShortDateOrder::MonthDayYear};  // a US desktop
  book.SetEntry(1, 1, "12/10/2026");
  EXPECT_DOUBLE_EQ(book.Number(1, 1), DateSerial(2026, 12, 10));
  EXPECT_EQ(book.Text(1, 1), "12/10/2026");
  EXPECT_EQ(book.Entry(1, 1), "12/10/2026");
  book.SetEntry(2, 1, "2/29/28 18:30");
  EXPECT_NEAR(book.Number(2, 1), DateSerial(2028, 2, 29) + 18.5 / 24.0, 1e-9);
  EXPECT_EQ(book.Text(2, 1), "02/29/2028 18:30");
  book.SetEntry(3, 1, "13/10/2026");
  EXPECT_EQ(book.CellKind(3, 1), TCellKind::Text);
  const int year = static_cast<int>(
      std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())).year());
  book.SetEntry(4, 1, "12/10");
  EXPECT_DOUBLE_EQ(book.Number(4, 1), DateSerial(year, 12, 10));
  // Year first.
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', ' ', TShortDateOrder::YearMonthDay};
  book.SetEntry(5, 1, "26.12.10");
  EXPECT_DOUBLE_EQ(book.Number(5, 1), DateSerial(2026, 12, 10));
  EXPECT_EQ(book.Text(5, 1), "2026.12.10");
  book.SetEntry(6, 1, "3.4");
  EXPECT_DOUBLE_EQ(book.Number(6, 1), DateSerial(year, 3, 4));
}

TEST_F(WorkbookTest, SheetsAreInsertedDeletedAndNamed) {
  EXPECT_EQ(book.NumSheets(), 3);
  book.SetSheet(2);
  book.InsertSheets(1, 2);
  EXPECT_EQ(book.NumSheets(), 5);
  EXPECT_EQ(book.Sheet(), 4);  // the current sheet moved along
  EXPECT_EQ(book.SheetName(1), "Sheet4");
  EXPECT_EQ(book.SheetName(4), "Sheet2");
  EXPECT_FALSE(book.SetSheetName(1, "Sheet2"));
  EXPECT_FALSE(book.SetSheetName(1, "a/b"));
  EXPECT_FALSE(book.SetSheetName(1, ""));
  EXPECT_TRUE(book.SetSheetName(1, "Sonne"));
  EXPECT_EQ(book.SheetFromName("SONNE"), 1);
  book.DeleteSheets(3, 2);  // Sheet1 and Sheet2 (the current one)
  EXPECT_EQ(book.NumSheets(), 3);
  EXPECT_EQ(book.Sheet(), 3);
  EXPECT_TRUE(book.SheetSelected(3));
  book.DeleteSheets(1, 10);  // the last sheet always stays
  EXPECT_EQ(book.NumSheets(), 1);
  book.SetSheetSelected(1, false);
  EXPECT_TRUE(book.SheetSelected(1));
}

TEST_F(WorkbookTest, SelectionTextsAndNames) {
  book.SetSelection(2, 1, 5, 3);
  EXPECT_EQ(book.Selection(), "A2:C5");
  EXPECT_EQ(book.Row(), 2);
  EXPECT_EQ(book.SelEndRow(), 5);
  EXPECT_EQ(book.SelEndCol(), 3);
  book.AddSelection(7, 5, 7, 5);
  EXPECT_EQ(book.SelectionCount(), 2);
  EXPECT_EQ(book.Selection(), "A2:C5,E7");
  EXPECT_TRUE(book.SetSelectionText("b3:c4,$D$1"));
  EXPECT_EQ(book.Selection(), "B3:C4,D1");
  EXPECT_EQ(book.SelectionRange(1), (TRange{1, 4, 1, 4}));
  EXPECT_FALSE(book.SetSelectionText("A0"));
  EXPECT_FALSE(book.SetSelectionText("nowhere"));
  book.SetSelection(-1, 2, -1, 2);  // a whole column
  EXPECT_EQ(book.Selection(), "B:B");
  book.SetSelection(3, -1, 4, -1);  // whole rows
  EXPECT_EQ(book.Selection(), "3:4");

  ASSERT_TRUE(book.DefineName("Table", "Sheet2!$B$2:$D$9"));
  EXPECT_FALSE(book.DefineName("A1", "B2"));
  EXPECT_FALSE(book.DefineName("x y", "B2"));
  EXPECT_FALSE(book.DefineName("Ok", "Nosheet!B2"));
  EXPECT_TRUE(book.SetSelectionText("table"));
  EXPECT_EQ(book.Sheet(), 2);
  EXPECT_EQ(book.Selection(), "B2:D9");
  const auto name = book.FindName("TABLE");
  ASSERT_TRUE(name.has_value());
  EXPECT_EQ(book.NameReference(*name), "Sheet2!$B$2:$D$9");
  book.SetSelection(1, 1, 4, 2);
  book.SetPrintAreaFromSelection();
  ASSERT_TRUE(book.PrintArea(2).has_value());
  EXPECT_FALSE(book.PrintArea(1).has_value());
  book.DeleteName("Print_Area");
  EXPECT_FALSE(book.PrintArea(2).has_value());
  book.DeleteName("Table");
  EXPECT_FALSE(book.FindName("Table").has_value());
}

TEST_F(WorkbookTest, ClearKindsRemoveValuesFormatsOrBoth) {
  for (int r = 1; r <= 3; ++r) {
    book.SetNumber(r, 1, r);
    book.SetActiveCell(r, 1);
    book.SetNumberFormat("0,0");
  }
  book.ClearRange(1, 1, 1, 1, 2);  // formats
  EXPECT_EQ(book.Text(1, 1), "1");
  book.ClearRange(2, 1, 2, 1, 3);  // values
  EXPECT_EQ(book.CellKind(2, 1), TCellKind::Empty);
  book.SetNumber(2, 1, 2.0);
  EXPECT_EQ(book.Text(2, 1), "2,0");
  book.SetSelection(3, 1, 3, 1);
  book.EditClear(1);  // all
  book.SetNumber(3, 1, 3.0);
  EXPECT_EQ(book.Text(3, 1), "3");
  book.ClearRange(-1, -1, -1, -1, 1);
  EXPECT_EQ(book.LastRow(), 0);
}

TEST_F(WorkbookTest, InsertAndDeleteModesMoveCellsAndReferences) {
  // A 3 x 3 block of "r,c" texts and a formula summing column B.
  for (int r = 1; r <= 3; ++r) {
    for (int c = 1; c <= 3; ++c) book.SetNumber(r, c, r * 10 + c);
  }
  book.SetFormula(5, 2, "SUM(B1:B3)");
  EXPECT_DOUBLE_EQ(book.Number(5, 2), 12 + 22 + 32);

  book.InsertRange(TRange{2, 2, 2, 2}, 1);  // one cell right in row 2
  EXPECT_EQ(book.CellKind(2, 2), TCellKind::Empty);
  EXPECT_DOUBLE_EQ(book.Number(2, 3), 22);
  EXPECT_DOUBLE_EQ(book.Number(2, 4), 23);
  EXPECT_DOUBLE_EQ(book.Number(3, 2), 32);  // other rows stay
  EXPECT_EQ(book.Formula(5, 2), "=SUM(B1:B3)");  // the range spans rows that did not move
  book.DeleteRange(TRange{2, 2, 2, 2}, 1);  // and back
  EXPECT_DOUBLE_EQ(book.Number(2, 2), 22);

  book.InsertRange(TRange{1, 2, 1, 2}, 2);  // one cell down in column B
  EXPECT_DOUBLE_EQ(book.Number(2, 2), 12);
  EXPECT_DOUBLE_EQ(book.Number(4, 2), 32);
  EXPECT_DOUBLE_EQ(book.Number(1, 3), 13);
  EXPECT_EQ(book.Formula(6, 2), "=SUM(B2:B4)");  // formula moved down and follows its cells
  EXPECT_DOUBLE_EQ(book.Number(6, 2), 12 + 22 + 32);
  book.DeleteRange(TRange{1, 2, 1, 2}, 2);
  EXPECT_EQ(book.Formula(5, 2), "=SUM(B1:B3)");

  book.SetRowHeight(3, 3, 30.0, false);
  book.InsertRange(TRange{2, 1, 3, 1}, 3);  // two whole rows
  EXPECT_DOUBLE_EQ(book.Number(4, 1), 21);
  EXPECT_DOUBLE_EQ(book.RowHeight(5), 30.0);
  EXPECT_EQ(book.Formula(7, 2), "=SUM(B1:B5)");
  book.DeleteRange(TRange{2, 1, 4, 1}, 3);  // three rows, one of the data
  EXPECT_DOUBLE_EQ(book.Number(2, 1), 31);
  EXPECT_EQ(book.Formula(4, 2), "=SUM(B1:B2)");
  EXPECT_DOUBLE_EQ(book.Number(4, 2), 12 + 32);

  book.SetFormula(1, 5, "C1*2");
  book.InsertRange(TRange{1, 1, 1, 1}, 4);  // a whole column
  EXPECT_DOUBLE_EQ(book.Number(1, 2), 11);
  EXPECT_EQ(book.Formula(1, 6), "=D1*2");
  book.DeleteRange(TRange{1, 4, 1, 4}, 4);  // the referenced column goes
  EXPECT_EQ(book.Formula(1, 5), "=#REF!*2");
  EXPECT_EQ(book.Text(1, 5).front(), '#');
}

TEST_F(WorkbookTest, SortIsStableWithThreeKeysAndEmptyCellsLast) {
  // name, group, value
  const char* names[] = {"d", "a", "c", "b", "e", "f"};
  const char* groups[] = {"x", "y", "x", "", "y", "x"};
  const double values[] = {2, 1, 2, 5, 1, 1};
  for (int i = 0; i < 6; ++i) {
    book.SetText(i + 1, 1, names[i]);
    if (groups[i][0] != 0) book.SetText(i + 1, 2, groups[i]);
    book.SetNumber(i + 1, 3, values[i]);
    book.SetFormula(i + 1, 4, "C" + std::to_string(i + 1) + "*10");
  }
  // Group ascending (empty last), value descending, name ascending.
  book.Sort(1, 1, 6, 4, true, 2, -3, 1);
  EXPECT_EQ(Column(1, 6), (std::vector<std::string>{"c", "d", "f", "a", "e", "b"}));
  // The formulas moved with their rows and still point into their row.
  for (int r = 1; r <= 6; ++r) EXPECT_DOUBLE_EQ(book.Number(r, 4), book.Number(r, 3) * 10) << r;
  // Equal keys keep their order (stable): sort by value only.
  book.Sort(1, 1, 6, 4, true, 3, 0, 0);
  EXPECT_EQ(Column(1, 6), (std::vector<std::string>{"f", "a", "e", "c", "d", "b"}));
  // Numbers before texts; by columns reorders columns by a row.
  book.ClearRange(-1, -1, -1, -1, 1);
  book.SetText(1, 1, "Zebra");
  book.SetNumber(1, 2, 3);
  book.SetText(1, 3, "apple");
  book.SetNumber(1, 4, -1);
  book.SetNumber(2, 4, 99);
  book.Sort(1, 1, 2, 5, false, 1, 0, 0);
  EXPECT_EQ(book.Text(1, 1), "-1");
  EXPECT_EQ(book.Text(2, 1), "99");
  EXPECT_EQ(book.Text(1, 2), "3");
  EXPECT_EQ(book.Text(1, 3), "apple");
  EXPECT_EQ(book.Text(1, 4), "Zebra");
  EXPECT_EQ(book.CellKind(1, 5), TCellKind::Empty);
}

TEST_F(WorkbookTest, RollbackRestoresExactlyWhatWasWrittenSinceBegin) {
  book.SetNumber(1, 1, 1.0);
  book.SetText(2, 1, "kept");
  book.SetSheet(2);
  book.SetNumber(5, 5, 55.0);
  book.SetSheet(1);
  book.TransactionBegin();
  book.SetNumber(1, 1, 2.0);
  book.SetNumber(9, 9, 9.0);
  book.SetSelection(1, 1, 1, 1);
  book.SetNumberFormat("0,00");
  book.SetColWidth(1, 3, 20.0, false);
  book.InsertRange(TRange{1, 1, 1, 1}, 3);
  book.InsertSheets(1, 1);
  book.SetSheetName(1, "Neu");
  book.DefineName("Area", "A1:B2");
  book.SetSheet(3);
  book.SetText(5, 5, "over");
  book.TransactionRollback();

  EXPECT_FALSE(book.InTransaction());
  EXPECT_EQ(book.NumSheets(), 3);
  EXPECT_EQ(book.Sheet(), 1);
  EXPECT_EQ(book.SheetName(1), "Sheet1");
  EXPECT_EQ(book.Text(1, 1), "1");
  EXPECT_EQ(book.Text(2, 1), "kept");
  EXPECT_EQ(book.CellKind(9, 9), TCellKind::Empty);
  EXPECT_DOUBLE_EQ(book.ColWidth(2), 8.43);
  EXPECT_EQ(book.LastRow(), 2);
  EXPECT_FALSE(book.FindName("Area").has_value());
  EXPECT_DOUBLE_EQ(book.SheetData(2).CellAt(5, 5)->Number, 55.0);

  // Commit keeps the changes; a roll back without a transaction does nothing.
  book.TransactionBegin();
  book.SetNumber(1, 1, 3.0);
  book.TransactionCommit();
  book.TransactionRollback();
  EXPECT_EQ(book.Text(1, 1), "3");
  // A new Begin commits the open transaction: only the last one is undone.
  book.TransactionBegin();
  book.SetNumber(1, 1, 4.0);
  book.TransactionBegin();
  book.SetNumber(1, 1, 5.0);
  book.TransactionRollback();
  EXPECT_EQ(book.Text(1, 1), "4");
}

TEST_F(WorkbookTest, CopyCutAndPasteMoveContentsFormatsAndRelativeReferences) {
  book.SetNumber(1, 1, 2.0);
  book.SetNumber(2, 1, 3.0);
  book.SetFormula(3, 1, "A1+A$2");
  book.SetSelection(1, 1, 3, 1);
  book.SetNumberFormat("0,0");
  book.EditCopy();
  book.SetActiveCell(1, 3);
  book.EditPaste();
  EXPECT_EQ(book.Text(1, 3), "2,0");
  EXPECT_EQ(book.Formula(3, 3), "=C1+C$2");
  EXPECT_EQ(book.Text(3, 3), "5,0");
  EXPECT_EQ(book.Selection(), "C1:C3");
  EXPECT_EQ(book.ClipboardText(), "2,0\r\n3,0\r\n5,0\r\n");
  book.SetSelection(1, 3, 2, 3);
  book.EditCut();
  EXPECT_EQ(book.CellKind(1, 3), TCellKind::Empty);
  book.SetActiveCell(10, 1);
  book.PasteText("1,5\tabc\r\n07.12.2026\t=A10*2\r\n");
  EXPECT_DOUBLE_EQ(book.Number(10, 1), 1.5);
  EXPECT_EQ(book.Text(10, 2), "abc");
  EXPECT_EQ(book.Text(11, 1), "07.12.2026");
  EXPECT_DOUBLE_EQ(book.Number(11, 2), 3.0);
}

TEST_F(WorkbookTest, FormatsOfTheSelection) {
  book.SetSelection(1, 1, 2, 2);
  TCellFont font;
  font.Face = "Courier New";
  font.Size = 12.5;
  font.Bold = true;
  font.Color = 0xFF0000;
  book.SetFont(font);
  EXPECT_EQ(book.Font().Face, "Courier New");
  EXPECT_EQ(book.FontSizeTwips(), 250);
  book.SetAlignment(TAlignment{4, true, 2, 0});
  book.SetProtection(false, true);
  TBorders borders;
  borders.Bottom = {2, 0x0000FF};
  book.SetBorders(borders);
  book.SetPattern(TPattern{1, 0xFFFF00, 0xFFFFFF});
  book.SetActiveCell(2, 2);
  EXPECT_TRUE(book.Font().Bold);
  EXPECT_EQ(book.Alignment().Horizontal, 4);
  EXPECT_FALSE(book.Protection().Locked);
  EXPECT_EQ(book.Borders().Bottom.Style, 2);
  EXPECT_EQ(book.Pattern().Foreground, 0xFFFF00u);
  book.SetActiveCell(3, 3);
  EXPECT_FALSE(book.Font().Bold);
  // An outline frames the range and leaves the inner edges.
  book.SetSelection(5, 1, 7, 3);
  book.SetOutlineBorder(TBorderLine{5, 0x00FF00});
  EXPECT_EQ(book.StyleAt(1, 5, 2).Borders.Top.Style, 5);
  EXPECT_EQ(book.StyleAt(1, 5, 2).Borders.Bottom.Style, 0);
  EXPECT_EQ(book.StyleAt(1, 7, 3).Borders.Right.Style, 5);
  EXPECT_EQ(book.StyleAt(1, 7, 3).Borders.Bottom.Color, 0x00FF00u);
  EXPECT_EQ(book.StyleAt(1, 6, 2).Borders, TBorders{});
  // Four cells, one new style.
  EXPECT_EQ(book.StyleAt(1, 1, 1), book.StyleAt(1, 2, 2));
  // Whole columns are formatted only where there is data.
  book.SetNumber(4, 5, 1.0);
  book.SetSelection(-1, 5, -1, 5);
  book.SetNumberFormat("0,000");
  EXPECT_EQ(book.Text(4, 5), "1,000");
  EXPECT_EQ(book.LastRow(), 4);
  EXPECT_LT(book.CurrentSheetData().Rows.size(), 10u);
}

TEST_F(WorkbookTest, SizesHiddenLinesFixedPanesAndPageBreaks) {
  book.SetColWidth(2, 4, 15.0, false);
  EXPECT_DOUBLE_EQ(book.ColWidth(3), 15.0);
  EXPECT_DOUBLE_EQ(book.ColWidth(5), 8.43);
  book.SetColWidth(5, 5, 10.0, true);
  EXPECT_DOUBLE_EQ(book.ColWidth(9), 10.0);
  book.SetRowHeight(2, 2, 25.0, false);
  EXPECT_DOUBLE_EQ(book.RowHeight(2), 25.0);
  book.SetText(1, 1, "a rather long heading text");
  book.SetColWidthAuto(1, 1, 1, 1);
  EXPECT_GT(book.ColWidth(1), 25.0);
  book.SetRowHidden(3, 4, true);
  EXPECT_TRUE(book.RowHidden(4));
  book.SetRowHidden(4, 4, false);
  EXPECT_FALSE(book.RowHidden(4));
  book.SetColHidden(2, 2, true);
  EXPECT_TRUE(book.ColHidden(2));
  book.SetFixedRows(1);
  book.SetFixedCols(2);
  EXPECT_EQ(book.FixedRows(), 1);
  EXPECT_EQ(book.FixedCols(), 2);
  book.SetViewScale(500);
  EXPECT_EQ(book.ViewScale(), 400);
  book.SetViewScale(5);
  EXPECT_EQ(book.ViewScale(), 10);

  book.AddRowPageBreak(40);
  EXPECT_EQ(book.RowPageBreak(40), 40);
  EXPECT_EQ(book.RowPageBreak(41), 0);
  book.SetSelection(1, 1, 20, 6);
  book.AddPageBreak();
  EXPECT_EQ(book.RowPageBreak(20), 20);
  EXPECT_EQ(book.ColPageBreak(6), 6);
  book.SetActiveCell(20, 6);
  book.RemovePageBreak();
  EXPECT_EQ(book.RowPageBreak(20), 0);
  EXPECT_EQ(book.ColPageBreak(6), 0);
  book.SetPrintScale(80, true, 2, 1);
  int percent = 0, tall = 0, wide = 0;
  bool fit = false;
  book.GetPrintScale(percent, fit, tall, wide);
  EXPECT_EQ(percent, 80);
  EXPECT_TRUE(fit);
  EXPECT_EQ(tall, 2);
  EXPECT_EQ(wide, 1);

  // Inserted rows move the heights, hidden rows and breaks below them, also
  // beyond the last column's number, and drop only what leaves the sheet.
  book.SetRowHeight(20000, 20000, 30.0, false);
  book.SetRowHeight(kMaxRows, kMaxRows, 40.0, false);
  book.SetRowHidden(20001, 20001, true);
  book.InsertRange(TRange{10, 1, 10, 1}, 3);
  EXPECT_DOUBLE_EQ(book.RowHeight(20001), 30.0);
  EXPECT_TRUE(book.RowHidden(20002));
  EXPECT_NE(book.RowHeight(kMaxRows), 40.0);
}

TEST_F(WorkbookTest, ModifiedFiresOncePerResetAndListenersHearChanges) {
  int modifiedEvents = 0;
  int selectionEvents = 0;
  const int id = book.AddListener([&](TChange change) {
    if (change == TChange::Modified) ++modifiedEvents;
    if (change == TChange::Selection) ++selectionEvents;
  });
  book.SetNumber(1, 1, 1.0);
  book.SetNumber(1, 2, 1.0);
  EXPECT_EQ(modifiedEvents, 1);
  EXPECT_TRUE(book.Modified());
  book.SetModified(false);
  book.SetText(1, 1, "x");
  EXPECT_EQ(modifiedEvents, 2);
  book.SetActiveCell(3, 3);
  EXPECT_EQ(selectionEvents, 1);
  book.RemoveListener(id);
  book.SetActiveCell(4, 4);
  EXPECT_EQ(selectionEvents, 1);
}

}  // namespace
}  // namespace kvx::workbook

namespace kvx::workbook {
namespace {

TEST(WorkbookLimits, HugeRangesAndBadArgumentsStayBounded) {
  TWorkbook book(1);
  book.SetNumber(3, 2, 1.0);
  book.SetNumber(1, 2, 2.0);
  // Formatting, copying and sorting a block of 26 million cells works on
  // the used part only.
  book.SetSelection(1, 1, 1000000, 26);
  book.SetPattern(TPattern{1, 0xFF0000, 0xFFFFFF});
  EXPECT_LE(book.CurrentSheetData().Rows.size(), 3u);
  EXPECT_EQ(book.StyleAt(1, 3, 2).Pattern.Pattern, 1);
  book.EditCopy();
  book.Sort(1, 1, 1000000, 26, true, 2, 0, 0);
  EXPECT_DOUBLE_EQ(book.Number(1, 2), 1.0);
  EXPECT_DOUBLE_EQ(book.Number(2, 2), 2.0);
  // Ranges the wrong way round or outside the sheet are refused.
  book.InsertRange(TRange{5, 1, 2, 1}, 3);
  book.DeleteRange(TRange{0, 0, 3, 3}, 4);
  book.InsertRange(TRange{1, 1, 1, 1}, 7);
  EXPECT_DOUBLE_EQ(book.Number(2, 2), 2.0);
  EXPECT_FALSE(book.SetSelectionText(""));
  book.SetColWidth(1, 1, std::nan(""), false);
  EXPECT_DOUBLE_EQ(book.ColWidth(1), 8.43);
}

}  // namespace
}  // namespace kvx::workbook
