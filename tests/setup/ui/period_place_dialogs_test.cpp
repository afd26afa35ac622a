// The period, date-and-place and location dialogs and the edit controls,
// driven as a user would: refused fields keep the dialog open with their
// message, OK copies back, Cancel changes nothing. Pictures of each dialog
// go to test-output.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "core/name_tables.h"
#include "core/observer_record.h"
#include "core/time_scales.h"
#include "dialog_test_support.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "setup/edit_rules.h"
#include "setup/ui/date_place_dialog.h"
#include "setup/ui/dialog_owner.h"
#include "setup/ui/edit_controls.h"
#include "setup/ui/location_dialog.h"
#include "setup/ui/period_dialog.h"
#include "setup/ui/time_entry_dialogs.h"
#include "support/fixed_clock.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "theories/observer_completion.h"

namespace kvx {
namespace {

using test::Child;
using test::WhenModalShown;

void Type(QWidget& dialog, const char* name, const QString& text) {
  auto* edit = Child<QLineEdit>(dialog, name);
  ASSERT_NE(edit, nullptr) << name;
  edit->setText(text);
  edit->setModified(true);
  emit edit->editingFinished();
}

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    LanguageEnglish = 0;
    SetDialogOwner(&owner_);
  }
  void TearDown() override { SetDialogOwner(nullptr); }
  static TObserverRecord Record(int day, int month, int year, double hours) {
    TObserverRecord r;
    r.Day = day;
    r.Month = month;
    r.Year = year;
    r.LocalHours = hours;
    r.Zone = 1;
    LocalTimeToUT(r);
    return r;
  }
  // An observer on 15 April 2024 at 12:00 local time, Delta T 69 s, at
  // latitude 50 and longitude -10 (east negative), height 0, 10 degrees C,
  // 1010 mbar, refraction on.
  static TObserverRecord Observer(int zone, int minutes, int daylight, const char* place, bool autoDeltaT) {
    TObserverRecord r;
    r.Day = 15;
    r.Month = 4;
    r.Year = 2024;
    r.Zone = zone;
    r.ZoneMinutes = minutes;
    r.DaylightHours = daylight;
    r.LocalHours = 12;
    r.DeltaTSeconds = 69;
    r.Latitude = 50;
    r.Longitude = -10;
    r.PlaceName = place;
    r.Height = 0;
    r.Temperature = 10;
    r.Pressure = 1010;
    r.RefractionOn = 1;
    r.AutoDeltaT = autoDeltaT ? 1 : 0;
    return r;
  }
  QWidget owner_;
  RecordingMessageSink sink_;
  MemorySettingsStore store_;
};

