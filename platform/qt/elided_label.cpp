#include "platform/qt/elided_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace kvx {

TElidedLabel::TElidedLabel(QWidget* parent, Qt::TextElideMode mode) : QLabel(parent), mode_(mode) {
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
}

void TElidedLabel::SetWholeText(const QString& text) {
  setText(text);
  UpdateToolTip();
}

int TElidedLabel::TextWidth() const { return std::max(0, contentsRect().width() - 2 * std::max(0, margin())); }

QString TElidedLabel::ShownText() const { return fontMetrics().elidedText(text(), mode_, TextWidth()); }

QSize TElidedLabel::minimumSizeHint() const {
  const QSize whole = QLabel::minimumSizeHint();
  const int frame = 2 * frameWidth() + 2 * std::max(0, margin());
  return {std::min(whole.width(), fontMetrics().horizontalAdvance(QLatin1Char('x')) * 4 + frame), whole.height()};
}

QSize TElidedLabel::sizeHint() const { return {minimumSizeHint().width(), QLabel::sizeHint().height()}; }

void TElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  drawFrame(&painter);
  const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
  style()->drawItemText(&painter, room, static_cast<int>(alignment()) | Qt::TextSingleLine, palette(), isEnabled(),
                        ShownText(), foregroundRole());
}

void TElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  UpdateToolTip();
}

void TElidedLabel::UpdateToolTip() { setToolTip(ShownText() != text() ? text() : QString()); }

}  // namespace kvx
