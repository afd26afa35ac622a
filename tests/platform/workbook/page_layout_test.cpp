#include "platform/workbook/page_layout.h"

#include <gtest/gtest.h>

namespace kvx::workbook {
namespace {

class PageLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int r = 1; r <= 100; ++r) {
      for (int c = 1; c <= 20; ++c) book.SetNumber(r, c, r * c);
    }
    PaperSize(9, width, height);
  }
  TWorkbook book{1};
  double width = 0.0;
  double height = 0.0;
};

TEST_F(PageLayoutTest, PagesGoDownThenAcrossUnlessLeftToRight) {
  // A4 with 0.75 in side margins: 487 pt hold 10 columns of 48 pt; 698 pt
  // between 1 in margins hold 54 rows of 12.75 pt.
  TPageLayout layout = LayoutPages(book, 1, width, height);
  ASSERT_EQ(layout.Pages.size(), 4u);
  EXPECT_EQ(layout.Pages[0], (TRange{1, 1, 54, 10}));
  EXPECT_EQ(layout.Pages[1], (TRange{55, 1, 100, 10}));
  EXPECT_EQ(layout.Pages[2], (TRange{1, 11, 54, 20}));
  book.PageSetup().LeftToRight = true;
  layout = LayoutPages(book, 1, width, height);
  EXPECT_EQ(layout.Pages[1], (TRange{1, 11, 54, 20}));
  // Landscape paper: wider pages, fewer rows.
  layout = LayoutPages(book, 1, height, width);
  EXPECT_EQ(layout.Pages[0], (TRange{1, 1, 35, 15}));
}

TEST_F(PageLayoutTest, BreaksAreaHiddenLinesAndScale) {
  book.AddRowPageBreak(20);
  book.AddColPageBreak(3);
  TPageLayout layout = LayoutPages(book, 1, width, height);
  ASSERT_GE(layout.Pages.size(), 3u);
  EXPECT_EQ(layout.Pages[0], (TRange{1, 1, 20, 3}));
  EXPECT_EQ(layout.Pages[1], (TRange{21, 1, 74, 3}));
  EXPECT_EQ(layout.Pages[2], (TRange{75, 1, 100, 3}));
  // Hidden rows take no room.
  book.RemoveRowPageBreak(20);
  book.RemoveColPageBreak(3);
  book.SetRowHidden(1, 10, true);
  layout = LayoutPages(book, 1, width, height);
  EXPECT_EQ(layout.Pages[0], (TRange{1, 1, 64, 10}));
  book.SetRowHidden(1, 10, false);
  // Fit to one page: the scale shrinks until it all fits.
  book.SetPrintScale(100, true, 1, 1);
  layout = LayoutPages(book, 1, width, height);
  ASSERT_EQ(layout.Pages.size(), 1u);
  EXPECT_LT(layout.Scale, 0.55);
  EXPECT_GT(layout.Scale, 0.45);
  // 200 percent: twice as many pages each way.
  book.SetPrintScale(200, false, 1, 1);
  layout = LayoutPages(book, 1, width, height);
  EXPECT_EQ(layout.Pages[0], (TRange{1, 1, 27, 5}));
  // The print area limits what is printed.
  book.SetPrintScale(100, false, 1, 1);
  book.SetSelection(5, 2, 8, 4);
  book.SetPrintAreaFromSelection();
  layout = LayoutPages(book, 1, width, height);
  ASSERT_EQ(layout.Pages.size(), 1u);
  EXPECT_EQ(layout.Pages[0], (TRange{5, 2, 8, 4}));
  // Nothing to print on an empty sheet.
  TWorkbook empty(1);
  EXPECT_TRUE(LayoutPages(empty, 1, width, height).Pages.empty());
}

}  // namespace
}  // namespace kvx::workbook
