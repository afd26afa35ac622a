#include <gtest/gtest.h>

#include "platform/globals.h"
#include "platform/workbook/cell_reference.h"
#include "platform/workbook/formula_engine.h"
#include "platform/workbook/workbook.h"

namespace kvx::workbook {
namespace {

TEST(CellReference, NamesAndRangesParseBothWays) {
  EXPECT_EQ(ColumnLetters(1), "A");
  EXPECT_EQ(ColumnLetters(26), "Z");
  EXPECT_EQ(ColumnLetters(27), "AA");
  EXPECT_EQ(ColumnLetters(702), "ZZ");
  EXPECT_EQ(ColumnLetters(703), "AAA");
  EXPECT_EQ(ColumnLetters(kMaxCols), "XFD");
  EXPECT_EQ(ColumnFromLetters("xfd"), kMaxCols);
  EXPECT_EQ(ColumnFromLetters("XFE"), 0);
  EXPECT_EQ(ColumnFromLetters("A1"), 0);
  EXPECT_EQ(*ParseRange("$C$3:a1"), (TRange{1, 1, 3, 3}));
  EXPECT_EQ(*ParseRange(" B2 "), (TRange{2, 2, 2, 2}));
  EXPECT_FALSE(ParseRange("B").has_value());
  EXPECT_FALSE(ParseRange("B0").has_value());
  EXPECT_FALSE(ParseRange("A1048577").has_value());
  EXPECT_FALSE(ParseRange("A1:").has_value());
  EXPECT_FALSE(ParseRange("A1:B").has_value());
  EXPECT_FALSE(ParseRange("$").has_value());
  EXPECT_EQ(RangeName(*ParseRange("C:E"), true), "$C:$E");
  EXPECT_EQ(RangeName(*ParseRange("2:2")), "2:2");
  EXPECT_FALSE(ParseRangeList("A1,,B2").has_value());
  EXPECT_EQ(RangeListName(*ParseRangeList("A1;B2:C3")), "A1,B2:C3");
}

TEST(FormulaReferences, RewritingTouchesReferencesOnly) {
  int visited = 0;
  const std::string same = RewriteReferences(
      "IF(A1>0,\"A1 stays\",LOG10(B$2))+'My Sheet'!$C3:D4+Other!E5+SUM(Name1)+1.5E+3",
      [&](const std::string&, TRefPoint&, TRefPoint*) {
        ++visited;
        return true;
      });
  EXPECT_EQ(same, "IF(A1>0,\"A1 stays\",LOG10(B$2))+'My Sheet'!$C3:D4+Other!E5+SUM(Name1)+1.5E+3");
  EXPECT_EQ(visited, 4);  // A1, B$2, C3:D4 and E5; Name1 is a name, not a cell

  std::vector<std::string> sheets;
  RewriteReferences("'It''s'!A1+x!B2+C3", [&](const std::string& sheet, TRefPoint&, TRefPoint*) {
    sheets.push_back(sheet);
    return true;
  });
  EXPECT_EQ(sheets, (std::vector<std::string>{"It's", "x", ""}));

  // Copying moves relative parts only; leaving the sheet is #REF!.
  EXPECT_EQ(MoveRelativeReferences("A1+$A1+A$1+$A$1", 2, 3), "D3+$A3+D$1+$A$1");
  EXPECT_EQ(MoveRelativeReferences("SUM(B2:C4)", -1, 0), "SUM(B1:C3)");
  EXPECT_EQ(MoveRelativeReferences("A1*2", -1, 0), "#REF!*2");
  EXPECT_EQ(MoveRelativeReferences("\"B2\"&B2", 1, 1), "\"B2\"&C3");

  EXPECT_EQ(RenameSheetInFormula("Sheet1!A1+'Sheet1'!B2+Sheet10!C3+\"Sheet1!A1\"", "Sheet1", "Mond und Sonne"),
            "'Mond und Sonne'!A1+'Mond und Sonne'!B2+Sheet10!C3+\"Sheet1!A1\"");
  EXPECT_EQ(QuoteSheetName("Data"), "Data");
  EXPECT_EQ(QuoteSheetName("AB12"), "'AB12'");
  EXPECT_EQ(QuoteSheetName("1st"), "'1st'");
  EXPECT_EQ(QuoteSheetName("It's"), "'It''s'");
  EXPECT_TRUE(FormulaAccepted("SUM(A1:B2)*2"));
}

TEST(FormulaReferences, QuotesWithoutSheetPrefixAndExponentsPassUnchanged) {
  int visited = 0;
  auto count = [&](const std::string& sheet, TRefPoint&, TRefPoint*) {
    EXPECT_EQ(sheet, "");
    ++visited;
    return true;
  };
  EXPECT_EQ(RewriteReferences("'abc", count), "'abc");  // never closed
  EXPECT_EQ(RewriteReferences("'abc'&A1", count), "'abc'&A1");
  EXPECT_EQ(visited, 1);
  EXPECT_EQ(MoveRelativeReferences("2E5+E5", 1, 0), "2E5+E6");
  EXPECT_EQ(RenameSheetInFormula("'Sheet1'&Sheet1&'Sheet1", "Sheet1", "X"), "'Sheet1'&Sheet1&'Sheet1");
  EXPECT_EQ(RenameSheetInFormula("'sheet1'!A1", "Sheet1", "X"), "X!A1");
}

TEST(FormulaReferences, LocalSyntaxWithDecimalComma) {
  const std::string file = "IF(A1>1.5,\"a,b;c\",SUM(B1:B2,2.25,'x,y'!C1))+.5";
  const std::string local = "IF(A1>1,5;\"a,b;c\";SUM(B1:B2;2,25;'x,y'!C1))+,5";
  EXPECT_EQ(FormulaToLocal(file, ','), local);
  EXPECT_EQ(FormulaFromLocal(local, ','), file);
  EXPECT_EQ(FormulaToLocal(file, '.'), file);
  EXPECT_EQ(FormulaFromLocal(file, '.'), file);
  EXPECT_EQ(FormulaToLocal("LOG10(A1.5)", ','), "LOG10(A1.5)");  // names keep their points

  const TIntlSeparators saved = IntlSeparators;
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  TWorkbook book(1);
  book.SetNumber(1, 1, 4.0);
  book.SetEntry(1, 2, "=A1*1,5+MAX(1;2)");
  EXPECT_DOUBLE_EQ(book.Number(1, 2), 8.0);
  EXPECT_EQ(book.Formula(1, 2), "=A1*1.5+MAX(1,2)");
  EXPECT_EQ(book.Entry(1, 2), "=A1*1,5+MAX(1;2)");
  IntlSeparators = TIntlSeparators{'.', ',', '/', ':', ','};
  EXPECT_EQ(book.Entry(1, 2), "=A1*1.5+MAX(1,2)");
  book.SetEntry(2, 2, "=A1*0.25");
  EXPECT_DOUBLE_EQ(book.Number(2, 2), 1.0);
  IntlSeparators = saved;
}

TEST(FormulaReferences, StructureChangesKeepFormulasPointingAtTheirCells) {
  const TIntlSeparators saved = IntlSeparators;
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  TWorkbook book(2);
  book.SetSheetName(2, "Data");
  book.SetSheet(2);
  for (int r = 1; r <= 5; ++r) book.SetNumber(r, 1, r);  // Data!A1:A5 = 1..5
  ASSERT_TRUE(book.DefineName("Values", "Data!$A$2:$A$4"));
  book.SetSheet(1);
  book.SetFormula(1, 1, "SUM(Data!A1:A5)");
  book.SetFormula(2, 1, "SUM(Values)");
  book.SetFormula(3, 1, "Data!$A$5*10");
  EXPECT_DOUBLE_EQ(book.Number(1, 1), 15.0);
  EXPECT_DOUBLE_EQ(book.Number(2, 1), 9.0);

  // Rows inserted on the other sheet move the references into it.
  book.SetSheet(2);
  book.InsertRange(TRange{1, 1, 2, 1}, 3);
  book.SetSheet(1);
  EXPECT_EQ(book.Formula(1, 1), "=SUM(Data!A3:A7)");
  EXPECT_EQ(book.Formula(3, 1), "=Data!$A$7*10");
  EXPECT_EQ(book.NameReference(*book.FindName("Values")), "Data!$A$4:$A$6");
  EXPECT_DOUBLE_EQ(book.Number(1, 1), 15.0);
  EXPECT_DOUBLE_EQ(book.Number(2, 1), 9.0);
  EXPECT_DOUBLE_EQ(book.Number(3, 1), 50.0);

  // Deleting part of a range shrinks it; deleting a referenced cell is #REF!.
  book.SetSheet(2);
  book.DeleteRange(TRange{3, 1, 4, 1}, 3);  // the values 1 and 2
  book.SetSheet(1);
  EXPECT_EQ(book.Formula(1, 1), "=SUM(Data!A3:A5)");
  EXPECT_DOUBLE_EQ(book.Number(1, 1), 12.0);
  book.SetSheet(2);
  book.DeleteRange(TRange{5, 1, 5, 1}, 2);  // the 5, shifting up
  book.SetSheet(1);
  EXPECT_EQ(book.Formula(3, 1), "=#REF!*10");
  // A roll back puts the formulas back as they were with the cells.
  book.TransactionBegin();
  book.SetSheet(2);
  book.InsertRange(TRange{1, 1, 1, 1}, 3);
  book.TransactionRollback();
  EXPECT_EQ(book.Formula(1, 1), "=SUM(Data!A3:A4)");
  EXPECT_DOUBLE_EQ(book.Number(1, 1), 7.0);
  IntlSeparators = saved;
}

TEST(FormulaReferences, AdoptedContentsAndFastFormatPath) {
  const TIntlSeparators saved = IntlSeparators;
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  TWorkbook book(1);
  int structure = 0;
  book.AddListener([&](TChange change) { structure += change == TChange::Structure ? 1 : 0; });
  book.SetShowGridLines(false);
  TWorkbook other(2);
  other.SetNumber(1, 1, 2.0);
  other.SetFormula(1, 2, "A1*3");
  other.SetActiveCell(1, 1);
  other.SetNumberFormat("0,00");
  book.AdoptContents(std::move(other));
  EXPECT_EQ(book.NumSheets(), 2);
  EXPECT_EQ(book.Text(1, 1), "2,00");
  EXPECT_DOUBLE_EQ(book.Number(1, 2), 6.0);
  EXPECT_FALSE(book.ShowGridLines());  // view flags stay
  EXPECT_GE(structure, 1);              // listeners stay
  EXPECT_EQ(other.NumSheets(), 1);      // the other one is empty and usable
  other.SetNumber(1, 1, 1.0);
  EXPECT_EQ(other.Text(1, 1), "1");

  // The writers' format path: one style per format, no selection change.
  book.SetActiveCell(5, 5);
  const std::size_t styles = book.StyleCount();
  for (int r = 10; r <= 200; ++r) {
    book.SetCellNumberFormat(r, 1, "0,000");
    book.SetNumber(r, 1, r / 7.0);
  }
  EXPECT_EQ(book.StyleCount(), styles + 1);
  EXPECT_EQ(book.Text(11, 1), "1,571");
  EXPECT_EQ(book.Row(), 5);
  book.SetCellNumberFormat(10, 1, "Standard");
  EXPECT_EQ(book.Text(10, 1), "1,42857142857143");
  IntlSeparators = saved;
}

}  // namespace
}  // namespace kvx::workbook
