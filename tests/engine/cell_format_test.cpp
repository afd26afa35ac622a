#include "engine/cell_format.h"

#include <gtest/gtest.h>

#include "core/name_tables.h"
#include "platform/globals.h"
#include "platform/workbook/number_format.h"
#include "platform/workbook/workbook_files.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using workbook::TCellKind;

constexpr int kSlot = 17;  // any quantity; the tests set its format

class CellFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedSeparators_ = IntlSeparators;
    savedLanguage_ = LanguageEnglish;
    InitCoreTablesAtStartup(TIntlSeparators{',', ';', '.', ':', '.'});  // German separators
    savedKinds_ = DataFormatKind;
    savedDecimals_ = DataFormatDecimals;
  }
  void TearDown() override {
    DataFormatKind = savedKinds_;
    DataFormatDecimals = savedDecimals_;
    InitCoreTablesAtStartup(savedSeparators_);
    LanguageEnglish = savedLanguage_;
  }
  void Slot(std::uint8_t kind, std::uint8_t decimals) {
    DataFormatKind[kSlot] = kind;
    DataFormatDecimals[kSlot] = decimals;
  }
  std::string Format(std::uint8_t kind, std::uint8_t decimals, double value) {
    Slot(kind, decimals);
    std::string text;
    FormatAngleForSlot(kSlot, text, value);
    return text;
  }

  workbook::TWorkbook sheet{1};
  tmystringgrid grid{5, 5};
  TIntlSeparators savedSeparators_;
  std::uint8_t savedLanguage_ = 0;
  decltype(DataFormatKind) savedKinds_{};
  decltype(DataFormatDecimals) savedDecimals_{};
};

TEST_F(CellFormatTest, AngleKindsPickNumberOrSexagesimalText) {
  // Kind 2, 4 decimals: 15 degrees is the number 1 hour with "0,0000".
  Slot(2, 4);
  WriteAngleToSheet(sheet, 1, 1, kSlot, 15.0);
  EXPECT_EQ(sheet.CellKind(1, 1), TCellKind::Number);
  EXPECT_DOUBLE_EQ(sheet.Number(1, 1), 1.0);
  EXPECT_EQ(sheet.Text(1, 1), "1,0000");
  sheet.SetActiveCell(1, 1);
  EXPECT_EQ(sheet.NumberFormat(), "0,0000");
  WriteAngleToGrid(grid, 1, 1, kSlot, 15.0);
  EXPECT_EQ(grid.Cells(1, 1), "1,0000");
  EXPECT_EQ(grid.NumberFormat, "0,0000");

  // Kind 3 with tenths of a second: hour marks.
  Slot(3, 5);
  WriteAngleToSheet(sheet, 2, 1, kSlot, 123.456789);  // 8.230452... h
  EXPECT_EQ(sheet.CellKind(2, 1), TCellKind::Text);
  EXPECT_EQ(sheet.Text(2, 1), "8h13m49,6s");
  // Kind 1: degree marks at every precision step.
  EXPECT_EQ(Format(1, 0, 12.0 + 30.6 / 60.0), "12\u00B031'");
  EXPECT_EQ(Format(1, 2, -0.5), "-0\u00B030'");
  EXPECT_EQ(Format(1, 3, 123.0 + 45.66 / 60.0), "123\u00B045,7'");
  EXPECT_EQ(Format(1, 4, 12.0 + 34.0 / 60.0 + 56.4 / 3600.0), "12\u00B034'56''");
  EXPECT_EQ(Format(1, 5, 12.0 + 34.0 / 60.0 + 56.44 / 3600.0), "12\u00B034'56,4''");
  EXPECT_EQ(Format(1, 6, 12.0 + 34.0 / 60.0 + 56.444 / 3600.0), "12\u00B034'56,44''");
  EXPECT_EQ(Format(1, 9, 12.0 + 34.0 / 60.0 + 56.444 / 3600.0), "12\u00B034'56,44''");
  // Whole seconds are cut, not rounded; within 0.005 s of the next second
  // they carry into the minutes and degrees.
  EXPECT_EQ(Format(1, 4, 29.0 + 59.0 / 60.0 + 59.996 / 3600.0), "30\u00B000'00''");
  // Negative angles keep their sign at the tenth-of-a-minute step.
  EXPECT_EQ(Format(1, 3, -10.5), "-10\u00B030,0'");
  // Numbers in dialogs: fixed notation with the decimals.
  EXPECT_EQ(Format(0, 3, 1.23456), "1,235");
  EXPECT_EQ(Format(2, 2, 15.0), "1,00");
}

