#include "catalogues/ui/asteroid_database_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "catalogues/asteroid_database_builder.h"
#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/settings_store.h"

namespace kvx {

namespace {

QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

// A Julian day typed with "," or "."; NaN when it is not a number.
double ReadJd(const QLineEdit& edit) {
  double x = 0;
  if (!ValReal(DecimalSepToDot(TrimBlanks(edit.text().toStdString())), x)) return std::nan("");
  return x;
}

}  // namespace

TFrmAsteroidDatabase::TFrmAsteroidDatabase(const std::string& dataFolder, QWidget* parent)
    : QDialog(parent), source_(dataFolder), destination_(dataFolder) {
  SetHelpSection(this, "file-tools");
  setObjectName("FrmAsteroidDatabase");
  setWindowTitle(Q("Asteroiden-Binärdateien erzeugen", "Create binary Asteroid database"));
  auto* column = new QVBoxLayout(this);
  complete_ = new QCheckBox(Q("Gesamte Datei verwenden", "Use complete file"), this);
  complete_->setObjectName("CheckBox1");
  period_ = new QGroupBox(this);
  period_->setObjectName("GroupBox1");
  auto* grid = new QGridLayout(period_);
  from_ = new QLabel(Q("Von", "From"), period_);
  to_ = new QLabel(Q("bis", "to"), period_);
  jd1_ = new QLineEdit(period_);
  jd1_->setObjectName("FloatEdit1");
  jd2_ = new QLineEdit(period_);
  jd2_->setObjectName("FloatEdit2");
  grid->addWidget(from_, 0, 0);
  grid->addWidget(jd1_, 0, 1);
  grid->addWidget(to_, 0, 2);
  grid->addWidget(jd2_, 0, 3);
  label1_ = new QLabel(this);
  label1_->setObjectName("Label1");
  label2_ = new QLabel(this);
  label2_->setObjectName("Label2");
  label2_->setMinimumWidth(420);
  start_ = new QPushButton(Q("&Konvertieren", "&Start"), this);
  start_->setObjectName("Button3");
  stopButton_ = new QPushButton(Q("Stopp", "Stop"), this);
  stopButton_->setObjectName("Button1");
  stopButton_->setEnabled(false);
  auto* close = new QPushButton(Q("&Schließen", "&Close"), this);
  close->setObjectName("CancelBtn");
  column->addWidget(complete_);
  column->addWidget(period_);
  column->addWidget(label1_);
  column->addWidget(label2_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(start_);
  buttons->addWidget(stopButton_);
  buttons->addStretch();
  buttons->addWidget(close);
  column->addLayout(buttons);

  AskText = [this](const std::string& title, const std::string& prompt,
                   const std::string& text) -> std::optional<std::string> {
    bool ok = false;
    const QString answer = QInputDialog::getText(this, QString::fromStdString(title), QString::fromStdString(prompt),
                                                 QLineEdit::Normal, QString::fromStdString(text), &ok);
    if (!ok) return std::nullopt;
    return answer.toStdString();
  };
  connect(complete_, &QCheckBox::toggled, this, [this](bool on) { CompleteFileToggled(on); });
  connect(start_, &QPushButton::clicked, this, [this] { Start(); });
  connect(stopButton_, &QPushButton::clicked, this, [this] { Stop(); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  LoadSettings();
}

void TFrmAsteroidDatabase::LoadSettings() {
  SettingsStore& store = CurrentSettingsStore();
  jd1_->setText(QString::fromStdString(store.StringOr("Settings", "JD1", "2448000,5")));
  jd2_->setText(QString::fromStdString(store.StringOr("Settings", "JD2", "2455000,5")));
  complete_->setChecked(store.BoolOr("Settings", "UseCompleteFile", true));
  CompleteFileToggled(complete_->isChecked());
  source_ = store.StringOr("Settings", "AsteroidDatabaseCsv", source_);
  destination_ = store.StringOr("Settings", "AsteroidDatabaseBin", destination_);
}

void TFrmAsteroidDatabase::SaveSettings() {
  SettingsStore& store = CurrentSettingsStore();
  store.WriteString("Settings", "AsteroidDatabaseCsv", source_);
  store.WriteString("Settings", "AsteroidDatabaseBin", destination_);
  store.WriteBool("Settings", "UseCompleteFile", complete_->isChecked());
  store.WriteString("Settings", "JD1", jd1_->text().toStdString());
  store.WriteString("Settings", "JD2", jd2_->text().toStdString());
}

void TFrmAsteroidDatabase::CompleteFileToggled(bool on) {
  period_->setEnabled(!on);
  const QString colour = on ? QStringLiteral("color: rgb(128,128,128)") : QStringLiteral("color: black");
  for (QWidget* w : {static_cast<QWidget*>(from_), static_cast<QWidget*>(to_), static_cast<QWidget*>(jd1_),
                     static_cast<QWidget*>(jd2_)}) {
    w->setStyleSheet(colour);
  }
}

bool TFrmAsteroidDatabase::AskFolder(std::string& folder, bool source, bool create) {
  const std::string what =
      source ? ByLanguage("Quellverzeichnis", "Source folder") : ByLanguage("Zielverzeichnis", "Destination folder");
  const std::string prompt = LanguageEnglish != 0 ? "Please enter " + what : "Bitte " + what + " eingeben";
  const std::optional<std::string> answer = AskText(ByLanguage("Verzeichnis wählen", "Select folder"), prompt, folder);
  if (!answer || answer->empty()) return false;
  std::error_code ec;
  if (!std::filesystem::is_directory(*answer, ec)) {
    if (!create) {
      ShowMessage("Ungültiger Verzeichnispfad", "Invalid path", MessageIcon::Error);
      return false;
    }
    std::filesystem::create_directories(*answer, ec);
    if (ec || !std::filesystem::is_directory(*answer, ec)) {
      ShowMessage("Verzeichnis konnte nicht erstellt werden", "Folder could not be created", MessageIcon::Error);
      return false;
    }
  }
  folder = *answer;
  return true;
}

void TFrmAsteroidDatabase::Start() {
  stop_ = false;
  start_->setEnabled(false);
  stopButton_->setEnabled(true);
  const auto restore = [this] {
    stopButton_->setEnabled(false);
    start_->setEnabled(true);
  };
  TAsteroidDatabaseBuild build;
  build.SourceFolder = source_;
  build.DestinationFolder = destination_;
  if (!AskFolder(build.SourceFolder, true, false) || !AskFolder(build.DestinationFolder, false, true)) {
    restore();
    return;
  }
  source_ = build.SourceFolder;
  destination_ = build.DestinationFolder;
  build.UseCompleteFile = complete_->isChecked();
  build.Jd1 = ReadJd(*jd1_);
  build.Jd2 = ReadJd(*jd2_);
  if (!build.UseCompleteFile && (!std::isfinite(build.Jd1) || !std::isfinite(build.Jd2) || build.Jd2 < build.Jd1)) {
    ShowMessage("Der Zeitraum ist ungültig: zwei Julianische Daten, das zweite nicht vor dem ersten.",
                "The period is invalid: two Julian dates, the second not before the first.", MessageIcon::Error);
    restore();
    return;
  }
  const TAsteroidDatabaseBuildResult result = BuildAsteroidDatabase(
      build, [this] { return stop_; },
      [this](int number, const std::string& path) {
        label1_->setText(QString::number(number));
        label2_->setText(QString::fromStdString(path));
        label1_->repaint();
        label2_->repaint();
        QApplication::processEvents();  // lets the stop button through
      });
  restore();
  SaveSettings();
  if (!result.Error.empty()) {
    ShowMessage(result.Error, result.Error, MessageIcon::Error);
    return;
  }
  const std::string summary = DatabaseBuildSummary(result);
  ShowMessage(summary, summary, result.SkippedFiles.empty() ? MessageIcon::Information : MessageIcon::Warning);
}

void TFrmAsteroidDatabase::done(int result) {
  stop_ = true;
  SaveSettings();
  QDialog::done(result);
}

void ShowAsteroidDatabaseBuilder(const std::string& dataFolder, QWidget* parent) {
  TFrmAsteroidDatabase dialog(dataFolder, parent);
  dialog.exec();
}

}  // namespace kvx
