// The variable-star table and the Info-menu tools from their menu items in
// the main window: the Gauss-Krüger dialog (conversion both ways, refused
// entries, "Werte übernehmen" moving the observer, "Schließen" keeping it)
// and the coordinate dialog (DMS->DEG, reduced longitudes, refusals, Cancel
// keeping the block, OK writing kind 890). PNGs go to test-output.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <cmath>
#include <filesystem>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "catalogues/variable_star_list.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "setup/ui/edit_controls.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "tables/gauss_krueger.h"
#include "tables/ui/coordinate_dialog.h"
#include "tables/ui/gauss_krueger_dialog.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

using test::SavePng;

class ToolCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 0;
  }
  void TearDown() override {
    SetGaussKruegerDialogDriver({});
    SetCoordinateDialogDriver({});
  }
};

TEST_F(ToolCommands, GaussKruegerDialogConvertsRefusesAndHandsBackThePlace) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  TObserverRecord& r = form.State().Period.Start;
  r.Latitude = 51.191;
  r.Longitude = -9.301;  // stored east-negative

  // "Schließen" leaves the place alone; the fields show it east-positive.
  SetGaussKruegerDialogDriver([&](Tkonf2geoform& d) {
    double x = 0;
    EXPECT_TRUE(d.Label3->Value(x));
    EXPECT_NEAR(x, 9.301, 1e-9);
    EXPECT_TRUE(d.label4->text().startsWith(QString::fromUtf8("9°18'03")));
    EXPECT_TRUE(d.FloatEdit1->text().startsWith("3521"));
    // A latitude beyond 90° is refused and the stored one shown again.
    d.LAbel6->setText(QString::fromUtf8("91°30'"));
    d.LatitudeTextLeft();
    EXPECT_NEAR(d.Latitude, 51.191, 1e-12);
    EXPECT_TRUE(d.LAbel6->text().startsWith(QString::fromUtf8("51°11'27")));
    d.label4->setText("-181");
    d.LongitudeTextLeft();
    EXPECT_NEAR(d.Longitude, 9.301, 1e-12);
    d.CopyButtons[0]->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), d.FloatEdit1->text());
    d.Close->click();
    return d.result();
  });
  form.Commands().Trigger("GaussKrgergeogr1");
  EXPECT_EQ(r.Longitude, -9.301);
  ASSERT_EQ(messages_.messages.size(), 2u);
  EXPECT_EQ(messages_.messages[0].text,
            ByLanguage("Geogr. Breite: muß zwischen >=-90 und <=+90 betragen!", "Latitude must be >= -90 and <= +90!"));
  EXPECT_EQ(messages_.messages[0].icon, MessageIcon::Error);

  // A new Rechtswert and Hochwert converted back, then handed over.
  double rw = 0, hw = 0;
  ASSERT_TRUE(GeographicToGaussKrueger(13.4, 52.5, 0, 0, rw, hw));
  SetGaussKruegerDialogDriver([&](Tkonf2geoform& d) {
    d.FloatEdit1->SetValue(rw, 2);
    d.RechtswertLeft();
    d.FloatEdit2->SetValue(hw, 2);
    d.HochwertLeft();
    EXPECT_NEAR(d.Longitude, 13.4, 1e-6);
    EXPECT_NEAR(d.Latitude, 52.5, 1e-6);
    d.adjustSize();
    SavePng(d, "gauss_krueger_dialog");
    // A Hochwert beyond the pole gives no position: refused, values kept.
    d.FloatEdit2->SetValue(2e7, 2);
    d.HochwertLeft();
    EXPECT_NEAR(d.Latitude, 52.5, 1e-6);
    d.TakeOver->click();
    return d.result();
  });
  form.Commands().Trigger("GaussKrgergeogr1");
  EXPECT_NEAR(r.Longitude, -13.4, 1e-6);
  EXPECT_NEAR(r.Latitude, 52.5, 1e-6);
  EXPECT_EQ(messages_.messages.size(), 3u);

  // A west longitude typed as 350° comes back as 10° west.
  SetGaussKruegerDialogDriver([&](Tkonf2geoform& d) {
    d.Label3->SetValue(350, 3);
    d.LongitudeDecimalLeft();
    EXPECT_NEAR(d.Longitude, -10.0, 1e-12);
    return 6;
  });
  form.Commands().Trigger("GaussKrgergeogr1");
  EXPECT_NEAR(r.Longitude, 10.0, 1e-7);
}

