// "Dateibereich wählen" / "Select range in file" (TSlectNDlg): a contiguous
// range of entries of a list of names, chosen with two one-based spin boxes
// ("From" <= "To" <= count) or by selecting items, with a search over the
// names. The searches over many objects of an element file call it.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace kvx {

class TSlectNDlg : public QDialog {
  Q_OBJECT

 public:
  TSlectNDlg(const std::vector<std::string>& names, std::int32_t first, std::int32_t last, QWidget* parent = nullptr);

  QSpinBox* FromBox() const { return from_; }
  QSpinBox* ToBox() const { return to_; }
  QListWidget* List() const { return list_; }
  QLineEdit* SearchEdit() const { return search_; }
  QCheckBox* ImmediateCheck() const { return immediate_; }
  void Search();

 private:
  void FromChanged(int value);
  void ToChanged(int value);
  void ListClicked();
  void Reselect();
  void SetRange(int from, int to);

  QListWidget* list_;
  QSpinBox* from_;
  QSpinBox* to_;
  QLineEdit* search_;
  QCheckBox* immediate_;
  QPushButton* search_button_;
  QLabel* status_;
  bool updating_ = false;
};

// Runs the dialog on `names`; on OK first and last become the chosen
// zero-based entries and true is returned. An empty list gives false.
// `helpSection` is the anchor of the guide's section on the search that
// asks for the range (the dialog's help).
bool SelectFileRecordRange(std::int32_t& first, std::int32_t& last, const std::vector<std::string>& names,
                           const char* helpSection, QWidget* parent = nullptr);

}  // namespace kvx