TEST_F(Dialogs, PeriodDialogRefusesAndAcceptsByItsRules) {
  ScopedMessageSink messages(sink_);
  TObserverRecord start = Record(1, 1, 2024, 0), end = Record(31, 1, 2024, 0);
  TTableStep step;
  std::int32_t minutes = 0, seconds = 0, interval = 5, span = 8;

  // Cancel leaves everything as it was.
  WhenModalShown([](QDialog& dialog) { dialog.reject(); });
  const TObserverRecord before = end;
  EXPECT_EQ(ShowPeriodDialog(minutes, seconds, start, end, interval, span, step), 0);
  EXPECT_EQ(end.Mjd, before.Mjd);
  EXPECT_EQ(minutes, 0);

  // Step 0 d 00:00:00 refused; 00:00:02 accepted. Year 20001 refused,
  // 20000 accepted; the phase step 0 min 0 s comes back as 1 min.
  WhenModalShown([this](QDialog& dialog) {
    Type(dialog, "StepDays", "0");
    Type(dialog, "StepHours", "00:00:00");
    Child<TEditUhrzeithms>(dialog, "StepHours")->SetUhrzeit(0);
    sink_.messages.clear();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_FALSE(sink_.messages.empty());
    EXPECT_NE(sink_.messages.back().text.find("Intervall in Tagen und in Stunden"), std::string::npos);
    Type(dialog, "StepHours", "00:00:02");
    Type(dialog, "EndDate", "01.01.20001");
    sink_.messages.clear();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_FALSE(sink_.messages.empty());
    EXPECT_EQ(sink_.messages.back().text, "Enddatum: Jahr muß Ganzzahl >=-4711 und <=20000 sein!");
    Type(dialog, "EndDate", "01.01.20000");
    test::SavePicture(dialog, "period_dialog_german");
    dialog.accept();
  });
  EXPECT_EQ(ShowPeriodDialog(minutes, seconds, start, end, interval, span, step), 1);
  EXPECT_EQ(step.Days, 0);
  EXPECT_NEAR(step.Hours * 3600, 2.0, 1e-6);
  EXPECT_EQ(end.Year, 20000);
  EXPECT_NEAR(end.LocalHours, 5e-08, 1e-12) << "the end time carries its extra";
  EXPECT_EQ(minutes, 1);
  EXPECT_EQ(PeriodAccepted(end), 1);

  // The automatic end: 2 days and 12 hours after the start; the greyed end
  // follows the start and the length as they are typed.
  WhenModalShown([](QDialog& dialog) {
    Child<QCheckBox>(dialog, "AutoEnd")->setChecked(true);
    Child<QLineEdit>(dialog, "StartDate")->setText("30.12.2023");
    Child<QLineEdit>(dialog, "StartTime")->setText("18:00:00");
    Child<QLineEdit>(dialog, "AutoDays")->setText("2");
    Child<QLineEdit>(dialog, "AutoHours")->setText("12:00:00");
    EXPECT_EQ(Child<QLineEdit>(dialog, "EndDate")->text(), "02.01.2024");
    EXPECT_EQ(Child<QLineEdit>(dialog, "EndTime")->text(), "06:00:00");
    EXPECT_EQ(Child<QSpinBox>(dialog, "EndYear")->value(), 2024);
    Type(dialog, "AutoDays", "2");
    Type(dialog, "AutoHours", "12:00:00");
    Type(dialog, "StartDate", "01.01.-4711");
    dialog.accept();
  });
  ASSERT_EQ(ShowPeriodDialog(minutes, seconds, start, end, interval, span, step), 1);
  EXPECT_EQ(AutoEndSwitch(end), 1);
  EXPECT_EQ(start.Year, -4711);
  EXPECT_NEAR(end.Mjd - start.Mjd, 2.5, 1e-9);
  EXPECT_NEAR(end.PeriodHours, 12.0, 1e-12) << "packed hours";

  // A start on the last day a table may reach (JD 5373484.0, 12:00 UT), as
  // a configuration's start is clamped: zone 1 holds it a hair below 13:00,
  // and the text and the hour, minute and second boxes show the same time.
  TObserverRecord last = Record(1, 1, 2024, 0);
  last.Mjd = JdToMjd(kLastTableJulianDay);
  UTToLocalTime(last);
  ASSERT_EQ(last.Year, 9999);
  WhenModalShown([](QDialog& dialog) {
    EXPECT_EQ(Child<QLineEdit>(dialog, "StartTime")->text(), "13:00:00");
    EXPECT_EQ(Child<QSpinBox>(dialog, "StartHour")->value(), 13);
    EXPECT_EQ(Child<QSpinBox>(dialog, "StartMinute")->value(), 0);
    EXPECT_EQ(Child<QSpinBox>(dialog, "StartSecond")->value(), 0);
    dialog.reject();
  });
  EXPECT_EQ(ShowPeriodDialog(minutes, seconds, last, end, interval, span, step), 0);
}

// The period dialog's dates are dd.mm.yyyy, the year with four digits, on
// every desktop: a US desktop's short date (month first, '/') is no date
// there.
TEST_F(Dialogs, PeriodDialogDatesAreDayMonthYearOnEveryDesktop) {
  ScopedMessageSink messages(sink_);
  const TIntlSeparators saved = IntlSeparators;
  IntlSeparators.Date = '/';
  IntlSeparators.DateOrder = TShortDateOrder::MonthDayYear;
  TObserverRecord start = Record(5, 3, 844, 0), end = Record(31, 12, 2024, 0);
  TTableStep step;
  std::int32_t minutes = 1, seconds = 0, interval = 5, span = 8;
  WhenModalShown([this](QDialog& dialog) {
    EXPECT_EQ(Child<QLineEdit>(dialog, "StartDate")->text(), "05.03.0844");
    EXPECT_EQ(Child<QLineEdit>(dialog, "EndDate")->text(), "31.12.2024");
    Child<QSpinBox>(dialog, "StartYear")->setValue(900);
    EXPECT_EQ(Child<QLineEdit>(dialog, "StartDate")->text(), "05.03.0900");
    Type(dialog, "EndDate", "12/31/2024");
    sink_.messages.clear();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_FALSE(sink_.messages.empty());
    EXPECT_EQ(sink_.messages.back().text, "Enddatum: Datumformat falsch!");
    Type(dialog, "EndDate", "31.12.2024");
    dialog.accept();
  });
  EXPECT_EQ(ShowPeriodDialog(minutes, seconds, start, end, interval, span, step), 1);
  EXPECT_EQ(start.Year * 10000 + start.Month * 100 + start.Day, 9000305);
  EXPECT_EQ(end.Year * 10000 + end.Month * 100 + end.Day, 20241231);
  IntlSeparators = saved;
}

