#include "platform/qt/editor_file_rows.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <initializer_list>

#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/settings_store.h"

namespace kvx {

namespace {

QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

}  // namespace

QString NoEditorFileText() { return Q("Keine Datei geladen", "No file"); }

TEditorFileRows AddEditorFileRows(QBoxLayout* layout, const QString& loadCaption, const QString& wordStartCaption) {
  TEditorFileRows rows;
  auto* top = new QHBoxLayout;
  rows.FileLabel = new QLabel(NoEditorFileText());
  rows.FileLabel->setObjectName(QStringLiteral("LabelFile"));
  rows.Load = new QPushButton(loadCaption);
  rows.Load->setObjectName(QStringLiteral("Button1"));
  rows.NewFile = new QPushButton(Q("Neue Datenbank", "New database"));
  rows.NewFile->setObjectName(QStringLiteral("Button50"));
  top->addWidget(rows.FileLabel, 1);
  top->addWidget(rows.Load);
  top->addWidget(rows.NewFile);
  layout->addLayout(top);

  auto* searchRow = new QHBoxLayout;
  auto* searchLabel = new QLabel(Q("s&uchen nach:", "find:"));
  rows.Search = new QLineEdit;
  rows.Search->setObjectName(QStringLiteral("Edit1"));
  searchLabel->setBuddy(rows.Search);
  rows.WordStart = new QCheckBox(wordStartCaption);
  rows.WordStart->setObjectName(QStringLiteral("wortanfang"));
  searchRow->addWidget(searchLabel);
  searchRow->addWidget(rows.Search, 1);
  searchRow->addWidget(rows.WordStart);
  layout->addLayout(searchRow);
  return rows;
}

TEditorRecordRow AddEditorRecordRow(QBoxLayout* layout, const char* deleteEnglish, const QString& finishCaption) {
  TEditorRecordRow row;
  auto* bottom = new QHBoxLayout;
  row.Undo = new QPushButton(Q("&Rückgängig", "&Undo"));
  row.Undo->setObjectName(QStringLiteral("Button4"));
  row.Undo->setEnabled(false);
  row.Delete = new QPushButton(Q("Datensatz &löschen", deleteEnglish));
  row.Delete->setObjectName(QStringLiteral("Button2"));
  row.New = new QPushButton(Q("Datensatz &neu", "&New"));
  row.New->setObjectName(QStringLiteral("Button3"));
  row.Finish = new QPushButton(finishCaption);
  row.Finish->setObjectName(QStringLiteral("BitBtn1"));
  row.Status = new QLabel;
  row.Status->setObjectName(QStringLiteral("Label6"));
  row.Position = new QLabel;
  row.Position->setObjectName(QStringLiteral("Label13"));
  for (QWidget* w : std::initializer_list<QWidget*>{row.Undo, row.Delete, row.New, row.Status, row.Position}) {
    bottom->addWidget(w);
  }
  bottom->addStretch(1);
  bottom->addWidget(row.Finish);
  layout->addLayout(bottom);
  return row;
}

TFileEditorForm::TFileEditorForm(const char* section, const std::string& dataFolder, QWidget* owner)
    : QDialog(owner), section_(section), dataFolder_(dataFolder) {
  // The file editors are the file tools'.
  SetHelpSection(this, "file-tools");
}

void TFileEditorForm::AddFileRows(QBoxLayout* layout, const QString& loadCaption, const QString& wordStartCaption) {
  const TEditorFileRows rows = AddEditorFileRows(layout, loadCaption, wordStartCaption);
  fileLabel_ = rows.FileLabel;
  search_ = rows.Search;
  wordStart_ = rows.WordStart;
  connect(rows.Load, &QPushButton::clicked, this, [this] { LoadClick(); });
  connect(rows.NewFile, &QPushButton::clicked, this, [this] { NewFileClick(); });
  connect(search_, &QLineEdit::textEdited, this, [this](const QString& text) { Search(text); });
  wordStart_->setChecked(CurrentSettingsStore().ReadBool(section_, "Wortanf").value_or(true));
}

QPushButton* TFileEditorForm::AddRecordRow(QBoxLayout* layout, const char* deleteEnglish,
                                           const QString& finishCaption) {
  const TEditorRecordRow bottom = AddEditorRecordRow(layout, deleteEnglish, finishCaption);
  undo_ = bottom.Undo;
  status_ = bottom.Status;
  position_ = bottom.Position;
  connect(undo_, &QPushButton::clicked, this, [this] { UndoClick(); });
  connect(bottom.Delete, &QPushButton::clicked, this, [this] { DeleteClick(); });
  connect(bottom.New, &QPushButton::clicked, this, [this] { NewClick(); });
  return bottom.Finish;
}

void TFileEditorForm::OpenRegisteredOrOffered(const char* defaultFile, const char* offeredFile) {
  const std::string registered =
      CurrentSettingsStore().ReadString(section_, "File").value_or(dataFolder_ + defaultFile);
  if (IsFile(registered)) {
    LoadFile(registered);
    return;
  }
  const std::string offered = dataFolder_ + offeredFile;
  if (const std::optional<std::string> chosen = AskFileToOpen(offered)) {
    LoadFile(*chosen);
    return;
  }
  if (!IsFile(offered) && !CreateEditorFile(offered)) return;
  LoadFile(offered);
}

QString TFileEditorForm::Status() const { return status_->text(); }
QString TFileEditorForm::Position() const { return position_->text(); }

void TFileEditorForm::ShowChanged() {
  status_->setText(Q("Geändert", "Changed"));
  status_->setStyleSheet(QStringLiteral("color: red"));
  undo_->setEnabled(true);
}

void TFileEditorForm::ShowSaved() {
  status_->setText(Q("Gespeichert", "Saved"));
  status_->setStyleSheet(QString());
}

bool TFileEditorForm::IsFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

void TFileEditorForm::StoreSettings() {
  SettingsStore& store = CurrentSettingsStore();
  const std::string fileName = EditedFileName();
  if (IsFile(fileName)) store.WriteString(section_, "File", fileName);
  store.WriteBool(section_, "Wortanf", wordStart_->isChecked());
}

}  // namespace kvx
