// The range dialog: with ten names "From" snaps back to "To", the last entry
// can start a range, the search moves the range, a one-name list is usable,
// cancel leaves the caller's range, the help is the caller's section
// (offscreen, picture in test-output).
#include "app/ui/range_dialog.h"

#include <gtest/gtest.h>

#include <array>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <filesystem>
#include <functional>

#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "support/qt/answer_modal.h"

namespace kvx {
namespace {

std::vector<int> Selected(QListWidget* list) {
  std::vector<int> rows;
  for (int i = 0; i < list->count(); ++i) {
    if (list->item(i)->isSelected()) rows.push_back(i);
  }
  return rows;
}

TEST(RangeDialog, TenNamesOneNameSearchAndCancel) {
  LanguageEnglish = 1;
  std::vector<std::string> names;
  for (int k = 1; k <= 10; ++k) names.push_back("Object " + std::to_string(k));
  names[6] = "Vesta";
  std::int32_t first = 2;
  std::int32_t last = 4;
  test::WhenModalShown<TSlectNDlg>([](TSlectNDlg& d) {
    EXPECT_EQ(HelpContextAnchor(d), "menu-events");  // the section of the search that asks
    EXPECT_EQ(d.FromBox()->value(), 3);
    EXPECT_EQ(d.ToBox()->value(), 5);
    EXPECT_EQ(Selected(d.List()), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(d.ToBox()->maximum(), 10);
    d.FromBox()->setValue(8);  // above "To": back to 5
    EXPECT_EQ(d.FromBox()->value(), 5);
    d.ToBox()->setValue(10);
    d.FromBox()->setValue(10);  // the last entry alone
    EXPECT_EQ(Selected(d.List()), (std::vector<int>{9}));
    d.ImmediateCheck()->setChecked(true);
    d.SearchEdit()->setText("vest");
    EXPECT_EQ(d.FromBox()->value(), 7);
    EXPECT_EQ(d.ToBox()->value(), 7);
    const std::filesystem::path folder = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
    std::filesystem::create_directories(folder);
    d.grab().save(QString::fromStdString((folder / "range_dialog.png").string()));
    d.accept();
  });
  ASSERT_TRUE(SelectFileRecordRange(first, last, names, "menu-events"));
  EXPECT_EQ(first, 6);
  EXPECT_EQ(last, 6);

  test::WhenModalShown<TSlectNDlg>([](TSlectNDlg& d) { d.reject(); });
  EXPECT_FALSE(SelectFileRecordRange(first, last, names, "menu-events"));
  EXPECT_EQ(first, 6);

  std::int32_t f = 0;
  std::int32_t l = -1;  // no range chosen yet
  test::WhenModalShown<TSlectNDlg>([](TSlectNDlg& d) { d.accept(); });
  ASSERT_TRUE(SelectFileRecordRange(f, l, {"Ceres"}, "menu-events"));
  EXPECT_EQ(f, 0);
  EXPECT_EQ(l, 0);
  EXPECT_FALSE(SelectFileRecordRange(f, l, {}, "menu-events"));

  // A stored pair opens on the entries it stands for: a stale last stops at
  // the end of a shorter list, no range is the whole list.
  for (const std::array<int, 4>& c : {std::array<int, 4>{7, 40, 8, 10}, std::array<int, 4>{0, -1, 1, 10}}) {
    f = c[0];
    l = c[1];
    const int shownFrom = c[2], shownTo = c[3];
    test::WhenModalShown<TSlectNDlg>([shownFrom, shownTo](TSlectNDlg& d) {
      EXPECT_EQ(d.FromBox()->value(), shownFrom);
      EXPECT_EQ(d.ToBox()->value(), shownTo);
      d.accept();
    });
    ASSERT_TRUE(SelectFileRecordRange(f, l, names, "menu-events"));
    EXPECT_EQ(l, shownTo - 1);
  }
}

}  // namespace
}  // namespace kvx
