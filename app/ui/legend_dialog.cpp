#include "app/ui/legend_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QVBoxLayout>

#include "app/main_form_state.h"
#include "app/ui/app_dialog_builders.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

int LegendMatch(const QStringList& lines, const QString& text) {
  for (int i = 0; i < lines.size(); ++i) {
    if (lines[i].startsWith(text, Qt::CaseInsensitive)) return i;
  }
  return 0;
}

TLegendendlg::TLegendendlg(const TQuantityTexts& headings, const TQuantityTexts& descriptions, QWidget* parent)
    : QDialog(parent) {
  SetHelpSection(this, "menu-help");
  setWindowTitle(QString::fromUtf8(ByLanguage("Legende", "Legend")));
  resize(640, 480);
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(QString::fromUtf8(ByLanguage("&Suchen", "&Find")), this);
  edit_ = NewNamed<QLineEdit>("Edit1", this);
  label_->setBuddy(edit_);
  list_ = NewNamed<QListWidget>("ListBox1", this);
  for (int i = 0; i < kQuantityCount; ++i) {
    list_->addItem(QString::fromStdString(headings[static_cast<std::size_t>(i)]) + QStringLiteral(": ") +
                   QString::fromStdString(descriptions[static_cast<std::size_t>(i)]));
  }
  list_->setCurrentRow(0);
  layout->addWidget(label_);
  layout->addWidget(edit_);
  layout->addWidget(list_);
  connect(edit_, &QLineEdit::textChanged, this, &TLegendendlg::Edit1Change);
}

void TLegendendlg::Edit1Change(const QString& text) {
  QStringList lines;
  lines.reserve(list_->count());
  for (int i = 0; i < list_->count(); ++i) lines << list_->item(i)->text();
  const int row = LegendMatch(lines, text);
  list_->setCurrentRow(row);
  list_->scrollToItem(list_->item(row));
}

void ShowLegend(const TQuantityTexts& headings, QWidget* parent) {
  TLegendendlg dialog(headings, DefaultColumnDescriptions, parent);
  dialog.exec();
}

}  // namespace kvx

namespace kvx {

void InstallLegendCommand(TCommandHost& host) {
  if (host.Commands().HasHandler("Legende1")) return;
  // The headings as the main window's table configuration holds them.
  host.Commands().RegisterHandler("Legende1",
                                  [&host] { ShowLegend(host.Period().TableConfig.ColumnTitles, &host.Window()); });
}

}  // namespace kvx
