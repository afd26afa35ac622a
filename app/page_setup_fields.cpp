#include "app/page_setup_fields.h"

#include <cmath>

#include "core/text_conversion.h"
#include "platform/globals.h"

namespace kvx {

namespace {

// The margins: the sheet's page set-up in inches, the fields in centimetres.
struct TMarginMembers {
  double workbook::TPageSetup::*Inches;
  double TPageSetupFields::*Cm;
};

constexpr TMarginMembers kMargins[] = {
    {&workbook::TPageSetup::LeftMargin, &TPageSetupFields::LeftCm},
    {&workbook::TPageSetup::TopMargin, &TPageSetupFields::TopCm},
    {&workbook::TPageSetup::RightMargin, &TPageSetupFields::RightCm},
    {&workbook::TPageSetup::BottomMargin, &TPageSetupFields::BottomCm},
};

// Copies what the page set-up and the fields hold alike, all but the margins.
template <typename From, typename To>
void CopyCommonFields(const From& from, To& to) {
  to.Header = from.Header;
  to.Footer = from.Footer;
  static_cast<workbook::TPrintOptions&>(to) = from;
  to.ScalePercent = from.ScalePercent;
  to.FitToPages = from.FitToPages;
  to.PagesWide = from.PagesWide;
  to.PagesTall = from.PagesTall;
  to.Landscape = from.Landscape;
}

}  // namespace

TPageSetupFields PageSetupFieldsOf(const workbook::TPageSetup& page) {
  TPageSetupFields f;
  for (const TMarginMembers& m : kMargins) f.*m.Cm = InchToCm(page.*m.Inches);
  CopyCommonFields(page, f);
  return f;
}

std::string ApplyPageSetupFields(const TPageSetupFields& f, workbook::TPageSetup& page) {
  const bool english = LanguageEnglish != 0;
  double width = page.PaperSize == 1 ? 21.59 : 21.0;
  double height = page.PaperSize == 1 ? 27.94 : 29.7;
  if (f.Landscape) std::swap(width, height);
  const double margins[] = {f.LeftCm, f.TopCm, f.RightCm, f.BottomCm};
  for (double m : margins) {
    if (!std::isfinite(m) || m < 0) {
      return english ? "Margins must not be negative." : "Ränder dürfen nicht negativ sein.";
    }
  }
  if (f.LeftCm + f.RightCm >= width || f.TopCm + f.BottomCm >= height) {
    return english ? "The margins leave no room on the paper." : "Die Ränder lassen auf dem Papier keinen Platz.";
  }
  if (f.ScalePercent < 10 || f.ScalePercent > 400) {
    return english ? "The scale must lie between 10 and 400 percent."
                   : "Die Skalierung muss zwischen 10 und 400 Prozent liegen.";
  }
  if (f.PagesWide < 1 || f.PagesWide > 100 || f.PagesTall < 1 || f.PagesTall > 100) {
    return english ? "Fit to 1 to 100 pages." : "Bitte auf 1 bis 100 Seiten anpassen.";
  }
  for (const TMarginMembers& m : kMargins) page.*m.Inches = CmToInch(f.*m.Cm);
  CopyCommonFields(f, page);
  return {};
}

}  // namespace kvx
