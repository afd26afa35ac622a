// The almanac and the overview of today from the menu: the dialog's buttons
// (byte 28 follows "Alle auswählen"/"Alle abwählen" of the event group),
// Cancel keeping the records, "&Schließen" storing without a table, the
// almanac of a month into the sheet, and the overview with a fixed clock,
// the Moon theory given back afterwards. PNGs of the dialog in both
// languages and of both tables.
#include "app/ui/almanac_commands.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "events/almanac.h"
#include "events/ui/almanac_dialog.h"
#include "platform/globals.h"
#include "platform/settings_store.h"
#include "support/fixed_clock.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::WhenModalShown;
using test::SetDate;
using test::SavePng;

TEST(AlmanacDialog, ButtonsAndLanguages) {
  InitCoreTablesAtStartup(IntlSeparators);
  TConjunctionOptions conjunction;
  TAlmanacOptions options;
  for (const int english : {0, 1}) {
    LanguageEnglish = static_cast<std::uint8_t>(english);
    TAlmanachdlg dialog(conjunction, options);
    dialog.findChild<QPushButton*>("Button4")->click();
    EXPECT_TRUE(dialog.Options.Section(almanac_section::kSpare));
    EXPECT_TRUE(dialog.Options.Kind(search_code::kLast));
    EXPECT_FALSE(dialog.Options.Body(0));
    dialog.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(dialog.Options.SelectedBodies(), 10);
    dialog.findChild<QPushButton*>("Button3")->click();
    EXPECT_FALSE(dialog.Options.Section(almanac_section::kSpare));
    EXPECT_FALSE(dialog.Options.Kind(search_code::kPerihelion));
    EXPECT_EQ(dialog.findChild<QPushButton*>("BitBtn1")->text(),
              english ? QString("Create almanac") : QString("Almanach er&zeugen"));
    dialog.show();
    QApplication::processEvents();
    // German shows "&Hilfe"; English has no help button.
    EXPECT_EQ(dialog.findChild<QPushButton*>("HelpButton")->isVisible(), english == 0);
    SavePng(dialog, english ? "almanac_dialog_en" : "almanac_dialog_de");
  }
  LanguageEnglish = 0;
}

