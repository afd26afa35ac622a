#include "catalogues/ui/astorb_tool.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "catalogues/astorb_conversion.h"
#include "catalogues/ui/form_driver.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/save_failure.h"
#include "platform/settings_store.h"

namespace kvx {

namespace {

constexpr const char* kSection = "Astorbtool";

QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

}  // namespace

void SetAstorbToolDriver(std::function<void(TMainform_astorb&)> driver) {
  FormDriver<TMainform_astorb>() = std::move(driver);
}

TMainform_astorb::TMainform_astorb(QWidget* owner) : QDialog(owner) {
  SetHelpSection(this, "file-tools");
  setObjectName(QStringLiteral("Mainform_astorb"));
  setModal(true);
  setWindowTitle(Q("ASTORB.DAT/MPCORB.DAT-Konvertierungstool", "ASTORB.DAT/MPCORB.DAT converting tool"));
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QMenuBar(this);
  layout->setMenuBar(bar);
  fileMenu_ = bar->addMenu(Q("&Datei", "&File"));
  fileMenu_->setObjectName(QStringLiteral("Datei1"));
  QAction* open = fileMenu_->addAction(Q("&Öffnen...", "&Open..."));
  open->setObjectName(QStringLiteral("ffnen1"));
  connect(open, &QAction::triggered, this, [this] { OpenClick(); });
  QAction* closeItem = fileMenu_->addAction(Q("&Schließen", "&Close"));
  connect(closeItem, &QAction::triggered, this, &QDialog::close);
  settingsMenu_ = bar->addMenu(Q("&Einstellungen", "&Settings"));
  settingsMenu_->setObjectName(QStringLiteral("Einstellungen1"));
  auto* group = new QActionGroup(this);
  group->setExclusive(true);
  const char* names[3][3] = {{"csvFormaterzeugen1", "&CSV-Format", "&CSV Format"},
                             {"VamurFormaterzeugen1", "Kandrevoltinex-Format", "Kandrevoltinex format"},
                             {"HomePlanetFormaterzeugen1", "&HomePlanet-Format", "&Home Planet format"}};
  for (int k = 0; k < 3; ++k) {
    kinds_[k] = settingsMenu_->addAction(Q(names[k][1], names[k][2]));
    kinds_[k]->setObjectName(QString::fromLatin1(names[k][0]));
    kinds_[k]->setCheckable(true);
    group->addAction(kinds_[k]);
    connect(kinds_[k], &QAction::triggered, this, [this, k] { SetAstorbFormatKind(k); });
  }
  settingsMenu_->addSeparator();
  internationalItem_ = settingsMenu_->addAction(Q("&Internationale Einstellungen", "&International settings"));
  internationalItem_->setObjectName(QStringLiteral("UseInternationalSettings1"));
  internationalItem_->setCheckable(true);
  connect(internationalItem_, &QAction::triggered, this, [this](bool on) { SetAstorbInternational(on); });

  panel_ = new QLabel;
  panel_->setObjectName(QStringLiteral("Panel1"));
  panel_->setFrameShape(QFrame::Panel);
  panel_->setFrameShadow(QFrame::Sunken);
  layout->addWidget(panel_);
  note_ =
      new QLabel(Q("Nur für das Astorb-Dateiformat ab 1998-01-08", "For the Astorb fileformat since 1998-01-08 only"));
  note_->setObjectName(QStringLiteral("Label3"));
  layout->addWidget(note_);
  file_ = new QLabel;
  file_->setObjectName(QStringLiteral("Label1"));
  layout->addWidget(file_);
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel(Q("Zeilen", "Lines")));
  counter_ = new QLabel;
  counter_->setObjectName(QStringLiteral("Label2"));
  countRow->addWidget(counter_, 1);
  layout->addLayout(countRow);
  auto* buttons = new QHBoxLayout;
  stop_button_ = new QPushButton(Q("&Abbruch", "&Stop"));
  stop_button_->setObjectName(QStringLiteral("Button1"));
  connect(stop_button_, &QPushButton::clicked, this, [this] { StopClick(); });
  close_ = new QPushButton(Q("&Schließen", "&Close"));
  close_->setObjectName(QStringLiteral("BitBtn1"));
  connect(close_, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(stop_button_);
  buttons->addStretch(1);
  buttons->addWidget(close_);
  layout->addLayout(buttons);

  SettingsStore& store = CurrentSettingsStore();
  const auto kind = store.ReadInteger(kSection, "FileType").value_or(0);
  SetAstorbFormatKind(kind >= 0 && kind <= 2 ? static_cast<int>(kind) : 0);
  SetAstorbInternational(store.ReadBool(kSection, "International").value_or(false));
  stop_button_->setEnabled(false);
  close_->setEnabled(true);
  resize(520, sizeHint().height());
}

TMainform_astorb::~TMainform_astorb() = default;

void TMainform_astorb::SetAstorbFormatKind(int kind) {
  kind_ = kind;
  for (int k = 0; k < 3; ++k) kinds_[k]->setChecked(k == kind);
  ShowAstorbFormatLabel();
}

void TMainform_astorb::SetAstorbInternational(bool international) {
  international_ = international;
  internationalItem_->setChecked(international);
  ShowAstorbFormatLabel();
}

void TMainform_astorb::ShowAstorbFormatLabel() {
  static const char* const kNames[3] = {"CSV Format", "Kandrevoltinex *.csv Format", "Home Planet *.csv Format"};
  QString text = QString::fromLatin1(kNames[kind_]);
  text += Q("   Dezimal: ", "   Decimal: ");
  text += international_ ? QStringLiteral("<.> ") : QStringLiteral("<,> ");
  text += Q("Trennzeichen:", "Separator:");
  text += international_ ? QStringLiteral(" <,>") : QStringLiteral(" <;>");
  panel_->setText(text);
}

QString TMainform_astorb::FormatLabel() const { return panel_->text(); }
QString TMainform_astorb::Counter() const { return counter_->text(); }

void TMainform_astorb::OpenClick() {
  if (busy_) return;
  FileDialogRequest request;
  request.title = ByLanguage("ASTORB-Datenbank öffnen", "Load ASTORB database");
  request.filters = {ByLanguage("Astorb-Datenbanken (*.dat)", "Astorb datenbases (*.dat)")};
  request.start = "astorb.dat";
  const auto chosen = AskOpenFileName(request);
  if (chosen) Convert(*chosen);
}

void TMainform_astorb::Convert(const std::string& fileName) {
  if (busy_) return;
  const TCatalogueKind kind = CatalogueKindOfFile(fileName);
  const std::string output = ConversionOutputFile(fileName, kind, kind_);
  std::error_code ec;
  if (std::filesystem::exists(output, ec) &&
      ShowMessage("Die Datei " + output + " ist vorhanden. Soll sie ersetzt werden?",
                  "The file " + output + " exists. Replace it?", MessageIcon::Question,
                  MessageButtons::YesNo) != MessageResult::Yes) {
    return;
  }
  file_->setText(Q("Datei: ", "File: ") + QString::fromStdString(fileName));
  stop_ = false;
  busy_ = true;
  fileMenu_->setEnabled(false);
  settingsMenu_->setEnabled(false);
  stop_button_->setEnabled(true);
  close_->setEnabled(false);
  const QString oldNote = note_->text();
  if (kind != TCatalogueKind::Astorb)
    note_->setText(Q("Erzeuge Datei im Kandrevoltinex - Format", "Creating Kandrevoltinex format"));
  const TConversionCallback callback = [this](long written) {
    counter_->setText(QString::number(written));
    QApplication::processEvents();
    if (OnCount) OnCount(written);
    return !stop_;
  };
  const TConversionResult result = kind == TCatalogueKind::MpcorbCr ? ConvertMpcorbCrFile(fileName, callback)
                                   : kind == TCatalogueKind::Mpcorb
                                       ? ConvertMpcorbFile(fileName, callback)
                                       : ConvertAstorbFile(fileName, kind_, international_, callback);
  note_->setText(oldNote);
  stop_button_->setEnabled(false);
  close_->setEnabled(true);
  busy_ = false;
  stop_ = false;
  fileMenu_->setEnabled(true);
  settingsMenu_->setEnabled(true);
  if (!result.Done) {
    counter_->clear();
    static constexpr TSaveFailureLead kLead = {"Die Datei {} konnte nicht geschrieben werden.",
                                               "The file {} could not be written."};
    ShowSaveFailure(kLead, result.Output, result.Error, false);
    return;
  }
  const std::string written = std::to_string(result.Written);
  const std::string skipped = std::to_string(result.Skipped);
  if (result.Stopped) {
    counter_->setText(Q("%1. Abgebrochen, %2 übersprungen.", "%1. Stopped, %2 skipped.")
                          .arg(QString::fromStdString(written), QString::fromStdString(skipped)));
  } else {
    counter_->setText(Q("%1. Fertig. %2 übersprungen.", "%1. Fertig. %2 skipped.")
                          .arg(QString::fromStdString(written), QString::fromStdString(skipped)));
  }
  ReportUnusableRecords(result, fileName);
}

void TMainform_astorb::StoreSettings() {
  SettingsStore& store = CurrentSettingsStore();
  store.WriteInteger(kSection, "FileType", kind_);
  store.WriteBool(kSection, "International", international_);
}

void TMainform_astorb::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void ShowAstorbConversionTool(QWidget* owner) {
  TMainform_astorb tool(owner);
  if (const auto& driver = FormDriver<TMainform_astorb>()) {
    driver(tool);
  } else {
    tool.exec();
  }
  tool.StoreSettings();
}

}  // namespace kvx
