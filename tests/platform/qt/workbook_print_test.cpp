#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/globals.h"
#include "platform/number_text.h"
#include "platform/qt/workbook_dialogs.h"
#include "platform/qt/workbook_view.h"
#include "platform/workbook/page_layout.h"
#include "support/shell_word.h"
#include "support/temp_folder.h"

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
    book.SetText(r, 2, "Zeile " + WholeNumberText(r));
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

  // A folder of this run's own: the German and French runs of the program
  // print at the same time.
  const test::TempFolder folder;
  const std::filesystem::path out = folder.Path();
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
    auto pageFile = [&](int page) { return QString::fromStdString(prefix + "-" + WholeNumberText(page) + ".png"); };
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

// The first and last column of `area` in `image` holding ink (grey below
// 128); -1, -1 when there is none.
std::pair<int, int> Ink(const QImage& image, const QRect& area) {
  std::pair<int, int> range{-1, -1};
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      if (qGray(image.pixel(x, y)) >= 128) continue;
      if (range.first < 0 || x < range.first) range.first = x;
      range.second = std::max(range.second, x);
    }
  }
  return range;
}

double Middle(std::pair<int, int> range) { return (range.first + range.second) / 2.0; }

// The lines of text in `area`: the bands of rows holding ink, top and
// bottom.
std::vector<std::pair<int, int>> InkLines(const QImage& image, const QRect& area) {
  std::vector<std::pair<int, int>> lines;
  bool inLine = false;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const bool ink = Ink(image, QRect(area.left(), y, area.width(), 1)).first >= 0;
    if (ink && !inLine) lines.emplace_back(y, y);
    if (ink) lines.back().second = y;
    inLine = ink;
  }
  return lines;
}

// A picture of the sheet's cells: the screen or a printed page, with the
// rectangle of a cell in its pixels.
struct TSurface {
  std::string Name;
  QImage Image;
  std::function<QRect(int row, int col)> Cell;
};