// The whole-number fields of the period dialog at their limits: one past a
// limit keeps the dialog open with that field's message, the limit itself
// comes back on OK; an automatic length of 0 days and 0 hours becomes 1 hour.
TEST_F(Dialogs, PeriodDialogWholeNumbersStopAtTheirLimits) {
  ScopedMessageSink messages(sink_);
  TObserverRecord start = Record(1, 1, 2024, 0), end = Record(31, 1, 2024, 0);
  TTableStep step;
  std::int32_t minutes = 1, seconds = 0, interval = 5, span = 8;
  WhenModalShown([this](QDialog& dialog) {
    struct Limit {
      const char* field;
      const char* beyond;
      const char* limit;
      const char* message;
    };
    const Limit limits[] = {
        {"EclipseInterval", "0", "1", "Intervall für Sonnenfinsternisse"},
        {"EclipseInterval", "31", "30", "Intervall für Sonnenfinsternisse"},
        {"EclipseSpan", "0", "1", "Suchzeitraum für Sonnenfinsternisse"},
        {"EclipseSpan", "13", "12", "Suchzeitraum für Sonnenfinsternisse"},
        {"Zone", "13", "12", "Zeitzone:"},
        {"Zone", "+13", "+12", "Zeitzone:"},
        {"Zone", "-13", "-12", "Zeitzone:"},
        {"ExtraMinutes", "1000", "720", "Minuten der Zeitzone"},
        {"ExtraMinutes", "+721", "+720", "Minuten der Zeitzone"},
        {"ExtraMinutes", "-721", "-720", "Minuten der Zeitzone"},
        {"StepDays", "-1", "3", "Intervall (Tage)"},
        {"AutoDays", "-1", "0", "Tage für Automodus"},
    };
    for (const Limit& l : limits) {
      Type(dialog, l.field, l.beyond);
      sink_.messages.clear();
      dialog.accept();
      EXPECT_TRUE(dialog.isVisible()) << l.field << " " << l.beyond;
      ASSERT_FALSE(sink_.messages.empty()) << l.field << " " << l.beyond;
      EXPECT_NE(sink_.messages.back().text.find(l.message), std::string::npos) << sink_.messages.back().text;
      Type(dialog, l.field, l.limit);
    }
    EXPECT_EQ(Child<TEditUhrzeithms>(dialog, "AutoHours")->Uhrzeit(), 1.0);
    sink_.messages.clear();
    dialog.accept();
    EXPECT_TRUE(sink_.messages.empty());
  });
  ASSERT_EQ(ShowPeriodDialog(minutes, seconds, start, end, interval, span, step), 1);
  EXPECT_EQ(interval, 30);
  EXPECT_EQ(span, 12);
  EXPECT_EQ(start.Zone, -12);
  EXPECT_EQ(start.ZoneMinutes, -720);
  EXPECT_EQ(step.Days, 3);
  EXPECT_EQ(end.PeriodDays, 0);
  EXPECT_NEAR(PackedHoursToHours(end.PeriodHours), 1.0, 1e-12);
}

