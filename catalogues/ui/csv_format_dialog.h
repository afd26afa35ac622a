// The choice of a comma-separated file's format ("Dateiformat präzisieren" /
// "Enter file format"): one radio button per format name in a group titled
// by the caller.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "platform/qt/widget_forward.h"

namespace kvx {

class TCSVFormateDlg : public QDialog {
  Q_OBJECT

 public:
  TCSVFormateDlg(const std::vector<std::string>& names, int choice, const std::string& caption,
                 QWidget* owner = nullptr);
  // The checked item (0-based), -1 when none.
  int Choice() const;

 private:
  QGroupBox* group_;
  QButtonGroup* buttons_;
};

// Shows the dialog with `names`, the item `choice` checked and `caption` on
// the group; on OK `choice` becomes the checked item. Returns the modal
// result (1 OK, 0 Cancel).
int ShowCsvFormatDialog(int& choice, const std::vector<std::string>& names, const std::string& caption,
                        QWidget* owner = nullptr);

}  // namespace kvx
