#include "platform/ascii_case.h"
#include "setup/ui/world_cities_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "core/time_scales.h"
#include "dialog_test_support.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "platform/settings_store.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::Child;

void Key(QWidget* widget, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
}

class WorldCitiesDialogTest : public ::testing::Test {
 protected:
  WorldCitiesDialogTest() : messagesGuard_(messages), settingsGuard_(settings) {}
  RecordingMessageSink messages;
  MemorySettingsStore settings;

 private:
  ScopedMessageSink messagesGuard_;
  ScopedSettingsStore settingsGuard_;
};

TEST_F(WorldCitiesDialogTest, SearchBrowseAndHandBackTheZone) {
  settings.WriteInteger("CitiesDatabase", "Sofortsuche", 7);  // counts as 1: search on Enter
  TObserverRecord record;
  record.Mjd = CalendarDateToMjd(15, 7, 2024, 12);
  record.PlaceName = "Berlin";
  bool keepUT = false;
  test::WhenModalShown([&](QDialog& dialog) {
    auto* search = Child<QLineEdit>(dialog, "search");
    auto* results = Child<QListWidget>(dialog, "results");
    // A pattern may not begin with "*" or "?".
    Key(search, Qt::Key_Asterisk, "*");
    EXPECT_TRUE(search->text().isEmpty());
    // Below the full length: a page from the first match.
    Child<QSpinBox>(dialog, "fullLength")->setValue(5);
    search->setText("Kolk");
    Key(search, Qt::Key_Return, "\r");
    EXPECT_EQ(results->count(), 100);
    EXPECT_EQ(results->count() > 0 ? results->item(0)->text() : QString(), "Kolkata");
    EXPECT_EQ(Child<QLabel>(dialog, "count")->text(), "100 von 24361");
    // At the full length every match of the group.
    Child<QSpinBox>(dialog, "fullLength")->setValue(3);
    search->setText("b?rlin");
    Key(search, Qt::Key_Return, "\r");
    EXPECT_GE(results->count(), 1);
    EXPECT_EQ(results->count() > 0 ? results->item(0)->text() : QString(), "Berlin");
    for (int row = 0; row < results->count(); ++row) {
      EXPECT_EQ(AsciiLower(results->item(row)->text().toStdString()).substr(2), "rlin");
    }
    // Record numbers: 0 is 1, past the end the last, a sign is refused.
    auto* number = Child<QLineEdit>(dialog, "recordNumber");
    number->setText("0");
    emit number->editingFinished();
    EXPECT_EQ(number->text(), "1");
    number->setText("999999");
    emit number->editingFinished();
    EXPECT_EQ(number->text(), "24361");
    EXPECT_EQ(results->count(), 1);
    number->setText("-5");
    emit number->editingFinished();
    EXPECT_EQ(number->text(), "24361");
    // Kolkata: 5 h 30 min from the time zone database.
    search->setText("Kolkata");
    Key(search, Qt::Key_Return, "\r");
    results->setCurrentRow(0);
    EXPECT_EQ(Child<QSpinBox>(dialog, "zone")->value(), 5);
    EXPECT_EQ(Child<QSpinBox>(dialog, "minutes")->value(), 30);
    Child<QCheckBox>(dialog, "keepUT")->click();
    test::SavePicture(dialog, "world_cities");
    // St. John's in July: -3 h -30 min, one daylight hour.
    search->setText("St. John's");
    Key(search, Qt::Key_Return, "\r");
    for (int row = 0; row < results->count(); ++row) {
      if (results->item(row)->text() == "St. John's") results->setCurrentRow(row);
    }
    Child<QPushButton>(dialog, "ok")->click();
  });
  ASSERT_TRUE(ShowWorldCitiesDialog(KVX_DATA_DIR, "cities.ved", record, keepUT));
  EXPECT_EQ(record.PlaceName, "St. John's");
  EXPECT_EQ(record.Zone, -3);
  EXPECT_EQ(record.ZoneMinutes, -30);
  EXPECT_EQ(record.DaylightHours, 1);
  EXPECT_NEAR(record.Longitude, 52.70931, 1e-5);  // east negative
  EXPECT_TRUE(keepUT);
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(settings.IntegerOr("CitiesDatabase", "Sofortsuche", 0), 1);
  EXPECT_EQ(settings.IntegerOr("CitiesDatabase", "Suchlaenge", 0), 3);
}

TEST_F(WorldCitiesDialogTest, MissingEmptyAndDamagedFiles) {
  test::TempFolder folder;
  TObserverRecord record;
  bool keepUT = false;
  EXPECT_FALSE(ShowWorldCitiesDialog(folder.Path().string(), "cities.ved", record, keepUT));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "Datei mit weltweiter Datenbank nicht gefunden. Bitte geben sie den Pfad an.");

  // An empty database opens and works.
  folder.Write("cities.ved", "");
  std::string index;
  for (int line = 0; line < 28; ++line) index += "1\r\n";
  folder.Write("index.ved", index);
  test::WhenModalShown([&](QDialog& dialog) {
    auto* search = Child<QLineEdit>(dialog, "search");
    search->setText("ber");
    Key(search, Qt::Key_Return, "\r");
    EXPECT_EQ(Child<QListWidget>(dialog, "results")->count(), 0);
    Child<QPushButton>(dialog, "pageForward10")->click();
    EXPECT_FALSE(Child<QPushButton>(dialog, "ok")->isEnabled());
    Child<QPushButton>(dialog, "cancel")->click();
  });
  EXPECT_FALSE(ShowWorldCitiesDialog(folder.Path().string(), "cities.ved", record, keepUT));
  EXPECT_EQ(messages.messages.size(), 1u);

  // An index that does not fit: a message, no name search, browsing works; a
  // record with damaged coordinates cannot be taken over.
  std::string records(2 * kCityRecordSize, '\0');
  const float bad = 400.0f;
  std::memcpy(records.data() + kCityRecordSize, &bad, 4);
  records[8] = 1;
  records[9] = 'A';
  records[kCityRecordSize + 8] = 1;
  records[kCityRecordSize + 9] = 'B';
  folder.Write("cities.ved", records);
  test::WhenModalShown([&](QDialog& dialog) {
    EXPECT_FALSE(Child<QLineEdit>(dialog, "search")->isEnabled());
    auto* results = Child<QListWidget>(dialog, "results");
    Child<QPushButton>(dialog, "pageForward")->click();  // one page on: clamped to the last record
    EXPECT_EQ(results->count(), 1);
    auto* number = Child<QLineEdit>(dialog, "recordNumber");
    number->setText("1");
    emit number->editingFinished();
    EXPECT_EQ(results->count(), 2);
    results->setCurrentRow(1);
    EXPECT_FALSE(Child<QPushButton>(dialog, "ok")->isEnabled());
    results->setCurrentRow(0);
    EXPECT_TRUE(Child<QPushButton>(dialog, "ok")->isEnabled());
    EXPECT_EQ(Child<QSpinBox>(dialog, "zone")->value(), 0);  // estimated: no zone file
    Child<QPushButton>(dialog, "cancel")->click();
  });
  EXPECT_FALSE(ShowWorldCitiesDialog(folder.Path().string(), "cities.ved", record, keepUT));
  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_NE(messages.messages[1].text.find("index.ved"), std::string::npos);
}

}  // namespace
}  // namespace kvx
