#include "platform/qt/workbook_view.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "platform/qt/cell_painting.h"

namespace kvx {

using workbook::kMaxCols;
using workbook::kMaxRows;
using workbook::TCell;
using workbook::TCellKind;
using workbook::TCellStyle;
using workbook::TChange;
using workbook::TFormulaResult;
using workbook::TRange;

namespace {

QColor ToColor(std::uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

const QColor kGridColor(0xD0, 0xD7, 0xE5);
const QColor kHeaderColor(0xF0, 0xF0, 0xF0);
const QColor kHeaderSelectedColor(0xD3, 0xDB, 0xE8);
const QColor kSelectionColor(0x33, 0x77, 0xDD, 0x38);
const QColor kActiveColor(0x21, 0x5A, 0xB8);

void DrawBorder(QPainter& painter, const workbook::TBorderLine& line, QPoint from, QPoint to, bool horizontal) {
  if (line.Style == 0) return;
  QPen pen(ToColor(line.Color));
  pen.setWidth(line.Style == 2 ? 2 : (line.Style == 5 ? 3 : 1));
  if (line.Style == 3) pen.setStyle(Qt::DashLine);
  if (line.Style == 4 || line.Style == 7) pen.setStyle(Qt::DotLine);
  painter.setPen(pen);
  if (line.Style == 6) {
    const QPoint offset = horizontal ? QPoint(0, 1) : QPoint(1, 0);
    painter.drawLine(from - offset, to - offset);
    painter.drawLine(from + offset, to + offset);
  } else {
    painter.drawLine(from, to);
  }
}

// The first scrolled line (row or column) that shows line `target` whole:
// `first` moves back to the target when it lies before it, then down until
// the lines from it to the target, with the `fixed` frozen lines, fit into
// `available` pixels. `pixels` gives the size of a line.
template <typename Pixels>
int FirstLineShowing(int target, int first, int fixed, int available, Pixels pixels) {
  if (target < first) first = target;
  int fixedSize = 0;
  for (int i = 1; i <= fixed; ++i) fixedSize += pixels(i);
  while (first < target) {
    int size = fixedSize;
    for (int i = first; i <= target && size <= available; ++i) size += pixels(i);
    if (size <= available) break;
    ++first;
  }
  return first;
}

}  // namespace

// ------------------------------------------------------------------ view

TWorkbookView::TWorkbookView(workbook::TWorkbook& book, QWidget* parent) : QWidget(parent), book_(book) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  editBarRow_ = new QWidget(this);
  auto* barLayout = new QHBoxLayout(editBarRow_);
  barLayout->setContentsMargins(2, 2, 2, 2);
  nameBox_ = new QLabel(editBarRow_);
  nameBox_->setMinimumWidth(90);
  nameBox_->setFrameShape(QFrame::StyledPanel);
  editBar_ = new QLineEdit(editBarRow_);
  barLayout->addWidget(nameBox_);
  barLayout->addWidget(editBar_, 1);
  layout->addWidget(editBarRow_);

  canvas_ = new TSheetCanvas(*this, book_);
  layout->addWidget(canvas_, 1);

  tabs_ = new QTabBar(this);
  tabs_->setShape(QTabBar::RoundedSouth);
  tabs_->setExpanding(false);
  tabs_->setDrawBase(false);
  layout->addWidget(tabs_);

  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (rebuildingTabs_ || index < 0) return;
    EndEdit(true);
    book_.SetSheet(index + 1);
  });
  connect(editBar_, &QLineEdit::returnPressed, this, [this] { CommitEditBar(); });
  connect(editBar_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (canvas_->Editor() != nullptr) canvas_->Editor()->setText(text);
  });

  {
    QFont standard(QString::fromStdString(workbook::TCellFont{}.Face));
    standard.setPointSizeF(workbook::TCellFont{}.Size);
    const QFontMetricsF metrics(standard);
    double widest = 0.0;
    for (char digit = '0'; digit <= '9'; ++digit) widest = std::max(widest, metrics.horizontalAdvance(QChar(digit)));
    if (widest >= 3.0) digitPixels_ = std::ceil(widest);
  }
  // Auto-fit measures texts with the real fonts, in digits of the default
  // font; paper gives a digit the points the screen gives it.
  const double digit = digitPixels_;
  book_.SetTextMeasurer(
      [digit](const std::string& text, const workbook::TCellFont& font) {
        QFont qfont(QString::fromStdString(font.Face));
        qfont.setPointSizeF(font.Size);
        qfont.setBold(font.Bold);
        qfont.setItalic(font.Italic);
        const QFontMetricsF metrics(qfont);
        return metrics.horizontalAdvance(QString::fromStdString(text)) / digit;
      },
      digit * 72.0 / std::max(1, logicalDpiX()));
  setFocusProxy(canvas_);
  listener_ = book_.AddListener([this](TChange change) { ModelChanged(change); });
  RebuildTabs();
  UpdateEditBar();
  editBarRow_->setVisible(book_.ShowEditBar());
}

