#include "platform/qt/qt_color_chooser.h"

#include <QColorDialog>

namespace kvx {

QColor ColorFromStored(std::int32_t color) {
  const auto bits = static_cast<std::uint32_t>(color);
  return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                static_cast<int>((bits >> 16) & 0xFF));
}

std::int32_t StoredFromColor(const QColor& color) {
  const std::uint32_t bits = static_cast<std::uint32_t>(color.red()) |
                             (static_cast<std::uint32_t>(color.green()) << 8) |
                             (static_cast<std::uint32_t>(color.blue()) << 16);
  return static_cast<std::int32_t>(bits);
}

bool QtColorChooser::Choose(std::int32_t& color) {
  const QColor chosen = QColorDialog::getColor(ColorFromStored(color), parent_);
  if (!chosen.isValid()) return false;
  color = StoredFromColor(chosen);
  return true;
}

}  // namespace kvx
