#include "app/ui/sheet_commands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <filesystem>

#include "app/sheet_editing.h"
#include "app/ui/document_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/sheet_dialogs.h"
#include "core/name_tables.h"
#include "platform/globals.h"
#include "platform/qt/workbook_view.h"
#include "platform/settings_store.h"
#include "platform/workbook/cell_reference.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/qt_application.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using workbook::TWorkbook;

struct LanguageGuard {
  std::uint8_t saved = LanguageEnglish;
  ~LanguageGuard() { LanguageEnglish = saved; }
};

TEST(SheetSearch, FindContinuesBelowTheLastHitWrapsOnceAndSaysWhenNothingIsThere) {
  ApplyLocaleSeparators(TIntlSeparators{});  // the number format below with the default decimal point
  RecordingMessageSink messages;
  ScopedMessageSink sink(messages);
  LanguageGuard language;
  LanguageEnglish = 1;
  TWorkbook book;
  book.SetText(2, 1, "Mars rises");
  book.SetText(5, 1, "mars sets");
  book.SetText(1, 3, "Marsupial");
  book.SetText(4, 2, "Venus");
  book.SetActiveCell(3, 1);
  TSheetSearchState state;
  TSearchRequest mars{"mars", false, false};
  // Column by column from the active cell: A5, then C1 (column C from row 1).
  ASSERT_TRUE(FindInSheet(book, mars, state));
  EXPECT_EQ(book.Row(), 5);
  EXPECT_EQ(book.Col(), 1);
  ASSERT_TRUE(FindInSheet(book, mars, state));
  EXPECT_EQ(book.Row(), 1);
  EXPECT_EQ(book.Col(), 3);
  // After the last hit of the sheet it wraps once to A1 and finds A2.
  ASSERT_TRUE(FindInSheet(book, mars, state));
  EXPECT_EQ(book.Row(), 2);
  EXPECT_EQ(book.Col(), 1);
  EXPECT_TRUE(messages.messages.empty());
  // Case and whole-text options choose the comparison.
  TSearchRequest exact{"mars sets", true, true};
  ASSERT_TRUE(FindInSheet(book, exact, state));
  EXPECT_EQ(book.Row(), 5);
  TSearchRequest upper{"MARS SETS", true, true};
  EXPECT_FALSE(FindInSheet(book, upper, state));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "MARS SETS not found");
  EXPECT_EQ(messages.messages[0].caption, "Kandrevoltinex 4.6");
  EXPECT_EQ(messages.messages[0].icon, MessageIcon::Warning);
  // Numbers are found by the text their format shows.
  book.SetNumber(9, 4, 12.5);
  book.SetCellNumberFormat(9, 4, "0.00\" km\"");
  book.SetActiveCell(1, 1);
  ASSERT_TRUE(FindInSheet(book, {"50 KM", false, false}, state));
  EXPECT_EQ(book.Row(), 9);
  EXPECT_EQ(book.Col(), 4);
  // An empty text does nothing at all.
  EXPECT_FALSE(FindInSheet(book, TSearchRequest{}, state));
  EXPECT_EQ(messages.messages.size(), 1u);
}

TEST(SheetSearch, ReplaceAllReplacesEveryOccurrenceOnceAndRestoresTheSelection) {
  RecordingMessageSink messages;
  ScopedMessageSink sink(messages);
  LanguageGuard language;
  LanguageEnglish = 0;
  TWorkbook book;
  book.SetText(1, 1, "ab ab AB");
  book.SetText(3, 2, "xaby");
  book.SetText(2, 4, "outside");
  book.SetSelection(1, 1, 3, 2);
  TSheetSearchState state;
  // The replacement holds the search text: no endless loop, each
  // occurrence replaced once.
  EXPECT_EQ(ReplaceInSheet(book, {"ab", false, false}, "[ab]", true, true, state), 2);
  EXPECT_EQ(book.Text(1, 1), "[ab] [ab] [ab]");
  EXPECT_EQ(book.Text(3, 2), "x[ab]y");
  ASSERT_EQ(book.SelectionCount(), 1);
  EXPECT_EQ(book.SelectionRange(0).Row2, 3);
  EXPECT_EQ(book.SelectionRange(0).Col2, 2);
  // Case-sensitive: only the exact spelling; the first hit only.
  book.SetText(1, 1, "ab AB ab");
  book.SetSelection(1, 1, 1, 1);  // a single cell stands for the used area
  EXPECT_EQ(ReplaceInSheet(book, {"AB", false, true}, "cd", true, false, state), 1);
  EXPECT_EQ(book.Text(1, 1), "ab cd ab");
  EXPECT_EQ(ReplaceInSheet(book, {"zz", false, false}, "y", true, true, state), 0);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "zz nicht gefunden");
  EXPECT_EQ(book.Text(2, 4), "outside");
}