TWorkbookView::~TWorkbookView() {
  book_.RemoveListener(listener_);
  book_.SetTextMeasurer({});
}

void TWorkbookView::ModelChanged(TChange change) {
  switch (change) {
    case TChange::Cells:
      canvas_->viewport()->update();
      QueueEditBarUpdate();
      break;
    case TChange::Structure:
      canvas_->ClearFontCache();
      RebuildTabs();
      canvas_->SyncScrollBars();
      canvas_->viewport()->update();
      UpdateEditBar();
      break;
    case TChange::Selection:
      canvas_->viewport()->update();
      UpdateEditBar();
      emit OnSelChange();
      break;
    case TChange::CurrentSheet:
      EndEdit(false);
      RebuildTabs();
      canvas_->SyncScrollBars();
      canvas_->viewport()->update();
      UpdateEditBar();
      emit OnSelChange();
      // The protection is the sheet's own: its menu item follows the sheet.
      emit OnTopLeftChanged();
      break;
    case TChange::View:
      canvas_->ClearFontCache();
      editBarRow_->setVisible(book_.ShowEditBar());
      canvas_->SyncScrollBars();
      canvas_->viewport()->update();
      emit OnTopLeftChanged();
      break;
    case TChange::Modified:
      emit OnModified();
      break;
    case TChange::EditRequested:
      StartEdit();
      break;
    case TChange::ShowTab:
      RebuildTabs();
      break;
  }
}

void TWorkbookView::RebuildTabs() {
  rebuildingTabs_ = true;
  while (tabs_->count() > book_.NumSheets()) tabs_->removeTab(tabs_->count() - 1);
  for (int s = 1; s <= book_.NumSheets(); ++s) {
    const QString name = QString::fromStdString(book_.SheetName(s));
    if (s > tabs_->count()) {
      tabs_->addTab(name);
    } else if (tabs_->tabText(s - 1) != name) {
      tabs_->setTabText(s - 1, name);
    }
  }
  tabs_->setCurrentIndex(book_.Sheet() - 1);
  rebuildingTabs_ = false;
}

void TWorkbookView::QueueEditBarUpdate() {
  if (editBarQueued_) return;
  editBarQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    editBarQueued_ = false;
    UpdateEditBar();
  });
}

void TWorkbookView::UpdateEditBar() {
  const QString where = QString::fromStdString(book_.SelectionCount() == 1 && book_.SelectionRange(0).IsSingleCell()
                                                   ? workbook::CellName(book_.Row(), book_.Col())
                                                   : book_.Selection());
  nameBox_->setText(where);
  if (canvas_->Editor() != nullptr) return;  // the editor owns the text now
  const bool hideFormula = book_.EnableProtection() && book_.Protection().Hidden &&
                           book_.CellKind(book_.Row(), book_.Col()) == TCellKind::Formula;
  editBar_->setText(hideFormula ? QString() : QString::fromStdString(book_.Entry(book_.Row(), book_.Col())));
}

void TWorkbookView::CommitEditBar() {
  if (canvas_->Editor() != nullptr) {
    EndEdit(true);
  } else if (!(book_.EnableProtection() && book_.Protection().Locked)) {
    book_.CommitEntry(book_.Row(), book_.Col(), editBar_->text().toStdString());
  }
  canvas_->setFocus();
}

void TWorkbookView::StartEdit(const QString& initial, bool replace) {
  if (canvas_->Editor() != nullptr) return;
  if (book_.EnableProtection() && book_.Protection().Locked) {
    QApplication::beep();
    return;
  }
  ShowActiveCell();
  canvas_->StartEditor(replace ? initial : QString::fromStdString(book_.Entry(book_.Row(), book_.Col())));
}

bool TWorkbookView::IsEditing() const { return canvas_->Editor() != nullptr; }

void TWorkbookView::EndEdit(bool commit) {
  QLineEdit* editor = canvas_->Editor();
  if (editor == nullptr) return;
  const std::string text = editor->text().toStdString();
  const int row = canvas_->EditRow();
  const int col = canvas_->EditCol();
  canvas_->StopEditor();
  if (commit) book_.CommitEntry(row, col, text);
  UpdateEditBar();
}

void TWorkbookView::ShowActiveCell() {
  const workbook::TSheetData& sheet = book_.CurrentSheetData();
  int top = sheet.TopRow;
  int left = sheet.LeftCol;
  const int row = book_.Row();
  const int col = book_.Col();
  if (row > sheet.FixedRows) {
    const int available = canvas_->viewport()->height() - canvas_->CellRect(0, 0).height();
    top = FirstLineShowing(row, top, sheet.FixedRows, available, [this](int r) { return RowPixels(r); });
  }
  if (col > sheet.FixedCols) {
    const int available = canvas_->viewport()->width() - canvas_->CellRect(0, 0).width();
    left = FirstLineShowing(col, left, sheet.FixedCols, available, [this](int c) { return ColumnPixels(c); });
  }
  book_.SetTopLeft(std::max(top, sheet.FixedRows + 1), std::max(left, sheet.FixedCols + 1));
}

