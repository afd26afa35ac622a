#include "setup/ui/time_entry_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/time_scales.h"
#include "dialog_test_support.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "platform/workbook/workbook.h"
#include "setup/julian_date_cells.h"

namespace kvx {
namespace {

using test::Child;

void Type(QDialog& dialog, const char* field, const QString& text) {
  auto* edit = Child<QLineEdit>(dialog, field);
  edit->setText(text);
  emit edit->editingFinished();
}

class TimeEntryDialogsTest : public ::testing::Test {
 protected:
  TimeEntryDialogsTest() : guard_(messages) {}
  RecordingMessageSink messages;

 private:
  ScopedMessageSink guard_;
};

TEST_F(TimeEntryDialogsTest, PeriodAsJulianDates) {
  TObserverRecord start, end;
  start.Mjd = 51544.5;  // JD 2451545
  end.Mjd = 51574.5;
  TTableStep step;
  std::uint8_t listMode = 1;
  test::WhenModalShown([&](QDialog& dialog) {
    EXPECT_EQ(Child<QLineEdit>(dialog, "start")->text(), "2451545.00000");
    EXPECT_EQ(Child<QLineEdit>(dialog, "interval")->text(), "1.0000");
    Type(dialog, "start", "0.5");
    Type(dialog, "end", "5373484.46");
    Type(dialog, "interval", "0");
    EXPECT_EQ(messages.messages.size(), 3u);
    Type(dialog, "start", "5373484.4583");
    Type(dialog, "end", "1");
    Type(dialog, "interval", "");  // empty keeps
    Child<QPushButton>(dialog, "ok")->click();  // the refusal of the interval refuses this close
    Child<QPushButton>(dialog, "ok")->click();  // start after end
    EXPECT_TRUE(dialog.isVisible());
    // Paste checks the pasted text.
    QApplication::clipboard()->setText("2451545,5");
    Child<QPushButton>(dialog, "endPaste")->click();
    EXPECT_EQ(messages.messages.size(), 4u);
    Type(dialog, "start", "1");
    test::SavePicture(dialog, "period_julian_dates");
    Child<QPushButton>(dialog, "ok")->click();
  });
  ASSERT_EQ(ShowPeriodJDDialog(start, end, step, &listMode), 1);
  ASSERT_EQ(messages.messages.size(), 4u);
  EXPECT_EQ(messages.messages[0].text, "Julianisches Datum muß>=1 und <=5373484 sein!");
  EXPECT_EQ(messages.messages[0].caption, "Fehler bei Eingabe des julianischen Datums");
  EXPECT_EQ(messages.messages[2].caption, "Fehler bei Eingabe des Zeitintervalls");
  EXPECT_EQ(messages.messages[3].text, "Enddatum muß später als Anfangsdatum liegen!");
  EXPECT_DOUBLE_EQ(start.Mjd, 1 - 2400000.5);
  EXPECT_DOUBLE_EQ(end.Mjd, 51545.0);
  EXPECT_EQ(step.StepDays, 1.0);
  EXPECT_EQ(listMode, 0);

  // Cancel hands nothing back.
  test::WhenModalShown([&](QDialog& dialog) {
    Type(dialog, "end", "2451600");
    Child<QPushButton>(dialog, "cancel")->click();
  });
  EXPECT_EQ(ShowPeriodJDDialog(start, end, step, &listMode), 2);
  EXPECT_DOUBLE_EQ(end.Mjd, 51545.0);
}

TEST_F(TimeEntryDialogsTest, JulianDateUtAndDayFraction) {
  double mjd = 51544.5;
  std::int32_t zone = 1, minutes = 0;
  std::uint8_t mode = 1;
  test::WhenModalShown([&](QDialog& dialog) {
    Type(dialog, "edit1", "");  // empty keeps, no message
    Type(dialog, "edit1", "abc");
    EXPECT_EQ(Child<QLineEdit>(dialog, "edit1")->text(), "2451545.00000");
    Type(dialog, "edit1", "2460000,25");
    test::SavePicture(dialog, "julian_date");
    Child<QPushButton>(dialog, "ok")->click();  // refused once after the refusal
    Child<QPushButton>(dialog, "ok")->click();
  });
  ASSERT_TRUE(ShowJulianDateDialog(true, mjd, zone, minutes, &mode));
  EXPECT_DOUBLE_EQ(mjd, 60000.0 - 0.25);
  EXPECT_EQ(mode, 0);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].caption, "Fehler bei Eingabe des julianischen Datums");

