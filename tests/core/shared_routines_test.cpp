#include "core/shared_routines.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/folder_chooser.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

class SharedRoutines : public ::testing::Test {
 protected:
  void SetUp() override {
    LanguageEnglish = 0;
    IntlSeparators = TIntlSeparators{};
  }
  void TearDown() override { LanguageEnglish = 0; }
  RecordingMessageSink sink;
  ScopedMessageSink guard{sink};
};

TEST_F(SharedRoutines, ConjunctionKindsFollowTheOptionBytes) {
  std::array<std::uint8_t, kConjunctionOptionsSize> options{};
  EXPECT_EQ(ConjunctionKindOf(options), 1);
  EXPECT_EQ(ConjunctionKindAbbrev(options), "K.RA");
  options[1] = 1;
  EXPECT_EQ(ConjunctionKindOf(options), 2);
  EXPECT_EQ(ConjunctionKindAbbrev(options), "K.L.");
  options[2] = 1;
  EXPECT_EQ(ConjunctionKindOf(options), 3);
  EXPECT_EQ(ConjunctionKindAbbrev(options), "A.S.");
  EXPECT_EQ(ConjunctionKindOf(std::span<const std::uint8_t>()), 1);  // short record: nothing set

  EXPECT_EQ(ConjunctionKindText(3), "Winkelabstand minimal");
  EXPECT_EQ(ConjunctionKindText(2), "Konjunktion in Länge");
  EXPECT_EQ(ConjunctionKindText(7), "Konjunktion in RA");
  LanguageEnglish = 1;
  EXPECT_EQ(ConjunctionKindText(3), "Smallest angular separation");
  EXPECT_EQ(ConjunctionKindText(2), "Conjunction in Longitude");
  EXPECT_EQ(ConjunctionKindText(1), "Conjunction in RA");
}

TEST_F(SharedRoutines, StandardMessagesCarryTheirTextsCaptionsAndIcons) {
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

TEST_F(SharedRoutines, IntegrationMessageFollowsTheMainWindowsLanguage) {
  LanguageEnglish = 1;
  ShowIntegrationStartTooNear(0);
  LanguageEnglish = 0;
  ShowIntegrationStartTooNear(1);
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].text.rfind("Das Startdatum für die numerische Integration", 0), 0u);
  EXPECT_EQ(sink.messages[1].caption, "Invalide starting date");
  EXPECT_EQ(sink.messages[1].icon, MessageIcon::Error);
}