TEST(SheetEditing, DecimalsPageBreaksFreezePanesAndTheBoxLimits) {
  ApplyLocaleSeparators(TIntlSeparators{});  // the number format below with the default decimal point
  TWorkbook book;
  book.SetNumber(1, 1, 1.23456);
  book.SetText(2, 1, "2.5");
  book.SetText(3, 1, "text");
  book.SetFormula(4, 1, "=A1*2");
  // A selection far beyond the used area is clipped to it.
  book.SetSelection(1, 1, 5000, 200);
  EXPECT_EQ(ApplyDecimalsToSelection(book, "0.00"), 3);
  EXPECT_EQ(book.Text(1, 1), "1.23");
  EXPECT_EQ(book.CellKind(2, 1), workbook::TCellKind::Number);
  EXPECT_EQ(book.Text(2, 1), "2.50");
  EXPECT_EQ(book.Text(3, 1), "text");
  EXPECT_EQ(book.Formula(4, 1), "=A1*2") << "a formula keeps its formula";
  EXPECT_EQ(book.Text(4, 1), "2.47");

  // Page break beyond the last used column: a row break at the last row.
  book.SetSelection(2, 1, 3, 9);
  ASSERT_TRUE(InsertPageBreak(book));
  EXPECT_EQ(book.RowPageBreak(3), 3);
  EXPECT_EQ(book.ColPageBreak(9), 0);
  book.SetActiveCell(3, 1);
  ASSERT_TRUE(RemovePageBreak(book));
  EXPECT_EQ(book.RowPageBreak(3), 0);
  {
    RecordingMessageSink messages;
    ScopedMessageSink sink(messages);
    EXPECT_FALSE(RemovePageBreak(book));
    EXPECT_EQ(messages.messages.size(), 1u);
  }

  // Freeze panes on A1 fixes nothing; on C4 two columns and three rows; a
  // second press releases them.
  book.SetActiveCell(1, 1);
  ToggleFreezePanes(book);
  EXPECT_EQ(book.FixedRows() + book.FixedCols(), 0);
  book.SetActiveCell(4, 3);
  ToggleFreezePanes(book);
  EXPECT_EQ(book.FixedCols(), 2);
  EXPECT_EQ(book.FixedRows(), 3);
  ToggleFreezePanes(book);
  EXPECT_EQ(book.FixedRows() + book.FixedCols(), 0);
  book.SetActiveCell(2, 2);
  ToggleFreezePanes(book);
  EXPECT_EQ(book.FixedRows() + book.FixedCols(), 2);
  ToggleFreezePanes(book);
  EXPECT_EQ(book.FixedRows() + book.FixedCols(), 0) << "one frozen row and column are released too";

  EXPECT_EQ(SheetFontSize(3), 6);
  EXPECT_EQ(TableFontSize(3, 10), 3);
  EXPECT_EQ(TableFontSize(0, 10), 10) << "a zero size would collapse the grid";
  EXPECT_EQ(TableFontSize(500, 10), 240);
  EXPECT_EQ(ClampZoom(500), 400);
  EXPECT_EQ(ClampZoom(5), 10);
}

// --- from the menu items of the main window --------------------------------------------

class SheetWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", (home_.Path() / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_.Path() / "config").c_str(), 1);
    InitAstroNameTables();
    store_.WriteBool("Settings", "FirstRun", false);
    store_.WriteString("Settings", "Language", "1");
  }

  LanguageGuard language_;
  test::TempFolder home_;
  MemorySettingsStore store_;
  RecordingMessageSink messages_;
};

