#include "catalogues/ui/csv_format_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

TCSVFormateDlg::TCSVFormateDlg(const std::vector<std::string>& names, int choice, const std::string& caption,
                               QWidget* owner)
    : QDialog(owner) {
  setObjectName("TCSVFormateDlg");
  SetHelpSection(this, "element-files");
  setWindowTitle(QString::fromUtf8(ByLanguage("Dateiformat präzisieren", "Enter file format")));
  auto* layout = new QVBoxLayout(this);
  group_ = new QGroupBox(QString::fromStdString(caption), this);
  group_->setObjectName("FormatGroup");
  buttons_ = new QButtonGroup(this);
  auto* groupLayout = new QVBoxLayout(group_);
  // The group grows with the number of names: one row each.
  for (std::size_t k = 0; k < names.size(); ++k) {
    auto* radio = new QRadioButton(QString::fromStdString(names[k]), group_);
    radio->setObjectName(QString("Format%1").arg(k));
    buttons_->addButton(radio, static_cast<int>(k));
    groupLayout->addWidget(radio);
  }
  if (QAbstractButton* checked = buttons_->button(choice)) checked->setChecked(true);
  layout->addWidget(group_);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  box->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(ByLanguage("&Abbruch", "&Cancel")));
  box->button(QDialogButtonBox::Cancel)->setObjectName("CancelButton");
  box->button(QDialogButtonBox::Ok)->setObjectName("OkButton");
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(box);
}

int TCSVFormateDlg::Choice() const { return buttons_->checkedId(); }

int ShowCsvFormatDialog(int& choice, const std::vector<std::string>& names, const std::string& caption,
                        QWidget* owner) {
  TCSVFormateDlg dialog(names, choice, caption, owner);
  const int result = dialog.exec();
  if (result == QDialog::Accepted && dialog.Choice() >= 0) choice = dialog.Choice();
  return result == QDialog::Accepted ? 1 : 0;
}

}  // namespace kvx