TEST_F(ToolCommands, VariableStarTableFromItsMenuItem) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.resize(1100, 600);
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  TMainFormState& s = form.State();
  TObserverRecord& start = s.Period.Start;
  start.Latitude = 51.191;
  start.Longitude = -9.301;
  start.Zone = 0;
  start.ZoneMinutes = 0;
  start.DaylightHours = 0;
  start.Mjd = 60370.0;
  UTToLocalTime(start);
  s.Period.AutoEnd = 0;
  s.Period.End = start;
  s.Period.End.Mjd = 60430.0;
  UTToLocalTime(s.Period.End);
  s.Table.PlaceConfirmed = 1;
  EXPECT_FALSE(form.Commands().IsEnabled("VernderlicherStern1")) << "no variable star chosen yet";
  // The star as the choice dialog hands it over: its elements, not its name.
  variablentabelle stars;
  ASSERT_TRUE(stars.ReadVariableFile(s.DataFolder + "/variab.csv"));
  s.Objects.CurrentVariableStar = stars.Data(0);
  form.RefreshMenuStates();
  ASSERT_TRUE(form.Commands().IsEnabled("VernderlicherStern1"));
  form.Commands().Trigger("VernderlicherStern1");
  EXPECT_EQ(s.Table.PreviousTableKind, 150);
  EXPECT_EQ(form.Workbook().Text(1, 1), "Algol (Beta Per)");
  EXPECT_EQ(form.Workbook().LastRow(), 1 + 21);  // the minima of the two months
  EXPECT_TRUE(messages_.messages.empty());
  SavePng(form, "main_window_variable_star");
}

