#include "platform/qt/workbook_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTabBar>
#include <chrono>
#include <filesystem>

#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "support/qt_application.h"
#include "support/recording_message_sink.h"

namespace kvx {
namespace {

using workbook::TWorkbook;

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

void Click(QWidget* target, const QPoint& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, modifiers);
  QApplication::sendEvent(target, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, modifiers);
  QApplication::sendEvent(target, &release);
}

void Type(QWidget* target, int key, const QString& text = QString(), Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(target, &press);
}

class WorkbookViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = IntlSeparators;
    IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  }
  void TearDown() override { IntlSeparators = saved_; }
  TIntlSeparators saved_;
};

TEST_F(WorkbookViewTest, LargeSheetScrollsToTheEndAndPaintsOnlyWhatIsShown) {
  TWorkbook book(2);
  for (int r = 1; r <= 10000; ++r) {
    for (int c = 1; c <= 30; ++c) book.SetNumber(r, c, r + c / 100.0);
  }
  book.SetSelection(1, 1, 10000, 30);
  book.SetNumberFormat("0,00");
  book.SetSelection(1, 1, 1, 30);
  workbook::TCellFont bold;
  bold.Bold = true;
  book.SetFont(bold);
  book.SetFixedRows(1);
  book.SetFixedCols(1);
  TWorkbookView view(book);
  view.resize(1024, 768);
  view.show();
  Settle();

  book.SetActiveCell(10000, 30);
  const auto start = std::chrono::steady_clock::now();
  view.ShowActiveCell();
  Settle();
  const QImage image = view.grab().toImage();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_FALSE(image.isNull());
  const auto& sheet = book.CurrentSheetData();
  EXPECT_GT(sheet.TopRow, 9950);
  EXPECT_GT(sheet.LeftCol, 15);
  const QRect last = view.Canvas()->CellRect(10000, 30);
  ASSERT_FALSE(last.isEmpty());
  EXPECT_LE(last.bottom(), view.Canvas()->viewport()->height());
  EXPECT_FALSE(view.Canvas()->CellRect(1, 1).isEmpty());  // the frozen corner stays
  EXPECT_TRUE(view.Canvas()->CellRect(5000, 30).isEmpty());
  const std::filesystem::path out = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(out);
  EXPECT_TRUE(image.save(QString::fromStdString((out / "workbook_view_end.png").string())));
  RecordProperty("scroll_and_paint_seconds", std::to_string(seconds));
}

