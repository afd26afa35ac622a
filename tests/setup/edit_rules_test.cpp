// The rules behind the edit controls and the location list.
#include "setup/edit_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <utility>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "platform/messages.h"
#include "setup/location_editor.h"
#include "setup/location_list.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

TEST(EditRules, TimesOfDayAreNormalisedAndReadAsPackedHours) {
  EXPECT_EQ(NormalizeTimeHhMm("9:5", '.'), "09.5");
  EXPECT_EQ(NormalizeTimeHhMm(" 12 : 345", ','), "12,34");
  EXPECT_EQ(NormalizeTimeHhMmSs("12:5:30", '.'), "12.0530");
  EXPECT_EQ(NormalizeTimeHhMmSs("1:02:03", '.'), "01.0203");

  double h = -1;
  ASSERT_TRUE(TimeEditTextToHours("9:5", false, h));
  EXPECT_NEAR(h, 9.0 + 50.0 / 60.0, 1e-9) << "9:5 is 9 h 50 min";
  ASSERT_TRUE(TimeEditTextToHours("23:59:59", true, h));
  EXPECT_NEAR(h, 23.999722, 1e-6);
  ASSERT_TRUE(TimeEditTextToHours("25:00", false, h));
  EXPECT_NEAR(h, 1.0, 1e-9);
  ASSERT_TRUE(TimeEditTextToHours("00:00:00", true, h));
  EXPECT_EQ(h, 0.0) << "a zero step stays zero";
  h = 7;
  EXPECT_FALSE(TimeEditTextToHours("ab:cd", true, h));
  EXPECT_FALSE(TimeEditTextToHours("1e3", true, h)) << "pasted exponents are no time";
  EXPECT_EQ(h, 7);
  // A number of twenty digits is no time of day (it was kept as 232 hours
  // and shown as 16:00); nor are three digits of hours.
  std::ifstream huge(std::string(KVX_FIXTURE_DIR) + "/bad_inputs/time_edit_huge.txt");
  std::string typed;
  ASSERT_TRUE(std::getline(huge, typed));
  EXPECT_FALSE(TimeEditTextToHours(typed, false, h));
  EXPECT_FALSE(TimeEditTextToHours(typed, true, h));
  EXPECT_FALSE(TimeEditTextToHours("100:00", false, h));
  EXPECT_EQ(h, 7);

  EXPECT_NEAR(HoursToPackedHours(12.999999), 13.0, 1e-12) << "60 s and 60 min carried";
  EXPECT_NEAR(HoursToPackedHours(-1.5), -1.30, 1e-12);
  EXPECT_EQ(TimeOfDayText(2.5, true), "02:30:00");
  EXPECT_EQ(TimeOfDayText(23.99999999, false), "23:59");
}

TEST(EditRules, KeysAndFinishedTextsOfTheNumberBoxes) {
  // A sign is part of a whole number: "+1" is 1, "+" or "+-1" none.
  EXPECT_TRUE(IntegerKeyAllowed('-'));
  EXPECT_TRUE(IntegerKeyAllowed('+'));
  EXPECT_FALSE(IntegerKeyAllowed('a'));
  EXPECT_EQ(FloatKeyFilter('.', ','), ',');
  EXPECT_EQ(FloatKeyFilter('x', ','), '\0');
  EXPECT_TRUE(IsIntegerText("-12"));
  EXPECT_TRUE(IsIntegerText("+12"));
  EXPECT_FALSE(IsIntegerText("1-2"));
  EXPECT_FALSE(IsIntegerText("+-2"));
  EXPECT_FALSE(IsIntegerText("12abc")) << "pasted letters";
  EXPECT_TRUE(IsFloatText("180,0"));
  EXPECT_TRUE(IsFloatText("+1,5"));
  EXPECT_FALSE(IsFloatText("1.2.3"));
  EXPECT_FALSE(IsFloatText("nan"));
  std::int32_t whole = 7;
  for (const char* text : {"+", "-", "", " ", "+-1", "--1", "1.0", "1 2", "2147483648", "-2147483649", "0x1"}) {
    EXPECT_FALSE(ReadWholeNumberText(text, whole)) << text;
  }
  EXPECT_EQ(whole, 7);
  for (const auto& [text, value] : {std::pair{"+30", 30}, {" -12 \r", -12}, {"007", 7}, {"-2147483648", INT32_MIN}}) {
    ASSERT_TRUE(ReadWholeNumberText(text, whole)) << text;
    EXPECT_EQ(whole, value) << text;
  }
}

