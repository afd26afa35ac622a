#include "platform/qt/dialog_buttons.h"

#include <QAbstractButton>

#include "platform/globals.h"

namespace kvx {

void SetCancelCaptionGerman(QAbstractButton* button) {
  if (button != nullptr) button->setText(QStringLiteral("&Abbrechen"));
}

void SetCancelCaptionEnglish(QAbstractButton* button) {
  if (button != nullptr) button->setText(QStringLiteral("&Cancel"));
}

void ShowHelpButtonGerman(QAbstractButton* button) {
  if (button == nullptr) return;
  button->setText(QStringLiteral("&Hilfe"));
  button->setVisible(true);
}

void HideHelpButtonEnglish(QAbstractButton* button) {
  if (button != nullptr) button->setVisible(false);
}

void ApplyDialogButtonLanguage(QAbstractButton* cancel, QAbstractButton* help) {
  if (LanguageEnglish != 0) {
    SetCancelCaptionEnglish(cancel);
    HideHelpButtonEnglish(help);
  } else {
    SetCancelCaptionGerman(cancel);
    ShowHelpButtonGerman(help);
  }
}

}  // namespace kvx
