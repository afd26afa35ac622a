// Observation files, stations, state-vector files and the options record:
// golden lines and bytes, round trips, the three formats against the
// reference places of make_observation_fixtures.py, and the bad-input rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

#include "core/text_conversion.h"
#include "orbitdet/observation_files.h"
#include "orbitdet/orbit_output.h"
#include "orbitdet/reference_set.h"
#include "platform/text_encoding.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

// An observation line from its fields at their published columns.
std::string Line(const std::string& designation, char note2, const std::string& date, const std::string& ra,
                 const std::string& dec, const std::string& mag, const std::string& reference,
                 const std::string& code) {
  std::string l(80, ' ');
  l.replace(0, designation.size(), designation);
  l[14] = note2;
  l.replace(15, date.size(), date);
  l.replace(32, ra.size(), ra);
  l.replace(44, dec.size(), dec);
  l.replace(65, mag.size(), mag);
  l.replace(71, reference.size(), reference);
  l.replace(77, code.size(), code);
  return l;
}

std::string ReadFixtureBytes(const std::string& name) {
  std::string bytes, error;
  EXPECT_TRUE(ReadFileBytes(std::string(KVX_FIXTURE_DIR) + "/" + name, bytes, error)) << error;
  return bytes;
}

const char* const kStationHeader = "Code  Long.   cos      sin    Name";

TEST(Stations, PublishedLayoutWithLetterCodesSpacecraftAndDuplicates) {
  const std::vector<std::string> lines = {
      "",
      "<pre>",
      kStationHeader,
      "000   0.0000 0.62411 +0.77873 Greenwich",
      "G96 249.211280.845107+0.533611Mt. Lemmon Survey",
      "C51                           WISE",
      "568 204.5278 0.94171 +0.33725 Maunakea",
      "X1  garbage",
      "Z01 10.0     1.5     +0.1     Too far out",
      "568 204.5300 0.94000 +0.33700 Maunakea again",
      "</pre>",
      "999 1.0      0.5     +0.5     After the list"};
  std::vector<tstation> stations;
  int skipped = 0, first = 0;
  ASSERT_TRUE(ReadStationList(lines, stations, skipped, first));
  EXPECT_EQ(skipped, 2);
  EXPECT_EQ(first, 8);
  ASSERT_EQ(stations.size(), 5u);
  torbdet od;
  od.SetStations(stations);
  tstation s;
  ASSERT_TRUE(od.FindStation("G96", s));
  EXPECT_DOUBLE_EQ(s.Longitude, 249.21128);
  EXPECT_DOUBLE_EQ(s.RhoCos, 0.845107);
  EXPECT_DOUBLE_EQ(s.RhoSin, 0.533611);
  EXPECT_EQ(s.Name, "Mt. Lemmon Survey");
  ASSERT_TRUE(od.FindStation("C51", s));
  EXPECT_FALSE(s.HasPlace);
  ASSERT_TRUE(od.FindStation("568", s));
  EXPECT_EQ(s.Name, "Maunakea again");  // the last match wins
  EXPECT_FALSE(od.FindStation("999", s));
  EXPECT_EQ(s.RhoCos, 0.0);

  EXPECT_FALSE(ReadStationList({"Code Long. cos sin Name", "000   0.0000 0.62411 +0.77873 Greenwich"}, stations,
                               skipped, first));

  // The shipped list: the published codes in the program's data folder.
  std::vector<std::string> shipped;
  ASSERT_TRUE(ReadTextFileLines(std::string(KVX_DATA_DIR) + "/stations.txt", shipped));
  ASSERT_TRUE(ReadStationList(shipped, stations, skipped, first));
  EXPECT_EQ(skipped, 0);
  EXPECT_GT(stations.size(), 2600u);
}

