// The conjunction lists of user objects from the menu, offscreen:
// "&Planets and stars..." with the Sun against three stars over 2025 into the
// kind-81 table, its bad inputs and a cancelled run; "&Konjunktionen für
// Objektlisten..." (German) with three asteroids of the built-in list into
// the kind-86 table; pictures of both dialogs in both languages and of the
// tables.
#include "app/ui/user_conjunction_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <functional>
#include <memory>

#include "app/ui/element_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "catalogues/ui/element_dialogs.h"
#include "core/name_tables.h"
#include "events/ui/conjunction_list_dialog.h"
#include "events/ui/planet_user_object_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

template <typename T>
T* Child(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

void SetDate(TObserverRecord& r, int day, int month, int year) {
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = 0;
  r.Latitude = 50;
  r.Longitude = -10;
  r.Zone = 1;
  r.DaylightHours = 0;
  LocalTimeToUT(r);
}

void AddStar(tuserlist& list, const char* name, double raHours, double decDeg, double magnitude) {
  auto object = std::make_unique<tuserobject>(name, 0.f, 0.f, 0.f, 0.f, 2000.f, 0.f);
  object->Angle1 = static_cast<float>(raHours);
  object->Angle2 = static_cast<float>(decDeg);
  object->Value6 = static_cast<float>(magnitude);
  list.Add(std::move(object));
}

class UserConjunctionCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
  }
  void TearDown() override { AbortRequested = 0; }
};

