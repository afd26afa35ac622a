// The worksheet options dialog: the default number of sheets of a new
// workbook (1..255), the csv and clipboard separator (the CsvSeparatorChar
// index 0..3: ";", ",", ".", tab) and the number of recent files in the File
// menu (0..100). Texts follow LanguageEnglish when it is shown.
#pragma once

#include <QDialog>
#include <cstdint>

class QComboBox;
class QSpinBox;

namespace kvx {

struct TWorksheetOptions {
  std::int32_t DefaultSheetNumber = 16;
  std::int32_t SeparatorIndex = 0;
  std::int32_t RecentFilesCount = 10;
};

class TTabellenOptionen : public QDialog {
  Q_OBJECT

 public:
  explicit TTabellenOptionen(const TWorksheetOptions& options, QWidget* parent = nullptr);
  TWorksheetOptions Options() const;

  QSpinBox* SpinEdit1;
  QComboBox* ComboBox1;
  QSpinBox* spineditlastfiles;
};

// Runs the dialog; `options` changes only on OK.
bool ShowWorksheetOptionsDialog(QWidget* parent, TWorksheetOptions& options);

}  // namespace kvx
