// The page set-up dialog of the sheet: header and footer, margins in
// centimetres, print order, centring, grid lines, colour, headings, scale
// and orientation. One dialog for both languages; its texts follow
// LanguageEnglish when it is shown.
#pragma once

#include <QDialog>

#include "app/page_setup_fields.h"

class QCheckBox;
class QDoubleSpinBox;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;

namespace kvx {

class TFrmPageSetup : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmPageSetup(QWidget* parent = nullptr);

  void SetFields(const TPageSetupFields& fields);
  TPageSetupFields Fields() const;

  QPlainTextEdit* MmHeader;
  QPlainTextEdit* MMFooter;
  QDoubleSpinBox* EdLinks;
  QDoubleSpinBox* EdOben;
  QDoubleSpinBox* edRechts;
  QDoubleSpinBox* edUnten;
  QRadioButton* cbtoptodown;
  QRadioButton* cblefttoright;
  QCheckBox* cbprinthcent;
  QCheckBox* cbprintvcent;
  QCheckBox* cbgridlines;
  QCheckBox* cbnocolor;
  QCheckBox* cbrowhead;
  QCheckBox* cbcolhead;
  QRadioButton* rbScale;
  QRadioButton* rbFit;
  QSpinBox* edskalieren;
  QSpinBox* EDSeitenbreite;
  QSpinBox* EDSeitenhoehe;
  QRadioButton* rbportrait;
  QRadioButton* rblandscape;
};

// Runs the dialog on the current sheet's page set-up; OK writes it back
// when the fields can be right, else says why and keeps the dialog open.
// True when the page set-up changed.
bool ShowPageSetupDialog(QWidget* parent, workbook::TWorkbook& book);

}  // namespace kvx
