#include "catalogues/ui/variable_star_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <memory>
#include <system_error>

#include "catalogues/ui/data_file_dialog.h"
#include "catalogues/ui/element_list_combo.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/settings_store.h"

namespace kvx {

namespace {

constexpr const char* kNoVariable = "Kein Variabler";

QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

// Canonical form of a path for comparing files; the path itself when the
// file does not exist.
std::string CanonicalOf(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : canonical.string();
}

}  // namespace

Telementevarform::Telementevarform(QWidget* parent) : QDialog(parent) {
  SetHelpContext(this, kHelpTopicVariableStars);
  setObjectName("elementevarform");
  auto* grid = new QGridLayout(this);
  auto* objects = new QLabel(this);
  objects->setObjectName("Label13");
  combo_ = new ElementListCombo(this);
  combo_->setObjectName("variablentabelle1");
  combo_->setMinimumWidth(280);
  objects->setBuddy(combo_);
  search_caption_ = new QLabel(this);
  search_ = new QLineEdit(this);
  search_->setObjectName("Edit1");
  search_caption_->setBuddy(search_);
  wortanfang_ = new QCheckBox(this);
  wortanfang_->setObjectName("wortanfang");
  open_ = new QPushButton(this);
  open_->setObjectName("Button1");
  none_ = new QPushButton(this);
  none_->setObjectName("Button2");
  name_caption_ = new QLabel(this);
  name_ = new QLabel(this);
  name_->setObjectName("ID110");
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OK");
  ok->setDefault(true);
  cancel_ = new QPushButton(this);
  cancel_->setObjectName("Abbruch");
  grid->addWidget(objects, 0, 0);
  grid->addWidget(combo_, 0, 1, 1, 2);
  grid->addWidget(search_caption_, 1, 0);
  grid->addWidget(search_, 1, 1, 1, 2);
  grid->addWidget(wortanfang_, 2, 1, 1, 2);
  grid->addWidget(name_caption_, 3, 0);
  grid->addWidget(name_, 3, 1, 1, 2);
  grid->addWidget(open_, 4, 1);
  grid->addWidget(none_, 4, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel_);
  grid->addLayout(buttons, 5, 0, 1, 3);

  wortanfang_->setChecked(CurrentSettingsStore().ReadBool("Settings", "SearchVariableByBeginning").value_or(true));
  combo_->SetList(&variablentabelle1);
  connect(ok, &QPushButton::clicked, this, [this] { done(1); });
  connect(cancel_, &QPushButton::clicked, this, [this] { done(0); });
  connect(none_, &QPushButton::clicked, this, [this] { NoObject(); });
  connect(open_, &QPushButton::clicked, this, [this] { OpenFile(); });
  connect(search_, &QLineEdit::textChanged, this, [this] { DoSearch(); });
  connect(wortanfang_, &QCheckBox::clicked, this, [this] {
    SearchAnywhere = wortanfang_->isChecked() ? 0 : 1;
    DoSearch();
  });
  connect(combo_, &ElementListCombo::selectionChanged, this, [this](int) {
    if (keeping_record_) return;
    if (const TVariableStarElements* r = variablentabelle1.Selected()) Record = *r;
    ShowName();
  });
}

void Telementevarform::ShowName() {
  const bool none = Record.Name == kNoVariable;
  name_->setText(none && LanguageEnglish != 0 ? QString("No variable star") : QString::fromStdString(Record.Name));
}

void Telementevarform::ShowRecordInList() {
  variablentabelle1.Select(Record.Name == kNoVariable ? -1 : variablentabelle1.IndexOfRecord(Record));
  combo_->ShowSelection();
}

void Telementevarform::ShowSequence() {
  const TVariableStarElements copy = Record;
  if (FileName.empty()) FileName = DataFolder.empty() ? "variab.csv" : DataFolder + "/variab.csv";
  if (LoadPending != 0) {
    variablentabelle1.CurrentRecord = Record;
    variablentabelle1.Neuedateiladen(FileName, 0, false);
    combo_->Reload();
  }
  setWindowTitle(Q("Veränderlichen Stern wählen", "Select variable star"));
  findChild<QLabel*>("Label13")->setText(Q("O&bjekte", "O&bjects"));
  wortanfang_->setText(Q("nur nach &Wortanfang", "Only by the beginning of the &words"));
  open_->setText(Q("&Datei öffnen", "&Open file"));
  none_->setText(Q("&Kein Objekt", "&No Object"));
  name_caption_->setText(Q("Objekt (Name):", "Object (name):"));
  search_caption_->setText(Q("&suchen nach...", "&search for..."));
  cancel_->setText(Q("Abbrechen", "Cancel"));
  LoadPending = 0;
  SearchAnywhere = wortanfang_->isChecked() ? 0 : 1;
  Record = copy;
  ShowName();
  ShowRecordInList();
}

void Telementevarform::SetVariableStarFileName(bool showMessages) {
  if (LoadPending != 0) return;
  // Another list under the dialog: the chosen star stays and is shown in it.
  keeping_record_ = true;
  variablentabelle1.Neuedateiladen(FileName, 0, showMessages);
  keeping_record_ = false;
  combo_->Reload();
  ShowRecordInList();
}

void Telementevarform::OpenFile() {
  VamurDateien dialog;
  dialog.SetFileDialogLanguage(LanguageEnglish != 0 ? "ENGLISH" : "GERMAN");
  dialog.SetFileDialogKind("variable");
  dialog.FileName = FileName;
  if (!dialog.Execute()) return;
  repaint();
  if (CanonicalOf(dialog.FileName) == CanonicalOf(FileName) && variablentabelle1.Loaded != 0) return;
  // Read into a fresh list: a file that cannot be read or holds no star is
  // refused and leaves the list, the chosen star and the name as they were.
  variablentabelle loaded;
  if (!loaded.Neuedateiladen(dialog.FileName, 0, true)) return;
  if (loaded.Count() == 0) {
    ShowMessage("Die Datei " + dialog.FileName + " enthält keine veränderlichen Sterne.",
                "The file " + dialog.FileName + " holds no variable stars.", MessageIcon::Error);
    return;
  }
  if (!undo_load_) {
    auto kept = std::make_shared<variablentabelle::TKept>(variablentabelle1.Kept());
    undo_load_ = [this, kept, file = FileName] {
      variablentabelle1.Restore(std::move(*kept));
      FileName = file;
    };
  }
  FileName = dialog.FileName;
  variablentabelle1.TakeOver(loaded);
  combo_->Reload();
}

void Telementevarform::NoObject() {
  Record.Name = kNoVariable;
  ShowName();
  ShowRecordInList();
}

void Telementevarform::DoSearch() {
  if (variablentabelle1.Count() == 0) return;
  variablentabelle1.SetSearchAnywhere(SearchAnywhere != 0);
  variablentabelle1.suchen(search_->text().toStdString());
}

void Telementevarform::hideEvent(QHideEvent* event) {
  CurrentSettingsStore().WriteBool("Settings", "SearchVariableByBeginning", wortanfang_->isChecked());
  QDialog::hideEvent(event);
}

int ChooseVariableStar(Telementevarform& form, bool hints, TVariableStarElements& record) {
  form.Hints = hints ? 1 : 0;
  form.Record = record;
  form.ShowSequence();
  form.undo_load_ = nullptr;
  const int result = form.exec();
  if (result == 1) {
    record = form.Record;
  } else if (form.undo_load_) {
    // Cancel: a file opened meanwhile is undone.
    form.undo_load_();
    form.combo_->Reload();
  }
  form.undo_load_ = nullptr;
  return result;
}

}  // namespace kvx