TEST(EditRules, DatesHeldAsJulianDays) {
  const double today = CalendarDateToJd(7, 12, 2026, 0);
  // 29 February 1900 does not exist: the date carries into March.
  const double jd1900 = ParseAstroDateText("29.2.1900", today);
  EXPECT_EQ(AstroDatePart(jd1900, 3), 1);
  EXPECT_EQ(AstroDatePart(jd1900, 2), 3);
  // 1500 is a leap year of the Julian calendar ...
  const double jd1500 = ParseAstroDateText("29.2.1500", today);
  EXPECT_EQ(AstroDatePart(jd1500, 3), 29);
  EXPECT_EQ(AstroDatePart(jd1500, 2), 2);
  // ... but the day check uses the Gregorian leap rule.
  const double feb1500 = CalendarDateToJd(1, 2, 1500, 0);
  EXPECT_EQ(AstroDateSetPart(feb1500, 3, 29), feb1500);
  EXPECT_EQ(AstroDatePart(ParseAstroDateText("1.1.07", today), 1), 2007);
  EXPECT_EQ(AstroDatePart(ParseAstroDateText("x.5", today), 3), 7) << "a bad part keeps today's";
  EXPECT_EQ(AstroDatePart(ParseAstroDateText("x.5", today), 2), 5);
  EXPECT_EQ(AstroDateText(CalendarDateToJd(5, 3, -44, 0)), "5.3.-0044");
  EXPECT_TRUE(AstroDateInRange(5373484.4583));
  EXPECT_FALSE(AstroDateInRange(5373484.5));
  EXPECT_FALSE(AstroDateInRange(-1));
  EXPECT_EQ(DaysInMonth(2, 2000), 29);
  EXPECT_EQ(DaysInMonth(2, 1900), 28);

  std::int32_t d = 0, m = 0, y = 0;
  EXPECT_TRUE(ParseDottedDate("01.01.20000", d, m, y));
  EXPECT_EQ(y, 20000);
  EXPECT_FALSE(ParseDottedDate("1.1", d, m, y));
  EXPECT_FALSE(ParseDottedDate("a.1.2000", d, m, y));
}

TEST(EditRules, AnglesAndTheBestListHit) {
  double deg = 0;
  ASSERT_TRUE(ReadDegreeText("13°24'30''", deg));
  EXPECT_NEAR(deg, 13.408333, 1e-6);
  ASSERT_TRUE(ReadDegreeText("180,0", deg));
  EXPECT_EQ(deg, 180.0);
  EXPECT_FALSE(ReadDegreeText("abc", deg));
  EXPECT_EQ(DegreesArcText(52.516667), "52°31'00''");

  EXPECT_EQ(FindBestListMatch("ber", {"Oberhausen", "Berlin", "Bern"}), 2);
  EXPECT_EQ(FindBestListMatch("BER", {"Oberhausen", "Berlin"}), 1);
  EXPECT_EQ(FindBestListMatch("xyz", {"Oberhausen"}), -1);
  EXPECT_EQ(FindBestListMatch("", {"Oberhausen"}), -1);
  EXPECT_EQ(FindBestListMatch("mün", {"MÜNCHEN"}), 0) << "umlauts lower-cased too";
}

