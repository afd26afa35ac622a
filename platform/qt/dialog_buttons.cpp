#include "platform/qt/dialog_buttons.h"

#include <QAbstractButton>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

#include "platform/globals.h"
#include "platform/help.h"
#include "platform/qt/named_widgets.h"

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

void SetHelpContext(QWidget* dialog, int topic, QAbstractButton* help) {
  dialog->setProperty(kHelpContextProperty, topic);
  if (help != nullptr) ConnectHelpButton(dialog, help);
}

void SetHelpSection(QWidget* dialog, const char* anchor, QAbstractButton* help) {
  dialog->setProperty(kHelpContextProperty, QString::fromUtf8(anchor));
  if (help != nullptr) ConnectHelpButton(dialog, help);
}

void ConnectHelpButton(QWidget* dialog, QAbstractButton* help) {
  QObject::connect(help, &QAbstractButton::clicked, dialog, [dialog] { ShowWindowHelp(*dialog); });
}

bool ShowWindowHelp(const QWidget& window) { return ShowHelpContext(window.property(kHelpContextProperty)); }

std::string HelpContextAnchor(const QWidget& window) {
  const QVariant context = window.property(kHelpContextProperty);
  if (!context.isValid()) return {};
  if (context.typeId() == QMetaType::QString) return context.toString().toStdString();
  const char* anchor = HelpTopicAnchor(context.toInt());
  return anchor != nullptr ? anchor : "";
}

bool ShowHelpContext(const QVariant& context) {
  if (!context.isValid()) return false;
  if (context.typeId() == QMetaType::QString) {
    ShowHelpSection(context.toString().toStdString());
  } else {
    ShowHelpTopic(context.toInt());
  }
  return true;
}

QPushButton* NamedButton(QWidget* parent, const QString& caption, const char* name) {
  return NewNamed<QPushButton>(name, caption, parent);
}

TOkCancelRow MakeOkCancelRow(QDialog* dialog, const char* okName, const char* cancelName, const QString& cancelText,
                             const QString& okText) {
  TOkCancelRow row;
  row.Row = new QHBoxLayout;
  row.Ok = NamedButton(dialog, okText, okName);
  row.Ok->setDefault(true);
  row.Cancel = NamedButton(dialog, cancelText, cancelName);
  row.Row->addStretch();
  row.Row->addWidget(row.Ok);
  row.Row->addWidget(row.Cancel);
  QObject::connect(row.Ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(row.Cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return row;
}

}  // namespace kvx
