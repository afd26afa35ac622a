#include "orbitdet/ui/orbit_forms.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "orbitdet/orbit_output.h"
#include "orbitdet/state_capture.h"
#include "orbitdet/state_elements.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/dialog_rows.h"
#include "platform/qt/named_widgets.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {

QString Text(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

// Fixed notation; a value that rounds to zero shows without a sign.
std::string Fixed(double x, int decimals) {
  const std::string text = FixedPointText(x, decimals);
  if (text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) return text.substr(1);
  return text;
}

}  // namespace

std::string ObservationLine(double jd, double raHours, double decDegrees, const double* dra, const double* ddec) {
  std::string line = Fixed(jd, 5) + ":  RA=" + Fixed(DegToDmsPackedTenth(raHours), 5) +
                     "hms  |  Dec=" + Fixed(DegToDmsPackedTenth(decDegrees), 5);
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
  rms_->setObjectName("Rms");
  layout->addWidget(rms_);
  auto* grid = new QGridLayout;
  const char* names[6] = {"x:", "y:", "z:", "vx:", "vy:", "vz:"};
  for (int k = 0; k < 6; ++k) {
    state_edits_[k] = new TFloatEdit(this);
    state_edits_[k]->setObjectName(QString("State%1").arg(k));
    AddCaptionedField(grid, k % 3, (k / 3) * 2, names[k], state_edits_[k]);
    connect(state_edits_[k], &TIntegerEdit::Accepted, this, [this, k] { TakeStateEdit(k); });
  }
  epoch_edit_ = NewNamed<TFloatEdit>("Epoch", this);
  AddCaptionedField(grid, 3, 0, "JED:", epoch_edit_);
  connect(epoch_edit_, &TIntegerEdit::Accepted, this, [this] { TakeEpochEdit(); });
  rate_edit_ = NewNamed<TFloatEdit>("ChangeRate", this);
  rate_label_ = new QLabel(this);
  Caption(rate_label_, "&Änderungsrate (%):", "&Change (%):");
  rate_label_->setBuddy(rate_edit_);
  grid->addWidget(rate_label_, 3, 2);
  grid->addWidget(rate_edit_, 3, 3);
  connect(rate_edit_, &TIntegerEdit::Accepted, this, [this] { TakeRateEdit(); });
  layout->addLayout(grid);
  // The elements: a (q), e, M (JD), i / node, omega, T.
  auto* elements = new QGridLayout;
  size_label_ = new QLabel("a:", this);
  time_label_ = new QLabel("M:", this);
  QLabel* labels[7] = {size_label_,
                       new QLabel("e:", this),
                       time_label_,
                       new QLabel("i:", this),
                       new QLabel("oo:", this),
                       new QLabel("w:", this),
                       new QLabel("TP:", this)};
  for (int k = 0; k < 7; ++k) {
    element_edits_[k] = new TFloatEdit(this);
    element_edits_[k]->setObjectName(QString("Element%1").arg(k));
    labels[k]->setBuddy(element_edits_[k]);
    elements->addWidget(labels[k], k / 4, (k % 4) * 2);
    elements->addWidget(element_edits_[k], k / 4, (k % 4) * 2 + 1);
    connect(element_edits_[k], &TIntegerEdit::Accepted, this, [this, k] { TakeElementEdit(k); });
  }
  layout->addLayout(elements);
  p_line_ = new QLabel(this);
  q_line_ = new QLabel(this);
  layout->addWidget(p_line_);
  layout->addWidget(q_line_);
  methods_ = new QGroupBox(this);
  Caption(methods_, "Rechen&methode", "Calculation &method");
  auto* ml = new QHBoxLayout(methods_);
  const char* methods[3][2] = {{"Störungen (langsam)", "Perturbations"},
                               {"Genau", "High precision"},
                               {"Vereinfacht (schnell)", "Low precision"}};
  for (int k = 0; k < 3; ++k) {
    method_buttons_[k] = new QRadioButton(methods_);
    Caption(method_buttons_[k], methods[k][0], methods[k][1]);
  }
  for (QRadioButton* b : method_buttons_) ml->addWidget(b);
  layout->addWidget(methods_);
  topo_box_ = new QCheckBox(this);
  Caption(topo_box_, "Positionen sind &topozentrisch", "Positions are &topocentric");
  layout->addWidget(topo_box_);
  auto* files = new QHBoxLayout;
  load_ = new QPushButton(this);
  Caption(load_, "State vector &laden...", "&Load state vector...");
  load_->setObjectName("Load");
  save_ = new QPushButton(this);
  Caption(save_, "&State vector speichern...", "&Save state vector...");
  save_->setObjectName("Save");
  files->addWidget(load_);
  files->addWidget(save_);
  files->addStretch();
  layout->addLayout(files);
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
                          Button{"Close", "&Schließen", "&Done/close", 7}, Button{"Ok", "OK", "OK", 6},
                          Button{"Cancel", "&Abbrechen", "&Cancel", 2}}) {
    auto* button = new QPushButton(this);
    Caption(button, b.German, b.English);
    button->setObjectName(b.Name);
    const int result = b.Result;
    connect(button, &QPushButton::clicked, this, [this, result] { Finish(result); });
    buttons->addWidget(button);
    if (result == 2) {
      cancel_ = button;
    } else if (std::string_view(b.Name) == "Ok") {
      ok_ = button;
    } else {
      run_buttons_.push_back(button);
    }
  }
  // Help: its section of the help text (German only; there is no English help).
  help_ = NewNamed<QPushButton>("Help", this);
  ApplyDialogButtonLanguage(nullptr, help_);
  buttons->addWidget(help_);
  SetHelpContext(this, kHelpTopicResiduals, help_);
  // Return finishes an edit; it never presses a button.
  for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
  layout->addLayout(buttons);
  connect(load_, &QPushButton::clicked, this, [this] {
    if (files_.OrbDet == nullptr || !LoadStateVector(*files_.OrbDet, *files_.FileName, files_.Load)) return;
    Refill(files_.OrbDet->StateVector, files_.OrbDet->Epoch);
  });
  connect(save_, &QPushButton::clicked, this, [this] {
    if (files_.OrbDet == nullptr || !CommitEdits()) return;
    SaveStateVector(*files_.OrbDet, state_, epoch_, *files_.FileName, files_.Save);
    Refill(state_, epoch_);
  });
  load_->setEnabled(false);
  save_->setEnabled(false);
  ok_->hide();
  setWindowTitle(Text("Residuen", "Residuals"));
}