TEST(ObservationLines, PublishedColumnsAndTheirSpecialCases) {
  tobservation o;
  // Letter code, a reference in 72-77, the code from 78-80.
  ASSERT_EQ(ParseMpcObservationLine(Line("     K26X01A", 'C', "2025 11 20.123456", "13 03 27.404",
                                         "+01 11 27.94", "17.35", "~8Abc", "G96"),
                                    o),
            TMpcLineKind::Observation);
  EXPECT_EQ(o.Code, "G96");
  EXPECT_EQ(o.Designation, "K26X01A");
  EXPECT_EQ(o.Day, 20);
  EXPECT_NEAR(o.Hours, 0.123456 * 24, 1e-12);
  EXPECT_NEAR(o.RA, (13 + 3 / 60.0 + 27.404 / 3600) * 15, 1e-12);
  EXPECT_NEAR(o.Dec, 1 + 11 / 60.0 + 27.94 / 3600, 1e-12);
  EXPECT_DOUBLE_EQ(o.Magnitude, 17.35);
  // "-00 30 00.0" is -0.5 degrees; a blank magnitude is 0.
  ASSERT_EQ(ParseMpcObservationLine(Line("K26X01A", 'C', "2025 11 20.5", "01 02 03.4", "-00 30 00.0", "", "", "500"), o),
            TMpcLineKind::Observation);
  EXPECT_DOUBLE_EQ(o.Dec, -0.5);
  EXPECT_EQ(o.Magnitude, 0.0);
  // Minutes with a fraction and no seconds.
  ASSERT_EQ(ParseMpcObservationLine(Line("K26X01A", ' ', "2025 11 20.5", "01 02.5", "+10 20.25", "", "", "500"), o),
            TMpcLineKind::Observation);
  EXPECT_NEAR(o.RA, (1 + 2.5 / 60) * 15, 1e-12);
  EXPECT_NEAR(o.Dec, 10 + 20.25 / 60, 1e-12);
  // A line of 79 characters reads as padded.
  std::string shortLine = Line("K26X01A", 'C', "2025 11 20.5", "01 02 03.4", "+10 20 30.5", "18.1", "", "50 ");
  shortLine.resize(79);
  EXPECT_EQ(ParseMpcObservationLine(shortLine, o), TMpcLineKind::Observation);
  // Second lines and radar go on; spacecraft are counted apart.
  EXPECT_EQ(ParseMpcObservationLine(Line("K26X01A", 's', "2025 11 20.5", "", "", "", "", "C51"), o),
            TMpcLineKind::Skip);
  EXPECT_EQ(ParseMpcObservationLine(Line("K26X01A", 'R', "2025 11 20.5", "", "", "", "", "251"), o),
            TMpcLineKind::Skip);
  EXPECT_EQ(ParseMpcObservationLine(Line("K26X01A", 'S', "2025 11 20.5", "01 02 03.4", "+10 20 30.5", "", "", "C51"), o),
            TMpcLineKind::Spacecraft);
  // A field out of range makes the line unusable and is named; a zero month
  // is skipped.
  const char* field = nullptr;
  EXPECT_EQ(
      ParseMpcObservationLine(Line("K26X01A", 'C', "2025 02 30.5", "01 02 03.4", "+10 20 30.5", "", "", "500"), o, &field),
      TMpcLineKind::Unusable);
  EXPECT_STREQ(field, "day");
  EXPECT_EQ(
      ParseMpcObservationLine(Line("K26X01A", 'C', "2025 11 20.5", "24 02 03.4", "+10 20 30.5", "", "", "500"), o, &field),
      TMpcLineKind::Unusable);
  EXPECT_STREQ(field, "RA");
  EXPECT_EQ(
      ParseMpcObservationLine(Line("K26X01A", 'C', "2025 11 20.5", "01 02 03.4", "+91 20 30.5", "", "", "500"), o, &field),
      TMpcLineKind::Unusable);
  EXPECT_STREQ(field, "Dec");
  EXPECT_EQ(ParseMpcObservationLine(Line("K26X01A", 'C', "2025 00 20.5", "01 02 03.4", "+10 20 30.5", "", "", "500"), o),
            TMpcLineKind::ZeroDate);
  EXPECT_EQ(ParseMpcObservationLine("", o), TMpcLineKind::EndOfBlock);
}

class ObservationFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.Write("stations.txt", std::string("<pre>\n") + kStationHeader +
                                       "\n500   0.0000 0.00000 +0.00000 Geocentric\n"
                                       "568 204.5278 0.94171 +0.33725 Maunakea\n"
                                       "C51                           WISE\n</pre>\n");
    od_.Create(folder_.Path().string(), TTheorySelection{}, &list_, kFullTheory, 10);
  }
  std::string Observations(const std::vector<std::string>& codes, char note = 'C') {
    std::string text = "header\nObservations:\n";
    int day = 10;
    for (const std::string& code : codes) {
      text += Line("K26X01A", note, "2025 11 " + std::to_string(day++) + ".5", "01 02 03.40", "+10 20 30.5",
                   "18.1", "", code) +
              "\n";
    }
    return text;
  }
  test::TempFolder folder_;
  TObservationList list_;
  torbdet od_;
  RecordingMessageSink sink_;
  ScopedMessageSink scope_{sink_};
};