  // The UT dialog shows the UT date and time: 5 March 2021, 03:00 at +10 h
  // is 4 March, 17:00 UT. A typed UT is the instant; the local date follows.
  TObserverRecord record;
  record.Zone = 10;
  record.Day = 5;
  record.Month = 3;
  record.Year = 2021;
  record.LocalHours = 3;
  LocalTimeToUT(record);
  test::WhenModalShown([&](QDialog& dialog) {
    EXPECT_EQ(Child<QLineEdit>(dialog, "EditDatum")->text(), "4.3.2021");
    EXPECT_EQ(Child<QLineEdit>(dialog, "ID103")->text(), "17:00:00");
    Type(dialog, "EditDatum", "7.4.2022");
    Type(dialog, "ID103", "13:30:00");
    Child<QPushButton>(dialog, "cancel")->click();
  });
  EXPECT_EQ(ShowUTInputDialog(false, record), 2);
  EXPECT_EQ(record.Day, 5);
  EXPECT_EQ(record.LocalHours, 3.0);
  test::WhenModalShown([&](QDialog& dialog) {
    Type(dialog, "EditDatum", "7.4.2022");
    Type(dialog, "ID103", "13:30:00");
    test::SavePicture(dialog, "ut_input");
    Child<QPushButton>(dialog, "ok")->click();
  });
  EXPECT_EQ(ShowUTInputDialog(false, record), 1);
  EXPECT_NEAR(record.Mjd, CalendarDateToMjd(7, 4, 2022, 13.5), 1e-8);
  EXPECT_EQ(record.Day, 7);
  EXPECT_NEAR(record.LocalHours, 23.5, 1e-6);
  record.Zone = 0;
  UTToLocalTime(record);
  // OK on the date as shown, under locales whose short date is not d.m.y.
  const std::size_t before = messages.messages.size();
  for (const char separator : {'-', '/', '.'}) {
    const char saved = IntlSeparators.Date;
    IntlSeparators.Date = separator;
    test::WhenModalShown([&](QDialog& dialog) {
      EXPECT_EQ(Child<QLineEdit>(dialog, "EditDatum")->text(), "7.4.2022");
      Child<QPushButton>(dialog, "ok")->click();
    });
    EXPECT_EQ(ShowUTInputDialog(false, record), 1) << separator;
    IntlSeparators.Date = saved;
  }
  EXPECT_EQ(messages.messages.size(), before) << messages.messages.back().text;
  EXPECT_EQ(record.Day, 7);

  // Day fraction: messages in the order year, month, day; the day keeps to
  // the month (30 days in April).
  messages.messages.clear();
  TUniversalDay day{2022, 4, 7.5625};
  test::WhenModalShown([&](QDialog& dialog) {
    EXPECT_EQ(Child<QLineEdit>(dialog, "ID101")->text(), "2022");
    EXPECT_EQ(Child<QLineEdit>(dialog, "ID102")->text(), "4");
    EXPECT_EQ(Child<QLineEdit>(dialog, "ID103")->text(), "7.56250");
    Child<QLineEdit>(dialog, "ID101")->setText("-4713");
    Child<QLineEdit>(dialog, "ID102")->setText("13");
    Child<QLineEdit>(dialog, "ID103")->setText("31");
    Child<QPushButton>(dialog, "ok")->click();
    Child<QLineEdit>(dialog, "ID102")->setText("13");
    Child<QPushButton>(dialog, "ok")->click();
    Child<QLineEdit>(dialog, "ID103")->setText("31");
    Child<QPushButton>(dialog, "ok")->click();
    Child<QLineEdit>(dialog, "ID102")->setText("1");
    Child<QLineEdit>(dialog, "ID103")->setText("31.99999");
    test::SavePicture(dialog, "day_fraction");
    Child<QPushButton>(dialog, "ok")->click();
  });
  EXPECT_EQ(ShowDayFractionDialog(false, day), 1);
  ASSERT_EQ(messages.messages.size(), 3u);
  EXPECT_EQ(messages.messages[0].text, "Jahr: muß >=-4712 und <=20000 sein!");
  EXPECT_EQ(messages.messages[1].text, "Monat: Bitte Ganzzahl >=1 und <=12 eingeben!");
  EXPECT_EQ(messages.messages[2].text, "Tagesbruchteil: muß >=0 und <31 sein!");
  EXPECT_EQ(day, (TUniversalDay{2022, 1, 31.99999}));
  // Cancel hands nothing back.
  test::WhenModalShown([&](QDialog& dialog) {
    Child<QLineEdit>(dialog, "ID103")->setText("2.5");
    Child<QPushButton>(dialog, "cancel")->click();
  });
  EXPECT_EQ(ShowDayFractionDialog(false, day), 2);
  EXPECT_EQ(day, (TUniversalDay{2022, 1, 31.99999}));

