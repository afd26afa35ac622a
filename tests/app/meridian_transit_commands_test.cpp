// Tables | Central meridian from the menu: the surface-feature dialog with
// the shipped features, another features file loaded in it, Cancel, and
// the table of the transits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <functional>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "core/name_tables.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "setup/ui/edit_controls.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "tables/ui/drawing_measurement_dialog.h"
#include "tables/ui/feature_transit_dialog.h"

namespace kvx {
namespace {

class MeridianTransitCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 0;
  }
};

TEST_F(MeridianTransitCommands, DialogAndTableFromTheMenu) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.resize(1200, 700);
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  test::RecordingFileDialog files;
  FileDialog* previousDialog = SetFileDialog(&files);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  ASSERT_TRUE(commands.IsEnabled("Durchgnge1"));

  TObserverRecord& start = state.Period.Start;
  start.Day = 1;
  start.Month = 3;
  start.Year = 2025;
  start.LocalHours = 0;
  start.Zone = 1;
  LocalTimeToUT(start);
  state.Period.AutoEnd = 0;
  TObserverRecord& end = state.Period.End;
  end = start;
  end.Day = 4;
  LocalTimeToUT(end);

  // The shipped features: Syrtis Major chosen in the Mars list.
  test::WhenModalShown<TPlanetenpassage>([](TPlanetenpassage& dialog) {
    ASSERT_GE(dialog.ComboBoxes[0]->count(), 10);
    EXPECT_EQ(dialog.ComboBoxes[2]->count(), 1);
    EXPECT_EQ(dialog.RadioGroup1->checkedId(), 2);
    dialog.ComboBoxes[0]->setCurrentIndex(0);
    dialog.ComboChanged(0);
    EXPECT_EQ(dialog.Edits[0]->text().toStdString(), "Syrtis Major");
    EXPECT_EQ(dialog.RadioGroup1->checkedId(), 0);
    test::SavePng(dialog, "feature_transit_dialog");
    dialog.Ok->click();
  });
  commands.Trigger("Durchgnge1");
  TFeatureTransitSettings& feature = form.Tables().FeatureTransit();
  EXPECT_EQ(feature.system, 0);
  EXPECT_DOUBLE_EQ(feature.longitude[0], 290.5);
  workbook::TWorkbook& book = form.Workbook();
  EXPECT_EQ(book.Text(1, 1), LanguageEnglish != 0 ? "Date" : "Datum");
  EXPECT_EQ(book.Text(1, 2), "Syrtis Major");
  // Mars turns once in 24 h 37 min: one transit a day over three days.
  EXPECT_FALSE(book.Text(4, 1).empty());
  EXPECT_TRUE(book.Text(5, 1).empty());
  EXPECT_TRUE(book.Text(2, 3).empty());
  QApplication::processEvents();
  test::SavePng(form, "meridian_transit_table");

  // Another file loaded in the dialog, then Cancel: the list, the feature
  // and the file name in use before stay.
  const std::string other = home_.Write("other.csv", ":LONGITUDES!\nsaturn3;12.5;Storm;north\n");
  files.QueueAnswer(other);
  const std::string fileBefore = form.Tables().SurfaceFeatureFile();
  const std::size_t featuresBefore = form.Tables().SurfaceFeatures().size();
  test::WhenModalShown<TPlanetenpassage>([](TPlanetenpassage& dialog) {
    dialog.LoadButton->click();
    EXPECT_EQ(dialog.ComboBoxes[4]->count(), 1);
    EXPECT_EQ(dialog.ComboBoxes[0]->count(), 0);
    EXPECT_NE(dialog.FileLabel->text().toStdString().find("other.csv"), std::string::npos);
    dialog.Cancel->click();
  });
  commands.Trigger("Durchgnge1");
  EXPECT_EQ(form.Tables().SurfaceFeatures().size(), featuresBefore);
  EXPECT_NE(form.Tables().SurfaceFeatures()[0].Name, "Storm;north");
  EXPECT_EQ(form.Tables().SurfaceFeatureFile(), fileBefore);
  EXPECT_EQ(feature.system, 0);
  SetFileDialog(previousDialog);
}

