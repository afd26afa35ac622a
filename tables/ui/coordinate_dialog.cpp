#include "tables/ui/coordinate_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/input_checks.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"
#include "setup/ui/dialog_owner.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {

TCoordinateDialogDriver& Driver() {
  static TCoordinateDialogDriver driver;
  return driver;
}

bool English() { return LanguageEnglish != 0; }
QString Tr(const char* german, const char* english) { return QString::fromUtf8(English() ? english : german); }

// Packed value with marks, seconds to 0.01; flag 0 time marks, 1 arc marks.
QString Marked(double value, std::uint8_t flag) {
  return QString::fromStdString(DmsMarkText(FixedPointText(DegToDmsPackedHundredth(value), 6), flag));
}

// "HH:MM" rounded to the nearest minute, as the sheet writes the time.
QString HoursMinutes(double hours) {
  std::string s;
  HourToTimeText(hours, s);
  return QString::fromStdString(s);
}

const char* const kCaptions[8][2][2] = {
    {{"&RA", "&RA"}, {"&DK", "&Dec"}},
    {{"&RA J2000", "&RA J2000"}, {"&Dk J2000", "&Dec J2000"}},
    {{"&RA B1950.0", "&RA B1950.0"}, {"&Dk B1950.0", "&Dec B1950.0"}},
    {{"Ekl. &Länge", "Ecl. &longitude"}, {"Ekl. &Breite", "Ecl. &latitude"}},
    {{"Ekl. &Länge J2000", "Ecl. &longitude J2000"}, {"Ekl. &Breite J2000", "Ecl. &latitude J2000"}},
    {{"Ekl. &Länge B1950.0", "Ecl. &longitude B1950.0"}, {"Ekl. &Breite B1950.0", "Ecl. &latitude B1950.0"}},
    {{"Galaktische &Länge", "Galactical &longitude"}, {"Galaktische &Breite", "Galactical &latitude"}},
    {{"A&zimut", "A&zimut"}, {"H&öhe", "Altitude"}},
};

}  // namespace

void SetCoordinateDialogDriver(TCoordinateDialogDriver driver) { Driver() = std::move(driver); }

TKoordEingabe::TKoordEingabe(QWidget* parent) : QDialog(parent) {
  SetHelpSection(this, "menu-tools");
  setObjectName("KoordEingabe");
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  layout->addLayout(top);
  auto* systemLabel = NewNamed<QLabel>("SystemLabel", this);
  ComboBox1 = new QComboBox(this);
  systemLabel->setBuddy(ComboBox1);
  top->addWidget(systemLabel);
  top->addWidget(ComboBox1, 1);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  EditLg = new TFloatEdit(this);
  EditBr = new TFloatEdit(this);
  CaptionLg = new QLabel(this);
  CaptionBr = new QLabel(this);
  DmsLg = new QLabel(this);
  DmsBr = new QLabel(this);
  BtnLgDEG = new QPushButton("DMS->D&EG", this);
  BtnBrDEG = new QPushButton("D&MS->DEG", this);
  BtnLgDEG->setAutoDefault(false);
  BtnBrDEG->setAutoDefault(false);
  CaptionLg->setBuddy(EditLg);
  CaptionBr->setBuddy(EditBr);
  grid->addWidget(CaptionLg, 0, 0);
  grid->addWidget(EditLg, 0, 1);
  grid->addWidget(DmsLg, 0, 2);
  grid->addWidget(BtnLgDEG, 0, 3);
  grid->addWidget(CaptionBr, 1, 0);
  grid->addWidget(EditBr, 1, 1);
  grid->addWidget(DmsBr, 1, 2);
  grid->addWidget(BtnBrDEG, 1, 3);
  Hint = new QLabel(this);
  Hint->setWordWrap(true);
  layout->addWidget(Hint);
  Panel1 = new QLabel(this);
  Panel2 = new QLabel(this);
  for (QLabel* p : {Panel1, Panel2}) {
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Sunken);
    layout->addWidget(p);
  }
  auto* results = new QGridLayout;
  layout->addLayout(results);
  HourAngle = new QLabel(this);
  Culmination = new QLabel(this);
  Rise = new QLabel(this);
  Set = new QLabel(this);
  results->addWidget(HourAngle, 0, 0);
  results->addWidget(Culmination, 0, 1);
  results->addWidget(Rise, 1, 0);
  results->addWidget(Set, 1, 1);
  CheckBox1 = new QCheckBox(this);
  layout->addWidget(CheckBox1);
  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  Ok = new QPushButton("OK", this);
  Cancel = new QPushButton(this);
  buttons->addStretch();
  buttons->addWidget(Ok);
  buttons->addWidget(Cancel);

  connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (changing_ || index < 0 || index > 7) return;
    Block.inputSystem = static_cast<std::uint8_t>(index);
    FormShow();
  });
  connect(EditLg, &QLineEdit::editingFinished, this, [this] { EditLgExit(); });
  connect(EditBr, &QLineEdit::editingFinished, this, [this] { EditBrExit(); });
  connect(BtnLgDEG, &QPushButton::clicked, this, &TKoordEingabe::BtnLgDEGClick);
  connect(BtnBrDEG, &QPushButton::clicked, this, &TKoordEingabe::BtnBrDEGClick);
  connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) { ToTable = on ? 1 : 0; });
  connect(Ok, &QPushButton::clicked, this, [this] {
    if (EditLgExit() && EditBrExit()) done(1);
  });
  connect(Cancel, &QPushButton::clicked, this, [this] { done(2); });
}

double* TKoordEingabe::First() {
  double* f[8] = {&Block.raDate,   &Block.raJ2000,  &Block.raB1950, &Block.lonDate,
                  &Block.lonJ2000, &Block.lonB1950, &Block.galLon,  &Block.azimuth};
  return f[Block.inputSystem % 8];
}

