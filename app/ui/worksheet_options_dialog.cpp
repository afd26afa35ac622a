#include "app/ui/worksheet_options_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

namespace {
QString T(const char* german, const char* english) {
  return QString::fromUtf8(LanguageEnglish != 0 ? english : german);
}
}  // namespace

TTabellenOptionen::TTabellenOptionen(const TWorksheetOptions& options, QWidget* parent) : QDialog(parent) {
  SetHelpSection(this, "menu-settings");
  setObjectName(QStringLiteral("tabellenoptionen"));
  setWindowTitle(T("Tabellenoptionen", "Worksheet Options"));
  auto* layout = new QFormLayout(this);
  SpinEdit1 = new QSpinBox(this);
  SpinEdit1->setRange(1, 255);
  SpinEdit1->setValue(std::clamp(options.DefaultSheetNumber, 1, 255));
  ComboBox1 = new QComboBox(this);
  ComboBox1->addItems({QStringLiteral(";"), QStringLiteral(","), QStringLiteral("."), QStringLiteral("Tab")});
  ComboBox1->setCurrentIndex(options.SeparatorIndex >= 0 && options.SeparatorIndex <= 3 ? options.SeparatorIndex : 0);
  spineditlastfiles = new QSpinBox(this);
  spineditlastfiles->setRange(0, 100);
  spineditlastfiles->setValue(std::clamp(options.RecentFilesCount, 0, 100));
  layout->addRow(T("Bl&ätter in Arbeitsmappe:", "Default number of sheets:"), SpinEdit1);
  layout->addRow(T("&Trennzeichen für csv-Dateien/Zwischenablage:", "&Separator for csv-Files/Clipboard:"), ComboBox1);
  layout->addRow(T("A&nzahl zuletzt geöffneter Dateien im Dateimenü:", "Number of last opened Files in Filemenu:"),
                 spineditlastfiles);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(T("Abbrechen", "Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addRow(buttons);
}

TWorksheetOptions TTabellenOptionen::Options() const {
  return {SpinEdit1->value(), ComboBox1->currentIndex(), spineditlastfiles->value()};
}

bool ShowWorksheetOptionsDialog(QWidget* parent, TWorksheetOptions& options) {
  TTabellenOptionen dialog(options, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  options = dialog.Options();
  return true;
}

}  // namespace kvx