TEST_F(ToolCommands, CoordinateDialogConvertsAndWritesTheTable) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.resize(900, 500);
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  LanguageEnglish = 0;
  TMainFormState& s = form.State();
  s.Period.Start.Latitude = 51.191;
  s.Period.Start.Longitude = -9.301;
  s.Period.Start.Mjd = 60400.3;
  UTToLocalTime(s.Period.Start);
  const TCoordinateBlock before = form.Tables().CoordinateBlock();

  // Cancel keeps the block even after entries were converted.
  SetCoordinateDialogDriver([&](TKoordEingabe& d) {
    d.ComboBox1->setCurrentIndex(0);
    d.EditLg->SetValue(12.3045, 4);
    d.BtnLgDEGClick();
    double x = 0;
    EXPECT_TRUE(d.EditLg->Value(x));
    EXPECT_NEAR(x, 12.5125, 1e-9);
    EXPECT_NEAR(d.Block.raDate, 187.6875, 1e-9);
    d.Cancel->click();
    return d.result();
  });
  form.Commands().Trigger("Coordinateconversion1");
  EXPECT_EQ(form.Tables().CoordinateBlock().raDate, before.raDate);

  // -10 in an ecliptic longitude is 350°; a latitude beyond 90° and text are
  // refused; OK with the switch writes kind 890.
  SetCoordinateDialogDriver([&](TKoordEingabe& d) {
    d.ComboBox1->setCurrentIndex(3);
    d.EditLg->SetValue(-10, 2);
    EXPECT_TRUE(d.EditLgExit());
    EXPECT_NEAR(d.Block.lonDate, 350.0, 1e-12);
    d.EditBr->SetValue(5, 2);
    EXPECT_TRUE(d.EditBrExit());
    d.EditBr->SetValue(95, 2);
    EXPECT_FALSE(d.EditBrExit());
    EXPECT_NEAR(d.Block.latDate, 5.0, 1e-12);
    d.EditBr->setText("abc");
    EXPECT_FALSE(d.EditBrExit());
    EXPECT_TRUE(d.Rise->text().startsWith("Aufgang: "));
    const QRegularExpression hourAngle("^Stundenwinkel: \\d+h\\d\\dm$");
    EXPECT_TRUE(d.HourAngle->text().contains(hourAngle)) << d.HourAngle->text().toStdString();
    d.CheckBox1->setChecked(true);
    d.adjustSize();
    SavePng(d, "coordinate_dialog");
    d.Ok->click();
    return d.result();
  });
  form.Commands().Trigger("Coordinateconversion1");
  ASSERT_EQ(messages_.messages.size(), 2u);
  EXPECT_EQ(messages_.messages[1].text, "Ungültige Eingabe");
  EXPECT_NEAR(form.Tables().CoordinateBlock().lonDate, 350.0, 1e-12);
  EXPECT_EQ(s.Table.PreviousTableKind, 890);
  EXPECT_EQ(form.Workbook().Text(1, 1), "Äquinoktium");
  EXPECT_FALSE(form.Workbook().Text(2, 2).empty());

  // RA 5.9194 h, Dec 7.407° of date on 1.1.2026 0 h UT at the default
  // place: the hour angle is about 21.3° (1h25m) in the dialog and in the
  // sheet; rise, culmination and set show the same minute in both.
  s.Period.Start = TMainFormState{}.Period.Start;
  s.Period.Start.Longitude = -9.39;  // east negative: local sidereal time 7h19m51s
  s.Period.Start.Latitude = 53.55;
  s.Period.Start.Mjd = 61041.0;
  UTToLocalTime(s.Period.Start);
  QString dialogTimes[4];
  SetCoordinateDialogDriver([&](TKoordEingabe& d) {
    d.ComboBox1->setCurrentIndex(0);
    d.EditLg->SetValue(5.9194, 4);
    EXPECT_TRUE(d.EditLgExit());
    d.EditBr->SetValue(7.407, 3);
    EXPECT_TRUE(d.EditBrExit());
    EXPECT_EQ(d.HourAngle->text(), "Stundenwinkel: 1h25m");
    EXPECT_NEAR(HourAngleDegrees(d.Block.hourAngle), 21.3, 0.05);
    const QLabel* labels[4] = {d.HourAngle, d.Rise, d.Culmination, d.Set};
    for (int i = 0; i < 4; ++i) dialogTimes[i] = labels[i]->text().section(' ', -1);
    d.CheckBox1->setChecked(true);
    d.Ok->click();
    return d.result();
  });
  form.Commands().Trigger("Coordinateconversion1");
  const workbook::TWorkbook& book = form.Workbook();
  EXPECT_EQ(book.Text(10, 1), form.State().Period.TableConfig.ColumnTitles[48]);
  // The sheet gives the seconds too (1h25m02s): the dialog's minute is
  // that rounded.
  int h = 0, m = 0, sec = 0, hd = 0, md = 0;
  ASSERT_EQ(std::sscanf(book.Text(10, 2).c_str(), "%dh%dm%ds", &h, &m, &sec), 3) << book.Text(10, 2);
  ASSERT_EQ(std::sscanf(dialogTimes[0].toStdString().c_str(), "%dh%dm", &hd, &md), 2);
  EXPECT_EQ(hd * 60 + md, (h * 3600 + m * 60 + sec + 30) / 60);
  for (int i = 1; i < 4; ++i) EXPECT_EQ(QString::fromStdString(book.Text(10 + i, 2)), dialogTimes[i]) << i;
  SavePng(form, "coordinate_conversion_sheet");
}

}  // namespace
}  // namespace kvx