TEST_F(WorkbookViewTest, MouseKeyboardAndEditingReachTheWorkbook) {
  TWorkbook book(3);
  TWorkbookView view(book);
  view.resize(800, 600);
  view.show();
  Settle();
  int selectionChanges = 0;
  int modified = 0;
  int doubleRow = -1;
  int doubleCol = -1;
  QObject::connect(&view, &TWorkbookView::OnSelChange, [&] { ++selectionChanges; });
  QObject::connect(&view, &TWorkbookView::OnModified, [&] { ++modified; });
  QObject::connect(&view, &TWorkbookView::OnDblClick, [&](int r, int c) {
    doubleRow = r;
    doubleCol = c;
  });
  QWidget* canvas = view.Canvas()->viewport();
  const QRect b3 = view.Canvas()->CellRect(3, 2);
  ASSERT_FALSE(b3.isEmpty());
  Click(canvas, b3.center());
  EXPECT_EQ(book.Row(), 3);
  EXPECT_EQ(book.Col(), 2);
  EXPECT_GE(selectionChanges, 1);
  const QRect d5 = view.Canvas()->CellRect(5, 4);
  Click(canvas, d5.center(), Qt::ShiftModifier);
  EXPECT_EQ(book.Selection(), "B3:D5");
  EXPECT_EQ(book.Row(), 3);

  // Typing starts editing; Enter writes the typed entry and moves down.
  view.Canvas()->setFocus();
  Type(view.Canvas(), Qt::Key_1, "1");
  ASSERT_TRUE(view.IsEditing());
  QLineEdit* editor = view.Canvas()->Editor();
  editor->setText("12,5");
  Type(editor, Qt::Key_Return);
  EXPECT_FALSE(view.IsEditing());
  EXPECT_DOUBLE_EQ(book.Number(3, 2), 12.5);
  EXPECT_EQ(book.Row(), 4);
  EXPECT_EQ(modified, 1);
  // Escape leaves the cell as it was.
  view.StartEdit("x", true);
  Type(view.Canvas()->Editor(), Qt::Key_Escape);
  EXPECT_EQ(book.CellKind(4, 2), workbook::TCellKind::Empty);
  // The edit bar writes formulas.
  book.SetActiveCell(1, 1);
  view.EditBar()->setText("=B3*2");
  emit view.EditBar()->returnPressed();
  EXPECT_DOUBLE_EQ(book.Number(1, 1), 25.0);
  EXPECT_EQ(view.EditBar()->text(), "=B3*2");
  {
    // A formula the engine refuses is not taken, from the editor or the
    // edit bar: a message, and the cell keeps its formula.
    RecordingMessageSink sink;
    ScopedMessageSink guard(sink);
    view.StartEdit("=$1", true);
    Type(view.Canvas()->Editor(), Qt::Key_Return);
    view.EditBar()->setText("='");
    emit view.EditBar()->returnPressed();
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[1].text, "Die Formel =' ist ungültig.");
    EXPECT_EQ(book.Formula(1, 1), "=B3*2");
    book.SetActiveCell(1, 1);
  }
  // Arrow keys move; Delete clears.
  Type(view.Canvas(), Qt::Key_Down);
  Type(view.Canvas(), Qt::Key_Right);
  EXPECT_EQ(book.Row(), 2);
  EXPECT_EQ(book.Col(), 2);
  Type(view.Canvas(), Qt::Key_Down);
  Type(view.Canvas(), Qt::Key_Delete);
  EXPECT_EQ(book.CellKind(3, 2), workbook::TCellKind::Empty);
  EXPECT_EQ(book.Text(1, 1), "0");  // the formula follows

  Type(view.Canvas(), Qt::Key_A, "a", Qt::ControlModifier);
  EXPECT_EQ(book.SelectionRange(0), (workbook::TRange{1, 1, workbook::kMaxRows, workbook::kMaxCols}));
  // Copy and paste through the system clipboard keep formulas relative.
  book.SetFormula(6, 6, "F5+1");
  book.SetActiveCell(6, 6);
  view.Copy();
  book.SetActiveCell(8, 7);
  view.Paste();
  EXPECT_EQ(book.Formula(8, 7), "=G7+1");
  // Clicking a column header selects the column; double clicks report.
  const QRect header = view.Canvas()->CellRect(0, 3);
  Click(canvas, header.center());
  EXPECT_EQ(book.Selection(), "C:C");
  QMouseEvent dbl(QEvent::MouseButtonDblClick, header.center(), canvas->mapToGlobal(header.center()), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(canvas, &dbl);
  EXPECT_EQ(doubleRow, 0);
  EXPECT_EQ(doubleCol, 3);

  // Sheet tabs follow the workbook and switch it.
  EXPECT_EQ(view.Tabs()->count(), 3);
  book.SetSheetName(2, "Mond");
  EXPECT_EQ(view.Tabs()->tabText(1), "Mond");
  view.Tabs()->setCurrentIndex(2);
  EXPECT_EQ(book.Sheet(), 3);
  book.InsertSheets(1, 1);
  EXPECT_EQ(view.Tabs()->count(), 4);
  EXPECT_EQ(view.Tabs()->currentIndex(), 3);

  // Protected cells refuse editing.
  book.SetEnableProtection(true);
  view.StartEdit();
  EXPECT_FALSE(view.IsEditing());
}

TEST_F(WorkbookViewTest, ZoomScalesTheGridAndTopLeftIsReported) {
  TWorkbook book(1);
  TWorkbookView view(book);
  view.resize(800, 600);
  view.show();
  Settle();
  int topLeft = 0;
  QObject::connect(&view, &TWorkbookView::OnTopLeftChanged, [&] { ++topLeft; });
  const int normal = view.ColumnPixels(1);
  book.SetViewScale(200);
  EXPECT_NEAR(view.ColumnPixels(1), 2 * normal, 1);
  EXPECT_GE(topLeft, 1);
  book.SetViewScale(100);
  book.SetColHidden(2, 2, true);
  EXPECT_EQ(view.ColumnPixels(2), 0);
  EXPECT_TRUE(view.Canvas()->CellRect(1, 2).isEmpty() || view.Canvas()->CellRect(1, 2).width() == 0);
  const int before = topLeft;
  view.Canvas()->verticalScrollBar()->setValue(50);
  EXPECT_EQ(book.CurrentSheetData().TopRow, 50);
  EXPECT_GT(topLeft, before);
  book.SetShowEditBar(false);
  EXPECT_FALSE(view.EditBar()->isVisibleTo(&view));
}

}  // namespace
}  // namespace kvx
