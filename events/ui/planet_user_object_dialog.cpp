#include "events/ui/planet_user_object_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/globals.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) {
  return QString::fromUtf8(LanguageEnglish != 0 ? english : german);
}

constexpr const char* kBodies[10][2] = {
    {"Sonne", "Sun"},     {"Merkur", "Mercury"}, {"Venus", "Venus"},    {"Mars", "Mars"},   {"Jupiter", "Jupiter"},
    {"Saturn", "Saturn"}, {"Uranus", "Uranus"},  {"Neptun", "Neptune"}, {"Pluto", "Pluto"}, {"Mond", "Moon"},
};

}  // namespace

TKonjPlanStar::TKonjPlanStar(TBodyUserObjectConjunctionRun& run, TUserConjunctionDialogHooks hooks, QWidget* parent)
    : TUserConjunctionDialog(run, std::move(hooks), parent), plan_run_(run) {
  setObjectName("TKonjPlanStar");
  setWindowTitle(Tr("Konjunktionen von Planeten mit benutzerdefinierten Objekten",
                    "Conjunctions of planets and user defined objects"));
  auto* left = new QVBoxLayout;
  auto* bodyBox = new QGroupBox(Tr("Planet", "Planet"));
  auto* grid = new QGridLayout(bodyBox);
  body_ = new QButtonGroup(this);
  for (int i = 0; i < 10; ++i) {
    auto* radio = new QRadioButton(Tr(kBodies[i][0], kBodies[i][1]), bodyBox);
    radio->setObjectName(QString("RadioGroup1_%1").arg(i));
    body_->addButton(radio, i);
    grid->addWidget(radio, i % 5, i / 5);
  }
  left->addWidget(bodyBox);
  left->addStretch();
  BuildShared(left);
  connect(body_, &QButtonGroup::idClicked, this, [this](int id) { RadioGroup1Click(id); });
  connect(find_, &QPushButton::clicked, this, [this] { Button1Click(); });
  FormShow();
}

void TKonjPlanStar::FormShow() {
  ShowShared();
  const int body = run_.Options.ChosenBody >= 0 && run_.Options.ChosenBody <= 9 ? run_.Options.ChosenBody : 0;
  run_.Options.ChosenBody = body;
  body_->button(body)->setChecked(true);
  CheckPlutoDate(run_.Start.Mjd);
}

void TKonjPlanStar::CheckPlutoDate(double mjd) {
  const int body = BodyForDate(run_.Options.ChosenBody, run_.Context().Selection, run_.Context().FastSearch != 0, mjd);
  run_.Options.ChosenBody = body;
  body_->button(body)->setChecked(true);
}

void TKonjPlanStar::RadioGroup1Click(int item) {
  run_.Options.ChosenBody = item;
  CheckPlutoDate(run_.Start.Mjd);
}

bool TKonjPlanStar::Button1Click() {
  run_.Options.ChosenBody = body_->checkedId() >= 0 ? body_->checkedId() : 0;
  CheckPlutoDate(run_.Start.Mjd);
  Floatedit1Exit();
  FloatEdit2Exit();
  ID150Click();
  BeginSearch();
  const int found = plan_run_.Run(step_->text().toStdString());
  EndSearch();
  body_->button(run_.Options.ChosenBody)->setChecked(true);
  return found >= 0;
}

}  // namespace kvx
