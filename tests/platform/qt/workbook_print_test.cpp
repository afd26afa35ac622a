#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <filesystem>
#include <string>

#include "platform/globals.h"
#include "platform/qt/workbook_dialogs.h"
#include "platform/qt/workbook_view.h"
#include "platform/workbook/page_layout.h"
#include "support/shell_word.h"

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
  file.close();
  // An independent reader renders as many pages, none of them blank.
  if (std::system("pdftoppm -v > /dev/null 2>&1") == 0) {
    const std::string prefix = (out / "workbook_print_page").string();
    auto pageFile = [&](int page) { return QString::fromStdString(prefix + "-" + std::to_string(page) + ".png"); };
    for (int page = 1; page <= 4; ++page) QFile::remove(pageFile(page));
    const std::string command = "pdftoppm -r 50 -png " + test::ShellWord(pdf.toStdString()) + " " + test::ShellWord(prefix);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (int page = 1; page <= 3; ++page) {
      QImage image;
      ASSERT_TRUE(image.load(pageFile(page))) << page;
      int inked = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) inked += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
      }
      EXPECT_GT(inked, 200) << "page " << page << " looks blank";
    }
    EXPECT_FALSE(QFile::exists(pageFile(4)));
    // The words where a reader finds them: every "Zeile" of the 120 rows at
    // the size of a 10-point font, on the paper; a footer on every page.
    const std::string words = (out / "workbook_print_words.html").string();
    ASSERT_EQ(std::system(("pdftotext -bbox " + test::ShellWord(pdf.toStdString()) + " " + test::ShellWord(words)).c_str()),
              0);
    std::ifstream in(words);
    std::string line;
    int rows = 0;
    int footers = 0;
    while (std::getline(in, line)) {
      double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
      char word[64] = {};
      if (std::sscanf(line.c_str(), " <word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">%63[^<]", &x1, &y1, &x2,
                      &y2, word) != 5) {
        continue;
      }
      const std::string text = word;
      if (text == "Seite") ++footers;
      if (text != "Zeile") continue;
      ++rows;
      EXPECT_GT(y2 - y1, 6.0) << line;
      EXPECT_LT(y2 - y1, 14.0) << line;
      EXPECT_TRUE(x1 >= 0 && x2 <= 595 && y1 >= 0 && y2 <= 842) << line;
    }
    EXPECT_EQ(rows, 120);
    EXPECT_EQ(footers, 3);
  } else {
    std::cout << "pdftoppm (poppler-utils) is not installed: the PDF is not rendered\n";
  }
  // An empty sheet prints nothing.
  workbook::TWorkbook empty(1);
  EXPECT_EQ(PrintWorkbookToPdf(empty, pdf), 0);
  IntlSeparators = saved;
}

// The rightmost column of `image` between x0 and x1 (exclusive) and y0..y1
// holding ink (grey below 128), or -1.
int LastInk(const QImage& image, int x0, int x1, int y0, int y1) {
  int last = -1;
  for (int y = std::max(0, y0); y < std::min(y1, image.height()); ++y) {
    for (int x = std::max(0, x0); x < std::min(x1, image.width()); ++x) {
      if (qGray(image.pixel(x, y)) < 128) last = std::max(last, x);
    }
  }
  return last;
}

// A left-aligned text longer than its cell: on the screen it runs on over
// the empty cell to its right and is cut where the next cell holds
// something; the printed page shows the same. Row 1: "Herbstanfang 2026"
// in A1 with B1 empty; row 2: the same text in A2 with a number in B2.
TEST(WorkbookPrint, CellTextRunsOnOverEmptyNeighboursAsOnTheScreen) {
  workbook::TWorkbook book(1);
  book.SetColWidth(1, 1, 6, false);
  book.SetColWidth(2, 2, 40, false);
  const std::string text = "Herbstanfang 2026 am 23.";
  book.SetText(1, 1, text);
  book.SetText(2, 1, text);
  book.SetNumber(2, 2, 5);
  book.SetText(3, 3, "x");  // the page reaches column C

  // On the screen: the ink of each row's text, column B's left part.
  TWorkbookView view(book);
  view.resize(900, 300);
  view.show();
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  const QImage screen = view.Canvas()->viewport()->grab().toImage();
  auto screenInk = [&](int row) {
    const QRect b = view.Canvas()->CellRect(row, 2);
    return LastInk(screen, b.left() + 2, b.left() + b.width() / 2, b.top() + 2, b.bottom() - 1);
  };
  EXPECT_GE(screenInk(1), 0) << "the text runs on into B1";
  EXPECT_EQ(screenInk(2), -1) << "the text stops at B2";

  // On paper, two dots to the point, without headings: A starts at the left
  // margin, row 1 at the top margin.
  double width = 0.0;
  double height = 0.0;
  workbook::PaperSize(9, width, height);
  const workbook::TPageLayout layout = workbook::LayoutPages(book, 1, width, height);
  ASSERT_EQ(layout.Pages.size(), 1u);
  constexpr double kDots = 2.0;
  QImage page(static_cast<int>(width * kDots), static_cast<int>(height * kDots), QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    PaintSheetPage(painter, book, 1, layout, 0, kDots, width, height);
  }
  const workbook::TSheetData& data = book.SheetData(1);
  const double scale = layout.Scale;
  const double left = book.PageSetup().LeftMargin * 72.0;
  const double top = book.PageSetup().TopMargin * 72.0;
  const double bLeft = left + workbook::ColumnPoints(data, 1) * scale;
  const double bWidth = workbook::ColumnPoints(data, 2) * scale;
  auto pageInk = [&](int row) {
    double y = top;
    for (int r = 1; r < row; ++r) y += workbook::RowPoints(data, r) * scale;
    const double h = workbook::RowPoints(data, row) * scale;
    return LastInk(page, static_cast<int>((bLeft + 1) * kDots), static_cast<int>((bLeft + bWidth / 2) * kDots),
                   static_cast<int>((y + 1) * kDots), static_cast<int>((y + h - 1) * kDots));
  };
  EXPECT_GE(pageInk(1), 0) << "the printed text runs on into B1 as on the screen";
  EXPECT_EQ(pageInk(2), -1) << "the printed text stops at B2 as on the screen";
  const std::filesystem::path out = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(out);
  page.copy(0, 0, page.width(), page.height() / 4).save(QString::fromStdString((out / "print_run_on.png").string()));
  screen.save(QString::fromStdString((out / "screen_run_on.png").string()));
}

}  // namespace
}  // namespace kvx
