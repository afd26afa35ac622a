#include "core/name_tables.h"
#include "core/quantity_headings.h"
#include "setup/column_sets.h"
#include "setup/column_titles.h"
#include "setup/ui/column_titles_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include "dialog_test_support.h"
#include "platform/text_encoding.h"

namespace kvx {
namespace {

using test::Child;

TEST(ColumnTitlesDialogTest, HeadingsWidthsDefaultsAndCancel) {
  InitAstroNameTables();
  TTableConfigRecord record = NewTableConfigRecord();
  record.ColumnTitles[16] = "Rekt.";
  TColumnWidths widths = DefaultColumnWidths();
  EXPECT_EQ(widths[0], 84);
  EXPECT_EQ(widths[162], 200);
  EXPECT_EQ(widths[210], 0);
  EXPECT_EQ(widths[50], 80);
  const TTableConfigRecord original = record;
  const TColumnWidths originalWidths = widths;

  // Cancel after "all defaults" changes nothing.
  test::WhenModalShown([&](QDialog& dialog) {
    Child<QPushButton>(dialog, "defaultHeadings")->click();
    Child<QPushButton>(dialog, "defaultWidths")->click();
    Child<QPushButton>(dialog, "cancel")->click();
  });
  EXPECT_EQ(ShowColumnTitlesDialog(record, widths), 2);
  EXPECT_EQ(record, original);

  test::WhenModalShown([&](QDialog& dialog) {
    auto* list = Child<QListWidget>(dialog, "list");
    EXPECT_EQ(list->count(), 220);
    EXPECT_EQ(list->currentRow(), 0);
    list->setCurrentRow(15);  // slot 16
    auto* heading = Child<QLineEdit>(dialog, "heading");
    EXPECT_EQ(heading->text(), "Rekt.");
    EXPECT_EQ(heading->styleSheet(), "color: black;");
    // Typing 120 characters keeps 101.
    heading->textEdited(QString(120, QChar(0x00E4)));  // as if pasted past the edit's limit
    EXPECT_EQ(record.ColumnTitles[16], "Rekt.");  // the caller's copy is untouched
    // Default for this heading turns it blue.
    list->setCurrentRow(16);  // slot 17
    Child<QPushButton>(dialog, "defaultHeading")->click();
    EXPECT_EQ(heading->styleSheet(), "color: blue;");
    // Dragging a column wider changes only that slot; the spin box is limited.
    auto* grid = Child<QTableWidget>(dialog, "grid");
    grid->horizontalHeader()->resizeSection(30, 123);
    auto* width = Child<QSpinBox>(dialog, "width");
    width->setValue(5000);
    EXPECT_EQ(width->value(), 2000);
    // Search: anywhere in the name, or at its beginning only.
    Child<QLineEdit>(dialog, "find")->setText("zzzz");
    EXPECT_EQ(list->currentRow(), 0);
    test::SavePicture(dialog, "column_titles");
    Child<QPushButton>(dialog, "ok")->click();
  });
  ASSERT_EQ(ShowColumnTitlesDialog(record, widths), 1);
  EXPECT_EQ(Utf8Length(record.ColumnTitles[16]), 101u);
  EXPECT_EQ(record.ColumnTitles[17], QuantityHeadingTable[17]);
  EXPECT_EQ(widths[30], 123);
  EXPECT_EQ(widths[17], 2000);
  for (std::size_t s = 0; s < widths.size(); ++s) {
    if (s != 30 && s != 17) {
      EXPECT_EQ(widths[s], originalWidths[s]) << s;
    }
  }

  const std::vector<std::string> names = {"Rektaszension", "Deklination", "Topoz. Rektaszension"};
  EXPECT_EQ(FindColumnEntry(names, "REKT", false), 0);
  EXPECT_EQ(FindColumnEntry(names, "topoz", true), 2);
  EXPECT_EQ(FindColumnEntry(names, "aszension", true), 0);
  EXPECT_EQ(FindColumnEntry(names, "klin", false), 1);
}

}  // namespace
}  // namespace kvx
