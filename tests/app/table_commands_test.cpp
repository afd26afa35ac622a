// Mars and the Sun from the menu into the sheet and the grid, with the
// date-and-place and period dialogs filled as a user would; the Mars places
// against the Swiss Ephemeris (fixtures/mars_january_2024_swe.tsv, made by
// make_mars_table_swe.sh).
#include "app/ui/table_commands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>

#include "app/state_vector_sheet.h"
#include "app/ui/eclipse_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "core/records.h"
#include "core/time_scales.h"
#include "engine/moon.h"
#include "engine/nbody_integrator.h"
#include "engine/nbody_setup.h"
#include "engine/search_object.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/text_encoding.h"
#include "platform/workbook/workbook_files.h"
#include "theories/rise_set.h"
#include "support/qt/main_form_test.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "platform/settings_store.h"
#include "support/fixtures.h"
#include "support/cancelling_progress.h"
#include "support/temp_folder.h"
#include "support/qt/save_png.h"

namespace kvx {
namespace {

using test::CancellingProgress;

namespace fs = std::filesystem;

// Runs `act` on the next modal dialog; counts the dialogs seen.
int dialogs_seen = 0;
// The shared hook, counting the dialogs it answered.
void WhenModalShown(const std::function<void(QDialog&)>& act) {
  test::WhenModalShown([act](QDialog& dialog) {
    ++dialogs_seen;
    act(dialog);
  });
}

void Type(QDialog& dialog, const char* name, const QString& text) {
  auto* edit = dialog.findChild<QLineEdit*>(name);
  ASSERT_NE(edit, nullptr) << name;
  edit->setText(text);
  edit->setModified(true);
  emit edit->editingFinished();
}

void Click(QDialog& dialog, const char* name) {
  auto* button = dialog.findChild<QPushButton*>(name);
  ASSERT_NE(button, nullptr) << name;
  button->click();
}

using test::SavePng;

double SeparationArcsec(double ra1, double dec1, double ra2, double dec2) {
  constexpr double d = M_PI / 180.0;
  const double c = std::sin(dec1 * d) * std::sin(dec2 * d) + std::cos(dec1 * d) * std::cos(dec2 * d) * std::cos((ra1 - ra2) * d);
  return std::acos(std::min(1.0, c)) / d * 3600.0;
}

class TableCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
    dialogs_seen = 0;
    RowStore.Clear();  // the store keeps the blocks of earlier tables; the counts below are this table's
  }
};

