// Message boxes shown with QMessageBox.
#pragma once

#include <QWidget>

#include "platform/messages.h"

namespace kvx {

class QtMessageSink : public MessageSink {
 public:
  explicit QtMessageSink(QWidget* parent) : parent_(parent) {}
  MessageResult Show(const std::string& text, const std::string& caption, MessageIcon icon,
                     MessageButtons buttons) override;
  void Beep() override;

 private:
  QWidget* parent_;
};

}  // namespace kvx
