// Small builders shared by the dialogs of the application, beside NewNamed
// of the platform's widget helpers: a titled group of radio buttons, and a
// list's lines as text. They create widgets in the order a dialog's own code would, so
// the window looks and tabs the same.
#pragma once

#include <QGroupBox>
#include <QListWidget>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/qt/named_widgets.h"

namespace kvx {

// One radio button of a group: where the new button goes, and its text.
struct TRadioChoice {
  QRadioButton** Button;
  QString Text;
};

// A new group box titled `title` with a `Layout` (a box layout) that holds
// one radio button per choice, in order; each button is the box's child.
template <typename Layout>
QGroupBox* NewRadioGroup(const QString& title, QWidget* parent, std::initializer_list<TRadioChoice> choices) {
  auto* box = new QGroupBox(title, parent);
  auto* layout = new Layout(box);
  for (const TRadioChoice& choice : choices) *choice.Button = new QRadioButton(choice.Text, box);
  for (const TRadioChoice& choice : choices) layout->addWidget(*choice.Button);
  return box;
}

// The lines of `list` as they are shown, UTF-8, top to bottom.
inline std::vector<std::string> ListLines(const QListWidget& list) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(list.count()));
  for (int i = 0; i < list.count(); ++i) lines.push_back(list.item(i)->text().toStdString());
  return lines;
}

// `lines` (UTF-8) as Qt strings, for QListWidget::addItems.
inline QStringList ListItemTexts(const std::vector<std::string>& lines) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) texts.push_back(QString::fromStdString(line));
  return texts;
}

}  // namespace kvx