TEST_F(TableCommands, MarsAndTheSunFromTheMenuIntoTheSheetAndTheGrid) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  ASSERT_TRUE(commands.IsEnabled("Mars1"));
  EXPECT_FALSE(commands.IsEnabled("Planetoid1")) << "no asteroid chosen";
  EXPECT_FALSE(commands.IsEnabled("Komet1")) << "no comet chosen";
  EXPECT_FALSE(commands.IsEnabled("Benutzerkatalog1")) << "no user catalogue";

  // The first planet table asks for date and place.
  WhenModalShown([](QDialog& dialog) {
    Type(dialog, "EditDatum", "1.1.2024");
    Type(dialog, "EditUhrzeit", "0:00:00");
    Type(dialog, "EditGl", "-13°24'");
    Type(dialog, "EditGB", "52°31'");
    Type(dialog, "EditOrt", "Berlin");
    SavePng(dialog, "date_place_dialog_first_table");
    Click(dialog, "OK");
  });
  commands.Action("Mars1")->trigger();
  EXPECT_EQ(dialogs_seen, 1);
  EXPECT_EQ(state.Table.PlaceConfirmed, 1);
  EXPECT_EQ(state.Period.Start.Year, 2024);
  EXPECT_NEAR(state.Period.Start.Longitude, -13.4, 1e-9);
  EXPECT_NEAR(state.Period.Start.Latitude, 52.0 + 31.0 / 60.0, 1e-9);
  EXPECT_EQ(state.Table.TableKind, kNoTableKind);
  EXPECT_EQ(state.Table.PreviousTableKind, 71);
  const int headingRows = form.Workbook().LastRow() - RowStore.Count();
  EXPECT_EQ(RowStore.Count(), 11) << "ten days after the start, daily";
  EXPECT_GE(headingRows, 1);
  EXPECT_LE(headingRows, 3);

  // Ctrl+F8: January 2024, daily. The period command computes nothing: the
  // sheet keeps its table until Mars is asked for again.
  const int marsRows = form.Workbook().LastRow();
  const std::string marsFirstDate = form.Workbook().Text(headingRows + 1, 1);
  WhenModalShown([](QDialog& dialog) {
    auto* autoEnd = dialog.findChild<QCheckBox*>("AutoEnd");
    autoEnd->setChecked(false);
    Type(dialog, "StartDate", "01.01.2024");
    Type(dialog, "StartTime", "00:00:00");
    Type(dialog, "EndDate", "31.01.2024");
    Type(dialog, "EndTime", "00:00:00");
    Click(dialog, "Step1Day");
    SavePng(dialog, "period_dialog");
    Click(dialog, "OKButton");
  });
  commands.Trigger("ZeitraumfrTabelle1");
  EXPECT_EQ(dialogs_seen, 2);
  EXPECT_EQ(form.Workbook().LastRow(), marsRows);
  EXPECT_EQ(form.Workbook().Text(headingRows + 1, 1), marsFirstDate);
  EXPECT_EQ(RowStore.Count(), 11);
  commands.Trigger("Mars1");
  ASSERT_EQ(RowStore.Count(), 31);
  EXPECT_EQ(form.Workbook().LastRow(), headingRows + 31);
  SavePng(form, "main_window_mars");

  // RA and Dec within the planet bound of the internal series (4.3") and
  // its library roads (0.7").
  const test::FixtureTable swe = test::ReadFixture(KVX_FIXTURE_DIR "/mars_january_2024_swe.tsv");
  ASSERT_EQ(swe.Rows(), 31u);
  double worst = 0;
  for (int k = 0; k < 31; ++k) {
    const TEphemerisResultRecord& r = RowStore.Row(k);
    EXPECT_NEAR(r.JD, swe.Number(k, "jd_ut"), 1e-5) << "row " << k;
    worst = std::max(worst, SeparationArcsec(r.Position.RightAscension, r.Position.Declination,
                                             swe.Number(k, "ra"), swe.Number(k, "dec")));
  }
  std::printf("Mars, January 2024: worst %.2f\"\n", worst);
  EXPECT_LT(worst, 4.3);

  // A second Mars table opens no dialog and leaves the changed flag.
  state.Table.TableChanged = 0;
  commands.Action("SpeedButton12")->trigger();
  EXPECT_EQ(dialogs_seen, 2);
  EXPECT_EQ(state.Table.TableChanged, 0);
  commands.Trigger("Venus1");
  commands.Trigger("Mars1");
  EXPECT_EQ(state.Table.TableChanged, 1) << "Mars after Venus";

  // Insert sheet: the new sheet becomes the current one, so the next table
  // goes there and the Mars table stays on the sheet behind it.
  workbook::TWorkbook& book = form.Workbook();
  const int sheets = book.NumSheets();
  const int marsSheet = book.Sheet();
  const std::string marsDate = book.Text(headingRows + 1, 1);
  ASSERT_TRUE(commands.Trigger("Tabelleeinfgen1"));
  ASSERT_EQ(book.NumSheets(), sheets + 1);
  EXPECT_EQ(book.Sheet(), marsSheet);
  EXPECT_EQ(book.LastRow(), 0) << "the new sheet is current";
  EXPECT_EQ(book.TextOn(marsSheet + 1, headingRows + 1, 1), marsDate);

  // The Sun with its twilight columns, then the grid with the same texts.
  commands.Trigger("Sonne1");
  EXPECT_EQ(state.Table.PreviousTableKind, 51);
  ASSERT_EQ(RowStore.Count(), 31);
  const int sheetRows = form.Workbook().LastRow();
  std::vector<std::string> sheetTexts, gridTexts;
  for (int col = 1; col <= 60; ++col)
    if (!form.Workbook().Text(sheetRows, col).empty()) sheetTexts.push_back(form.Workbook().Text(sheetRows, col));
  state.Document.WorkbookView = 0;
  commands.Trigger("Sonne1");
  const tmystringgrid& grid = form.Grid();
  ASSERT_GE(grid.RowCount(), 31);
  for (int col = 0; col < grid.ColCount(); ++col)
    if (!grid.Cells(col, grid.RowCount() - 1).empty()) gridTexts.push_back(grid.Cells(col, grid.RowCount() - 1));
  EXPECT_GT(sheetTexts.size(), 5u);
  ASSERT_EQ(gridTexts.size(), sheetTexts.size());
  for (std::size_t i = 0; i < gridTexts.size(); ++i)
    EXPECT_EQ(gridTexts[i], sheetTexts[i]) << "the last row of the Sun table, column " << i + 1;
  {
    // Save as csv in the grid view exports the grid: every field followed
    // by ";", the caption naming the file.
    test::TempFolder folder;
    test::RecordingFileDialog files;
    ScopedFileDialog scopedFiles(files);
    const std::string csv = folder.File("sun.csv");
    files.QueueAnswer(csv);
    commands.Trigger("AlscsvDateispeichern1");
    const std::string written = test::TempFolder::Read(csv);
    const int last = grid.RowCount() - 1;
    std::string lastLine;
    for (int col = 1; col < grid.ColCount(); ++col) lastLine += workbook::SeparatedField(grid.Cells(col, last), ';') + ";";
    const std::string expected = Utf8ToCp1252(lastLine) + "\r\n";
    ASSERT_GE(written.size(), expected.size());
    EXPECT_EQ(written.substr(written.size() - expected.size()), expected);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), last);
    EXPECT_EQ(form.windowTitle().toStdString(), "Kandrevoltinex 4.6 [" + csv + "]");
  }
  state.Document.WorkbookView = 1;

  // Cancelled during the run: kinds 20, the window usable again.
  CancellingProgress cancelling(3);
  ProgressReporter* previous = SetProgressReporter(&cancelling);
  commands.Trigger("Jupiter1");
  SetProgressReporter(previous);
  EXPECT_EQ(state.Table.TableKind, kNoTableKind);
  EXPECT_EQ(state.Table.PreviousTableKind, kNoTableKind);
  EXPECT_EQ(form.HourglassDepth(), 0);
  EXPECT_EQ(AbortRequested.load(), 0);

  // Pluto with a period leaving its range: the message, nothing computed.
  const int before = form.Workbook().LastRow();
  messages_.messages.clear();
  state.Period.Start.Year = -3000;
  LocalTimeToUT(state.Period.Start);
  commands.Trigger("Pluto1");
  ASSERT_FALSE(messages_.messages.empty());
  EXPECT_NE(messages_.messages.back().text.find("Pluto"), std::string::npos);
  EXPECT_EQ(form.Workbook().LastRow(), before);
  EXPECT_EQ(state.Table.TableKind, kNoTableKind);
}