TEST_F(SheetWindow, SheetStructureUndoAndTheFormattingBarWorkFromTheirControls) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  form.show();
  QApplication::processEvents();
  ASSERT_FALSE(form.Halted());
  TMenuCommands& c = form.Commands();
  TWorkbook& book = form.Workbook();
  book.Reset(2);

  // A computed table, then an edit of the user's own: Undo warns about it
  // and brings the sheet before the table back.
  book.SetText(1, 1, "before");
  book.TransactionBegin();
  form.State().Document.UndoFlag = 1;
  book.SetText(1, 1, "table");
  form.TableWrittenHook();
  book.SetText(2, 2, "my note");
  messages_.QueueReply(MessageResult::Ok);
  c.Action("Rckgngig1")->trigger();
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_NE(messages_.messages[0].text.find("Your later changes to the sheet will be lost as well."),
            std::string::npos);
  EXPECT_EQ(messages_.messages[0].caption, "Undo");
  EXPECT_EQ(book.Text(1, 1), "before");
  EXPECT_EQ(book.Text(2, 2), "");
  EXPECT_EQ(form.State().Document.UndoFlag, 0);

  // Inserting a sheet commits the table: nothing left to undo.
  book.TransactionBegin();
  form.State().Document.UndoFlag = 1;
  book.SetText(1, 1, "second table");
  form.TableWrittenHook();
  c.Action("Tabelleeinfgen1")->trigger();
  EXPECT_EQ(book.NumSheets(), 3);
  EXPECT_EQ(form.State().Document.UndoFlag, 0);
  EXPECT_FALSE(book.InTransaction());

  // Delete sheet: Yes twice deletes two, the only sheet is refused.
  messages_.messages.clear();
  c.Action("Tabellelschen1")->trigger();
  c.Action("Tabellelschen1")->trigger();
  EXPECT_EQ(book.NumSheets(), 1);
  c.Action("Tabellelschen1")->trigger();
  EXPECT_EQ(book.NumSheets(), 1);
  ASSERT_EQ(messages_.messages.size(), 4u);
  EXPECT_EQ(messages_.messages.back().text, "You cannot delete the only sheet of the file.");
  c.Action("Tabelleverschieben1")->trigger();
  EXPECT_EQ(messages_.messages.back().text, "You cannot move the only sheet of the file.");
  book.SetSelection(1, 1, 2, 2);
  book.AddSelection(5, 5, 6, 6);
  c.Action("Zellen2")->trigger();
  EXPECT_EQ(messages_.messages.back().caption, "Several regions selected");
  ASSERT_EQ(messages_.messages.size(), 6u) << "neither refusal opened its dialog";

  // Rename: a forbidden name is refused with a message, a good one taken.
  messages_.messages.clear();
  book.SetSelection(1, 1, 1, 1);
  const std::string before = book.SheetName(1);
  form.Sheets().InputBox = [](const QString&, const QString&, QString& text) {
    text = QStringLiteral("a/b");
    return true;
  };
  c.Action("Tabelleumbenennen1")->trigger();
  EXPECT_EQ(book.SheetName(1), before);
  EXPECT_EQ(messages_.messages.size(), 1u);
  form.Sheets().InputBox = [](const QString&, const QString&, QString& text) {
    text = QStringLiteral("Ephemeris");
    return true;
  };
  c.Action("Tabelleumbenennen1")->trigger();
  EXPECT_EQ(book.SheetName(1), "Ephemeris");

  // The font-size box: 3 becomes 6 on the sheet; the zoom box 500 becomes 400.
  book.SetText(1, 1, "x");
  book.SetSelection(1, 1, 1, 1);
  auto* size = qobject_cast<QComboBox*>(c.ToolWidget("Fontsize"));
  ASSERT_NE(size, nullptr);
  size->setCurrentText(QStringLiteral("3"));
  emit size->textActivated(QStringLiteral("3"));
  EXPECT_EQ(book.Font().Size, 6.0);
  auto* zoom = qobject_cast<QSpinBox*>(c.ToolWidget("edViewScale"));
  ASSERT_NE(zoom, nullptr);
  zoom->setValue(500);
  EXPECT_EQ(book.ViewScale(), 400);
  EXPECT_EQ(zoom->value(), 400);
  zoom->setValue(5);
  EXPECT_EQ(book.ViewScale(), 10);
  // Typed into the box, a value counts once confirmed by Return or by
  // leaving the box, whatever it passes through on the way; the arrows act
  // at once.
  auto key = [zoom](int code, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(zoom, &press);
  };
  auto type = [&key, zoom](const QString& digits) {
    zoom->selectAll();
    for (QChar digit : digits) key(Qt::Key_0 + digit.digitValue(), QString(digit));
  };
  type(QStringLiteral("200"));
  EXPECT_EQ(book.ViewScale(), 10) << "not while typing";
  key(Qt::Key_Return);
  EXPECT_EQ(book.ViewScale(), 200);
  test::SavePng(form, "zoom_typed_200");
  type(QStringLiteral("50"));
  QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(zoom, &leave);
  EXPECT_EQ(book.ViewScale(), 50);
  type(QStringLiteral("90"));
  key(Qt::Key_Enter);
  EXPECT_EQ(book.ViewScale(), 90);
  key(Qt::Key_Up);
  EXPECT_EQ(book.ViewScale(), 91);
  type(QStringLiteral("1000"));
  key(Qt::Key_Return);
  EXPECT_EQ(book.ViewScale(), 400);
  EXPECT_EQ(zoom->text(), QStringLiteral("400 %"));
  zoom->setValue(100);

  // Format | Cells | Alignment, "Center across cells" on A1:C1: A1's text
  // is centred across the three cells.
  book.SetColWidth(1, 3, 12, false);
  book.SetText(1, 1, "Sun");
  book.SetSelection(1, 1, 1, 3);
  test::WhenModalShown<TAusrichtung>([](TAusrichtung& d) {
    EXPECT_EQ(d.HorizontalButton[6]->text(), QStringLiteral("Ce&nter across cells"));
    d.HorizontalButton[6]->setChecked(true);
    d.accept();
  });
  c.Action("Ausrichtung1")->trigger();
  book.SetActiveCell(20, 8);
  QApplication::processEvents();
  EXPECT_EQ(book.StyleAt(1, 1, 3).Alignment.Horizontal, 7);
  TWorkbookView* view = form.WorkbookView();
  ASSERT_NE(view, nullptr);
  const QImage sheet = view->Canvas()->viewport()->grab().toImage();
  int first = -1;
  int last = -1;
  const QRect across = view->Canvas()->CellRect(1, 1).united(view->Canvas()->CellRect(1, 3)).adjusted(1, 1, -1, -1);
  for (int y = across.top(); y <= across.bottom(); ++y) {
    for (int x = across.left(); x <= across.right(); ++x) {
      if (qGray(sheet.pixel(x, y)) >= 128) continue;
      if (first < 0 || x < first) first = x;
      last = std::max(last, x);
    }
  }
  ASSERT_GE(first, 0);
  EXPECT_NEAR((first + last) / 2.0, across.center().x(), across.width() * 0.03) << "in the middle of B1";
  test::SavePng(form, "sheet_centred_across_cells");
  book.SetText(1, 1, "x");
  book.SetSelection(1, 1, 1, 1);

  // Bold button and menu item share their state; the alignment buttons set
  // their codes and release to general.
  c.Action("BoldButton")->trigger();
  EXPECT_TRUE(book.Font().Bold);
  EXPECT_TRUE(c.IsChecked("Fett1"));
  c.Action("RightAlign")->trigger();
  EXPECT_EQ(book.Alignment().Horizontal, 4);
  c.Action("RightAlign")->trigger();
  EXPECT_EQ(book.Alignment().Horizontal, 1);

  // Decimals by its shortcut item; protection toggle re-captions its item.
  book.SetNumber(2, 1, 3.14159);
  book.SetSelection(2, 1, 2, 1);
  c.Action("N41")->trigger();
  EXPECT_EQ(book.NumberFormat(), DecimalPatternTable[4]);
  c.Action("Zellschutzaktivieren1")->trigger();
  EXPECT_TRUE(book.EnableProtection());
  EXPECT_EQ(c.Action("Zellschutzaktivieren1")->text().toStdString(), "Remove cell protection");

  // The grid view: Layout and Colours enabled, the sheet-only items not,
  // Find hidden.
  form.State().Document.WorkbookView = 0;
  form.RefreshMenuStates();
  EXPECT_FALSE(c.Action("Suchen1")->isVisible());
  EXPECT_FALSE(c.Action("Fixieren1")->isEnabled());
  // The result grid's table font: size 3 stays 3, 0 is ignored.
  form.Sheets().FontSizeChanged(3);
  EXPECT_EQ(form.Documents().Look().Font.Size, 3);
  form.Sheets().FontSizeChanged(0);
  EXPECT_EQ(form.Documents().Look().Font.Size, 3);
  form.State().Document.WorkbookView = 1;
  form.RefreshMenuStates();
  EXPECT_TRUE(c.Action("Suchen1")->isVisible());
  EXPECT_TRUE(c.Action("Fixieren1")->isEnabled());
}

