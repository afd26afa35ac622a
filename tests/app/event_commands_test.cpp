// "Ereignis suchen" from its menu item, offscreen, as a user would: Mars,
// opposition, the ephemeris period, results into the sheet -> the table of
// kind 84; then a search without the period answered "Nochmals", then
// "Datum weiterverwenden", then "Schließen und Datum weiterverwenden": the
// main window's date is the second event's own instant. Cancel restores the
// date; a start outside Pluto's range offers Neptune instead. Pictures of
// the dialog (both languages), the event-found window and the main window
// with the table go to test-output.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <functional>
#include <string>

#include "app/status_line.h"
#include "app/ui/event_found.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/text_conversion.h"
#include "core/name_tables.h"
#include "events/ui/event_search_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::SetBerlinDate;

using test::WhenModalShown;

class EventCommands : public test::MainFormTest {
 protected:
  void TearDown() override { LanguageEnglish = 0; }
};

TEST_F(EventCommands, SearchFromTheMenuIntoTheSheetAndHandTheDateOver) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  form.SetLanguage(0);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  state.Computing.NumericOptions.FastConjunctions = 1;  // the internal series, no theory question
  ASSERT_TRUE(commands.IsEnabled("Ereignissuchen1"));
  SetBerlinDate(state.Period.Start, 1, 1, 2020);
  SetBerlinDate(state.Period.End, 31, 12, 2020);
  state.Period.AutoEnd = 0;
  SetAutoEndSwitch(state.Period.End, 0);

  // Mars, opposition, 2020 into the sheet.
  int found = -1;
  WhenModalShown([&found](QDialog& dialog) {
    auto& search = static_cast<TExtremumsuchen&>(dialog);
    EXPECT_EQ(search.windowTitle(), "Ereignis suchen");
    EXPECT_TRUE(search.HelpButton->isVisible());
    search.ObjectRadios[3]->click();
    search.KindRadios[6]->click();
    EXPECT_FALSE(search.KindRadios[8]->isEnabled());  // elongations are Mercury's and Venus's
    search.UsePeriodCheck->setChecked(true);
    search.TableCheck->setChecked(true);
    EXPECT_FALSE(search.PeriodLabel->text().isEmpty());
    test::SavePng(dialog, "event_search_dialog_de");
    search.SearchButton->click();
    found = search.ListBox->count();
    EXPECT_FALSE(search.HandOverButton->isEnabled());  // never in period mode
    search.CloseButton->click();
  });
  commands.Action("Ereignissuchen1")->trigger();
  EXPECT_EQ(found, 1);
  EXPECT_EQ(state.Table.PreviousTableKind, 84);
  workbook::TWorkbook& book = form.Workbook();
  EXPECT_EQ(book.Text(2, 1), "Mars");
  EXPECT_EQ(book.Text(2, 2), "Opposition");
  EXPECT_EQ(book.LastRow(), 2);
  EXPECT_EQ(state.Period.Start.Day, 1);  // "Schließen" keeps the date
  EXPECT_EQ(state.Searches.EventSearchOptions.ObjectCode, 3);
  EXPECT_EQ(state.Searches.EventUsesPeriod, 1);
  EXPECT_TRUE(messages_.messages.empty());
  test::SavePng(form, "main_window_event_table");

  // English, without the period: "Again", "Use date", then the hand-over;
  // the period ends automatically ten days after its start.
  form.SetLanguage(1);
  state.Period.AutoEnd = 1;
  SetAutoEndSwitch(state.Period.End, 1);
  state.Period.End.PeriodDays = 10;
  state.Period.End.PeriodHours = 0;
  double lastEvent = 0;
  bool pictured = false;
  std::function<void(TEreignisgefundenForm&)> answer;
  int answers = 0;
  answer = [&](TEreignisgefundenForm& foundForm) {
    if (answers++ == 0) {
      test::SavePng(foundForm, "event_found_dialog");
      test::WhenModalAppears<TEreignisgefundenForm>(answer);
      foundForm.AgainButton()->click();
    } else {
      foundForm.UseDateButton()->click();
    }
  };
  WhenModalShown([&](QDialog& dialog) {
    auto& search = static_cast<TExtremumsuchen&>(dialog);
    EXPECT_EQ(search.windowTitle(), "Find event");
    EXPECT_FALSE(search.HelpButton->isVisible());
    EXPECT_EQ(search.AsteroidLabel->text(), "No asteroid");  // the record keeps the German name
    EXPECT_TRUE(search.ObjectRadios[3]->isChecked());
    EXPECT_TRUE(search.KindRadios[6]->isChecked());
    search.UsePeriodCheck->setChecked(false);
    if (!pictured) test::SavePng(dialog, "event_search_dialog_en");
    pictured = true;
    test::WhenModalAppears<TEreignisgefundenForm>(answer);
    search.SearchButton->click();
    EXPECT_EQ(answers, 2);
    ASSERT_TRUE(search.HandOverButton->isEnabled());
    lastEvent = search.HandOverRecord().Mjd;
    search.HandOverButton->click();
  });
  commands.Trigger("Ereignissuchen1");
  // The second opposition after 2020 Jan 1: 2022 Dec 8.
  EXPECT_NEAR(lastEvent, 59921.2, 0.5);
  EXPECT_NEAR(state.Period.Start.Mjd, lastEvent, 1e-6);  // the local-time completion rounds
  EXPECT_EQ(state.Period.Start.Year, 2022);
  EXPECT_EQ(state.Period.Start.Month, 12);
  EXPECT_EQ(state.Period.Start.Day, 8);
  EXPECT_EQ(form.Panel("Datumpanel")->text().toStdString(),
            DatePanelText(state.Period.Start, state.Period.ApparentSiderealTime));
  // Right after the hand-over the panel shows the event's UT, not the one
  // the record held before.
  std::string eventUT;
  HourToTimeStr((lastEvent - std::floor(lastEvent)) * 24.0, eventUT);
  EXPECT_NE(form.Panel("Datumpanel")->text().toStdString().find(eventUT + " UT"), std::string::npos)
      << form.Panel("Datumpanel")->text().toStdString() << " / " << eventUT;
  // The next table runs from the event on: no question about the period.
  messages_.messages.clear();
  state.Table.PlaceConfirmed = 1;
  commands.Trigger("Sonne1");
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
  EXPECT_EQ(state.Table.PreviousTableKind, 51);
  EXPECT_NEAR(state.Period.End.Mjd - state.Period.Start.Mjd, 10, 1e-6);

  // Pluto chosen, a start before the internal series' range (1889): Pluto
  // is disabled and Neptune chosen instead. Cancel: the date as it was, the
  // options untouched.
  state.Searches.EventSearchOptions.ObjectCode = 8;
  SetBerlinDate(state.Period.Start, 1, 1, 1850);
  const double before = state.Period.Start.Mjd;
  WhenModalShown([](QDialog& dialog) {
    auto& search = static_cast<TExtremumsuchen&>(dialog);
    EXPECT_FALSE(search.ObjectRadios[8]->isEnabled());
    EXPECT_TRUE(search.ObjectRadios[7]->isChecked());
    EXPECT_TRUE(search.KindRadios[6]->isChecked());
    search.ObjectRadios[1]->click();
    search.CancelButton->click();
  });
  commands.Trigger("Ereignissuchen1");
  EXPECT_DOUBLE_EQ(state.Period.Start.Mjd, before);
  EXPECT_EQ(state.Searches.EventSearchOptions.ObjectCode, 8);
  EXPECT_EQ(AbortRequested, 0);
}

}  // namespace
}  // namespace kvx