TEST_F(Dialogs, DatePlaceDialogValidatesAndCopiesBackOnlyOnOk) {
  ScopedMessageSink messages(sink_);
  TObserverRecord r = Observer(1, 30, 1, "Siegen", false);
  auto show = [&](bool visible) { return ShowDatePlaceDialog(r, true, visible); };
  EXPECT_FALSE(show(false));
  EXPECT_EQ(r.Latitude, 50);

  WhenModalShown([this](QDialog& dialog) {
    // 0 h UT with zone 1, daylight saving and 30 minutes is 02:30 local time.
    Child<QPushButton>(dialog, "NullUhrUT")->click();
    EXPECT_EQ(Child<QLineEdit>(dialog, "EditUhrzeit")->text(), "02:30:00");
    // Day 31 in April becomes 30.
    Child<QSpinBox>(dialog, "EditTag")->setValue(31);
    EXPECT_EQ(Child<QSpinBox>(dialog, "EditTag")->value(), 30);
    // Latitude 91 refused: the message and the previous value.
    sink_.messages.clear();
    Type(dialog, "EditGB", "91");
    ASSERT_EQ(sink_.messages.size(), 1u);
    EXPECT_EQ(Child<QLabel>(dialog, "LatitudeDegrees")->text(), QString::fromUtf8("50.0000°"));
    Type(dialog, "EditGB", "13°24'30''");
    Type(dialog, "EditGl", "180,0");
    Type(dialog, "EDMeereshoehe", "31001");
    EXPECT_EQ(sink_.messages.size(), 2u) << "height above 31000 refused";
    Type(dialog, "EDMeereshoehe", "31000");
    test::SavePicture(dialog, "date_place_dialog_german");
    Child<QPushButton>(dialog, "OK")->click();
  });
  ASSERT_TRUE(show(true));
  EXPECT_NEAR(r.LocalHours, 2.5, 1e-6);
  EXPECT_EQ(r.Day, 30);
  EXPECT_NEAR(r.Latitude, 13.408333, 1e-6);
  EXPECT_EQ(r.Longitude, 180.0);
  EXPECT_EQ(r.Height, 31000);

  // The record keeps 255 characters of a long name, never half of one.
  std::string umlauts;
  for (int k = 0; k < 300; ++k) umlauts += "\xC3\xA4";
  r.PlaceName = umlauts;
  WhenModalShown([](QDialog& dialog) { Child<QPushButton>(dialog, "OK")->click(); });
  ASSERT_TRUE(show(true));
  EXPECT_EQ(r.PlaceName, umlauts.substr(0, 2 * 255));
}

