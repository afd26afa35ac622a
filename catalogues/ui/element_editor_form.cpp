#include "catalogues/ui/element_editor_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "catalogues/ui/data_file_dialog.h"
#include "catalogues/ui/element_list_combo.h"
#include "catalogues/ui/form_driver.h"
#include "core/text_conversion.h"
#include "platform/file_dialog.h"

namespace kvx {

namespace {

QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

// The captions of one editor, German then English.
struct TEditorTexts {
  const char* Form[2];
  const char* Group[2];
  const char* Load[2];
  const char* Labels[11][2];
  const char* SaveTitle[2];
};

const TEditorTexts kAsteroidTexts{
    {"Datenbank mit Bahnelementen für Planetoiden bearbeiten", "Edit database with orbital elements for asteroids"},
    {"Aktueller Datensatz", "Current dataset"},
    {"Datenban&k laden", "&Load database"},
    {{"a (AE):", "a (AU):"},
     {"e:", "e:"},
     {"i:", "i:"},
     {"Kno&ten:", "No&de:"},
     {"Pe&rihel(w):", "Pe&rihelion(w):"},
     {"M:", "M:"},
     {"n (Wenn n nicht bekannt ist: 0 eingeben):", "n (If n is unknown, enter 0):"},
     {"&Äquinoktium (Jahr):", "Equoinox (year):"},
     {"Epoche (&JD):", "Epoch (&JD):"},
     {"H:", "H:"},
     {"G:", "G:"}},
    {"Datenbank mit Planetoiden anlegen", "Create database with asteroids"}};

const TEditorTexts kCometTexts{
    {"Datenbank mit Bahnelementen für Kometen bearbeiten", "Edit database with orbital elements for comets"},
    {"Verwendete Bahnelemente (manuelle Eingabe)", "Current dataset"},
    {"&Datenbank öffnen...", "Load database..."},
    {{"q (AE):", "q (AU):"},
     {"e:", "e:"},
     {"i:", "i:"},
     {"Kno&ten:", "Node:"},
     {"&Perihel(w):", "&Arg. of. per.(w):"},
     {"&Äquinoktium (Jahr):", "&Equinox (year):"},
     {"Perihelzeit (&JD):", "Perihelion (&JD):"},
     {"H:", "H:"},
     {"G:", "G:"},
     {"Epoche (JD):", "Epoch (JD):"},
     {nullptr, nullptr}},
    {"Datenbank mit Kometen anlegen", "Create database with comets"}};

const TEditorTexts kVariableTexts{
    {"Datenbank mit veränderlichen Sternen bearbeiten", "Edit database with variable stars"},
    {"Datensatz", "Data set"},
    {"&Datenbank öffnen...", "Load database..."},
    {{"RA:", "RA:"},
     {"DK:", "Dec:"},
     {"Ma&ximalhelligkeit:", "Magnitude (maximal)"},
     {"Mi&nimalhelligkeit:", "Magnitude (minimal)"},
     {"Epoche (JD):", "Epoch (JD):"},
     {"&Periode:", "&Period:"},
     {"&Äquinoktium (Jahr):", "&Equinox (year):"},
     {nullptr, nullptr},
     {nullptr, nullptr},
     {nullptr, nullptr},
     {nullptr, nullptr}},
    {"Datenbank mit veränderlichen Sternen anlegen", "Create database with variable stars"}};

const TEditorTexts& Texts(const TEditorKind& kind) {
  if (&kind == &kCometEditor) return kCometTexts;
  if (&kind == &kVariableStarEditor) return kVariableTexts;
  return kAsteroidTexts;
}

QString T(const char* const (&texts)[2]) { return QString::fromUtf8(texts[LanguageEnglish != 0 ? 1 : 0]); }

QString ValueText(double x, int decimals) {
  std::string s;
  FloatToStrTrim(decimals, s, x);
  return QString::fromStdString(FloatToTextSep(s));
}

}  // namespace

void SetElementEditorDriver(std::function<void(TElementEditorForm&)> driver) {
  FormDriver<TElementEditorForm>() = std::move(driver);
}

TElementEditorForm::TElementEditorForm(std::unique_ptr<TElementEditorModelBase> model, const std::string& dataFolder,
                                       double jd, QWidget* owner)
    : TFileEditorForm(model->Kind().Section, dataFolder, owner), model_(std::move(model)), jd_(jd) {
  const TEditorKind& kind = model_->Kind();
  const TEditorTexts& texts = Texts(kind);
  setObjectName(&kind == &kAsteroidEditor ? QStringLiteral("TPlaned")
                : &kind == &kCometEditor  ? QStringLiteral("TKomed")
                                          : QStringLiteral("Tvared"));
  setModal(true);
  setWindowTitle(T(texts.Form));
  auto* layout = new QVBoxLayout(this);

  AddFileRows(layout, T(texts.Load), Q("Nur nach &Wortanfang", "Only by the beginning of the &words"));

  combo_ = new ElementListCombo;
  combo_->setObjectName(QStringLiteral("Elementliste"));
  combo_->SetList(&model_->List());
  connect(combo_, &ElementListCombo::selectionChanged, this, [this](int) {
    model_->ShowSelected();
    model_->HasSnapshot = false;
    ShowRecord();
  });
  layout->addWidget(combo_);

  auto* group = new QGroupBox(T(texts.Group));
  group->setObjectName(QStringLiteral("GroupBox1"));
  auto* grid = new QGridLayout(group);
  auto* nameLabel = new QLabel(Q("Obje&kt (Name):", "Object (name):"));
  name_ = new QLineEdit;
  name_->setObjectName(QStringLiteral("ID110"));
  nameLabel->setBuddy(name_);
  connect(name_, &QLineEdit::textEdited, this, [this] { MarkChanged(); });
  connect(name_, &QLineEdit::editingFinished, this, [this] { NameLeft(); });
  grid->addWidget(nameLabel, 0, 0);
  grid->addWidget(name_, 0, 1, 1, 2);
  const auto fields = model_->Fields();
  for (std::size_t f = 0; f < fields.size(); ++f) {
    const int row = static_cast<int>(f) + 1;
    auto* label = new QLabel(T(texts.Labels[f]));
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(fields[f].Control));
    label->setBuddy(edit);
    connect(edit, &QLineEdit::textEdited, this, [this] { MarkChanged(); });
    connect(edit, &QLineEdit::editingFinished, this, [this, f] { FieldLeft(f); });
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    edits_.push_back(edit);
  }
  if (&kind == &kAsteroidEditor) {
    auto* e1950 = new QPushButton(QStringLiteral("&1950"));
    e1950->setObjectName(QStringLiteral("ID431"));
    auto* e2000 = new QPushButton(QStringLiteral("&2000"));
    e2000->setObjectName(QStringLiteral("ID421"));
    connect(e1950, &QPushButton::clicked, this, [this] { SetEquinox(1950.0); });
    connect(e2000, &QPushButton::clicked, this, [this] { SetEquinox(2000.0); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(e1950);
    buttons->addWidget(e2000);
    grid->addLayout(buttons, 8, 2);
  }
  // Day-fraction buttons: the comet's T (field 6) and epoch (field 9), the
  // variable star's epoch (field 4).
  auto fractionButton = [&](std::size_t field, const char* name, const char* german, const char* english) {
    auto* button = new QPushButton(Q(german, english));
    button->setObjectName(QString::fromLatin1(name));
    button->setVisible(false);
    connect(button, &QPushButton::clicked, this, [this, field] { DayFractionClick(field); });
    grid->addWidget(button, static_cast<int>(field) + 1, 2);
    fractionButtons_.emplace_back(field, button);
  };
  if (&kind == &kCometEditor) {
    fractionButton(6, "TagesbruchteilButton", "Perihelzeit als Tagesbr&uchteil eingeben",
                   "Enter time of perihelion as day with fractions");
    fractionButton(9, "Button2a", "Epoche als Tagesbruchteil eingeben", "Enter epoch as day with fractions");
  }
  if (&kind == &kVariableStarEditor) {
    fractionButton(4, "TagesbruchteilButton", "Epoche als Tagesbr&uchteil eingeben",
                   "Enter epoch as day with fractions");
    auto* typeLabel = new QLabel(Q("&Typ:", "&Type:"));
    type_ = new QComboBox;
    type_->setObjectName(QStringLiteral("ListBox1"));
    type_->addItems({QStringLiteral("Cepheid"), Q("Bedeckungsveränderliche", "Eclipsing binary star"),
                     Q("Mira-Stern", "Mira star")});
    typeLabel->setBuddy(type_);
    connect(type_, &QComboBox::activated, this, [this](int item) {
      if (showing_) return;
      MarkChanged();
      model_->SetType(item == 0 ? "c" : item == 2 ? "m" : "b");
      WriteBack();
    });
    const int row = static_cast<int>(fields.size()) + 1;
    grid->addWidget(typeLabel, row, 0);
    grid->addWidget(type_, row, 1);
  }
  layout->addWidget(group);

  QPushButton* finish = AddRecordRow(layout, "Delete", Q("&Schließen", "&Close"));
  connect(finish, &QPushButton::clicked, this, &QDialog::close);
}

TElementEditorForm::~TElementEditorForm() { combo_->SetList(nullptr); }

const char* TElementEditorForm::DataFileKeyword() const {
  const TEditorKind& kind = model_->Kind();
  return &kind == &kAsteroidEditor ? "planetoiden" : &kind == &kCometEditor ? "kometen" : "variable";
}

void TElementEditorForm::OpenStartFile() {
  const TEditorKind& kind = model_->Kind();
  // A missing offered file is created with one entry.
  OpenRegisteredOrOffered(kind.DefaultFile, kind.OfferedFile);
}

std::optional<std::string> TElementEditorForm::AskFileToOpen(const std::string& start) {
  VamurDateien dialog;
  dialog.SetFileDialogLanguage(LanguageEnglish != 0 ? "ENGLISH" : "GERMAN");
  dialog.SetFileDialogKind(DataFileKeyword());
  dialog.FileName = start;
  if (!dialog.Execute()) return std::nullopt;
  return dialog.FileName;
}

bool TElementEditorForm::LoadFile(const std::string& fileName) {
  const bool loaded = model_->Load(fileName);
  // Refused while a file is open: that file stays, shown as it was.
  if (!loaded && !model_->FileName.empty()) return false;
  fileLabel_->setText(loaded ? QString::fromStdString(fileName) : NoEditorFileText());
  combo_->Reload();
  changed_ = false;
  undo_->setEnabled(false);
  ShowRecord();
  status_->clear();
  return loaded;
}

void TElementEditorForm::ShowRecord() {
  showing_ = true;
  TElementListBase& list = model_->List();
  const bool any = list.ItemIndex >= 0;
  position_->setText(any ? QStringLiteral("%1/%2").arg(list.ItemIndex + 1).arg(list.Count()) : QString());
  name_->setText(any ? QString::fromStdString(model_->Name()) : QString());
  const auto fields = model_->Fields();
  for (std::size_t f = 0; f < fields.size(); ++f) {
    if (!any) {
      edits_[f]->clear();
      continue;
    }
    const double x = model_->Field(f);
    edits_[f]->setText(ValueText(x, fields[f].Decimals));
    // A stored value outside the field's rule is shown marked, not refused.
    edits_[f]->setStyleSheet(FieldValueAccepted(fields[f].Test, x) ? QString() : QStringLiteral("color: red"));
  }
  if (type_ != nullptr && any) {
    const std::string t = model_->Type();
    type_->setCurrentIndex(t == "c" ? 0 : t == "m" ? 2 : 1);
  }
  for (QLineEdit* e : edits_) e->setReadOnly(model_->ReadOnly || !any);
  name_->setReadOnly(model_->ReadOnly || !any);
  showing_ = false;
}

void TElementEditorForm::MarkChanged() {
  if (showing_ || model_->List().ItemIndex < 0) return;
  if (!changed_ && !model_->HasSnapshot) model_->TakeSnapshot();
  changed_ = true;
  ShowChanged();
}

void TElementEditorForm::FieldLeft(std::size_t field) {
  if (showing_ || model_->List().ItemIndex < 0 || model_->ReadOnly) return;
  const TEditorFieldRule& rule = model_->Fields()[field];
  QLineEdit* edit = edits_[field];
  // A text left as it was shown stores nothing: the value keeps every digit.
  if (edit->text() == ValueText(model_->Field(field), rule.Decimals)) return;
  double value = 0;
  const TFieldState state = CheckEditorField(rule, edit->text().toStdString(), value);
  if (state == TFieldState::Accepted) {
    if (value != model_->Field(field)) {
      model_->SetField(field, value);
      WriteBack();
    }
    return;
  }
  if (state == TFieldState::Refused && rule.GermanText != nullptr) {
    QApplication::beep();
    ShowMessage(rule.GermanText, rule.EnglishText, MessageIcon::Error, MessageButtons::Ok,
                ByLanguage(rule.GermanCaption, rule.EnglishCaption));
  }
  // The stored value comes back.
  showing_ = true;
  edit->setText(ValueText(model_->Field(field), rule.Decimals));
  showing_ = false;
  if (state == TFieldState::Refused) edit->setFocus();
}

void TElementEditorForm::NameLeft() {
  if (showing_ || model_->List().ItemIndex < 0 || model_->ReadOnly) return;
  const std::string typed = name_->text().toStdString();
  if (typed == model_->Name()) return;
  model_->SetName(typed);
  WriteBack();
}

void TElementEditorForm::WriteBack() {
  if (model_->ReadOnly) return;
  const bool saved = model_->Store();
  combo_->Reload();
  ShowRecord();
  changed_ = false;
  if (saved) ShowSaved();
}

void TElementEditorForm::UndoClick() {
  undo_->setEnabled(false);
  changed_ = false;
  if (model_->Undo()) ShowSaved();
  combo_->Reload();
  ShowRecord();
}

void TElementEditorForm::DeleteClick() {
  if (model_->ReadOnly) return;
  model_->DeleteSelected();
  combo_->Reload();
  undo_->setEnabled(false);
  ShowRecord();
}

void TElementEditorForm::NewClick() {
  if (model_->ReadOnly || model_->FileName.empty()) return;
  model_->NewRecord(jd_);
  combo_->Reload();
  undo_->setEnabled(false);
  ShowRecord();
}

void TElementEditorForm::SetEquinox(double year) {
  if (model_->List().ItemIndex < 0 || model_->ReadOnly) return;
  MarkChanged();
  // The equinox is field 7 of the asteroid editor.
  model_->SetField(7, year);
  edits_[7]->setFocus();
  WriteBack();
}

void TElementEditorForm::SetDayFractionHook(std::function<bool(double& jd)> hook) {
  dayFraction_ = std::move(hook);
  for (auto& [field, button] : fractionButtons_) button->setVisible(static_cast<bool>(dayFraction_));
}

QPushButton* TElementEditorForm::DayFractionButton(std::size_t field) const {
  for (const auto& [f, button] : fractionButtons_) {
    if (f == field) return button;
  }
  return nullptr;
}

void TElementEditorForm::DayFractionClick(std::size_t field) {
  if (!dayFraction_ || model_->List().ItemIndex < 0 || model_->ReadOnly) return;
  double jd = model_->Field(field);
  if (!dayFraction_(jd) || !FieldValueAccepted(model_->Fields()[field].Test, jd)) return;
  MarkChanged();
  model_->SetField(field, jd);
  WriteBack();
}

void TElementEditorForm::NewFileClick() {
  const TEditorKind& kind = model_->Kind();
  const TEditorTexts& texts = Texts(kind);
  FileDialogRequest request;
  request.title = T(texts.SaveTitle).toStdString();
  request.filters = {LanguageEnglish != 0 ? "Element files (*.csv)" : "Elementdateien (*.csv)"};
  request.start = dataFolder_;
  request.defaultExtension = "csv";
  const auto chosen = AskSaveFileName(request);
  if (!chosen) return;
  if (CreateEditorFile(*chosen)) LoadFile(*chosen);
}

void TElementEditorForm::LoadClick() {
  if (const std::optional<std::string> chosen = AskFileToOpen(model_->FileName)) LoadFile(*chosen);
}

void TElementEditorForm::Search(const QString& text) {
  TElementListBase& list = model_->List();
  if (list.Count() == 0) return;
  list.SetSearchAnywhere(!wordStart_->isChecked());
  list.suchen(text.toStdString());
}

namespace {

void RunEditor(std::unique_ptr<TElementEditorModelBase> model, const std::string& dataFolder, double jd, QWidget* owner,
               std::function<bool(double& jd)> dayFraction = {}) {
  TElementEditorForm form(std::move(model), dataFolder, jd, owner);
  form.SetDayFractionHook(std::move(dayFraction));
  RunFileEditor(form, FormDriver<TElementEditorForm>());
}

}  // namespace

void EditAsteroidElementFile(const std::string& dataFolder, double jd, QWidget* owner) {
  RunEditor(std::make_unique<TAsteroidEditorModel>(kAsteroidEditor, AsteroidEditorFields()), dataFolder, jd, owner);
}

void EditCometElementFile(bool /*hints*/, const std::string& dataFolder, double jd, QWidget* owner,
                          std::function<bool(double& jd)> dayFraction) {
  RunEditor(std::make_unique<TCometEditorModel>(kCometEditor, CometEditorFields()), dataFolder, jd, owner,
            std::move(dayFraction));
}

void EditVariableStarFile(bool /*hints*/, const std::string& dataFolder, double jd, QWidget* owner,
                          std::function<bool(double& jd)> dayFraction) {
  RunEditor(std::make_unique<TVariableStarEditorModel>(kVariableStarEditor, VariableStarEditorFields()), dataFolder, jd,
            owner, std::move(dayFraction));
}

}  // namespace kvx
