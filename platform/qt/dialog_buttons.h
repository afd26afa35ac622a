// The language of the standard buttons of a dialog, set from its show
// handler: the cancel button's caption, and the help button, shown with
// its German caption and hidden in English (there is no English help).
#pragma once

#include <QString>
#include <QVariant>
#include <string>

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

// The help of a dialog or window (platform/help.h), named once: its topic
// number or the anchor of its section in the guide, kept in the window's
// property "helpContext" (an int or a string). F1 in the window opens it
// (the help viewer's key filter), and so does `help` when given. A window
// without one gets the help of the window it belongs to, else the section of
// the menu whose command opened it.
inline constexpr const char* kHelpContextProperty = "helpContext";
void SetHelpContext(QWidget* dialog, int topic, QAbstractButton* help = nullptr);
void SetHelpSection(QWidget* dialog, const char* anchor, QAbstractButton* help = nullptr);
// The help button of `dialog`: when pressed it shows the help the dialog's
// "helpContext" names then, the one F1 reads.
void ConnectHelpButton(QWidget* dialog, QAbstractButton* help);
// Shows the help `window`'s "helpContext" names; false when it names none.
bool ShowWindowHelp(const QWidget& window);
// The anchor of the section a window's help context names; empty when it
// names none or an unknown topic.
std::string HelpContextAnchor(const QWidget& window);
// Shows the help a "helpContext" value names; false when it names none.
bool ShowHelpContext(const QVariant& context);

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
