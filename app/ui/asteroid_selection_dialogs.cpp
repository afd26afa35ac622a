#include "app/ui/asteroid_selection_dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "app/ui/app_dialog_builders.h"
#include "catalogues/asteroid_selection.h"
#include "core/asteroid_database.h"
#include "platform/busy_cursor.h"
#include "platform/folder_chooser.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {

QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

void Fill(QListWidget& list, const std::vector<std::string>& items) {
  list.clear();
  list.addItems(ListItemTexts(items));
}

QListWidget* NewList(QWidget* parent, const char* name) {
  auto* list = NewNamed<QListWidget>(name, parent);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setUniformItemSizes(true);
  return list;
}

}  // namespace

// --- the list dialog ---------------------------------------------------------------------------

TAsteroidenwahldlg::TAsteroidenwahldlg(TAsteroidDatabaseContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
  setObjectName("Asteroidenwahldlg");
  setWindowTitle(Q("Planetoiden auswählen", "Select Asteroid"));
  SetHelpSection(this, "menu-objects");
  auto* grid = new QGridLayout(this);
  src_ = NewList(this, "SrcList");
  dst_ = NewList(this, "DstList");
  edit1_ = NewNamed<QLineEdit>("Edit1", this);
  edit2_ = NewNamed<QLineEdit>("Edit2", this);
  auto* find1 = new QLabel(Q("&Suchen", "&Find"), this);
  find1->setBuddy(edit1_);
  auto* find2 = new QLabel(Q("S&uchen", "F&ind"), this);
  find2->setBuddy(edit2_);
  label3_ = NewNamed<QLabel>("Label3", this);
  label4_ = NewNamed<QLabel>("Label4", this);
  status_ = new QLabel(this);
  include_ = NewNamed<QPushButton>("IncludeBtn", QStringLiteral(">"), this);
  exclude_ = NewNamed<QPushButton>("ExcludeBtn", QStringLiteral("<"), this);
  auto* reload = NewNamed<QPushButton>("Button1", Q("Neu laden", "Reload"), this);
  auto* path = NewNamed<QPushButton>("Button2", Q("&Pfad ändern...", "Select path..."), this);
  auto* clear1 = NewNamed<QPushButton>("Button3", Q("Löschen", "Clear"), this);
  auto* clear2 = NewNamed<QPushButton>("Button4", Q("Löschen", "Clear"), this);
  auto* inspect = NewNamed<QPushButton>("Button5", Q("Datenbank prüfen", "Inspect files"), this);
  auto* all1 = NewNamed<QPushButton>("Button7", Q("A&lle auswählen", "Select all"), this);
  auto* all2 = NewNamed<QPushButton>("Button8", Q("All&e auswählen", "Select all"), this);
  auto* ok = NewNamed<QPushButton>("OKBtn", QStringLiteral("OK"), this);
  ok->setDefault(true);
  auto* cancel = NewNamed<QPushButton>("CancelBtn", Q("&Abbrechen", "&Cancel"), this);

  grid->addWidget(find1, 0, 0);
  grid->addWidget(edit1_, 0, 1);
  grid->addWidget(find2, 0, 3);
  grid->addWidget(edit2_, 0, 4);
  grid->addWidget(src_, 1, 0, 1, 2);
  auto* middle = new QVBoxLayout;
  middle->addStretch();
  middle->addWidget(include_);
  middle->addWidget(exclude_);
  middle->addStretch();
  grid->addLayout(middle, 1, 2);
  grid->addWidget(dst_, 1, 3, 1, 2);
  grid->addWidget(label3_, 2, 0, 1, 2);
  grid->addWidget(label4_, 2, 3, 1, 2);
  auto* row1 = new QHBoxLayout;
  row1->addWidget(all1);
  row1->addWidget(clear1);
  grid->addLayout(row1, 3, 0, 1, 2);
  auto* row2 = new QHBoxLayout;
  row2->addWidget(all2);
  row2->addWidget(clear2);
  grid->addLayout(row2, 3, 3, 1, 2);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(reload);
  bottom->addWidget(path);
  bottom->addWidget(inspect);
  bottom->addWidget(status_, 1);
  bottom->addWidget(ok);
  bottom->addWidget(cancel);
  grid->addLayout(bottom, 4, 0, 1, 5);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(4, 1);
  resize(860, 520);

  connect(include_, &QPushButton::clicked, this, [this] { Include(); });
  connect(exclude_, &QPushButton::clicked, this, [this] { Exclude(); });
  connect(reload, &QPushButton::clicked, this, [this] { Reload(); });
  connect(path, &QPushButton::clicked, this, [this] { ChangePath(); });
  connect(clear1, &QPushButton::clicked, this, [this] {
    src_->clear();
    UpdateButtons();
  });
  connect(clear2, &QPushButton::clicked, this, [this] {
    dst_->clear();
    UpdateButtons();
  });
  connect(inspect, &QPushButton::clicked, this, [this] {
    BusyCursorScope busy;
    LoadLists(true);
  });
  auto selectAll = [](QListWidget* list) {
    BusyCursorScope busy;
    for (int i = list->count() - 1; i >= 0; --i) list->item(i)->setSelected(true);
  };
  connect(all1, &QPushButton::clicked, this, [this, selectAll] { selectAll(src_); });
  connect(all2, &QPushButton::clicked, this, [this, selectAll] { selectAll(dst_); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(src_, &QListWidget::itemClicked, this, [this] { ShowPeriod(src_, label3_); });
  connect(dst_, &QListWidget::itemClicked, this, [this] { ShowPeriod(dst_, label4_); });
  connect(edit1_, &QLineEdit::textChanged, this, [this] {
    int index = -1;
    QString found;
    FindInListControl(edit1_->text(), *src_, index, found, status_);
  });
  connect(edit2_, &QLineEdit::textChanged, this, [this] {
    int index = -1;
    QString found;
    FindInListControl(edit2_->text(), *dst_, index, found, status_);
  });
}

std::string TAsteroidenwahldlg::ListPath(const char* name) const { return context_.DataFolder + "/" + name; }

void TAsteroidenwahldlg::Activate() {
  if (context_.ListChanged != nullptr && *context_.ListChanged != 0) {
    Reload();
  } else {
    LoadLists(false);
  }
  if (context_.ListChanged != nullptr) *context_.ListChanged = 0;
}

void TAsteroidenwahldlg::LoadLists(bool check) {
  src_->clear();
  std::vector<std::string> items;
  if (!ReadSelectionList(ListPath(kAsteroidSourceListFile), items)) {
    // The first run: every database file is chosen.
    Fill(*dst_, *context_.DatabaseFiles);
    UpdateButtons();
    return;
  }
  Fill(*src_, items);
  if (ReadSelectionList(ListPath(kAsteroidChosenListFile), items)) Fill(*dst_, items);
  if (check) {
    for (auto [list, label] : {std::pair{src_, label3_}, std::pair{dst_, label4_}}) {
      const int count = list->count();
      for (int i = count - 1; i >= 0; --i) {
        if (!FileExists(list->item(i)->text().toStdString())) delete list->takeItem(i);
        if (i % 16 == 0) {
          label->setText(QString::number(count - i) + QString(10, ' '));
          label->repaint();
        }
      }
    }
  }
  UpdateButtons();
}

void TAsteroidenwahldlg::Reload() {
  src_->clear();
  Fill(*dst_, *context_.DatabaseFiles);
  SaveLists();
  UpdateButtons();
}

void TAsteroidenwahldlg::ChangePath() {
  std::string folder = *context_.DatabaseFolder;
  if (!SelectFolder(folder, 0, 0)) return;
  if (folder != *context_.DatabaseFolder) {
    *context_.DatabaseFolder = folder;
    if (context_.ListChanged != nullptr) *context_.ListChanged = 1;
  }
  FindElementListFiles(*context_.DatabaseFiles, *context_.DatabaseFolder, context_.EnableCommands);
  // The dialog is active again once the folder choice has closed.
  Activate();
}

void TAsteroidenwahldlg::Move(QListWidget* from, QListWidget* to) {
  from->setUpdatesEnabled(false);
  to->setUpdatesEnabled(false);
  int first = -1;
  for (int i = 0; i < from->count(); ++i) {
    if (from->item(i)->isSelected()) {
      first = i;
      break;
    }
  }
  for (int i = from->count() - 1; i >= 0; --i) {
    if (!from->item(i)->isSelected()) continue;
    QListWidgetItem* item = from->takeItem(i);
    item->setSelected(false);
    to->addItem(item);
  }
  from->setFocus();
  from->clearSelection();
  if (from->count() > 0) {
    int index = first < 0 ? 0 : first;
    if (index >= from->count()) index = from->count() - 1;
    from->setCurrentRow(index);
    from->item(index)->setSelected(true);
  }
  UpdateButtons();
  from->setUpdatesEnabled(true);
  to->setUpdatesEnabled(true);
}

void TAsteroidenwahldlg::Include() { Move(src_, dst_); }
void TAsteroidenwahldlg::Exclude() { Move(dst_, src_); }

void TAsteroidenwahldlg::UpdateButtons() {
  include_->setEnabled(src_->count() > 0);
  exclude_->setEnabled(dst_->count() > 0);
}

void TAsteroidenwahldlg::ShowPeriod(QListWidget* list, QLabel* label) {
  const QListWidgetItem* item = list->currentItem();
  if (item == nullptr) return;
  label->setText(QString::fromStdString(
      EelCoveredPeriodText(item->text().toStdString(), context_.Observer, TPeriodDateStyle::ShortDate)));
}

std::vector<std::string> TAsteroidenwahldlg::Chosen() const { return ListLines(*dst_); }

void TAsteroidenwahldlg::SaveLists() {
  std::string error;
  for (auto [name, list] : {std::pair{kAsteroidSourceListFile, src_}, std::pair{kAsteroidChosenListFile, dst_}}) {
    if (!WriteSelectionList(ListPath(name), ListLines(*list), error)) {
      ShowMessage("Die Auswahlliste wurde nicht gespeichert: " + error, "The selection list was not saved: " + error,
                  MessageIcon::Error);
    }
  }
}

void TAsteroidenwahldlg::done(int result) {
  SaveLists();
  QDialog::done(result);
}

bool SelectAsteroidsFromDatabase(TAsteroidDatabaseContext context, std::vector<std::string>& result, QWidget* parent) {
  TAsteroidenwahldlg dialog(std::move(context), parent);
  dialog.Activate();
  if (dialog.exec() != QDialog::Accepted) return false;
  result = dialog.Chosen();
  return true;
}

// --- the single-file choice --------------------------------------------------------------------

TSelectAsteroidDlg::TSelectAsteroidDlg(const std::string& folder, const std::vector<std::string>& files,
                                       const std::string& current, const TObserverRecord& observer, QWidget* parent)
    : QDialog(parent), observer_(observer) {
  setObjectName("SelectAsteroidDlg");
  SetHelpSection(this, "menu-ephemerides");
  setWindowTitle(Q("Planetoid wählen", "Select asteroid"));
  auto* grid = new QGridLayout(this);
  auto* caption = new QLabel(Q("&Suchen:", "&Find:"), this);
  search_ = NewNamed<QLineEdit>("Edit1", this);
  caption->setBuddy(search_);
  status_ = new QLabel(this);
  list_ = NewNamed<QListWidget>("ListBox1", this);
  list_->setUniformItemSizes(true);
  label2_ = NewNamed<QLabel>("Label2", this);
  const TOkCancelRow buttons = MakeOkCancelRow(this, "", "", Q("&Abbrechen", "&Cancel"), QStringLiteral("OK"));
  ok_ = buttons.Ok;
  // OK only with a file chosen.
  disconnect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  grid->addWidget(caption, 0, 0);
  grid->addWidget(search_, 0, 1, 1, 2);
  grid->addWidget(list_, 1, 0, 1, 3);
  grid->addWidget(status_, 2, 0, 1, 3);
  grid->addWidget(label2_, 3, 0, 1, 3);
  grid->addLayout(buttons.Row, 4, 0, 1, 3);
  resize(520, 480);

  // Items show the path below the database folder; the full path rides
  // along, so a file outside the folder is never cut wrongly.
  int currentRow = -1;
  for (const std::string& file : files) {
    QString shown = QString::fromStdString(file);
    if (!folder.empty() && file.compare(0, folder.size(), folder) == 0) {
      shown = QString::fromStdString(file.substr(folder.size()));
    }
    auto* item = new QListWidgetItem(shown, list_);
    item->setData(Qt::UserRole, QString::fromStdString(file));
    if (file == current) currentRow = list_->count() - 1;
  }
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
  AcceptOnDoubleClick(this, list_);
  SearchListAsTyped(search_, list_, status_);
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (!ChosenFile().empty()) accept();
  });
  if (currentRow >= 0) list_->setCurrentRow(currentRow);
  SelectionChanged();
}

std::string TSelectAsteroidDlg::ChosenFile() const {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return {};
  return selected.front()->data(Qt::UserRole).toString().toStdString();
}

void TSelectAsteroidDlg::SelectionChanged() {
  const std::string file = ChosenFile();
  ok_->setEnabled(!file.empty());
  label2_->setText(QString::fromStdString(
      file.empty() ? std::string() : EelCoveredPeriodText(file, observer_, TPeriodDateStyle::ObserverDate)));
}

std::string SelectAsteroidFile(const std::string& folder, const std::vector<std::string>& files,
                               const std::string& current, const TObserverRecord& observer, QWidget* parent) {
  TSelectAsteroidDlg dialog(folder, files, current, observer, parent);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.ChosenFile();
}

}  // namespace kvx