void TResidualsForm::Caption(QWidget* widget, const char* german, const char* english) {
  captions_.push_back({widget, german, english});
  const QString text = Text(german, english);
  if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(text);
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(text);
  if (auto* group = qobject_cast<QGroupBox*>(widget)) group->setTitle(text);
}

void TResidualsForm::ApplyLanguage() {
  const std::vector<TCaption> captions = std::move(captions_);
  captions_.clear();
  for (const TCaption& c : captions) Caption(c.Widget, c.German, c.English);
  if (!reduced_) ApplyDialogButtonLanguage(nullptr, help_);
}

void TResidualsForm::SetStateVectorFiles(const TStateVectorFiles& files) {
  files_ = files;
  const bool usable = files_.OrbDet != nullptr && files_.FileName != nullptr;
  if (!usable) files_.OrbDet = nullptr;
  load_->setEnabled(usable);
  save_->setEnabled(usable);
}

bool TResidualsForm::Fill(const TResidualsFill& fill, TOrbitElementRecord& elements) {
  ApplyLanguage();
  last_fill_ = fill;
  if (!reduced_) setWindowTitle(Text("Residuen", "Residuals") + " - " + QString::fromStdString(fill.FileName));
  state_ = fill.State;
  epoch_ = fill.Epoch;
  method_ = std::min<std::uint8_t>(fill.Method, 2);
  topocentric_ = fill.Topocentric;
  rate_ = fill.ChangeRate;
  reload_ = false;
  lines_->clear();
  if (fill.ShowLines) {
    for (std::size_t i = 0; i < fill.JD.size() && i < fill.RA.size() && i < fill.Dec.size(); ++i) {
      const bool residuals = fill.HasResiduals && i < fill.DRA.size() && i < fill.DDec.size();
      lines_->addItem(QString::fromStdString(ObservationLine(fill.JD[i], fill.RA[i], fill.Dec[i],
                                                             residuals ? &fill.DRA[i] : nullptr,
                                                             residuals ? &fill.DDec[i] : nullptr)));
    }
  }
  // Before the first residuals (the first orbit's pass) there is no error to
  // show: the caption stands alone.
  std::string rms = ByLanguage("RMS Fehler:", "RMS Error:");
  if (fill.HasResiduals) {
    rms += ' ';
    rms += Fixed(fill.Rms * 3600, 2);
    rms += ByLanguage(" Bogensekunden", " arcseconds");
  }
  rms_->setText(QString::fromStdString(rms));
  ShowState();
  rate_edit_->SetValue(rate_, 2);
  shown_[7] = rate_edit_->text();
  method_buttons_[method_]->setChecked(true);
  topo_box_->setChecked(topocentric_ != 0);
  const bool ok = OrbitElementsFromState(state_, epoch_, 1.0, elements);
  if (!ok) {
    ShowMessage("Numerischer Fehler beim Berechnen der klassischen Bahnelemente",
                "Numerical error while computing classical orbital elements", MessageIcon::Error);
  }
  elements_ = FormElements(elements);
  ShowElements();
  return ok;
}

