#include "setup/column_sets.h"
#include "setup/table_config_model.h"
#include "setup/ui/table_config_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

#include "core/name_tables.h"
#include "dialog_test_support.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "platform/settings_store.h"
#include "setup/column_sets.h"
#include "support/recording_file_dialog.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::Child;
namespace cf = column_flag;

class TableConfigDialogTest : public ::testing::Test {
 protected:
  TableConfigDialogTest() : messagesGuard_(messages), settingsGuard_(settings), filesGuard_(files) {
    InitAstroNameTables();
    record = NewTableConfigRecord();
  }
  RecordingMessageSink messages;
  MemorySettingsStore settings;
  test::RecordingFileDialog files;
  TTableConfigRecord record;

 private:
  ScopedMessageSink messagesGuard_;
  ScopedSettingsStore settingsGuard_;
  ScopedFileDialog filesGuard_;
};

int FilledCells(QTableWidget& grid) {
  int filled = 0;
  for (int r = 0; r < grid.rowCount(); ++r) {
    for (int c = 0; c < grid.columnCount(); ++c) filled += grid.item(r, c) != nullptr ? 1 : 0;
  }
  return filled;
}

TEST_F(TableConfigDialogTest, BoxesPreviewEquinoxAndOk) {
  settings.WriteInteger("Window", "TabcfgSheet", 3);
  ClearColumns(record.Flags);
  record.Flags[cf::kDateOnly] = 1;
  // 15 columns besides the date: 16 in all, a second preview row.
  for (std::size_t b : {9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}) record.Flags[b] = 1;
  int kind = 0;
  double centuries = 0;
  std::uint8_t jd = 0, sidereal = 1;
  test::WhenModalShown([&](QDialog& dialog) {
    EXPECT_EQ(Child<QTabWidget>(dialog, "pages")->currentIndex(), 2);
    auto* grid = Child<QTableWidget>(dialog, "preview");
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(FilledCells(*grid), 16);
    EXPECT_EQ(grid->item(1, 0)->text(), QString::fromStdString(record.ColumnTitles[21]));  // position angle
    // A click on a box edits the working copy and the preview.
    Child<QCheckBox>(dialog, "flag20")->click();
    EXPECT_EQ(FilledCells(*grid), 15);
    Child<QRadioButton>(dialog, "dateAndTime")->click();
    EXPECT_EQ(FilledCells(*grid), 16);
    // The Sun has no heliocentric columns and no mean anomaly.
    Child<QComboBox>(dialog, "previewFor")->setCurrentIndex(1);
    EXPECT_EQ(FilledCells(*grid), 11);
    test::SavePicture(dialog, "table_config_date_page");

    // A refused equinox when leaving refuses the next close once.
    auto* equinox = Child<QLineEdit>(dialog, "equinox");
    equinox->setText("10000,01");
    emit equinox->editingFinished();
    EXPECT_EQ(equinox->text(), "2000.00");
    Child<QPushButton>(dialog, "ok")->click();
    EXPECT_TRUE(dialog.isVisible());
    equinox->setText("1950.5");
    emit equinox->editingFinished();
    Child<QTabWidget>(dialog, "pages")->setCurrentIndex(0);
    test::SavePicture(dialog, "table_config_general_page");
    Child<QPushButton>(dialog, "ok")->click();
  });
  ASSERT_EQ(ShowTableConfigDialog(kind, centuries, record, jd, sidereal), 1);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(kind, 1);
  EXPECT_DOUBLE_EQ(centuries, -0.495);
  EXPECT_EQ(record.Flags[cf::kHourlyMotionRA], 0);
  EXPECT_EQ(record.Flags[cf::kDateOnly], 0);
  EXPECT_EQ(record.Flags[cf::kSummaryCoordinates], 1);  // recomputed
  EXPECT_EQ(sidereal, 1);
  EXPECT_EQ(settings.IntegerOr("Window", "TabcfgSheet", 0), 1);
}

TEST_F(TableConfigDialogTest, GroupsUndoFilesAndCancel) {
  test::TempFolder folder;
  const TTableConfigRecord original = record;
  int kind = 2;
  double centuries = 0;
  std::uint8_t jd = 0, sidereal = 0;
  const std::string path = folder.File("tafel.etd");
  test::WhenModalShown([&](QDialog& dialog) {
    Child<QTabWidget>(dialog, "pages")->setCurrentIndex(1);
    Child<QPushButton>(dialog, "selectAll")->click();
    EXPECT_TRUE(Child<QCheckBox>(dialog, "julianSwitch")->isChecked());
    Child<QPushButton>(dialog, "groupOff0")->click();
    EXPECT_TRUE(Child<QCheckBox>(dialog, "flag36")->isChecked());  // the topocentric summary is on
    EXPECT_FALSE(Child<QCheckBox>(dialog, "flag10")->isChecked());
    auto* undo = Child<QPushButton>(dialog, "undo");
    EXPECT_TRUE(undo->isEnabled());
    undo->click();
    EXPECT_TRUE(Child<QCheckBox>(dialog, "flag10")->isChecked());
    EXPECT_FALSE(undo->isEnabled());
    test::SavePicture(dialog, "table_config_groups_page");

    files.QueueAnswer(path);
    Child<QPushButton>(dialog, "save")->click();
    Child<QPushButton>(dialog, "clearAll")->click();
    // A damaged file changes nothing; the saved one brings the boxes back.
    files.QueueAnswer(folder.Write("bad.etd", std::string(100, 'x')));
    Child<QPushButton>(dialog, "load")->click();
    EXPECT_FALSE(Child<QCheckBox>(dialog, "flag10")->isChecked());
    files.QueueAnswer(path);
    Child<QPushButton>(dialog, "load")->click();
    EXPECT_TRUE(Child<QCheckBox>(dialog, "flag10")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dialog, "siderealSwitch")->isChecked());
    Child<QPushButton>(dialog, "cancel")->click();
  });
  EXPECT_EQ(ShowTableConfigDialog(kind, centuries, record, jd, sidereal), 2);
  EXPECT_EQ(record, original);
  EXPECT_EQ(kind, 2);
  EXPECT_EQ(sidereal, 0);
  ASSERT_EQ(files.requests.size(), 3u);
  EXPECT_EQ(files.requests[0].request.defaultExtension, "etd");
  EXPECT_EQ(messages.messages.size(), 1u);  // the damaged file
  TTableConfigFile saved;
  ASSERT_TRUE(LoadTableConfigFile(path, saved));
  EXPECT_EQ(saved.Record.Flags[cf::kSummaryElements], 1);
}

}  // namespace
}  // namespace kvx