TEST(LocationList, LinesOfTheLocationFile) {
  std::string name;
  TOrtdatens p;
  ASSERT_TRUE(ParseLocationLine("Berlin;-13.2400;52.3100;1;0", name, p));
  EXPECT_EQ(name, "Berlin");
  EXPECT_EQ(p.Longitude, -13.24);
  EXPECT_EQ(p.Latitude, 52.31);
  EXPECT_EQ(p.Zone, 1);
  EXPECT_EQ(p.Postcode, "");
  ASSERT_TRUE(ParseLocationLine("Berlin;-13,2400;52,3100;1;0;10115\r", name, p));
  EXPECT_EQ(p.Longitude, -13.24);
  EXPECT_EQ(p.Postcode, "10115");
  // A word, a lone decimal mark or a comma exponent in any number field is
  // no place and named: never a zone or minute count of 0. So is a blank
  // longitude, latitude or zone; blank minutes are 0.
  const char* const fields[] = {"longitude", "latitude", "zone", "minutes"};
  for (std::size_t k = 0; k < 4; ++k) {
    for (const char* bad : {"B1950", "1,5e", "", ".", ",", "-.", "\u2212", "MEZ", "+", "+-1"}) {
      if (k == 3 && std::string(bad).empty()) continue;
      std::string texts[] = {"10", "50", "1", "0"};
      texts[k] = bad;
      const char* field = nullptr;
      EXPECT_FALSE(ParseLocationLine("X;" + texts[0] + ";" + texts[1] + ";" + texts[2] + ";" + texts[3], name, p, &field))
          << k << bad;
      EXPECT_STREQ(field, fields[k]) << bad;
    }
  }
  // Zones past 12 h keep the rest in the minutes, up to 720 either way; a
  // zone of 13 or 14 hours (older files) is 12 with 60 or 120 minutes more;
  // blank or missing minutes are 0; a sign belongs to a whole number. Read
  // as "zone/minutes", or the first field at fault: a zone by itself, the
  // minutes by themselves, then the minutes as the fold leaves them; a
  // field the line ends before (also just after its ";") is blank.
  const std::pair<const char*, const char*> kZoneLines[] = {
      {"K;-157.24;1.52;14;0", "12/120"},    {"T;175.12;-21.08;13;", "12/60"},     {"C;176.33;-43.57;12;45;8016", "12/45"},
      {"B;-13.24;52.31;1;;10115", "1/0"},   {"B;-13.24;52.31;1", "1/0"},        {"W;10;50;-14;-30", "-12/-150"},
      {"P;-13.24;52.31;+1;+30", "1/30"},    {"P;-13.24;52.31; +13 ;-60", "12/0"}, {"V;-13.24;52.31;1;1000", "minutes"},
      {"V;-13.24;52.31;12;-721", "minutes"}, {"V;-13.24;52.31;14;700", "minutes"}, {"V;-13.24;52.31;15;45.5", "zone"},
      {"V;-13.24;52.31;", "zone"},          {"V;-13.24;", "latitude"},          {"V;", "longitude"},
      {"V;-13.24;52.31;x;1000", "zone"},
  };
  for (const auto& [line, read] : kZoneLines) {
    TOrtdatens place;
    const char* field = nullptr;
    const bool isPlace = ParseLocationLine(line, name, place, &field);
    EXPECT_EQ(isPlace ? std::to_string(place.Zone) + "/" + std::to_string(place.ExtraMinutes) : std::string(field),
              read)
        << line;
  }
  const char* field = nullptr;
  EXPECT_FALSE(ParseLocationLine("X;10;50;15;0", name, p, &field));
  EXPECT_STREQ(field, "zone");
  EXPECT_FALSE(ParseLocationLine("X;10;50", name, p, &field));
  EXPECT_STREQ(field, "zone");
  EXPECT_FALSE(ParseLocationLine(":ORTDATEI VAMUR!", name, p, &field));
  EXPECT_EQ(field, nullptr);
  EXPECT_FALSE(ParseLocationLine("", name, p));
  // Minutes or seconds of 60 and more, a latitude beyond 90: no place.
  EXPECT_FALSE(ParseLocationLine("X;10.6000;50;1;0", name, p));
  EXPECT_FALSE(ParseLocationLine("X;10.0060;50;1;0", name, p));
  EXPECT_FALSE(ParseLocationLine("X;10;91;1;0", name, p));
  EXPECT_TRUE(ParseLocationLine("X;10.5959;90;1;0", name, p));
}