TEST_F(SheetWindow, FindAndReplaceDialogsSearchTheSheet) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  form.show();
  QApplication::processEvents();
  ASSERT_FALSE(form.Halted());
  TWorkbook& book = form.Workbook();
  book.SetText(3, 2, "Jupiter");
  book.SetText(7, 2, "Jupiter moons");
  book.SetText(446, 4, "Herbstanfang");
  book.SetText(900, 6, "Winteranfang");
  book.SetActiveCell(1, 1);
  // The found cell is active, selected and in the visible rows and columns.
  auto shown = [&book, &form](int row, int col) {
    EXPECT_EQ(book.Row(), row);
    EXPECT_EQ(book.Col(), col);
    EXPECT_EQ(book.Selection(), workbook::CellName(row, col));
    const QRect cell = form.WorkbookView()->Canvas()->CellRect(row, col);
    const QRect viewport = form.WorkbookView()->Canvas()->viewport()->rect();
    EXPECT_FALSE(cell.isEmpty()) << row;
    EXPECT_TRUE(viewport.contains(cell)) << row;
  };

  form.Commands().Action("Suchen1")->trigger();
  TSheetFindDialog* find = form.Sheets().FindDialog();
  ASSERT_NE(find, nullptr);
  ASSERT_TRUE(find->isVisible());
  find->FindText->setText(QStringLiteral("jupiter"));
  test::SavePng(*find, "sheet_find_dialog");
  find->FindNext->click();
  EXPECT_EQ(book.Row(), 3);
  find->FindNext->click();
  EXPECT_EQ(book.Row(), 7);
  find->FindText->setText(QStringLiteral("Herbstanfang"));
  find->FindNext->click();
  shown(446, 4);
  test::SavePng(form, "sheet_found_cell_in_view");

  form.Commands().Action("Ersetzen1")->trigger();
  TSheetFindDialog* replace = form.Sheets().ReplaceDialog();
  ASSERT_NE(replace, nullptr);
  replace->FindText->setText(QStringLiteral("Jupiter"));
  replace->ReplaceText->setText(QStringLiteral("Saturn"));
  replace->MatchCase->setChecked(true);
  test::SavePng(*replace, "sheet_replace_dialog");
  book.SetSelection(1, 1, 1, 1);
  replace->ReplaceAllButton->click();
  EXPECT_EQ(book.Text(3, 2), "Saturn");
  EXPECT_EQ(book.Text(7, 2), "Saturn moons");
  // The replace dialog's find scrolls back down as far as its hit.
  book.SetActiveCell(1, 1);
  book.SetTopLeft(1, 1);
  replace->FindText->setText(QStringLiteral("Winteranfang"));
  replace->FindNext->click();
  shown(900, 6);
  EXPECT_TRUE(messages_.messages.empty());
}

}  // namespace
}  // namespace kvx
