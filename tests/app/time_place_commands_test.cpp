// The cell macros and the time and place commands: macros on a sheet (used
// area, skipped cells, round trips through the core routines, the decimal
// separator of the formats, JD to UT at both halves of the day), the record
// changes, and the commands driven from their menu items, in every kind of
// time zone.
#include "app/time_place_macros.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/ascii_case.h"
#include "platform/clock.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "platform/workbook/workbook.h"
#include "setup/city_zones.h"
#include "setup/table_config_file.h"
#include "setup/ui/date_place_dialog.h"
#include "setup/ui/location_dialog.h"
#include "setup/ui/time_entry_dialogs.h"
#include "setup/ui/world_cities_dialog.h"
#include "setup/world_cities.h"
#include "support/fixed_clock.h"
#include "support/qt/main_form_test.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "support/qt/save_png.h"

namespace kvx {
namespace {

using test::WhenModalShown;

namespace fs = std::filesystem;
using workbook::TWorkbook;

// A 3 x 3 used area: A1 an angle, B1 zero, C1 a text; row 2 and 3 numbers.
void FillSheet(TWorkbook& sheet) {
  sheet.SetNumber(1, 1, 12.5);
  sheet.SetNumber(1, 2, 0.0);
  sheet.SetText(1, 3, "Mars");
  sheet.SetNumber(2, 1, -45.2575);
  sheet.SetNumber(3, 3, 359.9999);
}

TEST(TimePlaceMacros, DegreesAndPackedValuesOverTheUsedAreaOnly) {
  InitCoreTablesAtStartup(IntlSeparators);
  TWorkbook sheet;
  FillSheet(sheet);
  sheet.SetSelection(1, 1, 20, 10);  // reaches far beyond the used area
  EXPECT_EQ(MacroDegToDms(sheet), 3) << "zero and the text are skipped";
  EXPECT_EQ(sheet.LastRow(), 3);
  EXPECT_EQ(sheet.LastCol(), 3);
  EXPECT_DOUBLE_EQ(sheet.Number(1, 1), DegToDmsPacked(12.5));
  EXPECT_NEAR(sheet.Number(1, 1), 12.30, 1e-12);
  EXPECT_EQ(sheet.Number(1, 2), 0.0);
  EXPECT_EQ(sheet.Text(1, 3), "Mars");
  EXPECT_EQ(MacroDmsToDeg(sheet), 3);
  EXPECT_NEAR(sheet.Number(1, 1), 12.5, 1e-9);
  EXPECT_NEAR(sheet.Number(2, 1), -45.2575, 1e-8);
  EXPECT_NEAR(sheet.Number(3, 3), 359.9999, 1e-8);

  // Two ranges, one wholly outside the used area.
  sheet.SetSelection(2, 1, 2, 1);
  sheet.AddSelection(10, 10, 12, 12);
  EXPECT_EQ(SelectionInUsedArea(sheet).size(), 1u);
  EXPECT_EQ(MacroTimeToDeg(sheet), 1);
  EXPECT_NEAR(sheet.Number(2, 1), -45.2575 * 24, 1e-8);
}

TEST(TimePlaceMacros, FormatsFollowTheDecimalSeparatorAndJulianDatesGiveATimeOfDay) {
  const TIntlSeparators saved = IntlSeparators;
  for (char decimal : {',', '.'}) {
    TIntlSeparators s = saved;
    s.Decimal = decimal;
    s.Thousands = decimal == ',' ? '.' : ',';
    IntlSeparators = s;
    InitCoreTablesAtStartup(s);
    TWorkbook sheet;
    sheet.SetNumber(1, 1, 0.5);
    sheet.SetSelection(1, 1, 1, 1);
    MacroTimeToDeg(sheet);
    EXPECT_DOUBLE_EQ(sheet.Number(1, 1), 12.0);
    EXPECT_EQ(sheet.NumberFormat(), std::string("0") + decimal + "000000") << decimal;

    // JD .25 is 18 h UT, JD .75 is 6 h UT of the next day: never beyond 24 h.
    sheet.SetNumber(2, 1, 2451545.25);
    sheet.SetNumber(3, 1, 2451545.75);
    sheet.SetNumber(4, 1, 2451545.0);
    sheet.SetSelection(2, 1, 4, 1);
    EXPECT_EQ(MacroJulianDateToUT(sheet), 3);
    EXPECT_NEAR(sheet.Number(2, 1) * 24, 18.0, 1e-6);
    EXPECT_NEAR(sheet.Number(3, 1) * 24, 6.0, 1e-6);
    EXPECT_NEAR(sheet.Number(4, 1) * 24, 12.0, 1e-6);

    // Date, JD/UT and place writers at the active cell.
    TObserverRecord r;
    r.Year = 2024;
    r.Month = 3;
    r.Day = 9;
    r.LocalHours = 13.5;
    r.Zone = 1;
    r.ZoneMinutes = 0;
    r.PlaceName = "Dortmund";
    r.Latitude = 51.5;
    r.Longitude = -7.25;
    LocalTimeToUT(r);
    sheet.SetActiveCell(6, 2);
    WriteDateAtActiveCell(sheet, r, "CET");
    EXPECT_EQ(sheet.Text(6, 2), "09.03.2024");
    EXPECT_NEAR(sheet.Number(6, 3) * 24, 13.5, 1e-9);
    EXPECT_EQ(sheet.Text(6, 4), "1+0min  CET");
    sheet.SetActiveCell(7, 2);
    WriteJulianDateAtActiveCell(sheet, r);
    EXPECT_NEAR(sheet.Number(7, 2), r.Mjd + 2400000.5, 1e-9);
    EXPECT_NEAR(sheet.Number(7, 3) * 24, 12.5, 1e-6);
    EXPECT_EQ(sheet.Text(7, 4), "UT");
    sheet.SetActiveCell(8, 2);
    WritePlaceAtActiveCell(sheet, r);
    EXPECT_EQ(sheet.Text(8, 2), "Dortmund");
    EXPECT_FALSE(sheet.Text(8, 3).empty());
    EXPECT_FALSE(sheet.Text(8, 4).empty());
  }
  IntlSeparators = saved;
  InitCoreTablesAtStartup(saved);
}

TEST(TimePlaceMacros, MarkTextsAndRecordChanges) {
  InitCoreTablesAtStartup(IntlSeparators);
  TWorkbook sheet;
  sheet.SetNumber(1, 1, 12.345678);
  sheet.SetText(1, 2, "Text");
  sheet.SetNumber(1, 3, 0.0);
  sheet.SetSelection(1, 1, 1, 3);
  EXPECT_EQ(MacroNumberToMarkText(sheet, true), 1);
  EXPECT_EQ(sheet.Text(1, 1).substr(0, 9), "12°34'56") << sheet.Text(1, 1);
  EXPECT_EQ(sheet.Text(1, 2), "Text");
  // "Layout -> Zahl" reads the marks back; a text that is no layout stays.
  sheet.SetText(1, 3, "-3h 07m");
  sheet.SetText(2, 1, "12,5");
  sheet.SetText(2, 2, "12°75'");
  sheet.SetText(2, 3, "5''");
  sheet.SetSelection(1, 1, 2, 3);
  EXPECT_EQ(MacroMarkTextToNumber(sheet), 4);
  EXPECT_NEAR(sheet.Number(1, 1), 12.345678, 1e-9);
  EXPECT_NEAR(sheet.Number(1, 3), -3.07, 1e-12);
  EXPECT_DOUBLE_EQ(sheet.Number(2, 1), 12.5);
  EXPECT_EQ(sheet.Text(2, 2), "12°75'");
  EXPECT_NEAR(sheet.Number(2, 3), 0.0005, 1e-15);
  EXPECT_EQ(sheet.Text(1, 2), "Text");

  // Daylight saving keeps the local time; twice restores the record.
  TObserverRecord r;
  r.Year = 2024;
  r.Month = 7;
  r.Day = 1;
  r.LocalHours = 12;
  r.Zone = 1;
  LocalTimeToUT(r);
  const TObserverRecord before = r;
  ToggleDaylightSaving(r);
  EXPECT_EQ(r.DaylightHours, 1);
  EXPECT_EQ(r.LocalHours, 12);
  EXPECT_NEAR(r.Mjd, before.Mjd - 1.0 / 24, 1e-9) << "UT moves an hour back";
  ToggleDaylightSaving(r);
  EXPECT_EQ(r.DaylightHours, 0);
  EXPECT_DOUBLE_EQ(r.Mjd, before.Mjd);
  EXPECT_DOUBLE_EQ(r.UTHours, before.UTHours);

  // The Julian-date entry: ten decimals decide.
  EXPECT_FALSE(JulianDateEntryChanged(60000.5, 1, 0, 60000.5 + 1e-12, 1, 0));
  EXPECT_TRUE(JulianDateEntryChanged(60000.5, 1, 0, 60000.5 + 2e-10, 1, 0));
  EXPECT_TRUE(JulianDateEntryChanged(60000.5, 1, 0, 60000.5, 1, 30));
}

// --- from the menu ------------------------------------------------------------------

using test::SavePng;

class TimePlaceCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 0;
  }
  test::RecordingFileDialog files_;
};

