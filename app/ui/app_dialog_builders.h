// A titled group of radio buttons for the dialogs of the application,
// beside NewNamed of the platform's widget helpers. It creates the widgets
// in the order a dialog's own code would, so the window looks and tabs the
// same.
#pragma once

#include <QGroupBox>
#include <QRadioButton>
#include <QString>
#include <initializer_list>

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

}  // namespace kvx
