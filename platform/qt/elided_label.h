// A one-line label for a text that may be longer than the room it gets (the
// status line's hint, a file's path): the text it holds stays whole, the
// text it paints is cut with "…" where it does not fit (at the right, or
// where `mode` says: a path keeps its file name when cut in the middle), and
// while it is cut the tooltip shows it whole. It asks for no more width than
// a few characters, so a long text never pushes its neighbours aside.
#pragma once

#include <QLabel>

namespace kvx {

class TElidedLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TElidedLabel(QWidget* parent = nullptr, Qt::TextElideMode mode = Qt::ElideRight);

  // Replaces the text (plain text, one line); the tooltip follows.
  void SetWholeText(const QString& text);
  // The text as painted at the label's present width.
  QString ShownText() const;

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateToolTip();
  int TextWidth() const;

  Qt::TextElideMode mode_;
};

}  // namespace kvx
