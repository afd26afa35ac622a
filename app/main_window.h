// The main window: menu bar, workbook area and status line.
#pragma once

#include <QMainWindow>
#include <memory>

#include "platform/qt/qt_message_sink.h"
#include "platform/qt/qt_progress.h"

namespace kvx {

inline constexpr const char* kApplicationTitle = "Kandrevoltinex 4";
inline constexpr const char* kMainWindowCaption = "Kandrevoltinex 4.6";

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

 private:
  std::unique_ptr<QtMessageSink> messages_;
  std::unique_ptr<QtProgress> progress_;
};

}  // namespace kvx