TEST_F(CellFormatTest, DecimalsAboveFifteenAreClamped) {
  Slot(0, 200);
  WriteNumberToSheet(sheet, 1, 1, kSlot, 1.0 / 3.0);
  sheet.SetActiveCell(1, 1);
  EXPECT_EQ(sheet.NumberFormat(), "0,000000000000000");
  EXPECT_EQ(sheet.Text(1, 1), "0,333333333333333");
  WriteNumberToGrid(grid, 1, 1, kSlot, 1.0 / 3.0);
  EXPECT_EQ(grid.Cells(1, 1), "0,333333333333333");
  std::string text;
  FormatNumberForSlot(kSlot, text, 2.0);
  EXPECT_EQ(text, "2,000000000000000");
  // A slot outside the table is a plain number with two decimals.
  FormatNumberForSlot(-1, text, 2.0);
  EXPECT_EQ(text, "2,00");
  FormatNumberForSlot(kQuantityCount, text, 2.0);
  EXPECT_EQ(text, "2,00");
}

// Format 0 is the desktop's short date, a date the sheet holds; format 1
// ("dd.mm.yyyy") is day, month and four-digit year joined by points on every
// desktop, a text. Written into a workbook on a German desktop, whose short
// date looks the same, and read on a US one: the short date is shown month
// first, the fixed text stays as it was.
TEST_F(CellFormatTest, DatesAndTimesOfDay) {
  struct TDesktop {
    char Date;
    TShortDateOrder Order;
    const char* Short;        // 1 February 2027 in the short date
    const char* ShortPadded;  // 15 March -43, which the sheet cannot hold
  };
  const TDesktop desktops[] = {{'.', TShortDateOrder::DayMonthYear, "01.02.2027", "15.03.-0043"},
                               {'/', TShortDateOrder::MonthDayYear, "02/01/2027", "03/15/-0043"},
                               {'-', TShortDateOrder::YearMonthDay, "2027-02-01", "-0043-03-15"}};
  std::string text;
  for (const TDesktop& d : desktops) {
    SCOPED_TRACE(d.Short);
    IntlSeparators.Date = d.Date;
    IntlSeparators.DateOrder = d.Order;
    workbook::TWorkbook book{1};
    Slot(0, 0);
    WriteDateToSheet(book, 1, 1, kSlot, 2027, 2, 1);
    EXPECT_EQ(book.CellKind(1, 1), TCellKind::Number);
    EXPECT_DOUBLE_EQ(book.Number(1, 1), workbook::DateSerial(2027, 2, 1));
    EXPECT_EQ(book.Text(1, 1), d.Short);
    WriteDateToSheet(book, 2, 1, kSlot, -43, 3, 15);
    EXPECT_EQ(book.CellKind(2, 1), TCellKind::Text);
    EXPECT_EQ(book.Text(2, 1), d.ShortPadded);
    WriteDateToGrid(grid, 1, 1, kSlot, 2027, 2, 1);
    EXPECT_EQ(grid.Cells(1, 1), d.Short);
    FormatDateForSlot(kSlot, text, 2027, 2, 1);
    EXPECT_EQ(text, d.Short);

    Slot(1, 0);
    WriteDateToSheet(book, 3, 1, kSlot, 2027, 2, 1);
    EXPECT_EQ(book.CellKind(3, 1), TCellKind::Text);
    EXPECT_EQ(book.Text(3, 1), "01.02.2027");
    WriteDateToSheet(book, 4, 1, kSlot, 844, 3, 5);
    EXPECT_EQ(book.Text(4, 1), "05.03.0844");
    WriteDateToGrid(grid, 2, 1, kSlot, -43, 3, 15);
    EXPECT_EQ(grid.Cells(1, 2), "15.03.-0043");
    FormatDateForSlot(kSlot, text, 1999, 1, 2);
    EXPECT_EQ(text, "02.01.1999");
  }

  IntlSeparators.Date = '.';
  IntlSeparators.DateOrder = TShortDateOrder::DayMonthYear;
  workbook::TWorkbook book{1};
  Slot(0, 0);
  WriteDateToSheet(book, 1, 1, kSlot, 2027, 2, 1);
  Slot(1, 0);
  WriteDateToSheet(book, 2, 1, kSlot, 2027, 2, 1);
  test::TempFolder folder;
  const std::string path = folder.File("dates.xlsx");
  std::string error;
  ASSERT_TRUE(workbook::WriteWorkbookFile(book, path, 1, error)) << error;
  IntlSeparators.Date = '/';
  IntlSeparators.DateOrder = TShortDateOrder::MonthDayYear;
  workbook::TWorkbook back{1};
  int type = 0;
  ASSERT_TRUE(workbook::ReadWorkbookFile(back, path, type, error)) << error;
  EXPECT_DOUBLE_EQ(back.Number(1, 1), workbook::DateSerial(2027, 2, 1));
  EXPECT_EQ(back.Text(1, 1), "02/01/2027");
  EXPECT_EQ(back.CellKind(2, 1), TCellKind::Text);
  EXPECT_EQ(back.Text(2, 1), "01.02.2027");
  EXPECT_NE(back.StyleAt(1, 2, 1).NumberFormat, workbook::ShortDateCode(back.Locale()));
  IntlSeparators.Date = '.';
  IntlSeparators.DateOrder = TShortDateOrder::DayMonthYear;

  // Times: HH:MM rounded to the minute, as a time value in number mode.
  Slot(0, 2);
  WriteTimeOfDayToSheet(sheet, 4, 1, kSlot, 18.5 + 29.0 / 3600.0);
  EXPECT_EQ(sheet.Text(4, 1), "18:30");
  EXPECT_NEAR(sheet.Number(4, 1), 18.5 / 24.0, 1e-12);
  // Just before midnight the minute does not round into the next day: the
  // row's date would then be a day off.
  FormatTimeOfDayForSlot(kSlot, text, 23.999);
  EXPECT_EQ(text, "23:59");
  // Decimals byte 4: seconds.
  Slot(1, 4);
  WriteTimeOfDayToSheet(sheet, 5, 1, kSlot, 6.0 + 7.0 / 60.0 + 8.9 / 3600.0);
  EXPECT_EQ(sheet.CellKind(5, 1), TCellKind::Text);
  EXPECT_EQ(sheet.Text(5, 1), "06:07:08");
  WriteTimeOfDayToGrid(grid, 2, 1, kSlot, 6.0 + 7.0 / 60.0 + 8.9 / 3600.0);
  EXPECT_EQ(grid.Cells(1, 2), "06:07:08");
}

