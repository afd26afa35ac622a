// Building the binary asteroid database from text sources, and the files
// of the database choice: the period grid, G and H scaling, skipped sources
// with their reasons, names cleaned and made unique, the stop request, the
// selection lists with any line ends and the covered-period text.
#include "catalogues/asteroid_database_builder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "catalogues/asteroid_selection.h"
#include "core/asteroid_database.h"
#include "platform/globals.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

// A source of `count` element sets `step` days apart from `first`; eleven
// fields (G missing) unless `withG`.
std::string Source(const std::string& name, double first, int step, int count, bool withG = false) {
  std::string text = ":Name;a;e;i;Node;Peri;M;n;Equinox;Epoch;H;G\r\n";
  for (int k = 0; k < count; ++k) {
    char line[256];
    std::snprintf(line, sizeof line, "%s;2,7675;0,0785;10,58;80,49;73,92;%.4f;0,21408;2000;%.1f;3,34%s\r\n",
                  name.c_str(), 100.0 + 0.21408 * step * k, first + step * k, withG ? ";0,12" : "");
    text += line;
  }
  return text;
}

TEST(AsteroidDatabaseBuilder, PeriodGridSkippedSourcesAndNames) {
  LanguageEnglish = 1;
  test::TempFolder folder;
  folder.Write("src/a_ceres.csv", Source("Ceres", 2451000.5, 40, 10));
  folder.Write("src/sub/b_ceres.csv", Source("Ceres", 2451000.5, 40, 10, true));
  folder.Write("src/c_bad.csv", Source("Vesta", 2451000.5, 40, 1));
  folder.Write("src/d_late.csv", Source("Juno", 2460000.5, 40, 5));
  folder.Write("src/e_evil.csv", Source("..\\evil/name", 2451000.5, 40, 3));
  folder.Write("src/f_pallas.csv", Source("Pall\xe1s", 2451000.5, 40, 3));
  folder.Write("src/g_step.csv", Source("Hygiea", 2451000.5, 0, 3));
  fs::create_directories(folder.Path() / "dst");
  RecordingMessageSink messages;
  ScopedMessageSink sink(messages);

  TAsteroidDatabaseBuild build;
  build.SourceFolder = folder.File("src");
  build.DestinationFolder = folder.File("dst");
  build.UseCompleteFile = false;
  build.Jd1 = 2451010.5;
  build.Jd2 = 2451200.5;
  std::vector<int> numbers;
  const TAsteroidDatabaseBuildResult r =
      BuildAsteroidDatabase(build, {}, [&numbers](int number, const std::string&) { numbers.push_back(number); });
  EXPECT_TRUE(messages.messages.empty()) << "reasons go into the summary, not into boxes";
  EXPECT_TRUE(r.Error.empty());
  EXPECT_EQ(r.SourceCount, 7);
  EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  ASSERT_EQ(r.Written.size(), 4u);
  EXPECT_EQ(fs::path(r.Written[0]).filename(), "Ceres.eel");
  EXPECT_EQ(fs::path(r.Written[1]).filename(), "_evil_name.eel");
  EXPECT_EQ(fs::path(r.Written[2]).filename(), "Pallás.eel");
  EXPECT_EQ(fs::path(r.Written[3]).filename(), "Ceres (2).eel");
  ASSERT_EQ(r.Renamed.size(), 1u);
  ASSERT_EQ(r.SkippedFiles.size(), 3u);
  EXPECT_NE(r.SkippedFiles[0].Reason.find("fewer than two"), std::string::npos) << r.SkippedFiles[0].Reason;
  EXPECT_NE(r.SkippedFiles[1].Reason.find("No record lies inside"), std::string::npos);
  EXPECT_NE(r.SkippedFiles[2].Reason.find("at least one day"), std::string::npos);
  const std::string summary = DatabaseBuildSummary(r);
  EXPECT_EQ(summary.rfind("4 files written, 3 skipped.", 0), 0u) << summary;
  EXPECT_NE(summary.find("d_late.csv"), std::string::npos);

  // The period moved onto the 40-day grid: 2451000.5 .. 2451200.5, six
  // records; G missing is 0.15, H 3.34 and epochs in tenths of a day.
  TEelHeader header;
  std::vector<TEelRecord> records;
  ASSERT_TRUE(ReadEelFile(r.Written[0], header, records));
  EXPECT_EQ(header.First, 2451000.5);
  EXPECT_EQ(header.Last, 2451200.5);
  EXPECT_EQ(header.Step, 40);
  EXPECT_EQ(header.G100, 15);
  EXPECT_EQ(header.H100, 334);
  ASSERT_EQ(records.size(), 6u);
  for (std::size_t k = 0; k < records.size(); ++k) EXPECT_EQ(records[k].Epoch10, 24510005 + 400 * static_cast<int>(k));
  ASSERT_TRUE(ReadEelFile(r.Written[3], header, records));
  EXPECT_EQ(header.G100, 12);
  ASSERT_TRUE(ReadEelFile(r.Written[2], header, records));
  EXPECT_EQ(header.Name, "Pallás");
  const std::string period = EelCoveredPeriodText(r.Written[2], TObserverRecord{}, TPeriodDateStyle::ShortDate);
  EXPECT_NE(period.find("1998"), std::string::npos) << period;
  EXPECT_EQ(period.substr(period.size() - 11), ", Diff.: 40") << period;

  // The whole file; a stop request after the first source.
  build.UseCompleteFile = true;
  int asked = 0;
  const TAsteroidDatabaseBuildResult whole = BuildAsteroidDatabase(build, [&asked] { return ++asked > 1; });
  EXPECT_TRUE(whole.Stopped);
  ASSERT_EQ(whole.Written.size(), 1u);
  ASSERT_TRUE(ReadEelFile(whole.Written[0], header, records));
  EXPECT_EQ(records.size(), 10u);
  EXPECT_EQ(header.Last, 2451360.5);

  build.DestinationFolder = folder.File("missing");
  EXPECT_FALSE(BuildAsteroidDatabase(build).Error.empty());
  EXPECT_EQ(CleanDatabaseFileName(".."), "unnamed");
  EXPECT_EQ(CleanDatabaseFileName(" .hidden\x01 "), "hidden_");
}