TEST_F(UserConjunctionCommands, BothListsFromTheMenuIntoTheirTables) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  ASSERT_TRUE(commands.IsEnabled("PlanetenundSterne1"));
  ASSERT_TRUE(commands.IsEnabled("KonjunktionenfrObjektlisten1"));
  form.SetTheorySelection(TTheorySelection{});  // internal series: no slow question
  SetDate(state.Period.Start, 1, 1, 2025);
  SetDate(state.Period.End, 1, 1, 2026);
  state.Period.AutoEnd = 0;
  state.Table.PlaceConfirmed = 1;
  AddStar(form.UserObjects(), "Regulus", 10.1395, 11.9672, 1.4);
  AddStar(form.UserObjects(), "Spica", 13.4199, -11.1613, 1.0);
  AddStar(form.UserObjects(), "Antares", 16.4901, -26.4320, 0.9);
  state.Objects.ElementFileRanges.UserCatalogue = {0, -1};

  // The Sun in right ascension: a conjunction with each star.
  int rows = -1;
  test::WhenModalAppears<TKonjPlanStar>([&](TKonjPlanStar& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Conjunctions of planets and user defined objects");
    EXPECT_EQ(dialog.UserRangeLabel()->text(), "1-3");
    // Bad inputs keep the old values.
    dialog.StepEdit()->setText("0.1");
    EXPECT_FALSE(dialog.Edit300Exit());
    dialog.UserMagnitudeEdit()->setText("50");
    EXPECT_FALSE(dialog.FloatEdit2Exit());
    EXPECT_EQ(dialog.UserMagnitudeEdit()->text(), "30.0");
    dialog.StepEdit()->setText("15");
    dialog.BodyGroup()->button(0)->click();
    dialog.KindGroup()->button(0)->click();
    EXPECT_TRUE(dialog.Button1Click());
    rows = dialog.Results()->count();
    EXPECT_EQ(dialog.FoundLabel()->text(), "3");
    test::SavePng(dialog, "planet_user_object_dialog_en");
    Child<QPushButton>(dialog, "OkButton")->click();
  });
  commands.Trigger("PlanetenundSterne1");
  EXPECT_EQ(rows, 3);
  ASSERT_EQ(form.Events().Count(), 3);
  EXPECT_EQ(state.Table.PreviousTableKind, 81);
  auto shown = [this](const std::string& text) {
    return std::count_if(messages_.messages.begin(), messages_.messages.end(),
                         [&](const RecordedMessage& m) { return m.text == text; });
  };
  EXPECT_GE(shown("The distance between two iterations must be >=0,25 and <=25 days!"), 1);
  EXPECT_GE(shown("Please enter realistic values."), 1);
  workbook::TWorkbook& book = form.Workbook();
  EXPECT_EQ(book.Text(2, 1), "Regulus");
  test::SavePng(form, "planet_user_object_table_en");
  EXPECT_EQ(form.HeldConfiguration().ConjunctionOptions.ChosenBody, 0);
  EXPECT_EQ(form.HeldConfiguration().ConjunctionOptions.Step, 15);

  // A cancelled search keeps what it found; Cancel keeps the held options.
  RecordingProgress progress;
  progress.abort_at_step = 60;
  ProgressReporter* previous = SetProgressReporter(&progress);
  test::WhenModalAppears<TKonjPlanStar>([&](TKonjPlanStar& dialog) {
    EXPECT_EQ(dialog.Results()->count(), 0) << "the list is cleared when the dialog opens";
    dialog.BodyGroup()->button(9)->click();  // the Moon
    dialog.Button1Click();
    EXPECT_LT(dialog.Results()->count(), 13 * 3);
    EXPECT_TRUE(dialog.FindButton()->isEnabled());
    Child<QPushButton>(dialog, "CancelButton")->click();
  });
  commands.Trigger("PlanetenundSterne1");
  SetProgressReporter(previous);
  EXPECT_EQ(form.HeldConfiguration().ConjunctionOptions.ChosenBody, 0);

  // German: the user objects against three asteroids of the built-in list.
  form.SetLanguage(0);
  ElementDialogCommandsOf(form)->AsteroidDialog().Planetoidentabelle1.LoadBuiltInList();
  ElementDialogCommandsOf(form)->AsteroidDialog().Planetoidentabelle1.Loaded = 1;
  state.Objects.ElementFileRanges.AsteroidFile = {0, 2};
  state.Objects.AsteroidDatabase = 0;
  form.HeldConfiguration().ConjunctionListComets = 0;
  form.HeldConfiguration().ConjunctionOptions.MinorBodyMagnitudeLimit = 12;
  rows = -1;
  test::WhenModalAppears<TKonjlistdlg>([&](TKonjlistdlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Liste mit Konjunktionen erzeugen");
    EXPECT_EQ(dialog.AsteroidRangeLabel()->text(), "1-3");
    EXPECT_EQ(dialog.Source(), 0);
    EXPECT_TRUE(dialog.Button1Click());
    rows = dialog.Results()->count();
    EXPECT_EQ(dialog.TotalBar()->value(), 100);  // every pair searched: the bar ends full
    test::SavePng(dialog, "conjunction_list_dialog_de");
    Child<QPushButton>(dialog, "OkButton")->click();
  });
  commands.Trigger("KonjunktionenfrObjektlisten1");
  EXPECT_GT(rows, 0);
  EXPECT_EQ(form.Events().Count(), rows);
  EXPECT_EQ(state.Table.PreviousTableKind, 86);
  test::SavePng(form, "conjunction_list_table_de");

  // The remaining pictures: the list dialog in English, the planet dialog
  // in German; both cancelled.
  test::WhenModalAppears<TKonjPlanStar>([&](TKonjPlanStar& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Konjunktionen von Planeten mit benutzerdefinierten Objekten");
    test::SavePng(dialog, "planet_user_object_dialog_de");
    Child<QPushButton>(dialog, "CancelButton")->click();
  });
  commands.Trigger("PlanetenundSterne1");
  form.SetLanguage(1);
  test::WhenModalAppears<TKonjlistdlg>([&](TKonjlistdlg& dialog) {
    test::SavePng(dialog, "conjunction_list_dialog_en");
    Child<QPushButton>(dialog, "CancelButton")->click();
  });
  commands.Trigger("KonjunktionenfrObjektlisten1");
}

}  // namespace
}  // namespace kvx