void TWorkbookView::Copy() {
  book_.EditCopy();
  QApplication::clipboard()->setText(QString::fromStdString(book_.ClipboardText()));
}

void TWorkbookView::Cut() {
  book_.EditCopy();
  QApplication::clipboard()->setText(QString::fromStdString(book_.ClipboardText()));
  book_.EditCut();
}

void TWorkbookView::Paste() {
  const QString text = QApplication::clipboard()->text();
  if (book_.HasClipboard() && text == QString::fromStdString(book_.ClipboardText())) {
    book_.EditPaste();
  } else if (!text.isEmpty()) {
    book_.PasteText(text.toStdString());
  }
}

int TWorkbookView::ColumnPixels(int col) const {
  if (book_.ColHidden(col)) return 0;
  const double width = book_.ColWidth(col);
  if (width <= 0) return 0;
  return static_cast<int>(std::lround((width * digitPixels_ + 5.0) * book_.ViewScale() / 100.0));
}

int TWorkbookView::RowPixels(int row) const {
  if (book_.RowHidden(row)) return 0;
  return static_cast<int>(std::lround(book_.RowHeight(row) * 96.0 / 72.0 * book_.ViewScale() / 100.0));
}

// ---------------------------------------------------------------- canvas

TSheetCanvas::TSheetCanvas(TWorkbookView& view, workbook::TWorkbook& book)
    : QAbstractScrollArea(&view), view_(view), book_(book) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setSingleStep(1);
}

double TSheetCanvas::Zoom() const { return book_.ViewScale() / 100.0; }

int TSheetCanvas::HeaderHeight() const { return static_cast<int>(std::lround(17.0 * Zoom())) + 2; }

int TSheetCanvas::HeaderWidth() const {
  QFont font = this->font();
  font.setPointSizeF(std::max(4.0, 9.0 * Zoom()));
  const QFontMetrics metrics(font);
  const int last = std::max({book_.LastRow(), book_.Row(), book_.CurrentSheetData().TopRow + 100});
  const int digits = static_cast<int>(std::to_string(last).size());
  return metrics.horizontalAdvance(QString(std::max(3, digits), QChar('0'))) + 10;
}

int TSheetCanvas::FirstScrollRow() const { return book_.FixedRows() + 1; }
int TSheetCanvas::FirstScrollCol() const { return book_.FixedCols() + 1; }

namespace {

// The rows or columns shown along one axis, each with its first pixel: from
// `start`, the fixed ones 1..`fixed`, then the scrolled ones from `scrolled`
// up to `last`, while the pixel is below `extent`.
template <typename Pixels>
std::vector<std::pair<int, int>> VisibleLines(int fixed, int scrolled, int last, int start, int extent, Pixels pixels) {
  std::vector<std::pair<int, int>> lines;
  int at = start;
  for (int i = 1; i <= fixed && at < extent; ++i) {
    lines.emplace_back(i, at);
    at += pixels(i);
  }
  for (int i = scrolled; i <= last && at < extent; ++i) {
    lines.emplace_back(i, at);
    at += pixels(i);
  }
  return lines;
}

// Where one row or column starts (pixel) and how many pixels it takes;
// start -1 when it is not shown.
struct LineSpan {
  int start = -1;
  int size = 0;
};

// The span of `line` among the `visible` lines (line number, first pixel).
template <typename Pixels>
LineSpan SpanAmong(const std::vector<std::pair<int, int>>& visible, int line, Pixels pixels) {
  LineSpan span;
  for (const auto& [l, start] : visible) {
    if (l == line) {
      span.start = start;
      span.size = pixels(l);
    }
  }
  return span;
}

}  // namespace

std::vector<std::pair<int, int>> TSheetCanvas::VisibleRows() const {
  return VisibleLines(book_.FixedRows(), std::max(book_.CurrentSheetData().TopRow, FirstScrollRow()), kMaxRows,
                      HeaderHeight(), viewport()->height(), [this](int r) { return view_.RowPixels(r); });
}

std::vector<std::pair<int, int>> TSheetCanvas::VisibleCols() const {
  return VisibleLines(book_.FixedCols(), std::max(book_.CurrentSheetData().LeftCol, FirstScrollCol()), kMaxCols,
                      HeaderWidth(), viewport()->width(), [this](int c) { return view_.ColumnPixels(c); });
}

QRect TSheetCanvas::CellRect(int row, int col) const {
  if (row == 0 && col == 0) return QRect(0, 0, HeaderWidth(), HeaderHeight());
  const LineSpan across = col == 0 ? LineSpan{0, HeaderWidth()}
                                   : SpanAmong(VisibleCols(), col, [this](int c) { return view_.ColumnPixels(c); });
  const LineSpan down = row == 0 ? LineSpan{0, HeaderHeight()}
                                 : SpanAmong(VisibleRows(), row, [this](int r) { return view_.RowPixels(r); });
  if (across.start < 0 || down.start < 0) return QRect();
  return QRect(across.start, down.start, across.size, down.size);
}

