#include "tables/ui/gauss_krueger_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "setup/ui/dialog_owner.h"
#include "setup/ui/edit_controls.h"
#include "tables/gauss_krueger.h"

namespace kvx {

namespace {

TGaussKruegerDialogDriver& Driver() {
  static TGaussKruegerDialogDriver driver;
  return driver;
}

void StopBox(const char* german, const char* english) { ShowMessage(german, english, MessageIcon::Error); }

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

// Degrees as 12°34'56,78'' (the sign in front).
QString SexagesimalText(double degrees) {
  return QString::fromStdString(DmsMarkText(FixedPointText(DegToDmsPackedHundredth(degrees), 6), 1));
}

// A typed angle: degrees, minutes and seconds with their marks, or a decimal
// number. False for no number.
bool ParseAngle(const QString& text, double& degrees) {
  std::uint8_t isDecimal = 1;
  std::string number;
  ParseDegreeText(text.trimmed().toStdString(), isDecimal, number);
  double x = 0;
  if (!ValReal(number, x) || !std::isfinite(x)) return false;
  degrees = isDecimal ? x : DmsPackedToDeg(x);
  return std::isfinite(degrees);
}

}  // namespace

void SetGaussKruegerDialogDriver(TGaussKruegerDialogDriver driver) { Driver() = std::move(driver); }

Tkonf2geoform::Tkonf2geoform(QWidget* parent) : QDialog(parent) {
  SetHelpSection(this, "menu-tools");
  setObjectName("konf2geoform");
  setWindowTitle(Tr("Umwandlung konformer in geographische Koordinaten", "Conformal to geographic coordinates"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  FloatEdit1 = new TFloatEdit(this);
  FloatEdit2 = new TFloatEdit(this);
  Label3 = new TFloatEdit(this);
  Label5 = new TFloatEdit(this);
  label4 = new QLineEdit(this);
  LAbel6 = new QLineEdit(this);
  FloatEdit1->setObjectName("FloatEdit1");
  FloatEdit2->setObjectName("FloatEdit2");
  Label3->setObjectName("Label3");
  Label5->setObjectName("Label5");
  label4->setObjectName("label4");
  LAbel6->setObjectName("LAbel6");
  QWidget* fields[6] = {FloatEdit1, FloatEdit2, Label3, label4, Label5, LAbel6};
  const char* captions[6][2] = {{"&Rechtswert:", "&Easting:"}, {"&Hochwert:", "&Northing:"},
                                {"Länge:", "Longitude:"},      {"Länge (° ' ''):", "Longitude (° ' ''):"},
                                {"Breite:", "Latitude:"},      {"Breite (° ' ''):", "Latitude (° ' ''):"}};
  for (int i = 0; i < 6; ++i) {
    auto* caption = new QLabel(Tr(captions[i][0], captions[i][1]), this);
    caption->setBuddy(fields[i]);
    grid->addWidget(caption, i, 0);
    grid->addWidget(fields[i], i, 1);
    CopyButtons[i] = new QPushButton(Tr("Kopieren", "Copy"), this);
    CopyButtons[i]->setObjectName(QString("Kopieren%1").arg(i + 1));
    CopyButtons[i]->setAutoDefault(false);
    grid->addWidget(CopyButtons[i], i, 2);
    QLineEdit* edit = static_cast<QLineEdit*>(fields[i]);
    connect(CopyButtons[i], &QPushButton::clicked, this,
            [edit] { QGuiApplication::clipboard()->setText(edit->text()); });
  }
  auto* note =
      new QLabel(Tr("Die Rechnung ist nur für Deutschland, eventuell auch andere Länder in Mitteleuropa gültig.",
                    "The conversion is valid for Germany only, perhaps for other countries of central Europe too."),
                 this);
  note->setWordWrap(true);
  layout->addWidget(note);
  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  TakeOver = new QPushButton(Tr("&Werte übernehmen", "&Take over values"), this);
  Close = new QPushButton(Tr("&Schließen", "&Close"), this);
  TakeOver->setAutoDefault(false);
  Close->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(TakeOver);
  buttons->addWidget(Close);
  connect(TakeOver, &QPushButton::clicked, this, [this] { done(6); });
  connect(Close, &QPushButton::clicked, this, [this] { done(1); });

  connect(FloatEdit1, &TFloatEdit::Accepted, this, &Tkonf2geoform::RechtswertLeft);
  connect(FloatEdit2, &TFloatEdit::Accepted, this, &Tkonf2geoform::HochwertLeft);
  connect(Label3, &TFloatEdit::Accepted, this, &Tkonf2geoform::LongitudeDecimalLeft);
  connect(Label5, &TFloatEdit::Accepted, this, &Tkonf2geoform::LatitudeDecimalLeft);
  connect(label4, &QLineEdit::editingFinished, this, &Tkonf2geoform::LongitudeTextLeft);
  connect(LAbel6, &QLineEdit::editingFinished, this, &Tkonf2geoform::LatitudeTextLeft);
}

void Tkonf2geoform::Prepare() {
  Longitude = LongitudeToHalfTurn(Longitude);
  Forward();
}

void Tkonf2geoform::ShowValues() {
  FloatEdit1->SetValue(Rechtswert, 2);
  FloatEdit2->SetValue(Hochwert, 2);
  Label3->SetValue(Longitude, 9);
  Label5->SetValue(Latitude, 9);
  label4->setText(SexagesimalText(Longitude));
  LAbel6->setText(SexagesimalText(Latitude));
}

void Tkonf2geoform::Forward() {
  double r = 0, h = 0;
  if (GeographicToGaussKrueger(Longitude, Latitude, A, B, r, h)) {
    Rechtswert = r;
    Hochwert = h;
  }
  ShowValues();
}

void Tkonf2geoform::Inverse() {
  double lon = 0, lat = 0;
  if (!GaussKruegerToGeographic(Rechtswert, Hochwert, A, B, lon, lat) || std::fabs(lon) > 180.0 ||
      std::fabs(lat) >= 90.0) {
    StopBox("Rechtswert und Hochwert ergeben keine geographische Position.",
            "Easting and northing give no geographic position.");
    // Back to the coordinates of the stored place.
    Forward();
    return;
  }
  Longitude = lon;
  Latitude = lat;
  ShowValues();
}

void Tkonf2geoform::RechtswertLeft() {
  double x = 0;
  if (FloatEdit1->Value(x)) Rechtswert = x;
  Inverse();
}

void Tkonf2geoform::HochwertLeft() {
  double x = 0;
  if (FloatEdit2->Value(x)) Hochwert = x;
  Inverse();
}

void Tkonf2geoform::LongitudeDecimalLeft() {
  double x = 0;
  if (Label3->Value(x)) Longitude = LongitudeToHalfTurn(x);
  A = B = 0;
  Forward();
}

void Tkonf2geoform::LatitudeDecimalLeft() {
  double x = 0;
  if (Label5->Value(x)) {
    if (std::fabs(x) >= 90.0)
      StopBox("Geogr. Breite: muß zwischen >=-90 und <=+90 betragen!", "Latitude must be >= -90 and <= +90!");
    else
      Latitude = x;
  }
  A = B = 0;
  Forward();
}

void Tkonf2geoform::LongitudeTextLeft() {
  double x = 0;
  if (!ParseAngle(label4->text(), x))
    StopBox("Ungültige Eingabe", "Invalid input");
  else if (std::fabs(x) > 180.0)
    StopBox("Geogr. Länge: muß zwischen >=-180 und <=+180 betragen!", "Longitude must be >= -180 and <= +180!");
  else
    Longitude = LongitudeToHalfTurn(x);
  A = B = 0;
  Forward();
}

void Tkonf2geoform::LatitudeTextLeft() {
  double x = 0;
  if (!ParseAngle(LAbel6->text(), x)) StopBox("Ungültige Eingabe", "Invalid input");
  // The conversion needs a latitude short of the poles.
  else if (std::fabs(x) >= 90.0)
    StopBox("Geogr. Breite: muß zwischen >=-90 und <=+90 betragen!", "Latitude must be >= -90 and <= +90!");
  else
    Latitude = x;
  A = B = 0;
  Forward();
}

bool ShowGaussKruegerDialog(double& latitude, double& longitude) {
  Tkonf2geoform form(DialogOwner());
  form.A = kBesselInverseA;
  form.B = kBesselInverseB;
  form.Latitude = latitude;
  form.Longitude = -longitude;
  form.Prepare();
  const int result = Driver() ? Driver()(form) : form.exec();
  if (result != 6) return false;
  latitude = form.Latitude;
  longitude = -form.Longitude;
  if (longitude == -180.0) longitude = 180.0;
  return true;
}

}  // namespace kvx