void TResidualsForm::Refill(const TStateVector& state, double epoch) {
  last_fill_.State = state;
  last_fill_.Epoch = epoch;
  last_fill_.Method = method_;
  last_fill_.Topocentric = topo_box_->isChecked() ? 1 : 0;
  last_fill_.ChangeRate = rate_;
  for (std::uint8_t k = 0; k < 3; ++k) {
    if (method_buttons_[k]->isChecked()) last_fill_.Method = k;
  }
  TOrbitElementRecord elements;
  const TResidualsFill fill = last_fill_;
  Fill(fill, elements);
}

void TResidualsForm::ShowState() {
  for (int k = 0; k < 6; ++k) {
    state_edits_[k]->SetValue(state_[static_cast<std::size_t>(k)], 7);
    shown_[k] = state_edits_[k]->text();
  }
  epoch_edit_->SetValue(epoch_, 5);
  shown_[6] = epoch_edit_->text();
}

void TResidualsForm::ShowElements() {
  const TOrbitElementRecord& e = elements_;
  size_label_->setText(e.Kind == kOrbitParabola ? "q:" : "a:");
  time_label_->setText(e.Kind == kOrbitEllipse ? "M:" : "JD:");
  for (int k = 0; k < 7; ++k) {
    element_edits_[k]->SetValue(ElementEditValue(e, k), 5);
    element_shown_[k] = element_edits_[k]->text();
  }
  TMatrix33 m{};
  GaussVectors(m, e.Node, e.I, e.Peri);
  p_line_->setText(
      QString::fromStdString("P: " + Fixed(m.m[0][0], 7) + "  " + Fixed(m.m[0][1], 7) + "  " + Fixed(m.m[0][2], 7)));
  q_line_->setText(
      QString::fromStdString("Q: " + Fixed(m.m[1][0], 7) + "  " + Fixed(m.m[1][1], 7) + "  " + Fixed(m.m[1][2], 7)));
}

