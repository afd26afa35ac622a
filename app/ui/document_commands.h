// The document commands of the File menu for the result-grid view: Open,
// Save and Save as of the own table file, and the result grid's look
// (table font, colours, lines) on screen.
#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <string>

#include "app/table_document.h"

class QColor;

namespace kvx {

class TMainForm;

// A Windows colour value as a Qt colour: 0x00BBGGRR, or with the top bit
// set a system colour whose index (low byte) maps to the palette role the
// program uses it for (5 window, 15 button face, 8 window text, ...).
QColor ColorFromWindowsValue(std::uint32_t value);

class TDocumentCommands : public QObject {
  Q_OBJECT

 public:
  // Registers the commands on the form's menu table and installs the
  // recent-file opener for the result-grid view.
  explicit TDocumentCommands(TMainForm& form);

  TResultGridLook& Look() { return look_; }
  std::array<std::int32_t, kQuantityCount>& ColumnWidthTable() { return column_widths_; }
  TTableDocument Document();

  bool Open();
  bool OpenByName(const std::string& fileName);
  bool SaveAs();
  // The view follows the look: font, colours, line flags, row heights;
  // the tool-bar font boxes and the bold/italic/underline states.
  void ShowLook();

 private:
  void Finish(bool changed);

  TMainForm& form_;
  TResultGridLook look_;
  std::array<std::int32_t, kQuantityCount> column_widths_;
  std::string caption_;
};

}  // namespace kvx