TEST_F(TimePlaceCommands, MenuItemsChangeTheRecordsAndTheTableSetUp) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.resize(1200, 700);
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  ScopedFileDialog dialogs(files_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();

  // Daylight saving from the menu, twice.
  TObserverRecord& start = state.Period.Start;
  start.DaylightHours = 0;
  start.Mjd = 61381.123456789;  // more decimals than the Julian-date dialog shows
  UTToLocalTime(start);
  LocalTimeToUT(start);
  const TObserverRecord first = start;
  QAction* dst = commands.Action("Sommerzeit1");
  ASSERT_NE(dst, nullptr);
  ASSERT_TRUE(dst->isEnabled());
  dst->trigger();
  EXPECT_EQ(start.DaylightHours, 1);
  const bool english = LanguageEnglish != 0;
  EXPECT_EQ(dst->text(), english ? "No &Daylight saving" : "&Winterzeit");
  EXPECT_NEAR(start.Mjd, first.Mjd - 1.0 / 24, 1e-9);
  dst->trigger();
  EXPECT_EQ(start.DaylightHours, 0);
  EXPECT_EQ(dst->text(), english ? "&Daylight saving" : "&Sommerzeit");
  EXPECT_NEAR(start.Mjd, first.Mjd, 1e-9);
  EXPECT_EQ(start.Day, first.Day);

  // The Julian-date dialog confirmed unchanged computes nothing and keeps
  // the date to the last digit.
  const double shownMjd = start.Mjd;
  state.Table.TableChanged = 1;
  WhenModalShown([](QDialog& d) {
    SavePng(d, "julian_date_dialog");
    d.accept();
  });
  commands.Action("JulianischesDatum1")->trigger();
  EXPECT_EQ(state.Table.TableChanged, 0);
  EXPECT_EQ(start.Mjd, shownMjd);

  // A macro from the Tools menu on the sheet.
  workbook::TWorkbook& sheet = form.Workbook();
  sheet.SetNumber(1, 1, 10.5);
  sheet.SetSelection(1, 1, 1, 1);
  commands.Action("DMS1")->trigger();
  EXPECT_NEAR(sheet.Number(1, 1), 10.30, 1e-12);

  // The table configuration dialog: a look, then Cancel changes nothing.
  const double equinox = state.Computing.SecondEquinox;
  WhenModalShown([](QDialog& d) {
    d.resize(900, 600);
    SavePng(d, "table_configuration_dialog");
    d.reject();
  });
  commands.Action("Tabellenkonfigurieren1")->trigger();
  EXPECT_EQ(state.Computing.SecondEquinox, equinox);

  // Loading a table configuration: a wrong magic is refused, a good file's
  // year becomes centuries.
  const fs::path bad = home_.Path() / "bad.etd";
  std::ofstream(bad) << std::string(kTableConfigFileSize, 'x');
  files_.QueueAnswer(bad.string());
  commands.Action("SpeedButton44")->trigger();
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].text, english ? "This is no Kandrevoltinex 4.6 Configuration file."
                                                : "Dies ist keine Kandrevoltinex 4.6 Tabellenkonfigurationsdatei!");
  EXPECT_EQ(state.Computing.SecondEquinox, equinox);

  TTableConfigFile good;
  good.EquinoxYear = 2050.0;
  good.Record = state.Period.TableConfig;
  good.ApparentSiderealTime = 1;
  const fs::path goodPath = home_.Path() / "good.etd";
  ASSERT_TRUE(SaveTableConfigFile(goodPath.string(), good));
  files_.QueueAnswer(goodPath.string());
  commands.Action("SpeedButton44")->trigger();
  EXPECT_DOUBLE_EQ(state.Computing.SecondEquinox, 0.5);
  EXPECT_EQ(state.Period.ApparentSiderealTime, 1);
  SavePng(form, "main_window_after_time_place");

  // View toggles follow their check marks.
  for (const char* item : {"s1", "Symbolleiste1", "TabellengrenWerkzeug1"}) {
    QAction* action = commands.Action(item);
    const bool shown = action->isChecked();
    action->trigger();
    EXPECT_NE(action->isChecked(), shown) << item;
    action->trigger();
    EXPECT_EQ(action->isChecked(), shown) << item;
  }
  EXPECT_TRUE(form.statusBar()->isVisible() == commands.IsChecked("s1"));

  // "Break toolbar" (checked at a first start): every button of the tool bar
  // in two rows, from the Moon on in the second; unchecked, one row. The
  // context menu's item keeps the same mark; the buttons keep their actions;
  // hiding the tool bar hides both rows.
  auto buttonRows = [&] {
    std::set<int> tops;
    for (QToolButton* button : form.findChildren<QToolButton*>()) {
      auto* bar = qobject_cast<QToolBar*>(button->parentWidget());
      if (bar == nullptr || !bar->objectName().startsWith("SpeedBar") || !button->isVisible()) continue;
      if (button->objectName() == "qt_toolbar_ext_button") continue;
      tops.insert(button->mapTo(&form, QPoint(0, 0)).y());
    }
    return tops.size();
  };
  auto top = [&](const char* name) { return form.findChild<QToolButton*>(name)->mapTo(&form, QPoint(0, 0)).y(); };
  ASSERT_NE(form.findChild<QToolButton*>("SpeedButton20"), nullptr);
  EXPECT_EQ(form.findChild<QToolButton*>("SpeedButton20")->defaultAction(), commands.Action("SpeedButton20"));
  EXPECT_EQ(commands.ToolWidget("Arial")->parentWidget(), commands.ToolBar("SpeedBarRow2"));
  ASSERT_TRUE(commands.IsChecked("BreakToolbar1"));
  EXPECT_TRUE(commands.Action("Umbrechen1")->isChecked());
  EXPECT_EQ(buttonRows(), 2u);
  EXPECT_GT(top("SpeedButton20"), top("SpeedButton17")) << "the Moon under Pluto's row";
  EXPECT_EQ(top("SpeedButton20"), top("BoldButton"));
  EXPECT_TRUE(commands.ToolWidget("Arial")->isVisible()) << "the second row has room for the font box";
  SavePng(form, "main_window_toolbar_two_rows");
  commands.Action("Symbolleiste1")->trigger();
  EXPECT_FALSE(commands.ToolBar("SpeedBarRow2")->isVisible());
  commands.Action("Symbolleiste1")->trigger();
  EXPECT_TRUE(commands.ToolBar("SpeedBarRow2")->isVisible());
  // One row: every item back on the one bar, in order, with one overflow
  // button for what does not fit.
  commands.Action("Umbrechen1")->trigger();
  QApplication::processEvents();
  EXPECT_FALSE(commands.IsChecked("BreakToolbar1"));
  EXPECT_FALSE(commands.Action("Umbrechen1")->isChecked());
  EXPECT_EQ(buttonRows(), 1u);
  const QList<QAction*> oneRow = commands.ToolBar("SpeedBar")->actions();
  EXPECT_EQ(oneRow.indexOf(commands.Action("SpeedButton20")), oneRow.indexOf(commands.Action("SpeedButton17")) + 1);
  EXPECT_FALSE(commands.ToolBar("SpeedBarRow2")->isVisible());
  SavePng(form, "main_window_toolbar_one_row");
  commands.Action("Symbolleiste1")->trigger();
  commands.Action("Symbolleiste1")->trigger();
  EXPECT_FALSE(commands.ToolBar("SpeedBarRow2")->isVisible()) << "the empty second bar stays hidden";
  commands.Action("BreakToolbar1")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(buttonRows(), 2u);
  EXPECT_EQ(form.findChild<QToolButton*>("SpeedButton20")->defaultAction(), commands.Action("SpeedButton20"));

  commands.Action("s1")->trigger();
  EXPECT_EQ(form.statusBar()->isVisible(), commands.IsChecked("s1"));
  commands.Action("s1")->trigger();
  const std::uint8_t warnings = state.Computing.WarningsOption;
  commands.Action("Warnheinweisezeigen1")->trigger();
  EXPECT_NE(state.Computing.WarningsOption, warnings);
  EXPECT_EQ(commands.IsChecked("Warnheinweisezeigen1"), state.Computing.WarningsOption != 0);
}

}  // namespace
}  // namespace kvx