TEST_F(ObservationFiles, UnknownStationsStayGeocentricAndTheNextFileAsksAgain) {
  const std::string name = folder_.Write("a.txt", Observations({"568", "ZZZ", "YYY", "500", "C51"}));
  sink_.QueueReply(MessageResult::No);
  ASSERT_TRUE(OpenObservationFileNamed(od_, name));
  // One question (answered No), the lines kept, the spacecraft counted.
  ASSERT_EQ(list_.size(), 4u);
  EXPECT_EQ(list_[0].Obs.StationName, "Maunakea");
  EXPECT_EQ(list_[1].Obs.RhoCos, 0.0);
  EXPECT_EQ(list_[2].Obs.Code, "YYY");
  ASSERT_EQ(sink_.messages.size(), 2u);
  EXPECT_EQ(sink_.messages[0].text, "Eine Station (ZZZ) wurde nicht gefunden. Diese Warnung weiterhin anzeigen?");
  EXPECT_EQ(sink_.messages[1].text, "1 Beobachtung von Raumsonden oder beweglichen Beobachtern übersprungen");
  EXPECT_EQ(od_.StationWarning, 1);
  sink_.messages.clear();
  ASSERT_TRUE(OpenObservationFileNamed(od_, name));
  EXPECT_EQ(sink_.messages.size(), 3u);  // asked for ZZZ and, answered Yes, for YYY
  EXPECT_EQ(list_[0].Key, ShortestNumberText(list_[0].Obs.JD));
}

TEST_F(ObservationFiles, MissingStationListGivesOneNoticeAndGeocentricPlaces) {
  std::filesystem::remove(folder_.File("stations.txt"));
  const std::string name = folder_.Write("a.txt", Observations({"568", "500", "G96"}));
  ASSERT_TRUE(OpenObservationFileNamed(od_, name));
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text,
            "stations.txt fehlt oder hat ein falsches Format; alle Beobachtungen gelten als geozentrisch.");
  EXPECT_EQ(list_[0].Obs.RhoCos, 0.0);
}

TEST_F(ObservationFiles, AStationListWithOneUnreadableLineSaysSoInTheSingular) {
  folder_.Write("stations.txt", std::string("<pre>\n") + kStationHeader +
                                     "\n500   0.0000 0.00000 +0.00000 Geocentric\nX1  garbage\n</pre>\n");
  sink_.messages.clear();
  torbdet od;
  od.Create(folder_.Path().string(), TTheorySelection{}, &list_, kFullTheory, 10);
  od.LoadStations();
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text, "stations.txt: 1 Zeile übersprungen (Zeile 4)");
}

// A word, a comma exponent, a blank or "−" (U+2212) in a number field of
// an observation line skips that line and names it with its field; the
// lines after it are read. The own text format's numbers are separated by
// blanks, and its last ones may be left out, so a blank there is no field.
TEST_F(ObservationFiles, AWordInANumberFieldSkipsTheLineAndNamesIt) {
  struct Field {
    std::size_t First, Last;  // columns from 1
    const char* Name;
  };
  const Field columns[] = {{16, 19, "year"}, {21, 22, "month"}, {24, 32, "day"}, {33, 34, "RA"}, {36, 37, "RA"},
                           {39, 44, "RA"},   {46, 47, "Dec"},   {49, 50, "Dec"}, {52, 56, "Dec"}, {66, 70, "mag"}};
  const std::string good = Observations({"500", "500", "500"});
  const std::string line = Line("K26X01A", 'C', "2025 11 13.5", "01 02 03.40", "+10 20 30.5", "18.1", "", "500");
  ASSERT_TRUE(OpenObservationFileNamed(od_, folder_.Write("own.txt", good)));
  const std::string ownGood = WriteOwnTextObservations(od_.Observations(), 2000, 2000);
  std::istringstream words(OwnTextObservationLine(od_.Observations()[0].Obs));
  const std::vector<std::string> tokens{std::istream_iterator<std::string>(words), {}};
  ASSERT_EQ(tokens.size(), 17u);
  // The fields as the German message names them.
  const std::map<std::string, std::string> german = {{"year", "Jahr"},  {"month", "Monat"},       {"day", "Tag"},
                                                     {"UT", "UT"},      {"RA", "RA"},             {"Dec", "DK"},
                                                     {"mag", "Helligkeit"}, {"longitude", "Länge"}, {"latitude", "Breite"}};
  int named = 0;
  for (const std::string bad : {"B1950", "1,5e", "", "\u2212", "."}) {
    for (const Field& f : columns) {
      std::string damaged = line;
      const std::size_t width = f.Last - f.First + 1;
      damaged.replace(f.First - 1, width, std::string(width - std::min(width, Utf8Length(bad)), ' ') + bad);
      SCOPED_TRACE(damaged);
      sink_.messages.clear();
      ASSERT_TRUE(OpenObservationFileNamed(od_, folder_.Write("bad.txt", good + damaged + "\n" + line + "\n")));
      if (bad.empty() && std::string(f.Name) == "mag") {  // no magnitude: 0
        EXPECT_EQ(list_.size(), 5u);
        continue;
      }
      EXPECT_EQ(list_.size(), 4u);
      ASSERT_EQ(sink_.messages.size(), 1u);
      EXPECT_EQ(sink_.messages[0].text, "1 Zeile übersprungen (Zeile 6, Feld " + german.at(f.Name) + ")");
      ++named;
    }
    if (bad.empty()) continue;
    for (std::size_t k = 0; k < tokens.size(); ++k) {
      std::vector<std::string> texts = tokens;
      texts[k] = bad;
      std::string damaged;
      for (const std::string& t : texts) damaged += t + " ";
      SCOPED_TRACE(damaged);
      sink_.messages.clear();
      ASSERT_TRUE(OpenObservationFileNamed(od_, folder_.Write("bad.txt", ownGood + damaged + "\r\n")));
      EXPECT_EQ(list_.size(), 3u);
      ASSERT_EQ(sink_.messages.size(), 1u);
      const char* names[] = {"year", "month", "day", "UT", "RA", "Dec", "mag", "longitude", "latitude"};
      const std::size_t group = k < 4 ? k : k < 10 ? 4 + (k - 4) / 3 : k == 10 ? 6 : 7 + (k - 11) / 3;
      EXPECT_EQ(sink_.messages[0].text, "1 Zeile übersprungen (Zeile 7, Feld " + german.at(names[group]) + ")");
      ++named;
    }
  }
  EXPECT_EQ(named, 4 * (10 + 17) + 9);
}

