#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QStatusBar>
#include <cstdlib>
#include <filesystem>

#include "support/qt_application.h"
#include "theories/tle.h"

namespace kvx {
namespace {

TEST(MainWindow, StartsOffscreenWithItsCaptionAndQuits) {
  // An empty data folder: no position files, no satellite file.
  std::filesystem::path data = std::filesystem::temp_directory_path() / "kvx-main-window-test";
  std::filesystem::create_directories(data);
  setenv("XDG_DATA_HOME", data.c_str(), 1);

  test::TestApplication();
  TMainForm form;
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(form.windowTitle().toStdString(), "Kandrevoltinex 4.6");
  EXPECT_NE(form.menuBar(), nullptr);
  EXPECT_NE(form.statusBar(), nullptr);
  EXPECT_EQ(form.centralWidget(), form.WorkbookView()) << "the workbook fills the window";

  // The theory libraries are built beside the program and answer their probes.
  EXPECT_EQ(form.TheoryState().Libraries.Vsop87D, 1);
  EXPECT_EQ(form.TheoryState().Libraries.Elp2000, 1);
  // Without position files a request for them falls back to the internal series.
  TTheorySelection files;
  files.bytes[0] = kPlanetTheoryPositionFiles;
  form.SetTheorySelection(files);
  EXPECT_EQ(form.Selection().PlanetTheory(), kPlanetTheoryInternal);
  EXPECT_NE(form.MoonCache().Cache, nullptr);
  // Without a satellite file the built-in set fills slot 1.
  EXPECT_EQ(form.SatelliteFile().count, 1);
  EXPECT_EQ(SatelliteNames[1], "Mir");

  form.close();
  QApplication::processEvents();
  std::filesystem::remove_all(data);
}

}  // namespace
}  // namespace kvx