namespace kvx {
namespace {

// The date and place dialog from its menu item: the context menus of its two
// groups run the buttons they repeat; OK hands the values to the period start.
TEST_F(TimePlaceCommands, DatePlaceContextMenusRunTheirButtons) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TObserverRecord& start = form.State().Period.Start;
  test::SetBerlinDate(start, 10, 4, 2024);
  start.ZoneMinutes = 30;
  start.DaylightHours = 1;
  start.AutoDeltaT = 0;
  start.DeltaTSeconds = 12.5;
  LocalTimeToUT(start);

  FixedClock clock(FixedClock::At(2031, 7, 15, 21, 40, 0));
  ScopedSystemClock clockGuard(clock);
  ScopedSystemZone zone("America/New_York");
  bool shown = false, locationsOpened = false;
  double utHours = -1, deltaTAfterEphemeris = -1, approximate = -1;
  WhenModalShown<TDatumortForm>([&](TDatumortForm& dialog) {
    shown = true;
    QMenu* time = dialog.TimeMenu();
    QMenu* place = dialog.PlaceMenu();
    ASSERT_NE(time, nullptr);
    ASSERT_NE(place, nullptr);
    QStringList texts;
    for (QAction* a : time->actions()) texts << a->text();
    EXPECT_EQ(texts,
              (QStringList{"0:00 UT", ByLanguage("Jetzt", "Now"), ByLanguage("Ephemeridenzeit", "Ephemeris time"),
                           QString::fromUtf8(ByLanguage("Näherung für ET-UT", "Approximate ET-UT"))}));
    ASSERT_EQ(place->actions().size(), 1);
    EXPECT_EQ(place->actions()[0]->text(), ByLanguage("Geogr. Koordinaten laden...", "Load geogr. coordinates..."));

    // A right click on the date group opens its menu.
    auto* group = dialog.findChild<QWidget*>("DateGroup");
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), group->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(group, &click);
    EXPECT_TRUE(time->isVisible());
    SavePng(dialog, "date_place_dialog");
    SavePng(*time, "date_place_time_menu");
    time->hide();

    // 0:00 UT with zone 1, daylight saving and 30 extra minutes: 02:30 local.
    time->actions()[0]->trigger();
    utHours = dialog.Record.LocalHours;
    time->actions()[2]->trigger();
    deltaTAfterEphemeris = dialog.Record.DeltaTSeconds;
    time->actions()[3]->trigger();
    approximate = dialog.Record.DeltaTSeconds;

    test::WhenModalShown<TOrtwahldialog>([&](TOrtwahldialog& locations) {
      locationsOpened = true;
      locations.reject();
    });
    place->actions()[0]->trigger();

    // "Now": the clock's instant, 2031 Jul 15 21:40 UTC, in the dialog's
    // zone (+2:30): 00:10 of the next day, whatever the computer's zone.
    time->actions()[1]->trigger();
    EXPECT_EQ(dialog.Record.Day, 16);
    EXPECT_EQ(dialog.Record.Month, 7);
    EXPECT_EQ(dialog.Record.Year, 2031);
    EXPECT_NEAR(dialog.Record.LocalHours, 10.0 / 60, 1e-6);

    auto* placeGroup = dialog.findChild<QWidget*>("PlaceGroup");
    QContextMenuEvent placeClick(QContextMenuEvent::Mouse, QPoint(5, 5), placeGroup->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(placeGroup, &placeClick);
    EXPECT_TRUE(place->isVisible());
    SavePng(*place, "date_place_place_menu");
    place->hide();
    dialog.reject();
  });
  form.Commands().Trigger("DatumundOrteingeben1");
  ASSERT_TRUE(shown);
  EXPECT_NEAR(utHours, 2.5, 1e-9);
  EXPECT_EQ(deltaTAfterEphemeris, 0.0);
  EXPECT_NEAR(approximate, 69.2, 1.0) << "Delta T of April 2024, seconds";
  EXPECT_TRUE(locationsOpened);
  EXPECT_EQ(start.DeltaTSeconds, 12.5) << "cancelled: nothing handed back";
}

// A new place from the place dialog and from the world database: with
// "Weltzeit beibehalten" checked the instant stays and the local clock
// follows the new zone, unchecked the clock time stays and UT moves. From
// 02:00 in zone +1 (01:00 UT) to zone -3: 22:00 of the day before, or 05:00
// UT.
TEST_F(TimePlaceCommands, ANewPlaceKeepsUTOrTheClockTimeAsTheBoxSays) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  const bool keptBefore = TDatumortForm::KeepUT();
  TObserverRecord& start = form.State().Period.Start;
  test::SetBerlinDate(start, 10, 4, 2024);
  start.LocalHours = 2;
  start.AutoDeltaT = 0;
  LocalTimeToUT(start);
  const TObserverRecord berlin = start;

