#include "events/ui/user_conjunction_dialog_base.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstdio>

#include "core/input_checks.h"
#include "core/text_conversion.h"
#include "events/ui/event_dialog_parts.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/dialog_rows.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) {
  return QString::fromUtf8(LanguageEnglish != 0 ? english : german);
}

QString OneDecimal(double value) { return QString::number(value, 'f', 1); }

QString RangeText(const TClampedRange& range) {
  if (range.Empty) return QStringLiteral("-");
  return QString("%1-%2").arg(range.First + 1).arg(range.Last + 1);
}

// The limit as degrees, minutes and seconds ("0°30'00''").
QString DmsText(double degrees) {
  return QString::fromStdString(DmsArcText(FixedPointText(DegToDmsPackedSec(degrees), 4)));
}

}  // namespace

TUserConjunctionDialog::TUserConjunctionDialog(TUserConjunctionSearch& run, TUserConjunctionDialogHooks hooks,
                                               QWidget* parent)
    : QDialog(parent), run_(run), hooks_(std::move(hooks)) {
  SetHelpSection(this, "menu-events");
}

std::vector<std::string> TUserConjunctionDialog::UserNames() const {
  std::vector<std::string> names;
  if (const tuserlist* list = run_.UserObjects()) {
    for (int i = 0; i < list->Count(); ++i) names.push_back(list->Item(i)->Name);
  }
  return names;
}

