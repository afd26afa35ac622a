#include "events/ui/conjunction_list_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/globals.h"
#include "platform/qt/dialog_rows.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) {
  return QString::fromUtf8(LanguageEnglish != 0 ? english : german);
}

QString RangeText(const TClampedRange& range) {
  if (range.Empty) return QStringLiteral("-");
  return QString("%1-%2").arg(range.First + 1).arg(range.Last + 1);
}

}  // namespace

TKonjlistdlg::TKonjlistdlg(TUserObjectMinorBodyConjunctionRun& run, TUserConjunctionDialogHooks hooks,
                           TMinorBodySources sources, std::uint8_t databaseFlag, std::uint8_t cometFlag,
                           QWidget* parent)
    : TUserConjunctionDialog(run, std::move(hooks), parent), list_run_(run), sources_(std::move(sources)) {
  setObjectName("TKonjlistdlg");
  setWindowTitle(Tr("Liste mit Konjunktionen erzeugen", "Multiple conjunctions"));
  auto* left = new QVBoxLayout;
  auto* sourceBox = new QGroupBox(Tr("Liste aller Konjunktionen mit", "List of all conjunctions with"));
  auto* sourceLayout = new QVBoxLayout(sourceBox);
  source_ = new QButtonGroup(this);
  const char* const items[3][2] = {
      {"Planetoiden", "Asteroids"}, {"Kometen", "Comets"}, {"Planetoiden-Datenbank", "Asteroids database"}};
  for (int i = 0; i < 3; ++i) {
    auto* radio = new QRadioButton(Tr(items[i][0], items[i][1]), sourceBox);
    radio->setObjectName(QString("RadioGroup1_%1").arg(i));
    source_->addButton(radio, i);
    sourceLayout->addWidget(radio);
  }
  source_->button(databaseFlag != 0 ? 2 : cometFlag != 0 ? 1 : 0)->setChecked(true);
  left->addWidget(sourceBox);

  auto* bars = new QGroupBox(Tr("Verlauf", "Progress"));
  auto* barGrid = new QGridLayout(bars);
  minor_label_ = new QLabel(bars);
  minor_bar_ = new QProgressBar(bars);
  minor_bar_->setObjectName("ProgressBar2");
  total_label_ = new QLabel(bars);
  total_bar_ = new QProgressBar(bars);
  total_bar_->setObjectName("ProgressBar3");
  total_bar_->setRange(0, 100);
  barGrid->addWidget(minor_label_, 0, 0, 1, 2);
  barGrid->addWidget(minor_bar_, 1, 0, 1, 2);
  AddCaptionedField(barGrid, 2, 0, Tr("Gesamtverlauf", "Total"), total_label_);
  barGrid->addWidget(total_bar_, 3, 0, 1, 2);
  left->addWidget(bars);
  left->addStretch();
  BuildShared(left);

  minor_magnitude_ = new QLineEdit;
  minor_magnitude_->setObjectName("FloatEdit3");
  magnitudes_->addWidget(new QLabel(Tr("Planetoiden/Kometen:", "Asteroids/comets:")), 1, 0);
  magnitudes_->addWidget(minor_magnitude_, 1, 1);
  magnitudes_->addWidget(new QLabel("mag"), 1, 2);
  connect(minor_magnitude_, &QLineEdit::editingFinished, this, [this] { FloatEdit3Exit(); });

  asteroid_range_ = new QLabel;
  asteroid_range_->setObjectName("AsteroidRangeLabel");
  comet_range_ = new QLabel;
  comet_range_->setObjectName("CometRangeLabel");
  auto* asteroids = new QPushButton(Tr("Auswählen", "Select"));
  asteroids->setObjectName("Button3");
  auto* comets = new QPushButton(Tr("Auswählen", "Select"));
  comets->setObjectName("Button6");
  ranges_->addWidget(new QLabel(Tr("Planetoiden:", "Asteroids:")), 1, 0);
  ranges_->addWidget(asteroid_range_, 1, 1);
  ranges_->addWidget(asteroids, 1, 2);
  ranges_->addWidget(new QLabel(Tr("Kometen:", "Comets:")), 2, 0);
  ranges_->addWidget(comet_range_, 2, 1);
  ranges_->addWidget(comets, 2, 2);
  connect(asteroids, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(comets, &QPushButton::clicked, this, [this] { Button6Click(); });
  connect(source_, &QButtonGroup::idClicked, this, [this](int id) { RadioGroup1Click(id); });
  connect(find_, &QPushButton::clicked, this, [this] { Button1Click(); });
  minor_label_->hide();
  minor_bar_->hide();
  total_label_->hide();
  total_bar_->hide();
}

int TKonjlistdlg::Source() const { return source_->checkedId() >= 0 ? source_->checkedId() : 0; }

void TKonjlistdlg::FormShow() {
  if (sources_.EnsureLists) sources_.EnsureLists();
  ShowShared();
  minor_magnitude_->setText(QString::number(run_.Options.MinorBodyMagnitudeLimit, 'f', 1));
  ShowMinorRanges();
}

void TKonjlistdlg::ShowMinorRanges() {
  const auto count = [this](int source) { return sources_.Count ? sources_.Count(source) : 0; };
  if (Source() == 2) {
    asteroid_range_->setText(QString::number(count(2)));
  } else {
    asteroid_range_->setText(RangeText(ClampFileRange(AsteroidRange, count(0))));
  }
  comet_range_->setText(RangeText(ClampFileRange(CometRange, count(1))));
}

void TKonjlistdlg::Button3Click() {
  if (Source() == 2) {
    if (sources_.SelectDatabase) sources_.SelectDatabase();
  } else if (hooks_.SelectRange && sources_.Names) {
    TFileRange range = AsteroidRange;
    if (hooks_.SelectRange(range, sources_.Names(0))) AsteroidRange = range;
  }
  ShowMinorRanges();
}

void TKonjlistdlg::Button6Click() {
  if (hooks_.SelectRange && sources_.Names) {
    TFileRange range = CometRange;
    if (hooks_.SelectRange(range, sources_.Names(1))) CometRange = range;
  }
  ShowMinorRanges();
}

void TKonjlistdlg::RadioGroup1Click(int item) {
  if (item == 2) {
    Button3Click();
  } else {
    ShowMinorRanges();
  }
}

bool TKonjlistdlg::FloatEdit3Exit() { return MagnitudeExit(minor_magnitude_, run_.Options.MinorBodyMagnitudeLimit); }

void TKonjlistdlg::PrepareRun() {
  const int source = Source();
  list_run_.From = static_cast<TUserObjectMinorBodyConjunctionRun::Source>(source);
  list_run_.MinorRange = source == 1 ? CometRange : AsteroidRange;
  list_run_.MinorCount = sources_.Count ? sources_.Count(source) : 0;
  list_run_.MinorAt = [this, source](std::int32_t index, TMinorBodyEntry& entry) {
    return sources_.At && sources_.At(source, index, entry);
  };
}

bool TKonjlistdlg::Button1Click() {
  PrepareRun();
  if (list_run_.From == TUserObjectMinorBodyConjunctionRun::Source::Database && list_run_.MinorCount <= 0) {
    list_run_.Run(step_->text().toStdString());  // the message
    Button3Click();
    return false;
  }
  Floatedit1Exit();
  FloatEdit2Exit();
  FloatEdit3Exit();
  ID150Click();
  BeginSearch();
  const TClampedRange minors = list_run_.From == TUserObjectMinorBodyConjunctionRun::Source::Database
                                   ? ClampFileRange(TFileRange{}, list_run_.MinorCount)
                                   : ClampFileRange(list_run_.MinorRange, list_run_.MinorCount);
  minor_bar_->setRange(0, std::max(0, minors.Count() - 1));
  minor_bar_->setValue(0);
  total_bar_->setValue(0);
  for (QWidget* w : {static_cast<QWidget*>(minor_label_), static_cast<QWidget*>(minor_bar_),
                     static_cast<QWidget*>(total_label_), static_cast<QWidget*>(total_bar_)})
    w->show();
  const int found = list_run_.Run(step_->text().toStdString());
  EndSearch();
  return found >= 0;
}

void TKonjlistdlg::Progress(const TUserConjunctionProgress& progress) {
  TUserConjunctionDialog::Progress(progress);
  if (!progress.MinorText.empty()) {
    minor_label_->setText(QString::fromStdString(progress.MinorText));
    minor_bar_->setValue(progress.MinorPosition);
  }
  if (!progress.TotalText.empty()) {
    total_label_->setText(QString::fromStdString(progress.TotalText));
    total_bar_->setValue(progress.TotalPercent);
  }
}

}  // namespace kvx