  // A one-city database: Recife (34.9 W, 8.05 S), its group index.
  test::TempFolder cities;
  std::string city(kCityRecordSize, '\0');
  const float longitude = 34.9f, latitude = -8.05f;
  std::memcpy(city.data(), &longitude, 4);
  std::memcpy(city.data() + 4, &latitude, 4);
  city[8] = 6;
  std::memcpy(city.data() + 9, "Recife", 6);
  cities.Write(kCitiesFileName, city);
  std::string index;
  for (int line = 0; line <= kCityGroupCount; ++line) index += line <= CityGroup('r') ? "1\r\n" : "2\r\n";
  cities.Write(kCityIndexFileName, index);
  form.StoredSettings().CitiesDatabase = cities.Path().string();

  const auto fromPlaceDialog = [&](bool keepUT) {
    WhenModalShown<TOrtwahldialog>([keepUT](TOrtwahldialog& d) {
      d.KeepUT()->setChecked(keepUT);
      d.findChild<QSpinBox*>("EditZeitzone")->setValue(-3);
      d.findChild<QSpinBox*>("SpinEdit1")->setValue(0);
      d.findChild<QCheckBox*>("CheckBox1")->setChecked(false);
      d.accept();
    });
    form.Commands().Trigger("Ortwhlen1");
  };
  const auto fromWorldDatabase = [&](bool keepUT) {
    WhenModalShown<TDlgCities>([keepUT](TDlgCities& d) {
      auto* number = d.findChild<QLineEdit*>("recordNumber");
      number->setText("1");
      emit number->editingFinished();
      auto* results = d.findChild<QListWidget*>("results");
      EXPECT_EQ(results->count(), 1);
      if (results->count() != 1) return d.reject();
      results->setCurrentRow(0);
      d.findChild<QSpinBox*>("zone")->setValue(-3);
      d.findChild<QSpinBox*>("minutes")->setValue(0);
      d.findChild<QCheckBox*>("keepUT")->setChecked(keepUT);
      d.findChild<QPushButton*>("ok")->click();
    });
    form.Commands().Trigger("WeltweiteDatenbank1");
  };
  for (const bool world : {false, true}) {
    for (const bool keepUT : {true, false}) {
      SCOPED_TRACE(std::string(world ? "world database" : "place dialog") + (keepUT ? ", UT kept" : ", clock kept"));
      start = berlin;
      TDatumortForm::KeepUT() = !keepUT;  // the box, not the earlier setting, decides
      world ? fromWorldDatabase(keepUT) : fromPlaceDialog(keepUT);
      EXPECT_EQ(TDatumortForm::KeepUT(), keepUT);
      EXPECT_EQ(start.Zone, -3);
      EXPECT_EQ(start.DaylightHours, 0);
      if (world) {
        EXPECT_EQ(start.PlaceName, "Recife");
      }
      EXPECT_EQ(start.Month, 4);
      EXPECT_EQ(start.Year, 2024);
      if (keepUT) {
        EXPECT_NEAR(start.Mjd, berlin.Mjd, 1e-9);
        EXPECT_EQ(start.Day, 9);
        EXPECT_NEAR(start.LocalHours, 22.0, 1e-6);
      } else {
        EXPECT_NEAR(start.Mjd, berlin.Mjd + 4.0 / 24, 1e-9);
        EXPECT_EQ(start.Day, 10);
        EXPECT_NEAR(start.LocalHours, 2.0, 1e-6);
        EXPECT_NEAR(start.UTHours, 5.0, 1e-6);
      }
    }
  }
  TDatumortForm::KeepUT() = keptBefore;
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
}