TEST_F(SharedRoutines, MinimalDistanceIsCheckedAsTyped) {
  double value = 1.5;
  std::string edit = "0°30'";
  EXPECT_TRUE(CheckMinimalDistanceInput(edit, value));
  EXPECT_DOUBLE_EQ(value, 0.5);
  edit = "0,25";
  EXPECT_TRUE(CheckMinimalDistanceInput(edit, value));
  EXPECT_DOUBLE_EQ(value, 0.25);
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

TEST_F(SharedRoutines, CellMatchersFindWholeAndPartialTexts) {
  int position = 0;
  EXPECT_TRUE(MatchWholeCase("Mars", "Mars", position));
  EXPECT_EQ(position, 1);
  EXPECT_FALSE(MatchWholeCase("mars", "Mars", position));
  EXPECT_TRUE(MatchWholeNoCase("äquator", "ÄQUATOR", position));
  EXPECT_FALSE(MatchWholeNoCase("Mars", "Mars ", position));
  EXPECT_TRUE(MatchPartCase("Mars", "Größe Mars", position));
  EXPECT_EQ(position, 7);  // characters, not bytes
  EXPECT_FALSE(MatchPartCase("mars", "Größe Mars", position));
  EXPECT_TRUE(MatchPartNoCase("GRÖ", "die größe", position));
  EXPECT_EQ(position, 5);
  EXPECT_FALSE(MatchPartNoCase("", "Mars", position));
  EXPECT_EQ(UpperCaseText("straße öl ÿ"), "STRAßE ÖL Ÿ");
}

TEST_F(SharedRoutines, LongPathNameRestoresTheStoredSpelling) {
  test::TempFolder folder;
  folder.Write("DatenOrdner/Ceres.EEL", "x");
  std::string result;
  LongPathName((folder.Path() / "datenordner" / "ceres.eel").string(), result);
  EXPECT_EQ(result, folder.File("DatenOrdner/Ceres.EEL"));
  LongPathName((folder.Path() / "DATENORDNER" / "fehlt" / "Neu.txt").string(), result);
  EXPECT_EQ(result, folder.File("DatenOrdner/fehlt/Neu.txt"));
  LongPathName((folder.Path() / "DatenOrdner" / ".." / "DatenOrdner").string(), result);
  EXPECT_EQ(result, folder.File("DatenOrdner"));
  LongPathName("relativ.txt", result);
  EXPECT_EQ(result, (std::filesystem::current_path() / "relativ.txt").string());
}

TEST_F(SharedRoutines, PathAndTextHelpers) {
  std::string path = "C:\\Data\\";
  EXPECT_EQ(StripTrailingBackslash(path), "C:\\Data");
  EXPECT_EQ(path, "C:\\Data");
  EXPECT_EQ(StripTrailingBackslash(path), "C:\\Data");
  path = "/home/user/daten/";
  EXPECT_EQ(StripTrailingBackslash(path), "/home/user/daten");
  path = "/";
  EXPECT_EQ(StripTrailingBackslash(path), "/");
  EXPECT_EQ(RemoveFirstDot("a.b.c"), "ab.c");

  EXPECT_TRUE(WildcardMatch("*.eel", "Ceres.EEL"));
  EXPECT_TRUE(WildcardMatch("c?res*", "Ceres.eel"));
  EXPECT_FALSE(WildcardMatch("*.eel", "Ceres.eel.bak"));
  EXPECT_TRUE(WildcardMatch("*", ""));
  EXPECT_FALSE(WildcardMatch("?", ""));
}

TEST_F(SharedRoutines, FolderChoiceGoesThroughTheSeam) {
  std::string folder = "/daten";
  EXPECT_FALSE(SelectFolder(folder, 7, 1));  // no chooser installed
  RecordingFolderChooser chooser;
  FolderChooser* previous = SetFolderChooser(&chooser);
  chooser.QueueAnswer("/daten/neu");
  chooser.QueueAnswer(std::nullopt);
  EXPECT_TRUE(SelectFolder(folder, 7, 1));
  EXPECT_EQ(folder, "/daten/neu");
  EXPECT_FALSE(SelectFolder(folder, 8, 2));
  EXPECT_EQ(folder, "/daten/neu");
  SetFolderChooser(previous);
  ASSERT_EQ(chooser.requests.size(), 2u);
  EXPECT_EQ(chooser.requests[0].startFolder, "/daten");
  EXPECT_EQ(chooser.requests[0].helpContext, 7);
  EXPECT_EQ(chooser.requests[1].options, 2u);
}

TEST_F(SharedRoutines, SmallUtilities) {
  std::int32_t row = 0, column = 0;
  ParseColumnRowRef("c:7", row, column);
  EXPECT_EQ(row, 7);
  EXPECT_EQ(column, 3);
  for (const char* other : {"C7", ":7", "C:", "", "1:5", "C:x"}) {
    ParseColumnRowRef(other, row, column);
    EXPECT_EQ(row, 1) << other;
    EXPECT_EQ(column, 1) << other;
  }
  EXPECT_EQ(RoundedHourText(23.7), "23");
  EXPECT_EQ(RoundedHourText(23.4), "23");
  EXPECT_EQ(RoundedHourText(22.5), "23");
  EXPECT_EQ(RoundedHourText(0.4), "0");
  EXPECT_EQ(NorthSouthText(0), " nördlich");
  EXPECT_EQ(NorthSouthText(-0.1), " südlich");
  LanguageEnglish = 1;
  EXPECT_EQ(NorthSouthText(5), " northern");
  EXPECT_EQ(ObjectNameByIndex({"Ceres", "Vesta"}, 1), "Vesta");
  EXPECT_EQ(ObjectNameByIndex({"Ceres"}, 1), "");
  EXPECT_EQ(ObjectNameByIndex({"Ceres"}, -1), "");
  EXPECT_EQ(LargerInt(-3, 2), 2);
  EXPECT_EQ(SmallerDouble(-3, 2), -3);
}

}  // namespace
}  // namespace kvx