// A day that does not exist in its month is refused by every dialog with a
// date field, with a message naming it; the dialog stays open and nothing
// changes (before, 31.02.2026 silently became 3 March). A latitude that is
// no number says so instead of giving the range message. "Jetzt" takes the
// clock's instant in the dialog's zone.
TEST_F(Dialogs, ImpossibleDatesAndNonNumericPlacesAreRefusedByName) {
  ScopedMessageSink messages(sink_);
  LanguageEnglish = 1;
  const auto lastText = [this] { return sink_.messages.empty() ? std::string() : sink_.messages.back().text; };

  // The date, time and place dialog.
  TObserverRecord observer = Observer(9, 0, 0, "Tokyo", true);
  auto show = [&] { return ShowDatePlaceDialog(observer, true, true); };
  FixedClock clock(FixedClock::At(2026, 7, 15, 20, 0, 0));
  ScopedSystemClock now(clock);
  ScopedSystemZone computer("America/New_York");
  WhenModalShown([&](QDialog& dialog) {
    Child<QPushButton>(dialog, "Systemzeit")->click();
    EXPECT_EQ(Child<QLineEdit>(dialog, "EditDatum")->text(), "16.7.2026") << "20:00 UT is the 16th in Japan";
    EXPECT_EQ(Child<QLineEdit>(dialog, "EditUhrzeit")->text(), "05:00:00");
    for (const char* impossible : {"31.02.2026", "29.2.2025", "10.10.1582", "31.4.2026"}) {
      sink_.messages.clear();
      Type(dialog, "EditDatum", impossible);
      EXPECT_EQ(Child<QLineEdit>(dialog, "EditDatum")->text(), "16.7.2026") << impossible;
      ASSERT_EQ(sink_.messages.size(), 1u) << impossible;
    }
    EXPECT_EQ(lastText(), "The date 31.04.2026 does not exist. Please enter a valid date!");
    Child<QLineEdit>(dialog, "EditDatum")->setText("31.02.2026");
    sink_.messages.clear();
    Child<QPushButton>(dialog, "OK")->click();
    EXPECT_TRUE(dialog.isVisible()) << "refused: the dialog stays open";
    EXPECT_EQ(lastText(), "The date 31.02.2026 does not exist. Please enter a valid date!");
    // A day spin beyond the month stops at its last day: 29 in February 2024.
    Type(dialog, "EditDatum", "29.2.2024");
    EXPECT_EQ(Child<QSpinBox>(dialog, "EditTag")->value(), 29);
    Child<QSpinBox>(dialog, "EditTag")->setValue(30);
    EXPECT_EQ(Child<QSpinBox>(dialog, "EditTag")->value(), 29);
    EXPECT_EQ(Child<QLineEdit>(dialog, "EditDatum")->text(), "29.2.2024");
    sink_.messages.clear();
    Type(dialog, "EditGB", "abc");
    EXPECT_EQ(lastText(), "Geogr. Latitude: \"abc\" is not a number!");
    Type(dialog, "EditGl", "200");
    EXPECT_EQ(lastText(), "Geogr. Longitude must be >=-180 and <=+180!");
    test::SavePicture(dialog, "date_place_dialog_refused_date");
    dialog.reject();
  });
  EXPECT_FALSE(show());
  EXPECT_EQ(observer.Day, 15) << "nothing changes";
  WhenModalShown([&](QDialog& dialog) {
    Type(dialog, "EditDatum", "29.02.2024");
    Child<QPushButton>(dialog, "OK")->click();
  });
  ASSERT_TRUE(show());
  EXPECT_EQ(observer.Day, 29);
  EXPECT_EQ(observer.Month, 2);

  // The period dialog.
  TObserverRecord start = Record(1, 1, 2024, 0), end = Record(31, 1, 2024, 0);
  TTableStep step;
  std::int32_t phaseMinutes = 0, phaseSeconds = 0, interval = 5, span = 8;
  WhenModalShown([&](QDialog& dialog) {
    for (const char* impossible : {"29.02.2025", "05.10.1582"}) {
      Type(dialog, "StartDate", impossible);
      sink_.messages.clear();
      dialog.accept();
      EXPECT_TRUE(dialog.isVisible()) << impossible;
      EXPECT_EQ(lastText(), std::string("The date ") + impossible + " does not exist. Please enter a valid date!");
    }
    Type(dialog, "StartDate", "04.10.1582");
    dialog.accept();
  });
  ASSERT_EQ(ShowPeriodDialog(phaseMinutes, phaseSeconds, start, end, interval, span, step), 1);
  EXPECT_EQ(start.Day, 4);
  EXPECT_EQ(start.Year, 1582);

  // The UT dialog.
  TObserverRecord record = Record(5, 3, 2021, 6);
  WhenModalShown([&](QDialog& dialog) {
    sink_.messages.clear();
    Type(dialog, "EditDatum", "31.4.2026");
    EXPECT_EQ(lastText(), "The date 31.04.2026 does not exist. Please enter a valid date!");
    Child<QPushButton>(dialog, "ok")->click();  // refused once after the refusal
    Child<QPushButton>(dialog, "ok")->click();
  });
  EXPECT_EQ(ShowUTInputDialog(false, record), 1);
  EXPECT_EQ(record.Day, 5) << "the refused date changed nothing";
  LanguageEnglish = 0;
}