// The chosen feature, its system and the features file go into a saved
// configuration and come back when it is opened; a configuration whose
// features file is gone gives the built-in features and no file in use.
TEST_F(MeridianTransitCommands, ConfigurationKeepsTheChosenFeature) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  test::RecordingFileDialog files;
  ScopedFileDialog dialogs(files);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  test::SetBerlinDate(state.Period.Start, 1, 3, 2025);
  state.Period.End = state.Period.Start;
  test::SetBerlinDate(state.Period.End, 3, 3, 2025);
  state.Period.AutoEnd = 0;
  state.Table.PlaceConfirmed = 1;

  // Jupiter's red spot from a file of the user's.
  const std::string mine = home_.Write("mine.csv", ":LONGITUDES!\nJUPITER2;61.5;Red Spot\nmars;290.5;Syrtis Major\n");
  files.QueueAnswer(mine);
  test::WhenModalShown<TPlanetenpassage>([](TPlanetenpassage& dialog) {
    dialog.LoadButton->click();
    ASSERT_EQ(dialog.ComboBoxes[2]->count(), 1);
    dialog.ComboChanged(2);
    EXPECT_EQ(dialog.RadioGroup1->checkedId(), 2);
    dialog.Ok->click();
  });
  commands.Trigger("Durchgnge1");
  ASSERT_EQ(form.Tables().FeatureTransit().name[2], "Red Spot");
  const std::string config = (home_.Path() / "features.ocf").string();
  files.QueueAnswer(config);
  commands.Trigger("Dateispeichernunter1");

  // Mars chosen instead, then the configuration opened again.
  test::WhenModalShown<TPlanetenpassage>([](TPlanetenpassage& dialog) {
    dialog.ComboChanged(0);
    dialog.Ok->click();
  });
  commands.Trigger("Durchgnge1");
  ASSERT_EQ(form.Tables().FeatureTransit().system, 0);
  files.QueueAnswer(config);
  commands.Trigger("Dateiffnen1");
  const TFeatureTransitSettings& feature = form.Tables().FeatureTransit();
  EXPECT_EQ(feature.system, 2);
  EXPECT_EQ(feature.longitude[2], 61.5);
  EXPECT_EQ(feature.name[2], "Red Spot");
  EXPECT_EQ(feature.name[0], "Syrtis major") << "the whole record as saved";
  EXPECT_EQ(form.Tables().SurfaceFeatureFile(), mine);
  EXPECT_EQ(form.Tables().SurfaceFeatures().size(), 2u);
  test::WhenModalShown<TPlanetenpassage>([](TPlanetenpassage& dialog) {
    EXPECT_EQ(dialog.RadioGroup1->checkedId(), 2);
    EXPECT_EQ(dialog.Edits[2]->text(), "Red Spot");
    EXPECT_NE(dialog.FileLabel->text().toStdString().find("mine.csv"), std::string::npos);
    dialog.Cancel->click();
  });
  commands.Trigger("Durchgnge1");

  // Without its file: the built-in features, and no file in use.
  std::filesystem::remove(mine);
  files.QueueAnswer(config);
  commands.Trigger("Dateiffnen1");
  EXPECT_EQ(feature.system, 2);
  EXPECT_EQ(feature.longitude[2], 64.0);
  EXPECT_EQ(feature.name[2], "GRF");
  EXPECT_TRUE(form.Tables().SurfaceFeatures().empty());
  EXPECT_EQ(form.Tables().SurfaceFeatureFile(), state.DataFolder + "/*.csv");
  test::WhenModalShown<TPlanetenpassage>([](TPlanetenpassage& dialog) {
    EXPECT_EQ(dialog.FileLabel->text(),
              LanguageEnglish != 0
                  ? "No file with planetographic longitudes in use."
                  : QString::fromUtf8("Zur Zeit ist keine Datei mit Oberflächenmerkmalen in Gebrauch"));
    dialog.Cancel->click();
  });
  commands.Trigger("Durchgnge1");
  EXPECT_TRUE(messages_.messages.empty());
}

}  // namespace
}  // namespace kvx

namespace kvx {
namespace {

// Info | Measuring planetary drawings: the Sun's disc data of 1992 Oct 13
// (Meeus, Astronomical Algorithms, example 29.a: P 26.27, B0 5.99, L0
// 238.63 degrees at 0h TD), the centre of the disc, a point off the disc,
// a row in the sheet, and the entries kept for the next opening.
TEST_F(MeridianTransitCommands, DrawingMeasurementFromTheMenu) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.resize(1000, 600);
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  TMainFormState& state = form.State();
  TObserverRecord& start = state.Period.Start;
  start.Day = 13;
  start.Month = 10;
  start.Year = 1992;
  start.Zone = 0;
  start.DaylightHours = 0;
  start.ZoneMinutes = 0;
  start.LocalHours = 0;
  LocalTimeToUT(start);
  bool seen = false;
  test::WhenModalShown<TOrtsbest>([&](TOrtsbest& dialog) {
    seen = true;
    dialog.Body->setCurrentIndex(0);
    EXPECT_NEAR(dialog.Measurement.P, 26.27, 0.02);
    EXPECT_NEAR(dialog.Measurement.B, 5.99, 0.02);
    // L0 of the physical ephemeris is that of the instant the light left
    // the Sun (8.3 min, 0.08 degrees), here also at 0h UT, not TD.
    EXPECT_NEAR(dialog.Measurement.L0, 238.63, 0.13);
    dialog.Diameter->setText("100");
    dialog.EditX->setText("0");
    dialog.EditY->setText("0");
    EXPECT_TRUE(dialog.Valid);
    EXPECT_NEAR(dialog.Longitude, dialog.Measurement.L0, 1e-9);
    EXPECT_NEAR(dialog.Latitude, dialog.Measurement.B, 1e-9);
    dialog.EditX->setText("51");
    EXPECT_EQ(dialog.ResultLongitude->text().toStdString(), "ERROR");
    dialog.EditX->setText("20");
    dialog.Description->setText("Fleck");
    dialog.Write->click();
    test::SavePng(dialog, "drawing_measurement_dialog");
    dialog.Ok->click();
  });
  form.Commands().Trigger("OrtsbestimmungaufPlaneten1");
  ASSERT_TRUE(seen);
  workbook::TWorkbook& book = form.Workbook();
  EXPECT_NE(book.Text(2, 1).find("1992"), std::string::npos) << book.Text(2, 1);
  EXPECT_EQ(book.Text(2, 3), "Fleck");
  EXPECT_FALSE(book.Text(2, 5).empty());
  EXPECT_EQ(store_.ReadString("FrmOrt", "Diameter").value_or(""), "100");
  EXPECT_EQ(store_.ReadString("FrmOrt", "x").value_or(""), "20");
  EXPECT_EQ(store_.ReadString("FrmOrt", "Description").value_or(""), "Fleck");
}

}  // namespace
}  // namespace kvx