TEST_F(ObservationFiles, BlockRulesMarkerAndTheConversionQuestion) {
  // An empty line ends the block: two observations are too few, and the old
  // set stays.
  std::string text = Observations({"500", "500"}) + "\n" + Observations({"500", "500"}).substr(21);
  ASSERT_TRUE(OpenObservationFileNamed(od_, folder_.Write("ok.txt", Observations({"500", "500", "500"}))));
  EXPECT_FALSE(OpenObservationFileNamed(od_, folder_.Write("gap.txt", text)));
  EXPECT_EQ(list_.size(), 3u);
  EXPECT_EQ(sink_.messages.back().text, "Die Datei mit Beobachtungen hat ein unzulässiges Format.");
  // A first line of 400 characters is read as it is; 401 asks.
  sink_.messages.clear();
  EXPECT_FALSE(OpenObservationFileNamed(od_, folder_.Write("400.txt", std::string(400, 'x') + "\nno marker\n")));
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text.rfind("\"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\" ist keine gültige Kennung", 0), 0u);
  EXPECT_LE(Utf8Length(sink_.messages[0].text), 250u);
  sink_.messages.clear();
  // Yes: the page is prepared in memory; the file itself is not touched.
  const std::string page = "<html><body>" + std::string(400, ' ') + "\n<pre>\n<b>Observations:</b>\n" +
                           Observations({"500", "500", "500"}).substr(21) + "</pre></body></html>\n";
  const std::string pageName = folder_.Write("mpec.html", page);
  sink_.QueueReply(MessageResult::Yes);
  ASSERT_TRUE(OpenObservationFileNamed(od_, pageName));
  EXPECT_EQ(sink_.messages.size(), 1u);
  std::string after, error;
  ASSERT_TRUE(ReadFileBytes(pageName, after, error));
  EXPECT_EQ(after, page);
  // NUL bytes and a size that is no multiple of 156 are refused.
  EXPECT_FALSE(OpenObservationFileNamed(od_, folder_.Write("nul.txt", std::string("Observations:\n\0x", 17))));
  EXPECT_FALSE(OpenObservationFileNamed(od_, folder_.Write("odd.obs", std::string(157, '\0'))));
  EXPECT_EQ(list_.size(), 3u);
}

TEST(Markup, TagsAcrossLinesEmptiedLinesAndUnclosedTags) {
  EXPECT_EQ(RemoveMarkup("a<b\nc>d\n\n<i></i>\ne"), "ad\n\ne");
  EXPECT_EQ(RemoveMarkup("keep\r\n\r\n<p>\r\nx<y"), "keep\n\nx");
  EXPECT_EQ(RemoveMarkup("<a href=\"x\">K26X01A</a>  C2025"), "K26X01A  C2025");
  EXPECT_EQ(PrepareMarkupText("a &amp; b &lt;c&gt;&nbsp;d"), "a & b <c> d");
}

