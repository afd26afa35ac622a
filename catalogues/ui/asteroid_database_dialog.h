// "Asteroiden-Binärdateien erzeugen" / "Create binary Asteroid database"
// (TFrmAsteroidDatabase): asks for the source and destination folders,
// builds one ".eel" file per source file, shows the file in progress, lets
// the user stop between two files and ends with a summary. The folders, the
// period and the complete-file switch are kept in the settings store
// ("Settings": "JD1", "JD2", "UseCompleteFile", "AsteroidDatabaseCsv",
// "AsteroidDatabaseBin").
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "platform/qt/widget_forward.h"

namespace kvx {

class TFrmAsteroidDatabase : public QDialog {
  Q_OBJECT

 public:
  // `dataFolder` is the default of both folders.
  explicit TFrmAsteroidDatabase(const std::string& dataFolder, QWidget* parent = nullptr);

  // The text query behind AskFolder: (title, prompt, pre-filled text) to the
  // entered text, nothing when cancelled. A Qt input box unless replaced.
  std::function<std::optional<std::string>(const std::string&, const std::string&, const std::string&)> AskText;

  // Asks for a folder: false for Cancel or an empty text; a missing folder
  // is created with `create` (else refused), each refusal with its message.
  bool AskFolder(std::string& folder, bool source, bool create);
  // The start button: both folders, then the run and its summary.
  void Start();
  void Stop() { stop_ = true; }
  // Reads (FormShow) and writes (FormClose and after a run) the settings.
  void LoadSettings();
  void SaveSettings();

  QCheckBox* CompleteFileCheck() const { return complete_; }
  QGroupBox* PeriodGroup() const { return period_; }
  QLineEdit* Jd1Edit() const { return jd1_; }
  QLineEdit* Jd2Edit() const { return jd2_; }
  QPushButton* StartButton() const { return start_; }
  QPushButton* StopButton() const { return stopButton_; }
  QLabel* NumberLabel() const { return label1_; }
  QLabel* PathLabel() const { return label2_; }
  const std::string& SourceFolder() const { return source_; }
  const std::string& DestinationFolder() const { return destination_; }

  void done(int result) override;

 private:
  void CompleteFileToggled(bool on);

  std::string source_;
  std::string destination_;
  bool stop_ = false;
  QCheckBox* complete_;
  QGroupBox* period_;
  QLabel* from_;
  QLabel* to_;
  QLineEdit* jd1_;
  QLineEdit* jd2_;
  QLabel* label1_;
  QLabel* label2_;
  QPushButton* start_;
  QPushButton* stopButton_;
};

// Shows the builder modally.
void ShowAsteroidDatabaseBuilder(const std::string& dataFolder, QWidget* parent = nullptr);

}  // namespace kvx