void TSheetCanvas::CellAt(const QPoint& point, int& row, int& col) const {
  row = -1;
  col = -1;
  if (point.y() < HeaderHeight()) {
    row = 0;
  } else {
    for (const auto& [r, top] : VisibleRows()) {
      if (point.y() >= top && point.y() < top + view_.RowPixels(r)) row = r;
    }
  }
  if (point.x() < HeaderWidth()) {
    col = 0;
  } else {
    for (const auto& [c, left] : VisibleCols()) {
      if (point.x() >= left && point.x() < left + view_.ColumnPixels(c)) col = c;
    }
  }
}

const QFont& TSheetCanvas::FontOf(std::uint32_t style) {
  auto it = fonts_.find(style);
  if (it != fonts_.end()) return it->second;
  const workbook::TCellFont& f = book_.Style(style).Font;
  QFont font(QString::fromStdString(f.Face));
  font.setPointSizeF(std::max(1.0, f.Size * Zoom()));
  font.setBold(f.Bold);
  font.setItalic(f.Italic);
  font.setUnderline(f.Underline);
  font.setStrikeOut(f.Strikeout);
  return fonts_.emplace(style, font).first->second;
}

void TSheetCanvas::SyncScrollBars() {
  syncing_ = true;
  const workbook::TSheetData& sheet = book_.CurrentSheetData();
  const int rowsShown = std::max(1, static_cast<int>(VisibleRows().size()) - sheet.FixedRows - 1);
  const int colsShown = std::max(1, static_cast<int>(VisibleCols().size()) - sheet.FixedCols - 1);
  // The scroll range reaches a good way past the used area, as in any
  // spreadsheet, and grows as the user goes further.
  const int lastRow = std::min(kMaxRows, std::max({sheet.LastRow(), sheet.ActiveRow, sheet.TopRow}) + rowsShown + 200);
  const int lastCol = std::min(kMaxCols, std::max({sheet.LastCol(), sheet.ActiveCol, sheet.LeftCol}) + colsShown + 20);
  verticalScrollBar()->setRange(FirstScrollRow(), std::max(FirstScrollRow(), lastRow - rowsShown + 1));
  verticalScrollBar()->setPageStep(rowsShown);
  verticalScrollBar()->setValue(std::max(sheet.TopRow, FirstScrollRow()));
  horizontalScrollBar()->setRange(FirstScrollCol(), std::max(FirstScrollCol(), lastCol - colsShown + 1));
  horizontalScrollBar()->setPageStep(colsShown);
  horizontalScrollBar()->setValue(std::max(sheet.LeftCol, FirstScrollCol()));
  syncing_ = false;
  if (editor_ != nullptr) {
    const QRect rect = CellRect(editRow_, editCol_);
    if (rect.isEmpty()) {
      editor_->hide();
    } else {
      editor_->setGeometry(rect.adjusted(0, 0, std::max(0, 120 - rect.width()), 0));
      editor_->show();
    }
  }
}

void TSheetCanvas::scrollContentsBy(int, int) {
  if (syncing_) return;
  book_.SetTopLeft(verticalScrollBar()->value(), horizontalScrollBar()->value());
}

void TSheetCanvas::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  SyncScrollBars();
}

int TSheetCanvas::CellPadding() const { return std::max(1, static_cast<int>(std::lround(2 * Zoom()))); }

QString TSheetCanvas::CellText(int row, int col, const TCell& cell) const {
  if (book_.ShowFormulas() && cell.Kind == TCellKind::Formula) return QString::fromStdString(book_.Entry(row, col));
  return QString::fromStdString(book_.Text(row, col));
}

QString TSheetCanvas::FitNumber(int row, int col, const TCellStyle& style, QString shown, const QFontMetrics& metrics,
                                int width) const {
  // Numbers never spill: the general form loses digits, other forms show
  // the "####" of a cell too narrow.
  if (style.NumberFormat.empty()) {
    const double value = book_.Number(row, col);
    for (int digits = 14; digits >= 1 && metrics.horizontalAdvance(shown) > width; --digits) {
      shown = QString::fromStdString(workbook::FormatGeneral(value, book_.Locale(), digits));
    }
  }
  if (metrics.horizontalAdvance(shown) > width) {
    shown = QString(std::max(1, width / std::max(1, metrics.horizontalAdvance('#'))), QChar('#'));
  }
  return shown;
}

QString TSheetCanvas::ShownText(int row, int col) {
  const TCell* cell = book_.Cell(row, col);
  if (cell == nullptr || cell->Kind == TCellKind::Empty) return {};
  QString shown = CellText(row, col, *cell);
  const bool numeric =
      cell->Kind == TCellKind::Number || (cell->Kind == TCellKind::Formula && cell->Result == TFormulaResult::Number);
  const QFontMetrics metrics(FontOf(cell->Style));
  const int width = view_.ColumnPixels(col) - 2 * CellPadding();
  if (!numeric || book_.ShowFormulas() || metrics.horizontalAdvance(shown) <= width) return shown;
  return FitNumber(row, col, book_.Style(cell->Style), shown, metrics, width);
}