TEST(OwnTextFormat, WriterWidthsSignsAndRounding) {
  tobservation o;
  o.Year = 2025;
  o.Month = 11;
  o.Day = 5;
  o.Hours = 23.5;
  o.RA = (13 + 3 / 60.0 + 59.9999996 / 3600) * 15;  // rounds to 13 4 0.000
  o.Dec = -0.5;
  o.Magnitude = 17.3;
  o.Longitude = -(10 + 30 / 60.0);
  o.RhoSin = std::sin(-(0 + 0 / 60.0 + 30 / 3600.0) * 3.141592653589793 / 180);
  o.RhoCos = 1;
  EXPECT_EQ(OwnTextObservationLine(o),
            " 2025 11  5 23.500 13  4  0.000   0 -30  0.00  17.3  -10 30  0.00   0  0 -30.00");
  // RA keeps the thousandths of the observation lines (it was cut to
  // hundredths), both fields more decimals when the value has them.
  tobservation fine = o;
  fine.RA = (7 + 56 / 60.0 + 48.593 / 3600) * 15;
  fine.Dec = -(89 + 59 / 60.0 + 59.1234 / 3600);
  EXPECT_EQ(OwnTextObservationLine(fine).substr(18, 28), "  7 56 48.593 -89 59 59.1234");
  fine.RA = (7 + 56 / 60.0 + 48.5 / 3600) * 15;
  fine.Dec = -90;
  EXPECT_EQ(OwnTextObservationLine(fine).substr(18, 26), "  7 56 48.500 -90  0  0.00");
  // Read back: the signs of the minute and second fields hold.
  TObservationList list;
  double eqObs = 0, eqEl = 0;
  TObservationReadReport report;
  ASSERT_TRUE(ReadOwnTextObservations({"varbo observations", " 1950.0", " 2000.0", OwnTextObservationLine(o),
                                       "2025 11 5 1.0 1 2 3.0 4 5 6.0", "2025 13 5 1.0 1 2 3.0 4 5 6.0",
                                       "2025 11 5 1.0 1 2"},
                                      list, eqObs, eqEl, report));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_DOUBLE_EQ(eqObs, -0.5);
  EXPECT_DOUBLE_EQ(list[0].Obs.Dec, -0.5);
  EXPECT_NEAR(list[0].Obs.Longitude, -10.5, 1e-12);
  EXPECT_NEAR(std::asin(list[0].Obs.RhoSin) * 180 / 3.141592653589793, -30 / 3600.0, 1e-12);
  EXPECT_EQ(report.Skipped, 2);
  EXPECT_EQ(report.FirstSkipped, 6);
  EXPECT_FALSE(ReadOwnTextObservations({"varbo observations", "x", "2000"}, list, eqObs, eqEl, report));
  EXPECT_FALSE(ReadOwnTextObservations({"varbo observations", "3001", "2000"}, list, eqObs, eqEl, report));
  // A magnitude with more decimals keeps them.
  o.Magnitude = 17.25;
  ASSERT_TRUE(ReadOwnTextObservations({"varbo observations", "2000", "2000", OwnTextObservationLine(o)}, list, eqObs,
                                      eqEl, report));
  EXPECT_EQ(list[0].Obs.Magnitude, 17.25);
  // "-0" degrees keep their sign; whole hours or degrees far beyond their
  // range are refused before they are taken as integers.
  report = TObservationReadReport{};
  ASSERT_TRUE(ReadOwnTextObservations({"varbo observations", "2000", "2000", "2025 11 5 1.0 1 2 3.0 -0 30 0.0",
                                       "2025 11 5 1.0 1000000000000 2 3.0 4 5 6.0",
                                       "2025 11 5 1.0 1 2 3.0 -1000000000000 5 6.0"},
                                      list, eqObs, eqEl, report));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_DOUBLE_EQ(list[0].Obs.Dec, -0.5);
  EXPECT_EQ(report.Skipped, 2);
}

