#include "platform/qt/named_widgets.h"

#include <QSpinBox>

namespace kvx {

QSpinBox* NewSpinBox(QWidget* parent, const char* name, int lowest, int highest) {
  auto* box = NewNamed<QSpinBox>(name, parent);
  box->setRange(lowest, highest);
  return box;
}

}  // namespace kvx
