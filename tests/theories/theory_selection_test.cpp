#include <gtest/gtest.h>

#include "theories/theory_state.h"

namespace kvx {
namespace {

TTheorySelection Asked(std::uint8_t planet, std::uint8_t moon) {
  TTheorySelection selection;
  selection.bytes[0] = planet;
  selection.bytes[1] = moon;
  selection.bytes[5] = 7;
  return selection;
}

TEST(ApplyTheorySelection, NeverInstallsATheoryWhoseLibraryOrFilesAreMissing) {
  TTheoryState nothing;
  for (std::uint8_t planet : {0, 1, 2, 3, 9}) {
    TTheorySelection installed = ApplyTheorySelection(nothing, Asked(planet, 1));
    EXPECT_EQ(installed.PlanetTheory(), kPlanetTheoryInternal) << int(planet);
    EXPECT_EQ(installed.MoonTheory(), 0);
    EXPECT_EQ(installed.bytes[5], 7) << "the remaining bytes are copied";
  }

  TTheoryState files_only;
  files_only.VscFilesPresent = 1;
  EXPECT_EQ(ApplyTheorySelection(files_only, Asked(1, 0)).PlanetTheory(), kPlanetTheoryPositionFiles);
  EXPECT_EQ(ApplyTheorySelection(files_only, Asked(2, 0)).PlanetTheory(), kPlanetTheoryPositionFiles);
  EXPECT_EQ(ApplyTheorySelection(files_only, Asked(0, 0)).PlanetTheory(), kPlanetTheoryInternal);
  EXPECT_EQ(ApplyTheorySelection(files_only, Asked(3, 0)).PlanetTheory(), kPlanetTheoryPositionFiles);
}

TEST(ApplyTheorySelection, KeepsWhatIsPresent) {
  TTheoryState all;
  all.Libraries = {1, 1, 1, 1, 1};
  all.VscFilesPresent = 1;
  for (std::uint8_t planet : {0, 1, 2, 3}) EXPECT_EQ(ApplyTheorySelection(all, Asked(planet, 1)).PlanetTheory(), planet);
  EXPECT_EQ(ApplyTheorySelection(all, Asked(0, 5)).MoonTheory(), 1);
  EXPECT_EQ(ApplyTheorySelection(all, Asked(0, 0)).MoonTheory(), 0);

  TTheoryState only_c;
  only_c.Libraries.Vsop87C = 1;
  EXPECT_EQ(ApplyTheorySelection(only_c, Asked(1, 0)).PlanetTheory(), kPlanetTheoryInternal);
  EXPECT_EQ(ApplyTheorySelection(only_c, Asked(2, 0)).PlanetTheory(), kPlanetTheoryVsop87C);
}

TEST(CheckTheoryDateSpan, GuardsThePositionFilesAndTheIntegrationDatabase) {
  const double files_last = 2470000.0, first = 2400000.0, last = 2469000.0;
  std::uint8_t database = 1, mode = kPlanetTheoryPositionFiles;
  // Before the files' span: the mode falls back, the database switch is left alone.
  EXPECT_TRUE(CheckTheoryDateSpan(database, mode, 2415019.5, files_last, first, last));
  EXPECT_EQ(mode, kPlanetTheoryInternal);
  EXPECT_EQ(database, 1);
  // Before the database's first date + 2003 the switch is cleared.
  mode = kPlanetTheoryPositionFiles;
  EXPECT_FALSE(CheckTheoryDateSpan(database, mode, first + 2002.0, files_last, first, last));
  EXPECT_EQ(database, 0);

  database = 1;
  mode = kPlanetTheoryPositionFiles;
  EXPECT_TRUE(CheckTheoryDateSpan(database, mode, 2451545.0, files_last, first, last));
  EXPECT_EQ(mode, kPlanetTheoryPositionFiles);
  EXPECT_EQ(database, 1);

  // Past the database's end: the switch is cleared for good.
  EXPECT_FALSE(CheckTheoryDateSpan(database, mode, last - 2.0, files_last, first, last));
  EXPECT_EQ(database, 0);
  EXPECT_EQ(mode, kPlanetTheoryPositionFiles);
  EXPECT_FALSE(CheckTheoryDateSpan(database, mode, 2451545.0, files_last, first, last));

  // Other theories are never changed.
  std::uint8_t vsop = kPlanetTheoryVsop87D, off = 0;
  CheckTheoryDateSpan(off, vsop, 2000000.0, files_last, first, last);
  EXPECT_EQ(vsop, kPlanetTheoryVsop87D);
}

}  // namespace
}  // namespace kvx
