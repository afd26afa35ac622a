#include "setup/setup_routines.h"

#include <gtest/gtest.h>

#include "platform/globals.h"
#include "platform/messages.h"
#include "setup/numeric_options.h"
#include "support/recording_color_chooser.h"
#include "support/recording_message_sink.h"

namespace kvx {
namespace {

TEST(SetupRoutines, TextsAndDefaults) {
  EXPECT_EQ(AccuracyPairText(-1, 8), "Full/Low");
  EXPECT_EQ(AccuracyPairText(5, 6), "Very low/Medium");
  EXPECT_EQ(AccuracyPairText(4, 0), "High/Very low");

  EXPECT_EQ(TextAfterQuotedName("\"ab\";x"), "x");
  EXPECT_EQ(TextAfterQuotedName("Objekt \"Ceres\" 12.5"), "12.5");
  EXPECT_EQ(TextAfterQuotedName("\"ab\""), "");
  EXPECT_EQ(TextAfterQuotedName("\"only one"), "");
  EXPECT_EQ(TextAfterQuotedName("none"), "");

  TRiseSetAltitudes altitudes{};
  DefaultHorizonAltitudes(altitudes);
  EXPECT_EQ(altitudes, (TRiseSetAltitudes{-34, 8, -50, -6, -12, -18}));
  EXPECT_EQ(TNumericOptions{}.HorizonAltitudes, altitudes);

  TMeridianFeatures features;
  features.Mode = 0;
  std::string mask = "old";
  DefaultMeridianFeatures(features, 1, mask, "/data");
  EXPECT_EQ(mask, "old");
  EXPECT_EQ(features.Mode, 2);
  EXPECT_EQ(features.Longitudes[0], 292.0);
  EXPECT_EQ(features.Names[2], "GRF");
  DefaultMeridianFeatures(features, 0, mask, "/data/");
  EXPECT_EQ(mask, "/data/*.csv");
}

TEST(SetupRoutines, QuestionsMessagesAndColours) {
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  int opened = 0;
  auto previous = SetPeriodDialogHook([&] { ++opened; });
  sink.QueueReply(MessageResult::No);
  EXPECT_FALSE(AskFixEndBeforeStart());
  EXPECT_EQ(opened, 0);
  sink.QueueReply(MessageResult::Yes);
  EXPECT_TRUE(AskFixEndBeforeStart());
  EXPECT_EQ(opened, 1);
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
  SetPeriodDialogHook(previous);

  LanguageEnglish = 1;
  ShowPlutoDateInvalid();
  LanguageEnglish = 0;
  EXPECT_EQ(sink.messages.back().text, "No valid date for a Pluto ephemeris");

  std::int32_t color = 0x112233;
  EXPECT_EQ(PickColor(color), 0);  // no chooser installed
  test::RecordingColorChooser chooser;
  ScopedColorChooser colorGuard(chooser);
  chooser.QueueAnswer(std::nullopt);
  EXPECT_EQ(PickColor(color), 0);
  EXPECT_EQ(color, 0x112233);
  chooser.QueueAnswer(0x0000FF);
  EXPECT_EQ(PickColor(color), 1);
  EXPECT_EQ(color, 0x0000FF);
  EXPECT_EQ(chooser.shown, (std::vector<std::int32_t>{0x112233, 0x112233}));
}

TEST(NumericOptions, ReferenceAltitudesAreCheckedAgainstTheirLimits) {
  double value = 1.0;
  EXPECT_TRUE(ParseReferenceAltitude(0, "-5399.9", value));
  EXPECT_EQ(value, -5399.9);
  EXPECT_TRUE(ParseReferenceAltitude(2, " -50,5 ", value));
  EXPECT_EQ(value, -50.5);
  EXPECT_TRUE(ParseReferenceAltitude(5, "89.99", value));
  value = 7.0;
  for (const auto& [field, text] : std::vector<std::pair<int, std::string>>{
           {0, "5400"}, {1, "-5400"}, {3, "90"}, {4, "-90.0"}, {0, "abc"}, {0, ""}, {0, "nan"}, {0, "inf"},
           {0, "1e400"}, {3, "0x10"}, {0, "12.5.3"}, {0, "1,2,3"}}) {
    EXPECT_FALSE(ParseReferenceAltitude(field, text, value)) << text;
  }
  EXPECT_EQ(value, 7.0);  // a refused text leaves the value
  EXPECT_EQ(ReferenceAltitudeMessage(0, false), "Bitte einen Wert <5400 und >-5400 eingeben!");
  EXPECT_EQ(ReferenceAltitudeMessage(3, true), "Please enter a value <90 and >-90!");
}

TEST(NumericOptions, CopyBackSwitchGuardsTheFourSearchValues) {
  TNumericOptions target;
  TNumericOptions edited;
  edited.MagnitudeLimit = 5.5f;
  edited.OccultationMaxSunAltitude = -12;
  edited.PhenomenaMaxSunAltitude = -10;
  edited.PhenomenaMinObjectAltitude = 20;
  edited.MoonCacheOrder = 7;
  edited.ConjunctionMinAltitude1 = 10;
  edited.ExactSunMoon = 1;
  CopyNumericOptionsBack(edited, false, target);
  EXPECT_EQ(target.MagnitudeLimit, 8.0f);
  EXPECT_EQ(target.OccultationMaxSunAltitude, -6);
  EXPECT_EQ(target.PhenomenaMaxSunAltitude, -3);
  EXPECT_EQ(target.PhenomenaMinObjectAltitude, 6);
  EXPECT_EQ(target.MoonCacheOrder, 7);
  EXPECT_EQ(target.ConjunctionMinAltitude1, 10);
  EXPECT_EQ(target.ExactSunMoon, 1);
  CopyNumericOptionsBack(edited, true, target);
  EXPECT_EQ(target, edited);

  DefaultNumericValues(edited);
  EXPECT_EQ(edited.MoonCacheOrder, 13);
  EXPECT_EQ(edited.MagnitudeLimit, 8.0f);
  EXPECT_EQ(edited.ExactSunMoon, 1);  // switches are not defaults of the button
  PolarCachePreset(edited);
  EXPECT_EQ(edited.MoonCacheSpan, 15);
  EXPECT_EQ(edited.MoonCacheOrder, 11);
}

}  // namespace
}  // namespace kvx
