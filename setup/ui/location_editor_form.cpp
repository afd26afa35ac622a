#include "setup/ui/location_editor_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/name_tables.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "setup/ui/location_dialog.h"
#include "setup/ui/place_fields.h"

namespace kvx {

namespace {

constexpr const char* kSection = "OrteEdit";

std::function<void(Tcsved&)>& Driver() {
  static std::function<void(Tcsved&)> driver;
  return driver;
}

QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

QString PackedText(double x) { return QString::fromStdString(LocationCoordinateText(x)); }

FileDialogRequest OpenRequest(const std::string& start) {
  FileDialogRequest request;
  request.title = ByLanguage("Datei mit geogr. Koordinaten öffnen", "Open file with geogr. coordinates");
  request.filters = {ByLanguage("Geogr. Koordinaten (*.csv)", "Locations (*.csv)")};
  request.start = start;
  request.defaultExtension = "csv";
  return request;
}

}  // namespace

void SetLocationEditorDriver(std::function<void(Tcsved&)> driver) { Driver() = std::move(driver); }

Tcsved::Tcsved(const std::string& dataFolder, QWidget* owner) : TFileEditorForm(kSection, dataFolder, owner) {
  setObjectName(QStringLiteral("csved"));
  setModal(true);
  setWindowTitle(Q("Datenbank mit geogr. Positionen bearbeiten", "Edit database with geographic locations"));
  auto* layout = new QVBoxLayout(this);

  AddFileRows(layout, Q("Datenbank &laden", "&Load database"),
              Q("nur nach &Wortanfang", "Only by the beginning of the &words"));

  combo_ = new TLocationCombo(model_.List);
  combo_->setObjectName(QStringLiteral("Orttabelle1"));
  connect(combo_, &QComboBox::currentIndexChanged, this, [this](int) {
    if (showing_) return;
    model_.ShowSelected();
    undo_->setEnabled(false);
    ShowRecord();
  });
  layout->addWidget(combo_);

  auto* group = new QGroupBox(Q("Ort", "Location"));
  group->setObjectName(QStringLiteral("GroupBox1"));
  auto* grid = new QGridLayout(group);
  auto addRow = [grid](int row, QLabel* label, QWidget* edit, QWidget* note) {
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    if (note != nullptr) grid->addWidget(note, row, 2);
  };
  name_ = new QLineEdit;
  name_->setObjectName(QStringLiteral("Edit2"));
  longitude_ = new QLineEdit;
  longitude_->setObjectName(QStringLiteral("Edit3"));
  latitude_ = new QLineEdit;
  latitude_->setObjectName(QStringLiteral("Edit4"));
  postcode_ = new QLineEdit;
  postcode_->setObjectName(QStringLiteral("Label16"));
  zone_ = new QSpinBox;
  zone_->setObjectName(QStringLiteral("EditZeitzone"));
  zone_->setRange(-12, 12);
  zoneName_ = new QLabel;
  zoneName_->setObjectName(QStringLiteral("LabelZoneName"));
  extra_ = new QSpinBox;
  extra_->setObjectName(QStringLiteral("SpinEdit1"));
  extra_->setRange(-720, 720);
  addRow(0, new QLabel(Q("&Name:", "&Name:")), name_, nullptr);
  addRow(1, new QLabel(Q("Geogr. Län&ge:", "Geogr. lon&gitude:")), longitude_,
         new QLabel(Q("(g,mmss östlich: negativ)", "(d,mmss east: negative)")));
  addRow(2, new QLabel(Q("Geogr. &Breite:", "Geogr. l&atitude:")), latitude_, new QLabel(Q("(g,mmss)", "(d,mmss)")));
  addRow(3, new QLabel(Q("&Postleitzahl:", "&Postcode:")), postcode_, nullptr);
  addRow(4, new QLabel(Q("&Zeitzone:", "Time &zone:")), zone_, zoneName_);
  addRow(5, new QLabel(Q("Zusätzliche &Minuten:", "Extra &minutes:")), extra_, nullptr);
  layout->addWidget(group);

  for (QLineEdit* e : {name_, longitude_, latitude_, postcode_})
    connect(e, &QLineEdit::textEdited, this, [this] { MarkChanged(); });
  connect(name_, &QLineEdit::editingFinished, this, [this] { TextLeft(); });
  connect(postcode_, &QLineEdit::editingFinished, this, [this] { TextLeft(); });
  connect(longitude_, &QLineEdit::editingFinished, this, [this] { CoordinateLeft(false); });
  connect(latitude_, &QLineEdit::editingFinished, this, [this] { CoordinateLeft(true); });
  for (QSpinBox* s : {zone_, extra_}) {
    connect(s, &QSpinBox::valueChanged, this, [this] {
      if (showing_) return;
      MarkChanged();
      zoneName_->setText(ZoneLabel(zone_->value(), extra_->value()));
    });
    connect(s, &QSpinBox::editingFinished, this, [this] { SpinLeft(); });
  }

  QPushButton* finish = AddRecordRow(layout, "&Delete", QStringLiteral("OK"));
  connect(finish, &QPushButton::clicked, this, &QDialog::accept);
}

Tcsved::~Tcsved() = default;

void Tcsved::OpenStartFile() {
  // A missing offered file is created with one place.
  OpenRegisteredOrOffered("/orte.csv", "/Locations.csv");
}

std::optional<std::string> Tcsved::AskFileToOpen(const std::string& start) {
  return AskOpenFileName(OpenRequest(start));
}

bool Tcsved::LoadFile(const std::string& fileName) {
  const bool loaded = model_.Load(fileName);
  fileLabel_->setText(loaded ? QString::fromStdString(fileName) : NoEditorFileText());
  ReloadCombo();
  search_->clear();
  undo_->setEnabled(false);
  ShowRecord();
  status_->clear();
  return loaded;
}

void Tcsved::ShowRecord() {
  showing_ = true;
  const int at = model_.List.ItemIndex();
  const bool any = at >= 0;
  combo_->ShowCurrent();
  position_->setText(any ? QStringLiteral("%1/%2").arg(at + 1).arg(model_.List.Count()) : QString());
  name_->setText(any ? QString::fromStdString(model_.WorkingName) : QString());
  longitude_->setText(any ? PackedText(model_.Working.Longitude) : QString());
  latitude_->setText(any ? PackedText(model_.Working.Latitude) : QString());
  postcode_->setText(any ? QString::fromStdString(model_.Working.Postcode) : QString());
  zone_->setValue(any ? model_.Working.Zone : 0);
  zoneName_->setText(any ? ZoneLabel(model_.Working.Zone, model_.Working.ExtraMinutes) : QString());
  extra_->setValue(any ? model_.Working.ExtraMinutes : 0);
  const bool locked = model_.ReadOnly || !any;
  for (QLineEdit* e : {name_, longitude_, latitude_, postcode_}) e->setReadOnly(locked);
  zone_->setReadOnly(locked);
  extra_->setReadOnly(locked);
  showing_ = false;
}

void Tcsved::MarkChanged() {
  if (showing_ || model_.List.ItemIndex() < 0 || model_.ReadOnly) return;
  ShowChanged();
}

void Tcsved::CoordinateLeft(bool isLatitude) {
  if (showing_ || model_.List.ItemIndex() < 0 || model_.ReadOnly) return;
  QLineEdit* edit = isLatitude ? latitude_ : longitude_;
  double& stored = isLatitude ? model_.Working.Latitude : model_.Working.Longitude;
  // A text left as it was shown stores nothing.
  if (edit->text() == PackedText(stored)) return;
  double packed = 0;
  const TFieldState state = CheckLocationCoordinate(edit->text().toStdString(), isLatitude ? 90.0 : 180.0, packed);
  if (state == TFieldState::Accepted) {
    if (packed != stored) {
      stored = packed;
      WriteBack();
    } else {
      showing_ = true;
      edit->setText(PackedText(stored));
      showing_ = false;
    }
    return;
  }
  if (state == TFieldState::Refused) {
    QApplication::beep();
    if (isLatitude) {
      ShowMessage("Geogr. Breite: muß >=-90 und <=+90 sein!", "Geogr. latitude: must be >=-90 and <=+90!",
                  MessageIcon::Error, MessageButtons::Ok,
                  ByLanguage("Fehler bei Eingabe der geogr. Breite", "Error while entering geogr. latitude"));
    } else {
      ShowMessage("Geogr. Länge: muß >=-180 und <=+180 sein!", "Geogr. longitude: must be >=-180 and <=+180!",
                  MessageIcon::Error, MessageButtons::Ok,
                  ByLanguage("Fehler bei Eingabe der geogr. Länge", "Error while entering geogr. longitude"));
    }
  }
  showing_ = true;
  edit->setText(PackedText(stored));
  showing_ = false;
  if (state == TFieldState::Refused) edit->setFocus();
}

void Tcsved::TextLeft() {
  if (showing_ || model_.List.ItemIndex() < 0 || model_.ReadOnly) return;
  const std::string name = EditorName(name_->text().toStdString(), 255);
  const std::string postcode = EditorName(postcode_->text().toStdString(), 64);
  if (name == model_.WorkingName && postcode == model_.Working.Postcode) return;
  model_.WorkingName = name;
  model_.Working.Postcode = postcode;
  WriteBack();
}

void Tcsved::SpinLeft() {
  if (showing_ || model_.List.ItemIndex() < 0 || model_.ReadOnly) return;
  if (zone_->value() == model_.Working.Zone && extra_->value() == model_.Working.ExtraMinutes) return;
  model_.Working.Zone = zone_->value();
  model_.Working.ExtraMinutes = extra_->value();
  WriteBack();
}

void Tcsved::ReloadCombo() {
  showing_ = true;
  combo_->Reload();
  showing_ = false;
}

void Tcsved::WriteBack() {
  const bool saved = model_.Store();
  ReloadCombo();
  ShowRecord();
  if (saved) ShowSaved();
}

void Tcsved::UndoClick() {
  undo_->setEnabled(false);
  if (model_.Undo()) ShowSaved();
  ReloadCombo();
  ShowRecord();
}

void Tcsved::DeleteClick() {
  model_.DeleteSelected();
  ShowChangedList();
}

void Tcsved::NewClick() {
  model_.NewRecord();
  ShowChangedList();
}

void Tcsved::ShowChangedList() {
  ReloadCombo();
  undo_->setEnabled(false);
  ShowRecord();
}

void Tcsved::NewFileClick() {
  FileDialogRequest request = OpenRequest(dataFolder_);
  request.title = ByLanguage("Datenbank mit geogr. Koordinaten anlegen", "Create database with georg. locations");
  const auto chosen = AskSaveFileName(request);
  if (!chosen) return;
  if (CreateEditorFile(*chosen)) LoadFile(*chosen);
}

void Tcsved::LoadClick() {
  if (const auto chosen = AskFileToOpen(model_.FileName.empty() ? dataFolder_ : model_.FileName)) LoadFile(*chosen);
}

void Tcsved::Search(const QString& text) {
  if (model_.List.Count() == 0) return;
  model_.List.SetSearchAnywhere(!wordStart_->isChecked());
  if (model_.List.suchen(text.toStdString())) {
    model_.ShowSelected();
    undo_->setEnabled(false);
    ShowRecord();
  }
}

void EditLocationFile(const std::string& dataFolder, QWidget* owner) {
  Tcsved form(dataFolder, owner);
  RunFileEditor(form, Driver());
}

}  // namespace kvx