// Ctrl+F8 with 36890 days from 1 January 2000, daily: the row limit cuts the
// period to 16381 days and switches the automatic end off; opened again, the
// dialog shows the shortened end as a date, ready to be changed.
TEST_F(TableCommands, TheRowLimitLeavesTheShortenedEndAsADate) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMainFormState& state = form.State();
  WhenModalShown([](QDialog& dialog) {
    dialog.findChild<QCheckBox*>("AutoEnd")->setChecked(true);
    Type(dialog, "StartDate", "01.01.2000");
    Type(dialog, "StartTime", "00:00:00");
    Type(dialog, "AutoDays", "36890");
    Type(dialog, "AutoHours", "00:00:00");
    Click(dialog, "Step1Day");
    Click(dialog, "OKButton");
  });
  form.Commands().Trigger("ZeitraumfrTabelle1");
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].text, "To much table entries. The Enddate for the ephemeris was set down.");
  EXPECT_EQ(state.Period.AutoEnd, 0);
  EXPECT_NEAR(state.Period.End.Mjd - state.Period.Start.Mjd, 16381, 1e-6);

  bool autoEnd = true;
  bool daysEnabled = true;
  bool endDateEnabled = false;
  QString days, endDate;
  WhenModalShown([&](QDialog& dialog) {
    autoEnd = dialog.findChild<QCheckBox*>("AutoEnd")->isChecked();
    auto* edit = dialog.findChild<QLineEdit*>("AutoDays");
    days = edit->text();
    daysEnabled = edit->isEnabled();
    endDate = dialog.findChild<QLineEdit*>("EndDate")->text();
    endDateEnabled = dialog.findChild<QLineEdit*>("EndDate")->isEnabled();
    SavePng(dialog, "period_dialog_after_row_limit");
    Click(dialog, "OKButton");
  });
  form.Commands().Trigger("ZeitraumfrTabelle1");
  EXPECT_FALSE(autoEnd);
  EXPECT_EQ(days.toStdString(), "16381");
  EXPECT_FALSE(daysEnabled);
  EXPECT_TRUE(endDateEnabled);
  EXPECT_EQ(endDate.toStdString(), "06.11.2044");  // 1 January 2000 + 16381 days
  // Accepted as shown, the period fits: no second message.
  EXPECT_EQ(messages_.messages.size(), 1u);
  EXPECT_NEAR(state.Period.End.Mjd - state.Period.Start.Mjd, 16381, 1e-6);
}