TEST(BinaryFile, RecordLayoutAndTheRecordsOfTheScript) {
  const std::string bytes = ReadFixtureBytes("mainbelt.obs");
  ASSERT_EQ(bytes.size(), 10 * kObservationRecordSize);
  const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
  for (int k = 0; k < 2; ++k) {
    const TObservationRecord r = DecodeObservationRecord(p + k * kObservationRecordSize);
    EXPECT_EQ(r.EquinoxObservations, 2000.0);
    EXPECT_EQ(r.Year, 2025);
    EXPECT_EQ(r.Month, 11);
    EXPECT_EQ(r.RhoCos, 1.0);
    std::array<std::uint8_t, kObservationRecordSize> again{};
    EncodeObservationRecord(r, again.data());
    EXPECT_TRUE(std::equal(again.begin(), again.end(), p + k * kObservationRecordSize));
  }
  TObservationList list;
  double eqObs = 1, eqEl = 1;
  TObservationReadReport report;
  // Two records read; the reader of files then refuses them as too few.
  ASSERT_TRUE(ReadObservationRecords(bytes.substr(0, 2 * kObservationRecordSize), list, eqObs, eqEl, report));
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(eqObs, 0.0);
  // An all-zero date is skipped, a bad record counted, a bad equinox refuses.
  std::string more = bytes.substr(0, 3 * kObservationRecordSize);
  std::fill(more.begin() + 2 * kObservationRecordSize + 20, more.end(), '\0');
  ASSERT_TRUE(ReadObservationRecords(more, list, eqObs, eqEl, report));
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(report.Skipped, 0);
  more[kObservationRecordSize + 80] = 13;  // month 13
  ASSERT_TRUE(ReadObservationRecords(more, list, eqObs, eqEl, report));
  EXPECT_EQ(list.size(), 1u);
  EXPECT_EQ(report.Skipped, 1);
  more[4 + 7] = 0x7f;  // equinox NaN
  more[4 + 6] = static_cast<char>(0xf8);
  EXPECT_FALSE(ReadObservationRecords(more, list, eqObs, eqEl, report));
}

TEST_F(ObservationFiles, TheThreeFormatsAgreeWithTheReferenceToTheirRounding) {
  const auto ref = test::ReadReferenceOrbits().at("mainbelt").Set("arc10");
  struct Format {
    const char* File;
    double RaSeconds, DecArcseconds, TimeSeconds;
  };
  for (const Format& f : {Format{"mainbelt_mpc.txt", 0.0005, 0.005, 0.05}, Format{"mainbelt_own.txt", 0.005, 0.005, 0.01},
                          Format{"mainbelt.obs", 1e-6, 1e-5, 0.01}}) {
    SCOPED_TRACE(f.File);
    ASSERT_TRUE(OpenObservationFileNamed(od_, std::string(KVX_FIXTURE_DIR) + "/" + f.File));
    ASSERT_EQ(list_.size(), ref.size());
    for (std::size_t k = 0; k < ref.size(); ++k) {
      const tobservation& o = list_[k].Obs;
      EXPECT_NEAR(o.RA / 15, ref[k].Ra, f.RaSeconds / 3600);
      EXPECT_NEAR(o.Dec, ref[k].Dec, f.DecArcseconds / 3600);
      EXPECT_NEAR(o.JD, ref[k].Ut, f.TimeSeconds / 86400);
    }
  }
}

TEST_F(ObservationFiles, SheetSavesAsTextAndBinaryAndReopensTheSameRows) {
  ASSERT_TRUE(OpenObservationFileNamed(od_, std::string(KVX_FIXTURE_DIR) + "/mainbelt_own.txt"));
  list_[1].Obs.Dec = -0.5;
  list_[2].Obs.Longitude = -(30 / 60.0);
  const TObservationList original = list_;
  workbook::TWorkbook book;
  TTableConfigRecord config;
  od_.OutputRow = 1;
  WriteObservationTitles(od_, book, kObservationTitleGerman, config);
  ASSERT_TRUE(WriteObservationRows(od_, book, config, true));
  EXPECT_EQ(book.Text(1, 1), "Beobachtungen");
  test::RecordingFileDialog dialog;
  ScopedFileDialog scope(dialog);
  for (const char* name : {"saved.txt", "saved.obs"}) {
    SCOPED_TRACE(name);
    dialog.QueueAnswer(folder_.File(name));
    std::string fileName;
    ASSERT_TRUE(SaveObservationFile(od_, FileDialogRequest{}, fileName, book));
    list_.clear();
    ASSERT_TRUE(OpenObservationFileNamed(od_, fileName));
    ASSERT_EQ(list_.size(), original.size());
    for (std::size_t k = 0; k < list_.size(); ++k) {
      EXPECT_NEAR(list_[k].Obs.RA, original[k].Obs.RA, 0.006 * 15 / 3600);
      EXPECT_NEAR(list_[k].Obs.Dec, original[k].Obs.Dec, 0.006 / 3600);
      EXPECT_NEAR(list_[k].Obs.JD, original[k].Obs.JD, 1e-9);
      EXPECT_NEAR(list_[k].Obs.Longitude, original[k].Obs.Longitude, 1e-9);
    }
  }
  // Cancel in the save dialog keeps the loaded set; a bad cell refuses.
  list_.resize(3);
  std::string fileName;
  EXPECT_FALSE(SaveObservationFile(od_, FileDialogRequest{}, fileName, book));
  EXPECT_EQ(list_.size(), 3u);
  book.SetText(5, 6, "abc");
  sink_.messages.clear();
  EXPECT_FALSE(SaveObservationFile(od_, FileDialogRequest{}, fileName, book));
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text, "Ungültiger Wert in Zeile 5, Spalte 6; die Datei wird nicht erstellt.");
}

