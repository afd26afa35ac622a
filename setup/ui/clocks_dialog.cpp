#include "setup/ui/clocks_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

}  // namespace

Tweltzt::Tweltzt(TClockList& clocks, TClocksDialogHost& host, QWidget* owner)
    : QDialog(owner), clocks_(clocks), host_(host) {
  SetHelpSection(this, "menu-settings");
  setWindowTitle(Tr("Uhren hinzufügen/entfernen", "Add/remove clocks"));
  auto* layout = new QHBoxLayout(this);
  list_ = NewNamed<QListWidget>("list", this);
  layout->addWidget(list_, 1);
  auto* buttons = new QVBoxLayout;
  auto* add = NamedButton(this, Tr("&Hinzufügen", "&Add"), "add");
  add->setEnabled(static_cast<bool>(host_.EditPlace));
  auto* remove = NamedButton(this, Tr("&Entfernen", "&Remove"), "remove");
  auto* clear = NamedButton(this, Tr("A&lles löschen", "C&lear all"), "clear");
  auto* ok = NamedButton(this, Tr("OK", "OK"), "ok");
  ok->setDefault(true);
  showClocks_ = NewNamed<QCheckBox>("showClocks", Tr("&Uhren zeigen", "&Show clocks"), this);
  showClocks_->setChecked(host_.ClockBarShown);
  for (QWidget* w : std::initializer_list<QWidget*>{add, remove, clear, showClocks_}) buttons->addWidget(w);
  buttons->addStretch();
  buttons->addWidget(ok);
  layout->addLayout(buttons);

  connect(add, &QPushButton::clicked, this, &Tweltzt::Add);
  connect(remove, &QPushButton::clicked, this, &Tweltzt::RemoveSelected);
  connect(list_, &QListWidget::itemDoubleClicked, this, &Tweltzt::RemoveSelected);
  connect(clear, &QPushButton::clicked, this, [this] {
    if (clocks_.empty()) return;
    clocks_.clear();
    Refill();
  });
  connect(showClocks_, &QCheckBox::toggled, this, [this](bool on) {
    host_.ClockBarShown = on;
    if (host_.ShowClockBar) host_.ShowClockBar(on);
  });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  Refill();
}

void Tweltzt::Refill() {
  list_->clear();
  for (const tdatumortobjekt& clock : clocks_) list_->addItem(QString::fromStdString(clock.Text()));
}

void Tweltzt::Add() {
  TObserverRecord record = host_.StartRecord;
  if (!host_.EditPlace || !host_.EditPlace(record)) return;
  // The same local time at the new place.
  LocalTimeToUT(record);
  UTToLocalTime(record);
  if (!IsUsableClockRecord(record)) return;
  clocks_.emplace_back(record);
  Refill();
}

void Tweltzt::RemoveSelected() {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(clocks_.size())) return;
  clocks_.erase(clocks_.begin() + row);
  Refill();
}

int ShowClocksDialog(TClockList& clocks, const std::string& dataFolder, TClocksDialogHost& host, QWidget* owner) {
  Tweltzt dialog(clocks, host, owner);
  const int result = dialog.exec() == QDialog::Accepted ? 1 : 2;
  SaveClocksFile(dataFolder + "/" + kClocksFileName, clocks);
  return result;
}

}  // namespace kvx