void TSheetCanvas::PaintCellFill(QPainter& painter, int row, int col, const QRect& rect) {
  const TCell* cell = book_.Cell(row, col);
  if (cell == nullptr) return;
  const TCellStyle& style = book_.Style(cell->Style);
  if (style.Pattern.Pattern == 1) {
    painter.fillRect(rect, ToColor(style.Pattern.Foreground));
  } else if (style.Pattern.Pattern > 1) {
    painter.fillRect(rect, ToColor(style.Pattern.Background));
    painter.fillRect(rect, QBrush(ToColor(style.Pattern.Foreground), PatternBrush(style.Pattern.Pattern)));
  }
}

void TSheetCanvas::PaintCellText(QPainter& painter, const TPaintedRow& painted, int col, int left) {
  const int row = painted.Row;
  const TCell* cell = book_.Cell(row, col);
  if (cell == nullptr || cell->Kind == TCellKind::Empty) return;
  const TCellStyle& style = book_.Style(cell->Style);
  const bool numeric =
      cell->Kind == TCellKind::Number || (cell->Kind == TCellKind::Formula && cell->Result == TFormulaResult::Number);
  const QFont& font = FontOf(cell->Style);
  painter.setFont(font);
  painter.setPen(ToColor(style.Font.Color));
  const QFontMetrics metrics(font);
  TCellTextInput input;
  input.Text = CellText(row, col, *cell);
  if (cell->Kind == TCellKind::Formula && cell->Result == TFormulaResult::Error)
    input.General = Qt::AlignHCenter;
  else
    input.General = numeric && !book_.ShowFormulas() ? Qt::AlignRight : Qt::AlignLeft;
  if (numeric && !book_.ShowFormulas()) {
    input.FitNumber = [this, row, col, &style, &metrics](const QString& text, double width) {
      return FitNumber(row, col, style, text, metrics, static_cast<int>(width));
    };
  }
  const TCellText laid = LayOutCellText(painted, col, left, input, QFontMetricsF(font));
  if (style.Alignment.Orientation == 0) {
    DrawCellText(painter, laid);
    return;
  }
  DrawTurnedCellText(painter, QRectF(left, painted.Top, view_.ColumnPixels(col), painted.Height), painted.Padding,
                     style.Alignment.Orientation, input.Text);
}

void TSheetCanvas::PaintCellBorders(QPainter& painter, int row, int col, const QRect& rect) {
  const TCell* cell = book_.Cell(row, col);
  if (cell == nullptr) return;
  const workbook::TBorders& b = book_.Style(cell->Style).Borders;
  DrawBorder(painter, b.Top, rect.topLeft(), rect.topRight(), true);
  DrawBorder(painter, b.Bottom, rect.bottomLeft(), rect.bottomRight(), true);
  DrawBorder(painter, b.Left, rect.topLeft(), rect.bottomLeft(), false);
  DrawBorder(painter, b.Right, rect.topRight(), rect.bottomRight(), false);
}

void TSheetCanvas::PaintRowTexts(QPainter& painter, int row, int top, const std::vector<std::pair<int, int>>& cols) {
  const int fixedCols = book_.FixedCols();
  int scrollLeft = HeaderWidth();
  for (const auto& [c, left] : cols) {
    if (c <= fixedCols) scrollLeft = left + view_.ColumnPixels(c);
  }
  TPaintedRow painted{book_,
                      book_.Sheet(),
                      row,
                      [this](int c) { return double(view_.ColumnPixels(c)); },
                      double(top),
                      double(view_.RowPixels(row)),
                      double(CellPadding())};
  painted.NumbersRunOn = book_.ShowFormulas();
  // A text shown over the first or last scrolling column from a cell out of
  // sight beside it.
  const auto textWidth = [this, row](int c) {
    const TCell* cell = book_.Cell(row, c);
    return cell == nullptr ? 0.0 : QFontMetricsF(FontOf(cell->Style)).horizontalAdvance(CellText(row, c, *cell));
  };
  const auto fromOutOfSight = [&](int c, int left, int direction) {
    const std::optional<int> from =
        workbook::TextReaching(book_, book_.Sheet(), row, c, direction, TextRoom(painted), textWidth);
    if (!from || *from <= fixedCols) return;
    int fromLeft = left;
    for (int k = *from; k < c; ++k) fromLeft -= view_.ColumnPixels(k);
    for (int k = c; k < *from; ++k) fromLeft += view_.ColumnPixels(k);
    PaintCellText(painter, painted, *from, fromLeft);
  };
  bool first = true;
  for (const auto& [c, left] : cols) {
    if (view_.ColumnPixels(c) == 0) continue;
    const bool frozen = c <= fixedCols;
    painted.PaneLeft = frozen ? HeaderWidth() : scrollLeft;
    painted.PaneRight = frozen ? scrollLeft : viewport()->width();
    if (!frozen && first) {
      first = false;
      fromOutOfSight(c, left, -1);
    }
    PaintCellText(painter, painted, c, left);
  }
  if (!first) fromOutOfSight(cols.back().first, cols.back().second, 1);
}

