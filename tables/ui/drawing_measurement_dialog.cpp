#include "tables/ui/drawing_measurement_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/column_flags.h"
#include "core/text_conversion.h"
#include "engine/table_sink.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"
#include "platform/settings_store.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {

constexpr const char* kSection = "FrmOrt";

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

QString Angle(int slot, double value) {
  std::string text;
  FormatAngleForSlot(slot, text, value);
  return QString::fromStdString(text);
}

}  // namespace

TOrtsbest::TOrtsbest(TDrawingMeasurementHooks hooks, QWidget* parent) : QDialog(parent), hooks_(std::move(hooks)) {
  SetHelpSection(this, "menu-tools");
  setObjectName("Ortsbest");
  setWindowTitle(Tr("Ortsbestimmung auf Planeten", "Measuring planetary drawings"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  Body = NewNamed<QComboBox>("Body", this);
  if (LanguageEnglish != 0) {
    Body->addItems({"Sun", "Mars", "Jupiter", "Saturn"});
  } else {
    Body->addItems({"Sonne", "Mars", "Jupiter", "Saturn"});
  }
  form->addRow(Body);
  auto* disc = new QHBoxLayout;
  LabelP = new QLabel(this);
  LabelB = new QLabel(this);
  LabelZ = new QLabel(this);
  disc->addWidget(LabelP);
  disc->addWidget(LabelB);
  disc->addWidget(LabelZ);
  form->addRow(disc);
  Status = new QLabel(this);
  form->addRow(Status);
  Diameter = NewNamed<TFloatEdit>("Diameter", this);
  Diameter2 = NewNamed<TFloatEdit>("Diameter2", this);
  form->addRow(Tr("Äquatordurchmesser der Zeichnung:", "Equatorial diameter of the drawing:"), Diameter);
  form->addRow(Tr("Poldurchmesser der Zeichnung:", "Polar diameter of the drawing:"), Diameter2);
  form->addRow(new QLabel(Tr("(x und y vom Scheibenmittelpunkt, in der Einheit der Durchmesser)",
                             "(x and y from the disc centre, in the unit of the diameters)"),
                          this));
  EditX = NewNamed<TFloatEdit>("x", this);
  EditY = NewNamed<TFloatEdit>("y", this);
  form->addRow(Tr("&x:", "&x:"), EditX);
  form->addRow(Tr("&y:", "&y:"), EditY);
  SouthAbove = NewNamed<QCheckBox>("SouthAbove", Tr("&Süden oben", "&South above"), this);
  form->addRow(SouthAbove);
  Description = NewNamed<QLineEdit>("Description", this);
  Description2 = NewNamed<QLineEdit>("Description2", this);
  form->addRow(Tr("Objektbeschre&ibung(en):", "Descr&iption(s) of the object:"), Description);
  form->addRow(QString(), Description2);
  ResultLongitude = NewNamed<QLabel>("ResultLongitude", this);
  ResultLatitude = NewNamed<QLabel>("ResultLatitude", this);
  form->addRow(Tr("Planetozentrische Länge:", "Planetocentric longitude:"), ResultLongitude);
  form->addRow(Tr("Planetozentrische Breite:", "Planetocentric latitude:"), ResultLatitude);
  layout->addLayout(form);
  auto* buttons = new QHBoxLayout;
  ChangeDate = NamedButton(this, Tr("&Datum und Zeit ändern", "Change &date and time"), "ChangeDate");
  Write = NamedButton(this, Tr("In &Tabelle schreiben", "Wri&te to sheet"), "Write");
  Ok = NamedButton(this, "&OK", "OK");
  buttons->addWidget(ChangeDate);
  buttons->addWidget(Write);
  buttons->addStretch();
  buttons->addWidget(Ok);
  layout->addLayout(buttons);

  LoadSettings();
  connect(Body, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int) { Refresh(); });
  for (QLineEdit* e :
       {static_cast<QLineEdit*>(Diameter), static_cast<QLineEdit*>(EditX), static_cast<QLineEdit*>(EditY)})
    connect(e, &QLineEdit::textChanged, this, [this] { Recompute(); });
  connect(Diameter2, &QLineEdit::editingFinished, this, [this] {
    ReadEntries();
    const double limited = LimitPolarDiameter(Measurement.PolarDiameter, Measurement.Diameter);
    if (limited != Measurement.PolarDiameter) Diameter2->SetValue(limited, 2);
    Recompute();
  });
  connect(SouthAbove, &QCheckBox::toggled, this, [this] { Recompute(); });
  connect(ChangeDate, &QPushButton::clicked, this, [this] {
    if (hooks_.ChangeDateAndTime) hooks_.ChangeDateAndTime();
    Refresh();
  });
  connect(Write, &QPushButton::clicked, this, [this] { WriteClick(); });
  connect(Ok, &QPushButton::clicked, this, &QDialog::accept);
  Refresh();
}

TOrtsbest::~TOrtsbest() { SaveSettings(); }

void TOrtsbest::LoadSettings() {
  SettingsStore& store = CurrentSettingsStore();
  Diameter->setText(QString::fromStdString(store.ReadString(kSection, "Diameter").value_or("10")));
  Diameter2->setText(QString::fromStdString(store.ReadString(kSection, "Diameter2").value_or("10")));
  Description->setText(QString::fromStdString(store.ReadString(kSection, "Description").value_or("")));
  Description2->setText(QString::fromStdString(store.ReadString(kSection, "Description 2").value_or("")));
  EditX->setText(QString::fromStdString(store.ReadString(kSection, "x").value_or("0,0")));
  EditY->setText(QString::fromStdString(store.ReadString(kSection, "y").value_or("0,0")));
  SouthAbove->setChecked(store.ReadBool(kSection, "South above").value_or(false));
  const std::int64_t body = store.ReadInteger(kSection, "Planet").value_or(0);
  Body->setCurrentIndex(body >= 0 && body <= 3 ? static_cast<int>(body) : 0);
}

void TOrtsbest::SaveSettings() {
  SettingsStore& store = CurrentSettingsStore();
  store.WriteString(kSection, "Diameter", Diameter->text().toStdString());
  store.WriteString(kSection, "Diameter2", Diameter2->text().toStdString());
  store.WriteString(kSection, "Description", Description->text().toStdString());
  store.WriteString(kSection, "Description 2", Description2->text().toStdString());
  store.WriteString(kSection, "x", EditX->text().toStdString());
  store.WriteString(kSection, "y", EditY->text().toStdString());
  store.WriteBool(kSection, "South above", SouthAbove->isChecked());
  store.WriteInteger(kSection, "Planet", Body->currentIndex());
}

void TOrtsbest::ReadEntries() {
  Measurement.Body = Body->currentIndex();
  double v = 0;
  Measurement.Diameter = Diameter->Value(v) ? v : NAN;
  Measurement.PolarDiameter = Diameter2->Value(v) ? v : NAN;
  Measurement.X = EditX->Value(v) ? v : NAN;
  Measurement.Y = EditY->Value(v) ? v : NAN;
  Measurement.SouthAbove = SouthAbove->isChecked();
}

void TOrtsbest::Refresh() {
  observer_ = hooks_.Observer ? hooks_.Observer() : TObserverRecord{};
  double P = 0, B = 0, L0 = 0;
  if (!DrawingDiscData(Body->currentIndex(), observer_, hooks_.Selection, hooks_.VsopLevel, hooks_.Body, P, B, L0))
    P = B = L0 = NAN;
  Measurement.P = P;
  Measurement.B = B;
  Measurement.L0 = L0;
  LabelP->setText("P: " + Angle(63, P));
  LabelB->setText("B: " + Angle(64, B));
  LabelZ->setText("Z: " + Angle(66, L0));
  Diameter2->setEnabled(Body->currentIndex() >= 2);
  TObserverRecord ut = observer_;
  std::string date;
  DateToText(ut.Day, ut.Month, ut.Year, date, '.');
  const int minutes = static_cast<int>(std::floor(ut.UTHours * 60.0 + 0.5));
  char time[32];
  std::snprintf(time, sizeof time, "%02d:%02d UT", (minutes / 60) % 24, minutes % 60);
  Status->setText(QString::fromStdString(date + ", " + time));
  Recompute();
}

bool TOrtsbest::Recompute() {
  ReadEntries();
  Valid = MeasureDrawingPoint(Measurement, Longitude, Latitude);
  if (!Valid) {
    ResultLongitude->setText("ERROR");
    ResultLatitude->setText("ERROR");
    return false;
  }
  const bool sphere = Measurement.Body <= 1;
  ResultLongitude->setText(Angle(sphere ? 188 : 7, Longitude));
  ResultLatitude->setText(Angle(sphere ? 189 : 8, Latitude));
  return true;
}

void TOrtsbest::WriteClick() {
  if (!Recompute() || hooks_.Sheet == nullptr) return;
  TSheet& sheet = *hooks_.Sheet;
  const int jd = hooks_.JulianDate ? 1 : 0;
  TSheetSink sink(sheet);
  if (firstWrite_) {
    sheet.ClearRange(-1, -1, -1, -1, 1);
    sink.Text(1, 1, hooks_.Config.ColumnTitles[0]);
    sink.Text(1, 2, hooks_.Config.ColumnTitles[2]);
    if (jd != 0) sink.Text(1, 3, hooks_.Config.ColumnTitles[3]);
    sink.Text(1, 5 + jd, hooks_.Config.ColumnTitles[188]);
    sink.Text(1, 6 + jd, hooks_.Config.ColumnTitles[189]);
    firstWrite_ = false;
    nextRow_ = 2;
  }
  const int row = nextRow_++;
  sink.Date(row, 1, 0, observer_.Year, observer_.Month, observer_.Day);
  sink.Value(TCellFamily::TimeOfDay, row, 2, 2, observer_.UTHours);
  if (jd != 0) sink.Value(TCellFamily::Number, row, 3, 3, observer_.Mjd + 2400000.5);
  sink.Text(row, 3 + jd, Description->text().toStdString());
  sink.Text(row, 4 + jd, Description2->text().toStdString());
  sink.Value(TCellFamily::Angle, row, 5 + jd, 188, Longitude);
  sink.Value(TCellFamily::Angle, row, 6 + jd, 189, Latitude);
  sheet.SetSelection(1, 1, 1, 1);
}

void ShowPlanetMeasurementDialog(TDrawingMeasurementHooks hooks, QWidget* parent) {
  TOrtsbest dialog(std::move(hooks), parent);
  dialog.exec();
}

}  // namespace kvx