TEST_F(CellFormatTest, MarkedNumbersLongitudesAndMagnitudes) {
  Slot(1, 1);
  WriteLongitudeToSheet(sheet, 1, 1, kSlot, 10.0, "West");
  EXPECT_EQ(sheet.Text(1, 1), "10,0\u00B0 West");
  WriteMagnitudeToSheet(sheet, 2, 1, kSlot, -1.46);
  EXPECT_EQ(sheet.Text(2, 1), "-1,5 mag");
  WriteSecondsMarkedNumberToSheet(sheet, 3, 1, kSlot, 17.25);
  EXPECT_EQ(sheet.Text(3, 1), "17,3''");
  WriteDegreeMarkedNumberToGrid(grid, 1, 1, kSlot, 7.0);
  EXPECT_EQ(grid.Cells(1, 1), "7,0\u00B0");
  WriteArcsecondsToSheet(sheet, 4, 1, kSlot, 0.04);
  EXPECT_EQ(sheet.Text(4, 1), "0,0''");
  std::string text;
  FormatLabeledNumberForSlot(kSlot, text, "Länge", 12.34);
  EXPECT_EQ(text, "Länge\u00B0 12,3");
  FormatMagnitudeForSlot(kSlot, text, 5.0);
  EXPECT_EQ(text, "5,0 mag");

  Slot(0, 1);
  WriteLongitudeToSheet(sheet, 1, 2, kSlot, 10.0, "West");
  EXPECT_DOUBLE_EQ(sheet.Number(1, 2), -10.0);
  WriteLongitudeToSheet(sheet, 2, 2, kSlot, 10.0, "Ost");
  EXPECT_DOUBLE_EQ(sheet.Number(2, 2), 10.0);
  WriteLongitudeToGrid(grid, 2, 2, kSlot, 10.0, "West");
  EXPECT_EQ(grid.Cells(2, 2), "-10,0");
  WriteMagnitudeToSheet(sheet, 3, 2, kSlot, -1.46);
  EXPECT_EQ(sheet.CellKind(3, 2), TCellKind::Number);
  EXPECT_EQ(sheet.Text(3, 2), "-1,5");
  FormatLabeledNumberForSlot(kSlot, text, "x", 2.0);
  EXPECT_EQ(text, "x 2,0");
  // Arcseconds in number mode follow the angle family (kind 2 divides by 15).
  Slot(2, 2);
  WriteArcsecondsToSheet(sheet, 5, 2, kSlot, 30.0);
  EXPECT_DOUBLE_EQ(sheet.Number(5, 2), 2.0);
}