// The texts of the sheet as the screen shows them and the printed page has
// them, laid out by one rule: a left-aligned text longer than its cell runs
// on over the empty cell to its right and is cut where the next cell holds
// something (A1, A2 with a number in B2); centred across the selection (code
// 7) spans the empty cells to its right that carry the code (C1:E1), up to a
// cell holding something (C2:D2) or one without the code (C3); fill (5)
// repeats the text from edge to edge (C4); right (4) and centre (3) stay in
// their cell (C5, C8); justify (6) wraps the text and spreads its lines to
// both edges (C6). On the screen the text centred across C1:E1 also shows
// when C is scrolled out of sight. A text centred across E10:G10, whose
// columns F and G hold nothing else, is printed across all three. A long
// justified and wrapped text given its optimal height (C12) shows all its
// lines, the same on both, a line of one word not spread. A long
// right-aligned text (E14) runs back over the empty cells to its left.
TEST(WorkbookPrint, CellTextsAreLaidOutAlikeOnTheScreenAndOnPaper) {
  workbook::TWorkbook book(1);
  book.SetColWidth(1, 1, 6, false);
  book.SetColWidth(2, 2, 16, false);
  book.SetColWidth(3, 5, 12, false);
  const std::string text = "Herbstanfang 2026 am 23.";
  book.SetText(1, 1, text);
  book.SetText(2, 1, text);
  book.SetNumber(2, 2, 5);
  auto align = [&book](int row, int col1, int col2, int code) {
    book.SetSelection(row, col1, row, col2);
    workbook::TAlignment alignment;
    alignment.Horizontal = code;
    book.SetAlignment(alignment);
  };
  for (int row : {1, 2, 3}) book.SetText(row, 3, "Mitte");
  align(1, 3, 5, 7);
  align(2, 3, 5, 7);
  book.SetText(2, 5, "x");
  align(3, 3, 3, 7);
  book.SetText(4, 3, "ab");
  align(4, 3, 3, 5);
  book.SetText(5, 3, "rechts");
  align(5, 3, 3, 4);
  book.SetText(6, 3, "Mond und Sonnenuntergangszeiten");  // two lines: "Mond und", then the long word
  align(6, 3, 3, 6);
  book.SetRowHeight(6, 6, 64, false);
  book.SetText(8, 3, "Mitte");
  align(8, 3, 3, 3);
  book.SetText(10, 5, "Mitte");
  align(10, 5, 7, 7);
  book.SetText(14, 5, "Nach links laufender rechtsbündiger Text");
  align(14, 5, 5, 4);
  book.SetActiveCell(20, 8);  // its frame away from the texts

  TWorkbookView view(book);
  view.resize(900, 600);
  view.show();
  // The justified text, with the view's fonts: its optimal height and lines.
  book.SetText(12, 3, "Die Zeiten der Monde und der Sonne werden aus den Reihen berechnet Worte fallen hin");
  book.SetSelection(12, 3, 12, 3);
  book.SetAlignment(workbook::TAlignment{6, true, 3, 0});
  book.SetRowHeightAuto(12, 3, 12, 3);
  const std::vector<std::string> wrapped = book.WrappedLines(1, 12, 3, book.TextOn(1, 12, 3));
  const auto single = std::find_if(wrapped.begin(), wrapped.end() - 1,
                                   [](const std::string& line) { return line.find(' ') == std::string::npos; });
  ASSERT_GE(wrapped.size(), 6u);
  ASSERT_NE(single, wrapped.end() - 1) << "a line of one word before the last";
  book.SetActiveCell(20, 8);
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  TSurface screen{"screen", view.Canvas()->viewport()->grab().toImage(),
                  [&view](int row, int col) { return view.Canvas()->CellRect(row, col); }};

  // On paper, two dots to the point, without headings: A starts at the left
  // margin, row 1 at the top margin.
  double width = 0.0;
  double height = 0.0;
  workbook::PaperSize(9, width, height);
  const workbook::TPageLayout layout = workbook::LayoutPages(book, 1, width, height);
  ASSERT_EQ(layout.Pages.size(), 1u);
  EXPECT_EQ(layout.Area.Col2, 7) << "the columns F and G of the text centred across E10:G10";
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
  TSurface paper{"paper", page, [&](int row, int col) {
                   double x = left;
                   for (int c = 1; c < col; ++c) x += workbook::ColumnPoints(data, c, layout.CharacterPoints) * scale;
                   double y = top;
                   for (int r = 1; r < row; ++r) y += workbook::RowPoints(data, r) * scale;
                   const double w = workbook::ColumnPoints(data, col, layout.CharacterPoints) * scale;
                   const double h = workbook::RowPoints(data, row) * scale;
                   return QRect(QPoint(static_cast<int>(std::ceil(x * kDots)), static_cast<int>(std::ceil(y * kDots))),
                                QPoint(static_cast<int>((x + w) * kDots) - 1, static_cast<int>((y + h) * kDots) - 1));
                 }};

  const std::filesystem::path out = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(out);
  page.copy(0, 0, page.width(), page.height() / 2)
      .save(QString::fromStdString((out / "print_alignments.png").string()));
  screen.Image.save(QString::fromStdString((out / "screen_alignments.png").string()));
  for (const TSurface& s : {screen, paper}) {
    SCOPED_TRACE(s.Name);
    // The ink between the cells (row, col1) and (row, col2), a pixel inside.
    auto ink = [&s](int row, int col1, int col2) {
      return Ink(s.Image, s.Cell(row, col1).united(s.Cell(row, col2)).adjusted(1, 1, -1, -1));
    };
    const QRect b1 = s.Cell(1, 2);
    const QRect b2 = s.Cell(2, 2);
    EXPECT_GE(Ink(s.Image, QRect(b1.left() + 2, b1.top() + 2, b1.width() / 2, b1.height() - 3)).first, 0)
        << "the text runs on into B1";
    EXPECT_EQ(Ink(s.Image, QRect(b2.left() + 2, b2.top() + 2, b2.width() / 2, b2.height() - 3)).first, -1)
        << "the text stops at B2";

    const double tolerance = s.Cell(1, 3).width() * 0.06;
    EXPECT_NEAR(Middle(ink(1, 3, 5)), s.Cell(1, 3).united(s.Cell(1, 5)).center().x(), tolerance)
        << "centred across C1:E1";
    EXPECT_NEAR(Middle(ink(2, 3, 4)), s.Cell(2, 3).united(s.Cell(2, 4)).center().x(), tolerance)
        << "centred across C2:D2, up to the text in E2";
    EXPECT_NEAR(Middle(ink(2, 5, 5)), s.Cell(2, 5).center().x(), tolerance) << "E2 centred across itself";
    EXPECT_NEAR(Middle(ink(3, 3, 5)), s.Cell(3, 3).center().x(), tolerance) << "D3 has not the code: C3 alone";
    const QRect c4 = s.Cell(4, 3);
    const auto filled = ink(4, 3, 5);
    EXPECT_LT(filled.first - c4.left(), 2 * tolerance) << "fill starts at the left edge";
    EXPECT_GT(filled.second, c4.right() - 3 * tolerance) << "and repeats the text to the right edge";
    EXPECT_LE(filled.second, c4.right()) << "and not beyond";
    EXPECT_GT(ink(5, 3, 5).second, s.Cell(5, 3).right() - 2 * tolerance) << "right-aligned";
    EXPECT_LE(ink(5, 3, 5).second, s.Cell(5, 3).right());
    EXPECT_NEAR(Middle(ink(8, 3, 5)), s.Cell(8, 3).center().x(), tolerance) << "centred in C8";
    const QRect c6 = s.Cell(6, 3).adjusted(1, 1, -1, -1);
    const auto lines = InkLines(s.Image, c6);
    EXPECT_EQ(lines.size(), 2u) << "justified: the text wraps";
    const int lineHeight = lines.empty() ? 0 : lines[0].second - lines[0].first + 1;
    const auto firstLine = Ink(s.Image, QRect(c6.left(), lines.empty() ? 0 : lines[0].first, c6.width(), lineHeight));
    EXPECT_LT(firstLine.first - c6.left(), 2 * tolerance) << "justified: the first line from the left edge";
    EXPECT_GT(firstLine.second, c6.right() - tolerance) << "to the right edge";

    EXPECT_NEAR(Middle(ink(10, 5, 7)), s.Cell(10, 5).united(s.Cell(10, 7)).center().x(), tolerance)
        << "centred across E10:G10";
    const auto rightAligned = ink(14, 3, 5);
    EXPECT_LT(rightAligned.first, s.Cell(14, 4).center().x()) << "right-aligned: runs on to the left over D14";
    EXPECT_GT(rightAligned.second, s.Cell(14, 5).right() - 2 * tolerance) << "from the right edge of E14";
    const QRect c12 = s.Cell(12, 3).adjusted(1, 1, -1, -1);
    const auto justified = InkLines(s.Image, c12);
    ASSERT_EQ(justified.size(), wrapped.size()) << "every line of the justified text";
    EXPECT_GT(justified.front().first, c12.top()) << "the first line whole";
    EXPECT_LT(justified.back().second, c12.bottom()) << "the last line whole";
    for (std::size_t i = 0; i + 1 < wrapped.size(); ++i) {
      const auto [top, bottom] = justified[i];
      const auto line = Ink(s.Image, QRect(c12.left(), top, c12.width(), bottom - top + 1));
      if (wrapped[i].find(' ') == std::string::npos) {
        EXPECT_LT(line.second - line.first, c12.width() * 3 / 4) << "one word, not spread: " << wrapped[i];
      } else {
        EXPECT_GT(line.second, c12.right() - tolerance) << "spread to the right edge: " << wrapped[i];
      }
    }
  }

  // C scrolled out of sight: the text centred across C1:E1 stays where it
  // was, in the middle of D1.
  book.SetTopLeft(1, 4);
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  const QImage scrolled = view.Canvas()->viewport()->grab().toImage();
  const QRect d1 = view.Canvas()->CellRect(1, 4);
  EXPECT_NEAR(Middle(Ink(scrolled, d1.united(view.Canvas()->CellRect(1, 5)).adjusted(1, 1, -1, -1))), d1.center().x(),
              d1.width() * 0.06);
  scrolled.save(QString::fromStdString((out / "screen_alignments_scrolled.png").string()));
}