TEST(AlmanacCommands, AlmanacAndTodayFromTheMenu) {
  test::TempFolder home;
  setenv("XDG_CONFIG_HOME", (home.Path() / "config").c_str(), 1);
  InitCoreTablesAtStartup(IntlSeparators);
  LanguageEnglish = 0;
  MemorySettingsStore store;
  store.WriteBool("Settings", "FirstRun", false);
  ScopedSettingsStore settings(store);
  RecordingMessageSink messages;
  TMainForm form;
  form.resize(1200, 700);
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages);
  TTheorySelection internal = form.Selection();
  internal.bytes[0] = 0;
  internal.bytes[1] = 0;
  form.SetTheorySelection(internal);
  TMainFormState& state = form.State();
  TObserverRecord& start = state.Period.Start;
  start.Zone = 1;
  start.DaylightHours = 0;
  start.AutoDeltaT = 0;
  start.DeltaTSeconds = 69;
  SetDate(start, 1, 8, 2017);
  state.Period.AutoEnd = 0;
  state.Period.End = start;
  SetDate(state.Period.End, 1, 9, 2017);
  start.PlaceName = "Braunschweig";
  state.Table.PlaceConfirmed = 1;
  TMenuCommands& commands = form.Commands();
  ASSERT_TRUE(commands.IsEnabled("Almanach1"));

  // Cancel keeps the records; Close stores them and makes no table.
  const auto before = form.HeldConfiguration().AlmanacRaw;
  WhenModalShown([](QDialog& d) {
    d.findChild<QPushButton*>("Button1")->click();
    d.findChild<QPushButton*>("BitBtn2")->click();
  });
  commands.Trigger("Almanach1");
  EXPECT_EQ(form.HeldConfiguration().AlmanacRaw, before);
  const std::int32_t kindBefore = state.Table.TableKind;
  WhenModalShown([](QDialog& d) {
    d.findChild<QPushButton*>("Button2")->click();
    d.findChild<QPushButton*>("Button3")->click();
    d.findChild<QAbstractButton*>("CheckBox10")->click();   // the Moon
    d.findChild<QAbstractButton*>("CheckBox13")->click();   // perigee
    d.findChild<QAbstractButton*>("CheckBox38")->click();   // phases
    d.findChild<QPushButton*>("BitBtn3")->click();
  });
  commands.Trigger("Almanach1");
  EXPECT_EQ(state.Table.TableKind, kindBefore);
  EXPECT_EQ(form.HeldConfiguration().AlmanacRaw[38], 1);
  EXPECT_EQ(form.HeldConfiguration().AlmanacRaw[27], 1);
  EXPECT_EQ(form.HeldConfiguration().AlmanacRaw[0], 0);

  // "Almanach er&zeugen" over August 2017: the Moon's perigees and phases.
  WhenModalShown([](QDialog& d) { d.findChild<QPushButton*>("BitBtn1")->click(); });
  commands.Trigger("Almanach1");
  EXPECT_EQ(state.Table.PreviousTableKind, 85);
  workbook::TWorkbook& book = form.Workbook();
  EXPECT_EQ(book.Text(2, 3), SearchBodyNames[9]);
  int rows = 0;
  while (!book.Text(rows + 2, 1).empty()) ++rows;
  EXPECT_GE(rows, 5);  // two perigees at most, four or five phases
  SavePng(form, "almanac_sheet");

  // March 2025 with the seasons, a slow theory answered "No": the quick
  // theories stay selected after the run, and the season row reads
  // "Frühlingsanfang" ("Spring equinox").
  TTheorySelection slowTheories = form.Selection();
  slowTheories.bytes[0] = 1;
  slowTheories.bytes[1] = 1;
  form.SetTheorySelection(slowTheories);
  SetDate(start, 1, 3, 2025);
  SetDate(state.Period.End, 31, 3, 2025);
  messages.messages.clear();
  messages.QueueReply(MessageResult::No);
  WhenModalShown([](QDialog& d) {
    d.findChild<QAbstractButton*>("CheckBox37")->click();  // seasons
    d.findChild<QPushButton*>("BitBtn1")->click();
  });
  commands.Trigger("Almanach1");
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(form.Selection().PlanetTheory(), 0);
  EXPECT_EQ(form.Selection().MoonTheory(), 0);
  EXPECT_TRUE(commands.IsChecked("NewcombscheTheorienverwenden1"));
  EXPECT_EQ(form.Panel("PanelVSOP")->text(), "Newcomb");
  int spring = 0;
  for (int r = 2; r < 100 && !book.Text(r, 1).empty(); ++r) {
    spring += book.Text(r, 4) == ByLanguage("Frühlingsanfang", "Spring equinox");
  }
  EXPECT_EQ(spring, 1);
  SavePng(form, "almanac_march");

  // Today with a fixed clock: 2017 Aug 20, the eclipse of the 21st.
  FixedClock clock(FixedClock::At(2017, 8, 20, 8, 30, 0));
  ScopedSystemClock now(clock);
  // A slow planet theory brings the overview's own question; "No" runs it
  // on the internal series; the selection comes back afterwards.
  TTheorySelection elp = form.Selection();
  elp.bytes[0] = 1;
  elp.bytes[1] = 1;
  form.SetTheorySelection(elp);
  const TTheorySelection slow = form.Selection();
  messages.messages.clear();
  messages.QueueReply(MessageResult::No);
  const std::uint8_t language = form.Language();
  form.SetLanguage(0);  // the two questions differ in German only
  commands.Trigger("Heute1");
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text.rfind("Zur Zeit wird eine genaue, aber langsame Rechenmethode", 0), 0u)
      << messages.messages[0].text;
  EXPECT_EQ(form.Selection().bytes, slow.bytes);
  EXPECT_EQ(state.Table.PreviousTableKind, 87);
  bool eclipse = false;
  for (int r = 2; r < 200 && !book.Text(r, 1).empty(); ++r) {
    eclipse = eclipse || book.Text(r, 3).rfind(ByLanguage("Sonnenfinsternis", "Solar eclipse"), 0) == 0;
  }
  EXPECT_TRUE(eclipse);
  SavePng(form, "today_sheet");

  // The Moon's slow theory alone asks as well; Cancel makes no table. With
  // the setting that never uses it for searches the overview asks nothing.
  TTheorySelection elpMoon = form.Selection();
  elpMoon.bytes[0] = 0;
  elpMoon.bytes[1] = 1;
  form.SetTheorySelection(elpMoon);
  state.Table.PreviousTableKind = 0;
  messages.messages.clear();
  messages.QueueReply(MessageResult::Cancel);
  commands.Trigger("Heute1");
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text.rfind("Zur Zeit wird eine genaue, aber langsame Rechenmethode", 0), 0u);
  EXPECT_EQ(state.Table.PreviousTableKind, 0);
  EXPECT_EQ(form.Selection().MoonTheory(), 1);
  form.Computing().NumericOptions.NeverSlowElp = 1;
  messages.messages.clear();
  commands.Trigger("Heute1");
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(state.Table.PreviousTableKind, 87);
  form.Computing().NumericOptions.NeverSlowElp = 0;
  form.SetLanguage(language);
}

}  // namespace
}  // namespace kvx
