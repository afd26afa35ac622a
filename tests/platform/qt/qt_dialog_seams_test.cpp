#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>

#include "platform/qt/qt_color_chooser.h"
#include "platform/qt/qt_file_dialog.h"
#include "support/qt/answer_modal.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::WhenModalShown;

TEST(QtFileDialog, SaveAddsTheDefaultExtensionAndCancelGivesNothing) {
  test::TempFolder folder;
  QtFileDialog files(nullptr);
  FileDialogRequest request;
  request.title = "Ephemeridenformate speichern";
  request.filters = {"Ephemeridenformate (*.epf)"};
  request.start = folder.File("alt.epf");
  request.defaultExtension = "epf";

  WhenModalShown<QFileDialog>([](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Ephemeridenformate speichern");
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Ephemeridenformate (*.epf)"});
    dialog.selectFile("meine");
    QMetaObject::invokeMethod(&dialog, "accept");
  });
  EXPECT_EQ(files.ChooseSave(request), folder.File("meine.epf"));

  WhenModalShown<QFileDialog>([](QFileDialog& dialog) { QMetaObject::invokeMethod(&dialog, "reject"); });
  EXPECT_EQ(files.ChooseOpen(request), std::nullopt);
}

TEST(QtColorChooser, KeepsTheStoredByteOrder) {
  EXPECT_EQ(StoredFromColor(QColor(0x11, 0x22, 0x33)), 0x332211);
  EXPECT_EQ(ColorFromStored(0x332211), QColor(0x11, 0x22, 0x33));
  QtColorChooser chooser(nullptr);
  std::int32_t color = 0x0000FF;  // red
  WhenModalShown<QColorDialog>([](QColorDialog& dialog) {
    EXPECT_EQ(dialog.currentColor(), QColor(0xFF, 0, 0));
    dialog.setCurrentColor(QColor(1, 2, 3));
    dialog.accept();
  });
  EXPECT_TRUE(chooser.Choose(color));
  EXPECT_EQ(color, 0x030201);
  WhenModalShown<QColorDialog>([](QColorDialog& dialog) { dialog.reject(); });
  EXPECT_FALSE(chooser.Choose(color));
  EXPECT_EQ(color, 0x030201);
}

}  // namespace
}  // namespace kvx
