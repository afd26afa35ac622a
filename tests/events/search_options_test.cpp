// The option records: golden bytes, round trips that keep the spare bytes,
// fields out of range falling back one by one, the conjunction kind of the
// typed record, the value texts, and the dialogs' input checks with their
// messages.
#include "events/search_options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "core/little_endian.h"
#include "platform/globals.h"
#include "support/recording_message_sink.h"

namespace kvx {
namespace {

namespace le = little_endian;

TEST(SearchOptionRecords, GoldenBytesAndRoundTripsKeepSpareBytes) {
  TEventSearchOptions e;
  e.Step = 2.5;  // 0x4004000000000000
  e.Repetitions = 0x01020304 % 100000 + 150;
  e.ObjectCode = 9;
  e.EventKind = 23;
  e.Spare = {0xAB, 0xCD};
  const auto image = EncodeEventSearchOptions(e);
  const TEventSearchOptionsImage golden = {0, 0, 0, 0, 0, 0, 0x04, 0x40, 0, 0, 0, 0, 9, 23, 0xAB, 0xCD};
  TEventSearchOptionsImage expected = golden;
  le::PutI32(&expected[8], e.Repetitions);
  EXPECT_EQ(image, expected);
  EXPECT_EQ(EncodeEventSearchOptions(DecodeEventSearchOptions(image)), image);

  TConjunctionOptions c;
  c.Topocentric = 1;
  c.SmallestSeparation = 1;
  c.Spare1 = 0x5A;
  c.Step = 0.25;
  c.Repetitions = 100000;
  c.FirstObject = 13;
  c.SecondObject = 0;
  c.Spare2 = {0x11, 0x22};
  c.ChosenBody = 9;
  c.UserObjectMagnitudeLimit = -3;
  c.MinorBodyMagnitudeLimit = 12.5;
  const auto cImage = EncodeConjunctionOptions(c);
  EXPECT_EQ(cImage[0], 1);
  EXPECT_EQ(cImage[1], 0);
  EXPECT_EQ(cImage[2], 1);
  EXPECT_EQ(cImage[3], 0x5A);
  EXPECT_DOUBLE_EQ(le::GetF64(&cImage[4]), 0.25);
  EXPECT_EQ(le::GetI32(&cImage[12]), 100000);
  EXPECT_EQ(cImage[16], 13);
  EXPECT_EQ(cImage[17], 0);
  EXPECT_EQ(cImage[18], 0x11);
  EXPECT_EQ(cImage[19], 0x22);
  EXPECT_EQ(le::GetI32(&cImage[20]), 9);
  EXPECT_DOUBLE_EQ(le::GetF64(&cImage[24]), -3);
  EXPECT_DOUBLE_EQ(le::GetF64(&cImage[32]), 12.5);
  EXPECT_EQ(EncodeConjunctionOptions(DecodeConjunctionOptions(cImage)), cImage);  // boundaries accepted
}

TEST(SearchOptionRecords, FieldsOutOfRangeFallBackOneByOne) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double step : {nan, 0.24, 25.01, -1.0, std::numeric_limits<double>::infinity()}) {
    TEventSearchOptions e;
    e.Step = step;
    e.Repetitions = 149;
    e.ObjectCode = 2;
    e.EventKind = 8;
    const auto decoded = DecodeEventSearchOptions(EncodeEventSearchOptions(e));
    EXPECT_EQ(decoded.Step, kDefaultSearchStep) << step;
    EXPECT_EQ(decoded.Repetitions, kDefaultRepetitions);
    EXPECT_EQ(decoded.ObjectCode, 2);  // the valid fields stay
    EXPECT_EQ(decoded.EventKind, 8);
  }
  TEventSearchOptions e;
  e.Repetitions = 100001;
  e.ObjectCode = 0;  // the Sun offers no perihelion
  e.EventKind = 0;
  auto decoded = DecodeEventSearchOptions(EncodeEventSearchOptions(e));
  EXPECT_EQ(decoded.Repetitions, kDefaultRepetitions);
  EXPECT_EQ(decoded.ObjectCode, 0);
  EXPECT_TRUE(EventKindOffered(decoded.ObjectCode, decoded.EventKind));
  e.ObjectCode = 12;
  e.EventKind = kEventKindCount;  // no kind
  decoded = DecodeEventSearchOptions(EncodeEventSearchOptions(e));
  EXPECT_EQ(decoded.ObjectCode, 3);
  EXPECT_EQ(decoded.EventKind, 6);
  EXPECT_EQ(DecodeEventSearchOptions(std::span<const std::uint8_t>()).ObjectCode, 3);  // short image: defaults