double* TKoordEingabe::Second() {
  double* f[8] = {&Block.decDate,  &Block.decJ2000, &Block.decB1950, &Block.latDate,
                  &Block.latJ2000, &Block.latB1950, &Block.galLat,   &Block.altitude};
  return f[Block.inputSystem % 8];
}

void TKoordEingabe::FormShow() {
  const int e = English() ? 1 : 0;
  const int system = Block.inputSystem % 8;
  setWindowTitle(Tr("Koordinatentransformation", "Transformation of coordinates"));
  findChild<QLabel*>("SystemLabel")->setText(Tr("&System:", "&System:"));
  CheckBox1->setText(Tr("Ergebnisse in Tabelle", "Write results to sheet"));
  Cancel->setText(Tr("&Abbrechen", "&Cancel"));
  Hint->setText(
      Tr("Eingaben bitte in Grad bzw. Stunden und Dezimalen vornehmen. Mit den DMS->DEG-Schaltflächen "
         "können Sie das Dezimalformat ggf. nach hms bzw. dms umwandeln.",
         "Enter values as degrees resp. hours with decimals. Use the DMS->DEG buttons to change the "
         "decimal format to hms resp. dms."));
  changing_ = true;
  CheckBox1->setChecked(ToTable != 0);
  ComboBox1->clear();
  for (int i = 0; i < 8; ++i) ComboBox1->addItem(QString::fromUtf8(CoordinateSystemName(i)));
  ComboBox1->setCurrentIndex(system);
  changing_ = false;
  // The observer.
  std::string date;
  ObserverDateText(Observer, date);
  const double lst = LocalSiderealTime(0, Observer.Mjd, Observer.Longitude);
  Panel1->setText(QString::fromStdString(date) + " UT  JD: " + QString::number(MjdToJd(Observer.Mjd), 'f', 5));
  Panel2->setText(Tr(" Sternzeit: ", " Sidereal time: ") + Marked(lst, 0) + Tr(" Br.: ", " Lat.: ") +
                  Marked(Observer.Latitude, 1) + Tr("  Lg.: ", "  Long.: ") + Marked(Observer.Longitude, 1));
  // The pair of the chosen system.
  CaptionLg->setText(QString::fromUtf8(kCaptions[system][0][e]));
  CaptionBr->setText(QString::fromUtf8(kCaptions[system][1][e]));
  const bool hours = system <= 2;
  const double first = hours ? *First() / 15.0 : *First();
  EditLg->SetValue(first, 8);
  EditBr->SetValue(*Second(), 8);
  DmsLg->setText(Marked(first, hours ? 0 : 1));
  DmsBr->setText(Marked(*Second(), 1));
  double h = std::fmod(Block.hourAngle, 24.0);
  if (h < 0) h += 24.0;
  HourAngle->setText(Tr("Stundenwinkel: ", "Hour angle: ") +
                     QString::fromStdString(DmMarkText2(FixedPointText(DegToDmPacked(h), 2), 0)));
  Culmination->setText(Tr("Kulmination: ", "Culmination: ") + HoursMinutes(Block.culmination));
  if (Block.risesAndSets == 1) {
    Rise->setText(Tr("Aufgang: ", "Rise: ") + HoursMinutes(Block.rise));
    Set->setText(Tr("Untergang: ", "Set: ") + HoursMinutes(Block.set));
  } else {
    Rise->setText(Tr("Aufgang: ---", "Rise: ---"));
    Set->setText(Tr("Untergang: ---", "Set: ---"));
  }
}

bool TKoordEingabe::ReadEdit(TFloatEdit* edit, bool first) {
  std::string text = edit->text().trimmed().toStdString();
  const auto comma = text.find(',');
  if (comma != std::string::npos) text[comma] = '.';
  double x = 0;
  if (!StrToFloatDot(text, x) || !std::isfinite(x)) {
    ShowMessage("Ungültige Eingabe", "Invalid value", MessageIcon::Error);
    FormShow();
    return false;
  }
  const int system = Block.inputSystem % 8;
  double* target = first ? First() : Second();
  const double old = *target;
  double value = x;
  if (first) value = Mod360(system <= 2 ? x * 15.0 : x);
  if (value == old) return true;
  *target = value;
  if (!ConvertPositionFrames(Observer, Block)) {
    // Beyond ±90° (or not computable): refused, the block as it was.
    *target = old;
    ShowImplausibleValues();
    FormShow();
    return false;
  }
  FormShow();
  return true;
}

bool TKoordEingabe::EditLgExit() { return ReadEdit(EditLg, true); }
bool TKoordEingabe::EditBrExit() { return ReadEdit(EditBr, false); }

void TKoordEingabe::BtnLgDEGClick() {
  double x = 0;
  if (EditLg->Value(x)) EditLg->SetValue(DmsPackedToDeg(x), 8);
  EditLgExit();
}

void TKoordEingabe::BtnBrDEGClick() {
  double x = 0;
  if (EditBr->Value(x)) EditBr->SetValue(DmsPackedToDeg(x), 8);
  EditBrExit();
}

int ShowCoordinateConversionDialog(std::uint8_t& toTable, const TObserverRecord& observer, TCoordinateBlock& block) {
  TKoordEingabe form(DialogOwner());
  form.Block = block;
  form.Observer = observer;
  form.ToTable = toTable;
  ConvertPositionFrames(form.Observer, form.Block);
  form.FormShow();
  const int result = Driver() ? Driver()(form) : form.exec();
  if (result == 1) {
    block = form.Block;
    toTable = form.ToTable;
  }
  return result;
}

}  // namespace kvx