// "UT eingeben" and "Tagesbruchteil" check the period before their dialogs,
// as the table commands do: a start whose local time was set without its UT
// shows the UT of that local time (18:00 in zone +1: 17:00 UT, day 10.70833),
// and a period of more rows than a table may have is cut, with its message,
// before the dialog opens.
TEST_F(TimePlaceCommands, UTAndDayFractionCheckThePeriodFirst) {
  UseDefaultSeparators();
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TEphemerisPeriodState& period = form.State().Period;
  struct TEntry {
    const char* Item;
    QString Shown;  // the time field as the dialog shows it
  };
  for (const TEntry& entry : {TEntry{"UTeingeben1", "17:00:00"}, TEntry{"Tagesbruchteil1", "10.70833"}}) {
    test::SetBerlinDate(period.Start, 10, 4, 2024);
    period.Start.LocalHours = 18;  // typed without its UT
    period.AutoEnd = 0;
    period.End = period.Start;
    period.End.Year = 2027;
    period.Step = TTableStep{0, 1, 1.0 / 24};
    messages_.messages.clear();
    std::size_t messagesBefore = 0;
    QString shown;
    WhenModalShown([&](QDialog& d) {
      messagesBefore = messages_.messages.size();
      shown = d.findChild<QLineEdit*>("ID103")->text();
      d.reject();
    });
    form.Commands().Action(entry.Item)->trigger();
    EXPECT_EQ(messagesBefore, 1u) << entry.Item;
    ASSERT_EQ(messages_.messages.size(), 1u) << entry.Item;
    EXPECT_EQ(messages_.messages[0].text, ByLanguage("Zu viele Tabellenwerte. Das Enddatum für Ephemeride wurde herabgesetzt.",
                                                     "To much table entries. The Enddate for the ephemeris was set down."));
    EXPECT_EQ(shown, entry.Shown) << entry.Item;
    EXPECT_LT((period.End.Mjd - period.Start.Mjd) * 24, kMaxTableSteps) << entry.Item << ": the end was cut";
  }
}

}  // namespace
}  // namespace kvx

