#include "app/page_setup_fields.h"

#include <cmath>

#include "core/text_conversion.h"
#include "platform/globals.h"

namespace kvx {

TPageSetupFields PageSetupFieldsOf(const workbook::TPageSetup& page) {
  TPageSetupFields f;
  f.Header = page.Header;
  f.Footer = page.Footer;
  f.LeftCm = InchToCm(page.LeftMargin);
  f.TopCm = InchToCm(page.TopMargin);
  f.RightCm = InchToCm(page.RightMargin);
  f.BottomCm = InchToCm(page.BottomMargin);
  static_cast<workbook::TPrintOptions&>(f) = page;
  f.ScalePercent = page.ScalePercent;
  f.FitToPages = page.FitToPages;
  f.PagesWide = page.PagesWide;
  f.PagesTall = page.PagesTall;
  f.Landscape = page.Landscape;
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
  page.Header = f.Header;
  page.Footer = f.Footer;
  page.LeftMargin = CmToInch(f.LeftCm);
  page.TopMargin = CmToInch(f.TopCm);
  page.RightMargin = CmToInch(f.RightCm);
  page.BottomMargin = CmToInch(f.BottomCm);
  static_cast<workbook::TPrintOptions&>(page) = f;
  page.ScalePercent = f.ScalePercent;
  page.FitToPages = f.FitToPages;
  page.PagesWide = f.PagesWide;
  page.PagesTall = f.PagesTall;
  page.Landscape = f.Landscape;
  return {};
}

}  // namespace kvx