  TConjunctionOptions c;
  c.FirstObject = 0;
  c.SecondObject = 12;
  c.ChosenBody = 10;
  c.UserObjectMagnitudeLimit = 30.01;
  c.MinorBodyMagnitudeLimit = nan;
  c.Step = 25;
  const auto cd = DecodeConjunctionOptions(EncodeConjunctionOptions(c));
  EXPECT_EQ(cd.FirstObject, 2);
  EXPECT_EQ(cd.SecondObject, 4);
  EXPECT_EQ(cd.ChosenBody, 0);
  EXPECT_EQ(cd.UserObjectMagnitudeLimit, 30);
  EXPECT_EQ(cd.MinorBodyMagnitudeLimit, 30);
  EXPECT_EQ(cd.Step, 25);

  // Every decoded record offers the radio it holds, whatever the bytes.
  TEventSearchOptionsImage image{};
  for (int object = 0; object < 256; object += 7) {
    for (int kind = 0; kind < 256; kind += 5) {
      image[12] = static_cast<std::uint8_t>(object);
      image[13] = static_cast<std::uint8_t>(kind);
      const auto d = DecodeEventSearchOptions(image);
      ASSERT_TRUE(EventKindOffered(d.ObjectCode, d.EventKind)) << object << " " << kind;
    }
  }
}

TEST(SearchOptionRecords, ConjunctionKindOfTheTypedRecordAndDefaults) {
  TConjunctionOptions c;
  EXPECT_EQ(ConjunctionKindOf(c), 1);
  EXPECT_EQ(ConjunctionKindAbbrev(c), "K.RA");
  c.InLongitude = 1;
  c.SmallestSeparation = 1;
  EXPECT_EQ(ConjunctionKindOf(c), 3);
  EXPECT_EQ(ConjunctionKindAbbrev(c), "A.S.");
  c.Topocentric = 1;
  c.Step = 3;
  SetSearchDefaults(c);
  EXPECT_EQ(c.Topocentric, 0);
  EXPECT_EQ(c.Step, 15);
  EXPECT_EQ(c.Repetitions, 300);
}

TEST(SearchOptionRecords, ValueTextsByKind) {
  const char saved = IntlSeparators.Decimal;
  IntlSeparators.Decimal = ',';
  EXPECT_EQ(EventValueText(0, 3, 1.381234), "1,3812 AE");
  EXPECT_EQ(EventValueText(2, 9, 56.789), "56,79 RD");
  EXPECT_EQ(EventValueText(8, 1, std::sin(27.84 * std::numbers::pi / 180)), "27,8 °");
  EXPECT_EQ(EventValueText(9, 1, -std::sin(19.0 * std::numbers::pi / 180)), "19,0 °");
  EXPECT_EQ(EventValueText(14, 3, std::cos(1.86 * std::numbers::pi / 180)), "1,9 °");
  EXPECT_EQ(EventValueText(6, 3, 0.3), "");
  EXPECT_EQ(EventValueText(4, 2, std::numeric_limits<double>::quiet_NaN()), "");
  IntlSeparators.Decimal = saved;
}

TEST(SearchInputChecks, LastFailureWinsAndBadTextsKeepTheValue) {
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  double step = 7;
  std::int32_t repetitions = 400;
  auto error = CheckSearchInputs(true, false, "149", "0,24", step, repetitions);
  EXPECT_EQ(error, TSearchInputError::Step);
  ShowSearchInputError(error);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Der Abstand zwischen zwei Iterationen muß zwischen 0,25 und 25 Tagen liegen!");
  EXPECT_EQ(CheckSearchInputs(false, true, "150", "25", step, repetitions), TSearchInputError::SameObjects);
  EXPECT_EQ(step, 25);
  EXPECT_EQ(repetitions, 150);
  EXPECT_EQ(CheckSearchInputs(false, false, "100000", "0.25", step, repetitions), TSearchInputError::NoSelection);
  EXPECT_EQ(CheckSearchInputs(true, false, " 100000 ", " 0,25", step, repetitions), TSearchInputError::None);
  EXPECT_EQ(CheckSearchInputs(true, false, "abc", "10", step, repetitions), TSearchInputError::Repetitions);

  sink.messages.clear();
  step = 12;
  for (const char* bad : {"", " ", "abc", "nan", "inf", "1e400", "1e1", "-3", "1,5.2", "1 5", "0x10", "25,01"}) {
    EXPECT_FALSE(LeaveStepField(bad, step)) << bad;
    EXPECT_EQ(step, 12);
  }
  EXPECT_EQ(sink.messages.size(), 12u);
  repetitions = 500;
  for (const char* bad : {"149", "100001", "200,5", "-200", "nan"}) {
    EXPECT_FALSE(LeaveRepetitionsField(bad, repetitions)) << bad;
    EXPECT_EQ(repetitions, 500);
  }
  EXPECT_EQ(sink.messages.back().text, "Die Anzahl der Iterationen muß zwischen 150 und 100000 liegen!");
  EXPECT_TRUE(LeaveStepField("2.5", step));
  EXPECT_EQ(step, 2.5);
  EXPECT_TRUE(LeaveRepetitionsField("100000", repetitions));
}

}  // namespace
}  // namespace kvx