TEST(LocationList, LoadSearchAndIndices) {
  InitAstroNameTables();
  test::TempFolder folder;
  const std::string file = folder.Write(
      "orte.csv",
      ":ORTDATEI VAMUR!\n:Ort;Geographische Länge;Geographische Breite;Zeitzone;Postleitzahl\n"
      "Oberhausen;-6.5107;51.2818;1;0;46045\nBerlin;-13.2400;52.3100;1;0;10115\nX;abc;1;1;0\n"
      "Bern;-7.2649;46.5654;1;0;3011\n");
  RecordingMessageSink sink;
  ScopedMessageSink scoped(sink);
  Orttabelle list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  ASSERT_TRUE(list.Neuedateiladen(file, 5, false));
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.ItemIndex(), 0) << "an index beyond the list selects the first place";
  EXPECT_EQ(list.PlaceName(), "Oberhausen");
  EXPECT_GT(changes, 0);

  EXPECT_TRUE(list.suchen("ber"));
  EXPECT_EQ(list.PlaceName(), "Berlin") << "word start skips Oberhausen";
  list.SetSearchAnywhere(true);
  EXPECT_TRUE(list.suchen("ber"));
  EXPECT_EQ(list.PlaceName(), "Oberhausen");
  EXPECT_FALSE(list.suchen(""));
  EXPECT_TRUE(list.plzsuchen("301"));
  EXPECT_EQ(list.PlaceName(), "Bern");
  EXPECT_EQ(list.GetPostcode(), "3011");
  EXPECT_EQ(list.ZoneName(), ZoneNames[13]);
  list.SetStoredIndex(7);
  EXPECT_EQ(list.GetStoredIndex(), 0);

  // The lines that are no place are named, asked or not (the location
  // dialog's first load asks nothing).
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, file + ": 1 Zeile übersprungen (Zeile 5, Feld Länge)");
  // A file that cannot be opened: an empty list; a message only when asked.
  sink.messages.clear();
  EXPECT_FALSE(list.Neuedateiladen(folder.File("missing.csv"), 0, false));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_FALSE(list.Neuedateiladen(folder.File("missing.csv"), 0, true));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].text.find("nicht gefunden"), std::string::npos);
}

// The file of a mistyped 1000 extra minutes: that line is no place, named
// in the program's language, singular or plural as the count is; the place
// beside it (Kiritimati, +14 h) keeps its 120 minutes, named by its offset.
// Lines whose zone and minutes are both at fault name the zone, the first
// of them in the line; zone 14 (Kiritimati in an older file) with 1045
// minutes names the minutes. "+1" and "+30" are whole numbers: that place
// loads like the one without signs, without a note.
TEST(LocationList, ZonesAndMinutesAreReadWithTheirSignsAndTheFirstFieldAtFaultNamed) {
  InitAstroNameTables();
  RecordingMessageSink sink;
  ScopedMessageSink scoped(sink);
  const std::string fixtures = std::string(KVX_FIXTURE_DIR) + "/bad_inputs/";
  const std::string fixture = fixtures + "location_minutes_beyond_720.txt";
  Orttabelle list;
  ASSERT_TRUE(list.Neuedateiladen(fixture, 0, true));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.PlaceName() + " " + std::to_string(list.ExtraMinutes()) + " " + list.ZoneName(), "Kiritimati 120 UTC+14");
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, fixture + ": 1 Zeile übersprungen (Zeile 2, Feld Minuten)");

  const std::string faults = fixtures + "location_zone_and_minutes_bad_names_minutes.txt";
  std::ifstream in(faults, std::ios::binary);
  std::string line, name, read;
  while (std::getline(in, line)) {
    TOrtdatens place;
    const char* field = nullptr;
    read += ParseLocationLine(line, name, place, &field) ? std::to_string(place.Zone) + "/" + std::to_string(place.ExtraMinutes)
                                                         : std::string(field);
    read += " ";
  }
  EXPECT_EQ(read, "12/120 zone zone minutes ");
  sink.messages.clear();
  ASSERT_TRUE(list.Neuedateiladen(faults, 0, false));
  EXPECT_EQ(list.Count(), 1);
  ASSERT_EQ(sink.messages.size(), 1u) << "named also where a missing file would pass unsaid";
  EXPECT_EQ(sink.messages[0].text, faults + ": 3 Zeilen übersprungen (erste: Zeile 2, Feld Zeitzone)");

  const std::string signs = fixtures + "location_plus_sign_zone_refused.txt";
  sink.messages.clear();
  ASSERT_TRUE(list.Neuedateiladen(signs, 0, true));
  ASSERT_EQ(list.Count(), 2);
  for (int k = 0; k < 2; ++k) {
    EXPECT_EQ(std::to_string(list.Place(k).Zone) + "/" + std::to_string(list.Place(k).ExtraMinutes), "1/30") << k;
  }
  EXPECT_TRUE(sink.messages.empty());

  test::TempFolder folder;
  const std::string two = folder.Write("orte.csv", ":ORTDATEI VAMUR!\nA;10;50;1;-1000\nB;10;50;x;0\nC;10;50;1\n");
  LanguageEnglish = 1;
  ASSERT_TRUE(list.Neuedateiladen(two, 0, true));
  EXPECT_EQ(sink.messages.back().text, two + ": 2 lines skipped (first: line 2, field minutes)");
}