TEST_F(TableCommands, ADateCommandWithoutChangeLeavesTheTableAndCancelStillConfirms) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  WhenModalShown([](QDialog& dialog) { dialog.reject(); });
  form.Commands().Trigger("Sonne1");
  EXPECT_EQ(dialogs_seen, 0) << "the Sun asks for nothing";
  const int rows = form.Workbook().LastRow();
  ASSERT_GT(rows, 1);
  // Cancel in the date dialog: nothing recomputed, the place counts as confirmed.
  WhenModalShown([](QDialog& dialog) { dialog.reject(); });
  form.Commands().Trigger("DatumundOrteingeben1");
  EXPECT_EQ(dialogs_seen, 1);
  EXPECT_EQ(form.State().Table.PlaceConfirmed, 1);
  EXPECT_EQ(form.Workbook().LastRow(), rows);
  // The planet table after the date dialog asks no more.
  form.Commands().Trigger("Mars1");
  EXPECT_EQ(dialogs_seen, 1);
}

// The Moon, the comet, the user object, the integrated orbits and the state
// vectors, each from its menu item into the sheet.
TEST_F(TableCommands, BodyTablesAndIntegratedOrbitsFromTheirMenuItems) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  workbook::TWorkbook& book = form.Workbook();
  // 1990 Oct 6 to 16, 0h local, daily; the place counts as confirmed.
  TObserverRecord& start = state.Period.Start;
  start.Day = 6;
  start.Month = 10;
  start.Year = 1990;
  start.LocalHours = 0;
  LocalTimeToUT(start);
  TObserverRecord& end = state.Period.End;
  end = start;
  end.Day = 16;
  LocalTimeToUT(end);
  state.Period.AutoEnd = 0;
  state.Table.PlaceConfirmed = 1;
  RowStore.Clear();  // it keeps the blocks of earlier, longer tables
  auto rowsWritten = [&] { return book.LastRow() - RowStore.Count(); };

  // The Moon through the window's own cache.
  ASSERT_TRUE(commands.Action("SpeedButton20")->isEnabled());
  ASSERT_NE(form.MoonCache().Cache, nullptr);
  EXPECT_EQ(MoonPositionCache, form.MoonCache().Cache.get());
  const std::int64_t refits = form.MoonCache().Cache->Refits();
  commands.Action("SpeedButton20")->trigger();
  EXPECT_EQ(state.Table.PreviousTableKind, 61);
  ASSERT_EQ(RowStore.Count(), 11);
  EXPECT_GT(form.MoonCache().Cache->Refits(), refits);
  const int headingRows = rowsWritten();
  EXPECT_GE(headingRows, 1);
  EXPECT_LE(headingRows, 3);
  EXPECT_NEAR(RowStore.Row(0).Position.GeoDistance, 60, 5) << "Earth radii";
  SavePng(form, "main_window_moon");

  // The interpolated Moon of an instant does not depend on what ran before:
  // after a table that began five days earlier, and so left the cache
  // fitted over this period's start, the same table gives the same places
  // and times to the last bit.
  {
    std::vector<TEphemerisResultRecord> first;
    for (int k = 0; k < RowStore.Count(); ++k) first.push_back(RowStore.Row(k));
    const TObserverRecord keptStart = start, keptEnd = end;
    start.Day = 1;
    LocalTimeToUT(start);
    end.Day = 7;
    LocalTimeToUT(end);
    RowStore.Clear();
    commands.Action("SpeedButton20")->trigger();
    ASSERT_EQ(RowStore.Count(), 7);
    start = keptStart;
    end = keptEnd;
    commands.Action("SpeedButton20")->trigger();
    ASSERT_EQ(RowStore.Count(), static_cast<int>(first.size()));
    for (int k = 0; k < RowStore.Count(); ++k) {
      const TEphemerisResultRecord& again = RowStore.Row(k);
      EXPECT_EQ(again.Position.GeoLongitude, first[k].Position.GeoLongitude) << k;
      EXPECT_EQ(again.Position.GeoLatitude, first[k].Position.GeoLatitude) << k;
      EXPECT_EQ(again.Position.GeoDistance, first[k].Position.GeoDistance) << k;
      EXPECT_EQ(again.Position.RightAscension, first[k].Position.RightAscension) << k;
      EXPECT_EQ(again.RiseSet.Levels[TRiseSetBlock::kMoonLevel].Rise,
                first[k].RiseSet.Levels[TRiseSetBlock::kMoonLevel].Rise)
          << k;
    }
  }

  // Moonrise follows the two rise/set options: exact at a fresh start (the
  // upper limb seen from here at -34', the selected theories); without the
  // exact parallax the centre, geocentric, at the Moon's altitude field;
  // without the high accuracy the low-precision Moon. Each against the
  // rise/set search called directly, the Moon's own theory and no cache.
  {
    const TTheorySelection theories = state.Period.Selection;
    state.Period.Selection.bytes[0] = kPlanetTheoryInternal;
    state.Period.Selection.bytes[1] = 0;
    state.Computing.NumericOptions.InterpolateMoon = 0;
    EXPECT_EQ(state.Computing.NumericOptions.ExactMoonParallax, 1);
    EXPECT_EQ(state.Computing.NumericOptions.ExactSunMoon, 1);
    auto moonrise = [&] {
      commands.Trigger("Mond1");
      return RowStore.Row(0).RiseSet.Levels[TRiseSetBlock::kMoonLevel].Rise;
    };
    auto direct = [&](std::uint8_t limb, std::uint8_t accurate) {
      TRiseSetMoonSunDay day;
      RiseSetMoonSun({0, limb, accurate, start.DeltaTSeconds, 0, state.Computing.NumericOptions.HorizonAltitudes,
                      0, state.Period.Selection, kFullTheory, kRiseSetMoonEvent, kRiseSetMoonEvent,
                      kRiseSetMoonBodyCode, MjdToJd(start.Mjd), start.Latitude, -start.Longitude,
                      start.Zone + start.ZoneMinutes / 60.0 + start.DaylightHours},
                     PositionFileHandles{}, day);
      return day.RiseTimes[0];
    };
    auto options = [&](bool parallax, bool accurate, const char* moonAltitude) {
      WhenModalShown([=](QDialog& dialog) {
        dialog.findChild<QCheckBox*>("exactParallax")->setChecked(parallax);
        dialog.findChild<QCheckBox*>("exactSunMoon")->setChecked(accurate);
        auto* field = dialog.findChild<QLineEdit*>("altitude1");
        EXPECT_EQ(field->isEnabled(), !parallax);
        if (!parallax) Type(dialog, "altitude1", moonAltitude);
        dialog.accept();
      });
      commands.Trigger("Optionen2");
    };
    const double exact = moonrise();
    ASSERT_GT(exact, 0) << "a moonrise on the first day";
    EXPECT_NEAR(exact, direct(1, 1), 1e-9);

    options(false, true, "8");
    const double centre = moonrise();
    EXPECT_NEAR(centre, direct(0, 1), 1e-9);
    options(false, true, "60");
    const double high = moonrise();
    EXPECT_NEAR(high, direct(0, 1), 1e-9);
    EXPECT_GT(high - centre, 2.0 / 60.0) << "52' higher: minutes later";

    options(true, false, "");
    const double low = moonrise();
    EXPECT_NEAR(low, direct(1, 0), 1e-9);
    EXPECT_GT(std::fabs(low - exact), 1.0 / 3600.0) << "the low-precision Moon";
    EXPECT_LT(std::fabs(low - exact), 0.1);

    options(true, true, "");
    EXPECT_NEAR(moonrise(), exact, 1e-9);
    state.Period.Selection = theories;
    state.Computing.NumericOptions.InterpolateMoon = 1;
    commands.Trigger("Mond1");
  }

  // The comet: Encke, disabled until chosen.
  EXPECT_FALSE(commands.IsEnabled("Kometenbahn1"));
  // q, e, i, node, perihelion argument, equinox, perihelion time, H, G.
  const TCometElements encke{2.2091404 * (1 - 0.8502196), 0.8502196, 11.94524, 334.75006, 186.23352, 2000,
                             2448193.04502, 9.8, 4, 0, "2P/Encke"};
  state.Objects.CurrentComet = encke;
  form.Tables().RefreshMenus();
  ASSERT_TRUE(commands.Action("SpeedButton18")->isEnabled());
  commands.Trigger("Komet1");
  EXPECT_EQ(state.Table.PreviousTableKind, 41);
  ASSERT_EQ(RowStore.Count(), 11);
  EXPECT_EQ(rowsWritten(), headingRows);
  const TEphemerisResultRecord twoBody = RowStore.Row(10);

  // Integrated without perturbers it stays on the two-body orbit; the
  // element-file data of the same run form the element table.
  commands.Action("SpeedButton32")->trigger();
  EXPECT_EQ(state.Table.PreviousTableKind, 42);
  ASSERT_EQ(RowStore.Count(), 11);
  EXPECT_EQ(RowStore.Row(10).MeanAnomaly, -1000.0);
  EXPECT_LT(SeparationArcsec(RowStore.Row(10).Position.RightAscension, RowStore.Row(10).Position.Declination,
                             twoBody.Position.RightAscension, twoBody.Position.Declination),
            1.0);
  commands.Trigger("Kometen2");
  EXPECT_EQ(state.Table.PreviousTableKind, 4016);
  EXPECT_EQ(rowsWritten(), 1) << "one heading row over the element rows";
  EXPECT_EQ(book.Text(2, 1).find("2P/Encke"), 0u);

  // A start within a day of the element epoch: the message and the period
  // dialog, nothing computed, the sheet as it was.
  const int rowsBefore = book.LastRow();
  state.Objects.CurrentComet.Epoch = MjdToJd(start.Mjd) + 0.5;
  messages_.messages.clear();
  dialogs_seen = 0;
  WhenModalShown([](QDialog& dialog) { dialog.reject(); });
  commands.Trigger("Kometenbahn1");
  EXPECT_EQ(dialogs_seen, 1);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(state.Table.PreviousTableKind, kNoTableKind);
  EXPECT_EQ(book.LastRow(), rowsBefore);
  EXPECT_EQ(book.Text(2, 1).find("2P/Encke"), 0u);
  state.Objects.CurrentComet.Epoch = 0;

  // The slow-theory question guards the integrations: Cancel ends the
  // command; with VSOP switched off for perturbations nothing is asked.
  TTheorySelection& selection = state.Period.Selection;
  const TTheorySelection before = selection;
  selection.bytes[0] = kPlanetTheoryPositionFiles;
  selection.bytes[2] = 0;
  messages_.messages.clear();
  messages_.QueueReply(MessageResult::Cancel);
  state.Computing.WarningsOption = 1;
  commands.Trigger("Kometenbahn1");
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(state.Table.PreviousTableKind, kNoTableKind);
  selection.bytes[2] = 1;
  selection.bytes[0] = kPlanetTheoryInternal;
  commands.Trigger("Kometenbahn1");
  EXPECT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(state.Table.PreviousTableKind, 42);
  selection = before;

  // The integrated asteroid orbit.
  state.Objects.CurrentAsteroid = {2.3617, 0.0887, 7.14, 103.85, 151.2, 40.0, 0.2716, 2000, 2448000.5, 3.2, 0.32, "(4) Vesta"};
  form.Tables().RefreshMenus();
  commands.Action("SpeedButton31")->trigger();
  EXPECT_EQ(state.Table.PreviousTableKind, 22);
  ASSERT_EQ(RowStore.Count(), 11);
  EXPECT_EQ(rowsWritten(), headingRows);
  commands.Trigger("Planetoiden2");
  EXPECT_EQ(state.Table.PreviousTableKind, 4014);
  EXPECT_EQ(book.Text(2, 1).find("(4) Vesta"), 0u);

  // A star of the user catalogue, once the picker is installed; an index
  // outside the list computes nothing.
  form.UserObjects().Add(std::make_unique<tuserobject>("Vega", 18.3656f, 38.4701f, 0.0f, 0.0f, 2000.0f, 0.0f));
  form.Tables().FindUserCatalogObject = nullptr;
  form.Tables().RefreshMenus();
  EXPECT_FALSE(commands.IsEnabled("Benutzerkatalog1")) << "no picker";
  int pick = 0;
  form.Tables().FindUserCatalogObject = [&pick](const tuserlist&) { return pick; };
  form.Tables().RefreshMenus();
  ASSERT_TRUE(commands.IsEnabled("Benutzerkatalog1"));
  commands.Trigger("Benutzerkatalog1");
  EXPECT_EQ(state.Table.PreviousTableKind, 72);
  ASSERT_EQ(RowStore.Count(), 11);
  EXPECT_NEAR(RowStore.Row(0).Position.RightAscension, 279.1, 0.5);
  EXPECT_GT(book.LastRow(), 11);
  messages_.messages.clear();
  pick = 5;
  commands.Trigger("Benutzerkatalog1");
  EXPECT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(book.LastRow(), 0) << "the cleared sheet stays empty";

  // "Write state vector": the integrator's block from A1, read back.
  const TIntegrationSetup& setup = form.Integrator().Setup;
  ASSERT_GE(setup.N, 2);
  commands.Trigger("EingabemaskefrStatusvektor1");
  EXPECT_EQ(book.Text(1, 1), kStartValuesHeader);
  EXPECT_EQ(book.Text(4, 1), BodyNameInLanguage(setup.Names[1], LanguageEnglish != 0));
  EXPECT_FALSE(setup.Names[1].empty());
  EXPECT_EQ(state.Table.TableKind, kNoTableKind);
  EXPECT_EQ(state.Table.ObjectChanged, 1);
  SavePng(form, "main_window_state_vectors");
}