// Observations opened, put into the sheet and saved in the other format
// come back as they were: a declination of exactly -90 degrees (and of +90,
// the same file with the sign turned) through the binary records (it came
// back as -90.000000000000028 and was skipped), and RA seconds with three
// decimals through the own text (cut to 0.01 s). A declination a hair
// from the pole (-89.999999999999986, whose seconds round to 60) comes back
// as the pole through the binary records (it was packed as 89 59 60 and
// skipped).
TEST_F(ObservationFiles, SavedInTheOtherFormatEveryObservationComesBack) {
  struct Case {
    std::string Fixture;
    const char* SavedAs;
    double PoleDec = 0;  // set: the pole's observation moved there
  };
  const std::string fixtures = std::string(KVX_FIXTURE_DIR) + "/bad_inputs/";
  std::string north = ReadFixtureBytes("bad_inputs/observations_own_dec_minus_90_save_as_obs.txt");
  const std::size_t pole = north.find("-90  0  0.00");
  ASSERT_NE(pole, std::string::npos);
  north[pole] = ' ';
  for (const Case& c : {Case{fixtures + "observations_own_dec_minus_90_save_as_obs.txt", "saved.obs"},
                        Case{folder_.Write("dec_plus_90.txt", north), "saved_north.obs"},
                        Case{fixtures + "observations_mpc_ra_3_decimals_save_as_own_text.txt", "saved.txt"},
                        Case{fixtures + "observations_own_dec_minus_90_save_as_obs.txt", "hair.obs", -89.999999999999986}}) {
    SCOPED_TRACE(c.Fixture);
    ASSERT_TRUE(OpenObservationFileNamed(od_, c.Fixture));
    ASSERT_EQ(list_.size(), 3u);
    if (c.PoleDec != 0) {
      const auto pole = std::find_if(list_.begin(), list_.end(), [](const auto& o) { return o.Obs.Dec == -90; });
      ASSERT_NE(pole, list_.end());
      pole->Obs.Dec = c.PoleDec;
      EXPECT_EQ(DmsPackedToDeg(DegToDmsPacked(c.PoleDec)), -90.0) << "60 seconds carried";
    }
    const TObservationList original = list_;
    workbook::TWorkbook book;
    TTableConfigRecord config;
    od_.OutputRow = 1;
    WriteObservationTitles(od_, book, kObservationTitleGerman, config);
    ASSERT_TRUE(WriteObservationRows(od_, book, config, true));
    if (c.PoleDec != 0) {
      // The sheet as the earlier packing left it: 89 59 60 reads as the pole.
      int poles = 0;
      for (int r = 1; r < 20; ++r)
        if (book.Number(r, 6) == -90.0) book.SetNumber(r, 6, -89.596), ++poles;
      EXPECT_EQ(poles, 1);
    }
    test::RecordingFileDialog dialog;
    ScopedFileDialog scope(dialog);
    dialog.QueueAnswer(folder_.File(c.SavedAs));
    std::string fileName;
    ASSERT_TRUE(SaveObservationFile(od_, FileDialogRequest{}, fileName, book));
    list_.clear();
    ASSERT_TRUE(OpenObservationFileNamed(od_, fileName));
    ASSERT_EQ(list_.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(list_[k].Obs.RA / 15 * 3600, original[k].Obs.RA / 15 * 3600, 1e-6) << k;
      EXPECT_NEAR(list_[k].Obs.Dec * 3600, original[k].Obs.Dec * 3600, 1e-6) << k;
    }
  }
  EXPECT_EQ(DmsPackedToDeg(-90.0), -90.0);
  EXPECT_EQ(DmsPackedToDeg(90.0), 90.0);
  EXPECT_EQ(DmsPackedToDeg(DegToDmsPacked(-90.0)), -90.0);
}

