// The language of the standard buttons of a dialog, set from its show
// handler: the cancel button's caption, and the help button, shown with
// its German caption and hidden in English (there is no English help).
#pragma once

class QAbstractButton;

namespace kvx {

void SetCancelCaptionGerman(QAbstractButton* button);   // "&Abbrechen"
void SetCancelCaptionEnglish(QAbstractButton* button);  // "&Cancel"
void ShowHelpButtonGerman(QAbstractButton* button);     // "&Hilfe", visible
void HideHelpButtonEnglish(QAbstractButton* button);    // hidden

// Both routines chosen by LanguageEnglish; either button may be null.
void ApplyDialogButtonLanguage(QAbstractButton* cancel, QAbstractButton* help);

}  // namespace kvx