// Seconds that round to 60 go into the next minute, in the file and in the
// edits: the place with 13 deg 24' 59.6" survives every store (it was
// written as -13.2460 and dropped at the next load).
TEST(LocationList, StoredPlacesRoundInSexagesimal) {
  IntlSeparators = TIntlSeparators{};  // the texts below with the default decimal point
  EXPECT_EQ(LocationCoordinateText(-13.24596), "-13.2500");
  EXPECT_EQ(LocationCoordinateText(59.59596), "60.0000");
  EXPECT_EQ(LocationCoordinateText(52.3125), "52.3125");
  EXPECT_EQ(LocationCoordinateText(-0.00004), "0.0000");
  RecordingMessageSink sink;
  ScopedMessageSink scoped(sink);
  test::TempFolder folder;
  std::ifstream in(std::string(KVX_FIXTURE_DIR) + "/bad_inputs/locations_seconds_59_96.csv", std::ios::binary);
  const std::string file = folder.Write("orte.csv", std::string(std::istreambuf_iterator<char>(in), {}));
  TLocationEditorModel model;
  ASSERT_TRUE(model.Load(file));
  ASSERT_EQ(model.List.Count(), 2);
  ASSERT_TRUE(model.Store());  // the first place, unchanged
  TLocationEditorModel again;
  ASSERT_TRUE(again.Load(file));
  ASSERT_EQ(again.List.Count(), 2) << test::TempFolder::Read(file);
  EXPECT_EQ(again.List.Name(1), "Sternwarte");
  EXPECT_EQ(again.List.Place(1).Longitude, -13.25);
  EXPECT_EQ(again.List.Place(0).Longitude, -13.24);
  EXPECT_TRUE(sink.messages.empty());

  // Typed into the editor, a coordinate is rounded to whole seconds with the
  // carry, not cut at four decimals (-88.215996 was kept as -88.2159, 30 m
  // off), and the stored file gives the rounded place back.
  const std::pair<const char*, double> typed[] = {
      {"-88.215996", -88.22}, {"-13.24596", -13.25}, {"89.59596", 90.0}, {"52.31254", 52.3125}, {"12.3", 12.3}};
  for (const auto& [text, expected] : typed) {
    double packed = 0;
    ASSERT_EQ(CheckLocationCoordinate(text, 90, packed), TFieldState::Accepted) << text;
    EXPECT_NEAR(packed, expected, 1e-12) << text;
  }
  double packed = 0;
  EXPECT_EQ(CheckLocationCoordinate("90.00004", 90, packed), TFieldState::Refused);
  ASSERT_EQ(CheckLocationCoordinate("-88.215996", 90, packed), TFieldState::Accepted);
  again.Working.Latitude = packed;
  ASSERT_TRUE(again.Store());
  TLocationEditorModel third;
  ASSERT_TRUE(third.Load(file));
  EXPECT_EQ(LocationCoordinateText(third.List.Place(0).Latitude), "-88.2200");
  EXPECT_TRUE(sink.messages.empty());
}

TEST(LocationList, TheShippedFileLoadsEveryPlace) {
  Orttabelle list;
  ASSERT_TRUE(list.Neuedateiladen(std::string(KVX_DATA_DIR) + "/orte.csv", 0, false));
  EXPECT_GE(list.Count(), 30);
  std::ifstream in(std::string(KVX_DATA_DIR) + "/orte.csv");
  int lines = 0;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != ':') ++lines;
  EXPECT_EQ(list.Count(), lines) << "no line of the shipped file is skipped";
}

}  // namespace
}  // namespace kvx
