#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QStatusBar>

#include "support/qt_application.h"

namespace kvx {
namespace {

TEST(MainWindow, StartsOffscreenWithItsCaptionAndQuits) {
  QApplication& application = test::TestApplication();
  TMainForm form;
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(form.windowTitle().toStdString(), "Kandrevoltinex 4.6");
  EXPECT_NE(form.menuBar(), nullptr);
  EXPECT_NE(form.statusBar(), nullptr);
  form.close();
  QApplication::processEvents();
  (void)application;
}

}  // namespace
}  // namespace kvx