TEST(AsteroidSelectionFiles, ListsPeriodTextAndMoves) {
  test::TempFolder folder;
  std::vector<std::string> paths;
  EXPECT_FALSE(ReadSelectionList(folder.File("astsrc.txt"), paths));
  const std::string list = folder.Write("astsrc.txt", "/db/a.eel\r\n\r\n/db/b.eel\r/db/c.eel\n\n");
  ASSERT_TRUE(ReadSelectionList(list, paths));
  EXPECT_EQ(paths, (std::vector<std::string>{"/db/a.eel", "/db/b.eel", "/db/c.eel"}));
  std::string error;
  ASSERT_TRUE(WriteSelectionList(list, {"/db/x.eel", "", "/db/y.eel"}, error));
  ASSERT_TRUE(ReadSelectionList(list, paths));
  EXPECT_EQ(paths, (std::vector<std::string>{"/db/x.eel", "/db/y.eel"}));
  EXPECT_FALSE(WriteSelectionList(folder.File("no/such/astdst.txt"), paths, error));

  // Items 2, 5 and 7 arrive as 7, 5, 2.
  std::vector<std::string> from{"1", "2", "3", "4", "5", "6", "7", "8"};
  std::vector<std::string> to{"x"};
  EXPECT_EQ(MoveSelectedPaths(from, {false, true, false, false, true, false, true, false}, to), 3);
  EXPECT_EQ(to, (std::vector<std::string>{"x", "7", "5", "2"}));
  EXPECT_EQ(from, (std::vector<std::string>{"1", "3", "4", "6", "8"}));

  // A file shorter than its header, a missing file: no text.
  EXPECT_EQ(EelCoveredPeriodText(folder.Write("short.eel", std::string(40, '\0')), TObserverRecord{},
                                 TPeriodDateStyle::ObserverDate),
            "");
  EXPECT_EQ(EelCoveredPeriodText(folder.File("none.eel"), TObserverRecord{}, TPeriodDateStyle::ObserverDate), "");
}

}  // namespace
}  // namespace kvx
