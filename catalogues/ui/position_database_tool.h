// The tool that writes the files of precomputed positions
// (catalogues/position_database.h): the period, the body or the integration
// database, create, stop (after a question) and close; the status shows the
// Julian day every 32 days and "Fertig"/"Done" or "Abgebrochen"/"Canceled"
// at the end. The file goes to the data folder; the main window's position
// files are closed for the moment the new file replaces the old one and
// opened again after it, so the new file serves at once.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "catalogues/position_database.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

// What the tool needs from the main window.
struct TPositionDatabaseHost {
  std::string DataFolder;
  bool Vsop87C = false;  // the VSOP87 C library is present
  std::function<void()> ClosePositionFiles;
  std::function<void()> ReopenPositionFiles;
};

class TDatabaseTool : public QDialog {
  Q_OBJECT

 public:
  explicit TDatabaseTool(TPositionDatabaseHost host, QWidget* owner = nullptr);
  ~TDatabaseTool() override;

  // "Create database": the question, then the file.
  void Button1Click();
  // "Stop": the question, then the stop request.
  void BtnStopClick();
  void CheckBox1Click();
  void RadioGroup1Click();
  // What the window does when it is shown: N from the period, the first body,
  // the integration database off.
  void Activate();
  // Escape closes the tool only while nothing is computed.
  void reject() override;

  int Days() const { return days_; }
  bool Busy() const { return busy_; }
  QString Status() const;
  QPushButton* CreateButton() const { return create_; }
  QPushButton* StopButton() const { return stop_button_; }
  QPushButton* CloseButton() const { return close_; }
  QCheckBox* IntegrationBox() const { return integration_box_; }
  QComboBox* BodyCombo() const { return body_combo_; }
  QButtonGroup* Periods() const { return periods_; }
  // Called at every report after the status is shown (tests).
  std::function<void(double jd)> OnDay;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build();

  TPositionDatabaseHost host_;
  QGroupBox* period_box_ = nullptr;
  QButtonGroup* periods_ = nullptr;
  QLabel* body_label_ = nullptr;
  QComboBox* body_combo_ = nullptr;
  QCheckBox* integration_box_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* create_ = nullptr;
  QPushButton* stop_button_ = nullptr;
  QPushButton* close_ = nullptr;
  int days_ = kPositionDatabaseDays[0];
  std::uint8_t stop_requested_ = 0;
  std::uint8_t integration_database_ = 0;
  bool busy_ = false;
};

// The opener of the file utilities menu: the tool, modal.
void ShowPositionDatabaseTool(const TPositionDatabaseHost& host, QWidget* owner = nullptr);
// Runs `driver` on the tool instead of showing it modally (tests).
void SetPositionDatabaseToolDriver(std::function<void(TDatabaseTool&)> driver);

}  // namespace kvx