void TSheetCanvas::PaintCells(QPainter& painter, const std::vector<std::pair<int, int>>& rows,
                              const std::vector<std::pair<int, int>>& cols) {
  // The cells' fills first, then their texts, which may reach over the
  // fills of their neighbours, then the borders.
  for (const auto& [r, top] : rows) {
    const int height = view_.RowPixels(r);
    if (height == 0) continue;
    for (const auto& [c, left] : cols) {
      if (view_.ColumnPixels(c) > 0) PaintCellFill(painter, r, c, QRect(left, top, view_.ColumnPixels(c), height));
    }
  }
  for (const auto& [r, top] : rows) {
    if (view_.RowPixels(r) > 0) PaintRowTexts(painter, r, top, cols);
  }
  for (const auto& [r, top] : rows) {
    const int height = view_.RowPixels(r);
    if (height == 0) continue;
    for (const auto& [c, left] : cols) {
      if (view_.ColumnPixels(c) > 0) PaintCellBorders(painter, r, c, QRect(left, top, view_.ColumnPixels(c), height));
    }
  }
}

void TSheetCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), Qt::white);
  const auto rows = VisibleRows();
  const auto cols = VisibleCols();
  const int headerWidth = HeaderWidth();
  const int headerHeight = HeaderHeight();
  const workbook::TSheetData& sheet = book_.CurrentSheetData();
  const int right = cols.empty() ? headerWidth : cols.back().second + view_.ColumnPixels(cols.back().first);
  const int bottom = rows.empty() ? headerHeight : rows.back().second + view_.RowPixels(rows.back().first);

  // Grid lines first; cells paint their fills over them.
  if (book_.ShowGridLines()) {
    painter.setPen(kGridColor);
    for (const auto& [c, left] : cols) {
      const int x = left + view_.ColumnPixels(c) - 1;
      painter.drawLine(x, headerHeight, x, bottom);
    }
    for (const auto& [r, top] : rows) {
      const int y = top + view_.RowPixels(r) - 1;
      painter.drawLine(headerWidth, y, right, y);
    }
  }
  PaintCells(painter, rows, cols);

  // Selection: shaded ranges and the frame of the active cell.
  if (book_.ShowSelections()) {
    for (const TRange& range : sheet.Selection) {
      QRect area;
      for (const auto& [r, top] : rows) {
        if (r < range.Row1 || r > range.Row2) continue;
        for (const auto& [c, left] : cols) {
          if (c < range.Col1 || c > range.Col2) continue;
          area = area.united(QRect(left, top, view_.ColumnPixels(c), view_.RowPixels(r)));
        }
      }
      if (area.isEmpty()) continue;
      if (!range.IsSingleCell()) painter.fillRect(area, kSelectionColor);
      if (sheet.Selection.size() == 1) {
        painter.setPen(QPen(kActiveColor, 1));
        painter.drawRect(area.adjusted(0, 0, -1, -1));
      }
    }
    const QRect active = CellRect(sheet.ActiveRow, sheet.ActiveCol);
    if (!active.isEmpty()) {
      painter.setPen(QPen(kActiveColor, 2));
      painter.drawRect(active.adjusted(1, 1, -1, -1));
    }
  }

  // Headers.
  QFont headerFont = font();
  headerFont.setPointSizeF(std::max(4.0, 9.0 * Zoom()));
  painter.setFont(headerFont);
  auto selectedCol = [&](int c) {
    for (const TRange& range : sheet.Selection) {
      if (c >= range.Col1 && c <= range.Col2) return true;
    }
    return false;
  };
  auto selectedRow = [&](int r) {
    for (const TRange& range : sheet.Selection) {
      if (r >= range.Row1 && r <= range.Row2) return true;
    }
    return false;
  };
  painter.fillRect(QRect(0, 0, viewport()->width(), headerHeight), kHeaderColor);
  painter.fillRect(QRect(0, 0, headerWidth, viewport()->height()), kHeaderColor);
  for (const auto& [c, left] : cols) {
    const int width = view_.ColumnPixels(c);
    if (width == 0) continue;
    const QRect rect(left, 0, width, headerHeight);
    if (selectedCol(c)) painter.fillRect(rect, kHeaderSelectedColor);
    painter.setPen(Qt::gray);
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.setPen(Qt::black);
    painter.drawText(rect, Qt::AlignCenter, QString::fromStdString(workbook::ColumnLetters(c)));
  }
  for (const auto& [r, top] : rows) {
    const int height = view_.RowPixels(r);
    if (height == 0) continue;
    const QRect rect(0, top, headerWidth, height);
    if (selectedRow(r)) painter.fillRect(rect, kHeaderSelectedColor);
    painter.setPen(Qt::gray);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.setPen(Qt::black);
    painter.drawText(rect.adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, QString::number(r));
  }
  painter.setPen(Qt::gray);
  painter.drawLine(0, headerHeight - 1, viewport()->width(), headerHeight - 1);
  painter.drawLine(headerWidth - 1, 0, headerWidth - 1, viewport()->height());
  // Frozen panes end at a darker line.
  painter.setPen(QPen(Qt::darkGray, 1));
  if (sheet.FixedRows > 0 && static_cast<int>(rows.size()) > sheet.FixedRows) {
    const int y = rows[sheet.FixedRows].second - 1;
    painter.drawLine(0, y, viewport()->width(), y);
  }
  if (sheet.FixedCols > 0 && static_cast<int>(cols.size()) > sheet.FixedCols) {
    const int x = cols[sheet.FixedCols].second - 1;
    painter.drawLine(x, 0, x, viewport()->height());
  }
}

void TSheetCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  view_.EndEdit(true);
  setFocus();
  int row = 0;
  int col = 0;
  CellAt(event->position().toPoint(), row, col);
  if (row < 0 || col < 0) return;
  const bool extend = (event->modifiers() & Qt::ShiftModifier) != 0;
  additive_ = (event->modifiers() & Qt::ControlModifier) != 0;
  if (row == 0 && col == 0) {
    book_.SetSelection(-1, -1, -1, -1);
    drag_ = TDrag::None;
    return;
  }
  if (row == 0) {
    drag_ = TDrag::Cols;
    if (!extend) anchorCol_ = col;
    if (additive_)
      book_.AddSelection(-1, anchorCol_, -1, col);
    else
      book_.SetSelection(-1, anchorCol_, -1, col);
    return;
  }
  if (col == 0) {
    drag_ = TDrag::Rows;
    if (!extend) anchorRow_ = row;
    if (additive_)
      book_.AddSelection(anchorRow_, -1, row, -1);
    else
      book_.SetSelection(anchorRow_, -1, row, -1);
    return;
  }
  drag_ = TDrag::Cells;
  if (extend) {
    book_.SetSelection(anchorRow_, anchorCol_, row, col);
  } else if (additive_) {
    anchorRow_ = row;
    anchorCol_ = col;
    book_.AddSelection(row, col, row, col);
  } else {
    anchorRow_ = row;
    anchorCol_ = col;
    book_.SetActiveCell(row, col);
  }
}

void TSheetCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (drag_ == TDrag::None || !(event->buttons() & Qt::LeftButton)) return;
  int row = 0;
  int col = 0;
  CellAt(event->position().toPoint(), row, col);
  TRange dragged;
  if (drag_ == TDrag::Cells && row >= 1 && col >= 1) {
    dragged = TRange{std::min(anchorRow_, row), std::min(anchorCol_, col), std::max(anchorRow_, row),
                     std::max(anchorCol_, col)};
  } else if (drag_ == TDrag::Rows && row >= 1) {
    dragged = TRange{std::min(anchorRow_, row), 1, std::max(anchorRow_, row), kMaxCols};
  } else if (drag_ == TDrag::Cols && col >= 1) {
    dragged = TRange{1, std::min(anchorCol_, col), kMaxRows, std::max(anchorCol_, col)};
  } else {
    return;
  }
  // The range being dragged is the last one; the active cell stays where
  // the drag began.
  std::vector<TRange> ranges = book_.CurrentSheetData().Selection;
  if (additive_) {
    ranges.back() = dragged;
  } else {
    ranges = {dragged};
  }
  book_.SetSelectionRanges(ranges, drag_ == TDrag::Cols ? 1 : anchorRow_, drag_ == TDrag::Rows ? 1 : anchorCol_);
}

void TSheetCanvas::mouseReleaseEvent(QMouseEvent*) { drag_ = TDrag::None; }

void TSheetCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  int row = 0;
  int col = 0;
  CellAt(event->position().toPoint(), row, col);
  if (row < 0 || col < 0) return;
  emit view_.OnDblClick(row, col);
  if (row >= 1 && col >= 1 && !view_.IsEditing()) view_.StartEdit();
}

