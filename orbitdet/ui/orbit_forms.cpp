#include "orbitdet/ui/orbit_forms.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>

#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "orbitdet/state_elements.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {

constexpr double kLastJd = 5373484.4583;

QString Text(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

std::string Fixed(double x, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, x);
  return buffer;
}

}  // namespace

std::string ObservationLine(double jd, double raHours, double decDegrees, const double* dra, const double* ddec) {
  std::string line = Fixed(jd, 5) + ":  RA=" + Fixed(DegToDmsPackedTenth(raHours), 5) + "hms  |  Dec=" +
                     Fixed(DegToDmsPackedTenth(decDegrees), 5);
  if (dra != nullptr && ddec != nullptr) {
    line += "  |  DA=" + Fixed(*dra * 3600 * 15, 2) + "  |  DD=" + Fixed(*ddec * 3600, 2);
  }
  return line;
}

TResidualsForm::TResidualsForm(QWidget* parent) : QDialog(parent) {
  setObjectName("ResidualsForm");
  auto* layout = new QVBoxLayout(this);
  lines_ = new QListWidget(this);
  lines_->setMinimumSize(640, 200);
  layout->addWidget(lines_);
  rms_ = new QLabel(this);
  layout->addWidget(rms_);
  auto* grid = new QGridLayout;
  const char* names[6] = {"x:", "y:", "z:", "vx:", "vy:", "vz:"};
  for (int k = 0; k < 6; ++k) {
    state_edits_[k] = new TFloatEdit(this);
    state_edits_[k]->setObjectName(QString("State%1").arg(k));
    grid->addWidget(new QLabel(names[k], this), k % 3, (k / 3) * 2);
    grid->addWidget(state_edits_[k], k % 3, (k / 3) * 2 + 1);
  }
  epoch_edit_ = new TFloatEdit(this);
  epoch_edit_->setObjectName("Epoch");
  grid->addWidget(new QLabel("JED:", this), 3, 0);
  grid->addWidget(epoch_edit_, 3, 1);
  rate_edit_ = new TFloatEdit(this);
  rate_edit_->setObjectName("ChangeRate");
  grid->addWidget(new QLabel(Text("&Änderungsrate (%):", "&Change (%):"), this), 3, 2);
  grid->addWidget(rate_edit_, 3, 3);
  layout->addLayout(grid);
  auto* elements = new QHBoxLayout;
  size_label_ = new QLabel("a:", this);
  time_label_ = new QLabel("M:", this);
  element_values_ = new QLabel(this);
  elements->addWidget(size_label_);
  time_label_->hide();
  elements->addWidget(element_values_, 1);
  layout->addLayout(elements);
  p_line_ = new QLabel(this);
  q_line_ = new QLabel(this);
  layout->addWidget(p_line_);
  layout->addWidget(q_line_);
  auto* methods = new QGroupBox(Text("Rechen&methode", "Calculation &method"), this);
  auto* ml = new QHBoxLayout(methods);
  method_buttons_[0] = new QRadioButton(Text("Störungen (langsam)", "Perturbations"), methods);
  method_buttons_[1] = new QRadioButton(Text("Genau", "High precision"), methods);
  method_buttons_[2] = new QRadioButton(Text("Vereinfacht (schnell)", "Low precision"), methods);
  for (QRadioButton* b : method_buttons_) ml->addWidget(b);
  layout->addWidget(methods);
  topo_box_ = new QCheckBox(Text("Positionen sind &topozentrisch", "Positions are &topocentric"), this);
  layout->addWidget(topo_box_);
  auto* buttons = new QHBoxLayout;
  struct Button {
    const char* Name;
    const char* German;
    const char* English;
    int Result;
  };
  for (const Button& b : {Button{"Continue", "&Rechnung fortsetzen", "C&ontinue", 6},
                          Button{"Reload", "Neu laden für &Verbesserung", "Reload for &improvement", 1},
                          Button{"Previous", "Vorhergehendes &Ergebnis", "&Use step before/close", 5},
                          Button{"Close", "&Schließen", "&Done/close", 7},
                          Button{"Cancel", "&Abbrechen", "&Abbrechen", 2}}) {
    auto* button = new QPushButton(Text(b.German, b.English), this);
    button->setObjectName(b.Name);
    const int result = b.Result;
    connect(button, &QPushButton::clicked, this, [this, result] { Finish(result); });
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
  setWindowTitle(Text("Residuen", "Residuals"));
}

bool TResidualsForm::Fill(const TResidualsFill& fill, TOrbitElementRecord& elements) {
  setWindowTitle(Text("Residuen", "Residuals") + " - " + QString::fromStdString(fill.FileName));
  state_ = fill.State;
  epoch_ = fill.Epoch;
  method_ = std::min<std::uint8_t>(fill.Method, 2);
  topocentric_ = fill.Topocentric;
  rate_ = fill.ChangeRate;
  reload_ = false;
  lines_->clear();
  for (std::size_t i = 0; i < fill.JD.size(); ++i) {
    const bool residuals = fill.HasResiduals && i < fill.DRA.size() && i < fill.DDec.size();
    lines_->addItem(QString::fromStdString(ObservationLine(fill.JD[i], fill.RA[i], fill.Dec[i],
                                                           residuals ? &fill.DRA[i] : nullptr,
                                                           residuals ? &fill.DDec[i] : nullptr)));
  }
  rms_->setText(QString::fromStdString(std::string(ByLanguage("RMS Fehler: ", "RMS Error: ")) +
                                       Fixed(fill.Rms * 3600, 2) + ByLanguage(" Bogensekunden", " arcseconds")));
  for (int k = 0; k < 6; ++k) state_edits_[k]->SetValue(state_[static_cast<std::size_t>(k)], 7);
  epoch_edit_->SetValue(epoch_, 5);
  rate_edit_->SetValue(rate_, 2);
  for (int k = 0; k < 6; ++k) shown_[k] = state_edits_[k]->text();
  shown_[6] = epoch_edit_->text();
  shown_[7] = rate_edit_->text();
  method_buttons_[method_]->setChecked(true);
  topo_box_->setChecked(topocentric_ != 0);
  const bool ok = OrbitElementsFromState(state_, epoch_, 1.0, elements_);
  if (!ok) {
    ShowMessage("Numerischer Fehler beim Berechnen der klassischen Bahnelemente",
                "Numerical error while computing classical orbital elements", MessageIcon::Error);
  }
  ShowElements();
  elements = elements_;
  return ok;
}

void TResidualsForm::ShowElements() {
  const TOrbitElementRecord& e = elements_;
  size_label_->setText(e.Kind == 1 ? "q:" : "a:");
  time_label_->setText(e.Kind == 0 ? "M:" : "JD:");
  element_values_->setText(QString::fromStdString(
      Fixed(e.Size, 5) + "  e: " + Fixed(e.E, 5) + "  " + (e.Kind == 0 ? "M: " : "JD: ") + Fixed(e.TimeElement, 5) + "  i: " + Fixed(e.I, 5) +
      "  oo: " + Fixed(e.Node, 5) + "  w: " + Fixed(e.Peri, 5) + "  TP: " + Fixed(e.PerihelionTime, 5)));
  TMatrix33 m{};
  GaussVectors(m, e.Node, e.I, e.Peri);
  p_line_->setText(QString::fromStdString("P: " + Fixed(m.m[0][0], 7) + "  " + Fixed(m.m[0][1], 7) + "  " +
                                          Fixed(m.m[0][2], 7)));
  q_line_->setText(QString::fromStdString("Q: " + Fixed(m.m[1][0], 7) + "  " + Fixed(m.m[1][1], 7) + "  " +
                                          Fixed(m.m[1][2], 7)));
}

bool TResidualsForm::CommitEdits() {
  TStateVector state = state_;
  for (int k = 0; k < 6; ++k) {
    if (state_edits_[k]->text() == shown_[k]) continue;
    double x = 0;
    if (!state_edits_[k]->Value(x) || !std::isfinite(x)) {
      ShowMessage("Bitte eine Zahl eingeben!", "Please enter a number!", MessageIcon::Error);
      state_edits_[k]->SetValue(state_[static_cast<std::size_t>(k)], 7);
      return false;
    }
    state[static_cast<std::size_t>(k)] = x;
  }
  if (state[0] == 0 && state[1] == 0 && state[2] == 0) {
    ShowMessage("Der Ortsvektor darf nicht null sein.", "The position vector must not be zero.", MessageIcon::Error);
    return false;
  }
  double epoch = epoch_, rate = rate_;
  if (epoch_edit_->text() != shown_[6] && (!epoch_edit_->Value(epoch) || !(epoch >= 0 && epoch <= kLastJd))) {
    ShowMessage("Die Epoche liegt außerhalb des zulässigen Bereichs.", "The epoch is outside the allowed range.",
                MessageIcon::Error);
    epoch_edit_->SetValue(epoch_, 5);
    return false;
  }
  if (rate_edit_->text() != shown_[7] && (!rate_edit_->Value(rate) || !(rate > 0 && rate <= 100))) {
    ShowMessage("Die Änderungsrate muss größer als 0 und höchstens 100 % sein.",
                "The change rate must be above 0 and at most 100 %.", MessageIcon::Error);
    rate_edit_->SetValue(rate_, 2);
    return false;
  }
  state_ = state;
  epoch_ = epoch;
  rate_ = rate;
  for (std::uint8_t k = 0; k < 3; ++k) {
    if (method_buttons_[k]->isChecked()) method_ = k;
  }
  topocentric_ = topo_box_->isChecked() ? 1 : 0;
  return true;
}

void TResidualsForm::Finish(int result) {
  if (result == 6 && !CommitEdits()) return;
  if (result == 1) reload_ = true;
  done(result);
}

int TResidualsForm::ShowModal() { return exec(); }

TSelectObservations::TSelectObservations(QWidget* parent) : QDialog(parent) {
  setObjectName("SelectObservations");
  auto* layout = new QVBoxLayout(this);
  hint_ = new QLabel(this);
  layout->addWidget(hint_);
  list_ = new QListWidget(this);
  list_->setMinimumSize(600, 200);
  layout->addWidget(list_);
  auto* row = new QHBoxLayout;
  for (int n = 3; n <= 5; ++n) {
    pick_[n - 3] = new QPushButton(QString::number(n), this);
    connect(pick_[n - 3], &QPushButton::clicked, this, [this, n] { Pick(n); });
    row->addWidget(pick_[n - 3]);
  }
  remove_ = new QPushButton(Text("&Entfernen", "&Remove"), this);
  all_ = new QPushButton(Text("&Alle", "&All"), this);
  last_button_ = new QPushButton(Text("&Vorherige Auswahl", "&Restore last"), this);
  auto* ok = new QPushButton("OK", this);
  auto* cancel = new QPushButton(Text("&Abbrechen", "&Cancel"), this);
  for (QPushButton* b : {remove_, all_, last_button_, ok, cancel}) row->addWidget(b);
  layout->addLayout(row);
  connect(remove_, &QPushButton::clicked, this, [this] { RemoveCurrent(); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { RemoveCurrent(); });
  connect(all_, &QPushButton::clicked, this, [this] {
    current_ = all_records_;
    Refill();
  });
  connect(last_button_, &QPushButton::clicked, this, [this] {
    current_ = last_;
    Refill();
  });
  connect(ok, &QPushButton::clicked, this, &TSelectObservations::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TSelectObservations::Refill() {
  list_->clear();
  for (std::size_t k = 0; k < current_.size(); ++k) {
    const TChosenObservation& c = current_[k];
    int day = 0, month = 0, year = 0;
    double hours = 0;
    JdToCalendarDate(day, month, year, hours, c.JD);
    char when[64];
    std::snprintf(when, sizeof when, " (%02d.%02d.%d %s)", day, month, year, Fixed(hours, 5).c_str());
    list_->addItem(QString::fromStdString(std::to_string(k + 1) + "  " +
                                          ObservationLine(c.JD, c.RA, c.Dec, nullptr, nullptr) + when));
  }
  for (int n = 3; n <= 5; ++n) pick_[n - 3]->setEnabled(current_.size() >= static_cast<std::size_t>(n));
  remove_->setEnabled(current_.size() >= 4);
  last_button_->setEnabled(!last_.empty());
}

void TSelectObservations::Pick(int n) {
  const std::size_t size = current_.size();
  if (size < static_cast<std::size_t>(n)) return;
  std::vector<TChosenObservation> picked;
  for (int k = 0; k < n; ++k) picked.push_back(current_[static_cast<std::size_t>(k) * (size - 1) / static_cast<std::size_t>(n - 1)]);
  current_ = picked;
  last_ = current_;
  Refill();
}

void TSelectObservations::RemoveCurrent() {
  const int row = list_->currentRow();
  if (current_.size() < 4 || row < 0 || row >= static_cast<int>(current_.size())) return;
  current_.erase(current_.begin() + row);
  Refill();
}

void TSelectObservations::accept() {
  if (current_.size() > static_cast<std::size_t>(kMaxChosenObservations)) {
    ShowMessage("Es können höchstens 1000 Beobachtungen verwendet werden.", "At most 1000 observations can be used.",
                MessageIcon::Error);
    return;
  }
  last_ = current_;
  QDialog::accept();
}

bool TSelectObservations::Choose(std::vector<TChosenObservation>& chosen, const std::string& caption,
                                 const std::string& hint) {
  setWindowTitle(QString::fromStdString(caption));
  hint_->setText(QString::fromStdString(hint));
  all_records_ = chosen;
  current_ = chosen;
  if (last_.empty()) last_ = chosen;
  Refill();
  if (exec() != QDialog::Accepted) return false;
  chosen = current_;
  return true;
}

}  // namespace kvx