void TUserConjunctionDialog::BuildShared(QBoxLayout* extra) {
  auto* layout = new QVBoxLayout(this);
  controls_ = new QWidget(this);
  auto* top = new QHBoxLayout(controls_);
  top->setContentsMargins(0, 0, 0, 0);
  top->addLayout(extra);

  auto* right = new QVBoxLayout;
  auto* kindBox = new QGroupBox(controls_);
  kind_ = AddConjunctionKindButtons(kindBox, this, "RadioGroup2_%1");
  connect(kind_, &QButtonGroup::idClicked, this, [this](int id) { RadioGroup2Click(id); });
  right->addWidget(kindBox);

  auto* fields = new QGridLayout;
  limit_ = new QLineEdit(controls_);
  limit_->setObjectName("Floatedit1");
  limit_dms_ = new QLabel(controls_);
  step_ = new QLineEdit(controls_);
  step_->setObjectName("Edit300");
  fields->addWidget(new QLabel(Tr("Nur Konjunktionen enger als", "Show only conjuctions closer than"), controls_), 0, 0,
                    1, 3);
  fields->addWidget(limit_, 1, 0);
  fields->addWidget(new QLabel(Tr("° zeigen", "degrees"), controls_), 1, 1);
  fields->addWidget(limit_dms_, 1, 2);
  fields->addWidget(new QLabel(Tr("Abstand zwischen zwei Iterationen:", "Distance between iterations:"), controls_), 2,
                    0, 1, 3);
  fields->addWidget(step_, 3, 0);
  fields->addWidget(new QLabel(Tr("Tage", "Days"), controls_), 3, 1);
  topocentric_ = new QCheckBox(Tr("Topozentrisch", "Topocentric"), controls_);
  topocentric_->setObjectName("ID150");
  fields->addWidget(topocentric_, 4, 0, 1, 3);
  right->addLayout(fields);
  connect(limit_, &QLineEdit::editingFinished, this, [this] { Floatedit1Exit(); });
  connect(step_, &QLineEdit::editingFinished, this, [this] { Edit300Exit(); });
  connect(topocentric_, &QCheckBox::clicked, this, [this] { ID150Click(); });

  auto* magnitudeBox = new QGroupBox(Tr("Grenzgrößen", "Magnitude limits"), controls_);
  magnitudes_ = new QGridLayout(magnitudeBox);
  user_magnitude_ = new QLineEdit(magnitudeBox);
  user_magnitude_->setObjectName("FloatEdit2");
  AddCaptionedField(magnitudes_, 0, 0, Tr("Objekte:", "Objects:"), user_magnitude_);
  magnitudes_->addWidget(new QLabel("mag", magnitudeBox), 0, 2);
  connect(user_magnitude_, &QLineEdit::editingFinished, this, [this] { FloatEdit2Exit(); });
  right->addWidget(magnitudeBox);

  auto* rangeBox = new QGroupBox(Tr("Dateibereiche", "File range"), controls_);
  ranges_ = new QGridLayout(rangeBox);
  user_range_ = new QLabel(rangeBox);
  user_range_->setObjectName("UserRangeLabel");
  auto* select = new QPushButton(Tr("A&uswählen", "Select"), rangeBox);
  select->setObjectName("Button2");
  AddCaptionedField(ranges_, 0, 0, Tr("Objekte:", "Objects:"), user_range_);
  ranges_->addWidget(select, 0, 2);
  connect(select, &QPushButton::clicked, this, [this] { Button2Click(); });
  right->addWidget(rangeBox);

  auto* filterRow = new QHBoxLayout;
  auto* filter = new QPushButton(Tr("&Filter ändern...", "Change &filter..."), controls_);
  filter->setObjectName("FilterButton");
  filter_label_ = new QLabel(Tr("gefiltert", "filtered"), controls_);
  filter_label_->setObjectName("Label9");
  filterRow->addWidget(filter);
  filterRow->addWidget(filter_label_);
  connect(filter, &QPushButton::clicked, this, [this] { FilterClick(); });
  right->addLayout(filterRow);
  right->addStretch();
  top->addLayout(right);
  layout->addWidget(controls_);

  auto* resultBox = new QGroupBox(Tr("Suchergebnisse", "Results"), this);
  auto* resultLayout = new QVBoxLayout(resultBox);
  results_ = new QListWidget(resultBox);
  results_->setObjectName("ListBox1");
  results_->setMinimumHeight(120);
  resultLayout->addWidget(results_);
  auto* counterRow = new QHBoxLayout;
  found_ = new QLabel("0", resultBox);
  found_->setObjectName("FoundLabel");
  status_ = new QLabel(resultBox);
  status_->setObjectName("StatusLabel");
  counterRow->addWidget(found_);
  counterRow->addWidget(new QLabel(Tr("Ereignisse gefunden", "Events found"), resultBox));
  counterRow->addStretch();
  counterRow->addWidget(status_);
  resultLayout->addLayout(counterRow);
  auto* progressRow = new QHBoxLayout;
  object_label_ = new QLabel(resultBox);
  object_bar_ = new QProgressBar(resultBox);
  object_bar_->setObjectName("ProgressBar1");
  progressRow->addWidget(object_label_);
  progressRow->addWidget(object_bar_);
  resultLayout->addLayout(progressRow);
  layout->addWidget(resultBox);

  auto* buttons = new QHBoxLayout;
  find_ = new QPushButton(Tr("&Suchen", "&Find"), this);
  find_->setObjectName("Button1");
  auto* clear = new QPushButton(Tr("Löschen", "Delete"), this);
  clear->setObjectName("Button4");
  auto* remove = new QPushButton(Tr("Entfernen", "Remove"), this);
  remove->setObjectName("Button5");
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OkButton");
  auto* cancel = new QPushButton(Tr("Abbrechen", "Cancel"), this);
  cancel->setObjectName("CancelButton");
  buttons->addWidget(find_);
  buttons->addWidget(clear);
  buttons->addWidget(remove);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(clear, &QPushButton::clicked, this, [this] { Button4Click(); });
  connect(remove, &QPushButton::clicked, this, [this] { Button5Click(); });
  connect(ok, &QPushButton::clicked, this, [this] { accept(); });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  object_label_->hide();
  object_bar_->hide();
}

void TUserConjunctionDialog::ShowShared() {
  ShowFilterState();
  run_.SeparationLimit = ValidSeparationLimit(run_.SeparationLimit);
  limit_->setText(QString::number(run_.SeparationLimit, 'g', 10));
  limit_dms_->setText(DmsText(run_.SeparationLimit));
  user_magnitude_->setText(OneDecimal(run_.Options.UserObjectMagnitudeLimit));
  topocentric_->setChecked(run_.Options.Topocentric != 0);
  const int kind = run_.Options.SmallestSeparation != 0 ? 2 : run_.Options.InLongitude != 0 ? 1 : 0;
  kind_->button(kind)->setChecked(true);
  step_->setText(OneDecimal(run_.Options.Step));
  ShowUserRange();
  RefreshList();
}

void TUserConjunctionDialog::ShowFilterState() { filter_label_->setVisible(run_.Filter.Active()); }

void TUserConjunctionDialog::ShowUserRange() { user_range_->setText(RangeText(run_.UserObjectRange())); }

