// The language of the standard buttons of a dialog, set from its show
// handler: the cancel button's caption, and the help button, shown with
// its German caption and hidden in English (there is no English help).
#pragma once

#include <QString>

class QAbstractButton;
class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace kvx {

void SetCancelCaptionGerman(QAbstractButton* button);   // "&Abbrechen"
void SetCancelCaptionEnglish(QAbstractButton* button);  // "&Cancel"
void ShowHelpButtonGerman(QAbstractButton* button);     // "&Hilfe", visible
void HideHelpButtonEnglish(QAbstractButton* button);    // hidden

// Both routines chosen by LanguageEnglish; either button may be null.
void ApplyDialogButtonLanguage(QAbstractButton* cancel, QAbstractButton* help);

// The help topic of a dialog (platform/help.h): kept in the dialog's
// property "helpContext", which F1 in the running dialog opens (the help
// viewer's key filter); `help`, when given, opens it too.
inline constexpr const char* kHelpContextProperty = "helpContext";
void SetHelpContext(QWidget* dialog, int topic, QAbstractButton* help = nullptr);

// A push button with `caption`, child of `parent`, named `name`.
QPushButton* NamedButton(QWidget* parent, const QString& caption, const char* name);

// The foot row of a dialog: a stretch, then the OK button with `okText` (the
// default button) and a cancel button with `cancelText` (empty: the caption
// comes later with the language), both children of `dialog`, named `okName`
// and `cancelName`, and connected to its accept and reject. The caller may
// add more buttons to `Row` and then adds `Row` to its layout.
struct TOkCancelRow {
  QHBoxLayout* Row = nullptr;
  QPushButton* Ok = nullptr;
  QPushButton* Cancel = nullptr;
};
TOkCancelRow MakeOkCancelRow(QDialog* dialog, const char* okName, const char* cancelName,
                             const QString& cancelText = QString(), const QString& okText = QStringLiteral("&OK"));

}  // namespace kvx