namespace kvx {
namespace {

// Places in the zones the time entries must hold in: east of +12 h, a
// quarter-hour zone, both daylight-saving switch days of Berlin, UT, a
// half-hour zone west of Greenwich and the zones before the date line.
struct TZoneCase {
  const char* Zone;  // IANA name: the computer's zone (TZ) and the record's
  std::int32_t Day, Month, Year;
  double Latitude, Longitude;  // degrees, longitude east negative
  const char* City;
};
constexpr TZoneCase kZoneCases[] = {
    {"Pacific/Kiritimati", 15, 6, 2026, 1.87, 157.47, "Kiritimati"},  // +14
    {"Pacific/Auckland", 10, 12, 2026, -41.29, -174.78, "Wellington"},  // +13 with daylight saving
    {"Pacific/Chatham", 15, 6, 2026, -43.95, 176.55, "Waitangi"},       // +12:45
    {"Asia/Kathmandu", 1, 3, 2026, 27.72, -85.32, "Kathmandu"},         // +5:45
    {"Europe/Berlin", 29, 3, 2026, 52.52, -13.40, "Berlin"},            // to daylight saving at 2:00
    {"Europe/Berlin", 25, 10, 2026, 52.52, -13.40, "Berlin"},           // back at 3:00
    {"Etc/UTC", 1, 1, 2026, 51.48, 0.0, "Greenwich"},
    {"America/St_Johns", 15, 1, 2026, 47.56, 52.71, "St. John's"},  // -3:30
    {"Pacific/Honolulu", 15, 7, 2026, 21.31, 157.86, "Honolulu"},   // -10
    {"Pacific/Pago_Pago", 15, 7, 2026, -14.28, 170.70, "Pago Pago"},  // -11
};

// The record at a local date and clock time of the case's place, with the
// zone, extra minutes and daylight-saving hours the program's zone table
// gives for that instant (the world database's way of setting them).
TObserverRecord LocalRecord(const TZoneCase& c, double localHours) {
  TObserverRecord r;
  r.Day = c.Day;
  r.Month = c.Month;
  r.Year = c.Year;
  r.LocalHours = localHours;
  r.Latitude = c.Latitude;
  r.Longitude = c.Longitude;
  r.PlaceName = c.City;
  r.AutoDeltaT = 1;
  r.RefractionOn = 1;
  r.Temperature = 10;
  r.Pressure = 1010;
  for (int pass = 0; pass < 2; ++pass) {  // the offsets of the instant they give
    LocalTimeToUT(r);
    TZoneOffsets offsets;
    EXPECT_TRUE(ZoneOffsetsAt(c.Zone, r.Mjd, offsets)) << c.Zone;
    r.Zone = offsets.Zone;
    r.ZoneMinutes = offsets.ZoneMinutes;
    r.DaylightHours = offsets.DaylightHours;
  }
  LocalTimeToUT(r);
  return r;
}

// A world database of the case's city alone, its zone named.
void WriteOneCityDatabase(const test::TempFolder& folder, const TZoneCase& c) {
  std::string record(kCityRecordSize, '\0');
  const float longitude = static_cast<float>(c.Longitude), latitude = static_cast<float>(c.Latitude);
  std::memcpy(record.data(), &longitude, 4);
  std::memcpy(record.data() + 4, &latitude, 4);
  const std::string name = c.City;
  record[8] = static_cast<char>(name.size());
  std::memcpy(record.data() + 9, name.data(), name.size());
  folder.Write(kCitiesFileName, record);
  std::string index;
  const int group = CityGroup(static_cast<std::uint8_t>(AsciiLower(name[0])));
  for (int line = 0; line <= kCityGroupCount; ++line) index += line <= group ? "1\r\n" : "2\r\n";
  folder.Write(kCityIndexFileName, index);
  folder.Write(kCityZonesFileName, std::string(c.Zone) + "\n");
}

// The status line's date panel up to its sidereal time: date, local time,
// zone, UT and Julian date.
std::string DateAndUT(TMainForm& form) {
  const std::string text = form.Panel("Datumpanel")->text().toStdString();
  return text.substr(0, text.find("   L"));
}

void Click(QWidget& dialog, const char* button) {
  auto* b = dialog.findChild<QPushButton*>(button);
  ASSERT_NE(b, nullptr) << button;
  b->click();
}

// Confirms `dialog` with `button`; one that refuses to close (it found
// something to object to in its own values) is a failure and is cancelled.
void Confirm(QDialog& dialog, const char* button) {
  Click(dialog, button);
  if (!dialog.isVisible()) return;
  ADD_FAILURE() << dialog.windowTitle().toStdString() << " refused to close unchanged";
  dialog.reject();
}

// Every command that shows the date or time and takes it back, confirmed
// without a change, keeps the UT instant (MJD within 1e-8 days) and what the
// status line shows of it, in every zone, at local 00:30, 12:00 and 23:30
// (the UT date another day than the local one in most of them), the
// computer's zone (TZ) set to the place's; and a UT typed into the UT and
// the day-fraction dialogs is the UT the table is computed for.
TEST_F(TimePlaceCommands, EveryTimeEntryKeepsTheInstantInEveryZone) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  const bool keptBefore = TDatumortForm::KeepUT();
  TMainFormState& state = form.State();
  TObserverRecord& start = state.Period.Start;
  TMenuCommands& commands = form.Commands();
  workbook::TWorkbook& sheet = form.Workbook();
  test::TempFolder cities;
  form.StoredSettings().CitiesDatabase = cities.Path().string();

