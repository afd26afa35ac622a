#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <filesystem>

#include "platform/globals.h"
#include "platform/qt/workbook_dialogs.h"

namespace kvx {
namespace {

TEST(WorkbookPrint, HeaderAndFooterFields) {
  QString left, centre, right;
  HeaderFooterParts("&LSeite &P von &N&C&A&R&F && mehr", 2, 5, "mars.xlsx", "Mars", left, centre, right);
  EXPECT_EQ(left, "Seite 2 von 5");
  EXPECT_EQ(centre, "Mars");
  EXPECT_EQ(right, "mars.xlsx & mehr");
  HeaderFooterParts("plain", 1, 1, "", "", left, centre, right);
  EXPECT_EQ(centre, "plain");
  EXPECT_TRUE(left.isEmpty());
}

TEST(WorkbookPrint, PagesArePaintedAndPrintedToPdf) {
  const TIntlSeparators saved = IntlSeparators;
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  workbook::TWorkbook book(1);
  for (int r = 1; r <= 120; ++r) {
    book.SetNumber(r, 1, r);
    book.SetText(r, 2, "Zeile " + std::to_string(r));
  }
  book.SetSelection(1, 1, 1, 2);
  book.SetPattern(workbook::TPattern{1, 0xFFFF00, 0xFFFFFF});
  book.PageSetup().Header = "&CEphemeride";
  book.PageSetup().Footer = "&RSeite &P";
  book.PageSetup().GridLines = true;
  book.PageSetup().RowHeading = true;
  book.PageSetup().ColHeading = true;

  double width = 0.0;
  double height = 0.0;
  workbook::PaperSize(9, width, height);
  const workbook::TPageLayout layout = workbook::LayoutPages(book, 1, width, height);
  ASSERT_EQ(layout.Pages.size(), 3u);
  QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PaintSheetPage(painter, book, 1, layout, 0, 1.0, width, height);
  }
  // The yellow fill of the first cells lands inside the margins.
  const QColor fill = image.pixelColor(static_cast<int>(0.75 * 72 + 30 + 10), static_cast<int>(72 + 14 + 6));
  EXPECT_EQ(fill, QColor(0xFF, 0xFF, 0x00));
  EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));

  const std::filesystem::path out = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(out);
  const QString pdf = QString::fromStdString((out / "workbook_print.pdf").string());
  QFile::remove(pdf);
  EXPECT_EQ(PrintWorkbookToPdf(book, pdf), 3);
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(5).startsWith("%PDF"));
  // An empty sheet prints nothing.
  workbook::TWorkbook empty(1);
  EXPECT_EQ(PrintWorkbookToPdf(empty, pdf), 0);
  IntlSeparators = saved;
}

}  // namespace
}  // namespace kvx