TEST_F(Dialogs, LocationDialogLoadsSearchesAndChecksItsFields) {
  ScopedMessageSink messages(sink_);
  ScopedSettingsStore settings(store_);
  TOrtwahldialog& dialog = LocationDialog();
  TOrtwahldialog::DefaultFileName() = std::string(KVX_DATA_DIR) + "/orte.csv";
  dialog.Record.PlaceName = "Siegen";
  dialog.Record.Latitude = 51.1128;  // packed D.MMSS
  dialog.Record.Longitude = -8.0126;
  dialog.Record.Zone = 1;
  dialog.Record.Height = 200;
  dialog.Record.Pressure = 1010;
  dialog.Record.Temperature = 10;
  WhenModalShown([this](QDialog& shown) {
    // The place handed in is shown, not the list's first place.
    EXPECT_EQ(Child<QLineEdit>(shown, "Edit2")->text(), "Siegen");
    EXPECT_EQ(Child<QLineEdit>(shown, "Edit4")->text(), "51°11'28''");
    // Not the postcode of the list's first place (Berlin).
    EXPECT_EQ(Child<QLabel>(shown, "PostcodeValue")->text(), "");
    EXPECT_GT(Child<QComboBox>(shown, "Orttabelle1")->count(), 30);
    Child<QLineEdit>(shown, "Edit1")->setText("ber");
    EXPECT_EQ(Child<QLineEdit>(shown, "Edit2")->text(), "Berlin");
    EXPECT_EQ(Child<QLabel>(shown, "PostcodeValue")->text(), "10115");
    Type(shown, "EDMeereshoehe", "310001");
    EXPECT_EQ(sink_.messages.size(), 1u);
    Type(shown, "EDMeereshoehe", "310000");
    Type(shown, "Edit4", "52°31'00''");
    Child<QCheckBox>(shown, "CheckBox1")->setChecked(true);
    Child<QPushButton>(shown, "UTButton")->click();
    test::SavePicture(shown, "location_dialog");
    Child<QPushButton>(shown, "Button1")->click();
  });
  ASSERT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_NEAR(dialog.Record.Latitude, 52.516667, 1e-6);
  EXPECT_NEAR(dialog.Record.Longitude, -13.4, 1e-9);
  EXPECT_EQ(dialog.Record.Height, 310000);
  EXPECT_EQ(dialog.Record.Zone, -1) << "UT with daylight saving";
  EXPECT_EQ(dialog.Record.PlaceName, "Berlin");
  EXPECT_EQ(store_.ReadBool("Settings", "SearchLocationByBeginning"), true);

  // Another location file opened, then Cancel: the list and the file of
  // before.
  test::TempFolder folder;
  const std::string other = (folder.Path() / "few.csv").string();
  std::ofstream(other) << ":ORTDATEI VAMUR!\nTestdorf;-8,0000;50,0000;1;0\n";
  test::RecordingFileDialog files;
  ScopedFileDialog dialogs(files);
  const int before = dialog.List().Count();
  const std::string file = dialog.LocationFileName;
  WhenModalShown([&](QDialog& shown) {
    files.QueueAnswer(other);
    Child<QPushButton>(shown, "Button2")->click();
    EXPECT_EQ(Child<QComboBox>(shown, "Orttabelle1")->count(), 1);
    shown.reject();
  });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_EQ(dialog.List().Count(), before);
  EXPECT_EQ(dialog.LocationFileName, file);

  // A dialog's first showing loads its stored file: a place whose zone and
  // minutes carry their signs is there, and lines that are no place are
  // named, not dropped unseen.
  const std::filesystem::path fixtures =
      std::filesystem::path(KVX_FIXTURE_DIR).parent_path().parent_path() / "fixtures" / "bad_inputs";
  for (const auto& [fixture, places, note] : {std::tuple{"location_plus_sign_zone_refused.txt", 2, ""},
                                              std::tuple{"location_zone_and_minutes_bad_names_minutes.txt", 1,
                                                         ": 3 Zeilen übersprungen (erste: Zeile 2, Feld Zeitzone)"}}) {
    SCOPED_TRACE(fixture);
    TOrtwahldialog fresh(&owner_);
    fresh.LocationFileName = (fixtures / fixture).string();
    fresh.Record = Observer(1, 0, 0, "Berlin", false);
    sink_.messages.clear();
    WhenModalShown([&](QDialog& shown) {
      EXPECT_EQ(Child<QComboBox>(shown, "Orttabelle1")->count(), places);
      shown.reject();
    });
    fresh.exec();
    if (std::string(note).empty()) {
      EXPECT_TRUE(sink_.messages.empty()) << sink_.messages.front().text;
    } else {
      ASSERT_EQ(sink_.messages.size(), 1u);
      EXPECT_EQ(sink_.messages[0].text, fresh.LocationFileName + note);
    }
  }
}