  // Each command in turn: how to confirm its dialogs unchanged.
  const auto confirm = [](const char* button) {
    return [button] { WhenModalShown([button](QDialog& d) { Confirm(d, button); }); };
  };
  const auto confirmPlace = [] {
    WhenModalShown<TOrtwahldialog>([](TOrtwahldialog& d) {
      d.KeepUT()->setChecked(true);
      Confirm(d, "Button1");
    });
  };
  const auto confirmCity = [] {
    WhenModalShown<TDlgCities>([](TDlgCities& d) {
      auto* number = d.findChild<QLineEdit*>("recordNumber");
      number->setText("1");
      emit number->editingFinished();
      d.findChild<QListWidget*>("results")->setCurrentRow(0);
      d.findChild<QCheckBox*>("keepUT")->setChecked(true);
      Confirm(d, "ok");
    });
  };
  const auto confirmDayFraction = [](const char* julianDateButton) {
    return [julianDateButton] {
      WhenModalShown([](QDialog& d) { Confirm(d, "ok"); });
      test::WhenModalAppears<TTagesbranzeige>([julianDateButton](TTagesbranzeige& d) { Confirm(d, julianDateButton); });
    };
  };
  struct TCommand {
    const char* Item;  // the menu item triggered
    std::function<void()> Confirm;
  };
  const TCommand kCommands[] = {
      {"DatumundOrteingeben1", confirm("OK")},
      {"JulianischesDatum1", confirm("ok")},
      {"UTeingeben1", confirm("ok")},
      {"Tagesbruchteil1", confirmDayFraction("ok")},
      {"Tagesbruchteil1", confirmDayFraction("apply")},
      {"ZeitraumfrTabelle1", confirm("OKButton")},  // the automatic end on
      {"ZeitraumfrTabelleJD1", confirm("ok")},      // it goes off: the end is a date
      {"ZeitraumfrTabelle1", confirm("OKButton")},
      {"Ortwhlen1", confirmPlace},
      {"WeltweiteDatenbank1", confirmCity},
  };