// The words pdftotext finds on the pages of a PDF, with their boxes in
// points (top-left origin) and their page (from 1).
struct TPdfWord {
  int Page = 0;
  std::string Text;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

std::vector<TPdfWord> PdfWords(const std::string& pdf, const std::string& html) {
  std::vector<TPdfWord> words;
  if (std::system(("pdftotext -bbox " + test::ShellWord(pdf) + " " + test::ShellWord(html)).c_str()) != 0) return words;
  std::ifstream in(html);
  std::string line;
  int page = 0;
  auto number = [&line](const std::string& key) {
    const std::size_t at = line.find(key + "=\"");
    double value = -1.0;
    if (at != std::string::npos) {
      const char* first = line.data() + at + key.size() + 2;
      std::from_chars(first, line.data() + line.size(), value);
    }
    return value;
  };
  while (std::getline(in, line)) {
    if (line.find("<page ") != std::string::npos) ++page;
    const std::size_t open = line.find("<word ");
    if (open == std::string::npos) continue;
    const std::size_t start = line.find('>', open) + 1;
    const std::size_t end = line.find("</word>", start);
    words.push_back({page, line.substr(start, end - start), number("xMin"), number("yMin"), number("xMax"),
                     number("yMax")});
  }
  return words;
}

// Texts that reach beyond their cells, printed at 70, 100 and 140 %: a
// general text in C, the last column holding values (C2), and a
// left-aligned one (C4) run on over the empty columns, which the print
// area takes in; a column page break after B, which a text in A8 runs on
// across and a right-aligned text in C9 runs back across to the left. Every
// word of them is printed whole, on one page or cut by the break and
// continued on the next. A justified (B11) and a wrapped text (B12) keep
// the lines of the screen with a space between every two words, each word
// inside its cell.
TEST(WorkbookPrint, TextsBeyondTheirCellsArePrintedWholeAtEveryScale) {
  if (std::system("pdftotext -v > /dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  workbook::TWorkbook book(1);
  for (int r = 1; r <= 7; ++r) {
    book.SetNumber(r, 1, r);
    book.SetNumber(r, 3, r * 0.5);
  }
  book.SetColWidth(2, 2, 20, false);
  const std::vector<std::pair<std::pair<int, int>, std::string>> texts = {
      {{2, 3}, "Ein langer Text läuft über die leeren Zellen hinaus"},
      {{4, 3}, "Noch ein langer linksbündiger Text am Rand"},
      {{8, 1}, "Dieser Text reicht über B und den Seitenumbruch hinweg weiter"},
      {{9, 3}, "Nach links laufend bis A"},
  };
  for (const auto& [cell, text] : texts) book.SetText(cell.first, cell.second, text);
  auto align = [&book](int row, int col, workbook::TAlignment alignment) {
    book.SetSelection(row, col, row, col);
    book.SetAlignment(alignment);
  };
  align(4, 3, workbook::TAlignment{2, false, 3, 0});
  align(9, 3, workbook::TAlignment{4, false, 3, 0});
  const std::string justified =
      "Im Blocksatz werden die Worte einer Zeile verbunden und untereinander bis an beide Ränder gezogen";
  const std::string wrapped = "Umbrochen steht der Text in Zeilen untereinander und jede Zeile bleibt in der Zelle";
  TWorkbookView view(book);  // the screen's fonts measure the lines
  book.SetText(11, 2, justified);
  book.SetText(12, 2, wrapped);
  align(11, 2, workbook::TAlignment{6, true, 3, 0});
  align(12, 2, workbook::TAlignment{2, true, 3, 0});
  book.SetRowHeightAuto(11, 2, 12, 2);
  book.AddColPageBreak(2);

  const test::TempFolder folder;
  const std::filesystem::path out = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(out);
  const workbook::TSheetData& data = book.SheetData(1);
  for (const int percent : {70, 100, 140}) {
    SCOPED_TRACE(percent);
    book.SetPrintScale(percent, false, 1, 1);
    const std::string pdf = (folder.Path() / ("run_on_" + WholeNumberText(percent) + ".pdf")).string();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const workbook::TPageLayout layout = PrintLayout(book, 1, printer);
    ASSERT_EQ(layout.Pages.size(), 2u);
    EXPECT_GE(layout.Area.Col2, 6) << "the empty columns the texts of C2 and C4 run on over";
    ASSERT_EQ(PrintWorkbookToPdf(book, QString::fromStdString(pdf)), 2);
    const std::vector<TPdfWord> words = PdfWords(pdf, pdf + ".html");
    ASSERT_FALSE(words.empty());
    // Sheet positions, in points at the print scale, from the left edge of
    // A and the top of row 1; a page shows [Left, Right) of them.
    const double scale = layout.Scale;
    auto x = [&](int col) {
      double at = 0.0;
      for (int c = 1; c < col; ++c) at += workbook::ColumnPoints(data, c, layout.CharacterPoints) * scale;
      return at;
    };
    auto y = [&](int row) {
      double at = 0.0;
      for (int r = 1; r < row; ++r) at += workbook::RowPoints(data, r) * scale;
      return at;
    };
    const double margin = book.PageSetup().LeftMargin * 72.0;
    const double top = book.PageSetup().TopMargin * 72.0;
    // The words of `row` as they stand on the pages, each with the part of
    // it that its page shows, in sheet positions (pdftotext also finds the
    // words a page draws beyond its edges, where they are cut off).
    auto printed = [&](int row) {
      std::vector<std::pair<TPdfWord, std::pair<double, double>>> shown;
      for (const TPdfWord& word : words) {
        const auto& page = layout.Pages[static_cast<std::size_t>(word.Page - 1)];
        const double middle = (word.Y1 + word.Y2) / 2 - top + y(page.Row1);
        if (middle < y(row) || middle > y(row + 1)) continue;
        const double offset = x(page.Col1) - margin;
        const double from = std::max(word.X1 + offset, x(page.Col1));
        const double to = std::min(word.X2 + offset, x(page.Col2 + 1));
        if (from < to) shown.push_back({word, {from, to}});
      }
      return shown;
    };
    for (const auto& [cell, text] : texts) {
      SCOPED_TRACE(text);
      const auto shown = printed(cell.first);
      std::size_t at = 0;
      while (at < text.size()) {
        const std::size_t blank = std::min(text.find(' ', at), text.size());
        const std::string expected = text.substr(at, blank - at);
        at = blank + 1;
        // The word's parts on every page, in sheet positions, cover it.
        double x1 = 1e9, x2 = -1e9, covered = 0.0;
        for (const auto& [word, part] : shown) {
          if (word.Text != expected) continue;
          x1 = std::min(x1, word.X1 + x(layout.Pages[word.Page - 1].Col1) - margin);
          x2 = std::max(x2, word.X2 + x(layout.Pages[word.Page - 1].Col1) - margin);
          covered += part.second - part.first;
        }
        EXPECT_GT(covered, 0.0) << "\"" << expected << "\" on no page";
        EXPECT_NEAR(covered, x2 - x1, 0.5) << "\"" << expected << "\" cut";
      }
    }
    for (const auto& [row, text] : {std::pair{11, justified}, std::pair{12, wrapped}}) {
      SCOPED_TRACE(text);
      const auto shown = printed(row);
      std::vector<std::string> found;
      std::vector<double> lines;
      for (const auto& [word, part] : shown) {
        found.push_back(word.Text);
        EXPECT_GE(part.first, x(2) - 0.5) << word.Text;
        EXPECT_LE(part.second, x(3) + 0.5) << word.Text << " reaches out of its cell";
        EXPECT_NEAR(part.second - part.first, word.X2 - word.X1, 0.5) << word.Text << " cut";
        if (lines.empty() || std::abs(lines.back() - word.Y1) > 1.0) lines.push_back(word.Y1);
      }
      std::vector<std::string> expected;
      for (std::size_t at = 0; at < text.size();) {
        const std::size_t blank = std::min(text.find(' ', at), text.size());
        expected.push_back(text.substr(at, blank - at));
        at = blank + 1;
      }
      EXPECT_EQ(found, expected) << "each word apart, in order";
      EXPECT_EQ(lines.size(), book.WrappedLines(1, row, 2, text).size()) << "the lines of the screen";
    }
    if (std::system("pdftoppm -v > /dev/null 2>&1") == 0) {
      const std::string prefix = (out / ("print_run_on_" + WholeNumberText(percent))).string();
      EXPECT_EQ(std::system(("pdftoppm -r 60 -png " + test::ShellWord(pdf) + " " + test::ShellWord(prefix)).c_str()), 0);
    }
  }
}

}  // namespace
}  // namespace kvx
