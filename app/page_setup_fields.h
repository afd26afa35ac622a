// The page set-up dialog's fields without any window: filled from a
// sheet's page set-up (margins in centimetres) and checked and written back
// (margins in inches).
#pragma once

#include <string>

#include "platform/workbook/workbook.h"

namespace kvx {

struct TPageSetupFields : workbook::TPrintOptions {
  std::string Header;
  std::string Footer;
  double LeftCm = 0;
  double TopCm = 0;
  double RightCm = 0;
  double BottomCm = 0;
  int ScalePercent = 100;
  bool FitToPages = false;
  int PagesWide = 1;
  int PagesTall = 1;
  bool Landscape = false;
};

TPageSetupFields PageSetupFieldsOf(const workbook::TPageSetup& page);

// Writes the fields into `page` when they can be right: margins from 0 and
// leaving room on the paper (A4 21 x 29.7 cm, Letter 21.59 x 27.94 cm, by
// the orientation), a scale of 10..400 percent, 1..100 pages each way.
// Otherwise `page` stays as it was and the answer is the message to show
// (German and English by LanguageEnglish).
std::string ApplyPageSetupFields(const TPageSetupFields& fields, workbook::TPageSetup& page);

}  // namespace kvx
