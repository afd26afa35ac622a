// The workbook on screen: the sheet with column and row headers, grid
// lines, fonts, formats, borders and fills, the selection (mouse and
// keyboard), in-cell editing with an edit bar, the sheet tabs, zoom and
// frozen panes. It shows a kvx::workbook::TWorkbook and writes every edit
// into it; the program writes into the workbook and the view follows.
//
// Only the cells inside the window are painted, so sheets of any size
// scroll at the same speed.
//
// Screen sizes: a column of w characters is w * d + 5 pixels wide, where d
// is the widest digit of the default font (Arial 10, or what the system
// shows for it; 7 pixels on the usual screens), so that a column of w
// characters holds w digits; a row of h points is h * 96 / 72 pixels high;
// both times the zoom.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QFontMetrics>
#include <QWidget>
#include <unordered_map>

#include "platform/workbook/workbook.h"

class QLineEdit;
class QTabBar;
class QLabel;

namespace kvx {

class TSheetCanvas;
struct TPaintedRow;

class TWorkbookView : public QWidget {
  Q_OBJECT

 public:
  // The view does not own the workbook; the workbook must outlive it.
  explicit TWorkbookView(workbook::TWorkbook& book, QWidget* parent = nullptr);
  ~TWorkbookView() override;

  workbook::TWorkbook& Book() { return book_; }

  // Starts in-cell editing at the active cell (the text of the cell, or
  // the given first character typed by the user).
  void StartEdit(const QString& initial = QString(), bool replace = false);
  bool IsEditing() const;
  // Ends in-cell editing, writing the text into the cell when commit is set.
  void EndEdit(bool commit);

  // Scrolls so that the active cell is visible.
  void ShowActiveCell();

  // Copies the selection to the workbook's and the system clipboard; cuts;
  // pastes from the workbook when its copy is the system clipboard's text,
  // else the system clipboard's text as typed entries.
  void Copy();
  void Cut();
  void Paste();

  // Size of a column or row on the screen, in pixels at the current zoom.
  int ColumnPixels(int col) const;
  int RowPixels(int row) const;

  TSheetCanvas* Canvas() const { return canvas_; }
  QTabBar* Tabs() const { return tabs_; }
  QLineEdit* EditBar() const { return editBar_; }

 signals:
  void OnSelChange();
  void OnTopLeftChanged();
  void OnDblClick(int row, int col);
  void OnModified();

 private:
  friend class TSheetCanvas;
  void ModelChanged(workbook::TChange change);
  void RebuildTabs();
  void UpdateEditBar();
  // Updates the edit bar once the program's current burst of writes is
  // over (a table writes many thousands of cells in a row).
  void QueueEditBarUpdate();
  void CommitEditBar();

  workbook::TWorkbook& book_;
  int listener_ = 0;
  TSheetCanvas* canvas_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QWidget* editBarRow_ = nullptr;
  QLabel* nameBox_ = nullptr;
  QLineEdit* editBar_ = nullptr;
  bool rebuildingTabs_ = false;
  bool editBarQueued_ = false;
  double digitPixels_ = 7.0;
};

// The painted sheet area of the view.
class TSheetCanvas : public QAbstractScrollArea {
  Q_OBJECT

 public:
  TSheetCanvas(TWorkbookView& view, workbook::TWorkbook& book);

  // The cell under a point of the viewport: row 0 is the column header,
  // column 0 the row header; -1 outside any cell.
  void CellAt(const QPoint& point, int& row, int& col) const;
  // Rectangle of a cell in viewport coordinates (empty when not shown).
  QRect CellRect(int row, int col) const;

  void SyncScrollBars();
  void ClearFontCache() { fonts_.clear(); }
  QLineEdit* Editor() const { return editor_; }
  void StartEditor(const QString& text);
  void StopEditor();
  int EditRow() const { return editRow_; }
  int EditCol() const { return editCol_; }
  // The text a cell shows in its column at the current zoom (a number too
  // wide for it turns to "####" unless its general form can drop digits);
  // empty for an empty cell.
  QString ShownText(int row, int col);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  double Zoom() const;
  int HeaderWidth() const;
  int HeaderHeight() const;
  const QFont& FontOf(std::uint32_t style);
  // First scrolling row and column (after the frozen ones).
  int FirstScrollRow() const;
  int FirstScrollCol() const;
  // Rows (columns) shown, in order, with their top (left) pixel.
  std::vector<std::pair<int, int>> VisibleRows() const;
  std::vector<std::pair<int, int>> VisibleCols() const;
  void MoveActive(int dRow, int dCol, bool extend);
  // The cells' fills, texts and borders, painted in three passes: a text
  // may reach over the fills of the cells to its right.
  void PaintCells(QPainter& painter, const std::vector<std::pair<int, int>>& rows,
                  const std::vector<std::pair<int, int>>& cols);
  void PaintCellFill(QPainter& painter, int row, int col, const QRect& rect);
  void PaintRowTexts(QPainter& painter, int row, int top, const std::vector<std::pair<int, int>>& cols);
  void PaintCellText(QPainter& painter, const TPaintedRow& painted, int col, int left);
  void PaintCellBorders(QPainter& painter, int row, int col, const QRect& rect);
  // The cell's text before fitting, and a number's text fitted into `width`
  // pixels as PaintCell shows it.
  QString CellText(int row, int col, const workbook::TCell& cell) const;
  QString FitNumber(int row, int col, const workbook::TCellStyle& style, QString shown, const QFontMetrics& metrics,
                    int width) const;
  int CellPadding() const;

  TWorkbookView& view_;
  workbook::TWorkbook& book_;
  std::unordered_map<std::uint32_t, QFont> fonts_;
  // Selection by mouse: the anchor cell and what kind of drag it is.
  int anchorRow_ = 1;
  int anchorCol_ = 1;
  enum class TDrag { None, Cells, Rows, Cols } drag_ = TDrag::None;
  bool additive_ = false;
  QLineEdit* editor_ = nullptr;
  int editRow_ = 0;
  int editCol_ = 0;
  bool syncing_ = false;
};

}  // namespace kvx