  test::WhenModalShown([&](QDialog& dialog) {
    EXPECT_EQ(Child<QLineEdit>(dialog, "julianDate")->text(), "2459676.0625");
    test::SavePicture(dialog, "day_fraction_julian_date");
    Child<QPushButton>(dialog, "apply")->click();
  });
  EXPECT_EQ(ShowDayFractionJulianDate(false, 2459676.0625), 1);
  test::WhenModalShown([&](QDialog& dialog) { Child<QPushButton>(dialog, "ok")->click(); });
  EXPECT_EQ(ShowDayFractionJulianDate(false, 2459676.0625), 2);
}

TEST_F(TimeEntryDialogsTest, DatesFromTheSheet) {
  workbook::TWorkbook sheet;
  sheet.SetNumber(1, 1, 2451545.5);
  sheet.SetText(2, 1, "Datum");
  sheet.SetNumber(3, 1, 2451546.5);
  sheet.SetNumber(4, 1, 0.5);
  sheet.SetNumber(5, 1, 2451547.5);
  double jd = 7;
  sheet.SetSelection(1, 1, 1, 2);
  EXPECT_FALSE(JulianDateFromMarkedCell(sheet, jd));
  sheet.SetSelection(2, 1, 2, 1);
  EXPECT_FALSE(JulianDateFromMarkedCell(sheet, jd));
  EXPECT_EQ(jd, 0);
  sheet.SetSelection(3, 1, 3, 1);
  EXPECT_TRUE(JulianDateFromMarkedCell(sheet, jd));
  EXPECT_EQ(jd, 2451546.5);
  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_EQ(messages.messages[0].text, "Bitte nur eine Zelle markieren.");
  EXPECT_EQ(messages.messages[1].text.rfind("Der Zellinhalt Datum ist kein", 0), 0u);

  // Three valid and two invalid cells: three dates; "No" silences the second question.
  messages.messages.clear();
  messages.QueueReply(MessageResult::No);
  std::vector<std::string> list{"old"};
  std::uint8_t listMode = 0;
  sheet.SetSelection(1, 1, 5, 1);
  TFrmJDListe form(sheet, nullptr);
  ShowJulianDateListForm(form, list, listMode);
  EXPECT_EQ(list.size(), 3u);
  EXPECT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(Child<QListWidget>(form, "list")->count(), 3);
  test::SavePicture(form, "julian_date_list");
  Child<QPushButton>(form, "ok")->click();
  EXPECT_EQ(listMode, 1);
  EXPECT_FALSE(form.isVisible());
  // Two columns are refused and keep the list; an emptied list gives mode 0.
  sheet.SetSelection(1, 1, 5, 2);
  form.ReadValues();
  EXPECT_EQ(list.size(), 3u);
  EXPECT_EQ(messages.messages.back().text, "Bitte nur eine Spalte markieren");
  Child<QPushButton>(form, "clear")->click();
  Child<QPushButton>(form, "ok")->click();
  EXPECT_EQ(listMode, 0);
}

}  // namespace
}  // namespace kvx
