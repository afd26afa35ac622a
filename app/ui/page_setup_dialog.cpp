#include "app/ui/page_setup_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ui/app_dialog_builders.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/decimal_box.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/dialog_rows.h"

namespace kvx {

namespace {

QString T(const char* german, const char* english) {
  return QString::fromUtf8(LanguageEnglish != 0 ? english : german);
}

QDoubleSpinBox* MarginBox(QWidget* parent) {
  auto* box = new TDecimalBox(parent);
  box->setRange(-100.0, 100.0);  // the check on OK says what cannot be right
  box->setDecimals(2);
  box->setSingleStep(0.1);
  box->setSuffix(QStringLiteral(" cm"));
  return box;
}

}  // namespace

TFrmPageSetup::TFrmPageSetup(QWidget* parent) : QDialog(parent) {
  SetHelpSection(this, "menu-file");
  setObjectName(QStringLiteral("dlgpagesetup"));
  setWindowTitle(T("Seite einrichten", "Page setup"));
  auto* layout = new QVBoxLayout(this);

  auto* texts = new QGroupBox(T("Kopf- und Fußzeile", "Header and footer"), this);
  auto* textsLayout = new QFormLayout(texts);
  MmHeader = new QPlainTextEdit(texts);
  MMFooter = new QPlainTextEdit(texts);
  MmHeader->setFixedHeight(48);
  MMFooter->setFixedHeight(48);
  textsLayout->addRow(T("Kopfzeile:", "Header:"), MmHeader);
  textsLayout->addRow(T("Fußzeile:", "Footer:"), MMFooter);
  layout->addWidget(texts);

  auto* margins = new QGroupBox(T("Ränder", "Margins"), this);
  auto* marginsLayout = new QGridLayout(margins);
  EdLinks = MarginBox(margins);
  EdOben = MarginBox(margins);
  edRechts = MarginBox(margins);
  edUnten = MarginBox(margins);
  AddCaptionedField(marginsLayout, 0, 0, T("Links:", "Left:"), EdLinks);
  AddCaptionedField(marginsLayout, 0, 2, T("Oben:", "Top:"), EdOben);
  AddCaptionedField(marginsLayout, 1, 0, T("Rechts:", "Right:"), edRechts);
  AddCaptionedField(marginsLayout, 1, 2, T("Unten:", "Bottom:"), edUnten);
  layout->addWidget(margins);

  auto* middle = new QHBoxLayout;
  middle->addWidget(NewRadioGroup<QVBoxLayout>(T("Seitenreihenfolge", "Page order"), this,
                                               {{&cbtoptodown, T("Von oben nach unten", "Down, then over")},
                                                {&cblefttoright, T("Von links nach rechts", "Over, then down")}}));
  middle->addWidget(NewRadioGroup<QVBoxLayout>(
      T("Ausrichtung", "Orientation"), this,
      {{&rbportrait, T("Hochformat", "Portrait")}, {&rblandscape, T("Querformat", "Landscape")}}));
  layout->addLayout(middle);

  auto* options = new QGroupBox(T("Drucken", "Print"), this);
  auto* optionsLayout = new QGridLayout(options);
  cbprinthcent = new QCheckBox(T("Horizontal zentrieren", "Center horizontally"), options);
  cbprintvcent = new QCheckBox(T("Vertikal zentrieren", "Center vertically"), options);
  cbgridlines = new QCheckBox(T("Gitternetzlinien", "Grid lines"), options);
  cbnocolor = new QCheckBox(T("Schwarzweiß", "No colour"), options);
  cbrowhead = new QCheckBox(T("Zeilenköpfe", "Row headings"), options);
  cbcolhead = new QCheckBox(T("Spaltenköpfe", "Column headings"), options);
  optionsLayout->addWidget(cbprinthcent, 0, 0);
  optionsLayout->addWidget(cbprintvcent, 0, 1);
  optionsLayout->addWidget(cbgridlines, 1, 0);
  optionsLayout->addWidget(cbnocolor, 1, 1);
  optionsLayout->addWidget(cbrowhead, 2, 0);
  optionsLayout->addWidget(cbcolhead, 2, 1);
  layout->addWidget(options);

  auto* scale = new QGroupBox(T("Skalierung", "Scaling"), this);
  auto* scaleLayout = new QGridLayout(scale);
  rbScale = new QRadioButton(T("Verkleinern/Vergrößern:", "Adjust to:"), scale);
  rbFit = new QRadioButton(T("Anpassen:", "Fit to:"), scale);
  edskalieren = new QSpinBox(scale);
  edskalieren->setRange(-1000, 10000);
  edskalieren->setSuffix(QStringLiteral(" %"));
  EDSeitenbreite = new QSpinBox(scale);
  EDSeitenhoehe = new QSpinBox(scale);
  EDSeitenbreite->setRange(-1000, 10000);
  EDSeitenhoehe->setRange(-1000, 10000);
  scaleLayout->addWidget(rbScale, 0, 0);
  scaleLayout->addWidget(edskalieren, 0, 1);
  scaleLayout->addWidget(rbFit, 1, 0);
  scaleLayout->addWidget(EDSeitenbreite, 1, 1);
  scaleLayout->addWidget(new QLabel(T("Seite(n) breit", "page(s) wide"), scale), 1, 2);
  scaleLayout->addWidget(EDSeitenhoehe, 2, 1);
  scaleLayout->addWidget(new QLabel(T("Seite(n) hoch", "page(s) tall"), scale), 2, 2);
  layout->addWidget(scale);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(T("Abbrechen", "Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void TFrmPageSetup::SetFields(const TPageSetupFields& f) {
  MmHeader->setPlainText(QString::fromStdString(f.Header));
  MMFooter->setPlainText(QString::fromStdString(f.Footer));
  EdLinks->setValue(f.LeftCm);
  EdOben->setValue(f.TopCm);
  edRechts->setValue(f.RightCm);
  edUnten->setValue(f.BottomCm);
  cblefttoright->setChecked(f.LeftToRight);
  cbtoptodown->setChecked(!f.LeftToRight);
  cbprinthcent->setChecked(f.HCenter);
  cbprintvcent->setChecked(f.VCenter);
  cbgridlines->setChecked(f.GridLines);
  cbnocolor->setChecked(f.NoColor);
  cbrowhead->setChecked(f.RowHeading);
  cbcolhead->setChecked(f.ColHeading);
  edskalieren->setValue(f.ScalePercent);
  rbFit->setChecked(f.FitToPages);
  rbScale->setChecked(!f.FitToPages);
  EDSeitenbreite->setValue(f.PagesWide);
  EDSeitenhoehe->setValue(f.PagesTall);
  rblandscape->setChecked(f.Landscape);
  rbportrait->setChecked(!f.Landscape);
}

TPageSetupFields TFrmPageSetup::Fields() const {
  TPageSetupFields f;
  f.Header = MmHeader->toPlainText().toStdString();
  f.Footer = MMFooter->toPlainText().toStdString();
  f.LeftCm = EdLinks->value();
  f.TopCm = EdOben->value();
  f.RightCm = edRechts->value();
  f.BottomCm = edUnten->value();
  f.LeftToRight = cblefttoright->isChecked();
  f.HCenter = cbprinthcent->isChecked();
  f.VCenter = cbprintvcent->isChecked();
  f.GridLines = cbgridlines->isChecked();
  f.NoColor = cbnocolor->isChecked();
  f.RowHeading = cbrowhead->isChecked();
  f.ColHeading = cbcolhead->isChecked();
  f.ScalePercent = edskalieren->value();
  f.FitToPages = rbFit->isChecked();
  f.PagesWide = EDSeitenbreite->value();
  f.PagesTall = EDSeitenhoehe->value();
  f.Landscape = rblandscape->isChecked();
  return f;
}

bool ShowPageSetupDialog(QWidget* parent, workbook::TWorkbook& book) {
  TFrmPageSetup dialog(parent);
  dialog.SetFields(PageSetupFieldsOf(book.PageSetup()));
  while (dialog.exec() == QDialog::Accepted) {
    workbook::TPageSetup page = book.PageSetup();
    const std::string problem = ApplyPageSetupFields(dialog.Fields(), page);
    if (problem.empty()) {
      book.PageSetup() = page;
      return true;
    }
    ShowMessage(problem, problem, MessageIcon::Warning);
  }
  return false;
}

}  // namespace kvx
