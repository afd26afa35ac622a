// The worksheet options dialog: filled, confirmed and cancelled, with a
// picture in the test-output folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QSpinBox>
#include <filesystem>
#include <functional>

#include "app/ui/worksheet_options_dialog.h"
#include "support/qt/answer_modal.h"

namespace kvx {
namespace {

TEST(WorksheetOptionsDialog, ConfirmAndCancel) {
  TWorksheetOptions options{16, 7, 250};  // out-of-range values shown within range
  test::WhenModalAppears<TTabellenOptionen>([](TTabellenOptionen& d) {
    EXPECT_EQ(d.ComboBox1->currentIndex(), 0);
    EXPECT_EQ(d.spineditlastfiles->value(), 100);
    d.SpinEdit1->setValue(3);
    d.ComboBox1->setCurrentIndex(3);
    d.spineditlastfiles->setValue(0);
    const std::filesystem::path folder = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
    std::filesystem::create_directories(folder);
    d.grab().save(QString::fromStdString((folder / "worksheet_options_dialog.png").string()));
    d.accept();
  });
  ASSERT_TRUE(ShowWorksheetOptionsDialog(nullptr, options));
  EXPECT_EQ(options.DefaultSheetNumber, 3);
  EXPECT_EQ(options.SeparatorIndex, 3);
  EXPECT_EQ(options.RecentFilesCount, 0);

  test::WhenModalAppears<TTabellenOptionen>([](TTabellenOptionen& d) {
    d.SpinEdit1->setValue(200);
    d.reject();
  });
  EXPECT_FALSE(ShowWorksheetOptionsDialog(nullptr, options));
  EXPECT_EQ(options.DefaultSheetNumber, 3);
}

}  // namespace
}  // namespace kvx
