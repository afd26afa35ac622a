#include "app/ui/user_catalogue_dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "app/ui/app_dialog_builders.h"
#include "platform/busy_cursor.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/text_encoding.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {

QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }
QString U(const std::string& text) { return QString::fromStdString(text); }

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

// --- the editor --------------------------------------------------------------------------------

TdlgUsercat::TdlgUsercat(TUserCatalogueContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
  SetHelpSection(this, "menu-objects");
  setObjectName("dlgUsercat");
  setWindowTitle(Q("Benutzerdefinierter Katalog", "User defined catalogue"));
  auto* grid = new QGridLayout(this);
  file_ = NewNamed<QLabel>("Label1", this);
  count_ = NewNamed<QLabel>("Label2", this);
  list_ = NewNamed<QListWidget>("ListBox1", this);
  list_->setUniformItemSizes(true);  // large catalogues
  memo_ = NewNamed<QLineEdit>("Memo1", this);
  search_caption_ = new QLabel(Q("S&uchen:", "&Find:"), this);
  search_ = NewNamed<QLineEdit>("Edit1", this);
  search_caption_->setBuddy(search_);
  status_ = NewNamed<QLabel>("Label3", this);
  progress_ = NewNamed<QProgressBar>("ProgressBar1", this);
  progress_->setEnabled(false);
  progress_->setTextVisible(false);

  auto* load = NewNamed<QPushButton>("LoadButton", Q("Katalog &laden", "&Load catalogue"), this);
  auto* save = NewNamed<QPushButton>("SaveButton", Q("Katalog speichern", "Save catalogue"), this);
  auto* none = NewNamed<QPushButton>("NoneButton", Q("&Keinen Katalog verwenden", "Use &no catalogue"), this);
  auto* add = NewNamed<QPushButton>("AddButton", Q("Eintrag hinzu&fügen", "&Add item"), this);
  auto* remove = NewNamed<QPushButton>("DeleteButton", Q("&Eintrag löschen", "&Delete item"), this);
  auto* close = NewNamed<QPushButton>("CloseButton", Q("&Schließen", "&Close"), this);

  grid->addWidget(file_, 0, 0, 1, 2);
  grid->addWidget(count_, 1, 0, 1, 2);
  grid->addWidget(list_, 2, 0, 8, 1);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {load, save, none, add, remove}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(close);
  grid->addLayout(buttons, 2, 1, 8, 1);
  grid->addWidget(memo_, 10, 0, 1, 2);
  auto* find = new QHBoxLayout;
  find->addWidget(search_caption_);
  find->addWidget(search_, 1);
  find->addWidget(status_);
  grid->addLayout(find, 11, 0, 1, 2);
  grid->addWidget(progress_, 12, 0, 1, 2);
  grid->setColumnStretch(0, 1);
  resize(720, 480);

  connect(load, &QPushButton::clicked, this, [this] { LoadCatalogue(); });
  connect(save, &QPushButton::clicked, this, [this] { SaveCatalogue(); });
  connect(none, &QPushButton::clicked, this, [this] { UseNoCatalogue(); });
  connect(add, &QPushButton::clicked, this, [this] { AddItem(); });
  connect(remove, &QPushButton::clicked, this, [this] { DeleteItem(); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { RowChanged(row); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { ToggleRow(list_->row(item)); });
  connect(memo_, &QLineEdit::textEdited, this, [this](const QString& text) { MemoEdited(text); });
  connect(search_, &QLineEdit::textChanged, this, [this] { Search(); });
  Refresh();
}

std::vector<std::string> TdlgUsercat::ShownLines() const { return ListLines(*list_); }

void TdlgUsercat::Refresh() {
  std::vector<std::string>& lines = *context_.Lines;
  if (lines.empty() && context_.Objects->Count() > 0 && FileExists(*context_.FileName)) {
    ReadTextFileLines(*context_.FileName, lines);
  }
  list_->clear();
  if (!lines.empty() && lines.front() == kUserCatalogueFirstLine) {
    list_->addItems(ListItemTexts(lines));
    file_->setText(U(*context_.FileName));
    count_->setText(QString::number(context_.Objects->Count()) + Q(" Objekte", " Objects"));
  } else {
    file_->setText(Q("Kein Katalog", "No catalogue"));
    count_->clear();
  }
  memo_->clear();
}

void TdlgUsercat::LoadNamed(const std::string& fileName) {
  const std::string previous = *context_.FileName;
  *context_.FileName = fileName;
  list_->clear();
  progress_->setEnabled(true);
  const bool loaded = context_.Load(true, [this](int position, int count) {
    progress_->setRange(0, std::max(0, count - 1));
    progress_->setValue(position);
  });
  progress_->setEnabled(false);
  progress_->reset();
  if (!loaded) {
    // A catalogue that was read but gives no object stays chosen; a file that
    // could not be read as a catalogue gives the old name back.
    const bool isCatalogue = !context_.Lines->empty() && context_.Lines->front() == kUserCatalogueFirstLine &&
                             context_.Objects->Count() == 0 && FileExists(fileName);
    if (!isCatalogue) *context_.FileName = previous;
  }
  if (context_.SettingsChanged) context_.SettingsChanged();
  Refresh();
}

void TdlgUsercat::LoadCatalogue() {
  BusyCursorScope busy;
  FileDialogRequest request;
  request.title = ByLanguage("Eigenen Katalog laden", "Load user defined catalogue");
  request.filters = {ByLanguage("Eigene Kataloge (*.csv)", "User defined catalogues (*.csv)")};
  request.start = *context_.FileName;
  request.defaultExtension = "csv";
  const std::optional<std::string> chosen = AskOpenFileName(request);
  if (!chosen) return;
  LoadNamed(*chosen);
}

void TdlgUsercat::UseNoCatalogue() {
  context_.Objects->clear();
  context_.Lines->clear();
  list_->clear();
  context_.FileName->clear();
  if (context_.SettingsChanged) context_.SettingsChanged();
  Refresh();
}

void TdlgUsercat::RowChanged(int row) {
  copying_ = true;
  memo_->setText(row >= 0 && row < list_->count() ? list_->item(row)->text() : QString());
  copying_ = false;
}

void TdlgUsercat::MemoEdited(const QString& text) {
  if (copying_) return;
  const int row = list_->currentRow();
  if (row < 0 || row >= list_->count()) return;
  list_->item(row)->setText(text.section('\n', 0, 0));
}

void TdlgUsercat::ToggleRow(int row) {
  if (row < 0 || row >= list_->count()) return;
  std::string line = list_->item(row)->text().toStdString();
  if (!ToggleUserCatalogueLine(line, row)) return;
  list_->item(row)->setText(U(line));
  list_->setCurrentRow(row);
  RowChanged(row);
}

void TdlgUsercat::AddItem() {
  list_->addItem(U(NewUserCatalogueEntry(LanguageEnglish != 0)));
  list_->setCurrentRow(list_->count() - 1);
  RowChanged(list_->count() - 1);
}

void TdlgUsercat::DeleteItem() {
  const int row = list_->currentRow();
  if (row < 0 || row >= list_->count()) return;
  delete list_->takeItem(row);
  RowChanged(list_->currentRow());
}

void TdlgUsercat::SaveCatalogue() {
  const std::vector<std::string> lines = ShownLines();
  std::string fileName = *context_.FileName;
  if (fileName.empty()) {
    ShowMessage("Es ist kein Katalog geladen; nichts wurde gespeichert.", "No catalogue is loaded; nothing was saved.",
                MessageIcon::Warning);
    return;
  }
  static constexpr TSaveFailureLead kLead = {"Der Katalog {} wurde nicht gespeichert.",
                                             "The catalogue {} was not saved."};
  if (!SaveUserFile(fileName, kLead, context_.Read,
                    [&](TWriteError& error) { return WriteUserCatalogue(fileName, lines, error); })) {
    return;
  }
  context_.Lines->clear();
  LoadNamed(fileName);
}

void TdlgUsercat::Search() {
  int index = -1;
  QString found;
  FindInListControl(search_->text(), *list_, index, found, status_);
  if (index >= 0) RowChanged(index);
}

void ShowUserCatalogDialog(TUserCatalogueContext context, QWidget* parent) {
  TdlgUsercat dialog(std::move(context), parent);
  dialog.exec();
}

// --- the picker --------------------------------------------------------------------------------

TUserCatFind::TUserCatFind(const tuserlist& objects, QWidget* parent) : QDialog(parent) {
  setObjectName("UserCatFind");
  setWindowTitle(Q("Objekt aus benutzerdefinertem Katalog wählen", "Select Object in user defined catalogue"));
  auto* grid = new QGridLayout(this);
  list_ = NewNamed<QListWidget>("ListBox1", this);
  list_->setUniformItemSizes(true);
  QStringList names;
  names.reserve(objects.Count());
  for (int i = 0; i < objects.Count(); ++i) names.push_back(U(objects.Item(i)->Name));
  list_->addItems(names);
  auto* caption = new QLabel(Q("&Suchen nach:", "&Search for:"), this);
  search_ = NewNamed<QLineEdit>("Edit1", this);
  caption->setBuddy(search_);
  status_ = NewNamed<QLabel>("Label2", this);
  const TOkCancelRow buttons = MakeOkCancelRow(this, "", "", Q("&Abbrechen", "&Cancel"), QStringLiteral("OK"));
  ok_ = buttons.Ok;
  grid->addWidget(caption, 0, 0);
  grid->addWidget(search_, 0, 1);
  grid->addWidget(status_, 1, 0, 1, 2);
  grid->addWidget(list_, 2, 0, 1, 2);
  grid->addLayout(buttons.Row, 3, 0, 1, 2);
  resize(420, 460);
  AcceptOnDoubleClick(this, list_);
  SearchListAsTyped(search_, list_, status_);
}

int FindUserCatalogObject(const tuserlist& objects, QWidget* parent) {
  if (objects.Count() == 0) return -1;
  TUserCatFind dialog(objects, parent);
  if (dialog.exec() != QDialog::Accepted) return -1;
  const int row = dialog.List()->currentRow();
  if (row < 0 || row >= objects.Count()) return -1;
  const QListWidgetItem* item = dialog.List()->item(row);
  return item != nullptr && item->isSelected() ? row : -1;
}

}  // namespace kvx