// The two switches of the searches in "Optionen", each ticked alone, with
// VSOP87 D and ELP-2000/82 selected. "Nie die langsame
// ELP2000-Mondtheorie verwenden" takes the Moon's rise, transit and set in
// the Moon table (as the rise/set search called directly with the internal
// lunar series) and the Moon of the searches to the internal series, and
// leaves the Moon's places in the table and the planets of the searches as
// they were. "Schnelle Berechnung von Konjunktionen und Ereignissen" takes
// the planets of the searches to the internal series and leaves the Moon
// table, its rise and set included, as it was. The searches as the search
// commands build them.
TEST_F(TableCommands, SearchSwitchesOfTheOptionsChangeWhatTheySayAndNothingElse) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  const TLibraryAvailability& libraries = form.TheoryState().Libraries;
  if (libraries.Vsop87D == 0 || libraries.Elp2000 == 0) GTEST_SKIP() << "theory libraries not built";
  TObserverRecord& start = state.Period.Start;
  start.Day = 6;
  start.Month = 10;
  start.Year = 1990;
  start.LocalHours = 0;
  LocalTimeToUT(start);
  state.Period.End = start;
  state.Period.End.Day = 16;
  LocalTimeToUT(state.Period.End);
  state.Period.AutoEnd = 0;
  state.Table.PlaceConfirmed = 1;
  state.Computing.NumericOptions.InterpolateMoon = 0;  // the Moon of the table straight from its theory
  TTheorySelection slow = form.Selection();
  slow.bytes[0] = kPlanetTheoryVsop87D;
  slow.bytes[1] = 1;
  form.SetTheorySelection(slow);
  ASSERT_EQ(form.Selection().PlanetTheory(), kPlanetTheoryVsop87D);
  ASSERT_NE(form.Selection().MoonTheory(), 0);

  // What each switch may change: the Moon table's places and rise, transit
  // and set; the Moon and Mars of a search (right ascensions, degrees).
  struct Seen {
    std::vector<double> places, events;
    double searchMoon = 0, searchMars = 0;
  };
  struct SearchProbe : tsuchobjekt {
    using tsuchobjekt::tsuchobjekt;
    using tsuchobjekt::Sample;
  };
  const auto see = [&] {
    Seen seen;
    RowStore.Clear();
    commands.Trigger("Mond1");
    EXPECT_EQ(RowStore.Count(), 11);
    for (int row = 0; row < RowStore.Count(); ++row) {
      const TEphemerisResultRecord& r = RowStore.Row(row);
      seen.places.push_back(r.Position.RightAscension);
      seen.events.push_back(r.RiseSet.Levels[TRiseSetBlock::kMoonLevel].Rise);
      seen.events.push_back(r.RiseSet.Levels[TRiseSetBlock::kMoonLevel].Set);
      seen.events.push_back(r.RiseSet.TransitTime);
    }
    SearchProbe search(EclipseSearchContext(state.Computing, state.Period));
    TSearchSample sample;
    EXPECT_TRUE(search.Sample(search_kind::kMoon, start, start.Mjd, 1, 1, 1, sample));
    seen.searchMoon = sample.Record().Position.RightAscension;
    EXPECT_TRUE(search.Sample(search_kind::kMars, start, start.Mjd, 1, 1, 1, sample));
    seen.searchMars = sample.Record().Position.RightAscension;
    return seen;
  };
  const auto tick = [&](bool newcomb, bool neverElp) {
    WhenModalShown([=](QDialog& dialog) {
      dialog.findChild<QCheckBox*>("fastConjunctions")->setChecked(newcomb);
      dialog.findChild<QCheckBox*>("neverSlowElp")->setChecked(neverElp);
      dialog.accept();
    });
    commands.Trigger("Optionen2");
  };
  // The rise, transit and set of the table's days by the search called
  // directly with the internal lunar series.
  const auto internalEvents = [&] {
    std::vector<double> events;
    TTheorySelection internalMoon = form.Selection();
    internalMoon.bytes[1] = 0;
    const TObserverRecord& o = start;
    for (int row = 0; row < RowStore.Count(); ++row) {
      TRiseSetMoonSunDay day;
      RiseSetMoonSun({0, 1, 1, o.DeltaTSeconds, 0, state.Computing.NumericOptions.HorizonAltitudes, 0, internalMoon,
                      state.Computing.Accuracy.VsopLevelA, kRiseSetMoonEvent, kRiseSetMoonEvent,
                      kRiseSetMoonBodyCode, MjdToJd(o.Mjd) + row, o.Latitude, -o.Longitude,
                      o.Zone + o.ZoneMinutes / 60.0 + o.DaylightHours},
                     PositionFileHandles{}, day);
      events.insert(events.end(), {day.RiseTimes[0], day.SetTimes[0], day.TransitTime});
    }
    return events;
  };
  const auto near = [](const std::vector<double>& a, const std::vector<double>& b, double tolerance) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (!(std::fabs(a[i] - b[i]) <= tolerance)) return false;
    return true;
  };

  tick(false, false);
  const Seen plain = see();
  ASSERT_FALSE(near(plain.events, internalEvents(), 1e-5)) << "the two Moon theories differ by about 0.1 s";

  tick(false, true);
  const Seen neverElp = see();
  EXPECT_EQ(neverElp.places, plain.places) << "the Moon's places keep ELP-2000/82";
  // (Delta T of the start for every day: 1e-6 h.)
  EXPECT_TRUE(near(neverElp.events, internalEvents(), 1e-6)) << "rise, transit and set by the internal series";
  EXPECT_GT(std::fabs(neverElp.searchMoon - plain.searchMoon), 1e-5) << "the searches' Moon by the internal series";
  EXPECT_EQ(neverElp.searchMars, plain.searchMars) << "the searches' planets keep VSOP87";

  tick(true, false);
  const Seen newcomb = see();
  EXPECT_EQ(newcomb.places, plain.places);
  EXPECT_EQ(newcomb.events, plain.events) << "rise, transit and set keep ELP-2000/82";
  EXPECT_GT(std::fabs(newcomb.searchMars - plain.searchMars), 1e-5) << "the searches' planets by the internal series";
  EXPECT_EQ(form.Selection().bytes, slow.bytes) << "the window's selection stays";
  EXPECT_TRUE(messages_.messages.empty());
}

}  // namespace
}  // namespace kvx
