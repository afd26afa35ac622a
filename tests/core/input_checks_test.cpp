#include "core/input_checks.h"

#include <gtest/gtest.h>

#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"

namespace kvx {
namespace {

class InputChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    LanguageEnglish = 0;
    IntlSeparators = TIntlSeparators{};
  }
  void TearDown() override { LanguageEnglish = 0; }
  RecordingMessageSink sink;
  ScopedMessageSink guard{sink};
};

TEST_F(InputChecks, StandardMessagesCarryTheirTextsCaptionsAndIcons) {
  ShowRowLimitReached();
  ShowLatitudeRangeError();
  ShowNoEventFound();
  LanguageEnglish = 1;
  ShowLongitudeRangeError();
  ShowImplausibleValues();
  ShowRowLimitReached();
  ASSERT_EQ(sink.messages.size(), 6u);
  EXPECT_EQ(sink.messages[0].text, "Maximale Zeilenzahl für Ephemeridentabelle erreicht.");
  EXPECT_EQ(sink.messages[0].caption, "Die Berechnung wird abgebrochen");
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(sink.messages[1].text, "Geogr. Breite: muß >=-90 und <=+90 sein!");
  EXPECT_EQ(sink.messages[1].caption, "Fehler bei Eingabe der geogr. Breite");
  EXPECT_EQ(sink.messages[1].icon, MessageIcon::Error);
  EXPECT_EQ(sink.messages[2].caption, "Kandrevoltinex 4.6");
  EXPECT_EQ(sink.messages[3].text, "Geogr. Longitude must be >=-180 and <=+180!");
  EXPECT_EQ(sink.messages[3].caption, "");
  EXPECT_EQ(sink.messages[4].text, "Please enter realistic values.");
  EXPECT_EQ(sink.messages[5].caption, "Calculation stopped");
}

TEST_F(InputChecks, IntegrationMessageFollowsTheMainWindowsLanguage) {
  LanguageEnglish = 1;
  ShowIntegrationStartTooNear(0);
  LanguageEnglish = 0;
  ShowIntegrationStartTooNear(1);
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].text.rfind("Das Startdatum für die numerische Integration", 0), 0u);
  EXPECT_EQ(sink.messages[1].caption, "Invalide starting date");
  EXPECT_EQ(sink.messages[1].icon, MessageIcon::Error);
}

TEST_F(InputChecks, MinimalDistanceIsCheckedAsTyped) {
  double value = 1.5;
  std::string edit = "0°30'";
  EXPECT_TRUE(CheckMinimalDistanceInput(edit, value));
  EXPECT_DOUBLE_EQ(value, 0.5);
  edit = "0,25";
  EXPECT_TRUE(CheckMinimalDistanceInput(edit, value));
  EXPECT_DOUBLE_EQ(value, 0.25);
  // The range holds for the angle, not for its packed D.MMSS number: 40''
  // is 0.0111 degrees although its packed form reads 0.004.
  edit = "0°00'40''";
  EXPECT_TRUE(CheckMinimalDistanceInput(edit, value));
  EXPECT_NEAR(value, 40.0 / 3600.0, 1e-12);
  EXPECT_TRUE(sink.messages.empty());

  value = 1.5;
  for (const char* bad : {"50", "abc", "0.005", "-3", ""}) {
    edit = bad;
    EXPECT_FALSE(CheckMinimalDistanceInput(edit, value)) << bad;
    EXPECT_EQ(edit, "1°30'00''") << bad;  // the current value, as degrees, minutes, seconds
    EXPECT_DOUBLE_EQ(value, 1.5);
  }
  ASSERT_EQ(sink.messages.size(), 5u);
  EXPECT_EQ(sink.messages[0].text, "Minimalabstand muß zwischen 0.01° und <= 40° liegen!");
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
}

}  // namespace
}  // namespace kvx