TEST(StateVectorFiles, ExactRoundTripAndOtherEquinoxesPrecessedToJ2000) {
  const TStateVector v{1.2345678901234567, -0.1, 3e-17, 0.5, -0.25, 1.0 / 3.0};
  TStateVector back{};
  double epoch = 0;
  std::string german, english;
  ASSERT_TRUE(ParseStateVectorFile(StateVectorFileText(v, 2461000.123456789), back, epoch, german, english));
  EXPECT_EQ(back, v);
  EXPECT_EQ(epoch, 2461000.123456789);

  // A 1950 file (exponents "E+00" style) against ERFA's IAU 1976 precession.
  ASSERT_TRUE(ParseStateVectorFile(ReadFixtureBytes("stv_1950.stv"), back, epoch, german, english));
  std::ifstream in(std::string(KVX_FIXTURE_DIR) + "/stv_1950_reference.csv");
  std::string cell;
  for (int k = 0; k < 6; ++k) {
    std::getline(in, cell, ',');
    // The two forms of the IAU 1976 precession agree to a few 1e-13 rad.
    EXPECT_NEAR(back[static_cast<std::size_t>(k)], std::stod(cell), 2e-12);
  }
  // The observations' equinox is not the file's.
  test::TempFolder folder;
  test::RecordingFileDialog dialog;
  ScopedFileDialog scope(dialog);
  torbdet od;
  od.ObservationsEquinox = 0.25;
  dialog.QueueAnswer(std::string(KVX_FIXTURE_DIR) + "/stv_1950.stv");
  std::string name;
  ASSERT_TRUE(LoadStateVector(od, name, FileDialogRequest{}));
  EXPECT_EQ(od.ObservationsEquinox, 0.25);
  EXPECT_EQ(od.StateVector, back);

  for (const std::string& bad : {std::string("varbo statevector\n2000\n1\n1\n0\n0\n0\n0\n"),
                                 std::string("varbo statevector\n2000\n1\n1\nx\n0\n0\n0\n0\n"),
                                 std::string("varbo statevector\n2000\n1\n0\n0\n0\n1\n0\n0\n"),
                                 std::string("varbo statevector\n900\n1\n1\n0\n0\n0\n0\n0\n"),
                                 std::string("state\n2000\n1\n1\n0\n0\n0\n0\n0\n")}) {
    EXPECT_FALSE(ParseStateVectorFile(bad, back, epoch, german, english)) << bad;
    EXPECT_FALSE(english.empty());
  }
  EXPECT_EQ(english, "\"state\" is no valid extension for files with state-vectors");
  RecordingMessageSink sink;
  ScopedMessageSink messages(sink);
  dialog.QueueAnswer(folder.File("v.txt"));
  EXPECT_FALSE(SaveStateVector(od, v, 2461000.5, name, FileDialogRequest{}));
  EXPECT_FALSE(std::filesystem::exists(folder.File("v.txt")));
  dialog.QueueAnswer(folder.File("v.STV"));
  ASSERT_TRUE(SaveStateVector(od, v, 2461000.5, name, FileDialogRequest{}));
  dialog.QueueAnswer(folder.File("v.STV"));
  ASSERT_TRUE(LoadStateVector(od, name, FileDialogRequest{}));
  EXPECT_EQ(od.StateVector, v);
  // What the reader would refuse is refused by the save; the file stays.
  const std::string saved = test::TempFolder::Read(folder.File("v.STV"));
  TStateVector nan = v;
  nan[4] = std::nan("");
  for (const auto& [vector, field] : {std::pair{nan, std::string("y' = nan")},
                                      std::pair{TStateVector{0, 0, 0, 1, 0, 0}, std::string("x, y, z = 0")}}) {
    dialog.QueueAnswer(folder.File("v.STV"));
    EXPECT_FALSE(SaveStateVector(od, vector, 2461000.5, name, FileDialogRequest{}));
    EXPECT_EQ(test::TempFolder::Read(folder.File("v.STV")), saved);
    EXPECT_EQ(sink.messages.back().text.rfind(field + " passt nicht in das Format *.stv", 0), 0u)
        << sink.messages.back().text;
  }
}

TEST(OrbitOptions, TwentyByteRecordWithDefaultsForBadFields) {
  TOrbDetOptions o;
  o.Log = 1;
  o.ShowObservations = 0;
  o.Method = 2;
  o.JdForM = 2461000.5;
  o.ChangeRate = 2.5;
  auto bytes = EncodeOrbDetOptions(o);
  TOrbDetOptions back = DecodeOrbDetOptions(bytes, 2450000.5);
  EXPECT_EQ(back.Log, 1);
  EXPECT_EQ(back.ShowObservations, 0);
  EXPECT_EQ(back.Topocentric, 1);
  EXPECT_EQ(back.Method, 2);
  EXPECT_EQ(back.JdForM, 2461000.5);
  EXPECT_EQ(back.ChangeRate, 2.5);
  bytes[3] = 7;
  std::fill(bytes.begin() + 4, bytes.begin() + 12, 0xff);  // NaN
  back = DecodeOrbDetOptions(bytes, 2450000.5);
  EXPECT_EQ(back.Method, 1);
  EXPECT_EQ(back.JdForM, 2450000.5);
}

}  // namespace
}  // namespace kvx