  for (const TZoneCase& c : kZoneCases) {
    ScopedSystemZone computer(c.Zone);
    WriteOneCityDatabase(cities, c);
    for (const double localHours : {0.5, 12.0, 23.5}) {
      const std::string where = std::string(c.Zone) + " " + std::to_string(c.Day) + "." + std::to_string(c.Month) +
                                ". " + std::to_string(localHours) + " h: ";
      start = LocalRecord(c, localHours);
      state.Period.AutoEnd = 1;
      form.Tables().ComputeWithoutKind();
      const double mjd = start.Mjd;
      const std::string shown = DateAndUT(form);
      ASSERT_NE(shown.find(" UT  JD: "), std::string::npos) << shown;
      double endMjd = 0;
      for (const TCommand& command : kCommands) {
        if (state.Period.AutoEnd == 0) endMjd = state.Period.End.Mjd;
        command.Confirm();
        commands.Action(command.Item)->trigger();
        EXPECT_NEAR(start.Mjd, mjd, 1e-8) << where << command.Item;
        EXPECT_EQ(DateAndUT(form), shown) << where << command.Item;
        if (endMjd != 0) {
          EXPECT_NEAR(state.Period.End.Mjd, endMjd, 1e-8) << where << command.Item << " (end)";
        }
      }
      // The Julian date written by the "JD/UT" macro, taken back from the
      // sheet; the date list read from that cell.
      sheet.SetActiveCell(1, 1);
      commands.Action("UT2")->trigger();
      sheet.SetSelection(1, 1, 1, 1);
      commands.Action("JdausTabellebernehmen1")->trigger();
      EXPECT_NEAR(start.Mjd, mjd, 1e-8) << where << "JD from the sheet";
      EXPECT_EQ(DateAndUT(form), shown) << where << "JD from the sheet";
      commands.Action("EphemeridenzeitpunkteausTabelle1")->trigger();
      auto* list = form.findChild<TFrmJDListe*>();
      ASSERT_NE(list, nullptr);
      Click(*list, "ok");
      EXPECT_EQ(state.Table.DateListMode, 1) << where;
      EXPECT_NEAR(start.Mjd, mjd, 1e-8) << where << "date list";

      // A typed UT is the instant: 19:30:00 UT on the UT date shown, by the
      // UT dialog and as the day 'd.8125' by the day fraction.
      int day = 0, month = 0, year = 0;
      double hours = 0;
      MjdToCalendarDate(day, month, year, hours, mjd);
      WhenModalShown([](QDialog& d) {
        auto* time = d.findChild<QLineEdit*>("ID103");
        time->setText("19:30:00");
        emit time->editingFinished();
        Confirm(d, "ok");
      });
      commands.Action("UTeingeben1")->trigger();
      EXPECT_NEAR(start.Mjd, CalendarDateToMjd(day, month, year, 19.5), 1e-8) << where << "typed UT";
      EXPECT_NE(DateAndUT(form).find(" 19:30:00 UT "), std::string::npos) << where << DateAndUT(form);
      start = LocalRecord(c, localHours);
      WhenModalShown([day](QDialog& d) {
        auto* text = d.findChild<QLineEdit*>("ID103");
        text->setText(QString::number(day) + ",8125");
        emit text->editingFinished();
        Confirm(d, "ok");
      });
      test::WhenModalAppears<TTagesbranzeige>([](TTagesbranzeige& d) { Confirm(d, "ok"); });
      commands.Action("Tagesbruchteil1")->trigger();
      EXPECT_NEAR(start.Mjd, CalendarDateToMjd(day, month, year, 19.5), 1e-8) << where << "typed day fraction";
      EXPECT_NE(DateAndUT(form).find(" 19:30:00 UT "), std::string::npos) << where << DateAndUT(form);
    }
  }
  TDatumortForm::KeepUT() = keptBefore;
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
}

}  // namespace
}  // namespace kvx