// Return at the kept dialog's next showing: OK after "Weltzeit
// beibehalten" was ticked and confirmed (the focus stayed on the open
// button and Return opened a file).
// A file of places past 12 h: the blank minutes are 0, the 1000 minutes no
// place and named, and Kiritimati (+14 h, also as zone 14) shows "(UTC+14)".
TEST_F(Dialogs, LocationDialogReturnConfirmsAndPlacesPastTwelveHours) {
  ScopedMessageSink messages(sink_);
  ScopedSettingsStore settings(store_);
  test::RecordingFileDialog files;
  ScopedFileDialog dialogs(files);
  test::TempFolder folder;
  const std::string far = (folder.Path() / "far.csv").string();
  std::ofstream(far) << ":ORTDATEI VAMUR!\nKiritimati;-157.2400;1.5200;12;120\nTabuaeran;-159.2300;3.5100;14;0\n"
                        "Berlin;-13.2400;52.3100;1;\nVerschrieben;-13.2400;52.3100;1;1000\n";
  TOrtwahldialog& dialog = LocationDialog();
  TOrtwahldialog::DefaultFileName() = std::string(KVX_DATA_DIR) + "/orte.csv";
  dialog.Record = Observer(1, 0, 0, "Berlin", false);
  dialog.Record.Latitude = 52.31;  // packed D.MMSS
  dialog.Record.Longitude = -13.24;
  WhenModalShown([&](QDialog& shown) {
    files.QueueAnswer(far);
    Child<QPushButton>(shown, "Button2")->click();
    ASSERT_EQ(sink_.messages.size(), 1u);
    EXPECT_EQ(sink_.messages[0].text, far + ": 1 Zeile übersprungen (Zeile 5, Feld Minuten)");
    auto* combo = Child<QComboBox>(shown, "Orttabelle1");
    ASSERT_EQ(combo->count(), 3);
    const auto zoneShown = [&shown] {
      return QString::number(Child<QSpinBox>(shown, "EditZeitzone")->value()) + "/" +
             QString::number(Child<QSpinBox>(shown, "SpinEdit1")->value()) + " " +
             shown.findChild<QLabel*>("ZoneNameLabel")->text();
    };
    for (const auto& [item, zone] : {std::pair{1, "12/120 (UTC+14)"}, {2, "1/0 (MEZ)"}, {0, "12/120 (UTC+14)"}}) {
      combo->setCurrentIndex(item);
      EXPECT_EQ(zoneShown(), zone) << item;
    }
    test::SavePicture(shown, "location_dialog_kiritimati");
    // As the mouse does it: the box ticked, then OK clicked, each taking the
    // focus in the active window.
    shown.activateWindow();
    QApplication::processEvents();
    auto* keepUT = Child<QCheckBox>(shown, "weltzeitc");
    keepUT->setFocus(Qt::MouseFocusReason);
    keepUT->setChecked(true);
    auto* ok = Child<QPushButton>(shown, "Button1");
    ok->setFocus(Qt::MouseFocusReason);
    ok->click();
  });
  ASSERT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.Record.ZoneMinutes, 120);
  WhenModalShown([&](QDialog& shown) {  // Return where the focus is
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(shown.focusWidget() != nullptr ? shown.focusWidget() : &shown, &press);
    if (!shown.isVisible()) return;
    ADD_FAILURE() << "Return did not confirm";
    shown.reject();
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted) << "Return confirms";
  EXPECT_EQ(files.requests.size(), 1u) << "no second file dialog";
  dialog.SetLocationFile(TOrtwahldialog::DefaultFileName());  // the kept dialog as the other tests find it
}

TEST_F(Dialogs, EditControlsRefusePastedTextAndFindInLists) {
  ScopedMessageSink messages(sink_);
  TIntegerEdit integer(&owner_);
  integer.SetAcceptedText("12");
  integer.setText("12a");  // pasted
  emit integer.editingFinished();
  EXPECT_EQ(integer.text(), "12");
  EXPECT_EQ(sink_.messages.size(), 1u);

  TAstroDatumEdit date(&owner_);
  ASSERT_TRUE(date.SetJD(2451544.5));
  EXPECT_TRUE(date.SetJD(5373484.4583));
  EXPECT_FALSE(date.SetJD(5373484.5));
  EXPECT_EQ(date.JD(), 5373484.4583);
  EXPECT_NE(sink_.messages.back().caption.find("Invalid Date"), std::string::npos);

  QComboBox box(&owner_);
  box.addItems({"Oberhausen", "Berlin", "Bern"});
  QLabel label(&owner_);
  int index = -1;
  QString found;
  ASSERT_TRUE(FindInListControl("ber", box, index, found, &label));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(box.currentIndex(), 2);
  EXPECT_FALSE(FindInListControl("xyz", box, index, found, &label));
  EXPECT_EQ(label.text(), "Nicht gefunden");
}

}  // namespace
}  // namespace kvx
