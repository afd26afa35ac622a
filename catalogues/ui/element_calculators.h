// The windows of the element calculators: three modal input dialogs and
// three result windows. A result window is created once per owner, kept
// and shown non-modally with the latest values; its copy buttons put the
// value of their edit on the clipboard.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "catalogues/element_calculators.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

// A dialog whose edits are checked when the user leaves them: a failed
// check beeps, shows its message, puts the last valid text back and gives
// the edit the focus; OK closes only when every check passes.
class TCalculatorDialog : public QDialog {
  Q_OBJECT

 public:
  // The check of an edit: empty when the text is acceptable, else the
  // German and English messages.
  using Check = std::function<std::pair<std::string, std::string>(const std::string& text)>;

  explicit TCalculatorDialog(QWidget* owner);
  void AddCheck(QLineEdit* edit, Check check);
  // Runs the check of `edit` as leaving it does; false when it failed.
  bool CheckEdit(QLineEdit* edit);
  void accept() override;

 private:
  struct Field {
    QLineEdit* Edit;
    Check Test;
    QString LastValid;
  };
  std::vector<Field> fields_;
  bool checking_ = false;
};

// Semi-major axis (AU) for the mean-motion calculator; true on OK.
bool InputSemimajorAxis(bool hints, double& a, QWidget* owner = nullptr);
void ShowAxisAndDailyMotion(bool hints, double a, double n, QWidget* owner = nullptr);

// a (direction non-zero) or q, and e; true on OK.
bool InputAQTransformation(bool hints, double& aq, double& e, std::uint8_t direction, QWidget* owner = nullptr);
void ShowAQResult(bool hints, double a, double q, QWidget* owner = nullptr);

// The orientation elements with their equinoxes; `jd` is the main window's
// date for the "Datum" buttons. True on OK (the record then holds the
// dialog's values).
bool InputOrbitOrientationElements(bool hints, TOrientationRecord& r, double jd, QWidget* owner = nullptr);
void ShowOrbitOrientationResult(bool hints, const TOrientationRecord& r, QWidget* owner = nullptr);

}  // namespace kvx