bool TUserConjunctionDialog::Floatedit1Exit() {
  std::string text = limit_->text().toStdString();
  double value = run_.SeparationLimit;
  const bool accepted = CheckMinimalDistanceInput(text, value);
  if (accepted) run_.SeparationLimit = value;
  if (!accepted) limit_->setText(QString::fromStdString(text));
  limit_dms_->setText(DmsText(run_.SeparationLimit));
  return accepted;
}

bool TUserConjunctionDialog::Edit300Exit() {
  double step = run_.Options.Step;
  const bool accepted = LeaveStepField(step_->text().toStdString(), step);
  if (accepted) run_.Options.Step = step;
  return accepted;
}

void TUserConjunctionDialog::ID150Click() {
  run_.Options.Topocentric = topocentric_->isChecked() ? 1 : 0;
  run_.Context().Topocentric = run_.Options.Topocentric;
}

bool TUserConjunctionDialog::MagnitudeExit(QLineEdit* edit, double& limit) {
  std::string text = edit->text().toStdString();
  std::replace(text.begin(), text.end(), ',', '.');
  double value = 0;
  const bool accepted = StrToFloatNoBlanks(text, value) && value >= kMinMagnitudeLimit && value <= kMaxMagnitudeLimit;
  if (accepted) {
    limit = value;
  } else {
    ShowImplausibleValues();
  }
  edit->setText(OneDecimal(limit));
  return accepted;
}

bool TUserConjunctionDialog::FloatEdit2Exit() {
  return MagnitudeExit(user_magnitude_, run_.Options.UserObjectMagnitudeLimit);
}

void TUserConjunctionDialog::RadioGroup2Click(int item) {
  run_.Options.InLongitude = item == 1 ? 1 : 0;
  run_.Options.SmallestSeparation = item == 2 ? 1 : 0;
}

void TUserConjunctionDialog::Button2Click() {
  if (!hooks_.SelectRange) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::vector<std::string> names = UserNames();
  QApplication::restoreOverrideCursor();
  TFileRange range = run_.UserRange;
  if (hooks_.SelectRange(range, names)) run_.UserRange = range;
  ShowUserRange();
}

void TUserConjunctionDialog::FilterClick() {
  if (hooks_.ChangeFilter) run_.Filter = hooks_.ChangeFilter();
  ShowFilterState();
}

void TUserConjunctionDialog::Button4Click() {
  run_.ClearList();
  RefreshList();
  found_->setText("0");
}

void TUserConjunctionDialog::Button5Click() {
  const int row = results_->currentRow();
  if (!run_.RemoveLine(row)) return;
  RefreshList();
  found_->setText(QString::number(run_.ListLines.size()));
}

void TUserConjunctionDialog::RefreshList() {
  results_->clear();
  for (const auto& line : run_.ListLines) results_->addItem(QString::fromStdString(line.first));
}

void TUserConjunctionDialog::Progress(const TUserConjunctionProgress& progress) {
  if (!progress.ObjectText.empty()) {
    object_label_->setText(QString::fromStdString(progress.ObjectText));
    object_bar_->setValue(progress.ObjectPosition);
  }
}

void TUserConjunctionDialog::BeginSearch() {
  found_->setText(QString::number(run_.ListLines.size()));
  status_->clear();
  object_label_->show();
  object_bar_->show();
  const TClampedRange users = run_.UserObjectRange();
  object_bar_->setRange(0, std::max(0, users.Count() - 1));
  object_bar_->setValue(0);
  controls_->setEnabled(false);
  find_->setEnabled(false);
  run_.OnStatus = [this](const std::string& text, bool invalid, int found) {
    status_->setStyleSheet(invalid ? "color: red" : "color: black");
    status_->setText(QString::fromStdString(text));
    found_->setText(QString::number(found));
    RefreshList();
  };
  run_.OnProgress = [this](const TUserConjunctionProgress& progress) { Progress(progress); };
}

void TUserConjunctionDialog::EndSearch() {
  run_.OnStatus = nullptr;
  run_.OnProgress = nullptr;
  controls_->setEnabled(true);
  find_->setEnabled(true);
  status_->clear();
  status_->setStyleSheet(QString());
  RefreshList();
  found_->setText(QString::number(run_.ListLines.size()));
}

}  // namespace kvx
