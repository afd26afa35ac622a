#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QTimer>
#include <functional>

#include "platform/qt/qt_color_chooser.h"
#include "platform/qt/qt_file_dialog.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

template <typename Dialog>
void WhenShown(const std::function<void(Dialog&)>& act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

TEST(QtFileDialog, SaveAddsTheDefaultExtensionAndCancelGivesNothing) {
  test::TempFolder folder;
  QtFileDialog files(nullptr);
  FileDialogRequest request;
  request.title = "Ephemeridenformate speichern";
  request.filters = {"Ephemeridenformate (*.epf)"};
  request.start = folder.File("alt.epf");
  request.defaultExtension = "epf";

  WhenShown<QFileDialog>([](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Ephemeridenformate speichern");
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Ephemeridenformate (*.epf)"});
    dialog.selectFile("meine");
    QMetaObject::invokeMethod(&dialog, "accept");
  });
  EXPECT_EQ(files.ChooseSave(request), folder.File("meine.epf"));

  WhenShown<QFileDialog>([](QFileDialog& dialog) { QMetaObject::invokeMethod(&dialog, "reject"); });
  EXPECT_EQ(files.ChooseOpen(request), std::nullopt);
}

TEST(QtColorChooser, KeepsTheStoredByteOrder) {
  EXPECT_EQ(StoredFromColor(QColor(0x11, 0x22, 0x33)), 0x332211);
  EXPECT_EQ(ColorFromStored(0x332211), QColor(0x11, 0x22, 0x33));
  QtColorChooser chooser(nullptr);
  std::int32_t color = 0x0000FF;  // red
  WhenShown<QColorDialog>([](QColorDialog& dialog) {
    EXPECT_EQ(dialog.currentColor(), QColor(0xFF, 0, 0));
    dialog.setCurrentColor(QColor(1, 2, 3));
    dialog.accept();
  });
  EXPECT_TRUE(chooser.Choose(color));
  EXPECT_EQ(color, 0x030201);
  WhenShown<QColorDialog>([](QColorDialog& dialog) { dialog.reject(); });
  EXPECT_FALSE(chooser.Choose(color));
  EXPECT_EQ(color, 0x030201);
}

}  // namespace
}  // namespace kvx
