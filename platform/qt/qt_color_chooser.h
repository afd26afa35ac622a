// The colour dialog shown with QColorDialog.
#pragma once

#include <QColor>
#include <QWidget>

#include "platform/color_chooser.h"

namespace kvx {

// 0x00BBGGRR and back.
QColor ColorFromStored(std::int32_t color);
std::int32_t StoredFromColor(const QColor& color);

class QtColorChooser : public ColorChooser {
 public:
  explicit QtColorChooser(QWidget* parent) : parent_(parent) {}
  bool Choose(std::int32_t& color) override;

 private:
  QWidget* parent_;
};

}  // namespace kvx
