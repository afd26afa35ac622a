#include "platform/qt/decimal_box.h"

namespace kvx {

void TDecimalBox::TakeEitherMark(QString& input) const {
  const QString mark = locale().decimalPoint();
  if (mark.size() != 1) return;
  const qsizetype begin = input.startsWith(prefix()) ? prefix().size() : 0;
  const qsizetype end = input.endsWith(suffix()) ? input.size() - suffix().size() : input.size();
  for (qsizetype at = begin; at < end; ++at) {
    if (input[at] == QLatin1Char('.') || input[at] == QLatin1Char(',')) input[at] = mark[0];
  }
}

QValidator::State TDecimalBox::validate(QString& input, int& pos) const {
  TakeEitherMark(input);
  return QDoubleSpinBox::validate(input, pos);
}

void TDecimalBox::fixup(QString& input) const {
  TakeEitherMark(input);
  QDoubleSpinBox::fixup(input);
}

}  // namespace kvx
