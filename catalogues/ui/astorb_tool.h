// The ASTORB/MPCORB conversion tool: a modal window with its own menu bar
// ("File": open, close; "Settings": the three ASTORB output formats and the
// international setting), the format panel, the file in work, a line counter
// and stop and close buttons. The conversion itself is
// catalogues/astorb_conversion.h; its output goes beside the input file and
// an existing output is replaced only after a Yes.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "platform/qt/widget_forward.h"

namespace kvx {

class TMainform_astorb : public QDialog {
  Q_OBJECT

 public:
  explicit TMainform_astorb(QWidget* owner = nullptr);
  ~TMainform_astorb() override;

  // Format kind 0 (plain CSV), 1 (own format), 2 (HomePlanet).
  void SetAstorbFormatKind(int kind);
  void SetAstorbInternational(bool international);
  int FormatKind() const { return kind_; }
  bool International() const { return international_; }
  // The open dialog, then the conversion the file's name asks for.
  void OpenClick();
  // Converts `fileName` (what OpenClick does after the dialog).
  void Convert(const std::string& fileName);
  void StopClick() { stop_ = true; }
  QString FormatLabel() const;
  QString Counter() const;
  // "FileType" and "International" into "Astorbtool".
  void StoreSettings();
  // Called every 24 records after the count is shown (tests).
  std::function<void(long)> OnCount;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowAstorbFormatLabel();

  QMenu* fileMenu_ = nullptr;
  QMenu* settingsMenu_ = nullptr;
  QAction* kinds_[3] = {};
  QAction* internationalItem_ = nullptr;
  QLabel* panel_ = nullptr;
  QLabel* note_ = nullptr;
  QLabel* file_ = nullptr;
  QLabel* counter_ = nullptr;
  QPushButton* stop_button_ = nullptr;
  QPushButton* close_ = nullptr;
  int kind_ = 0;
  bool international_ = false;
  bool busy_ = false;
  bool stop_ = false;
};

// The opener of the file utilities menu.
void ShowAstorbConversionTool(QWidget* owner = nullptr);
// Runs `driver` on the tool before it is shown (tests).
void SetAstorbToolDriver(std::function<void(TMainform_astorb&)> driver);

}  // namespace kvx
