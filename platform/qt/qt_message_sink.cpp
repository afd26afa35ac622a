#include "platform/qt/qt_message_sink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace kvx {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
    case MessageButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

MessageResult FromQtButton(int button) {
  switch (button) {
    case QMessageBox::Cancel:
      return MessageResult::Cancel;
    case QMessageBox::Yes:
      return MessageResult::Yes;
    case QMessageBox::No:
      return MessageResult::No;
    case QMessageBox::Retry:
      return MessageResult::Retry;
    case QMessageBox::Abort:
      return MessageResult::Abort;
    case QMessageBox::Ignore:
      return MessageResult::Ignore;
    default:
      return MessageResult::Ok;
  }
}

}  // namespace

void QtMessageSink::Beep() { QApplication::beep(); }

MessageResult QtMessageSink::Show(const std::string& text, const std::string& caption, MessageIcon icon,
                                  MessageButtons buttons) {
  QString title = caption.empty() ? QApplication::applicationName() : QString::fromStdString(caption);
  QMessageBox box(ToQtIcon(icon), title, QString::fromStdString(text), ToQtButtons(buttons), parent_);
  if (buttons == MessageButtons::YesNoDefaultNo) {
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
  }
  return FromQtButton(box.exec());
}

}  // namespace kvx