bool TResidualsForm::TakeStateEdit(int k) {
  TFloatEdit* edit = state_edits_[k];
  if (edit->text() == shown_[k]) return true;
  const std::size_t at = static_cast<std::size_t>(k);
  double x = 0;
  if (!edit->Value(x)) {
    ShowMessage("Bitte eine Zahl eingeben!", "Please enter a number!", MessageIcon::Error);
    edit->SetValue(state_[at], 7);
    shown_[k] = edit->text();
    return false;
  }
  TStateVector state = state_;
  state[at] = x;
  if (state[0] == 0 && state[1] == 0 && state[2] == 0) {
    ShowMessage("Der Ortsvektor darf nicht null sein.", "The position vector must not be zero.", MessageIcon::Error);
    edit->SetValue(state_[at], 7);
    shown_[k] = edit->text();
    return false;
  }
  state_ = state;
  shown_[k] = edit->text();
  return true;
}

bool TResidualsForm::TakeNumberEdit(TFloatEdit* edit, int k, double& value, int decimals, bool (*acceptable)(double),
                                    const char* german, const char* english) {
  if (edit->text() == shown_[k]) return true;
  double x = 0;
  const bool taken = edit->Value(x) && acceptable(x);
  if (taken) {
    value = x;
  } else {
    ShowMessage(german, english, MessageIcon::Error);
    edit->SetValue(value, decimals);
  }
  shown_[k] = edit->text();
  return taken;
}

bool TResidualsForm::TakeEpochEdit() {
  return TakeNumberEdit(
      epoch_edit_, 6, epoch_, 5, [](double epoch) { return epoch >= 0 && epoch <= kLastStateEpochJd; },
      "Die Epoche liegt außerhalb des zulässigen Bereichs.", "The epoch is outside the allowed range.");
}

bool TResidualsForm::TakeRateEdit() {
  return TakeNumberEdit(
      rate_edit_, 7, rate_, 2, [](double rate) { return rate > 0 && rate <= 100; },
      "Die Änderungsrate muss größer als 0 und höchstens 100 % sein.",
      "The change rate must be above 0 and at most 100 %.");
}

bool TResidualsForm::TakeElementEdit(int k) {
  TFloatEdit* edit = element_edits_[k];
  if (edit->text() == element_shown_[k]) return true;
  double x = 0;
  std::string german = "Bitte eine Zahl eingeben!", english = "Please enter a number!";
  TStateVector state{};
  if (!edit->Value(x) || !ApplyElementEdit(elements_, epoch_, k, x, state, german, english)) {
    ShowMessage(german, english, MessageIcon::Error);
    edit->SetValue(ElementEditValue(elements_, k), 5);
    element_shown_[k] = edit->text();
    return false;
  }
  state_ = state;
  ShowState();
  ShowElements();
  return true;
}

