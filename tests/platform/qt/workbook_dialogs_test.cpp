#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>

#include "platform/globals.h"
#include "platform/qt/workbook_dialogs.h"
#include "support/qt/answer_modal.h"

namespace kvx {
namespace {

// Runs `fill` on the dialog once it is shown, then accepts it (or rejects).
void WhenShown(const std::function<void(QDialog&)>& fill, bool accept = true) {
  test::WhenModalShown([fill, accept](QDialog& dialog) {
    fill(dialog);
    if (accept) dialog.accept();
    else dialog.reject();
  });
}

class WorkbookDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = IntlSeparators;
    IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
    book.SetNumber(1, 1, 1234.5678);
    book.SetSelection(1, 1, 2, 2);
  }
  void TearDown() override { IntlSeparators = saved_; }
  workbook::TWorkbook book{1};
  TIntlSeparators saved_;
};

TEST_F(WorkbookDialogsTest, NumberFormatDialogSetsTheLocalPattern) {
  WhenShown([](QDialog& dialog) {
    const auto edits = dialog.findChildren<QLineEdit*>();
    ASSERT_EQ(edits.size(), 1);
    edits[0]->setText("#.##0,0");
  });
  EXPECT_TRUE(ShowNumberFormatDialog(nullptr, book));
  EXPECT_EQ(book.Text(1, 1), "1.234,6");
  WhenShown([](QDialog& dialog) { dialog.findChild<QLineEdit*>()->setText("0"); }, false);
  EXPECT_FALSE(ShowNumberFormatDialog(nullptr, book));
  EXPECT_EQ(book.Text(1, 1), "1.234,6");
}

TEST_F(WorkbookDialogsTest, BorderAndPatternDialogsFormatTheSelection) {
  WhenShown([](QDialog& dialog) {
    const auto combos = dialog.findChildren<QComboBox*>();
    ASSERT_EQ(combos.size(), 5);
    combos[0]->setCurrentIndex(2);  // outline medium
  });
  EXPECT_TRUE(ShowBorderDialog(nullptr, book));
  EXPECT_EQ(book.StyleAt(1, 1, 1).Borders.Top.Style, 2);
  EXPECT_EQ(book.StyleAt(1, 2, 2).Borders.Right.Style, 2);
  EXPECT_EQ(book.StyleAt(1, 1, 1).Borders.Right.Style, 0);
  WhenShown([](QDialog& dialog) { dialog.findChild<QComboBox*>()->setCurrentIndex(1); });
  EXPECT_TRUE(ShowPatternDialog(nullptr, book));
  EXPECT_EQ(book.StyleAt(1, 2, 1).Pattern.Pattern, 1);
}

TEST_F(WorkbookDialogsTest, NamesDialogDefinesAndDeletesNames) {
  WhenShown([](QDialog& dialog) {
    const auto edits = dialog.findChildren<QLineEdit*>();
    ASSERT_EQ(edits.size(), 2);
    EXPECT_EQ(edits[1]->text(), "Sheet1!$A$1:$B$2");  // the selection
    edits[0]->setText("Block");
    for (auto* button : dialog.findChildren<QPushButton*>()) {
      if (button->text().contains("Hinzu")) button->click();
    }
    EXPECT_EQ(dialog.findChild<QListWidget*>()->count(), 1);
  });
  ShowDefineNameDialog(nullptr, book);
  ASSERT_TRUE(book.FindName("Block").has_value());
  WhenShown([](QDialog& dialog) {
    dialog.findChildren<QLineEdit*>()[0]->setText("Block");
    for (auto* button : dialog.findChildren<QPushButton*>()) {
      if (button->text().contains("Lösch")) button->click();
    }
  });
  ShowDefineNameDialog(nullptr, book);
  EXPECT_FALSE(book.FindName("Block").has_value());
}

}  // namespace
}  // namespace kvx
