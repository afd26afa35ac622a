// The sheet dialogs offscreen: each filled, confirmed (and refused or
// cancelled where that matters), with its result checked on the workbook or
// the result grid and a picture in the test-output folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <filesystem>
#include <functional>

#include "app/ui/sheet_dialogs.h"
#include "platform/globals.h"
#include "support/recording_message_sink.h"
#include "support/qt/answer_modal.h"

namespace kvx {
namespace {

using workbook::TWorkbook;

void Picture(QWidget& dialog, const char* name) {
  const std::filesystem::path folder = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(folder);
  dialog.adjustSize();
  dialog.grab().save(QString::fromStdString((folder / name).string()));
}

class SheetDialogs : public ::testing::Test {
 protected:
  void SetUp() override { LanguageEnglish = 0; }
  void TearDown() override { LanguageEnglish = 0; }
  RecordingMessageSink sink;
  ScopedMessageSink scoped{sink};
};

TEST_F(SheetDialogs, MoveSheetThreeOfFiveBeforeOne) {
  TWorkbook book(5);
  book.SetSheet(3);
  book.SetText(1, 1, "third");
  book.SetColWidth(2, 2, 20, false);
  book.SetSelection(1, 1, 2, 2);
  book.SetPrintAreaFromSelection();
  book.SetSheet(1);
  book.SetFormula(1, 1, "=Sheet3!A1");
  book.SetSheet(3);

  test::WhenModalAppears<TDlgTabVersch>([](TDlgTabVersch& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Tabelle verschieben"));
    ASSERT_EQ(d.ListBox1->count(), 5);
    EXPECT_EQ(d.ListBox1->currentRow(), 0);
    Picture(d, "move_sheet_dialog.png");
    d.reject();
  });
  EXPECT_FALSE(ShowMoveSheetDialog(nullptr, book));
  EXPECT_EQ(book.SheetName(3), "Sheet3");

  book.TransactionBegin();
  test::WhenModalAppears<TDlgTabVersch>([](TDlgTabVersch& d) { d.accept(); });
  ASSERT_TRUE(ShowMoveSheetDialog(nullptr, book));
  const std::vector<std::string> order{"Sheet3", "Sheet1", "Sheet2", "Sheet4", "Sheet5"};
  EXPECT_EQ(SheetNameList(book), order);
  EXPECT_EQ(book.Sheet(), 1);
  EXPECT_EQ(book.TextOn(1, 1, 1), "third");
  EXPECT_DOUBLE_EQ(book.SheetData(1).ColWidth(2), 20.0);
  ASSERT_TRUE(book.PrintArea(1).has_value());
  EXPECT_FALSE(book.PrintArea(4).has_value());
  EXPECT_EQ(book.EntryOn(2, 1, 1), "=Sheet3!A1");  // the formula still names the moved sheet
  EXPECT_EQ(book.TextOn(2, 1, 1), "third");
  // The move is part of the open transaction: a rollback puts the order back.
  book.TransactionRollback();
  EXPECT_EQ(book.SheetName(3), "Sheet3");
  EXPECT_EQ(book.TextOn(3, 1, 1), "third");

  // To the end, and positions outside the list change nothing.
  book.SetSheet(1);
  EXPECT_TRUE(MoveCurrentSheetBefore(book, 5));
  EXPECT_EQ(book.SheetName(5), "Sheet1");
  EXPECT_EQ(book.Sheet(), 5);
  EXPECT_FALSE(MoveCurrentSheetBefore(book, 6));
  EXPECT_FALSE(MoveCurrentSheetBefore(book, -1));
  EXPECT_EQ(book.SheetName(5), "Sheet1");
}

TEST_F(SheetDialogs, RowHeightAndColumnWidth) {
  TWorkbook book(1);
  book.SetText(1, 1, "a long text that needs a wide column");
  book.SetSelection(2, 1, 3, 1);
  book.AddSelection(6, 1, 6, 1);
  // The height with the desktop's decimal mark. A negative height is
  // refused and the dialog stays open; then 20.7 is taken as 20 on every
  // selected range.
  IntlSeparators.Decimal = ',';
  test::WhenModalAppears<TZeilenSpaltendialog>([this](TZeilenSpaltendialog& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Zeilenhöhe festlegen"));
    EXPECT_EQ(d.FloatEdit1->text(), QStringLiteral("12,75"));
    d.FloatEdit1->setText(QStringLiteral("-3"));
    d.OkButton->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(sink.messages.size(), 1u);
    d.FloatEdit1->setText(QStringLiteral("20,7"));
    Picture(d, "row_height_dialog.png");
    d.OkButton->click();
  });
  EXPECT_TRUE(ShowRowHeightDialog(nullptr, book));
  EXPECT_DOUBLE_EQ(book.RowHeight(2), 20.0);
  EXPECT_DOUBLE_EQ(book.RowHeight(3), 20.0);
  EXPECT_DOUBLE_EQ(book.RowHeight(6), 20.0);
  EXPECT_DOUBLE_EQ(book.RowHeight(4), 12.75);

  test::WhenModalAppears<TZeilenSpaltendialog>([](TZeilenSpaltendialog& d) { d.HideButton->click(); });
  EXPECT_TRUE(ShowRowHeightDialog(nullptr, book));
  EXPECT_TRUE(book.RowHidden(3));
  EXPECT_TRUE(book.RowHidden(6));
  EXPECT_FALSE(book.RowHidden(4));
  test::WhenModalAppears<TZeilenSpaltendialog>([](TZeilenSpaltendialog& d) { d.ShowButton->click(); });
  EXPECT_TRUE(ShowRowHeightDialog(nullptr, book));
  EXPECT_FALSE(book.RowHidden(3));

  LanguageEnglish = 1;
  book.SetSelection(1, 1, 1, 2);
  test::WhenModalAppears<TZeilenSpaltendialog>([](TZeilenSpaltendialog& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Set column width"));
    EXPECT_EQ(d.CancelButton->text(), QStringLiteral("&Cancel"));
    Picture(d, "column_width_dialog_en.png");
    d.AutoButton->click();
  });
  EXPECT_TRUE(ShowColumnWidthDialog(nullptr, book));
  EXPECT_GT(book.ColWidth(1), 20.0);
  // As the default: the sheet's default width, the range's own widths gone.
  book.SetColWidth(3, 3, 5, false);
  book.SetSelection(3, 3, 3, 3);
  test::WhenModalAppears<TZeilenSpaltendialog>([](TZeilenSpaltendialog& d) {
    d.FloatEdit1->setText(QStringLiteral("11.9"));
    d.CheckBox1->setChecked(true);
    d.OkButton->click();
  });
  EXPECT_TRUE(ShowColumnWidthDialog(nullptr, book));
  EXPECT_DOUBLE_EQ(book.CurrentSheetData().DefaultColWidth, 11.0);
  EXPECT_DOUBLE_EQ(book.ColWidth(3), 11.0);
  test::WhenModalAppears<TZeilenSpaltendialog>([](TZeilenSpaltendialog& d) {
    d.FloatEdit1->setText(QStringLiteral("99"));
    d.CancelButton->click();
  });
  EXPECT_FALSE(ShowColumnWidthDialog(nullptr, book));
  EXPECT_DOUBLE_EQ(book.ColWidth(3), 11.0);
  EXPECT_FALSE(ApplySizeAnswer(book, TSizeKind::ColumnWidth, kSizeOk, 256, false));
}

TEST_F(SheetDialogs, SortByKeysOfTheSelection) {
  TWorkbook book(1);
  const char* names[] = {"b", "a", "c", "a"};
  const double values[] = {1, 2, 3, 4};
  for (int r = 1; r <= 4; ++r) {
    book.SetText(r, 2, names[r - 1]);
    book.SetNumber(r, 3, values[r - 1]);
  }
  book.SetSelection(1, 2, 4, 3);
  test::WhenModalAppears<TDlgSort>([](TDlgSort& d) {
    ASSERT_EQ(d.KeyBox[0]->count(), 3);  // blank, B, C
    EXPECT_EQ(d.KeyBox[0]->itemText(1), QStringLiteral("B"));
    EXPECT_TRUE(d.GroupBox[1]->isEnabled());
    EXPECT_FALSE(d.GroupBox[2]->isEnabled());
    // Sorting columns lists the rows and enables all three groups.
    d.rbSpalten->setChecked(true);
    EXPECT_EQ(d.KeyBox[0]->count(), 5);
    EXPECT_EQ(d.KeyBox[0]->itemText(4), QStringLiteral("4"));
    EXPECT_TRUE(d.GroupBox[2]->isEnabled());
    d.rbZeilen->setChecked(true);
    // Name ascending, then value descending.
    d.KeyBox[0]->setCurrentIndex(1);
    d.KeyBox[1]->setCurrentIndex(2);
    d.Descending[1]->setChecked(true);
    EXPECT_EQ(d.Key(1), 1);
    EXPECT_EQ(d.Key(2), -2);
    EXPECT_EQ(d.Key(3), 0);
    Picture(d, "sort_dialog.png");
    d.accept();
  });
  ASSERT_TRUE(ShowSortDialog(nullptr, book));
  const char* sortedNames[] = {"a", "a", "b", "c"};
  const double sortedValues[] = {4, 2, 1, 3};
  for (int r = 1; r <= 4; ++r) {
    EXPECT_EQ(book.Text(r, 2), sortedNames[r - 1]) << r;
    EXPECT_DOUBLE_EQ(book.Number(r, 3), sortedValues[r - 1]) << r;
  }
  // Columns beyond Z are listed by number.
  book.SetText(1, 28, "x");
  book.SetSelection(1, 26, 1, 28);
  EXPECT_EQ(SortKeyItems(book, true), (std::vector<std::string>{"Z", "27", "28"}));
  // Two ranges: refused before the dialog shows.
  book.SetSelection(1, 2, 2, 2);
  book.AddSelection(4, 2, 4, 2);
  LanguageEnglish = 1;
  EXPECT_FALSE(ShowSortDialog(nullptr, book));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "You can sort only one area.");
  EXPECT_EQ(sink.messages[0].caption, "Several areas selected");
}

TEST_F(SheetDialogs, InsertAndDeleteCells) {
  TWorkbook book(1);
  book.SetText(1, 1, "a1");
  book.SetText(1, 2, "b1");
  book.SetText(2, 1, "a2");
  book.SetSelection(1, 1, 1, 1);
  // The second choice says where the cells go: down on insert, up on
  // delete, in both languages.
  test::WhenModalAppears<TForm2>([](TForm2& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Zellen einfügen"));
    EXPECT_EQ(d.Choice[1]->text(), QStringLiteral("Zellen nach &unten verschieben"));
    d.Choice[1]->setChecked(true);  // shift down
    Picture(d, "insert_cells_dialog.png");
    d.accept();
  });
  ASSERT_TRUE(ShowInsertCellsDialog(nullptr, book));
  EXPECT_EQ(book.Text(1, 1), "");
  EXPECT_EQ(book.Text(2, 1), "a1");
  EXPECT_EQ(book.Text(3, 1), "a2");
  EXPECT_EQ(book.Text(1, 2), "b1");
  test::WhenModalAppears<TForm2>([](TForm2& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Zellen löschen"));
    EXPECT_EQ(d.Choice[1]->text(), QStringLiteral("Zellen nach &oben verschieben"));
    d.Choice[1]->setChecked(true);  // shift up
    Picture(d, "delete_cells_dialog.png");
    d.accept();
  });
  book.SetSelection(1, 1, 1, 1);
  ASSERT_TRUE(ShowDeleteCellsDialog(nullptr, book));
  EXPECT_EQ(book.Text(1, 1), "a1");
  EXPECT_EQ(book.Text(2, 1), "a2");

  LanguageEnglish = 1;
  test::WhenModalAppears<TForm2>([](TForm2& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Insert cells"));
    EXPECT_EQ(d.Choice[1]->text(), QStringLiteral("Move c&ells down"));
    Picture(d, "insert_cells_dialog_en.png");
    d.reject();
  });
  EXPECT_FALSE(ShowInsertCellsDialog(nullptr, book));
  test::WhenModalAppears<TForm2>([](TForm2& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Delete cells"));
    EXPECT_EQ(d.Choice[0]->text(), QStringLiteral("Move cells &left"));
    EXPECT_EQ(d.Choice[1]->text(), QStringLiteral("Move cells &up"));
    d.Choice[2]->setChecked(true);  // whole row
    Picture(d, "delete_cells_dialog_en.png");
    d.accept();
  });
  book.SetSelection(1, 1, 1, 1);
  ASSERT_TRUE(ShowDeleteCellsDialog(nullptr, book));
  EXPECT_EQ(book.Text(1, 1), "a2");
  EXPECT_EQ(book.Text(1, 2), "");

  // Beyond the used area: refused with the message, nothing changes.
  book.SetSelection(10, 1, 10, 1);
  test::WhenModalAppears<TForm2>([](TForm2& d) { d.accept(); });
  EXPECT_FALSE(ShowInsertCellsDialog(nullptr, book));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Selected area to large for pasting.");
  EXPECT_EQ(book.Text(1, 1), "a2");
  EXPECT_EQ(book.Text(2, 1), "");
}

TEST_F(SheetDialogs, AlignmentProtectionAndGoTo) {
  TWorkbook book(1);
  book.SetSelection(1, 1, 2, 2);
  workbook::TAlignment turned;
  turned.Orientation = 2;
  book.SetAlignment(turned);
  test::WhenModalAppears<TAusrichtung>([](TAusrichtung& d) {
    EXPECT_TRUE(d.HorizontalButton[0]->isChecked());
    EXPECT_TRUE(d.VerticalButton[2]->isChecked());
    EXPECT_EQ(d.HorizontalButton[6]->text(), QStringLiteral("Zen&triert über Markierung"));
    d.HorizontalButton[3]->setChecked(true);
    d.VerticalButton[0]->setChecked(true);
    d.WrapBox->setChecked(true);
    Picture(d, "alignment_dialog.png");
    d.accept();
  });
  ASSERT_TRUE(ShowAlignmentDialog(nullptr, book));
  book.SetActiveCell(2, 2, true);
  EXPECT_EQ(book.Alignment(), (workbook::TAlignment{4, true, 1, 2}));

  test::WhenModalAppears<TSchutzFrm>([](TSchutzFrm& d) {
    EXPECT_TRUE(d.Gesperrt->isChecked());
    d.Gesperrt->setChecked(false);
    d.FormelAusblenden->setChecked(true);
    Picture(d, "protection_dialog.png");
    d.accept();
  });
  ASSERT_TRUE(ShowProtectionDialog(nullptr, book));
  EXPECT_EQ(book.Protection(), (workbook::TProtection{false, true}));
  test::WhenModalAppears<TSchutzFrm>([](TSchutzFrm& d) {
    d.Gesperrt->setChecked(true);
    d.reject();
  });
  EXPECT_FALSE(ShowProtectionDialog(nullptr, book));
  EXPECT_FALSE(book.Protection().Locked);

  // Go to: an unknown reference is refused and the dialog stays open.
  ASSERT_TRUE(book.DefineName("Werte", "Sheet1!$C$3:$D$4"));
  test::WhenModalAppears<TDlgGoto>([this](TDlgGoto& d) {
    EXPECT_EQ(d.Edit1->text(), QStringLiteral("A1:B2"));
    d.Edit1->setText(QStringLiteral("Nirgends"));
    d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_TRUE(d.isVisible());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].caption, "Unbekannter Zellbezug");
    d.Edit1->setText(QStringLiteral("Werte"));
    Picture(d, "goto_dialog.png");
    d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  ASSERT_TRUE(ShowGoToDialog(nullptr, book));
  EXPECT_EQ(book.SelectionRange(0), (workbook::TRange{3, 3, 4, 4}));
}

TEST_F(SheetDialogs, ResultGridLayout) {
  tmystringgrid grid(4, 3);
  grid.SetColWidths(1, 100);
  grid.SetColWidths(0, 30);
  grid.SetRowHeights(0, 18);
  TResultGridLook look;
  look.FixedColWidth = 30;
  look.FixedRowHeight = 18;
  LanguageEnglish = 1;
  // "Do not change" on both percentages leaves every size alone; the fixed
  // column's width takes effect while the dialog is open.
  test::WhenModalAppears<TSpaltenbreitefestlegen>([&grid](TSpaltenbreitefestlegen& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Change layout of the table"));
    EXPECT_EQ(d.SpinEdit3->value(), 30);
    EXPECT_EQ(d.SpinEdit4->value(), 18);
    d.SpinEdit1->setValue(150);
    d.SpinEdit2->setValue(50);
    d.Unchanged1->click();
    d.Unchanged2->click();
    d.SpinEdit3->setValue(44);
    EXPECT_EQ(grid.ColWidths(0), 44);
    d.CheckBox1->setChecked(false);
    Picture(d, "layout_dialog_en.png");
    d.accept();
  });
  ASSERT_TRUE(ShowLayoutDialog(nullptr, grid, look));
  EXPECT_EQ(grid.ColWidths(1), 100);
  EXPECT_EQ(grid.ColWidths(2), tmystringgrid::kDefaultColWidth);
  EXPECT_EQ(grid.RowHeights(1), tmystringgrid::kStartRowHeight);
  EXPECT_EQ(look.FixedColWidth, 44);
  EXPECT_EQ(look.CellLines, 0);
  EXPECT_EQ(look.FixedLines, 1);

  // Percentages scale the cells from column 1 and row 1 on, truncated.
  test::WhenModalAppears<TSpaltenbreitefestlegen>([](TSpaltenbreitefestlegen& d) {
    d.SpinEdit1->setValue(133);
    d.SpinEdit2->setValue(50);
    d.accept();
  });
  ASSERT_TRUE(ShowLayoutDialog(nullptr, grid, look));
  EXPECT_EQ(grid.ColWidths(1), 133);
  EXPECT_EQ(grid.ColWidths(2), 85);  // 64 * 1.33
  EXPECT_EQ(grid.ColWidths(0), 44);
  EXPECT_EQ(grid.RowHeights(2), 12);
  EXPECT_EQ(grid.RowHeights(0), 18);
  EXPECT_FALSE(ApplyLayoutChoice(grid, look, TLayoutChoice{401, 100, true, true}));
  EXPECT_EQ(grid.ColWidths(1), 133);
}

}  // namespace
}  // namespace kvx
