// The satellite selection and visibility dialogs offscreen: loading an
// element file through the file-dialog seam, the name search, OK with and
// without a list, a file of more than 500 sets, and a visibility search
// with its result lines and 10-s steps. PNGs of both dialogs go to
// test-output.
#include "tables/ui/satellite_dialogs.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <filesystem>
#include <fstream>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "theories/tle.h"
#include "support/qt/save_png.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

const std::string kSets =
    (std::filesystem::path(KVX_FIXTURE_DIR).parent_path().parent_path() / "fixtures" / "satellites.tle").string();

using test::SavePng;

class SatelliteDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    LanguageEnglish = 0;
  }
  void TearDown() override { SetSatelliteDialogDriver({}); }
  RecordingMessageSink messages_;
  test::RecordingFileDialog files_;
};

TEST_F(SatelliteDialogs, SelectionLoadsSearchesAndKeepsTheCurrentSatelliteWithoutAList) {
  ScopedMessageSink sink(messages_);
  ScopedFileDialog dialogs(files_);
  LoadTleFile("/nonexistent.tle", false);  // no sets
  CurrentSatelliteNumber = 1;

  // OK with an empty list keeps the current satellite; Cancel returns false.
  SetSatelliteDialogDriver([](QDialog& d) {
    auto& form = static_cast<TSatellitenwahlform&>(d);
    EXPECT_FALSE(form.SearchEdit()->isEnabled());
    EXPECT_EQ(form.WindowSpin()->maximum(), 36500);
    form.WindowSpin()->setValue(30);
    form.TwilightBox()->setCurrentIndex(2);
    form.OkClick();
    return d.result();
  });
  std::int32_t count = 0, window = 1000;
  std::string file = "Satelite.tle";
  std::uint8_t twilight = 0;
  CurrentSatelliteNumber = 7;
  EXPECT_TRUE(ShowSatelliteSelectionDialog(count, window, file, twilight));
  EXPECT_EQ(CurrentSatelliteNumber, 7);
  EXPECT_EQ(window, 30);
  EXPECT_EQ(twilight, 2);
  SetSatelliteDialogDriver([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
  EXPECT_FALSE(ShowSatelliteSelectionDialog(count, window, file, twilight));

  // A file loaded, then Cancel: the sets, the count and the name in use
  // before stay.
  files_.QueueAnswer(kSets);
  SetSatelliteDialogDriver([](QDialog& d) {
    auto& form = static_cast<TSatellitenwahlform&>(d);
    form.OpenFileClick();
    EXPECT_EQ(form.List()->count(), 2);
    EXPECT_TRUE(form.SearchEdit()->isEnabled());
    form.SearchEdit()->setText("zarya");
    EXPECT_EQ(form.List()->currentRow(), 1);
    form.SearchEdit()->setText("Voyager");
    EXPECT_EQ(form.SearchStatus()->text(), "Nicht gefunden");
    form.resize(460, 520);
    SavePng(form, "satellite_selection_dialog");
    return static_cast<int>(QDialog::Rejected);
  });
  EXPECT_FALSE(ShowSatelliteSelectionDialog(count, window, file, twilight));
  EXPECT_EQ(count, 0);
  EXPECT_EQ(file, "Satelite.tle");
  EXPECT_EQ(CurrentSatelliteNumber, 7);
  EXPECT_TRUE(SatelliteNames[1].empty()) << "the loaded sets are gone again";
  EXPECT_EQ(window, 30) << "Cancel leaves the options";
  ASSERT_EQ(files_.requests.size(), 1u);
  EXPECT_EQ(files_.requests[0].request.filters.front(), "NORAD Two-Line (*.tle)");

  // A file loaded, then OK takes the chosen satellite.
  files_.QueueAnswer(kSets);
  SetSatelliteDialogDriver([](QDialog& d) {
    auto& form = static_cast<TSatellitenwahlform&>(d);
    form.OpenFileClick();
    EXPECT_EQ(form.List()->currentRow(), 0) << "the first satellite selected";
    form.List()->setCurrentRow(1);
    form.OkClick();
    return d.result();
  });
  EXPECT_TRUE(ShowSatelliteSelectionDialog(count, window, file, twilight));
  EXPECT_EQ(CurrentSatelliteNumber, 2);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(file, kSets);

  // More than 500 sets: the first 500 loaded, and the user is told.
  test::TempFolder folder;
  const std::string big = (folder.Path() / "big.tle").string();
  {
    std::ifstream in(kSets);
    std::string name, l1, l2;
    std::getline(in, name);
    std::getline(in, l1);
    std::getline(in, l2);
    std::ofstream out(big);
    for (int k = 0; k < 501; ++k) out << "SAT " << k << "\n" << l1 << "\n" << l2 << "\n";
  }
  TSatellitenwahlform form;
  form.Prepare();
  form.LoadFile(big);
  EXPECT_EQ(form.Count, 500);
  EXPECT_EQ(form.List()->count(), 500);
  ASSERT_FALSE(messages_.messages.empty());
  EXPECT_NE(messages_.messages.back().text.find("500"), std::string::npos);
}

TEST_F(SatelliteDialogs, VisibilitySearchShowsThePassAndStepsTenSeconds) {
  ASSERT_EQ(LoadTleFile(kSets, false), 2);
  CurrentSatelliteNumber = 1;
  TObserverRecord r;
  r.Latitude = 51.191;
  r.Longitude = -9.301;
  r.Height = 200;
  r.Zone = 1;
  r.AutoDeltaT = 1;
  r.Mjd = JdToMjd(2460388.5);
  UTToLocalTime(r);
  TSatelliteSettings settings;
  settings.TwilightChoice = 0;
  settings.AzimuthOrigin = 180;

  TSatellitensuche dialog;
  dialog.Activate(2, r, settings);
  EXPECT_EQ(dialog.SatelliteBox()->count(), 2);
  EXPECT_EQ(dialog.windowTitle(), "Satelliten");
  dialog.SearchClick();
  EXPECT_TRUE(dialog.Search().PassInProgress);
  const QString text = dialog.ResultText();
  EXPECT_TRUE(text.startsWith("JD: 2460388.73")) << text.toStdString();
  EXPECT_TRUE(text.contains("h: ")) << text.toStdString();
  EXPECT_TRUE(text.contains("Az: ")) << text.toStdString();
  EXPECT_TRUE(text.contains("Beleuchtet")) << text.toStdString();
  EXPECT_TRUE(text.contains("MEZ")) << text.toStdString();
  const double found = dialog.Search().Record.Mjd;
  dialog.StepForwardClick();
  EXPECT_NEAR((dialog.Search().Record.Mjd - found) * 86400, 10.0, 1e-4);
  dialog.StepBackClick();
  EXPECT_NEAR(dialog.Search().Record.Mjd, found, 1e-9);
  dialog.resize(520, 420);
  dialog.show();
  SavePng(dialog, "satellite_visibility_dialog");
}

}  // namespace
}  // namespace kvx
