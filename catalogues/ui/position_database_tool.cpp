#include "catalogues/ui/position_database_tool.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "catalogues/ui/form_driver.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/save_failure.h"

namespace kvx {

namespace {

constexpr const char* kProgramTitle = "Kandrevoltinex 4.6";

QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

}  // namespace

void SetPositionDatabaseToolDriver(std::function<void(TDatabaseTool&)> driver) {
  FormDriver<TDatabaseTool>() = std::move(driver);
}

TDatabaseTool::TDatabaseTool(TPositionDatabaseHost host, QWidget* owner) : QDialog(owner), host_(std::move(host)) {
  SetHelpSection(this, "file-tools");
  setObjectName(QStringLiteral("DatabaseTool"));
  setModal(true);
  setWindowTitle(Q("Datenbanken mit vorberechneten Positionen", "Databases with computed positions"));
  Build();
  stop_button_->setEnabled(false);
  resize(440, sizeHint().height());
}

TDatabaseTool::~TDatabaseTool() = default;

void TDatabaseTool::Build() {
  auto* layout = new QVBoxLayout(this);
  period_box_ = new QGroupBox(Q("Datenbank von 1.1.1900 bis", "Database from 1.1.1900 until"));
  period_box_->setObjectName(QStringLiteral("RadioGroup1"));
  auto* groupLayout = new QVBoxLayout(period_box_);
  periods_ = new QButtonGroup(this);
  const char* const periodTexts[3] = {"1.1.2100", "1.1.2200", "ca. 1910 (Testmodus)"};
  for (int item = 0; item < 3; ++item) {
    auto* radio = new QRadioButton(QString::fromUtf8(periodTexts[item]));
    periods_->addButton(radio, item);
    groupLayout->addWidget(radio);
  }
  periods_->button(0)->setChecked(true);
  connect(periods_, &QButtonGroup::idClicked, this, [this] { RadioGroup1Click(); });
  layout->addWidget(period_box_);

  auto* bodyRow = new QHBoxLayout;
  body_label_ = new QLabel(Q("&Objekt/Dateiname:", "&Object/database:"));
  body_label_->setObjectName(QStringLiteral("Label1"));
  body_combo_ = new QComboBox;
  body_combo_->setObjectName(QStringLiteral("ComboBox1"));
  for (const char* body : kPositionDatabaseBodies) body_combo_->addItem(QString::fromLatin1(body));
  body_label_->setBuddy(body_combo_);
  bodyRow->addWidget(body_label_);
  bodyRow->addWidget(body_combo_, 1);
  layout->addLayout(bodyRow);

  integration_box_ = new QCheckBox(Q("Datenbank für numerische Integration", "Database for numerical integration"));
  integration_box_->setObjectName(QStringLiteral("CheckBox1"));
  connect(integration_box_, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
  layout->addWidget(integration_box_);

  status_ = new QLabel;
  status_->setObjectName(QStringLiteral("Label2"));
  status_->setFrameShape(QFrame::Panel);
  status_->setFrameShadow(QFrame::Sunken);
  status_->setMinimumHeight(status_->fontMetrics().height() + 6);
  layout->addWidget(status_);

  auto* buttons = new QHBoxLayout;
  create_ = new QPushButton(Q("&Datei erzeugen", "C&reate database"));
  create_->setObjectName(QStringLiteral("Button1"));
  connect(create_, &QPushButton::clicked, this, [this] { Button1Click(); });
  stop_button_ = new QPushButton(QStringLiteral("&Stop"));
  stop_button_->setObjectName(QStringLiteral("BtnStop"));
  connect(stop_button_, &QPushButton::clicked, this, [this] { BtnStopClick(); });
  close_ = new QPushButton(Q("&Schließen", "&Close"));
  close_->setObjectName(QStringLiteral("BtnClose"));
  connect(close_, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(create_);
  buttons->addWidget(stop_button_);
  buttons->addStretch(1);
  buttons->addWidget(close_);
  layout->addLayout(buttons);
}

QString TDatabaseTool::Status() const { return status_->text(); }

void TDatabaseTool::Activate() {
  RadioGroup1Click();
  body_combo_->setCurrentIndex(0);
  integration_box_->setChecked(false);
  CheckBox1Click();
}

void TDatabaseTool::RadioGroup1Click() {
  const int item = periods_->checkedId();
  days_ = item == 1 || item == 2 ? kPositionDatabaseDays[static_cast<std::size_t>(item)] : kPositionDatabaseDays[0];
}

void TDatabaseTool::CheckBox1Click() {
  integration_database_ = integration_box_->isChecked() ? 1 : 0;
  body_combo_->setEnabled(integration_database_ == 0 && !busy_);
  body_label_->setEnabled(integration_database_ == 0);
}

void TDatabaseTool::BtnStopClick() {
  if (ShowMessage("Berechnung wirklich abbrechen?", "Do you really want to cancel?", MessageIcon::Question,
                  MessageButtons::YesNo, kProgramTitle) == MessageResult::Yes)
    stop_requested_ = 1;
}

void TDatabaseTool::Button1Click() {
  if (busy_) return;
  if (ShowMessage("Möchten Sie wirklich eine neue Datenbank erzeugen?", "Do you really want to create a new database?",
                  MessageIcon::Question, MessageButtons::YesNo,
                  ByLanguage("Langwierige Berechnung", "Slow computation")) != MessageResult::Yes)
    return;
  const TPositionDatabaseKind kind =
      integration_database_ != 0 ? TPositionDatabaseKind::Integration : TPositionDatabaseKind::Body;
  const int body = body_combo_->currentIndex();
  if (!host_.Vsop87C && (kind == TPositionDatabaseKind::Integration || body != kPositionDatabasePlutoSlot)) {
    ShowMessage("Die Bibliothek VSOP87 C ist nicht vorhanden.", "The VSOP87 C library is not available.",
                MessageIcon::Error);
    return;
  }

  busy_ = true;
  stop_requested_ = 0;
  create_->setEnabled(false);
  close_->setEnabled(false);
  stop_button_->setEnabled(true);
  period_box_->setEnabled(false);
  integration_box_->setEnabled(false);
  body_combo_->setEnabled(false);

  TPositionDatabaseProgress progress;
  progress.Day = [this](double jd) {
    status_->setText(QStringLiteral("JD: ") + QString::number(static_cast<long long>(std::floor(jd))));
    QApplication::processEvents();
    if (OnDay) OnDay(jd);
    return stop_requested_ == 0;
  };
  progress.BeforeReplace = host_.ClosePositionFiles;
  progress.AfterReplace = host_.ReopenPositionFiles;
  const TPositionDatabaseResult result =
      WritePositionDatabase(kind, body, days_, host_.DataFolder, progress, host_.Vsop87C);

  stop_requested_ = 0;
  busy_ = false;
  stop_button_->setEnabled(false);
  close_->setEnabled(true);
  create_->setEnabled(true);
  period_box_->setEnabled(true);
  integration_box_->setEnabled(true);
  CheckBox1Click();
  switch (result.Outcome) {
    case TPositionDatabaseOutcome::Done:
      status_->setText(Q("Fertig", "Done"));
      break;
    case TPositionDatabaseOutcome::Stopped:
      status_->setText(Q("Abgebrochen", "Canceled"));
      break;
    case TPositionDatabaseOutcome::NoLibrary:
      status_->clear();
      ShowMessage("Die Bibliothek VSOP87 C ist nicht vorhanden.", "The VSOP87 C library is not available.",
                  MessageIcon::Error);
      break;
    case TPositionDatabaseOutcome::WriteFailed:
      status_->clear();
      static constexpr TSaveFailureLead kLead = {"Die Datei {} konnte nicht geschrieben werden.",
                                                 "The file {} could not be written."};
      ShowSaveFailure(kLead, result.File, result.Error, false);
      break;
  }
}

void TDatabaseTool::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Activate();
}

void TDatabaseTool::reject() {
  // Escape does not leave a running computation.
  if (!busy_) QDialog::reject();
}

void TDatabaseTool::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void ShowPositionDatabaseTool(const TPositionDatabaseHost& host, QWidget* owner) {
  TDatabaseTool tool(host, owner);
  if (const auto& driver = FormDriver<TDatabaseTool>()) {
    tool.show();
    driver(tool);
    tool.hide();
  } else {
    tool.exec();
  }
}

}  // namespace kvx
