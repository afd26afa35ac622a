#include "platform/qt/dialog_rows.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QLabel>

#include "platform/globals.h"

namespace kvx {

void ApplyCaptions(QWidget& root, std::span<const TCaption> captions) {
  for (const TCaption& c : captions) {
    QWidget* w = root.findChild<QWidget*>(c.Name);
    const QString text = QString::fromUtf8(ByLanguage(c.German, c.English));
    if (auto* label = qobject_cast<QLabel*>(w))
      label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
      button->setText(text);
  }
}

QLabel* AddCaptionedField(QGridLayout* grid, int row, int column, const QString& caption, QWidget* field) {
  auto* label = new QLabel(caption, grid->parentWidget() != nullptr ? grid->parentWidget() : field->parentWidget());
  grid->addWidget(label, row, column);
  grid->addWidget(field, row, column + 1);
  return label;
}

QLabel* AddLabelledRow(QGridLayout* grid, int row, const char* labelName, QWidget* field) {
  QLabel* label = AddCaptionedField(grid, row, 0, QString(), field);
  label->setObjectName(labelName);
  label->setBuddy(field);
  return label;
}

}  // namespace kvx