void TSheetCanvas::MoveActive(int dRow, int dCol, bool extend) {
  const workbook::TSheetData& sheet = book_.CurrentSheetData();
  if (extend) {
    // The far corner of the selection moves; the active cell stays.
    const TRange range = sheet.Selection.back();
    int farRow = range.Row1 == sheet.ActiveRow ? range.Row2 : range.Row1;
    int farCol = range.Col1 == sheet.ActiveCol ? range.Col2 : range.Col1;
    farRow = std::clamp(farRow + dRow, 1, kMaxRows);
    farCol = std::clamp(farCol + dCol, 1, kMaxCols);
    const int activeRow = sheet.ActiveRow;
    const int activeCol = sheet.ActiveCol;
    book_.SetSelection(activeRow, activeCol, farRow, farCol);
    book_.SetActiveCell(activeRow, activeCol, true);
  } else {
    book_.SetActiveCell(std::clamp(sheet.ActiveRow + dRow, 1, kMaxRows),
                        std::clamp(sheet.ActiveCol + dCol, 1, kMaxCols));
    anchorRow_ = book_.Row();
    anchorCol_ = book_.Col();
  }
  view_.ShowActiveCell();
}

void TSheetCanvas::keyPressEvent(QKeyEvent* event) {
  const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
  const bool control = (event->modifiers() & Qt::ControlModifier) != 0;
  const int page = std::max(1, static_cast<int>(VisibleRows().size()) - book_.FixedRows() - 2);
  switch (event->key()) {
    case Qt::Key_Up:
      MoveActive(-1, 0, shift);
      return;
    case Qt::Key_Down:
      MoveActive(1, 0, shift);
      return;
    case Qt::Key_Left:
      MoveActive(0, -1, shift);
      return;
    case Qt::Key_Right:
      MoveActive(0, 1, shift);
      return;
    case Qt::Key_PageUp:
      if (!control)
        MoveActive(-page, 0, shift);
      else
        event->ignore();
      return;
    case Qt::Key_PageDown:
      if (!control)
        MoveActive(page, 0, shift);
      else
        event->ignore();
      return;
    case Qt::Key_Home:
      if (control)
        book_.SetActiveCell(1, 1);
      else
        book_.SetActiveCell(book_.Row(), 1);
      view_.ShowActiveCell();
      return;
    case Qt::Key_End:
      if (control) {
        book_.SetActiveCell(std::max(1, book_.LastRow()), std::max(1, book_.LastCol()));
        view_.ShowActiveCell();
      }
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      MoveActive(shift ? -1 : 1, 0, false);
      return;
    case Qt::Key_Tab:
      MoveActive(0, 1, false);
      return;
    case Qt::Key_Backtab:
      MoveActive(0, -1, false);
      return;
    case Qt::Key_F2:
      view_.StartEdit();
      return;
    case Qt::Key_Delete:
      if (!(book_.EnableProtection() && book_.Protection().Locked)) book_.EditClear(3);
      return;
    default:
      break;
  }
  if (control && event->key() == Qt::Key_A) {
    book_.SetSelection(-1, -1, -1, -1);
    return;
  }
  if (control && event->key() == Qt::Key_C) {
    view_.Copy();
    return;
  }
  if (control && event->key() == Qt::Key_X) {
    view_.Cut();
    return;
  }
  if (control && event->key() == Qt::Key_V) {
    view_.Paste();
    return;
  }
  const QString text = event->text();
  if (!control && !text.isEmpty() && text.at(0).isPrint()) {
    view_.StartEdit(text, true);
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void TSheetCanvas::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 40;  // three rows a notch
  if (steps == 0) return;
  const workbook::TSheetData& sheet = book_.CurrentSheetData();
  book_.SetTopLeft(std::clamp(sheet.TopRow - steps, FirstScrollRow(), kMaxRows), sheet.LeftCol);
}

void TSheetCanvas::StartEditor(const QString& text) {
  StopEditor();
  editRow_ = book_.Row();
  editCol_ = book_.Col();
  editor_ = new QLineEdit(viewport());
  editor_->setFrame(false);
  editor_->setFont(FontOf(book_.Cell(editRow_, editCol_) ? book_.Cell(editRow_, editCol_)->Style : 0));
  editor_->setText(text);
  editor_->installEventFilter(this);
  connect(editor_, &QLineEdit::textEdited, &view_, [this](const QString& t) { view_.EditBar()->setText(t); });
  view_.EditBar()->setText(text);
  SyncScrollBars();
  editor_->show();
  editor_->setFocus();
}

void TSheetCanvas::StopEditor() {
  if (editor_ == nullptr) return;
  QLineEdit* editor = editor_;
  editor_ = nullptr;
  editor->removeEventFilter(this);
  editor->hide();
  editor->deleteLater();
  setFocus();
}

bool TSheetCanvas::eventFilter(QObject* object, QEvent* event) {
  if (object == editor_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Escape:
        view_.EndEdit(false);
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        view_.EndEdit(true);
        MoveActive((key->modifiers() & Qt::ShiftModifier) ? -1 : 1, 0, false);
        return true;
      case Qt::Key_Tab:
        view_.EndEdit(true);
        MoveActive(0, 1, false);
        return true;
      case Qt::Key_Up:
      case Qt::Key_Down:
        view_.EndEdit(true);
        MoveActive(key->key() == Qt::Key_Up ? -1 : 1, 0, false);
        return true;
      default:
        break;
    }
  }
  return QAbstractScrollArea::eventFilter(object, event);
}

}  // namespace kvx