TEST_F(CellFormatTest, ArcMinutesCarryForAnySizeAndDurations) {
  Slot(1, 0);
  std::string text;
  FormatArcminutesForSlot(kSlot, text, 0.5);
  EXPECT_EQ(text, "30'00''");
  FormatArcminutesForSlot(kSlot, text, 1.0 + 5.0 / 60.0 + 30.0 / 3600.0);
  EXPECT_EQ(text, "65'30''");
  // Beyond two degrees the minutes keep counting.
  FormatArcminutesForSlot(kSlot, text, 2.0 + 5.0 / 60.0 + 30.0 / 3600.0);
  EXPECT_EQ(text, "125'30''");
  FormatArcminutesForSlot(kSlot, text, -(15.0 / 60.0 + 1.0 / 3600.0));
  EXPECT_EQ(text, "-15'01''");
  Slot(1, 3);
  FormatArcminutesForSlot(kSlot, text, 16.0 / 60.0 + 2.25 / 3600.0);
  EXPECT_EQ(text, "16'02,3''");
  Slot(1, 5);
  WriteArcminutesToSheet(sheet, 1, 1, kSlot, 3.0 + 2.125 / 3600.0);
  EXPECT_EQ(sheet.Text(1, 1), "180'02,13''");
  Slot(0, 2);
  WriteArcminutesToSheet(sheet, 2, 1, kSlot, 0.25);
  EXPECT_DOUBLE_EQ(sheet.Number(2, 1), 15.0);
  WriteArcminutesToGrid(grid, 1, 1, kSlot, 0.25);
  EXPECT_EQ(grid.Cells(1, 1), "15,00");

  Slot(1, 0);
  FormatMinutesForSlot(kSlot, text, 12.5);
  EXPECT_EQ(text, "12m30s");
  FormatMinutesForSlot(kSlot, text, 59.995);
  EXPECT_EQ(text, "60m00s");
  FormatHoursAsMinutesForSlot(kSlot, text, 0.25);
  EXPECT_EQ(text, "15m00s");
  WriteMinutesToSheet(sheet, 3, 1, kSlot, 3.0 + 7.0 / 60.0);
  EXPECT_EQ(sheet.Text(3, 1), "3m07s");
  Slot(0, 1);
  WriteHoursAsMinutesToSheet(sheet, 4, 1, kSlot, 0.5);
  EXPECT_DOUBLE_EQ(sheet.Number(4, 1), 30.0);
  EXPECT_EQ(sheet.Text(4, 1), "30,0");
}

TEST(ResultGrid, NumberFormatsDecimalsAndClearing) {
  const TIntlSeparators saved = IntlSeparators;
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  tmystringgrid grid(4, 3);
  grid.SetCells(1, 0, "Heading");
  grid.SetCells(0, 1, "Row title");
  SetGridNumberFormat(grid, "0,00");
  SetGridCellFloat(grid, 1, 1, 3.14159);
  EXPECT_EQ(grid.Cells(1, 1), "3,14");
  EXPECT_EQ(grid.Decimals, 2);
  // A pattern outside the sixteen keeps the decimals in force.
  SetGridNumberFormat(grid, "#.##0,00");
  EXPECT_EQ(grid.NumberFormat, "#.##0,00");
  EXPECT_EQ(grid.Decimals, 2);
  SetGridNumberFormat(grid, "0,0000000000000000");  // sixteen zeros: not one of them
  EXPECT_EQ(grid.Decimals, 2);
  // Patterns built with either separator count.
  SetGridNumberFormat(grid, "0.000");
  EXPECT_EQ(grid.Decimals, 3);
  SetGridNumberFormat(grid, "0");
  SetGridCellFloat(grid, 2, 3, -2.5);
  EXPECT_EQ(grid.Cells(3, 2), "-3");
  SetGridNumberFormat(grid, "0,000000000000000");
  SetGridCellFloat(grid, 1, 2, 0.1);
  EXPECT_EQ(grid.Cells(2, 1), "0,100000000000000");
  // Writing beyond the grid enlarges it.
  SetGridCellText(grid, 5, 6, "far");
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(grid.ColCount(), 7);
  EXPECT_EQ(grid.Cells(6, 5), "far");
  EXPECT_EQ(grid.Cells(99, 99), "");

  ClearGridCells(grid, 5, 0);  // no columns: nothing
  EXPECT_EQ(grid.Cells(1, 1), "3,14");
  ClearGridCells(grid, 0, 5);
  EXPECT_EQ(grid.Cells(1, 1), "3,14");
  ClearGridCells(grid, 2, 2);
  EXPECT_EQ(grid.Cells(1, 1), "");
  EXPECT_EQ(grid.Cells(2, 1), "");
  EXPECT_EQ(grid.Cells(3, 2), "-3");  // outside the cleared block
  EXPECT_EQ(grid.Cells(1, 0), "Heading");
  EXPECT_EQ(grid.Cells(0, 1), "Row title");
  IntlSeparators = saved;
}

}  // namespace
}  // namespace kvx