bool TResidualsForm::CommitEdits() {
  for (int k = 0; k < 6; ++k) {
    if (!TakeStateEdit(k)) return false;
  }
  if (!TakeEpochEdit() || !TakeRateEdit()) return false;
  for (int k = 0; k < 7; ++k) {
    if (!TakeElementEdit(k)) return false;
  }
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

void TResidualsForm::SetReduced(bool reduced) {
  reduced_ = reduced;
  for (QWidget* w :
       std::initializer_list<QWidget*>{lines_, rms_, rate_label_, rate_edit_, methods_, topo_box_, load_, help_}) {
    w->setVisible(!reduced);
  }
  for (QPushButton* b : run_buttons_) b->setVisible(!reduced);
  ok_->setVisible(reduced);
  if (!reduced) ApplyDialogButtonLanguage(nullptr, help_);
}

bool TResidualsForm::ShowStateVectorFromSheet(const TResidualsFill& fill, TStateVector& state, double& epoch) {
  SetReduced(true);
  TResidualsFill reduced = fill;
  reduced.JD.clear();
  reduced.RA.clear();
  reduced.Dec.clear();
  reduced.HasResiduals = false;
  TOrbitElementRecord elements;
  Fill(reduced, elements);
  setWindowTitle(Text("State vector aus Tabelle", "State vector from sheet"));
  const int result = exec();
  SetReduced(false);
  setWindowTitle(Text("Residuen", "Residuals"));
  if (result != 6) return false;
  state = state_;
  epoch = epoch_;
  return true;
}

TSelectObservations::TSelectObservations(QWidget* parent) : QDialog(parent) {
  SetHelpContext(this, kHelpTopicObservationChoice);
  setObjectName("SelectObservations");
  auto* layout = new QVBoxLayout(this);
  hint_ = new QLabel(this);
  layout->addWidget(hint_);
  list_ = new QListWidget(this);
  list_->setMinimumSize(600, 200);
  layout->addWidget(list_);
  auto* row = new QHBoxLayout;
  for (int n = 5; n >= 3; --n) {
    QPushButton*& pick = pick_[n - 3];
    pick = new QPushButton(this);
    pick->setObjectName(QString("Use%1").arg(n));
    connect(pick, &QPushButton::clicked, this, [this, n] { Pick(n); });
    row->addWidget(pick);
  }
  remove_ = NewNamed<QPushButton>("Remove", this);
  all_ = NewNamed<QPushButton>("All", this);
  last_button_ = NewNamed<QPushButton>("RestoreLast", this);
  ok_ = NamedButton(this, "&OK", "Ok");
  cancel_ = NewNamed<QPushButton>("Cancel", this);
  for (QPushButton* b : {remove_, all_, last_button_, ok_, cancel_}) row->addWidget(b);
  layout->addLayout(row);
  connect(remove_, &QPushButton::clicked, this, [this] { RemoveCurrent(); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { RemoveCurrent(); });
  connect(list_, &QListWidget::itemClicked, this, [this] { remove_->setEnabled(current_.size() > 3); });
  connect(all_, &QPushButton::clicked, this, [this] {
    current_ = all_records_;
    Refill();
  });
  connect(last_button_, &QPushButton::clicked, this, [this] {
    if (last_.empty()) return;
    current_ = last_;
    Refill();
  });
  connect(ok_, &QPushButton::clicked, this, &TSelectObservations::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TSelectObservations::SetCaptions() {
  pick_[2]->setText(Text("5 Beobachtungen", "U&se 5 observ."));
  pick_[1]->setText(Text("4 Beobachtungen", "&Use 4 observ."));
  pick_[0]->setText(Text("3 Beobachtungen", "Us&e 3 observ."));
  remove_->setText(Text("Entfernen", "&Remove"));
  all_->setText(Text("&Alle", "&All"));
  last_button_->setText(Text("&Vorherige Auswahl", "Restore &last"));
  cancel_->setText(Text("A&bbruch", "Cancel"));
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
  // A pick of more records than the list holds would take one twice.
  for (int n = 3; n <= 5; ++n) pick_[n - 3]->setEnabled(current_.size() >= static_cast<std::size_t>(n));
  // A line must be chosen first; the list never drops below three.
  remove_->setEnabled(false);
  last_button_->setEnabled(!last_.empty());
}

void TSelectObservations::Pick(int n) {
  const std::size_t size = current_.size();
  if (size < static_cast<std::size_t>(n)) return;
  // Evenly spread, first and last included: m x k / (n - 1) for k = 0 .. n - 1.
  const std::size_t m = size - 1;
  std::vector<TChosenObservation> picked;
  for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
    picked.push_back(current_[m * k / static_cast<std::size_t>(n - 1)]);
  }
  current_ = picked;
  Refill();
  accept();
}

void TSelectObservations::RemoveCurrent() {
  const int row = list_->currentRow();
  if (current_.size() < 4 || row < 0 || row >= static_cast<int>(current_.size())) return;
  current_.erase(current_.begin() + row);
  Refill();
  if (current_.size() > 3) {
    list_->setCurrentRow(std::min(row, static_cast<int>(current_.size()) - 1));
    remove_->setEnabled(true);
  }
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
  SetCaptions();
  all_records_ = chosen;
  current_ = chosen;
  if (last_.empty()) last_ = chosen;
  Refill();
  if (exec() != QDialog::Accepted) return false;
  chosen = current_;
  return true;
}

}  // namespace kvx
