// A box for a decimal number (a page margin) that takes the decimal mark a
// user types by habit: '.' and ',' both stand for the decimal mark of the
// box's locale. A plain box reads the other mark as grouping, or drops the
// key, so that "2.5" typed on a French or German desktop became 25, and
// "1,5" on a Swiss or US one 15. The box shows no grouping, so neither mark
// is needed as one.
#pragma once

#include <QDoubleSpinBox>

namespace kvx {

class TDecimalBox : public QDoubleSpinBox {
  Q_OBJECT

 public:
  using QDoubleSpinBox::QDoubleSpinBox;

  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 private:
  // Puts the locale's decimal mark for every '.' and ',' between the
  // prefix and the suffix.
  void TakeEitherMark(QString& input) const;
};

}  // namespace kvx
