#include "platform/qt/cell_painting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace kvx {

namespace {

constexpr int kFill = 5;
constexpr int kJustify = 6;
constexpr int kCentreAcross = 7;

int HorizontalFlag(int code, int general) {
  switch (code) {
    case 2:
    case kFill:
      return Qt::AlignLeft;
    case 3:
    case kCentreAcross:
      return Qt::AlignHCenter;
    case 4:
      return Qt::AlignRight;
    case kJustify:
      return Qt::AlignLeft;
    default:
      return general;
  }
}

int VerticalFlag(int code) {
  if (code == 1) return Qt::AlignTop;
  return code == 2 ? Qt::AlignVCenter : Qt::AlignBottom;
}

}  // namespace

TCellText LayOutCellText(const TPaintedRow& row, int col, double left, const TCellTextInput& input,
                         const QFontMetricsF& metrics) {
  const workbook::TAlignment& alignment = row.Book.StyleAt(row.Sheet, row.Row, col).Alignment;
  TCellText out;
  out.Text = input.Text;
  out.Flags = HorizontalFlag(alignment.Horizontal, input.General) | VerticalFlag(alignment.Vertical);
  if (workbook::TWorkbook::Wraps(alignment)) {
    for (const std::string& line : row.Book.WrappedLines(row.Sheet, row.Row, col, input.Text.toStdString()))
      out.Lines << QString::fromStdString(line);
    out.Justified = alignment.Horizontal == kJustify;
    // The pitch of the optimal row height, in the painter's units.
    const double points = row.Book.SheetData(row.Sheet).RowHeight(row.Row);
    const double fontPoints = row.Book.StyleAt(row.Sheet, row.Row, col).Font.Size;
    out.LinePitch = points > 0 ? fontPoints * workbook::TWorkbook::kLinePitch * row.Height / points : row.Height;
  }
  // The cells the text is shown across, by the rule the print area follows.
  const double needed = metrics.horizontalAdvance(out.Text);
  const workbook::TTextSpan span = workbook::TextSpan(row.Book, row.Sheet, row.Row, col, needed, TextRoom(row));
  double textLeft = left;
  double right = left + row.ColumnWidth(col);
  for (int c = span.First; c < col; ++c) textLeft -= row.ColumnWidth(c);
  for (int c = col + 1; c <= span.Last; ++c) right += row.ColumnWidth(c);
  out.Rect = QRectF(textLeft + row.Padding, row.Top, std::max(0.0, right - textLeft - 2 * row.Padding), row.Height);
  if (input.FitNumber && needed > out.Rect.width()) {
    out.Text = input.FitNumber(out.Text, out.Rect.width());
  } else if (alignment.Horizontal == kFill && needed > 0) {
    out.Text = out.Text.repeated(std::max(1, static_cast<int>(out.Rect.width() / needed)));
  }
  // Lines the painter's fonts make wider than the cell (a printer's beside
  // the screen's) break again where the painted width ends, so that no
  // word is cut and words keep their spaces.
  const auto tooWide = [&](const QString& line) {
    return line.contains(' ') && metrics.horizontalAdvance(line) > out.Rect.width();
  };
  if (std::any_of(out.Lines.begin(), out.Lines.end(), tooWide)) {
    out.Lines.clear();
    const auto measure = [&metrics](const std::string& line) {
      return metrics.horizontalAdvance(QString::fromStdString(line));
    };
    for (const std::string& line : workbook::WrapText(input.Text.toStdString(), out.Rect.width(), measure))
      out.Lines << QString::fromStdString(line);
  }
  const double clipLeft = std::max(row.PaneLeft, out.Rect.left() - row.Padding);
  const double clipRight = std::min(row.PaneRight, out.Rect.right() + row.Padding);
  out.Clip = QRectF(clipLeft, row.Top, std::max(0.0, clipRight - clipLeft), row.Height);
  return out;
}

void DrawCellText(QPainter& painter, const TCellText& text) {
  if (text.Clip.isEmpty()) return;
  painter.save();
  painter.setClipRect(text.Clip);
  if (text.Lines.isEmpty()) {
    painter.drawText(text.Rect, text.Flags, text.Text);
    painter.restore();
    return;
  }
  const QFontMetricsF metrics(painter.font(), painter.device());
  const double lineHeight = text.LinePitch;
  const double block = lineHeight * static_cast<double>(text.Lines.size());
  double y = text.Rect.top();
  if (text.Flags & Qt::AlignBottom) y = text.Rect.bottom() - block;
  if (text.Flags & Qt::AlignVCenter) y = text.Rect.center().y() - block / 2;
  const int horizontal = text.Flags & Qt::AlignHorizontal_Mask;
  for (qsizetype i = 0; i < text.Lines.size(); ++i, y += lineHeight) {
    const QRectF lineRect(text.Rect.left(), y, text.Rect.width(), lineHeight);
    const QStringList words = text.Lines[i].split(' ', Qt::SkipEmptyParts);
    if (!text.Justified || i + 1 == text.Lines.size() || words.size() < 2) {
      painter.drawText(lineRect, horizontal | Qt::AlignVCenter, text.Lines[i]);
      continue;
    }
    // The words from edge to edge, the room left shared by the gaps.
    double used = 0.0;
    for (const QString& word : words) used += metrics.horizontalAdvance(word);
    const double gap = std::max(0.0, (lineRect.width() - used) / static_cast<double>(words.size() - 1));
    double x = lineRect.left();
    for (const QString& word : words) {
      painter.drawText(QRectF(x, y, lineRect.right() - x, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, word);
      x += metrics.horizontalAdvance(word) + gap;
    }
  }
  painter.restore();
}

Qt::BrushStyle PatternBrush(int pattern) {
  switch (pattern) {
    case 2:
      return Qt::Dense3Pattern;  // medium grey
    case 3:
      return Qt::Dense2Pattern;  // dark grey
    case 4:
      return Qt::Dense5Pattern;  // light grey
    case 5:
      return Qt::HorPattern;
    case 6:
      return Qt::VerPattern;
    case 7:
      return Qt::BDiagPattern;
    case 8:
      return Qt::FDiagPattern;
    case 9:
      return Qt::CrossPattern;
    case 10:
      return Qt::DiagCrossPattern;
    case 11:
      return Qt::HorPattern;
    case 12:
      return Qt::VerPattern;
    case 13:
      return Qt::BDiagPattern;
    case 14:
      return Qt::FDiagPattern;
    case 15:
      return Qt::CrossPattern;
    case 16:
      return Qt::DiagCrossPattern;
    case 17:
      return Qt::Dense6Pattern;
    default:
      return Qt::Dense7Pattern;
  }
}

void DrawTurnedCellText(QPainter& painter, const QRectF& cell, double padding, int orientation, const QString& text) {
  const QRectF textRect = cell.adjusted(padding, 0, -padding, 0);
  painter.save();
  painter.setClipRect(cell);
  if (orientation == 2 || orientation == 3) {
    painter.translate(textRect.center());
    painter.rotate(orientation == 2 ? -90 : 90);
    const QRectF turned(-textRect.height() / 2, -textRect.width() / 2, textRect.height(), textRect.width());
    painter.drawText(turned, Qt::AlignCenter, text);
  } else {
    QString stacked;
    for (int i = 0; i < text.size(); ++i) stacked += text.mid(i, 1) + (i + 1 < text.size() ? "\n" : "");
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop, stacked);
  }
  painter.restore();
}

workbook::TTextRoom TextRoom(const TPaintedRow& row) { return {row.ColumnWidth, row.Padding, row.NumbersRunOn}; }

}  // namespace kvx
